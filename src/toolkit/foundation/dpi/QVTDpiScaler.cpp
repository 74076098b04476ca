#include "toolkit/foundation/dpi/QVTDpiScaler.h"

#include "toolkit/foundation/core/QVTSingletonPointer.h"

BOOL CQVTDpiScaler::s_bImageScaling = TRUE;

CQVTDpiScaler::CQVTDpiScaler() : m_bScreenDC(TRUE), m_hDC(::GetDC(nullptr)), m_bOwnsDC(TRUE) {}

CQVTDpiScaler::CQVTDpiScaler(HWND hWnd) : m_hDC(::GetDC(hWnd)), m_hWnd(hWnd)
{
    m_bOwnsDC = m_hDC != nullptr;
}

CQVTDpiScaler::CQVTDpiScaler(HDC hDC) : m_hDC(hDC) {}

CQVTDpiScaler::~CQVTDpiScaler()
{
    Release();
}

void CQVTDpiScaler::Release()
{
    if (m_bOwnsDC && m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_bOwnsDC = FALSE;
    m_hDC = nullptr;
}

void CQVTDpiScaler::Refresh(int nDpiX, int nDpiY, BOOL bForce)
{
    if (m_bInitialized && !bForce)
        return;
    // Unchanged values only mean "nothing to do" after the tables are built:
    // a first refresh asking for the constructor's 96 must still build them.
    if (m_bInitialized && m_nDpiX == nDpiX && m_nDpiY == nDpiY)
        return;
    m_nDpiX = nDpiX != 0 ? nDpiX : (m_hDC ? ::GetDeviceCaps(m_hDC, LOGPIXELSX) : 0);
    m_nDpiY = nDpiY != 0 ? nDpiY : (m_hDC ? ::GetDeviceCaps(m_hDC, LOGPIXELSY) : 0);

    const bool identity = m_nDpiX == 0 || m_nDpiY == 0;
    for (int v = 0; v < kTableSize; ++v)
    {
        if (identity)
        {
            m_positive[v] = {v, v};
            m_negative[v] = {-v, -v};
        }
        else
        {
            m_positive[v] = {::MulDiv(v, m_nDpiX, 96), ::MulDiv(v, m_nDpiY, 96)};
            m_negative[v] = {::MulDiv(-v, m_nDpiX, 96), ::MulDiv(-v, m_nDpiY, 96)};
        }
    }
    m_bInitialized = TRUE;
}

int CQVTDpiScaler::GetDpiX()
{
    if (!m_bInitialized)
        Refresh();
    return m_nDpiX;
}

int CQVTDpiScaler::GetDpiY()
{
    if (!m_bInitialized)
        Refresh();
    return m_nDpiY;
}

int CQVTDpiScaler::ScaleX(int nValue, int nReferenceDpi)
{
    const int dpi = GetDpiX();
    if (nReferenceDpi >= dpi)
        return nValue;
    if (nValue >= 0 && nValue < kTableSize)
        return m_positive[nValue].x;
    if (nValue < 0 && nValue > -kTableSize)
        return m_negative[-nValue].x;
    return ::MulDiv(nValue, dpi, 96);
}

int CQVTDpiScaler::ScaleY(int nValue, int nReferenceDpi)
{
    const int dpi = GetDpiY();
    if (nReferenceDpi >= dpi)
        return nValue;
    if (nValue >= 0 && nValue < kTableSize)
        return m_positive[nValue].y;
    if (nValue < 0 && nValue > -kTableSize)
        return m_negative[-nValue].y;
    return ::MulDiv(nValue, dpi, 96);
}

int CQVTDpiScaler::ScaleXDirect(int nValue, int nReferenceDpi)
{
    const int dpi = GetDpiX();
    return nReferenceDpi >= dpi ? nValue : nValue * dpi / 96;
}

int CQVTDpiScaler::ScaleYDirect(int nValue, int nReferenceDpi)
{
    const int dpi = GetDpiY();
    return nReferenceDpi >= dpi ? nValue : nValue * dpi / 96;
}

float CQVTDpiScaler::ScaleXFloat(float fValue, int nReferenceDpi)
{
    const int dpi = GetDpiX();
    return nReferenceDpi >= dpi ? fValue : static_cast<float>(dpi) * fValue / 96.0f;
}

float CQVTDpiScaler::ScaleYFloat(float fValue, int nReferenceDpi)
{
    const int dpi = GetDpiY();
    return nReferenceDpi >= dpi ? fValue : static_cast<float>(dpi) * fValue / 96.0f;
}

double CQVTDpiScaler::ScaleXDouble(double dValue, int nReferenceDpi)
{
    const int dpi = GetDpiX();
    return nReferenceDpi >= dpi ? dValue : static_cast<double>(dpi) * dValue / 96.0;
}

double CQVTDpiScaler::ScaleYDouble(double dValue, int nReferenceDpi)
{
    const int dpi = GetDpiY();
    return nReferenceDpi >= dpi ? dValue : static_cast<double>(dpi) * dValue / 96.0;
}

POINT CQVTDpiScaler::ScalePoint(POINT pt, int nReferenceDpi)
{
    return POINT{ScaleX(pt.x, nReferenceDpi), ScaleY(pt.y, nReferenceDpi)};
}

void CQVTDpiScaler::ScalePoint(POINT* pPoint, int nReferenceDpi)
{
    *pPoint = ScalePoint(*pPoint, nReferenceDpi);
}

SIZE CQVTDpiScaler::ScaleSize(SIZE size, int nReferenceDpi)
{
    return SIZE{ScaleX(size.cx, nReferenceDpi), ScaleY(size.cy, nReferenceDpi)};
}

void CQVTDpiScaler::ScaleSize(SIZE* pSize, int nReferenceDpi)
{
    *pSize = ScaleSize(*pSize, nReferenceDpi);
}

RECT CQVTDpiScaler::ScaleRect(const RECT& rc, int nReferenceDpi)
{
    return RECT{ScaleX(rc.left, nReferenceDpi), ScaleY(rc.top, nReferenceDpi),
                ScaleX(rc.right, nReferenceDpi), ScaleY(rc.bottom, nReferenceDpi)};
}

CRect CQVTDpiScaler::ScaleRect(const CRect& rc, int nReferenceDpi)
{
    CRect result;
    RECT scaled = ScaleRect(static_cast<const RECT&>(rc), nReferenceDpi);
    result.CopyRect(&scaled);
    return result;
}

void CQVTDpiScaler::ScaleRect(RECT* pRect, int nReferenceDpi)
{
    *pRect = ScaleRect(*pRect, nReferenceDpi);
}

int CQVTDpiScaler::UnscaleX(int nValue, int nReferenceDpi)
{
    const int dpi = GetDpiX();
    return nReferenceDpi >= dpi ? nValue : nValue * 96 / dpi;
}

int CQVTDpiScaler::UnscaleY(int nValue, int nReferenceDpi)
{
    const int dpi = GetDpiY();
    return nReferenceDpi >= dpi ? nValue : nValue * 96 / dpi;
}

POINT CQVTDpiScaler::UnscalePoint(POINT pt, int nReferenceDpi)
{
    return POINT{UnscaleX(pt.x, nReferenceDpi), UnscaleY(pt.y, nReferenceDpi)};
}

SIZE CQVTDpiScaler::UnscaleSize(SIZE size, int nReferenceDpi)
{
    return SIZE{UnscaleX(size.cx, nReferenceDpi), UnscaleY(size.cy, nReferenceDpi)};
}

RECT CQVTDpiScaler::UnscaleRect(const RECT& rc, int nReferenceDpi)
{
    return RECT{UnscaleX(rc.left, nReferenceDpi), UnscaleY(rc.top, nReferenceDpi),
                UnscaleX(rc.right, nReferenceDpi), UnscaleY(rc.bottom, nReferenceDpi)};
}

void CQVTDpiScaler::UnscaleRect(RECT* pRect, int nReferenceDpi)
{
    *pRect = UnscaleRect(*pRect, nReferenceDpi);
}

QVT_IMPLEMENT_SINGLETON(CQVTDpiScaler, QVTDpiScaler, nullptr)
