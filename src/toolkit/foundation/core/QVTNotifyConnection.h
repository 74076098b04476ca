// A small publish-and-subscribe mechanism: a connection fires numbered events
// to the sinks advised for them, in the order they advised; a sink hands each
// event to the delegate registered for its number.
#pragma once

#include <afxwin.h>
#include <afxmt.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTNotifySinkBase;

// Identifies one advise; never reused while the connection lives.
typedef DWORD_PTR QVT_CONNECTION_COOKIE;

struct CONNECTION_DESCRIPTOR
{
    UINT nEvent;
    CQVTNotifySinkBase* pSink;
    QVT_CONNECTION_COOKIE dwCookie;
};

class CQVTNotifyConnection : public CQVTCmdTarget
{
public:
    CQVTNotifyConnection();
    ~CQVTNotifyConnection() override;

    // Every list operation takes this lock once; this connection's never
    // blocks (one thread), a derived one may return a real lock.
    virtual CSyncObject* GetSyncObject();

    QVT_CONNECTION_COOKIE Advise(UINT nEvent, CQVTNotifySinkBase* pSink);
    // An unknown cookie does nothing.
    void Unadvise(QVT_CONNECTION_COOKIE dwCookie);
    // TRUE when a sink was advised for the event. Sinks run synchronously;
    // one unadvised by an earlier sink of the same firing is skipped.
    BOOL FireEvent(UINT nEvent, WPARAM wParam = 0, LPARAM lParam = 0, DWORD dwFlags = 0);
    void RemoveAll();

    int GetCount() const { return static_cast<int>(m_arrConnections.size()); }

private:
    class CEmptySyncObject : public CSyncObject
    {
    public:
        CEmptySyncObject() : CSyncObject(u"QVTEmptySyncObject") {}
        BOOL Lock(DWORD) override { return TRUE; }
        BOOL Unlock() override { return TRUE; }
        BOOL Unlock(LONG, LPLONG) override { return TRUE; }
    };

    BOOL IsAdvised(QVT_CONNECTION_COOKIE dwCookie) const;

    std::vector<CONNECTION_DESCRIPTOR*> m_arrConnections;  // in the order of advising
    std::vector<CONNECTION_DESCRIPTOR> m_arrFiring;        // snapshots, a stack for nested firings
    int m_nFiringTop = 0;                                  // snapshot entries in use
    QVT_CONNECTION_COOKIE m_dwLastCookie = 0;
    CEmptySyncObject m_syncObject;
};

class CQVTNotifySinkBase
{
public:
    CQVTNotifySinkBase();
    virtual ~CQVTNotifySinkBase();
    CQVTNotifySinkBase(const CQVTNotifySinkBase&) = delete;
    CQVTNotifySinkBase& operator=(const CQVTNotifySinkBase&) = delete;

    virtual void OnEvent(UINT nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) = 0;
    virtual void OnUnadvise(UINT nEvent);

    // 0 without a connection. The sink holds a reference on the connection
    // while it is advised.
    QVT_CONNECTION_COOKIE Advise(CQVTNotifyConnection* pConnection, UINT nEvent);
    void UnadviseAll();
    // Unadvises everything, then deletes the sink.
    void Delete();

protected:
    struct ADVISE_DESCRIPTOR
    {
        UINT nEvent;
        CQVTNotifyConnection* pConnection;
        QVT_CONNECTION_COOKIE dwCookie;
    };
    CMap<QVT_CONNECTION_COOKIE, QVT_CONNECTION_COOKIE, ADVISE_DESCRIPTOR, const ADVISE_DESCRIPTOR&>
        m_mapAdvises;
};

class CQVTNotifySinkDelegate
{
public:
    virtual ~CQVTNotifySinkDelegate() {}
    virtual void Invoke(UINT nEvent, WPARAM wParam, LPARAM lParam) = 0;
};

// Binds an object and one of its member functions.
template <class TClass>
class CQVTNotifySinkClassDelegate : public CQVTNotifySinkDelegate
{
public:
    typedef void (TClass::*PFNHANDLER)(UINT nEvent, WPARAM wParam, LPARAM lParam);

    CQVTNotifySinkClassDelegate(TClass* pObject, PFNHANDLER pfnHandler)
        : m_pObject(pObject), m_pfnHandler(pfnHandler)
    {
    }
    void Invoke(UINT nEvent, WPARAM wParam, LPARAM lParam) override
    {
        (m_pObject->*m_pfnHandler)(nEvent, wParam, lParam);
    }

private:
    TClass* m_pObject;
    PFNHANDLER m_pfnHandler;
};

class CQVTNotifySink : public CQVTNotifySinkBase
{
public:
    CQVTNotifySink();
    ~CQVTNotifySink() override;

    using CQVTNotifySinkBase::Advise;
    // The sink owns the delegate; one already registered for the event is
    // deleted.
    QVT_CONNECTION_COOKIE Advise(CQVTNotifyConnection* pConnection, UINT nEvent,
                                 CQVTNotifySinkDelegate* pDelegate);

    void OnEvent(UINT nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) override;
    void OnUnadvise(UINT nEvent) override;

private:
    CMap<UINT, UINT, CQVTNotifySinkDelegate*, CQVTNotifySinkDelegate*> m_mapDelegates;
};
