#include "app/recorder/RecordingWaitPump.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

// Another process's calls (a screen reader walking the ribbon) come one
// after another, each once the last was answered, and take a round trip of
// messages each: answered only at each pump, a walk took ten times as long
// as idle. Once something waits, what follows within this gap is answered
// at once, for at most the limit, after which the read looks at its sound.
const DWORD kBurstGapMs = 50;
const DWORD kBurstLimitMs = 200;

// Dispatches what waits and what follows it closely; nothing more when
// nothing waits. FALSE once a quit message came (posted again).
BOOL PumpBurst()
{
    if (::MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0)
        return TRUE;
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return FALSE;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= kBurstLimitMs)
            return TRUE;
        const DWORD dwWait = std::min(kBurstGapMs, kBurstLimitMs - dwElapsed);
        if (::MsgWaitForMultipleObjectsEx(0, nullptr, dwWait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
            WAIT_OBJECT_0)
            return TRUE;
    }
}

// The sink the capture source calls on the window thread while it waits.
class CWaitPumpSink : public IMediaWaitSink5
{
public:
    explicit CWaitPumpSink(std::function<bool()> endWait) : m_endWait(std::move(endWait)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IMediaWaitSink5))
            return E_NOINTERFACE;
        *ppv = static_cast<IMediaWaitSink5*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG nLeft = --m_nRefs;
        if (nLeft == 0)
            delete this;
        return nLeft;
    }

    HRESULT STDMETHODCALLTYPE OnWaiting() override
    {
        // A message handled here may run a modal loop that waits itself; the
        // read is not entered again from it, but a second pump would only
        // nest deeper.
        if (m_bPumping)
            return S_OK;
        m_bPumping = TRUE;
        HRESULT hr = S_OK;
        try
        {
            PumpBurst();
            if (m_endWait && m_endWait())
                hr = S_FALSE;
        }
        catch (CException* pException)
        {
            pException->Delete();
            hr = E_UNEXPECTED;
        }
        catch (...)
        {
            hr = E_UNEXPECTED;
        }
        m_bPumping = FALSE;
        return hr;
    }

private:
    virtual ~CWaitPumpSink() {}

    std::atomic<ULONG> m_nRefs{1};
    BOOL m_bPumping = FALSE;
    std::function<bool()> m_endWait;
};

}  // namespace

CRecordingWaitPump::CRecordingWaitPump(IUnknown* pSource, std::function<bool()> endWait)
{
    if (!pSource || FAILED(pSource->QueryInterface(IID_IMediaReadWait5, m_pWait.OutVoid())) || !m_pWait)
    {
        m_pWait.Reset();
        return;
    }
    CWaitPumpSink* pSink = new CWaitPumpSink(std::move(endWait));
    if (FAILED(m_pWait->SetWaitSink(pSink, PUMP_INTERVAL_MS)))
        m_pWait.Reset();
    pSink->Release();
}

CRecordingWaitPump::~CRecordingWaitPump()
{
    if (m_pWait)
        m_pWait->SetWaitSink(nullptr, 0);
}
