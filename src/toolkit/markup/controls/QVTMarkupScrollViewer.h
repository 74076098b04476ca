// One content element seen through a viewport with scroll offsets; the
// viewer makes its vertical and horizontal scroll bars, and the gripper
// between them, as its visibility settings and the content's size require.
#pragma once

#include "toolkit/markup/panels/QVTMarkupContentControl.h"

class CQVTMarkupScrollBar;
class CQVTMarkupScrollBarGripper;

enum QVTMarkupScrollBarVisibility
{
    qvtScrollBarDisabled = 0,
    qvtScrollBarAuto = 1,
    qvtScrollBarVisible = 2,
};

class CQVTMarkupScrollViewer : public CQVTMarkupContentControl
{
    DECLARE_MARKUPCLASS(CQVTMarkupScrollViewer)

public:
    CQVTMarkupScrollViewer();
    ~CQVTMarkupScrollViewer() override;

    int GetVisualChildrenCount() override;
    CQVTMarkupVisual* GetVisualChild(int nIndex) override;
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnMouseWheel(CQVTMarkupMouseWheelEventArgs* pArgs) override;

    // Offsets beyond the scroll range are brought back into it once the
    // viewer has a layout.
    void ScrollToPosition(BOOL bVertical, int nValue);
    void OnScrollCommand(BOOL bVertical, int nCommand, int nPosition);
    int GetScrollMaximum(BOOL bVertical);
    int GetOffset(BOOL bVertical) const { return bVertical ? m_nVerticalOffset : m_nHorizontalOffset; }
    CQVTMarkupScrollBar* GetScrollBar(BOOL bVertical) const
    {
        return bVertical ? m_pVerticalBar : m_pHorizontalBar;
    }
    CQVTMarkupScrollBarGripper* GetGripper() const { return m_pGripper; }

    static CQVTMarkupDependencyProperty* m_pVerticalScrollBarVisibilityProperty;
    static CQVTMarkupDependencyProperty* m_pHorizontalScrollBarVisibilityProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    QVTMarkupScrollBarVisibility GetVisibilitySetting(BOOL bVertical);
    CQVTMarkupScrollBar* EnsureBar(BOOL bVertical);
    void RemoveBar(BOOL bVertical);
    void ArrangeBar(BOOL bVertical, SIZE szFinal, SIZE szViewport, int nContent);

    long GetVerticalOffsetProperty();
    void SetVerticalOffsetProperty(long nValue);
    long GetHorizontalOffsetProperty();
    void SetHorizontalOffsetProperty(long nValue);
    DECLARE_DISPATCH_MAP()

    CQVTMarkupScrollBar* m_pVerticalBar;     // owned, or null
    CQVTMarkupScrollBar* m_pHorizontalBar;   // owned, or null
    CQVTMarkupScrollBarGripper* m_pGripper;  // owned, while both bars exist
    int m_nHorizontalOffset;                 // device pixels
    int m_nVerticalOffset;
    BOOL m_bArranged;  // the viewer has been arranged once
};
