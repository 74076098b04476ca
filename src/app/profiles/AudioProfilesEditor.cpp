#include "app/profiles/AudioProfilesEditor.h"

#include "app/formats/AudioFormats.h"
#include "app/profiles/ProfilesEditorResource.h"
#include "app/profiles/SondrelProfileManager.h"

namespace {

struct ValueEntry
{
    LPCTSTR pszLabel;
    LONG nValue;
};

struct ValueList
{
    const ValueEntry* pEntries;
    int nCount;
};

template <int N>
constexpr ValueList MakeList(const ValueEntry (&entries)[N])
{
    return ValueList{entries, N};
}

const ValueEntry kStandardRates[] = {{_T("8000"), 8000},   {_T("11025"), 11025}, {_T("16000"), 16000},
                                     {_T("22050"), 22050}, {_T("24000"), 24000}, {_T("32000"), 32000},
                                     {_T("44100"), 44100}, {_T("48000"), 48000}};
const ValueEntry kRate8000[] = {{_T("8000"), 8000}};
const ValueEntry kRate16000[] = {{_T("16000"), 16000}};
const ValueEntry kBothChannels[] = {{_T("Mono"), 1}, {_T("Stereo"), 2}};
const ValueEntry kMonoChannel[] = {{_T("Mono"), 1}};
// Bitrates in kbit/s.
const ValueEntry kBitratesA[] = {{_T("64 "), 64},   {_T("80 "), 80},   {_T("96 "), 96},   {_T("112 "), 112},
                                 {_T("128 "), 128}, {_T("160 "), 160}, {_T("192 "), 192}, {_T("224 "), 224},
                                 {_T("256 "), 256}, {_T("320 "), 320}};
const ValueEntry kBitratesB[] = {{_T("16 "), 16},   {_T("32 "), 32},   {_T("48 "), 48},   {_T("64 "), 64},
                                 {_T("80 "), 80},   {_T("96 "), 96},   {_T("112 "), 112}, {_T("128 "), 128},
                                 {_T("160 "), 160}, {_T("192 "), 192}, {_T("224 "), 224}, {_T("256 "), 256}};
const ValueEntry kBitratesC[] = {{_T("16 "), 16},   {_T("32 "), 32},   {_T("48 "), 48},   {_T("64 "), 64},
                                 {_T("80 "), 80},   {_T("96 "), 96},   {_T("112 "), 112}, {_T("128 "), 128},
                                 {_T("160 "), 160}, {_T("192 "), 192}, {_T("224 "), 224}, {_T("256 "), 256},
                                 {_T("320 "), 320}};
// The speech codecs' modes stand for the whole kbit/s stored in profiles.
const ValueEntry kBitratesAmrNb[] = {{_T("4.75 "), 4},  {_T("5.15 "), 5}, {_T("5.9 "), 6},
                                     {_T("6.7 "), 7},   {_T("7.4 "), 8},  {_T("7.95 "), 9},
                                     {_T("10.2 "), 10}, {_T("12.2 "), 12}};
const ValueEntry kBitratesAmrWb[] = {{_T("6.6 "), 7},    {_T("8.85 "), 9},   {_T("12.65 "), 13},
                                     {_T("14.25 "), 14}, {_T("15.85 "), 16}, {_T("18.25 "), 18},
                                     {_T("19.85 "), 20}, {_T("23.05 "), 23}, {_T("23.85 "), 24}};
const ValueEntry kBitratesG726[] = {{_T("16 "), 16}, {_T("24 "), 24}, {_T("32 "), 32}, {_T("40 "), 40}};

constexpr ValueList kNone = {nullptr, 0};
constexpr ValueList kRates = MakeList(kStandardRates);
constexpr ValueList kBoth = MakeList(kBothChannels);

struct CodecRow
{
    LPCTSTR pszName;
    LONG nCodecId;
    ValueList bitrates;
    ValueList rates;
    ValueList channels;
};

const CodecRow kCodecs[CAudioProfilesEditor::CODEC_COUNT] = {
    {_T("No audio"), 0, kNone, kNone, kNone},
    {_T("PCM"), MEDIA_CODEC_PCM, kNone, kRates, kBoth},
    {_T("Mpeg Layer 3"), MEDIA_CODEC_MP3, MakeList(kBitratesA), kRates, kBoth},
    {_T("AAC MPEG2/4"), MEDIA_CODEC_AAC, MakeList(kBitratesB), kRates, kBoth},
    {_T("MS ADPCM"), MEDIA_CODEC_MS_ADPCM, kNone, kRates, kBoth},
    {_T("IMA ADPCM"), MEDIA_CODEC_IMA_ADPCM, kNone, kRates, kBoth},
    {_T("IMA ADPCM"), MEDIA_CODEC_IMA_ADPCM_QT, kNone, kRates, kBoth},
    {_T("a-Law"), MEDIA_CODEC_ALAW, kNone, kRates, kBoth},
    {_T("u-Law"), MEDIA_CODEC_MULAW, kNone, kRates, kBoth},
    {_T("AMR NB"), MEDIA_CODEC_AMR_NB, MakeList(kBitratesAmrNb), MakeList(kRate8000), MakeList(kMonoChannel)},
    {_T("AMR WB ACELP"), MEDIA_CODEC_AMR_WB, MakeList(kBitratesAmrWb), MakeList(kRate16000),
     MakeList(kMonoChannel)},
    {_T("GSM 6.10"), MEDIA_CODEC_GSM_MS, kNone, MakeList(kRate8000), MakeList(kMonoChannel)},
    {_T("GSM 726"), MEDIA_CODEC_G726, MakeList(kBitratesG726), MakeList(kRate8000), MakeList(kMonoChannel)},
    {_T("Ogg Vorbis"), MEDIA_CODEC_VORBIS, MakeList(kBitratesC), kRates, kBoth},
    {_T("Mpeg Layer 2"), MEDIA_CODEC_MP2, MakeList(kBitratesA), kRates, kBoth},
    {_T("AC3 Audio"), MEDIA_CODEC_AC3, MakeList(kBitratesA), kRates, kBoth},
    {_T("RealAudio"), MEDIA_CODEC_REALAUDIO, kNone, kRates, kBoth},
    {_T("RealAudio Sipr"), MEDIA_CODEC_REALAUDIO_SIPR, kNone, kRates, kBoth},
    {_T("RealAudio Lossless"), MEDIA_CODEC_REALAUDIO_LOSSLESS, kNone, kRates, kBoth},
    {_T("IMA ADPCM"), MEDIA_CODEC_IMA_ADPCM_OTHER, kNone, kRates, kBoth},
    {_T("Opus Interactive"), MEDIA_CODEC_OPUS, kNone, kRates, kBoth},
    {_T("GSM 6.10"), MEDIA_CODEC_GSM, kNone, MakeList(kRate8000), MakeList(kMonoChannel)},
    {_T("PCM"), MEDIA_CODEC_PCM_BE, kNone, kRates, kBoth},
    {_T("PCM24"), MEDIA_CODEC_PCM24, kNone, kNone, kNone},
};

// The codec indexes each format offers, in list order; -1 ends a row. M4A
// offers no G.711: only a QuickTime file holds it, which is no M4A file.
const int kFormatCodecs[AUDIO_FORMAT_COUNT][7] = {
    {2, -1},                  // MP3
    {2, -1},                  // WMA (its own page)
    {3, -1},                  // AAC
    {3, 2, 9, 10, -1},        // M4A
    {1, 4, 5, 11, 7, 8, -1},  // WAV
    {22, 7, 8, -1},           // AIFF
    {13, -1},                 // OGG
    {9, 10, -1},              // AMR
    {22, 7, 8, -1},           // AU
};

const int* FormatCodecs(int nFormat)
{
    static const int kEmpty[] = {-1};
    return nFormat >= 0 && nFormat < AUDIO_FORMAT_COUNT ? kFormatCodecs[nFormat] : kEmpty;
}

// Position of a codec index in the format's list, -1 when not offered.
int FormatCodecPosition(int nFormat, int nCodecIndex)
{
    const int* pCodecs = FormatCodecs(nFormat);
    for (int i = 0; pCodecs[i] >= 0; ++i)
    {
        if (pCodecs[i] == nCodecIndex)
            return i;
    }
    return -1;
}

int FormatCodecCount(int nFormat)
{
    const int* pCodecs = FormatCodecs(nFormat);
    int n = 0;
    while (pCodecs[n] >= 0)
        ++n;
    return n;
}

int FindValue(const ValueList& list, LONG nValue)
{
    for (int i = 0; i < list.nCount; ++i)
    {
        if (list.pEntries[i].nValue == nValue)
            return i;
    }
    return -1;
}

const CodecRow* CodecRowOf(int nCodecIndex)
{
    return nCodecIndex >= 0 && nCodecIndex < CAudioProfilesEditor::CODEC_COUNT ? &kCodecs[nCodecIndex]
                                                                               : nullptr;
}

enum ValueKind
{
    VALUE_BITRATE,
    VALUE_FREQUENCY,
    VALUE_CHANNELS,
    VALUE_KIND_COUNT,
};

// A format's value of a list's kind, as the list counts it (kbit/s, Hz, channels).
LONG GetListedValue(IMediaAudioFormat5* pFormat, int nKind)
{
    LONG nValue = 0;
    if (nKind == VALUE_BITRATE)
    {
        pFormat->GetBitrate(&nValue);
        return nValue / 1000;
    }
    if (nKind == VALUE_FREQUENCY)
        pFormat->GetSampleRate(&nValue);
    else
        pFormat->GetChannels(&nValue);
    return nValue;
}

HRESULT SetListedValue(IMediaAudioFormat5* pFormat, int nKind, LONG nValue)
{
    return nKind == VALUE_BITRATE     ? pFormat->SetBitrate(nValue * 1000)
           : nKind == VALUE_FREQUENCY ? pFormat->SetSampleRate(nValue)
                                      : pFormat->SetChannels(nValue);
}

// Whether the engine would record the profile with one value of its format
// changed; the format is left as it was.
bool RecordsWithValue(IMediaFile5* pFile, IMediaPropertyBag5* pProfile, IMediaAudioFormat5* pFormat,
                      int nKind, LONG nValue)
{
    LONG nOld = 0;
    if (nKind == VALUE_BITRATE)
        pFormat->GetBitrate(&nOld);
    else
        nOld = GetListedValue(pFormat, nKind);
    if (FAILED(SetListedValue(pFormat, nKind, nValue)))
        return false;
    const bool bRecords = pFile->SetStreamSettings(pProfile) == S_OK;
    if (nKind == VALUE_BITRATE)
        pFormat->SetBitrate(nOld);
    else
        SetListedValue(pFormat, nKind, nOld);
    return bRecords;
}

// A new audio format object for a codec index, with its preset values;
// empty for the rows that have none.
CEngineRef<IMediaAudioFormat5> MakeCodecFormat(int nCodecIndex)
{
    CEngineRef<IMediaAudioFormat5> format;
    auto generic = [&](LONG nCodec, LONG nRate, LONG nChannels, LONG nBitrate) {
        if (FAILED(CreateEngineObject(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5, format)) || !format ||
            FAILED(format->SetCodecId(nCodec)))
        {
            format.Reset();
            return;
        }
        if (nRate)
            format->SetSampleRate(nRate);
        if (nChannels)
            format->SetChannels(nChannels);
        if (nBitrate)
            format->SetBitrate(nBitrate);
    };
    switch (nCodecIndex)
    {
    case 1:
        if (FAILED(CreateEngineObject(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5, format)))
            format.Reset();
        break;
    case 2:
        if (FAILED(CreateEngineObject(CLSID_MediaMp3Settings5, IID_IMediaAudioFormat5, format)))
            format.Reset();
        break;
    case 3:
        if (FAILED(CreateEngineObject(CLSID_MediaAacSettings5, IID_IMediaAudioFormat5, format)))
            format.Reset();
        break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 22:
        generic(kCodecs[nCodecIndex].nCodecId, 0, 0, 0);
        break;
    case 9:
        generic(MEDIA_CODEC_AMR_NB, 8000, 1, 12000);
        break;
    case 10:
        generic(MEDIA_CODEC_AMR_WB, 16000, 1, 24000);
        break;
    case 11:
        generic(MEDIA_CODEC_GSM_MS, 8000, 1, 13000);
        break;
    case 12:
        generic(MEDIA_CODEC_G726, 8000, 1, 40000);
        break;
    case 21:
        generic(MEDIA_CODEC_GSM, 8000, 1, 13000);
        break;
    default:
        if (nCodecIndex >= 13 && nCodecIndex <= 20)
            generic(kCodecs[nCodecIndex].nCodecId, 0, 0, 128000);
        break;
    }
    return format;
}

}  // namespace

BEGIN_MESSAGE_MAP(CAudioProfilesEditor, CDialog)
    ON_CBN_SELCHANGE(IDC_AUDIO_CODEC, &CAudioProfilesEditor::OnCodecChange)
    ON_CBN_SELCHANGE(IDC_AUDIO_BITRATE, &CAudioProfilesEditor::OnBitrateChange)
    ON_CBN_SELCHANGE(IDC_AUDIO_FREQUENCY, &CAudioProfilesEditor::OnFrequencyChange)
    ON_CBN_SELCHANGE(IDC_AUDIO_CHANNELS, &CAudioProfilesEditor::OnChannelsChange)
END_MESSAGE_MAP()

BOOL CAudioProfilesEditor::Create(CWnd* pPanel, CSondrelProfileManager* pManager)
{
    return CreatePage(IDD_AUDIO_PROFILE_PAGE, pPanel, pManager);
}

BOOL CAudioProfilesEditor::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CAudioProfilesEditor::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AUDIO_BITRATE, m_comboBitrate);
    DDX_Control(pDX, IDC_AUDIO_FREQUENCY, m_comboFrequency);
    DDX_Control(pDX, IDC_AUDIO_CHANNELS, m_comboChannels);
    DDX_Control(pDX, IDC_AUDIO_CODEC, m_comboCodec);
}

int CAudioProfilesEditor::GetCodecIndex(IMediaAudioFormat5* pFormat)
{
    LONG nKind = 0, nCodec = 0;
    if (!pFormat || FAILED(pFormat->GetKind(&nKind)))
        return 0;
    switch (nKind)
    {
    case MEDIA_FORMAT_KIND_GENERIC:
        pFormat->GetCodecId(&nCodec);
        for (int i = 0; i < CODEC_COUNT; ++i)
        {
            if (kCodecs[i].nCodecId == nCodec)
                return i;
        }
        return 1;
    case MEDIA_FORMAT_KIND_MP3:
        return 2;
    case MEDIA_FORMAT_KIND_AAC:
        return 3;
    default:
        return 0;
    }
}

LONG CAudioProfilesEditor::GetCodecId(int nCodecIndex)
{
    const CodecRow* pRow = CodecRowOf(nCodecIndex);
    return pRow ? pRow->nCodecId : 0;
}

LPCTSTR CAudioProfilesEditor::GetCodecName(int nCodecIndex)
{
    const CodecRow* pRow = CodecRowOf(nCodecIndex);
    return pRow ? pRow->pszName : _T("");
}

void CAudioProfilesEditor::FillCodecList()
{
    m_comboCodec.ResetContent();
    const int nFormat = m_pManager ? m_pManager->GetCurrentFormat() : -1;
    const int* pCodecs = FormatCodecs(nFormat);
    for (int i = 0; pCodecs[i] >= 0; ++i)
        m_comboCodec.AddString(kCodecs[pCodecs[i]].pszName);
    FillValueLists();
}

void CAudioProfilesEditor::FillValueLists()
{
    CComboBox* combos[VALUE_KIND_COUNT] = {&m_comboBitrate, &m_comboFrequency, &m_comboChannels};
    for (CComboBox* pCombo : combos)
        pCombo->ResetContent();
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    const CodecRow* pRow = CodecRowOf(format ? GetCodecIndex(format.Get()) : -1);
    const ValueList lists[VALUE_KIND_COUNT] = {pRow ? pRow->bitrates : kNone, pRow ? pRow->rates : kNone,
                                               pRow ? pRow->channels : kNone};
    // Each list offers the values the engine records together with the
    // profile's other two: a choice never makes a profile that cannot record.
    const int nFormat = m_pManager ? m_pManager->GetCurrentFormat() : -1;
    CEngineRef<IMediaFile5> file;
    if (format && nFormat >= 0 && nFormat < AUDIO_FORMAT_COUNT &&
        (FAILED(CreateEngineObject(CLSID_MediaFile5, IID_IMediaFile5, file)) || !file ||
         FAILED(file->SetContainerType(g_AudioFormats[nFormat].nContainerType))))
        file.Reset();
    for (int i = 0; i < VALUE_KIND_COUNT; ++i)
    {
        for (int j = 0; j < lists[i].nCount; ++j)
        {
            const ValueEntry& entry = lists[i].pEntries[j];
            if (file && !RecordsWithValue(file.Get(), profile.Get(), format.Get(), i, entry.nValue))
                continue;
            const int nItem = combos[i]->AddString(entry.pszLabel);
            if (nItem >= 0)
                combos[i]->SetItemData(nItem, static_cast<DWORD_PTR>(entry.nValue));
        }
        combos[i]->EnableWindow(combos[i]->GetCount() > 0);
    }
}

void CAudioProfilesEditor::SelectCurrent()
{
    // The value lists follow the shown profile: what they offer depends on
    // its other values.
    FillValueLists();
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    if (!format)
        return;
    const int nPosition = FormatCodecPosition(m_pManager->GetCurrentFormat(), GetCodecIndex(format.Get()));
    if (nPosition >= 0)
        m_comboCodec.SetCurSel(nPosition);
    CComboBox* combos[VALUE_KIND_COUNT] = {&m_comboBitrate, &m_comboFrequency, &m_comboChannels};
    for (int i = 0; i < VALUE_KIND_COUNT; ++i)
    {
        const LONG nValue = GetListedValue(format.Get(), i);
        for (int j = 0; j < combos[i]->GetCount(); ++j)
        {
            if (static_cast<LONG>(combos[i]->GetItemData(j)) == nValue)
            {
                combos[i]->SetCurSel(j);
                break;
            }
        }
    }
}

void CAudioProfilesEditor::OnBitrateChange()
{
    OnValueChange(VALUE_BITRATE);
}

void CAudioProfilesEditor::OnFrequencyChange()
{
    OnValueChange(VALUE_FREQUENCY);
}

void CAudioProfilesEditor::OnChannelsChange()
{
    OnValueChange(VALUE_CHANNELS);
}

void CAudioProfilesEditor::OnValueChange(int nKind)
{
    CComboBox& combo = nKind == VALUE_BITRATE     ? m_comboBitrate
                       : nKind == VALUE_FREQUENCY ? m_comboFrequency
                                                  : m_comboChannels;
    const int nSelection = combo.GetCurSel();
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    if (nSelection < 0 || !format)
        return;
    const CodecRow& row = kCodecs[GetCodecIndex(format.Get())];
    const ValueList& list = nKind == VALUE_BITRATE     ? row.bitrates
                            : nKind == VALUE_FREQUENCY ? row.rates
                                                       : row.channels;
    const LONG nCurrent = GetListedValue(format.Get(), nKind);
    const LONG nValue = static_cast<LONG>(combo.GetItemData(nSelection));
    // Only a value of the profile's own list changes, into another of it.
    if (FindValue(list, nCurrent) < 0 || FindValue(list, nValue) < 0 || nValue == nCurrent)
        return;
    SetListedValue(format.Get(), nKind, nValue);
    m_pManager->SetProfile(profile.Get(), -1);
    SelectCurrent();
}

void CAudioProfilesEditor::OnCodecChange()
{
    const int nSelection = m_comboCodec.GetCurSel();
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    if (!format)
        return;
    const int nFormat = m_pManager->GetCurrentFormat();
    const int nPosition = FormatCodecPosition(nFormat, GetCodecIndex(format.Get()));
    if (nSelection < 0 || nPosition < 0 || nPosition == nSelection || nSelection >= FormatCodecCount(nFormat))
        return;
    CEngineRef<IMediaAudioFormat5> newFormat = MakeCodecFormat(FormatCodecs(nFormat)[nSelection]);
    if (newFormat && ReplaceProfileAudioFormat(profile.Get(), newFormat.Get(), MEDIA_PROPFLAG_PROFILE))
        m_pManager->SetProfile(profile.Get(), -1);
    SelectCurrent();
}
