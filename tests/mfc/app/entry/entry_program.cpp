// A program whose only entry point is the library's wWinMain: the
// application object is made before it, InitInstance opens a main window,
// Run pumps until that window closes, and ExitInstance gives the exit code.
#include <afxwin.h>

class CEntryApp : public CWinApp
{
public:
    CEntryApp() : CWinApp(_T("SondrelEntryTest")) {}

    bool m_bInitOk = false;
    bool m_bClosed = false;

    BOOL InitInstance() override
    {
        m_bInitOk = AfxGetApp() == this && m_hInstance != nullptr && m_hInstance == AfxGetInstanceHandle() &&
                    m_lpCmdLine != nullptr && AfxGetThread() == this;
        CFrameWnd* pFrame = new CFrameWnd;
        if (!pFrame->Create(nullptr, _T("entry"), WS_OVERLAPPEDWINDOW))
            return FALSE;
        m_pMainWnd = pFrame;
        pFrame->PostMessage(WM_CLOSE);
        return TRUE;
    }

    int ExitInstance() override
    {
        m_bClosed = m_pMainWnd == nullptr;
        int nQuitCode = CWinApp::ExitInstance();
        return m_bInitOk && m_bClosed && nQuitCode == 0 ? 0 : 1;
    }
};

CEntryApp theApp;
