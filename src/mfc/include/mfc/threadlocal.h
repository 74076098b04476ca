// Per-thread and per-process lazily created objects.
//
// A CThreadLocal<T> hands each thread its own T, made on the thread's first
// access and deleted when the thread ends (a fiber-local storage callback
// runs at thread exit for every thread, also those made with CreateThread),
// or by AfxTermThread, or when the CThreadLocal itself is destroyed.
// T must derive from CNoTrackObject and have a default constructor.
#pragma once

#include <windows.h>
#include <cstddef>

#include "mfc/afxdefs.h"

// Base of objects kept in thread or process locals: allocated from the
// process heap directly, so leak tracking never reports them.
class CNoTrackObject
{
public:
    void* operator new(size_t nSize);
    void* operator new(size_t nSize, const char* lpszFileName, int nLine);
    void operator delete(void* p);
    void operator delete(void* p, const char* lpszFileName, int nLine);
    virtual ~CNoTrackObject() {}
};

// Untyped slot: one index into every thread's table of objects.
class CThreadLocalObject
{
public:
    // The calling thread's object, created with pfnCreateObject on first use.
    CNoTrackObject* GetData(CNoTrackObject*(AFXAPI* pfnCreateObject)());
    // The calling thread's object or NULL, never creating it.
    CNoTrackObject* GetDataNA();
    ~CThreadLocalObject();

private:
    int SlotIndex();
    volatile LONG m_nSlot = 0;  // 0 until first use; slot index + 1 after
};

template <class TYPE>
class CThreadLocal : public CThreadLocalObject
{
public:
    TYPE* GetData() { return static_cast<TYPE*>(CThreadLocalObject::GetData(&CreateObject)); }
    TYPE* GetDataNA() { return static_cast<TYPE*>(CThreadLocalObject::GetDataNA()); }
    operator TYPE*() { return GetData(); }
    TYPE* operator->() { return GetData(); }

    static CNoTrackObject* AFXAPI CreateObject() { return new TYPE; }
};

// Untyped process-wide lazily created object, made once under a lock.
class CProcessLocalObject
{
public:
    CNoTrackObject* GetData(CNoTrackObject*(AFXAPI* pfnCreateObject)());
    CNoTrackObject* GetDataNA() const { return m_pObject; }
    ~CProcessLocalObject();

private:
    CNoTrackObject* volatile m_pObject = nullptr;
};

template <class TYPE>
class CProcessLocal : public CProcessLocalObject
{
public:
    TYPE* GetData() { return static_cast<TYPE*>(CProcessLocalObject::GetData(&CreateObject)); }
    TYPE* GetDataNA() { return static_cast<TYPE*>(CProcessLocalObject::GetDataNA()); }
    operator TYPE*() { return GetData(); }
    TYPE* operator->() { return GetData(); }

    static CNoTrackObject* AFXAPI CreateObject() { return new TYPE; }
};

#define THREAD_LOCAL(class_name, ident_name) CThreadLocal<class_name> ident_name;
#define EXTERN_THREAD_LOCAL(class_name, ident_name) extern CThreadLocal<class_name> ident_name;
#define PROCESS_LOCAL(class_name, ident_name) CProcessLocal<class_name> ident_name;
#define EXTERN_PROCESS_LOCAL(class_name, ident_name) extern CProcessLocal<class_name> ident_name;

// Deletes the calling thread's objects in every CThreadLocal now, instead of
// at thread exit. Safe to call more than once.
void AFXAPI AfxTermThread(HINSTANCE hInstTerm = NULL);
