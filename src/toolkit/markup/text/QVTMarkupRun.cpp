#include "toolkit/markup/text/QVTMarkupRun.h"

#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupRun, CQVTMarkupInline, u"Run", &CQVTMarkupRun::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupLineBreak, CQVTMarkupRun, u"LineBreak", nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupRun::m_pTextProperty = nullptr;

void AFX_CDECL CQVTMarkupRun::RegisterMarkupProperties()
{
    CQVTMarkupString::EnsureMarkupClass();
    m_pTextProperty = CQVTMarkupDependencyProperty::Register(
        u"Text", CQVTMarkupString::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupRun::CQVTMarkupRun() : m_nDescent(0), m_pFont(nullptr), m_nMetrics{0, 0}, m_bHasMetrics(FALSE) {}

CQVTMarkupRun::~CQVTMarkupRun()
{
    ReleaseFont();
}

void CQVTMarkupRun::OnFinalRelease()
{
    ReleaseFont();
    CQVTMarkupInline::OnFinalRelease();
}

void CQVTMarkupRun::ReleaseFont()
{
    CQVTMarkupFont* pFont = m_pFont;
    m_pFont = nullptr;
    if (pFont != nullptr)
        pFont->InternalRelease();
}

LPCWSTR CQVTMarkupRun::GetText()
{
    CQVTMarkupString* pText = MarkupCast<CQVTMarkupString>(GetValue(m_pTextProperty));
    return pText != nullptr ? pText->GetText() : nullptr;
}

int CQVTMarkupRun::GetTextLength()
{
    CQVTMarkupString* pText = MarkupCast<CQVTMarkupString>(GetValue(m_pTextProperty));
    return pText != nullptr ? pText->GetLength() : 0;
}

void CQVTMarkupRun::SetText(LPCWSTR lpszText)
{
    SetValue(m_pTextProperty, CQVTMarkupString::CreateValue(lpszText));
}

WCHAR CQVTMarkupRun::CharAt(QVT_TEXTPOS pos)
{
    LPCWSTR lpszText = GetText();
    if (lpszText == nullptr || pos >= static_cast<QVT_TEXTPOS>(GetTextLength()))
        return 0;
    return lpszText[pos];
}

QVT_TEXTPOS CQVTMarkupRun::GetFirstPosition()
{
    return GetTextLength() > 0 ? 0 : QVT_NO_TEXTPOS;
}

void CQVTMarkupRun::GetNextPosition(QVT_TEXTPOS& pos)
{
    if (pos == QVT_NO_TEXTPOS)
        return;
    // The position on the terminating zero is the last one.
    if (pos >= static_cast<QVT_TEXTPOS>(GetTextLength()))
        pos = QVT_NO_TEXTPOS;
    else
        ++pos;
}

BOOL CQVTMarkupRun::IsWordBreak(QVT_TEXTPOS pos)
{
    const WCHAR c = CharAt(pos);
    return c == u' ' || c == u'\t' || c == u'\n';
}

BOOL CQVTMarkupRun::IsLineBreak(QVT_TEXTPOS pos)
{
    return CharAt(pos) == u'\n';
}

BOOL CQVTMarkupRun::IsCarriageReturn(QVT_TEXTPOS pos)
{
    return CharAt(pos) == u'\r';
}

BOOL CQVTMarkupRun::IsSpaceOrTab(QVT_TEXTPOS pos)
{
    const WCHAR c = CharAt(pos);
    return c == u' ' || c == u'\t';
}

BOOL CQVTMarkupRun::GetRange(QVT_TEXTPOS from, QVT_TEXTPOS to, LPCWSTR& lpszStart, int& nCount)
{
    if (from == QVT_NO_TEXTPOS || to == QVT_NO_TEXTPOS)
        return FALSE;
    // Positions from an older text never reach past the current one.
    const QVT_TEXTPOS nLength = static_cast<QVT_TEXTPOS>(GetTextLength());
    from = std::min(from, nLength);
    to = std::min(std::max(to, from), nLength);
    LPCWSTR lpszText = GetText();
    lpszStart = lpszText != nullptr ? lpszText + from : u"";
    nCount = static_cast<int>(std::min<QVT_TEXTPOS>(to - from, 0x7FFFFFFF));
    return TRUE;
}

void CQVTMarkupRun::MeasureRange(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to,
                                 float* pSize)
{
    pSize[0] = pSize[1] = 0.0f;
    LPCWSTR lpszStart = nullptr;
    int nCount = 0;
    if (pDC == nullptr || !GetRange(from, to, lpszStart, nCount))
        return;
    if (m_pFont != nullptr)
        pDC->SetFont(m_pFont);
    if (from == to)
    {
        // An empty piece still has the line height of its font.
        pDC->GetTextExtentF(u" ", 1, pSize);
        pSize[0] = 0.0f;
        return;
    }
    pDC->GetTextExtentF(lpszStart, nCount, pSize);
}

SIZE CQVTMarkupRun::GetRangeExtent(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to)
{
    SIZE size = {0, 0};
    LPCWSTR lpszStart = nullptr;
    int nCount = 0;
    if (pDC == nullptr || !GetRange(from, to, lpszStart, nCount))
        return size;
    if (m_pFont != nullptr)
        pDC->SetFont(m_pFont);
    if (from == to)
    {
        size = pDC->GetTextExtent(u" ", 1);
        size.cx = 0;
        return size;
    }
    return pDC->GetTextExtent(lpszStart, nCount);
}

void CQVTMarkupRun::RenderRange(CQVTMarkupDrawingContext* pDC, const RECT& rc, QVT_TEXTPOS from,
                                QVT_TEXTPOS to)
{
    LPCWSTR lpszStart = nullptr;
    int nCount = 0;
    if (pDC == nullptr || !GetRange(from, to, lpszStart, nCount) || nCount == 0)
        return;
    if (m_pFont != nullptr)
        pDC->SetFont(m_pFont);
    pDC->DrawTextLine(lpszStart, nCount, rc);
}

void CQVTMarkupRun::GetLogFont(LOGFONTW* pLogFont)
{
    CQVTMarkupContext* pContext = GetMarkupContext();
    if (pContext != nullptr)
        *pLogFont = pContext->GetDefaultFont();
    else
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), pLogFont);
    pLogFont->lfEscapement = 0;
    pLogFont->lfOrientation = 0;
    if (CQVTMarkupInt* pSize = MarkupCast<CQVTMarkupInt>(GetValue(m_pFontSizeProperty)))
        pLogFont->lfHeight = pSize->GetValue() == INT_MIN ? INT_MAX : -pSize->GetValue();
    if (CQVTMarkupObject* pWeight = GetValue(m_pFontWeightProperty))
        pLogFont->lfWeight = GetMarkupEnumValue(pWeight, 400);
    if (CQVTMarkupObject* pStyle = GetValue(m_pFontStyleProperty))
        pLogFont->lfItalic = GetMarkupEnumValue(pStyle, 0) != 0 ? 1 : 0;
    if (CQVTMarkupObject* pQuality = GetValue(m_pFontQualityProperty))
    {
        if (QVTOSVersion()->IsWinXPOrGreater())
            pLogFont->lfQuality = static_cast<BYTE>(GetMarkupEnumValue(pQuality, 0));
    }
    if (CQVTMarkupObject* pCharset = GetValue(m_pFontCharsetProperty))
        pLogFont->lfCharSet = static_cast<BYTE>(GetMarkupEnumValue(pCharset, 0));
    if (CQVTMarkupString* pFamily = MarkupCast<CQVTMarkupString>(GetValue(m_pFontFamilyProperty)))
        lstrcpynW(pLogFont->lfFaceName, pFamily->GetText(), LF_FACESIZE);
}

void CQVTMarkupRun::PrepareMeasure(CQVTMarkupDrawingContext* pDC)
{
    LOGFONTW lf = {};
    GetLogFont(&lf);
    if (m_pFont == nullptr || !m_pFont->Matches(&lf))
    {
        CQVTMarkupContext* pContext = GetMarkupContext();
        CQVTMarkupFont* pFont = pContext != nullptr ? pContext->GetFont(&lf) : nullptr;
        ReleaseFont();
        m_pFont = pFont;
    }
    if (pDC == nullptr || m_pFont == nullptr)
        return;
    pDC->SetFont(m_pFont);
    int nAscent = 0, nDescent = 0;
    if (pDC->GetFontMetrics(m_pFont, &nAscent, &nDescent))
    {
        m_nMetrics[0] = nAscent;
        m_nMetrics[1] = nDescent;
        m_bHasMetrics = TRUE;
        m_nDescent = nDescent;
    }
}

BOOL CQVTMarkupRun::HasContentObject()
{
    return GetValue(m_pTextProperty) != nullptr;
}

void CQVTMarkupRun::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pContent))
    {
        pString->InternalAddRef();
        SetValue(m_pTextProperty, pString);
        return;
    }
    CQVTMarkupInline::SetContentObject(pBuilder, pContent);
}

CQVTMarkupLineBreak::CQVTMarkupLineBreak()
{
    EnsureMarkupClass();
    SetValue(m_pTextProperty, CQVTMarkupString::CreateValue(u"\n"));
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupRun, CQVTMarkupInline)
    DISP_PROPERTY_EX_ID(CQVTMarkupRun, "Text", 700, GetTextProperty, SetTextProperty, VT_VARIANT)
END_DISPATCH_MAP()

BSTR CQVTMarkupRun::GetTextProperty()
{
    LPCWSTR lpszText = GetText();
    return ::SysAllocString(lpszText != nullptr ? lpszText : u"");
}

void CQVTMarkupRun::SetTextProperty(const VARIANT& value)
{
    VARIANT text;
    ::VariantInit(&text);
    if (FAILED(::VariantChangeType(&text, &value, 0, VT_BSTR)))
        AfxThrowOleException(DISP_E_TYPEMISMATCH);
    SetText(V_BSTR(&text) != nullptr ? V_BSTR(&text) : u"");
    ::VariantClear(&text);
}
