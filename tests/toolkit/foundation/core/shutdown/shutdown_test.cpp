#include "sondrel_gtest.h"
#include "win_thread.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"

#include <atomic>
#include <string>
#include <vector>

// Singletons live until the process-wide shutdown, which can happen once per
// process: this program is the one that shuts down.
namespace {
std::string g_events;
std::atomic<int> g_constructions{0};
int g_failuresLeft = 0;

struct First
{
    First() { g_events += "+1"; }
    ~First() { g_events += "-1"; }
};
struct Second
{
    Second() { g_events += "+2"; }
    ~Second() { g_events += "-2"; }
};
struct Dependency
{
    Dependency() { g_events += "+D"; }
    ~Dependency() { g_events += "-D"; }
};
struct Dependent
{
    Dependent() { g_events += "+d"; }
    ~Dependent() { g_events += "-d"; }
};
struct Slow
{
    Slow()
    {
        ++g_constructions;
        Sleep(50);
    }
};
struct Flaky
{
    Flaky()
    {
        if (g_failuresLeft > 0)
        {
            --g_failuresLeft;
            throw 1;
        }
    }
};

QVT_IMPLEMENT_SINGLETON(First, FirstInstance, nullptr)
QVT_IMPLEMENT_SINGLETON(Second, SecondInstance, nullptr)
QVT_IMPLEMENT_SINGLETON(Dependency, DependencyInstance, nullptr)
void TouchDependency()
{
    DependencyInstance();
}
QVT_IMPLEMENT_SINGLETON(Dependent, DependentInstance, &TouchDependency)
QVT_IMPLEMENT_SINGLETON(Slow, SlowInstance, nullptr)
QVT_IMPLEMENT_SINGLETON(Flaky, FlakyInstance, nullptr)

template <class Fn>
bool ThrowsMemoryException(Fn fn)
{
    try
    {
        fn();
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return true;
    }
    return false;
}
}  // namespace

TEST(Singletons, LifeFromFirstUseToTheShutdownBroadcast)
{
    // Concurrent first use constructs once.
    std::vector<WinThread> threads;
    std::vector<Slow*> seen(4, nullptr);
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&seen, i] { seen[i] = SlowInstance(); });
    threads.clear();
    EXPECT_EQ(g_constructions.load(), 1);
    for (Slow* p : seen)
        EXPECT_EQ(p, seen[0]);

    // A failing construction throws, and a later call tries again.
    g_failuresLeft = 1;
    EXPECT_TRUE(ThrowsMemoryException([] { FlakyInstance(); }));
    EXPECT_NE(FlakyInstance(), nullptr);

    First* first = FirstInstance();
    EXPECT_EQ(FirstInstance(), first);
    SecondInstance();
    DependentInstance();
    EXPECT_EQ(g_events, "+1+2+D+d");

    g_events.clear();
    ShutdownApplication();
    EXPECT_EQ(g_events, "-d-D-2-1") << "released in reverse order of registration, "
                                       "a dependency after its dependent";

    // Released singletons are unreachable; the destructor ran exactly once.
    EXPECT_TRUE(ThrowsMemoryException([] { FirstInstance(); }));
    EXPECT_TRUE(ThrowsMemoryException([] { DependentInstance(); }));
    g_events.clear();
    ShutdownApplication();
    EXPECT_EQ(g_events, "") << "only the first shutdown broadcasts";

    bool oleFailure = false;
    try
    {
        QVTApplication();
    }
    catch (COleException* e)
    {
        oleFailure = e->m_sc == E_FAIL;
        e->Delete();
    }
    EXPECT_TRUE(oleFailure) << "the application object refuses to be reached after shutdown";
}
