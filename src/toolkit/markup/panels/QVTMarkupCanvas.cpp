#include "toolkit/markup/panels/QVTMarkupCanvas.h"

#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupCanvas, CQVTMarkupPanel, u"Canvas",
                      &CQVTMarkupCanvas::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupCanvas::m_pLeftProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupCanvas::m_pTopProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupCanvas::m_pRightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupCanvas::m_pBottomProperty = nullptr;

namespace {
CQVTMarkupInt* GetOffset(CQVTMarkupObject* pElement, CQVTMarkupDependencyProperty* pProperty)
{
    return pElement != nullptr ? MarkupCast<CQVTMarkupInt>(pElement->GetValue(pProperty)) : nullptr;
}

void SetOffset(CQVTMarkupObject* pElement, CQVTMarkupDependencyProperty* pProperty, int nValue)
{
    if (pElement != nullptr)
        pElement->SetValue(pProperty, new CQVTMarkupInt(nValue));
}
}  // namespace

void AFX_CDECL CQVTMarkupCanvas::RegisterMarkupProperties()
{
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    m_pLeftProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Left", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_SCALE_X));
    m_pTopProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Top", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_SCALE_Y));
    m_pRightProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Right", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_SCALE_X));
    m_pBottomProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Bottom", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_SCALE_Y));
}

int AFX_CDECL CQVTMarkupCanvas::GetLeft(CQVTMarkupObject* pElement)
{
    CQVTMarkupInt* pValue = GetOffset(pElement, m_pLeftProperty);
    return pValue != nullptr ? pValue->GetValue() : 0;
}

int AFX_CDECL CQVTMarkupCanvas::GetTop(CQVTMarkupObject* pElement)
{
    CQVTMarkupInt* pValue = GetOffset(pElement, m_pTopProperty);
    return pValue != nullptr ? pValue->GetValue() : 0;
}

int AFX_CDECL CQVTMarkupCanvas::GetRight(CQVTMarkupObject* pElement)
{
    CQVTMarkupInt* pValue = GetOffset(pElement, m_pRightProperty);
    return pValue != nullptr ? pValue->GetValue() : 0;
}

int AFX_CDECL CQVTMarkupCanvas::GetBottom(CQVTMarkupObject* pElement)
{
    CQVTMarkupInt* pValue = GetOffset(pElement, m_pBottomProperty);
    return pValue != nullptr ? pValue->GetValue() : 0;
}

void AFX_CDECL CQVTMarkupCanvas::SetLeft(CQVTMarkupObject* pElement, int nValue)
{
    SetOffset(pElement, m_pLeftProperty, nValue);
}

void AFX_CDECL CQVTMarkupCanvas::SetTop(CQVTMarkupObject* pElement, int nValue)
{
    SetOffset(pElement, m_pTopProperty, nValue);
}

void AFX_CDECL CQVTMarkupCanvas::SetRight(CQVTMarkupObject* pElement, int nValue)
{
    SetOffset(pElement, m_pRightProperty, nValue);
}

void AFX_CDECL CQVTMarkupCanvas::SetBottom(CQVTMarkupObject* pElement, int nValue)
{
    SetOffset(pElement, m_pBottomProperty, nValue);
}

SIZE CQVTMarkupCanvas::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE)
{
    SIZE szDesired = {0, 0};
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        pChild->Measure(pDC, SIZE{QVT_MARKUP_UNBOUNDED, QVT_MARKUP_UNBOUNDED});
        szDesired.cx = std::max(szDesired.cx, pChild->GetDesiredSize().cx);
        szDesired.cy = std::max(szDesired.cy, pChild->GetDesiredSize().cy);
    }
    return szDesired;
}

SIZE CQVTMarkupCanvas::ArrangeOverride(SIZE szFinal)
{
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        const SIZE szChild = pChild->GetDesiredSize();
        __int64 x = 0, y = 0;
        if (CQVTMarkupInt* pLeft = GetOffset(pChild, m_pLeftProperty))
            x = pLeft->GetValue();
        else if (CQVTMarkupInt* pRight = GetOffset(pChild, m_pRightProperty))
            x = __int64(szFinal.cx) - szChild.cx - pRight->GetValue();
        if (CQVTMarkupInt* pTop = GetOffset(pChild, m_pTopProperty))
            y = pTop->GetValue();
        else if (CQVTMarkupInt* pBottom = GetOffset(pChild, m_pBottomProperty))
            y = __int64(szFinal.cy) - szChild.cy - pBottom->GetValue();
        pChild->Arrange(RECT{MarkupSaturate(x), MarkupSaturate(y), MarkupSaturate(x + szChild.cx),
                             MarkupSaturate(y + szChild.cy)});
    }
    return szFinal;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupCanvas, CQVTMarkupPanel)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "SetLeft", 600, SetLeftMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "SetTop", 601, SetTopMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "SetRight", 602, SetRightMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "SetBottom", 603, SetBottomMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "GetLeft", 604, GetLeftMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "GetTop", 605, GetTopMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "GetRight", 606, GetRightMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupCanvas, "GetBottom", 607, GetBottomMethod, VT_I4, VTS_DISPATCH)
END_DISPATCH_MAP()

void CQVTMarkupCanvas::SetLeftMethod(LPDISPATCH pElement, long nValue)
{
    SetLeft(CQVTMarkupObject::FromDispatch(pElement, FALSE), static_cast<int>(nValue));
}

long CQVTMarkupCanvas::GetLeftMethod(LPDISPATCH pElement)
{
    return GetLeft(CQVTMarkupObject::FromDispatch(pElement, FALSE));
}

void CQVTMarkupCanvas::SetTopMethod(LPDISPATCH pElement, long nValue)
{
    SetTop(CQVTMarkupObject::FromDispatch(pElement, FALSE), static_cast<int>(nValue));
}

long CQVTMarkupCanvas::GetTopMethod(LPDISPATCH pElement)
{
    return GetTop(CQVTMarkupObject::FromDispatch(pElement, FALSE));
}

void CQVTMarkupCanvas::SetRightMethod(LPDISPATCH pElement, long nValue)
{
    SetRight(CQVTMarkupObject::FromDispatch(pElement, FALSE), static_cast<int>(nValue));
}

long CQVTMarkupCanvas::GetRightMethod(LPDISPATCH pElement)
{
    return GetRight(CQVTMarkupObject::FromDispatch(pElement, FALSE));
}

void CQVTMarkupCanvas::SetBottomMethod(LPDISPATCH pElement, long nValue)
{
    SetBottom(CQVTMarkupObject::FromDispatch(pElement, FALSE), static_cast<int>(nValue));
}

long CQVTMarkupCanvas::GetBottomMethod(LPDISPATCH pElement)
{
    return GetBottom(CQVTMarkupObject::FromDispatch(pElement, FALSE));
}
