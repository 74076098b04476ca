#include "toolkit/foundation/core/QVTCurrentThread.h"

CWinThread* AFXAPI QVTGetCurrentThread()
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (!pState)
        return nullptr;
    return pState->m_pCurrentWinApp;
}
