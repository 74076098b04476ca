// The recorder's side of a recording job: the stop request, the pause and
// the manual split that the job's callbacks read.
#include "app/recorder/SondrelDlg.h"

void CSondrelDlg::RequestStop()
{
    m_bRecordingPaused = 0;
    if (m_pParent)
        m_pParent->ExchangeStopRequest(1);
}

void CSondrelDlg::OnManualSplit()
{
    m_bManualSplit = 1;
}
