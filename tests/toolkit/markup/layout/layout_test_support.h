// What the layout tests share: a DPI-aware context (lengths in markup are
// scaled to the screen, so expectations are written at 96 DPI and scaled
// the same way), markup built through the entry functions, rectangles read
// back, and text measured by GDI itself as the oracle.
#pragma once

#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"

// Readable rectangles, sizes and points in failure messages.
inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}
inline void PrintTo(const CSize& size, std::ostream* os)
{
    *os << size.cx << " x " << size.cy;
}
inline void PrintTo(const CPoint& pt, std::ostream* os)
{
    *os << "(" << pt.x << ", " << pt.y << ")";
}

class MarkupLayoutTest : public testing::Test
{
protected:
    MarkupLayoutTest();
    ~MarkupLayoutTest() override;

    // Builds the markup as the root; fails the test when it does not build.
    CQVTMarkupUIElement* Load(const CString& strMarkup);
    // Measures with the room given and arranges at (0, 0) in the size measured
    // or given.
    void Layout(int cx, int cy);
    void MeasureOnly(int cx, int cy);
    template <class T = CQVTMarkupFrameworkElement>
    T* Find(LPCWSTR lpszName)
    {
        return m_pRoot != nullptr ? MarkupCast<T>(m_pRoot->FindName(lpszName)) : nullptr;
    }
    // The final rectangle of a named element, in its parent's coordinates.
    CRect RectOf(LPCWSTR lpszName);
    // Lengths at 96 DPI as the context scales them.
    int SX(int n) const { return m_pContext->ScaleX(n); }
    int SY(int n) const { return m_pContext->ScaleY(n); }
    // The width and height GDI gives the text in the font.
    static CSize TextExtent(const LOGFONTW& lf, LPCWSTR lpszText);
    LOGFONTW DefaultFont() const { return m_pContext->GetDefaultFont(); }

    CQVTMarkupContext* m_pContext;
    CQVTMarkupUIElement* m_pRoot = nullptr;
};
