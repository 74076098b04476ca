#include "toolkit/themes/markup/QVTMarkupThemePart.h"

#include <cstdlib>
#include <vector>

#include "toolkit/foundation/stream/QVTTextDecoder.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

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
