// The module list under failing allocations: this program replaces operator
// new and can make the n-th allocation fail, so that what an exception leaves
// held shows.
#include <afxwin.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "sondrel_gtest.h"
#include "tests/toolkit/skinframework/hook/loader_lock.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"
#include "win_thread.h"

namespace {
std::atomic<long> g_nFailIn{-1};  // allocations left before one fails; -1: none fails
}  // namespace

// The runtime's array and nothrow forms come here, and its deletes free.
void* operator new(size_t nSize)
{
    if (g_nFailIn.load() >= 0 && g_nFailIn.fetch_sub(1) == 0)
        throw std::bad_alloc();
    void* p = std::malloc(nSize ? nSize : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

// Each allocation of a read of this process's modules fails in turn; after
// each, a second thread tries the loader's lock (without waiting), as any
// thread that loads a library or starts would take it. Left held, it would
// stop every later load and thread in the process: the program then ends.
TEST(ModuleListAllocations, AReadThatRunsOutOfMemoryLeavesTheLoadersLockFree)
{
    const LoaderLock loader;
    ASSERT_TRUE(loader.Found());
    ASSERT_TRUE(CQVTSkinManagerModuleList::CLoaderModuleEnumerator::IsAvailable());

    HANDLE hRunning = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE hProbe = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE hProbed = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    volatile LONG bStop = FALSE;
    volatile LONG bFree = FALSE;
    // Running before any read: a thread's start takes the loader's lock.
    WinThread prober([&] {
        ::SetEvent(hRunning);
        while (::WaitForSingleObject(hProbe, INFINITE) == WAIT_OBJECT_0 && !bStop)
        {
            ULONG nDisposition = 0;
            ULONG_PTR nCookie = 0;
            // 2: try only; the disposition is 1 when the lock was taken.
            bFree = loader.pfnLock(2, &nDisposition, &nCookie) == 0 && nDisposition == 1;
            if (bFree)
                loader.pfnUnlock(0, nCookie);
            ::SetEvent(hProbed);
        }
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hRunning, 60000));

    CQVTSkinManagerModuleList list(::GetCurrentProcessId(), FALSE);
    bool bRead = false;
    for (long n = 0; n < 100 && !bRead; ++n)
    {
        bRead = true;
        g_nFailIn = n;
        try
        {
            list.Refresh(FALSE);
        }
        catch (std::bad_alloc&)
        {
            bRead = false;
        }
        g_nFailIn = -1;
        ::SetEvent(hProbe);
        if (::WaitForSingleObject(hProbed, 60000) != WAIT_OBJECT_0 || !bFree)
        {
            ADD_FAILURE() << "the loader's lock is still held after allocation " << n << " failed";
            fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
    }
    EXPECT_TRUE(bRead);
    EXPECT_EQ(::GetModuleHandleW(nullptr), list.GetFirstModule());

    bStop = TRUE;
    ::SetEvent(hProbe);
    prober.join();
    ::CloseHandle(hRunning);
    ::CloseHandle(hProbe);
    ::CloseHandle(hProbed);
}
