// Durations and numbers as the recorder and the file list print them, and
// the message pump the recording job keeps the window alive with.
#include "sondrel_gtest.h"

#include <cmath>
#include <limits>

#include "app/program/TextFormat.h"

TEST(TextFormat, DurationsPickTheirFieldsByLength)
{
    const struct
    {
        double dMs;
        BOOL bMs, bHours;
        const TCHAR* pszText;
    } rows[] = {
        {3723004, FALSE, FALSE, _T("01:02:03")},
        {3723004, TRUE, FALSE, _T("01:02:03.4")},
        {59000, FALSE, FALSE, _T("00:59")},
        {59000, FALSE, TRUE, _T("00:00:59")},
        {90000000, FALSE, FALSE, _T("1:01:00:00")},
        {90000000, TRUE, TRUE, _T("1:01:00:00.0")},
        {61005.9, TRUE, FALSE, _T("01:01.5")},  // whole milliseconds, no leading zeros
        {999.99, FALSE, FALSE, _T("00:00")},
        {3599999, FALSE, FALSE, _T("59:59")},
        {3600000, FALSE, FALSE, _T("01:00:00")},
        {86399999, TRUE, FALSE, _T("23:59:59.999")},
        {1000.0 * 86400 * 400, FALSE, FALSE, _T("400:00:00:00")},
        // An engine that knows no duration yet answers below zero.
        {-1, FALSE, FALSE, _T("00:00")},
        {-5000, TRUE, TRUE, _T("00:00:00.0")},
        {std::numeric_limits<double>::quiet_NaN(), FALSE, FALSE, _T("00:00")},
        {std::numeric_limits<double>::infinity(), FALSE, FALSE, _T("00:00")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatDuration(row.dMs, row.bMs, row.bHours), CString(row.pszText)) << row.dMs;

    EXPECT_EQ(FormatDurationInt64(3723004, TRUE, FALSE), CString(_T("01:02:03.4")));
    // Far beyond an int of days.
    EXPECT_EQ(FormatDurationInt64(86400000LL * 3000000000LL + 1000, FALSE, FALSE),
              CString(_T("3000000000:00:00:01")));
    EXPECT_EQ(FormatDurationInt64(-1, TRUE, FALSE), CString(_T("00:00.0")));
}

TEST(TextFormat, DecimalsDropAWholeFractionOnlyWhenAsked)
{
    const struct
    {
        double dValue;
        int nDecimals;
        BOOL bDrop;
        const TCHAR* pszText;
    } rows[] = {
        {2.0, 2, TRUE, _T("2")},           {2.5, 2, TRUE, _T("2.50")},        {2.004, 2, TRUE, _T("2")},
        {2.004, 2, FALSE, _T("2.00")},     {2.06, 1, TRUE, _T("2.1")},        {1.96, 1, TRUE, _T("2")},
        {2.5, 0, FALSE, _T("2")},          {2.25, 5, FALSE, _T("2.25")},      {2.25, 9, FALSE, _T("2.25")},
        {2.25, 12, FALSE, _T("2.250000")}, {2.25, -1, FALSE, _T("2.250000")}, {3.0, 12, TRUE, _T("3")},
        {-7.0, 2, TRUE, _T("-7")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatDecimal(row.dValue, row.nDecimals, row.bDrop), CString(row.pszText))
            << row.dValue << " " << row.nDecimals;
    // Values too large for a whole number of the scale are printed as such.
    EXPECT_EQ(FormatDecimal(1e300, 12, TRUE).Left(4), CString(_T("1000")));
    EXPECT_EQ(IntToString(-42), CString(_T("-42")));
}

namespace {

LRESULT CALLBACK CountingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
    {
        auto* pCount = reinterpret_cast<int*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        ++*pCount;
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

}  // namespace

TEST(TextFormat, ThePumpDispatchesWhatWaitsForItsWindowAndKeepsAQuit)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = u"ShellPumpTarget";
    ::RegisterClassW(&wc);
    int nFirst = 0, nSecond = 0;
    HWND hFirst =
        ::CreateWindowW(u"ShellPumpTarget", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    HWND hSecond =
        ::CreateWindowW(u"ShellPumpTarget", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(hFirst, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&nFirst));
    ::SetWindowLongPtrW(hSecond, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&nSecond));

    ::PostMessageW(hFirst, WM_APP, 0, 0);
    ::PostMessageW(hFirst, WM_APP, 0, 0);
    ::PostMessageW(hSecond, WM_APP, 0, 0);
    PumpWaitingMessages(hFirst);
    EXPECT_EQ(nFirst, 2);
    EXPECT_EQ(nSecond, 0);
    PumpWaitingMessages(nullptr);
    EXPECT_EQ(nSecond, 1);

    // With nothing waiting it returns at once; a quit is handed back to the
    // loop that owns it.
    PumpWaitingMessages(nullptr);
    ::PostQuitMessage(7);
    ::PostMessageW(hFirst, WM_APP, 0, 0);
    PumpWaitingMessages(nullptr);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);

    ::DestroyWindow(hFirst);
    ::DestroyWindow(hSecond);
    ::UnregisterClassW(u"ShellPumpTarget", wc.hInstance);
}
