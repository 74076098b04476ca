// Thread-local and process-local object storage.
#include <afx.h>

#include <vector>

namespace {

// One thread's objects, indexed by slot. Every live table is also linked
// into a process-wide list so that a dying CThreadLocal can free its slot
// in every thread.
struct ThreadTable
{
    std::vector<CNoTrackObject*> objects;
    ThreadTable* prev = nullptr;
    ThreadTable* next = nullptr;
};

void DeleteObjects(std::vector<CNoTrackObject*>& objects)
{
    // Last slot first: later locals may be built on earlier ones.
    for (size_t i = objects.size(); i-- > 0;)
    {
        CNoTrackObject* object = objects[i];
        objects[i] = nullptr;
        try
        {
            delete object;
        }
        catch (...)
        {
            // A destructor must not unwind into the thread's exit path.
        }
    }
}

void WINAPI ThreadExitCallback(void* data);

// Never destroyed: thread exits and static destructors may run after
// everything else has gone.
struct ThreadTableRegistry
{
    CRITICAL_SECTION lock;
    DWORD flsIndex;
    LONG slotCount = 0;
    ThreadTable* head = nullptr;

    ThreadTableRegistry()
    {
        InitializeCriticalSection(&lock);
        flsIndex = FlsAlloc(&ThreadExitCallback);
    }

    void Link(ThreadTable* table)
    {
        EnterCriticalSection(&lock);
        table->next = head;
        if (head)
            head->prev = table;
        head = table;
        LeaveCriticalSection(&lock);
    }

    void Unlink(ThreadTable* table)
    {
        EnterCriticalSection(&lock);
        if (table->prev)
            table->prev->next = table->next;
        else
            head = table->next;
        if (table->next)
            table->next->prev = table->prev;
        table->prev = table->next = nullptr;
        LeaveCriticalSection(&lock);
    }
};

ThreadTableRegistry& TheRegistry()
{
    static ThreadTableRegistry* registry = new ThreadTableRegistry;
    return *registry;
}

void ReleaseTable(ThreadTable* table)
{
    if (!table)
        return;
    TheRegistry().Unlink(table);
    DeleteObjects(table->objects);
    delete table;
}

void WINAPI ThreadExitCallback(void* data)
{
    ReleaseTable(static_cast<ThreadTable*>(data));
}

ThreadTable* CurrentTable(bool create)
{
    ThreadTableRegistry& registry = TheRegistry();
    auto* table = static_cast<ThreadTable*>(FlsGetValue(registry.flsIndex));
    if (!table && create)
    {
        table = new ThreadTable;
        registry.Link(table);
        FlsSetValue(registry.flsIndex, table);
    }
    return table;
}

}  // namespace

void* CNoTrackObject::operator new(size_t nSize)
{
    // Zeroed, as per-thread state traditionally starts out.
    void* p = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, nSize ? nSize : 1);
    if (!p)
        AfxThrowMemoryException();
    return p;
}

void* CNoTrackObject::operator new(size_t nSize, const char*, int)
{
    return CNoTrackObject::operator new(nSize);
}

void CNoTrackObject::operator delete(void* p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

void CNoTrackObject::operator delete(void* p, const char*, int)
{
    CNoTrackObject::operator delete(p);
}

int CThreadLocalObject::SlotIndex()
{
    LONG slot = m_nSlot;
    if (slot == 0)
    {
        ThreadTableRegistry& registry = TheRegistry();
        LONG fresh = InterlockedIncrement(&registry.slotCount);
        slot = InterlockedCompareExchange(&m_nSlot, fresh, 0);
        if (slot == 0)
            slot = fresh;  // ours won; a lost race only wastes an index
    }
    return slot - 1;
}

CNoTrackObject* CThreadLocalObject::GetData(CNoTrackObject*(AFXAPI* pfnCreateObject)())
{
    int slot = SlotIndex();
    ThreadTable* table = CurrentTable(true);
    if (table->objects.size() <= size_t(slot))
    {
        // Under the lock: a dying CThreadLocal may be walking this table.
        ThreadTableRegistry& registry = TheRegistry();
        EnterCriticalSection(&registry.lock);
        table->objects.resize(slot + 1, nullptr);
        LeaveCriticalSection(&registry.lock);
    }
    CNoTrackObject*& object = table->objects[slot];
    if (!object)
        object = pfnCreateObject();
    return object;
}

CNoTrackObject* CThreadLocalObject::GetDataNA()
{
    if (m_nSlot == 0)
        return nullptr;
    ThreadTable* table = CurrentTable(false);
    int slot = m_nSlot - 1;
    if (!table || table->objects.size() <= size_t(slot))
        return nullptr;
    return table->objects[slot];
}

CThreadLocalObject::~CThreadLocalObject()
{
    if (m_nSlot == 0)
        return;
    int slot = m_nSlot - 1;
    ThreadTableRegistry& registry = TheRegistry();
    std::vector<CNoTrackObject*> doomed;
    EnterCriticalSection(&registry.lock);
    for (ThreadTable* table = registry.head; table; table = table->next)
    {
        if (table->objects.size() > size_t(slot) && table->objects[slot])
        {
            doomed.push_back(table->objects[slot]);
            table->objects[slot] = nullptr;
        }
    }
    LeaveCriticalSection(&registry.lock);
    DeleteObjects(doomed);
}

CNoTrackObject* CProcessLocalObject::GetData(CNoTrackObject*(AFXAPI* pfnCreateObject)())
{
    if (m_pObject)
        return m_pObject;
    ThreadTableRegistry& registry = TheRegistry();
    EnterCriticalSection(&registry.lock);
    if (!m_pObject)
    {
        try
        {
            m_pObject = pfnCreateObject();
        }
        catch (...)
        {
            LeaveCriticalSection(&registry.lock);
            throw;
        }
    }
    LeaveCriticalSection(&registry.lock);
    return m_pObject;
}

CProcessLocalObject::~CProcessLocalObject()
{
    CNoTrackObject* object = m_pObject;
    m_pObject = nullptr;
    try
    {
        delete object;
    }
    catch (...)
    {
    }
}

void AFXAPI AfxTermThread(HINSTANCE)
{
    ThreadTableRegistry& registry = TheRegistry();
    auto* table = static_cast<ThreadTable*>(FlsGetValue(registry.flsIndex));
    if (!table)
        return;
    FlsSetValue(registry.flsIndex, nullptr);
    ReleaseTable(table);
}
