#include "toolkit/foundation/core/QVTSingletonPointer.h"

CQVTSingletonPointer::CQVTSingletonPointer(SIZE_T nObjectSize, PFNCONSTRUCT pfnConstruct,
                                           PFNDESTROY pfnDestroy, PFNINIT pfnInit)
    : m_nObjectSize(nObjectSize), m_pfnConstruct(pfnConstruct), m_pfnDestroy(pfnDestroy)
{
    // The singleton this one depends on registers first, so it is released
    // after this one.
    if (pfnInit)
        pfnInit();
    InitializeCriticalSection(&m_creationLock);

    CQVTApplication* pApplication = QVTApplication();
    CQVTWriteLock lock(pApplication->GetLock());
    pApplication->AddObserver(this);
}

CQVTSingletonPointer::~CQVTSingletonPointer()
{
    Release();
    DeleteCriticalSection(&m_creationLock);
}

void* CQVTSingletonPointer::GetInstance()
{
    if (m_bReleased.load(std::memory_order_acquire))
        AfxThrowMemoryException();
    if (void* pObject = m_pObject.load(std::memory_order_acquire))
        return pObject;

    EnterCriticalSection(&m_creationLock);
    void* pObject = m_pObject.load(std::memory_order_acquire);
    if (!pObject && !m_bReleased.load(std::memory_order_acquire))
    {
        try
        {
            CQVTApplication* pApplication = QVTApplication();
            CQVTWriteLock lock(pApplication->GetLock());
            void* pMemory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, m_nObjectSize);
            if (pMemory)
            {
                if (m_pfnConstruct(pMemory))
                {
                    pObject = pMemory;
                    m_pObject.store(pObject, std::memory_order_release);
                }
                else
                {
                    HeapFree(GetProcessHeap(), 0, pMemory);
                }
            }
        }
        catch (...)
        {
            LeaveCriticalSection(&m_creationLock);
            throw;
        }
    }
    LeaveCriticalSection(&m_creationLock);
    if (!pObject)
        AfxThrowMemoryException();
    return pObject;
}

void CQVTSingletonPointer::Release()
{
    if (m_bReleased.load(std::memory_order_acquire))
        return;

    // After shutdown the application can no longer be reached; it has no
    // entry of ours to remove by then.
    CQVTApplication* pApplication = nullptr;
    try
    {
        pApplication = QVTApplication();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (pApplication)
    {
        CQVTWriteLock lock(pApplication->GetLock());
        pApplication->RemoveObserver(this);
    }

    EnterCriticalSection(&m_creationLock);
    if (void* pObject = m_pObject.exchange(nullptr, std::memory_order_acq_rel))
    {
        m_pfnDestroy(pObject);
        HeapFree(GetProcessHeap(), 0, pObject);
    }
    m_bReleased.store(true, std::memory_order_release);
    LeaveCriticalSection(&m_creationLock);
}

void CQVTSingletonPointer::OnShutdown(CQVTApplication*)
{
    Release();
}
