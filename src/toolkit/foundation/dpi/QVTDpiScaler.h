// Converts sizes designed at 96 DPI to a device's DPI and back. Small values
// come from precomputed tables, so the common case is one array read.
#pragma once

#include <afxwin.h>

class CQVTDpiScaler
{
public:
    CQVTDpiScaler();  // the screen
    explicit CQVTDpiScaler(HWND hWnd);
    explicit CQVTDpiScaler(HDC hDC);  // a given device; owns nothing
    ~CQVTDpiScaler();

    void Release();
    void Refresh(int nDpiX = 0, int nDpiY = 0, BOOL bForce = FALSE);
    int GetDpiX();
    int GetDpiY();

    int ScaleX(int nValue, int nReferenceDpi = 96);
    int ScaleY(int nValue, int nReferenceDpi = 96);
    int ScaleXDirect(int nValue, int nReferenceDpi = 96);
    int ScaleYDirect(int nValue, int nReferenceDpi = 96);
    float ScaleXFloat(float fValue, int nReferenceDpi = 96);
    float ScaleYFloat(float fValue, int nReferenceDpi = 96);
    double ScaleXDouble(double dValue, int nReferenceDpi = 96);
    double ScaleYDouble(double dValue, int nReferenceDpi = 96);

    POINT ScalePoint(POINT pt, int nReferenceDpi = 96);
    void ScalePoint(POINT* pPoint, int nReferenceDpi = 96);
    SIZE ScaleSize(SIZE size, int nReferenceDpi = 96);
    void ScaleSize(SIZE* pSize, int nReferenceDpi = 96);
    RECT ScaleRect(const RECT& rc, int nReferenceDpi = 96);
    CRect ScaleRect(const CRect& rc, int nReferenceDpi = 96);
    void ScaleRect(RECT* pRect, int nReferenceDpi = 96);

    // Whether toolkit images are drawn scaled to the screen's DPI, for the
    // whole process; controls without a setting of their own follow it.
    static BOOL AFXAPI IsImageScalingEnabled() { return s_bImageScaling; }
    static void AFXAPI SetImageScaling(BOOL bEnable) { s_bImageScaling = bEnable; }

    int UnscaleX(int nValue, int nReferenceDpi = 96);
    int UnscaleY(int nValue, int nReferenceDpi = 96);
    POINT UnscalePoint(POINT pt, int nReferenceDpi = 96);
    SIZE UnscaleSize(SIZE size, int nReferenceDpi = 96);
    RECT UnscaleRect(const RECT& rc, int nReferenceDpi = 96);
    void UnscaleRect(RECT* pRect, int nReferenceDpi = 96);

private:
    static BOOL s_bImageScaling;

    struct Pair
    {
        int x;
        int y;
    };
    enum
    {
        kTableSize = 257
    };

    BOOL m_bInitialized = FALSE;
    BOOL m_bScreenDC = FALSE;
    HDC m_hDC = nullptr;
    HWND m_hWnd = nullptr;
    BOOL m_bOwnsDC = FALSE;
    int m_nDpiX = 96;
    int m_nDpiY = 96;
    Pair m_positive[kTableSize] = {};
    Pair m_negative[kTableSize] = {};
};

// The process-wide scaler, on the screen's DPI.
CQVTDpiScaler* AFXAPI QVTDpiScaler();
