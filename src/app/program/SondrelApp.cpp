#include "app/program/SondrelApp.h"

#include "app/program/resource.h"
#include "toolkit/foundation/core/QVTApplication.h"

CSondrelApp theApp;

CSondrelApp::CSondrelApp() {}

// The whole life of the program runs here: the main window's modal loop is
// the message loop, so InitInstance always returns FALSE.
BOOL CSondrelApp::InitInstance()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    CDialog mainWindow(IDD_MAINDLG);
    m_pMainWnd = &mainWindow;
    mainWindow.DoModal();
    m_pMainWnd = nullptr;

    ShutdownApplication();
    CoUninitialize();
    return FALSE;
}
