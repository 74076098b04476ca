#include "app/profiles/WMAudioProfilesEditor.h"

#include <cstring>
#include <vector>

#include "app/profiles/ProfilesEditorResource.h"
#include "app/profiles/SondrelProfileManager.h"

namespace {

// The wave-format block of a format, copied out; empty when it has none.
std::vector<BYTE> WaveFormatOf(IMediaAudioFormat5* pFormat)
{
    std::vector<BYTE> bytes;
    WAVEFORMATEX* pWave = nullptr;
    if (pFormat && SUCCEEDED(pFormat->GetWaveFormat(&pWave)) && pWave)
    {
        const BYTE* pFirst = reinterpret_cast<const BYTE*>(pWave);
        bytes.assign(pFirst, pFirst + sizeof(WAVEFORMATEX) + pWave->cbSize);
        CoTaskMemFree(pWave);
    }
    return bytes;
}

LONG CodecIdOf(IMediaAudioFormat5* pFormat)
{
    LONG nCodec = 0;
    if (pFormat)
        pFormat->GetCodecId(&nCodec);
    return nCodec;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWMAudioProfilesEditor, CDialog)
    ON_CBN_SELCHANGE(IDC_AUDIO_CODEC, &CWMAudioProfilesEditor::OnWMCodecChange)
    ON_CBN_SELCHANGE(IDC_WM_AUDIO_FORMAT, &CWMAudioProfilesEditor::OnWMFormatChange)
END_MESSAGE_MAP()

BOOL CWMAudioProfilesEditor::Create(CWnd* pPanel, CSondrelProfileManager* pManager)
{
    return CreatePage(IDD_WM_AUDIO_PROFILE_PAGE, pPanel, pManager);
}

BOOL CWMAudioProfilesEditor::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CWMAudioProfilesEditor::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AUDIO_CODEC, m_comboCodec);
    DDX_Control(pDX, IDC_WM_AUDIO_FORMAT, m_comboFormat);
}

WMCodecInfo* CWMAudioProfilesEditor::FindCodec(LONG nCodecId, int* pPosition) const
{
    *pPosition = -1;
    const INT_PTR nCount = m_pManager ? m_pManager->GetWMCodecCount() : 0;
    for (INT_PTR i = 0; i < nCount; ++i)
    {
        WMCodecInfo* pCodec = m_pManager->GetWMCodec(i);
        if (pCodec->nCodecId == nCodecId)
        {
            *pPosition = static_cast<int>(i);
            return pCodec;
        }
    }
    return nullptr;
}

void CWMAudioProfilesEditor::FillCodecList()
{
    m_comboCodec.ResetContent();
    const INT_PTR nCount = m_pManager ? m_pManager->GetWMCodecCount() : 0;
    for (INT_PTR i = 0; i < nCount; ++i)
        m_comboCodec.AddString(m_pManager->GetWMCodec(i)->strName);
    FillFormatList();
}

void CWMAudioProfilesEditor::FillFormatList()
{
    m_comboFormat.ResetContent();
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    int nPosition = -1;
    if (WMCodecInfo* pCodec = FindCodec(CodecIdOf(format.Get()), &nPosition))
    {
        for (INT_PTR i = 0; i < pCodec->arrFormats.GetSize(); ++i)
            m_comboFormat.AddString(pCodec->arrFormats[i]->strDescription);
    }
}

void CWMAudioProfilesEditor::PutFormat(IMediaPropertyBag5* pProfile, IMediaAudioFormat5* pFormat,
                                       BOOL bRemoveVideo)
{
    if (!pProfile || !pFormat)
        return;
    if (bRemoveVideo)
        pProfile->Remove(CEngineString(MEDIA_PROP_VIDEO_STREAM_INFO), -1);
    // One audio stream: the chosen format takes the place of the old one.
    if (ReplaceProfileAudioFormat(pProfile, pFormat, MEDIA_PROPFLAG_SUPPLIED))
        m_pManager->SetProfile(pProfile, -1);
}

void CWMAudioProfilesEditor::SelectCurrent()
{
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    const std::vector<BYTE> wave = WaveFormatOf(format.Get());

    int nCodec = -1;
    int nFormat = -1;
    WMCodecInfo* pCodec = FindCodec(CodecIdOf(format.Get()), &nCodec);
    if (pCodec && !wave.empty())
    {
        for (INT_PTR i = 0; i < pCodec->arrFormats.GetSize() && nFormat < 0; ++i)
        {
            // Over the profile's block: its 18 bytes and its extra bytes.
            const std::vector<BYTE> listed = WaveFormatOf(pCodec->arrFormats[i]->pFormat);
            if (listed.size() >= wave.size() && std::memcmp(listed.data(), wave.data(), wave.size()) == 0)
                nFormat = static_cast<int>(i);
        }
    }
    if (nCodec < 0)
        nCodec = 0;
    if (m_comboCodec.GetCurSel() != nCodec)
        FillFormatList();
    m_comboCodec.SetCurSel(nCodec);
    m_comboFormat.SetCurSel(nFormat >= 0 ? nFormat : 0);

    if (nFormat < 0 && m_comboCodec.GetCount() > 0 && profile)
    {
        WMCodecInfo* pShown = m_pManager->GetWMCodec(nCodec);
        // A codec without formats has nothing to put into the profile.
        if (pShown->arrFormats.GetSize() > 0)
            PutFormat(profile.Get(), pShown->arrFormats[0]->pFormat, FALSE);
    }
}

void CWMAudioProfilesEditor::OnWMCodecChange()
{
    const int nSelection = m_comboCodec.GetCurSel();
    WMCodecInfo* pCodec = m_pManager->GetWMCodec(nSelection);
    CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
    if (!profile || pCodec->arrFormats.GetSize() == 0)
        return;
    IMediaAudioFormat5* pPicked = pCodec->arrFormats[0]->pFormat;
    for (INT_PTR i = 0; i < pCodec->arrFormats.GetSize(); ++i)
    {
        IMediaAudioFormat5* pFormat = pCodec->arrFormats[i]->pFormat;
        LONG nBitrate = 0, nRate = 0, nChannels = 0;
        if (!pFormat)
            continue;
        pFormat->GetBitrate(&nBitrate);
        pFormat->GetSampleRate(&nRate);
        pFormat->GetChannels(&nChannels);
        if (nBitrate / 1000 == 128 && nRate == 44100 && nChannels == 2)
        {
            pPicked = pFormat;
            break;
        }
    }
    PutFormat(profile.Get(), pPicked, FALSE);
    FillFormatList();
    SelectCurrent();
}

void CWMAudioProfilesEditor::OnWMFormatChange()
{
    const int nCodec = m_comboCodec.GetCurSel();
    const int nFormat = m_comboFormat.GetCurSel();
    if (nCodec == -1 || nFormat < 0)
        return;
    WMCodecInfo* pCodec = m_pManager->GetWMCodec(nCodec);
    if (nFormat >= pCodec->arrFormats.GetSize())
        return;
    CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
    PutFormat(profile.Get(), pCodec->arrFormats[nFormat]->pFormat, TRUE);
}
