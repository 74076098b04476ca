#include "layout_test_support.h"

MarkupLayoutTest::MarkupLayoutTest() : m_pContext(MarkupCreateContext(nullptr, TRUE))
{
    // Lengths here are measured as GDI measures text.
    m_pContext->EnableGdiPlus(FALSE);
}

MarkupLayoutTest::~MarkupLayoutTest()
{
    MarkupReleaseElement(m_pRoot);
    MarkupReleaseContext(m_pContext);
}

CQVTMarkupUIElement* MarkupLayoutTest::Load(const CString& strMarkup)
{
    MarkupReleaseElement(m_pRoot);
    CString strError;
    m_pRoot = BuildMarkup(m_pContext, strMarkup, &strError);
    EXPECT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
    return m_pRoot;
}

void MarkupLayoutTest::MeasureOnly(int cx, int cy)
{
    CQVTMarkupDrawingContext dc(m_pContext);
    m_pRoot->Measure(&dc, SIZE{cx, cy});
}

void MarkupLayoutTest::Layout(int cx, int cy)
{
    ASSERT_NE(m_pRoot, nullptr);
    MeasureOnly(cx, cy);
    m_pRoot->Arrange(RECT{0, 0, cx, cy});
}

CRect MarkupLayoutTest::RectOf(LPCWSTR lpszName)
{
    CQVTMarkupUIElement* pElement = Find<CQVTMarkupUIElement>(lpszName);
    EXPECT_NE(pElement, nullptr) << CStringA(lpszName).GetString();
    return pElement != nullptr ? CRect(pElement->GetFinalRect()) : CRect(-1, -1, -1, -1);
}

CSize MarkupLayoutTest::TextExtent(const LOGFONTW& lf, LPCWSTR lpszText)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HFONT hFont = ::CreateFontIndirectW(&lf);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    SIZE size = {0, 0};
    const int nLength = static_cast<int>(_tcslen(lpszText));
    if (nLength > 0)
        ::GetTextExtentPoint32W(hDC, lpszText, nLength, &size);
    else
    {
        ::GetTextExtentPoint32W(hDC, u" ", 1, &size);
        size.cx = 0;
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    ::DeleteDC(hDC);
    return CSize(size);
}
