// What the profiles panel's two settings pages share: the page placed under
// the panel's line, and a profile's audio format reached and replaced.
#pragma once

#include <afxwin.h>

#include "app/recording/EngineObjects.h"

class CSondrelProfileManager;

// A settings page of the profiles panel: loaded from its template through
// the resource manager and placed at the panel's left edge, its top at the
// top of the panel's separator line, as wide as the panel's client area.
class CProfilePage : public CDialog
{
public:
    BOOL CreatePage(UINT nTemplate, CWnd* pPanel, CSondrelProfileManager* pManager);

protected:
    // Enter and Escape do nothing on a page: the page is never closed.
    void OnOK() override {}
    void OnCancel() override {}

    CSondrelProfileManager* m_pManager = nullptr;
};

// The audio format of a profile's first audio stream; empty when the
// profile has none.
CEngineRef<IMediaAudioFormat5> GetProfileAudioFormat(IMediaPropertyBag5* pProfile);
// Appends a stream holding the format to the profile's "AudioStreamInfo",
// under the given flag. FALSE when the stream could not be made.
BOOL AddProfileAudioFormat(IMediaPropertyBag5* pProfile, IUnknown* pFormat, LONG nFlag);
// Puts the format in place of the profile's audio streams; the profile is
// left as it was when the new stream cannot be made.
BOOL ReplaceProfileAudioFormat(IMediaPropertyBag5* pProfile, IUnknown* pFormat, LONG nFlag);
