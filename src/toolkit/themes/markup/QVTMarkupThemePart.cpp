#include "toolkit/themes/markup/QVTMarkupThemePart.h"

#include <cstdlib>
#include <vector>

#include "toolkit/foundation/stream/QVTTextDecoder.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/text/QVTMarkupTextElement.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

CQVTMarkupThemePart::~CQVTMarkupThemePart()
{
    MarkupReleaseElement(m_pElement);
}

BOOL CQVTMarkupThemePart::LoadPart(HQVTZIPARCHIVE hArchive, LPCSTR lpszName, CQVTMarkupContext* pContext)
{
    if (!hArchive || !lpszName)
        return FALSE;
    // The reader bounds the size and checks what it unpacks against the
    // entry's record.
    BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!QVTZipReadEntry(hArchive, lpszName, &pData, &nSize))
        return FALSE;

    MarkupReleaseElement(m_pElement);
    std::vector<WCHAR> text(static_cast<size_t>(nSize) + 1);
    DWORD nLength = static_cast<DWORD>(text.size());
    const BOOL bDecoded = DecodeTextToWide(pData, nSize, text.data(), &nLength);
    free(pData);
    if (bDecoded && nLength > 0)
        m_pElement = MarkupParseText(pContext, text.data());
    return m_pElement != nullptr;
}

CSize CQVTMarkupThemePart::Measure(int cx, int cy)
{
    if (!m_pElement)
        return CSize(0, 0);
    return MarkupMeasureElement(m_pElement, cx, cy);
}

void CQVTMarkupThemePart::Render(CDC* pDC, CRect rc)
{
    if (m_pElement)
        MarkupRenderElement(m_pElement, pDC ? pDC->GetSafeHdc() : nullptr, rc);
}

void CQVTMarkupThemePart::Clear()
{
    MarkupReleaseElement(m_pElement);
}

CQVTMarkupObject* CQVTMarkupThemePart::FindElement(LPCWSTR lpszName) const
{
    if (!m_pElement)
        return nullptr;
    if (const LPCWSTR lpszOwn = m_pElement->GetName())
        if (CompareStringOrdinal(lpszOwn, -1, lpszName, -1, FALSE) == CSTR_EQUAL)
            return m_pElement;
    return m_pElement->FindName(lpszName);
}

namespace {
void MarkupThemePartSetText(CQVTMarkupObject* pObject, LPCTSTR lpszText)
{
    if (CQVTMarkupTextBlock* pText = MarkupCast<CQVTMarkupTextBlock>(pObject))
        pText->SetText(lpszText ? lpszText : u"");
}

void MarkupThemePartSetFontFamily(CQVTMarkupObject* pObject, LPCTSTR lpszFontFamily)
{
    if (CQVTMarkupTextBlock* pText = MarkupCast<CQVTMarkupTextBlock>(pObject))
        pText->SetValue(CQVTMarkupTextElement::m_pFontFamilyProperty,
                        CQVTMarkupString::CreateValue(lpszFontFamily ? lpszFontFamily : u""));
}

void MarkupThemePartSetFontSize(CQVTMarkupObject* pObject, int nSize)
{
    if (CQVTMarkupTextBlock* pText = MarkupCast<CQVTMarkupTextBlock>(pObject))
        pText->SetValue(CQVTMarkupTextElement::m_pFontSizeProperty, new CQVTMarkupInt(nSize));
}
}  // namespace

void CQVTMarkupThemePart::SetCaptionText(LPCTSTR lpszText)
{
    MarkupThemePartSetText(FindElement(u"CaptionText"), lpszText);
}

void CQVTMarkupThemePart::SetCaption(LPCTSTR lpszText)
{
    MarkupThemePartSetText(FindElement(u"Caption"), lpszText);
}

void CQVTMarkupThemePart::SetCaptionTextFontFamily(LPCTSTR lpszFontFamily)
{
    MarkupThemePartSetFontFamily(FindElement(u"CaptionText"), lpszFontFamily);
}

void CQVTMarkupThemePart::SetCaptionFontFamily(LPCTSTR lpszFontFamily)
{
    MarkupThemePartSetFontFamily(FindElement(u"Caption"), lpszFontFamily);
}

void CQVTMarkupThemePart::SetCaptionTextFontSize(int nSize)
{
    MarkupThemePartSetFontSize(FindElement(u"CaptionText"), nSize);
}

void CQVTMarkupThemePart::SetCaptionFontSize(int nSize)
{
    MarkupThemePartSetFontSize(FindElement(u"Caption"), nSize);
}

void CQVTMarkupThemePart::SetCaptionTextForeground(COLORREF clr)
{
    if (CQVTMarkupTextBlock* pText = MarkupCast<CQVTMarkupTextBlock>(FindElement(u"CaptionText")))
        pText->SetValue(CQVTMarkupTextElement::m_pForegroundProperty, new CQVTMarkupSolidColorBrush(clr));
}
