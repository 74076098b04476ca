#include "sondrel_gtest.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A test that hangs (a modal loop waiting for input that went elsewhere, a
// wait without a bound) is named with the windows that hold the thread's
// capture, focus and activation, and ends the program as a failure, long
// before ctest's timeout would, and with its name in the log.
class HangWatch : public testing::EmptyTestEventListener
{
public:
    explicit HangWatch(DWORD dwLimitSeconds) : m_dwLimit(dwLimitSeconds * 1000)
    {
        ::InitializeCriticalSection(&m_lock);
        m_dwThread = ::GetCurrentThreadId();
        HANDLE hThread = ::CreateThread(nullptr, 0, &HangWatch::Watch, this, 0, nullptr);
        if (hThread)
            ::CloseHandle(hThread);
    }

    // A suite's set-up and tear-down and the program's end are watched as
    // well: a fault there (a double release while shared windows go) hung
    // programs until ctest's timeout, with no name.
    void OnTestSuiteStart(const testing::TestSuite& suite) override
    {
        Arm(std::string(suite.name()) + " (set-up)");
    }
    void OnTestStart(const testing::TestInfo& info) override
    {
        Arm(std::string(info.test_suite_name()) + "." + info.name());
    }
    void OnTestEnd(const testing::TestInfo& info) override
    {
        Arm(std::string(info.test_suite_name()) + " (after " + info.name() + ")");
    }
    void OnTestSuiteEnd(const testing::TestSuite&) override { Disarm(); }
    void OnTestProgramEnd(const testing::UnitTest&) override { Arm("the program's end"); }

private:
    void Arm(const std::string& strName)
    {
        ::EnterCriticalSection(&m_lock);
        m_strName = strName;
        m_dwStart = ::GetTickCount();
        m_bRunning = true;
        ::LeaveCriticalSection(&m_lock);
    }
    void Disarm()
    {
        ::EnterCriticalSection(&m_lock);
        m_bRunning = false;
        ::LeaveCriticalSection(&m_lock);
    }

    static DWORD WINAPI Watch(void* pParam)
    {
        HangWatch* pThis = static_cast<HangWatch*>(pParam);
        for (;;)
        {
            ::Sleep(1000);
            ::EnterCriticalSection(&pThis->m_lock);
            const bool bHung = pThis->m_bRunning && ::GetTickCount() - pThis->m_dwStart > pThis->m_dwLimit;
            const std::string strName = pThis->m_strName;
            ::LeaveCriticalSection(&pThis->m_lock);
            if (bHung)
                pThis->Report(strName);
        }
        return 0;
    }

    static std::string Describe(HWND hWnd)
    {
        if (!hWnd)
            return "none";
        char szClass[64] = {}, szText[64] = {};
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        ::GetWindowTextA(hWnd, szText, sizeof(szText));
        char szLine[192];
        std::snprintf(szLine, sizeof(szLine), "%p (%s \"%s\")", static_cast<void*>(hWnd), szClass, szText);
        return szLine;
    }

    void Report(const std::string& strName)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(m_dwThread, &info);
        POINT pt = {};
        ::GetCursorPos(&pt);
        std::fprintf(stderr,
                     "\n[  HUNG    ] %s still runs after %lu s: ended.\n"
                     "             capture %s, focus %s, active %s, flags 0x%lx, pointer at %ld,%ld\n",
                     strName.c_str(), static_cast<unsigned long>(m_dwLimit / 1000),
                     Describe(info.hwndCapture).c_str(), Describe(info.hwndFocus).c_str(),
                     Describe(info.hwndActive).c_str(), static_cast<unsigned long>(info.flags),
                     static_cast<long>(pt.x), static_cast<long>(pt.y));
        std::fflush(stdout);
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }

    CRITICAL_SECTION m_lock;
    DWORD m_dwThread = 0;
    DWORD m_dwLimit;
    DWORD m_dwStart = 0;
    bool m_bRunning = false;
    std::string m_strName;
};

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // SONDREL_TEST_CASE_LIMIT: seconds one test case may run (0: no limit).
    const char* pszLimit = std::getenv("SONDREL_TEST_CASE_LIMIT");
    const long nLimit = pszLimit ? std::strtol(pszLimit, nullptr, 10) : 240;
    if (nLimit > 0)
        testing::UnitTest::GetInstance()->listeners().Append(new HangWatch(static_cast<DWORD>(nLimit)));
    return RUN_ALL_TESTS();
}
