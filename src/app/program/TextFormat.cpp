#include "app/program/TextFormat.h"

#include <cmath>

CString AFXAPI FormatDecimal(double dValue, int nDecimals, BOOL bDropZeroFraction)
{
    CString strText;
    if (bDropZeroFraction)
    {
        const double dScale = std::pow(10.0, nDecimals);
        const double dRounded = std::round(dValue * dScale) / dScale;
        if (std::isfinite(dRounded) && std::fabs(dRounded - std::trunc(dRounded)) < 1e-10)
        {
            strText.Format(_T("%0.0f"), dValue);
            return strText;
        }
    }
    switch (nDecimals)
    {
    case 0:
        strText.Format(_T("%0.0f"), dValue);
        break;
    case 1:
        strText.Format(_T("%0.1f"), dValue);
        break;
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        strText.Format(_T("%0.2f"), dValue);
        break;
    default:
        strText.Format(_T("%f"), dValue);
        break;
    }
    return strText;
}

CString AFXAPI IntToString(int nValue)
{
    CString strText;
    strText.Format(_T("%i"), nValue);
    return strText;
}

CString AFXAPI FormatDuration(double dMilliseconds, BOOL bWithMilliseconds, BOOL bForceHours)
{
    // Beyond this many milliseconds (some 290 million years) a double has
    // no whole-millisecond meaning left, and the cast would overflow.
    const double kLimit = 9.0e18;
    __int64 nMilliseconds = 0;
    if (std::isfinite(dMilliseconds) && dMilliseconds > 0)
        nMilliseconds = static_cast<__int64>(dMilliseconds < kLimit ? std::trunc(dMilliseconds) : kLimit);
    return FormatDurationInt64(nMilliseconds, bWithMilliseconds, bForceHours);
}

CString AFXAPI FormatDurationInt64(__int64 nMilliseconds, BOOL bWithMilliseconds, BOOL bForceHours)
{
    if (nMilliseconds < 0)
        nMilliseconds = 0;
    const __int64 nSeconds = nMilliseconds / 1000;
    const int nMsPart = static_cast<int>(nMilliseconds - nSeconds * 1000);
    const __int64 nMinutes = nSeconds / 60;
    const __int64 nHours = nMinutes / 60;
    const __int64 nDays = nHours / 24;
    const int s = static_cast<int>(nSeconds % 60), m = static_cast<int>(nMinutes % 60),
              h = static_cast<int>(nHours % 24);

    CString strText;
    if (nDays >= 1)
    {
        if (bWithMilliseconds)
            strText.Format(_T("%I64d:%02d:%02d:%02d.%d"), nDays, h, m, s, nMsPart);
        else
            strText.Format(_T("%I64d:%02d:%02d:%02d"), nDays, h, m, s);
    }
    else if (nHours >= 1 || bForceHours)
    {
        if (bWithMilliseconds)
            strText.Format(_T("%02d:%02d:%02d.%d"), h, m, s, nMsPart);
        else
            strText.Format(_T("%02d:%02d:%02d"), h, m, s);
    }
    else
    {
        if (bWithMilliseconds)
            strText.Format(_T("%02d:%02d.%d"), m, s, nMsPart);
        else
            strText.Format(_T("%02d:%02d"), m, s);
    }
    return strText;
}

void AFXAPI PumpWaitingMessages(HWND hWnd)
{
    MSG msg;
    while (::PeekMessageW(&msg, hWnd, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
