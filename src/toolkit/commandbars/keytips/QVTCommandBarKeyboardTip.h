// One keyboard tip: a small label over a control (or a bar) while the
// keyboard drives its bar, showing the characters that carry it out. The
// mouse passes through it; a tip of a disabled target is translucent. The
// bars build, place, narrow and remove the tips.
#pragma once

#include <afxwin.h>

class CQVTCommandBars;

class CQVTCommandBarKeyboardTip : public CWnd
{
public:
    // Alignment bits of the anchor point.
    enum Alignment
    {
        alignCenterHorizontally = 1,
        alignRight = 2,
        alignCenterVertically = 4,
        alignBottom = 8
    };

    CQVTCommandBarKeyboardTip(CQVTCommandBars* pCommandBars, CObject* pTarget, LPCTSTR lpszCaption, CPoint pt,
                              DWORD dwAlign, BOOL bEnabled);

    // Makes the window at the rectangle, not yet shown.
    BOOL CreateTipWindow(const CRect& rcScreen);

    CString m_strTip;          // the characters to type, upper case
    CString m_strCaption;      // the target's caption, the tip's source
    CString m_strExplicitTip;  // a tip the target gives itself
    CObject* m_pTarget;        // the control or bar the tip stands for
    CPoint m_pt;               // anchor: bar client coordinates for controls, screen for bars
    BOOL m_bEnabled;           // the target can be carried out
    BOOL m_bVisible;
    CQVTCommandBars* m_pCommandBars;
    DWORD m_dwAlign;   // Alignment bits
    BOOL m_bExplicit;  // the text was given before the tips were laid out
    BOOL m_bLayered;   // drawn translucent

protected:
    void PostNcDestroy() override {}
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
