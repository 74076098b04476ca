#include "recorder_test_support.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>

#include "real_input.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace recordertest {

std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
    {
        WCHAR c = s[i];
        out += c < 0x80 ? (char)c : '?';
    }
    return out;
}

CString WindowText(HWND hWnd)
{
    CString s;
    int n = ::GetWindowTextLengthW(hWnd);
    ::GetWindowTextW(hWnd, s.GetBuffer(n + 1), n + 1);
    s.ReleaseBuffer();
    return s;
}

CString ComboText(CComboBox& combo, int nIndex)
{
    CString s;
    combo.GetLBText(nIndex, s);
    return s;
}

POINT ControlCentre(CWnd& dialog, UINT nID)
{
    return WindowCentre(::GetDlgItem(dialog.m_hWnd, nID));
}

void PumpTranslated(DWORD dwMilliseconds)
{
    DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage((int)msg.wParam);
                return;
            }
            if (!AfxPreTranslateMessage(&msg))
            {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
        if (::GetTickCount() - dwStart >= dwMilliseconds)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void ClickControl(CWnd& dialog, UINT nID)
{
    MouseClickAt(ControlCentre(dialog, nID));
    PumpTranslated(60);
}

void PressChord(WORD wModifier, WORD wKey)
{
    SendKey(wModifier, false);
    SendKey(wKey, false);
    SendKey(wKey, true);
    SendKey(wModifier, true);
    PumpTranslated(60);
}

ScratchFolder::ScratchFolder()
{
    char templ[] = "/tmp/sondrel_recorder_XXXXXX";
    unix = mkdtemp(templ);
    windows = CString(_T("Z:")) + CString(unix.c_str()) + _T("/");
    windows.Replace(_T('/'), _T('\\'));
    // Read once, so that the folder browser meets it with its final access
    // time (under relatime the first read moves it).
    std::string command = "ls -a '" + unix + "' > /dev/null";
    if (system(command.c_str()) != 0)
        ADD_FAILURE() << "cannot read " << unix;
}

ScratchFolder::~ScratchFolder()
{
    std::string command = "rm -rf '" + unix + "'";
    if (system(command.c_str()) != 0)
        ADD_FAILURE() << "could not remove " << unix;
}

void CTestHost::SetStatusPaneText(int nPane, LPCTSTR pszText)
{
    ASSERT_TRUE(nPane >= 0 && nPane < 4);
    m_panes[nPane] = pszText;
    ++m_nPaneWrites;
}

CString RecorderTest::MakeSound(const std::string& name, int nSeconds, int nChannels, const char* pszCodec)
{
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=duration=" + std::to_string(nSeconds) + " -ac " +
        std::to_string(nChannels) + (*pszCodec ? std::string(" ") + pszCodec : std::string()) + " '" +
        m_folder.unix + "/" + name + "'";
    EXPECT_EQ(0, system(command.c_str())) << command;
    return m_folder.windows + CString(name.c_str());
}

void RecorderTest::StoreList(const std::vector<CString>& paths)
{
    std::ofstream out(m_folder.unix + "/filelist.xml");
    out << "<Files><Count>" << paths.size() << "</Count>";
    for (size_t i = 0; i < paths.size(); ++i)
        out << "<File-" << i << "><Path>" << Narrow(paths[i]) << "</Path></File-" << i << ">";
    out << "</Files>";
}

void RecorderTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

void RecorderTest::TearDown()
{
    CloseRecorder();
    CoUninitialize();
}

void RecorderTest::OpenRecorderAs(std::unique_ptr<CTestRecorder> pRecorder)
{
    m_pHost = std::make_unique<CTestHost>();
    m_pHost->m_strOutputFolder = m_folder.windows;
    m_pHost->m_strFileListPath = m_folder.windows + _T("filelist.xml");
    ASSERT_TRUE(SUCCEEDED(
        CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, m_pHost->m_pConfigBag)));
    m_pHost->m_pConfigBag->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_GLOBAL_CONFIG,
                                      0);
    ASSERT_TRUE(m_pHost->CreateEx(
        0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
        _T("Recorder host"), WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 960, 600, nullptr,
        0));
    m_pRecorder = std::move(pRecorder);
    m_pRecorder->m_pParent = m_pHost.get();
    ASSERT_TRUE(m_pRecorder->CreateIndirect(m_pRecorder->m_lpDialogTemplate, m_pHost.get()));
    CRect rcClient;
    m_pHost->GetClientRect(&rcClient);
    m_pRecorder->MoveWindow(&rcClient);
    m_pRecorder->ShowWindow(SW_SHOW);
    m_pHost->SetForegroundWindow();
    PumpTranslated(100);
}

void RecorderTest::CloseRecorder()
{
    m_pRecorder.reset();
    if (m_pHost && m_pHost->m_hWnd)
        m_pHost->DestroyWindow();
    m_pHost.reset();
    PumpMessages(20);
}

}  // namespace recordertest
