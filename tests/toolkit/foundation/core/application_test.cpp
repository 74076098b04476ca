#include "sondrel_gtest.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

#include <string>

namespace {
// The destructor of an application object shuts down the process-wide one,
// so test instances are never destroyed.
CQVTApplication* MakeApplication()
{
    return new CQVTApplication();
}

struct Recorder : IQVTApplicationEvents
{
    Recorder(std::string& log, char name) : log(log), name(name) {}
    void OnShutdownBegin(CQVTApplication*) override { log += std::string("b") + name; }
    void OnShutdown(CQVTApplication*) override { log += std::string("s") + name; }
    void OnShutdownEnd(CQVTApplication*) override { log += std::string("e") + name; }
    std::string& log;
    char name;
};

struct SelfRemover : Recorder
{
    SelfRemover(std::string& log, char name, CQVTApplication* app) : Recorder(log, name), app(app) {}
    void OnShutdownBegin(CQVTApplication* p) override
    {
        Recorder::OnShutdownBegin(p);
        app->RemoveObserver(this);
    }
    CQVTApplication* app;
};
}  // namespace

TEST(Application, ShutdownRunsThreePassesLastRegisteredFirst)
{
    CQVTApplication* app = MakeApplication();
    std::string log;
    Recorder a(log, 'A'), b(log, 'B'), c(log, 'C');
    app->AddObserver(&a);
    app->AddObserver(&b);
    app->AddObserver(&b);
    app->AddObserver(&c);
    EXPECT_EQ(app->GetObserverCount(), 3) << "a second registration keeps one entry";
    app->Shutdown();
    EXPECT_EQ(log, "bCbBbAsCsBsAeCeBeA");
    EXPECT_TRUE(app->IsShutDown());
    log.clear();
    app->Shutdown();
    EXPECT_EQ(log, "") << "a second shutdown broadcasts nothing";
}

TEST(Application, ObserverRemovingItselfDuringAPassGetsNoLaterCalls)
{
    CQVTApplication* app = MakeApplication();
    std::string log;
    Recorder a(log, 'A');
    SelfRemover b(log, 'B', app);
    Recorder c(log, 'C');
    app->AddObserver(&a);
    app->AddObserver(&b);
    app->AddObserver(&c);
    app->Shutdown();
    EXPECT_EQ(log, "bCbBbAsCsAeCeA");
    EXPECT_FALSE(app->HasObserver(&b));
    EXPECT_EQ(app->GetObserverCount(), 2) << "the marked entry is purged when the pass ends";
}

TEST(Application, RemovingAnUnregisteredObserverIsIgnored)
{
    CQVTApplication* app = MakeApplication();
    std::string log;
    Recorder a(log, 'A');
    app->RemoveObserver(&a);
    EXPECT_EQ(app->GetObserverCount(), 0);
}

TEST(Application, AmbientColourDerivations)
{
    CQVTApplication* app = MakeApplication();
    EXPECT_EQ(app->GetAmbientProperty(0).vt, VT_I4);
    EXPECT_EQ(app->GetAmbientProperty(1).lVal, -1);
    EXPECT_EQ(app->GetAmbientColor(0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(app->GetAmbientColor(1), RGB(0xEF, 0xEF, 0xEF));
    EXPECT_EQ(app->GetAmbientColor(2), RGB(0xDF, 0xDF, 0xDF));
    EXPECT_EQ(app->GetAmbientColor(3), RGB(255, 255, 255));
    EXPECT_EQ(app->GetAmbientColor(4), RGB(0, 0, 0));
    EXPECT_EQ(app->GetAmbientColor(6), RGB(0, 0, 0));

    app->GetAmbientProperty(0).lVal = RGB(0x08, 0x20, 0xF8);
    EXPECT_EQ(app->GetAmbientColor(1), RGB(0x00, 0x10, 0xE8)) << "channels floor at 0";
    EXPECT_EQ(app->GetAmbientColor(3), RGB(0x18, 0x30, 0xFF)) << "channels cap at 255";
    EXPECT_EQ(app->GetAmbientColor(5), RGB(255, 255, 255)) << "dark colour gets white text";
    EXPECT_EQ(app->GetAmbientColor(7), static_cast<COLORREF>(RGB(0x08, 0x20, 0xF8)));
}

TEST(CmdTarget, FromInterfaceFindsTheObjectBehindAnyOfItsInterfaces)
{
    EXPECT_EQ(CQVTCmdTarget::FromInterface(nullptr), nullptr);

    CQVTCmdTarget target;
    IUnknown* provider = target.GetInterface(&IID_IQVTCmdTargetProvider);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(CQVTCmdTarget::FromInterface(provider), &target);

    IUnknown* unknown = nullptr;
    ASSERT_EQ(provider->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(CQVTCmdTarget::FromInterface(unknown), &target);
    unknown->Release();

    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(CQVTCmdTarget::FromInterface(stream), nullptr)
        << "an object with neither the provider nor IDispatch gives null";
    stream->Release();
}
