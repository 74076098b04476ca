// The toolkit's reader/writer lock and the spin guard it is built from.
// No kernel object per lock: locks are members of many small objects, and the
// skin framework takes one on nearly every drawing call.
#pragma once

#include <windows.h>

// A thread-recursive spin lock: count 0 free / 1 taken, recursion depth, owner.
struct QVTSpinGuard
{
    volatile LONG count = 0;
    volatile LONG recursion = 0;
    volatile DWORD owner = 0;
};

void SpinLockAcquire(QVTSpinGuard& guard);
void SpinLockRelease(QVTSpinGuard& guard);

// Many readers or one (recursive) writer. A thread's read entries are counted
// per thread, so a reader can ask for the write lock without deadlocking on
// its own reads: they are put aside while it writes and given back after.
class CQVTRWCriticalSection
{
public:
    CQVTRWCriticalSection() = default;
    ~CQVTRWCriticalSection();
    CQVTRWCriticalSection(const CQVTRWCriticalSection&) = delete;
    CQVTRWCriticalSection& operator=(const CQVTRWCriticalSection&) = delete;

    void EnterRead();
    void LeaveRead();
    void EnterWrite();
    void LeaveWrite();

    // State, for diagnostics and tests.
    LONG GetReaderCount() const { return m_readers; }
    DWORD GetWriterThread() const { return m_writerThread; }
    LONG GetWriterRecursion() const { return m_writerRecursion; }
    // The calling thread's counted read entries on this lock.
    int GetThreadReadCount() const;
    // True when the calling thread keeps a per-thread map of read counts.
    static bool ThreadHasReadMap();

private:
    bool IsWriter() const { return m_writerThread == GetCurrentThreadId(); }
    void ReadEntry(bool count);
    void ReadExit(bool count);
    void WaitForNoReaders();

    volatile LONG m_readers = 0;
    volatile LONG m_writerRecursion = 0;
    volatile DWORD m_writerThread = 0;
    QVTSpinGuard m_guard;
    volatile LONG m_noReaders = 1;
};

// Scoped holders.
class CQVTReadLock
{
public:
    explicit CQVTReadLock(CQVTRWCriticalSection& lock) : m_lock(lock) { m_lock.EnterRead(); }
    ~CQVTReadLock() { m_lock.LeaveRead(); }
    CQVTReadLock(const CQVTReadLock&) = delete;
    CQVTReadLock& operator=(const CQVTReadLock&) = delete;

private:
    CQVTRWCriticalSection& m_lock;
};

class CQVTWriteLock
{
public:
    explicit CQVTWriteLock(CQVTRWCriticalSection& lock) : m_lock(lock) { m_lock.EnterWrite(); }
    ~CQVTWriteLock() { m_lock.LeaveWrite(); }
    CQVTWriteLock(const CQVTWriteLock&) = delete;
    CQVTWriteLock& operator=(const CQVTWriteLock&) = delete;

private:
    CQVTRWCriticalSection& m_lock;
};

class CQVTSpinLock
{
public:
    explicit CQVTSpinLock(QVTSpinGuard& guard) : m_guard(guard) { SpinLockAcquire(m_guard); }
    ~CQVTSpinLock() { SpinLockRelease(m_guard); }
    CQVTSpinLock(const CQVTSpinLock&) = delete;
    CQVTSpinLock& operator=(const CQVTSpinLock&) = delete;

private:
    QVTSpinGuard& m_guard;
};
