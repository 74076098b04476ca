#include "toolkit/markup/context/QVTMarkupContextInternalDispatch.h"

#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

namespace {
// Marks a parse asked for through the automation object while it runs.
class CScriptParseScope
{
public:
    explicit CScriptParseScope(CQVTMarkupContext* pContext) : m_pContext(pContext)
    {
        m_pContext->EnterScriptParse();
    }
    ~CScriptParseScope() { m_pContext->LeaveScriptParse(); }
    CScriptParseScope(const CScriptParseScope&) = delete;
    CScriptParseScope& operator=(const CScriptParseScope&) = delete;

private:
    CQVTMarkupContext* m_pContext;
};
}  // namespace

BEGIN_DISPATCH_MAP(CQVTMarkupContextInternalDispatch, CQVTCmdTarget)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "SetMethod", 1, SetMethod, VT_EMPTY,
                     VTS_DISPATCH VTS_BSTR)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "CreateObject", 2, CreateObject, VT_DISPATCH,
                     VTS_BSTR)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "CreateSolidBrush", 3, CreateSolidBrush, VT_DISPATCH,
                     VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "CreateThickness", 4, CreateThickness, VT_DISPATCH,
                     VTS_I4 VTS_I4 VTS_I4 VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "Parse", 5, Parse, VT_DISPATCH, VTS_BSTR)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "SetHandler", 6, SetHandler, VT_EMPTY, VTS_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupContextInternalDispatch, "EnableGdiPlus", 7, GetEnableGdiPlus,
                        SetEnableGdiPlus, VT_BOOL)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "ValidateXML", 8, ValidateXML, VT_BSTR, VTS_BSTR)
    DISP_PROPERTY_EX_ID(CQVTMarkupContextInternalDispatch, "ToolTipContext", 39, GetToolTipContext,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupContextInternalDispatch, "Icons", 40, GetIcons, SetIcons, VT_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "FreezeUpdates", 41, FreezeUpdates, VT_EMPTY,
                     VTS_NONE)
    DISP_FUNCTION_ID(CQVTMarkupContextInternalDispatch, "UnfreezeUpdates", 42, UnfreezeUpdates, VT_EMPTY,
                     VTS_NONE)
    DISP_PROPERTY_EX_ID(CQVTMarkupContextInternalDispatch, "DpiAware", 43, GetDpiAware, SetDpiAware, VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupContextInternalDispatch, "DefaultSmoothingMode", 44,
                        GetDefaultSmoothingMode, SetDefaultSmoothingMode, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupContextInternalDispatch, "DefaultTextSmoothingEnabled", 45,
                        GetDefaultTextSmoothingEnabled, SetDefaultTextSmoothingEnabled, VT_BOOL)
END_DISPATCH_MAP()

namespace {
// Objects made here go to the script with their creation reference.
LPDISPATCH HandOver(CQVTMarkupObject* pObject)
{
    return pObject != nullptr ? pObject->GetIDispatch(FALSE) : nullptr;
}

void ThrowDetached()
{
    AfxThrowOleException(E_UNEXPECTED);
}
}  // namespace

CQVTMarkupContextInternalDispatch::CQVTMarkupContextInternalDispatch(CQVTMarkupContext* pContext)
    : m_pContext(pContext)
{
    EnableAutomation();
}

void CQVTMarkupContextInternalDispatch::SetMethod(LPDISPATCH pDispatch, LPCWSTR lpszName)
{
    if (m_pContext != nullptr)
        m_pContext->SetMethod(pDispatch, lpszName);
}

void CQVTMarkupContextInternalDispatch::SetHandler(LPDISPATCH pDispatch)
{
    if (m_pContext != nullptr)
        m_pContext->SetHandler(pDispatch);
}

LPDISPATCH CQVTMarkupContextInternalDispatch::CreateObject(LPCWSTR lpszTag)
{
    if (m_pContext == nullptr)
        ThrowDetached();
    CQVTMarkupType* pType = lpszTag != nullptr ? FindMarkupType(lpszTag) : nullptr;
    return HandOver(pType != nullptr ? m_pContext->CreateMarkupObject(pType) : nullptr);
}

LPDISPATCH CQVTMarkupContextInternalDispatch::CreateSolidBrush(long nColor)
{
    const DWORD dwColor = static_cast<DWORD>(nColor);
    const BYTE bAlpha = static_cast<BYTE>(dwColor >> 24);
    return HandOver(new CQVTMarkupSolidColorBrush(bAlpha != 0 ? bAlpha : 255, dwColor & 0xFFFFFF));
}

LPDISPATCH CQVTMarkupContextInternalDispatch::CreateThickness(long nLeft, long nTop, long nRight,
                                                              long nBottom)
{
    return HandOver(new CQVTMarkupThickness(static_cast<int>(nLeft), static_cast<int>(nTop),
                                            static_cast<int>(nRight), static_cast<int>(nBottom)));
}

LPDISPATCH CQVTMarkupContextInternalDispatch::Parse(LPCWSTR lpszText)
{
    if (m_pContext == nullptr)
        ThrowDetached();
    m_pContext->ResetMouseState();
    CScriptParseScope scope(m_pContext);
    return HandOver(MarkupParseText(m_pContext, lpszText));
}

BSTR CQVTMarkupContextInternalDispatch::ValidateXML(LPCWSTR lpszText)
{
    if (m_pContext == nullptr)
        ThrowDetached();
    m_pContext->ResetMouseState();
    if (lpszText == nullptr)
        return ::SysAllocString(u"Done.");
    CQVTMarkupParser parser;
    if (!parser.LoadText(lpszText, lpszText + _tcslen(lpszText)))
        return ::SysAllocString(parser.GetErrorMessage());
    CScriptParseScope scope(m_pContext);
    CQVTMarkupBuilder builder(m_pContext);
    if (CQVTMarkupUIElement* pRoot = builder.Parse(&parser))
    {
        pRoot->InternalRelease();
        return ::SysAllocString(u"Done.");
    }
    return ::SysAllocString(builder.GetErrorText());
}

void CQVTMarkupContextInternalDispatch::FreezeUpdates()
{
    if (m_pContext != nullptr)
        m_pContext->FreezeUpdates();
}

void CQVTMarkupContextInternalDispatch::UnfreezeUpdates()
{
    if (m_pContext != nullptr)
        m_pContext->UnfreezeUpdates();
}

BOOL CQVTMarkupContextInternalDispatch::GetEnableGdiPlus()
{
    return m_pContext != nullptr && m_pContext->IsGdiPlusEnabled();
}

void CQVTMarkupContextInternalDispatch::SetEnableGdiPlus(BOOL bEnable)
{
    if (m_pContext != nullptr)
        m_pContext->EnableGdiPlus(bEnable);
}

BOOL CQVTMarkupContextInternalDispatch::GetDpiAware()
{
    return m_pContext != nullptr && m_pContext->IsDpiAware();
}

void CQVTMarkupContextInternalDispatch::SetDpiAware(BOOL bEnable)
{
    if (m_pContext != nullptr)
        m_pContext->SetDpiAware(bEnable, nullptr);
}

LPDISPATCH CQVTMarkupContextInternalDispatch::GetToolTipContext()
{
    CQVTToolTipContext* pToolTips = m_pContext != nullptr ? m_pContext->GetToolTipContext() : nullptr;
    return pToolTips != nullptr ? pToolTips->GetIDispatch(TRUE) : nullptr;
}

LPDISPATCH CQVTMarkupContextInternalDispatch::GetIcons()
{
    CQVTImageManager* pManager = m_pContext != nullptr ? m_pContext->GetImageManager() : nullptr;
    return pManager != nullptr ? pManager->GetIDispatch(TRUE) : nullptr;
}

void CQVTMarkupContextInternalDispatch::SetIcons(LPDISPATCH pDispatch)
{
    if (m_pContext == nullptr)
        ThrowDetached();
    // A dispatch of something else raises E_INVALIDARG to the script.
    m_pContext->SetImageManager(CQVTImageManager::FromDispatch(pDispatch));
}

long CQVTMarkupContextInternalDispatch::GetDefaultSmoothingMode()
{
    return m_pContext != nullptr ? m_pContext->GetDefaultSmoothingMode() : 0;
}

void CQVTMarkupContextInternalDispatch::SetDefaultSmoothingMode(long nMode)
{
    if (m_pContext != nullptr)
        m_pContext->SetDefaultSmoothingMode(static_cast<int>(nMode));
}

BOOL CQVTMarkupContextInternalDispatch::GetDefaultTextSmoothingEnabled()
{
    return m_pContext != nullptr && m_pContext->GetDefaultTextSmoothing();
}

void CQVTMarkupContextInternalDispatch::SetDefaultTextSmoothingEnabled(BOOL bEnable)
{
    if (m_pContext != nullptr)
        m_pContext->SetDefaultTextSmoothing(bEnable);
}
