#include "toolkit/foundation/core/QVTNotifyConnection.h"

#include <algorithm>

// Connection

CQVTNotifyConnection::CQVTNotifyConnection() {}

CQVTNotifyConnection::~CQVTNotifyConnection()
{
    RemoveAll();
}

CSyncObject* CQVTNotifyConnection::GetSyncObject()
{
    return &m_syncObject;
}

QVT_CONNECTION_COOKIE CQVTNotifyConnection::Advise(UINT nEvent, CQVTNotifySinkBase* pSink)
{
    CSingleLock lock(GetSyncObject(), TRUE);
    // A counter, not an address: a freed descriptor's address may come back
    // for a new advise while a firing still holds the old cookie.
    CONNECTION_DESCRIPTOR* pDescriptor = new CONNECTION_DESCRIPTOR{nEvent, pSink, ++m_dwLastCookie};
    m_arrConnections.push_back(pDescriptor);
    return pDescriptor->dwCookie;
}

void CQVTNotifyConnection::Unadvise(QVT_CONNECTION_COOKIE dwCookie)
{
    try
    {
        CSingleLock lock(GetSyncObject(), TRUE);
        auto it =
            std::find_if(m_arrConnections.begin(), m_arrConnections.end(),
                         [dwCookie](const CONNECTION_DESCRIPTOR* p) { return p->dwCookie == dwCookie; });
        if (it == m_arrConnections.end())
            return;
        delete *it;
        m_arrConnections.erase(it);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}

BOOL CQVTNotifyConnection::IsAdvised(QVT_CONNECTION_COOKIE dwCookie) const
{
    return std::any_of(m_arrConnections.begin(), m_arrConnections.end(),
                       [dwCookie](const CONNECTION_DESCRIPTOR* p) { return p->dwCookie == dwCookie; });
}

BOOL CQVTNotifyConnection::FireEvent(UINT nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags)
{
    int nFirst = 0, nLast = -1;
    {
        CSingleLock lock(GetSyncObject(), TRUE);
        // Alive until the firing ends, whatever the sinks release.
        InternalAddRef();
        nFirst = m_nFiringTop;
        if (m_arrFiring.size() < static_cast<size_t>(m_nFiringTop) + m_arrConnections.size())
            m_arrFiring.resize(static_cast<size_t>(m_nFiringTop) + m_arrConnections.size());
        for (const CONNECTION_DESCRIPTOR* pDescriptor : m_arrConnections)
            if (pDescriptor->nEvent == nEvent)
                m_arrFiring[m_nFiringTop++] = *pDescriptor;
        nLast = m_nFiringTop - 1;
    }

    for (int i = nFirst; i <= nLast; ++i)
    {
        CONNECTION_DESCRIPTOR entry;
        {
            CSingleLock lock(GetSyncObject(), TRUE);
            entry = m_arrFiring[i];
            if (!IsAdvised(entry.dwCookie))
                continue;
        }
        try
        {
            entry.pSink->OnEvent(nEvent, wParam, lParam, dwFlags);
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }

    {
        CSingleLock lock(GetSyncObject(), TRUE);
        m_nFiringTop = nFirst;
    }
    InternalRelease();
    return nLast >= nFirst;
}

void CQVTNotifyConnection::RemoveAll()
{
    CSingleLock lock(GetSyncObject(), TRUE);
    for (CONNECTION_DESCRIPTOR* pDescriptor : m_arrConnections)
        delete pDescriptor;
    m_arrConnections.clear();
}

// Sink base

CQVTNotifySinkBase::CQVTNotifySinkBase() : m_mapAdvises(10)
{
    m_mapAdvises.InitHashTable(10, FALSE);
}

CQVTNotifySinkBase::~CQVTNotifySinkBase()
{
    // A sink deleted directly must not stay behind in its connections.
    UnadviseAll();
}

void CQVTNotifySinkBase::OnUnadvise(UINT) {}

QVT_CONNECTION_COOKIE CQVTNotifySinkBase::Advise(CQVTNotifyConnection* pConnection, UINT nEvent)
{
    if (!pConnection)
        return 0;
    QVT_CONNECTION_COOKIE dwCookie = pConnection->Advise(nEvent, this);
    if (dwCookie == 0)
        return 0;
    pConnection->InternalAddRef();
    m_mapAdvises.SetAt(dwCookie, ADVISE_DESCRIPTOR{nEvent, pConnection, dwCookie});
    return dwCookie;
}

void CQVTNotifySinkBase::UnadviseAll()
{
    POSITION pos = m_mapAdvises.GetStartPosition();
    while (pos)
    {
        QVT_CONNECTION_COOKIE dwCookie = 0;
        ADVISE_DESCRIPTOR descriptor;
        m_mapAdvises.GetNextAssoc(pos, dwCookie, descriptor);
        if (!descriptor.pConnection)
            continue;
        OnUnadvise(descriptor.nEvent);
        descriptor.pConnection->Unadvise(dwCookie);
        descriptor.pConnection->InternalRelease();
    }
    m_mapAdvises.RemoveAll();
}

void CQVTNotifySinkBase::Delete()
{
    UnadviseAll();
    delete this;
}

// Sink with delegates

CQVTNotifySink::CQVTNotifySink() : m_mapDelegates(10)
{
    m_mapDelegates.InitHashTable(10, FALSE);
}

CQVTNotifySink::~CQVTNotifySink()
{
    UnadviseAll();
    POSITION pos = m_mapDelegates.GetStartPosition();
    while (pos)
    {
        UINT nEvent = 0;
        CQVTNotifySinkDelegate* pDelegate = nullptr;
        m_mapDelegates.GetNextAssoc(pos, nEvent, pDelegate);
        delete pDelegate;
    }
    m_mapDelegates.RemoveAll();
}

QVT_CONNECTION_COOKIE CQVTNotifySink::Advise(CQVTNotifyConnection* pConnection, UINT nEvent,
                                             CQVTNotifySinkDelegate* pDelegate)
{
    CQVTNotifySinkDelegate* pOld = nullptr;
    if (m_mapDelegates.Lookup(nEvent, pOld) && pOld != pDelegate)
        delete pOld;
    m_mapDelegates.SetAt(nEvent, pDelegate);
    return CQVTNotifySinkBase::Advise(pConnection, nEvent);
}

void CQVTNotifySink::OnEvent(UINT nEvent, WPARAM wParam, LPARAM lParam, DWORD)
{
    CQVTNotifySinkDelegate* pDelegate = nullptr;
    if (m_mapDelegates.Lookup(nEvent, pDelegate) && pDelegate)
        pDelegate->Invoke(nEvent, wParam, lParam);
}

void CQVTNotifySink::OnUnadvise(UINT nEvent)
{
    CQVTNotifySinkDelegate* pDelegate = nullptr;
    if (m_mapDelegates.Lookup(nEvent, pDelegate))
    {
        delete pDelegate;
        m_mapDelegates.RemoveKey(nEvent);
    }
}
