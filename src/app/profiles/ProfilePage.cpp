#include "app/profiles/ProfilePage.h"

#include "app/profiles/ProfilesEditorResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

BOOL CProfilePage::CreatePage(UINT nTemplate, CWnd* pPanel, CSondrelProfileManager* pManager)
{
    m_pManager = pManager;
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(nTemplate);
    if (pTemplate == nullptr || pPanel == nullptr || !CreateIndirect(pTemplate, pPanel))
        return FALSE;
    CRect rcPanel;
    pPanel->GetClientRect(&rcPanel);
    int nTop = 0;
    if (CWnd* pLine = pPanel->GetDlgItem(IDC_PROFILE_PAGE_LINE))
    {
        CRect rcLine;
        pLine->GetWindowRect(&rcLine);
        pPanel->ScreenToClient(&rcLine);
        nTop = rcLine.top;
    }
    CRect rcPage;
    GetClientRect(&rcPage);
    SetWindowPos(nullptr, 0, nTop, rcPanel.Width(), rcPage.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOW);
    return TRUE;
}

CEngineRef<IMediaAudioFormat5> GetProfileAudioFormat(IMediaPropertyBag5* pProfile)
{
    CEngineRef<IMediaAudioFormat5> format;
    if (!pProfile)
        return format;
    CEngineRef<IMediaPropertyBag5> stream;
    if (FAILED(pProfile->GetObject(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), 0, IID_IMediaPropertyBag5,
                                   stream.OutVoid())) ||
        !stream)
        return format;
    if (FAILED(stream->GetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, IID_IMediaAudioFormat5,
                                 format.OutVoid())))
        format.Reset();
    return format;
}

namespace {

CEngineRef<IMediaPropertyBag5> MakeAudioStream(IUnknown* pFormat)
{
    CEngineRef<IMediaPropertyBag5> stream;
    if (!pFormat || FAILED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, stream)) ||
        !stream)
        return CEngineRef<IMediaPropertyBag5>();
    if (FAILED(stream->SetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, pFormat, MEDIA_PROPFLAG_PROFILE)))
        return CEngineRef<IMediaPropertyBag5>();
    return stream;
}

}  // namespace

BOOL AddProfileAudioFormat(IMediaPropertyBag5* pProfile, IUnknown* pFormat, LONG nFlag)
{
    CEngineRef<IMediaPropertyBag5> stream = MakeAudioStream(pFormat);
    if (!pProfile || !stream)
        return FALSE;
    return SUCCEEDED(pProfile->SetObject(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), MEDIA_ELEMENT_APPEND,
                                         stream.Get(), nFlag));
}

BOOL ReplaceProfileAudioFormat(IMediaPropertyBag5* pProfile, IUnknown* pFormat, LONG nFlag)
{
    // The new stream exists before the old one goes: a failure keeps the
    // profile's sound.
    CEngineRef<IMediaPropertyBag5> stream = MakeAudioStream(pFormat);
    if (!pProfile || !stream)
        return FALSE;
    CEngineString name(MEDIA_PROP_AUDIO_STREAM_INFO);
    pProfile->Remove(name, -1);
    return SUCCEEDED(pProfile->SetObject(name, MEDIA_ELEMENT_APPEND, stream.Get(), nFlag));
}
