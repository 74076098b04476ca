// The recorder's tests: a top-level window that embeds the recording dialog
// as the main window does and records what the dialog asks of it, a
// recorder that notes the commands reaching it, a pump that runs the
// program's message translation, and a scratch output folder.
#pragma once

#include "sondrel_gtest.h"

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

#include "app/recorder/SondrelDlg.h"

namespace recordertest {

std::string Narrow(const CString& s);
CString WindowText(HWND hWnd);
CString ComboText(CComboBox& combo, int nIndex);
// Screen centre of a dialog control.
POINT ControlCentre(CWnd& dialog, UINT nID);
// Dispatches for the time given, with the framework's translation (the
// recorder's accelerators and the dialogs' keys), as the program's loop does.
void PumpTranslated(DWORD dwMilliseconds);
template <class TCondition>
bool PumpTranslatedUntil(TCondition condition, DWORD dwTimeout = 5000)
{
    DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeout)
            return condition();
        PumpTranslated(5);
    }
    return true;
}
// Real clicks and keys on the test's own display.
void ClickControl(CWnd& dialog, UINT nID);
void PressChord(WORD wModifier, WORD wKey);

// A fresh folder under /tmp, removed at the end.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string unix;  // no trailing slash
    CString windows;   // ends with a backslash
};

// Stands for the main window.
class CTestHost : public CWnd, public IRecorderHost
{
public:
    BOOL IsRecording() const override { return m_bRecording; }
    void SetRecording(BOOL bRecording) override { m_bRecording = bRecording; }
    LONG ExchangeStopRequest(LONG nValue) override { return ::InterlockedExchange(&m_nStopRequest, nValue); }
    LONG GetStopRequest() const override { return m_nStopRequest; }
    CQVTCommandBars* GetRecorderCommandBars() const override { return nullptr; }
    void UpdateRibbonCommands() override { ++m_nRibbonUpdates; }
    void EnableRibbonTabs(BOOL bEnable) override { m_tabCalls.push_back(bEnable); }
    void SetStatusPaneText(int nPane, LPCTSTR pszText) override;
    CString GetFileListPath() const override { return m_strFileListPath; }
    CString GetOutputFolder() const override { return m_strOutputFolder; }
    void SetOutputFolder(LPCTSTR pszFolder) override
    {
        m_strOutputFolder = pszFolder;
        ++m_nFolderSaves;
    }
    IMediaPropertyBag5* GetConfigurationBag() const override
    {
        // Memory running out while a job is prepared.
        if (m_bConfigurationBagThrows)
            AfxThrowMemoryException();
        return m_pConfigBag.Get();
    }

    BOOL m_bRecording = FALSE;
    volatile LONG m_nStopRequest = 1;
    int m_nRibbonUpdates = 0;
    std::vector<BOOL> m_tabCalls;
    CString m_panes[4];
    int m_nPaneWrites = 0;
    CString m_strOutputFolder;
    int m_nFolderSaves = 0;
    CString m_strFileListPath;
    CEngineRef<IMediaPropertyBag5> m_pConfigBag;
    bool m_bConfigurationBagThrows = false;
};

// The recording dialog, noting every command that reaches its handlers.
class CTestRecorder : public CSondrelDlg
{
public:
    using CSondrelDlg::CSondrelDlg;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && pHandlerInfo == nullptr)
            m_commands.push_back(nID);
        return CSondrelDlg::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    std::vector<UINT> m_commands;
};

// COM, a host window on the screen and the recorder created inside it as
// the main window creates it.
class RecorderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes the host and the recorder; the output folder is the scratch one.
    void OpenRecorder() { OpenRecorderAs(std::make_unique<CTestRecorder>()); }
    void OpenRecorderAs(std::unique_ptr<CTestRecorder> pRecorder);
    void CloseRecorder();
    // A sound file of whole seconds, by ffmpeg, in the scratch folder: coded
    // as its extension says, or with the codec's options given.
    CString MakeSound(const std::string& name, int nSeconds, int nChannels = 2, const char* pszCodec = "");
    // The scratch folder's stored file list, naming the paths in order.
    void StoreList(const std::vector<CString>& paths);

    ScratchFolder m_folder;
    std::unique_ptr<CTestHost> m_pHost;
    std::unique_ptr<CTestRecorder> m_pRecorder;
};

}  // namespace recordertest
