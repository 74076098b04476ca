// Holder of one process-wide toolkit object: made on first use under the
// application lock, destroyed in the application's shutdown broadcast in the
// reverse order of registration, unreachable afterwards.
#pragma once

#include <afx.h>

#include <atomic>
#include <new>

#include "toolkit/foundation/core/QVTApplication.h"

class CQVTSingletonPointer : private IQVTApplicationEvents
{
public:
    typedef BOOL (*PFNCONSTRUCT)(void* pMemory);
    typedef void (*PFNDESTROY)(void* pObject);
    // Accessors pass the accessor of a singleton that must outlive this one.
    typedef void (*PFNINIT)();

    CQVTSingletonPointer(SIZE_T nObjectSize, PFNCONSTRUCT pfnConstruct, PFNDESTROY pfnDestroy,
                         PFNINIT pfnInit = nullptr);
    ~CQVTSingletonPointer() override;

    // The object, made on first use. Throws CMemoryException when it was
    // released or cannot be made.
    void* GetInstance();
    void Release();

    BOOL IsReleased() const { return m_bReleased; }

private:
    void OnShutdown(CQVTApplication* pApplication) override;

    // Published with release/acquire ordering: the fast path reads it without
    // a lock, so it must never see a pointer before the object is built.
    std::atomic<void*> m_pObject{nullptr};
    CRITICAL_SECTION m_creationLock;
    SIZE_T m_nObjectSize;
    PFNCONSTRUCT m_pfnConstruct;
    PFNDESTROY m_pfnDestroy;
    std::atomic<bool> m_bReleased{false};
};

template <class T>
BOOL QVTConstructSingleton(void* pMemory)
{
    try
    {
        new (pMemory) T();
        return TRUE;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return FALSE;
}

template <class T>
void QVTDestroySingleton(void* pObject)
{
    static_cast<T*>(pObject)->~T();
}

// Defines the accessor function of a singleton class.
#define QVT_IMPLEMENT_SINGLETON(ClassName, AccessorName, InitAccessor)                                       \
    ClassName* AFXAPI AccessorName()                                                                         \
    {                                                                                                        \
        static CQVTSingletonPointer holder(sizeof(ClassName), &QVTConstructSingleton<ClassName>,             \
                                           &QVTDestroySingleton<ClassName>, InitAccessor);                   \
        return static_cast<ClassName*>(holder.GetInstance());                                                \
    }
