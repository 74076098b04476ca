// Thread and process locals under Wine threads.
#include <afxmt.h>

#include <vector>

#include "sondrel_gtest.h"
#include "win_thread.h"

namespace {

volatile LONG g_live = 0;
volatile LONG g_destroyed = 0;

class CCounterState : public CNoTrackObject
{
public:
    CCounterState() { InterlockedIncrement(&g_live); }
    ~CCounterState() override
    {
        InterlockedDecrement(&g_live);
        InterlockedIncrement(&g_destroyed);
    }
    int value;  // zeroed by CNoTrackObject's allocator
    DWORD owner = GetCurrentThreadId();
};

THREAD_LOCAL(CCounterState, g_counterState)
PROCESS_LOCAL(CCounterState, g_processState)

}  // namespace

TEST(ThreadLocal, EachThreadGetsItsOwnObjectFreedAtExit)
{
    CCounterState* mine = g_counterState.GetData();
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(mine, g_counterState.GetData());
    EXPECT_EQ(0, mine->value);
    mine->value = 7;

    LONG destroyedBefore = g_destroyed;
    std::vector<WinThread> threads;
    volatile LONG distinct = 0;
    for (int i = 0; i < 6; ++i)
    {
        threads.emplace_back([&] {
            CCounterState* state = g_counterState;
            if (state != mine && state->owner == GetCurrentThreadId() && state->value == 0)
                InterlockedIncrement(&distinct);
            for (int k = 0; k < 100; ++k)
                g_counterState->value++;
            if (g_counterState->value == 100)
                InterlockedIncrement(&distinct);
        });
    }
    threads.clear();
    EXPECT_EQ(12, distinct);
    EXPECT_EQ(destroyedBefore + 6, g_destroyed);
    EXPECT_EQ(7, g_counterState->value);
}

TEST(ThreadLocal, TermThreadFreesTheCallersObjectsNow)
{
    LONG destroyedBefore = g_destroyed;
    WinThread worker([&] {
        CThreadLocal<CCounterState> local;
        local->value = 3;
        g_counterState->value = 4;
        AfxTermThread();
        AfxTermThread();  // twice is harmless
        // A fresh object after termination.
        EXPECT_EQ(0, g_counterState->value);
        EXPECT_EQ(nullptr, local.GetDataNA());
    });
    worker.join();
    EXPECT_EQ(destroyedBefore + 3, g_destroyed);
}

TEST(ThreadLocal, DestroyingTheLocalFreesEveryThreadsObject)
{
    LONG destroyedBefore = g_destroyed;
    auto local = std::make_unique<CThreadLocal<CCounterState>>();
    EXPECT_EQ(nullptr, local->GetDataNA());
    (*local)->value = 1;
    CEvent made(FALSE, TRUE), done(FALSE, TRUE);
    WinThread worker([&] {
        (*local)->value = 2;
        made.SetEvent();
        done.Lock();
    });
    made.Lock();
    local.reset();
    EXPECT_EQ(destroyedBefore + 2, g_destroyed);
    done.SetEvent();
    worker.join();
    EXPECT_EQ(destroyedBefore + 2, g_destroyed);  // nothing freed twice
}

TEST(ThreadLocal, ProcessLocalIsOneObjectForAllThreads)
{
    EXPECT_EQ(nullptr, g_processState.GetDataNA());
    std::vector<CCounterState*> seen(8);
    std::vector<WinThread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { seen[i] = g_processState.GetData(); });
    threads.clear();
    for (CCounterState* state : seen)
        EXPECT_EQ(g_processState.GetData(), state);
}
