#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

#include <unordered_map>

namespace {
const DWORD kMaxBackOff = 1024;

// Per-thread read counts, keyed by lock. One TLS slot for the process, taken
// when the program starts; the map exists only while the thread holds reads.
using ThreadReadMap = std::unordered_map<const CQVTRWCriticalSection*, int>;

DWORD ReadMapSlot()
{
    static const DWORD slot = TlsAlloc();
    return slot;
}
// Allocate the slot before any thread can race for it.
const DWORD g_readMapSlotAtStart = ReadMapSlot();

ThreadReadMap* CurrentReadMap()
{
    return static_cast<ThreadReadMap*>(TlsGetValue(ReadMapSlot()));
}

void SleepWithBackOff(DWORD& delay)
{
    Sleep(delay);
    if (delay < kMaxBackOff)
        delay = std::min<DWORD>(delay * 2, kMaxBackOff);
}
}  // namespace

void SpinLockAcquire(QVTSpinGuard& guard)
{
    const DWORD self = GetCurrentThreadId();
    if (guard.owner == self)
    {
        InterlockedIncrement(&guard.recursion);
        return;
    }
    DWORD delay = 1;
    for (;;)
    {
        while (guard.count != 0)
            SleepWithBackOff(delay);
        if (InterlockedIncrement(&guard.count) == 1)
            break;
        InterlockedDecrement(&guard.count);
    }
    InterlockedIncrement(&guard.recursion);
    guard.owner = self;
}

void SpinLockRelease(QVTSpinGuard& guard)
{
    if (InterlockedDecrement(&guard.recursion) == 0)
    {
        guard.owner = 0;
        InterlockedDecrement(&guard.count);
    }
}

CQVTRWCriticalSection::~CQVTRWCriticalSection()
{
    // A thread that still counts reads on a dying lock must not keep a
    // dangling key: drop this thread's entry at least.
    if (ThreadReadMap* map = CurrentReadMap())
    {
        map->erase(this);
        if (map->empty())
        {
            delete map;
            TlsSetValue(ReadMapSlot(), nullptr);
        }
    }
}

int CQVTRWCriticalSection::GetThreadReadCount() const
{
    ThreadReadMap* map = CurrentReadMap();
    if (!map)
        return 0;
    auto it = map->find(this);
    return it == map->end() ? 0 : it->second;
}

bool CQVTRWCriticalSection::ThreadHasReadMap()
{
    return CurrentReadMap() != nullptr;
}

void CQVTRWCriticalSection::ReadEntry(bool count)
{
    SpinLockAcquire(m_guard);
    if (count)
    {
        ThreadReadMap* map = CurrentReadMap();
        if (!map)
        {
            map = new ThreadReadMap();
            map->reserve(10);
            TlsSetValue(ReadMapSlot(), map);
        }
        ++(*map)[this];
    }
    if (InterlockedIncrement(&m_readers) == 1)
        InterlockedExchange(&m_noReaders, 0);
    SpinLockRelease(m_guard);
}

void CQVTRWCriticalSection::ReadExit(bool count)
{
    if (count)
    {
        ThreadReadMap* map = CurrentReadMap();
        if (map)
        {
            auto it = map->find(this);
            if (it != map->end() && --it->second <= 0)
                map->erase(it);
            if (map->empty())
            {
                delete map;
                TlsSetValue(ReadMapSlot(), nullptr);
            }
        }
    }
    if (InterlockedDecrement(&m_readers) == 0)
        InterlockedExchange(&m_noReaders, 1);
}

void CQVTRWCriticalSection::EnterRead()
{
    if (IsWriter())
        return;
    ReadEntry(true);
}

void CQVTRWCriticalSection::LeaveRead()
{
    if (IsWriter())
        return;
    ReadExit(true);
}

void CQVTRWCriticalSection::WaitForNoReaders()
{
    DWORD delay = 1;
    while (InterlockedCompareExchange(&m_noReaders, 0, 0) == 0)
        SleepWithBackOff(delay);
}

void CQVTRWCriticalSection::EnterWrite()
{
    if (!IsWriter())
    {
        // Put this thread's own reads aside, or we would wait on ourselves.
        const int own = GetThreadReadCount();
        for (int i = 0; i < own; ++i)
            ReadExit(false);
        WaitForNoReaders();
        SpinLockAcquire(m_guard);
        while (m_readers > 0)
        {
            SpinLockRelease(m_guard);
            WaitForNoReaders();
            SpinLockAcquire(m_guard);
        }
    }
    else
    {
        SpinLockAcquire(m_guard);
    }
    if (InterlockedIncrement(&m_writerRecursion) == 1)
        m_writerThread = GetCurrentThreadId();
}

void CQVTRWCriticalSection::LeaveWrite()
{
    if (!IsWriter())
        return;
    if (m_writerRecursion == 1)
    {
        // Give the thread its reads back while the guard (re-entered
        // recursively) still orders us against other entries.
        const int own = GetThreadReadCount();
        for (int i = 0; i < own; ++i)
            ReadEntry(false);
    }
    if (InterlockedDecrement(&m_writerRecursion) == 0)
        m_writerThread = 0;
    SpinLockRelease(m_guard);
}
