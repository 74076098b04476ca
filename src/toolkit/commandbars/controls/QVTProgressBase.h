// The logic of a progress bar, shared by the bar control and the status
// bar's progress pane: a range and a position that always lies in it. The
// owner answers where it is drawn, how it redraws and with what.
#pragma once

#include <afxwin.h>

class CQVTProgressPaintManager;

class CQVTProgressBase
{
public:
    CQVTProgressBase() = default;
    virtual ~CQVTProgressBase() {}

    virtual CRect GetProgressRect() = 0;
    virtual void RedrawProgress() = 0;
    virtual CQVTProgressPaintManager* GetProgressPaintManager() = 0;

    void SetRange(int nLower, int nUpper);
    // Clamped into the range: raised to the lower end, then lowered to the upper.
    void SetPos(int nPos);
    void GetRange(int& nLower, int& nUpper) const
    {
        nLower = m_nLower;
        nUpper = m_nUpper;
    }
    int GetPos() const { return m_nPos; }

protected:
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
