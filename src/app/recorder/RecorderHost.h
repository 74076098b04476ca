// What the recording dialog needs of the window that embeds it: the main
// window's recording state and shared stop request, its ribbon and status
// bar, and the program's output folder and engine configuration. The main
// window implements it and hands itself to the dialog before creating it.
#pragma once

#include <afx.h>

#include "engine/MediaEngine.h"

class CQVTCommandBars;

class IRecorderHost
{
public:
    // State bit 0 of the main window: a recording job runs.
    virtual BOOL IsRecording() const = 0;
    virtual void SetRecording(BOOL bRecording) = 0;

    // The stop request shared with the job's callbacks: written only by
    // atomic exchange (0 when a job starts, 1 to stop it and when it ends).
    virtual LONG ExchangeStopRequest(LONG nValue) = 0;
    virtual LONG GetStopRequest() const = 0;

    // The bars whose Record, Stop and Continue controls the job shows and
    // hides; null before they exist.
    virtual CQVTCommandBars* GetRecorderCommandBars() const = 0;
    // The ribbon bar's idle command update, run at once.
    virtual void UpdateRibbonCommands() = 0;
    // Enables or disables the ribbon's Files and Help tabs.
    virtual void EnableRibbonTabs(BOOL bEnable) = 0;
    // One of the status bar's four panes (0 to 3).
    virtual void SetStatusPaneText(int nPane, LPCTSTR pszText) = 0;

    // The stored file list, "filelist.xml" in the program's data folder.
    virtual CString GetFileListPath() const = 0;
    // Where new recordings go (DstFolder), ending with a path separator.
    virtual CString GetOutputFolder() const = 0;
    // Stores a new output folder and saves the settings at once.
    virtual void SetOutputFolder(LPCTSTR pszFolder) = 0;
    // The application's engine configuration bag ("Operation" 200) that each
    // recording job is set up with; not counted for the caller.
    virtual IMediaPropertyBag5* GetConfigurationBag() const = 0;

protected:
    virtual ~IRecorderHost() {}
};
