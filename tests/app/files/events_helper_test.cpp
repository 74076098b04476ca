// The player's event sink: its table of handlers, and the events of the
// engine's real player as a file plays to its end.
#include "tests/app/recording/recording_test_support.h"

#include "app/files/EventsHelper.h"
#include "app/files/FileDesc.h"

using namespace app_test;

namespace {

class Owner
{
public:
    HRESULT OnPosition(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
    {
        m_calls.push_back("position " + std::to_string(dispid));
        if (params && params->cArgs == 1)
        {
            VARIANT v;
            VariantInit(&v);
            if (SUCCEEDED(VariantChangeType(&v, &params->rgvarg[0], 0, VT_R8)))
                m_positions.push_back(v.dblVal);
        }
        return S_OK;
    }
    HRESULT OnStopped(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    {
        m_calls.push_back("stopped " + std::to_string(dispid));
        ++m_nStops;
        return S_FALSE;
    }
    HRESULT OnAny(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    {
        m_calls.push_back("any " + std::to_string(dispid));
        return S_OK;
    }
    HRESULT Throws(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    {
        AfxThrowMemoryException();
    }

    std::vector<std::string> m_calls;
    std::vector<double> m_positions;
    int m_nStops = 0;
};

typedef CEventsHelper<Owner> Sink;

HRESULT Fire(IDispatch* p, DISPID dispid)
{
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return p->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
}

TEST(EventsHelperTest, TheFirstMatchingEntryTakesTheEvent)
{
    Owner owner;
    Sink* sink = new Sink(&owner);
    EXPECT_EQ(E_NOTIMPL, Fire(sink, 1));

    sink->AddHandler(1, &Owner::OnPosition);
    sink->AddHandler(3, &Owner::OnStopped);
    sink->AddHandler(-1, &Owner::OnAny);
    sink->AddHandler(3, &Owner::OnAny);
    sink->AddHandler(9, &Owner::Throws);
    EXPECT_EQ(S_OK, Fire(sink, 1));
    EXPECT_EQ(S_FALSE, Fire(sink, 3));  // the handler's own answer
    EXPECT_EQ(S_OK, Fire(sink, 7));
    EXPECT_EQ((std::vector<std::string>{"position 1", "stopped 3", "any 7"}), owner.m_calls);

    Sink* thrower = new Sink(&owner);
    thrower->AddHandler(9, &Owner::Throws);
    EXPECT_EQ(E_FAIL, Fire(thrower, 9));
    thrower->Release();

    IUnknown* p = nullptr;
    EXPECT_EQ(S_OK, sink->QueryInterface(DIID__IMediaPlayer5Events, (void**)&p));
    EXPECT_EQ(S_OK, sink->QueryInterface(IID_IDispatch, (void**)&p));
    EXPECT_EQ(2u, sink->Release());
    EXPECT_EQ(E_NOINTERFACE, sink->QueryInterface(DIID__IMediaFile5Events, (void**)&p));
    EXPECT_TRUE(p == nullptr);
    EXPECT_EQ(1u, sink->Release());
    EXPECT_EQ(0u, sink->Release());
}

TEST_F(ComTest, ThePlayersEventsReachTheOwnerUntilTheFileEnds)
{
    ScratchFolder folder;
    std::string unixFile = folder.unix + "/one.wav";
    ASSERT_EQ(
        0, RunShell("ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=duration=1.2 '" + unixFile + "'"));
    CFileDescRef desc(new CFileDesc);
    ASSERT_EQ(S_OK, desc->ReadDescription(WindowsPathOf(unixFile)));

    CEngineRef<IMediaPlayer5> player;
    ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaPlayer5, IID_IMediaPlayer5, player));
    Owner owner;
    Sink* sink = new Sink(&owner);
    sink->AddHandler(1, &Owner::OnPosition);
    sink->AddHandler(3, &Owner::OnStopped);
    CEngineRef<IConnectionPointContainer> container;
    CEngineRef<IConnectionPoint> point;
    ASSERT_EQ(S_OK, player.QueryTo(IID_IConnectionPointContainer, container));
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__IMediaPlayer5Events, point.Out()));
    DWORD dwCookie = 0;
    ASSERT_EQ(S_OK, point->Advise(sink, &dwCookie));
    EXPECT_NE(0u, dwCookie);

    ASSERT_EQ(S_OK, player->Open(desc->GetMediaFile()));
    ASSERT_EQ(S_OK, player->Run(MEDIAPLAYER_RUN_PLAY));
    // Events come through this thread's messages; a bound keeps a lost one
    // from hanging the test.
    for (int i = 0; i < 600 && owner.m_nStops == 0; ++i)
    {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
        Sleep(20);
    }
    EXPECT_EQ(1, owner.m_nStops);
    ASSERT_FALSE(owner.m_positions.empty());
    EXPECT_EQ("stopped 3", owner.m_calls.back());
    for (size_t i = 1; i < owner.m_positions.size(); ++i)
        EXPECT_GE(owner.m_positions[i], owner.m_positions[i - 1]);

    EXPECT_EQ(S_OK, point->Unadvise(dwCookie));
    EXPECT_EQ(0u, sink->Release());
}

}  // namespace
