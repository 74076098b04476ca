// The toolkit's process-wide application object: observers that must act at
// exit, the three-pass shutdown broadcast, and two ambient properties.
#pragma once

#include <afxdisp.h>

#include <vector>

#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

class CQVTApplication;

// Observers of the application object. Base implementations do nothing.
class IQVTApplicationEvents
{
public:
    virtual ~IQVTApplicationEvents() {}
    virtual void OnShutdownBegin(CQVTApplication* pApplication) {}
    virtual void OnShutdown(CQVTApplication* pApplication) {}
    virtual void OnShutdownEnd(CQVTApplication* pApplication) {}
    virtual void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) {}
};

// A list of observers that tolerates removal during a notification pass:
// entries are only marked then, and purged when the outermost pass ends.
template <class TOwner, class TObserver>
class CQVTObservable
{
public:
    struct ObserverInfo
    {
        TObserver* pObserver;
        BOOL bRemoved;
        void* pLink;
    };

    void AddObserver(TObserver* pObserver)
    {
        for (const ObserverInfo& info : m_observers)
            if (info.pObserver == pObserver)
                return;
        m_observers.push_back(ObserverInfo{pObserver, FALSE, nullptr});
    }

    void RemoveObserver(TObserver* pObserver)
    {
        for (size_t i = 0; i < m_observers.size(); ++i)
        {
            if (m_observers[i].pObserver != pObserver)
                continue;
            if (m_nNotificationDepth != 0)
                m_observers[i].bRemoved = TRUE;
            else
                m_observers.erase(m_observers.begin() + i);
            return;
        }
    }

    BOOL HasObserver(TObserver* pObserver) const
    {
        for (const ObserverInfo& info : m_observers)
            if (info.pObserver == pObserver && !info.bRemoved)
                return TRUE;
        return FALSE;
    }

    int GetObserverCount() const { return static_cast<int>(m_observers.size()); }

protected:
    // Calls fn on every live observer, last registered first.
    template <class Fn>
    void NotifyObservers(Fn fn)
    {
        BeginNotification();
        for (size_t i = m_observers.size(); i-- > 0;)
        {
            if (i >= m_observers.size())
                AfxThrowInvalidArgException();
            if (!m_observers[i].bRemoved)
                fn(m_observers[i].pObserver);
        }
        EndNotification();
    }

    void BeginNotification() { ++m_nNotificationDepth; }
    void EndNotification()
    {
        if (--m_nNotificationDepth != 0)
            return;
        for (size_t i = m_observers.size(); i-- > 0;)
            if (m_observers[i].bRemoved)
                m_observers.erase(m_observers.begin() + i);
    }

    std::vector<ObserverInfo> m_observers;
    UINT m_nNotificationDepth = 0;
};

// A reader/writer lock carried by an object.
class CQVTSynchronized
{
public:
    CQVTRWCriticalSection& GetLock() { return m_lock; }

protected:
    CQVTRWCriticalSection m_lock;
};

class CQVTApplication : public CObject,
                        public CQVTObservable<CQVTApplication, IQVTApplicationEvents>,
                        public CQVTSynchronized
{
    DECLARE_DYNAMIC(CQVTApplication)

public:
    CQVTApplication();
    ~CQVTApplication() override;

    // Three passes, last registered observer first; nothing once shut down.
    void Shutdown();
    BOOL IsShutDown() const { return m_bShutDown; }

    COleVariant& GetAmbientProperty(int nIndex);
    // Stores the property and tells every observer that it changed.
    void SetAmbientProperty(int nIndex, const VARIANT& value);
    COLORREF GetAmbientColor(int nKind);

private:
    AFX_MODULE_STATE* m_pModuleState;
    BOOL m_bShutDown = FALSE;
    COleVariant m_ambient[2];
};

// The one application object; throws COleException(E_FAIL) once shut down.
CQVTApplication* AFXAPI QVTApplication();

// The exit entry point: only its first call broadcasts.
void AFXAPI ShutdownApplication();
