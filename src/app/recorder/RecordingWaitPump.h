// While the recording job waits for sound inside the capture source's read
// (up to two seconds for a source that hands its sound over in blocks, or a
// whole pause), the window thread would answer nothing: no paint, no click,
// no other process's message. This keeps it answering by pumping the waiting
// messages from the read every 20 ms, and what follows them closely at once
// (another process's calls in a row). What the user does meanwhile acts only
// through the flags the job reads at its progress report (stop, split). A
// read held by a paused capture that will not go on (the job is to stop) is
// ended by the owner's test.
#pragma once

#include "app/recording/EngineObjects.h"

#include <functional>

class CRecordingWaitPump
{
public:
    static const LONG PUMP_INTERVAL_MS = 20;

    // Hands a pumping sink to the source for as long as this object lives;
    // a source without the wait interface is left as it is. After each pump
    // a true answer of `endWait` ends the read with the sound it has.
    CRecordingWaitPump(IUnknown* pSource, std::function<bool()> endWait);
    ~CRecordingWaitPump();
    CRecordingWaitPump(const CRecordingWaitPump&) = delete;
    CRecordingWaitPump& operator=(const CRecordingWaitPump&) = delete;

private:
    CEngineRef<IMediaReadWait5> m_pWait;
};
