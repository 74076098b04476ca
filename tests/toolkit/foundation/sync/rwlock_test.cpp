#include "sondrel_gtest.h"
#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

#include <atomic>
#include "win_thread.h"
#include <vector>

TEST(SpinGuard, IsRecursiveForItsOwnerAndExclusiveForOthers)
{
    QVTSpinGuard guard;
    SpinLockAcquire(guard);
    SpinLockAcquire(guard);
    EXPECT_EQ(guard.recursion, 2);
    EXPECT_EQ(guard.owner, GetCurrentThreadId());

    std::atomic<bool> entered{false};
    WinThread other([&] {
        SpinLockAcquire(guard);
        entered = true;
        SpinLockRelease(guard);
    });
    Sleep(30);
    SpinLockRelease(guard);
    EXPECT_FALSE(entered.load()) << "one release of two must keep the guard";
    SpinLockRelease(guard);
    other.join();
    EXPECT_TRUE(entered.load());
    EXPECT_EQ(guard.count, 0);
    EXPECT_EQ(guard.owner, 0u);
}

TEST(SpinGuard, SerialisesManyThreads)
{
    QVTSpinGuard guard;
    int counter = 0;
    std::vector<WinThread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i)
            {
                CQVTSpinLock hold(guard);
                int seen = counter;
                if ((i & 255) == 0)
                    Sleep(0);
                counter = seen + 1;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 8000);
}

TEST(RWCriticalSection, ReadsAreCountedPerThreadAndMapIsDroppedAtZero)
{
    CQVTRWCriticalSection lock;
    lock.EnterRead();
    lock.EnterRead();
    EXPECT_EQ(lock.GetReaderCount(), 2);
    EXPECT_EQ(lock.GetThreadReadCount(), 2);
    lock.LeaveRead();
    lock.LeaveRead();
    EXPECT_EQ(lock.GetReaderCount(), 0);
    EXPECT_FALSE(CQVTRWCriticalSection::ThreadHasReadMap());
}

TEST(RWCriticalSection, UpgradeFromReadsGivesTheReadsBackAfterWriting)
{
    CQVTRWCriticalSection lock;
    lock.EnterRead();
    lock.EnterRead();
    lock.EnterWrite();
    EXPECT_EQ(lock.GetReaderCount(), 0) << "own reads are put aside while writing";
    EXPECT_EQ(lock.GetWriterThread(), GetCurrentThreadId());

    // The writer's own read calls change nothing.
    lock.EnterRead();
    EXPECT_EQ(lock.GetReaderCount(), 0);
    lock.LeaveRead();
    EXPECT_EQ(lock.GetThreadReadCount(), 2);

    lock.EnterWrite();
    EXPECT_EQ(lock.GetWriterRecursion(), 2);
    lock.LeaveWrite();
    EXPECT_EQ(lock.GetReaderCount(), 0) << "reads come back only at the last LeaveWrite";
    lock.LeaveWrite();
    EXPECT_EQ(lock.GetWriterThread(), 0u);
    EXPECT_EQ(lock.GetReaderCount(), 2);
    lock.LeaveRead();
    lock.LeaveRead();
    EXPECT_EQ(lock.GetReaderCount(), 0);
}

TEST(RWCriticalSection, LeaveWriteByAnotherThreadChangesNothing)
{
    CQVTRWCriticalSection lock;
    lock.EnterWrite();
    WinThread([&] { lock.LeaveWrite(); }).join();
    EXPECT_EQ(lock.GetWriterThread(), GetCurrentThreadId());
    EXPECT_EQ(lock.GetWriterRecursion(), 1);
    lock.LeaveWrite();
    EXPECT_EQ(lock.GetWriterThread(), 0u);
}

TEST(RWCriticalSection, WriterWaitsForAnotherThreadsRead)
{
    CQVTRWCriticalSection lock;
    HANDLE readerHolds = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE releaseReader = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> readerLeft{false};
    std::atomic<bool> readerMapLeft{true};
    WinThread reader([&] {
        lock.EnterRead();
        SetEvent(readerHolds);
        WaitForSingleObject(releaseReader, INFINITE);
        readerLeft = true;
        lock.LeaveRead();
        readerMapLeft = CQVTRWCriticalSection::ThreadHasReadMap();
    });
    WaitForSingleObject(readerHolds, INFINITE);

    std::atomic<bool> written{false};
    WinThread writer([&] {
        lock.EnterWrite();
        written = true;
        EXPECT_TRUE(readerLeft.load()) << "write granted while a read was held";
        lock.LeaveWrite();
    });
    Sleep(50);
    EXPECT_FALSE(written.load());
    SetEvent(releaseReader);
    reader.join();
    writer.join();
    EXPECT_TRUE(written.load());
    EXPECT_FALSE(readerMapLeft.load()) << "a reader leaves no per-thread map behind";
    CloseHandle(readerHolds);
    CloseHandle(releaseReader);
}

TEST(RWCriticalSection, ReadersAndWritersUnderContentionKeepDataConsistent)
{
    CQVTRWCriticalSection lock;
    int a = 0, b = 0;
    std::atomic<int> inconsistent{0};
    std::vector<WinThread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i)
            {
                CQVTWriteLock hold(lock);
                ++a;
                Sleep(0);
                ++b;
            }
        });
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 600; ++i)
            {
                CQVTReadLock hold(lock);
                if (a != b)
                    ++inconsistent;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(a, 900);
    EXPECT_EQ(b, 900);
    EXPECT_EQ(inconsistent.load(), 0);
    EXPECT_EQ(lock.GetReaderCount(), 0);
}
