#include "app/recorder/RecordingWaitPump.h"

#include "app/program/TextFormat.h"

#include <atomic>
#include <utility>

namespace {

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
            PumpWaitingMessages(nullptr);
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
