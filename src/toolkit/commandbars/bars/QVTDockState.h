// The dock layout in the application profile: one record per bar in
// "<profile>-Bar<n>" and the screen it was saved on in "<profile>-Summary".
// Positions saved on another screen size are scaled and kept on the work
// area when they are read.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

class CQVTDockState;
class CQVTToolBar;

// One bar's record (CQVTToolBar::CToolBarInfo).
class CQVTToolBarInfo
{
public:
    CQVTToolBarInfo();

    void SaveState(LPCTSTR lpszProfileName, int nIndex) const;
    // FALSE when the section holds no bar.
    BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, const CQVTDockState* pDockState);

    int m_nBarID;
    BOOL m_bVisible;
    BOOL m_bFloating;
    CPoint m_pointPos;  // (-1, -1) when unknown
    int m_nMRUWidth;    // 32767 when unknown
    int m_uMRUDockID;   // the dock bar's child id
    CRect m_rectMRUDockPos;
    CPoint m_ptMRUFloatPos;
    CQVTToolBar* m_pBar;  // not stored
    BOOL m_bDialogBar;
    CSize m_szDockingClient;
    CSize m_szFloatingClient;
};

class CQVTDockState
{
public:
    CQVTDockState();
    ~CQVTDockState();

    // Sets the saved size and whether positions are scaled.
    void SetScreenSize(CSize sizeSaved);
    BOOL IsScaling() const { return m_bScaling; }
    CSize GetDeviceSize() const { return m_sizeDevice; }
    // A saved point scaled to this screen (in 64 bits: stored values may be
    // anything) and kept an icon inside the work area of its monitor.
    CPoint ScalePoint(CPoint point) const;
    // A saved docked rectangle moved by the scaled offset of its corner.
    CRect ScaleRectPos(const CRect& rect) const;

    void SaveState(LPCTSTR lpszProfileName) const;
    void LoadState(LPCTSTR lpszProfileName);

    UINT m_nVersion;
    std::vector<std::unique_ptr<CQVTToolBarInfo>> m_arrBarInfo;

private:
    BOOL m_bScaling;
    CSize m_sizeDevice;  // this screen
    CSize m_sizeSaved;   // the screen the state was saved on
};
