// Synchronisation objects exercised by real Wine threads.
#include <afxmt.h>

#include <vector>

#include "sondrel_gtest.h"
#include "win_thread.h"

namespace {

// Many threads bump a plain counter through the lock: any lost update
// means the lock let two threads in.
template <class Lockable>
int CountUnderContention(Lockable& lock, int threads, int rounds)
{
    volatile int counter = 0;
    std::vector<WinThread> workers;
    for (int t = 0; t < threads; ++t)
    {
        workers.emplace_back([&] {
            for (int i = 0; i < rounds; ++i)
            {
                CSingleLock guard(&lock, TRUE);
                int seen = counter;
                if ((i & 63) == 0)
                    Sleep(0);
                counter = seen + 1;
            }
        });
    }
    workers.clear();
    return counter;
}

}  // namespace

TEST(SyncObjects, CriticalSectionAndMutexSerialiseThreads)
{
    CCriticalSection section;
    EXPECT_EQ(8 * 2000, CountUnderContention(section, 8, 2000));
    CMutex mutex;
    EXPECT_EQ(4 * 300, CountUnderContention(mutex, 4, 300));
    CSemaphore binary(1, 1);
    EXPECT_EQ(4 * 300, CountUnderContention(binary, 4, 300));
}

TEST(SyncObjects, TimeoutsFailWhileAnotherThreadHolds)
{
    CCriticalSection section;
    CMutex mutex;
    CEvent held(FALSE, TRUE), release(FALSE, TRUE);
    WinThread holder([&] {
        section.Lock();
        mutex.Lock();
        held.SetEvent();
        release.Lock();
        mutex.Unlock();
        section.Unlock();
    });
    ASSERT_TRUE(held.Lock(5000));

    CSingleLock sectionLock(&section);
    EXPECT_FALSE(sectionLock.Lock(30));
    EXPECT_FALSE(sectionLock.IsLocked());
    CSingleLock mutexLock(&mutex);
    EXPECT_FALSE(mutexLock.Lock(30));

    release.SetEvent();
    EXPECT_TRUE(sectionLock.Lock(5000));
    EXPECT_TRUE(sectionLock.IsLocked());
    EXPECT_TRUE(mutexLock.Lock(5000));
    holder.join();
    EXPECT_TRUE(sectionLock.Unlock());
    EXPECT_FALSE(sectionLock.IsLocked());
    // The destructor of mutexLock releases the mutex: another thread can take it.
}

TEST(SyncObjects, SingleLockReleasesOnScopeExit)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        // Locking again through the same lock must not count twice.
        EXPECT_TRUE(lock.Lock(0));
    }
    BOOL taken = FALSE;
    WinThread other([&] {
        CSingleLock lock(&mutex);
        taken = lock.Lock(1000);
    });
    other.join();
    EXPECT_TRUE(taken);
}

TEST(SyncObjects, AutoAndManualResetEvents)
{
    CEvent autoEvent;  // auto reset, not signalled
    EXPECT_FALSE(autoEvent.Lock(0));
    autoEvent.SetEvent();
    EXPECT_TRUE(autoEvent.Lock(0));
    EXPECT_FALSE(autoEvent.Lock(0));  // consumed by the first wait

    CEvent manual(TRUE, TRUE);  // initially signalled, manual reset
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));
    EXPECT_TRUE(manual.Unlock());

    // A manual event set once wakes every waiter.
    volatile LONG woken = 0;
    std::vector<WinThread> waiters;
    for (int i = 0; i < 4; ++i)
        waiters.emplace_back([&] {
            if (manual.Lock(5000))
                InterlockedIncrement(&woken);
        });
    Sleep(20);
    manual.SetEvent();
    waiters.clear();
    EXPECT_EQ(4, woken);

    // Pulsing with no waiter leaves the event unsignalled.
    manual.ResetEvent();
    manual.PulseEvent();
    EXPECT_FALSE(manual.Lock(0));
}

TEST(SyncObjects, NamedEventIsSharedAndHandleConverts)
{
    CEvent first(FALSE, TRUE, _T("SondrelTestNamedEvent"));
    CEvent second(FALSE, TRUE, _T("SondrelTestNamedEvent"));
    ASSERT_NE(nullptr, HANDLE(first));
    first.SetEvent();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second, 0));
    EXPECT_TRUE(first.IsKindOf(RUNTIME_CLASS(CSyncObject)));
}

TEST(SyncObjects, AbandonedMutexIsAcquired)
{
    CMutex mutex;
    WinThread quitter([&] { mutex.Lock(); });  // ends without unlocking
    quitter.join();
    CSingleLock lock(&mutex);
    EXPECT_TRUE(lock.Lock(1000));
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());
}

TEST(SyncObjects, SemaphoreCountsAndReleaseCount)
{
    CSemaphore semaphore(2, 3);
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_FALSE(semaphore.Lock(0));
    LONG previous = -1;
    EXPECT_TRUE(semaphore.Unlock(3, &previous));
    EXPECT_EQ(0, previous);
    EXPECT_FALSE(semaphore.Unlock());  // beyond the maximum
    CSingleLock lock(&semaphore, TRUE);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock(1, &previous));
    EXPECT_EQ(2, previous);
}

TEST(SyncObjects, MultiLockWaitAnyAndAll)
{
    CEvent a(FALSE, TRUE), b(FALSE, TRUE);
    CMutex m;
    CSyncObject* objects[] = {&a, &b, &m};

    {
        CMultiLock lock(objects, 2);
        EXPECT_EQ(DWORD(WAIT_TIMEOUT), lock.Lock(20, FALSE));
        b.SetEvent();
        EXPECT_EQ(DWORD(WAIT_OBJECT_0 + 1), lock.Lock(1000, FALSE));
        EXPECT_FALSE(lock.IsLocked(0));
        EXPECT_TRUE(lock.IsLocked(1));
        EXPECT_FALSE(lock.IsLocked(7));
        // Wait-all needs both.
        EXPECT_EQ(DWORD(WAIT_TIMEOUT), lock.Lock(20, TRUE));
        a.SetEvent();
        EXPECT_EQ(DWORD(WAIT_OBJECT_0), lock.Lock(1000, TRUE));
        EXPECT_TRUE(lock.IsLocked(0));
        EXPECT_TRUE(lock.Unlock());
        EXPECT_FALSE(lock.IsLocked(1));
    }

    // Held mutex in the set is released by the destructor.
    {
        CMultiLock lock(objects, 3, TRUE);
        EXPECT_TRUE(lock.IsLocked(2));
    }
    BOOL taken = FALSE;
    WinThread other([&] {
        taken = m.Lock(1000);
        if (taken)
            m.Unlock();
    });
    other.join();
    EXPECT_TRUE(taken);
}

TEST(SyncObjects, MultiLockWakesOnMessages)
{
    CEvent never(FALSE, TRUE);
    CSyncObject* objects[] = {&never};
    CMultiLock lock(objects, 1);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 5, 0, 0);
    EXPECT_EQ(DWORD(WAIT_OBJECT_0 + 1), lock.Lock(1000, FALSE, QS_POSTMESSAGE));
    EXPECT_FALSE(lock.IsLocked(0));
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
    }
}

TEST(SyncObjects, MultiLockBeyondPreallocatedSlots)
{
    std::vector<std::unique_ptr<CEvent>> events;
    std::vector<CSyncObject*> objects;
    for (int i = 0; i < 12; ++i)
    {
        events.push_back(std::make_unique<CEvent>(TRUE, TRUE));
        objects.push_back(events.back().get());
    }
    CMultiLock lock(objects.data(), DWORD(objects.size()));
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), lock.Lock(1000, TRUE));
    EXPECT_TRUE(lock.IsLocked(11));
}
