// The layout protocol: margins, limits, alignment and clipping of framework
// elements; caching; synchronous invalidation that climbs while desired
// sizes change; visibility in measuring, hit testing and rendering.
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

class MarkupLayout : public testing::Test
{
protected:
    MarkupLayout() : m_pContext(new CRecordingContext()) {}
    ~MarkupLayout() override
    {
        m_root.reset();
        m_pContext->Release();
    }

    void Load(LPCWSTR lpszBody)
    {
        CString strError;
        m_root.reset(new CTreeHolder(BuildMarkup(m_pContext, PanelMarkup(lpszBody), &strError)));
        ASSERT_NE(m_root->Get(), nullptr) << CStringA(strError).GetString();
    }
    template <class T = CQVTMarkupFrameworkElement>
    T* Find(LPCWSTR lpszName)
    {
        return m_root->Find<T>(lpszName);
    }
    void Layout(CQVTMarkupUIElement* pElement, int cx, int cy)
    {
        CQVTMarkupDrawingContext dc(m_pContext);
        pElement->Measure(&dc, SIZE{cx, cy});
        pElement->Arrange(RECT{0, 0, cx, cy});
    }

    CRecordingContext* m_pContext;
    std::unique_ptr<CTreeHolder> m_root;
};

TEST_F(MarkupLayout, UnboundedSpaceStaysUnboundedThroughMargins)
{
    Load(u"<TestPanel x:Name='p' Margin='5'/>");
    CTestPanel* pPanel = Find<CTestPanel>(u"p");
    CQVTMarkupDrawingContext dc(m_pContext);
    pPanel->Measure(&dc, SIZE{0x40000000, 100});
    EXPECT_EQ(pPanel->m_szLastAvailable.cx, 2147483647);
    EXPECT_EQ(pPanel->m_szLastAvailable.cy, 90);
    pPanel->Measure(&dc, SIZE{0x3FFFFFFF, 100});
    EXPECT_EQ(pPanel->m_szLastAvailable.cx, 0x3FFFFFFF - 10);
    // Margins wider than the space leave none.
    pPanel->Measure(&dc, SIZE{6, 4});
    EXPECT_EQ(pPanel->m_szLastAvailable.cx, 0);
    EXPECT_EQ(pPanel->m_szLastAvailable.cy, 0);
}

TEST_F(MarkupLayout, MinimumLimitsWin)
{
    Load(u"<FrameworkElement x:Name='w' Width='10' MinWidth='20' Height='7'/>"
         u"<FrameworkElement x:Name='m' MaxWidth='5' MinWidth='20'/>"
         u"<FrameworkElement x:Name='auto' Width='Auto' MaxHeight='Auto'/>");
    CQVTMarkupDrawingContext dc(m_pContext);
    Find(u"w")->Measure(&dc, SIZE{100, 100});
    EXPECT_EQ(Find(u"w")->GetDesiredSize().cx, 20);
    EXPECT_EQ(Find(u"w")->GetDesiredSize().cy, 7);
    Find(u"m")->Measure(&dc, SIZE{100, 100});
    EXPECT_EQ(Find(u"m")->GetDesiredSize().cx, 20);
    Find(u"auto")->Measure(&dc, SIZE{100, 100});
    EXPECT_EQ(Find(u"auto")->GetDesiredSize().cx, 0);
}

TEST_F(MarkupLayout, OversizedContentIsPlacedAndClipped)
{
    // Content wider than its slot, stretched: placed at the left, clipped to the slot.
    Load(u"<TestPanel x:Name='wide'/><TestPanel x:Name='capped' MaxWidth='30'/>");
    CTestPanel* pWide = Find<CTestPanel>(u"wide");
    pWide->m_szFixed = SIZE{100, 10};
    Layout(pWide, 50, 40);
    EXPECT_EQ(pWide->GetVisualOffset().x, 0);
    EXPECT_EQ(pWide->GetRenderSize().cx, 100);
    RECT rcClip;
    ASSERT_TRUE(pWide->GetLayoutClip(&rcClip));
    EXPECT_EQ(rcClip.left, 0);
    EXPECT_EQ(rcClip.right, 50);

    // Content beyond MaxWidth: arranged at the content's size, drawn to the maximum.
    CTestPanel* pCapped = Find<CTestPanel>(u"capped");
    pCapped->m_szFixed = SIZE{100, 10};
    Layout(pCapped, 200, 50);
    EXPECT_EQ(pCapped->GetDesiredSize().cx, 30);
    EXPECT_TRUE(pCapped->NeedsClip());
    ASSERT_TRUE(pCapped->GetLayoutClip(&rcClip));
    EXPECT_EQ(rcClip.right - rcClip.left, 30);
    EXPECT_EQ(pCapped->GetVisualOffset().x, 85);

    // Content that fits needs no clip, and a centred element sits centred.
    Load(u"<FrameworkElement x:Name='c' Width='10' Height='10' HorizontalAlignment='Center' "
         u"VerticalAlignment='Bottom' Margin='1,2,3,4'/>");
    CQVTMarkupFrameworkElement* pCentred = Find(u"c");
    Layout(pCentred, 100, 50);
    EXPECT_FALSE(pCentred->GetLayoutClip(&rcClip));
    EXPECT_EQ(pCentred->GetVisualOffset().x, 1 + (96 - 10) / 2);
    EXPECT_EQ(pCentred->GetVisualOffset().y, 2 + 44 - 10);
}

TEST_F(MarkupLayout, CollapsedTakesNoSpaceAndMeasuresAgainWhenShown)
{
    Load(u"<TestPanel x:Name='p' Visibility='Collapsed'/>");
    CTestPanel* pPanel = Find<CTestPanel>(u"p");
    pPanel->m_szFixed = SIZE{40, 30};
    CQVTMarkupDrawingContext dc(m_pContext);
    pPanel->Measure(&dc, SIZE{100, 100});
    EXPECT_EQ(pPanel->GetDesiredSize().cx, 0);
    EXPECT_EQ(pPanel->m_nMeasureCount, 0);
    pPanel->Arrange(RECT{0, 0, 100, 100});
    EXPECT_EQ(pPanel->GetRenderSize().cx, 0);

    // Shown again (without the relayout a change would start), the same
    // space measures anew.
    pPanel->SetLoading(TRUE);
    pPanel->SetValue(CQVTMarkupUIElement::m_pVisibilityProperty, new CQVTMarkupEnum(qvtVisibilityVisible));
    pPanel->SetLoading(FALSE);
    const int nBefore = pPanel->m_nMeasureCount;
    pPanel->Measure(&dc, SIZE{100, 100});
    EXPECT_EQ(pPanel->m_nMeasureCount, nBefore + 1);
    EXPECT_EQ(pPanel->GetDesiredSize().cx, 40);
    // The same space again is served from the cache.
    pPanel->Measure(&dc, SIZE{100, 100});
    EXPECT_EQ(pPanel->m_nMeasureCount, nBefore + 1);
}

TEST_F(MarkupLayout, HitTestingSkipsHiddenAndPrefersTheLaterChild)
{
    Load(u"<TestPanel x:Name='p'><FrameworkElement x:Name='under' Height='20'/>"
         u"<FrameworkElement x:Name='over' Height='20'/><FrameworkElement x:Name='hidden' Height='20' "
         u"Visibility='Hidden'/></TestPanel>");
    CTestPanel* pPanel = Find<CTestPanel>(u"p");
    pPanel->m_bOverlap = TRUE;
    Layout(m_root->Get(), 100, 100);
    // The hidden child lies on top but is never hit.
    EXPECT_EQ(m_root->Get()->InputHitTest(POINT{10, 10}), Find(u"over"));
    // Hidden still takes its measured space.
    EXPECT_EQ(Find(u"hidden")->GetDesiredSize().cy, 20);
    pPanel->m_bOverlap = FALSE;
    pPanel->InvalidateArrange();
    EXPECT_EQ(m_root->Get()->InputHitTest(POINT{10, 10}), Find(u"under"));
    EXPECT_EQ(m_root->Get()->InputHitTest(POINT{10, 45}), pPanel);
    EXPECT_EQ(m_root->Get()->InputHitTest(POINT{10, 150}), nullptr);
}

TEST_F(MarkupLayout, InvalidationClimbsOnlyWhileDesiredSizesChange)
{
    Load(u"<TestPanel x:Name='inner'><TestElement x:Name='e' Width='10' Height='10'/></TestPanel>");
    CTestPanel* pRoot = static_cast<CTestPanel*>(m_root->Get());
    CTestPanel* pInner = Find<CTestPanel>(u"inner");
    CQVTMarkupFrameworkElement* pElement = Find(u"e");
    Layout(pRoot, 100, 100);
    m_pContext->m_elements.clear();

    // No layout flags: nothing runs.
    pElement->SetValue(CQVTMarkupFrameworkElement::m_pTagProperty, new CQVTMarkupInt(1));
    EXPECT_TRUE(m_pContext->m_elements.empty());

    // A render change that keeps the size repaints the element alone.
    const int nInnerMeasures = pInner->m_nMeasureCount;
    pElement->SetValue(CQVTMarkupUIElement::m_pOpacityProperty, new CQVTMarkupDouble(0.5));
    ASSERT_EQ(m_pContext->m_elements.size(), 1u);
    EXPECT_EQ(m_pContext->m_elements[0], pElement);
    EXPECT_EQ(pInner->m_nMeasureCount, nInnerMeasures);

    // A size change climbs to the first ancestor whose size holds.
    pRoot->m_szFixed = SIZE{100, 100};
    pRoot->InvalidateMeasure();
    m_pContext->m_elements.clear();
    m_pContext->m_nAll = 0;
    pElement->SetValue(CQVTMarkupFrameworkElement::m_pHeightProperty, new CQVTMarkupInt(20));
    EXPECT_EQ(pElement->GetDesiredSize().cy, 20);
    EXPECT_EQ(pInner->GetDesiredSize().cy, 20);
    ASSERT_EQ(m_pContext->m_elements.size(), 1u);
    EXPECT_EQ(m_pContext->m_elements[0], pRoot);
    EXPECT_EQ(m_pContext->m_nAll, 0);

    // When the root's size changes too, the whole window is repainted.
    pRoot->m_szFixed = SIZE{0, 0};
    pRoot->InvalidateMeasure();
    m_pContext->m_elements.clear();
    m_pContext->m_nAll = 0;
    pElement->SetValue(CQVTMarkupFrameworkElement::m_pHeightProperty, new CQVTMarkupInt(30));
    EXPECT_EQ(m_pContext->m_nAll, 1);
    EXPECT_TRUE(m_pContext->m_elements.empty());
}

TEST_F(MarkupLayout, RenderingSkipsHiddenAndClippedElementsAndClampsOpacity)
{
    Load(
        u"<TestPanel x:Name='shown' Height='20'/><TestPanel x:Name='hidden' Height='20' Visibility='Hidden'/>"
        u"<TestPanel x:Name='far' Height='20' Margin='0,500,0,0'/><FrameworkElement x:Name='o' "
        u"Opacity='2.5'/>"
        u"<FrameworkElement x:Name='n' Opacity='-3'/>");
    Layout(m_root->Get(), 100, 600);
    DibCanvas canvas(100, 100);
    {
        CQVTMarkupDrawingContext dc(m_pContext, canvas.dc.m_hDC);
        m_root->Get()->Render(&dc);
    }
    EXPECT_EQ(Find<CTestPanel>(u"shown")->m_nRenderCount, 1);
    EXPECT_EQ(Find<CTestPanel>(u"hidden")->m_nRenderCount, 0);
    EXPECT_EQ(Find<CTestPanel>(u"far")->m_nRenderCount, 0);
    EXPECT_DOUBLE_EQ(Find(u"o")->GetOpacity(), 1.0);
    EXPECT_DOUBLE_EQ(Find(u"n")->GetOpacity(), 0.0);
}
