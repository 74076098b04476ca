// Notify connections: delivery order and filtering, unadvising and advising
// during a firing, nested firings, a connection released by its sinks while
// it fires, thrown sinks and delegate ownership.
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/core/QVTNotifyConnection.h"

namespace {
typedef std::vector<std::string> Log;

// Records every event it gets as "<name><event>" and runs an action first.
class RecordingSink : public CQVTNotifySinkBase
{
public:
    RecordingSink(Log& log, const char* pszName) : m_log(log), m_name(pszName) {}

    void OnEvent(UINT nEvent, WPARAM, LPARAM, DWORD) override
    {
        m_log.push_back(m_name + std::to_string(nEvent));
        if (m_action)
            m_action(nEvent);
    }

    std::function<void(UINT)> m_action;

private:
    Log& m_log;
    std::string m_name;
};

// Tells when it is destroyed.
class WatchedConnection : public CQVTNotifyConnection
{
public:
    explicit WatchedConnection(bool& bDestroyed) : m_bDestroyed(bDestroyed) {}
    ~WatchedConnection() override { m_bDestroyed = true; }

private:
    bool& m_bDestroyed;
};

class CountingDelegate : public CQVTNotifySinkDelegate
{
public:
    CountingDelegate(int& nCalls, int& nDeleted) : m_nCalls(nCalls), m_nDeleted(nDeleted) {}
    ~CountingDelegate() override { ++m_nDeleted; }
    void Invoke(UINT, WPARAM, LPARAM) override { ++m_nCalls; }

private:
    int& m_nCalls;
    int& m_nDeleted;
};

class Owner
{
public:
    void OnChanged(UINT nEvent, WPARAM wParam, LPARAM lParam) { m_seen.push_back({nEvent, wParam, lParam}); }
    struct Seen
    {
        UINT nEvent;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Seen> m_seen;
};
}  // namespace

TEST(NotifyConnection, SinksGetTheirEventsInAdviseOrder)
{
    CQVTNotifyConnection* pConnection = new CQVTNotifyConnection();
    Log log;
    RecordingSink a(log, "A"), b(log, "B"), c(log, "C"), d(log, "D");
    EXPECT_NE(a.Advise(pConnection, 5), 0u);
    d.Advise(pConnection, 6);
    b.Advise(pConnection, 5);
    c.Advise(pConnection, 5);
    EXPECT_EQ(a.Advise(nullptr, 5), 0u);

    EXPECT_TRUE(pConnection->FireEvent(5));
    EXPECT_EQ(log, (Log{"A5", "B5", "C5"}));
    log.clear();
    EXPECT_FALSE(pConnection->FireEvent(7));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(pConnection->FireEvent(6));
    EXPECT_EQ(log, (Log{"D6"}));

    log.clear();
    b.UnadviseAll();
    pConnection->Unadvise(12345);
    pConnection->FireEvent(5);
    EXPECT_EQ(log, (Log{"A5", "C5"}));
    pConnection->InternalRelease();
}

TEST(NotifyConnection, UnadvisedDuringAFiringMeansNotCalledInIt)
{
    CQVTNotifyConnection* pConnection = new CQVTNotifyConnection();
    Log log;
    RecordingSink a(log, "A"), b(log, "B"), c(log, "C"), late(log, "L");
    a.Advise(pConnection, 5);
    b.Advise(pConnection, 5);
    c.Advise(pConnection, 5);
    // A drops B and advises another sink: the newcomer's advise must not be
    // mistaken for B's, and waits for the next firing.
    a.m_action = [&](UINT) {
        b.UnadviseAll();
        late.Advise(pConnection, 5);
    };
    pConnection->FireEvent(5);
    EXPECT_EQ(log, (Log{"A5", "C5"}));

    log.clear();
    a.m_action = nullptr;
    pConnection->FireEvent(5);
    EXPECT_EQ(log, (Log{"A5", "C5", "L5"}));
    pConnection->InternalRelease();
}

TEST(NotifyConnection, NestedFiringsCompleteBeforeTheOuterGoesOn)
{
    CQVTNotifyConnection* pConnection = new CQVTNotifyConnection();
    Log log;
    RecordingSink a(log, "A"), b(log, "B"), c(log, "C"), inner(log, "I");
    a.Advise(pConnection, 5);
    inner.Advise(pConnection, 6);
    b.Advise(pConnection, 5);
    c.Advise(pConnection, 5);
    int nDepth = 0;
    a.m_action = [&](UINT) {
        if (nDepth++ == 0)
            pConnection->FireEvent(6);
    };
    inner.m_action = [&](UINT) {
        // Deeper still: the outer snapshot must survive a grown buffer.
        if (nDepth++ < 3)
            pConnection->FireEvent(5);
    };
    pConnection->FireEvent(5);
    EXPECT_EQ(log, (Log{"A5", "I6", "A5", "B5", "C5", "B5", "C5"}));
    pConnection->InternalRelease();
}

TEST(NotifyConnection, ReleasedWhileFiringLivesUntilTheFiringEnds)
{
    bool bDestroyed = false;
    CQVTNotifyConnection* pConnection = new WatchedConnection(bDestroyed);
    Log log;
    RecordingSink a(log, "A"), b(log, "B");
    a.Advise(pConnection, 5);
    b.Advise(pConnection, 5);
    a.m_action = [&](UINT) {
        a.UnadviseAll();
        b.UnadviseAll();
        pConnection->InternalRelease();  // the holder's reference, the last one outside
        log.push_back(bDestroyed ? "gone" : "alive");
    };
    EXPECT_FALSE(pConnection->FireEvent(5) == FALSE);
    EXPECT_EQ(log, (Log{"A5", "alive"}));
    EXPECT_TRUE(bDestroyed);
}

TEST(NotifyConnection, AThrowingSinkDoesNotStopTheOthers)
{
    CQVTNotifyConnection* pConnection = new CQVTNotifyConnection();
    Log log;
    RecordingSink a(log, "A"), b(log, "B"), c(log, "C");
    a.Advise(pConnection, 5);
    b.Advise(pConnection, 5);
    c.Advise(pConnection, 5);
    a.m_action = [](UINT) { AfxThrowMemoryException(); };
    b.m_action = [](UINT) { throw std::runtime_error("sink"); };
    EXPECT_TRUE(pConnection->FireEvent(5));
    EXPECT_EQ(log, (Log{"A5", "B5", "C5"}));
    pConnection->InternalRelease();
}

TEST(NotifySink, DelegatesAreOwnedReplacedAndDroppedWithTheirEvent)
{
    CQVTNotifyConnection* pConnection = new CQVTNotifyConnection();
    int nFirstCalls = 0, nFirstDeleted = 0, nSecondCalls = 0, nSecondDeleted = 0;
    CQVTNotifySink* pSink = new CQVTNotifySink();
    pSink->Advise(pConnection, 5, new CountingDelegate(nFirstCalls, nFirstDeleted));
    pSink->Advise(pConnection, 5, new CountingDelegate(nSecondCalls, nSecondDeleted));
    EXPECT_EQ(nFirstDeleted, 1) << "the first delegate is replaced";
    pConnection->FireEvent(5);
    EXPECT_EQ(nFirstCalls, 0);
    EXPECT_EQ(nSecondCalls, 2) << "both advises deliver to the event's one delegate";

    Owner owner;
    pSink->Advise(pConnection, 10575, new CQVTNotifySinkClassDelegate<Owner>(&owner, &Owner::OnChanged));
    pConnection->FireEvent(10575, 3, 4, 9);
    ASSERT_EQ(owner.m_seen.size(), 1u);
    EXPECT_EQ(owner.m_seen[0].nEvent, 10575u);
    EXPECT_EQ(owner.m_seen[0].wParam, 3u);
    EXPECT_EQ(owner.m_seen[0].lParam, 4);

    pSink->Delete();
    EXPECT_EQ(nSecondDeleted, 1);
    EXPECT_EQ(pConnection->GetCount(), 0);
    EXPECT_FALSE(pConnection->FireEvent(5));
    pConnection->InternalRelease();
}
