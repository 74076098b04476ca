// The task dialog's progress bar: the system's, with a marquee of its own on
// systems that have none (before Windows Vista).
#pragma once

#include <afxcmn.h>

class CQVTTaskDialogProgressCtrl : public CProgressCtrl
{
    DECLARE_DYNAMIC(CQVTTaskDialogProgressCtrl)

public:
    enum
    {
        timerMarquee = 101
    };

    CQVTTaskDialogProgressCtrl();

    BOOL IsMarqueeRunning() const { return m_bRunning; }
    int GetMarqueePos() const { return m_nPos; }
    int GetBarState() const { return m_nState; }

protected:
    // The own marquee applies: an older system, and the marquee style.
    BOOL IsOwnMarquee() const;
    // A system before Windows Vista, whose bar has no marquee of its own.
    virtual BOOL IsOlderSystem() const;
    // Between the marquee's blocks: none where the system draws them joined.
    int GetBlockGap() const { return IsOlderSystem() ? 2 : 0; }

    afx_msg void OnPaint();
    afx_msg LRESULT OnSetMarquee(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBarState(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    int m_nState;     // PBM_SETSTATE's, -1 none
    int m_nPos;       // of the marquee's first block
    int m_nInterval;  // ms between steps
    BOOL m_bRunning;
};
