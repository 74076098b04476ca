#include "app/profiles/SondrelProfileManager.h"

#include <shlobj.h>

#include "app/recording/EngineObjects.h"
#include "common/Logging.h"

namespace {

CString WithSeparator(CString s)
{
    if (!s.IsEmpty() && s[s.GetLength() - 1] != _T('\\'))
        s += _T('\\');
    return s;
}

BOOL FileExists(const CString& strPath)
{
    DWORD dw = GetFileAttributesW(strPath);
    return dw != INVALID_FILE_ATTRIBUTES && !(dw & FILE_ATTRIBUTE_DIRECTORY);
}

// folder + part + "\", created when asked.
CString AppendFolder(const CString& strFolder, LPCTSTR pszPart, BOOL bCreate)
{
    CString s = strFolder + pszPart + _T("\\");
    if (bCreate)
        CreateDirectoryW(s, nullptr);
    return s;
}

}  // namespace

WMFormatInfo::~WMFormatInfo()
{
    if (pFormat)
        pFormat->Release();
}

WMCodecInfo::~WMCodecInfo()
{
    for (INT_PTR i = 0; i < arrFormats.GetSize(); ++i)
        delete arrFormats[i];
}

WMFormatInfo* WMCodecInfo::GetFormat(INT_PTR nIndex) const
{
    if (nIndex < 0 || nIndex >= arrFormats.GetSize())
        AfxThrowOleException(E_INVALIDARG);
    return arrFormats[nIndex];
}

CSondrelProfileManager::CSondrelProfileManager(LPCTSTR pszAppFolderName, LPCTSTR pszShippedFolderName,
                                               LPCTSTR pszExeFolder, LPCTSTR pszAppDataFolder)
    : m_strAppFolderName(pszAppFolderName), m_strShippedFolderName(pszShippedFolderName)
{
    if (pszExeFolder && *pszExeFolder)
    {
        m_strExeFolder = WithSeparator(pszExeFolder);
    }
    else
    {
        TCHAR szPath[MAX_PATH + 1] = {0};
        GetModuleFileNameW(nullptr, szPath, MAX_PATH);
        m_strExeFolder = szPath;
        m_strExeFolder = m_strExeFolder.Left(m_strExeFolder.ReverseFind(_T('\\')) + 1);
    }
    if (pszAppDataFolder && *pszAppDataFolder)
    {
        m_strAppDataFolder = WithSeparator(pszAppDataFolder);
    }
    else
    {
        TCHAR szPath[MAX_PATH + 1] = {0};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, szPath)))
            m_strAppDataFolder = WithSeparator(szPath);
    }

    LoadWMV();
    // One class lookup for all the collections: each creation by class id
    // reads the class's registry keys again.
    CEngineRef<IClassFactory> pFactory;
    CoGetClassObject(CLSID_MediaProfileCollection5, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                     pFactory.OutVoid());
    for (int i = 0; i < AUDIO_FORMAT_COUNT; ++i)
    {
        const int nFormat = g_AudioFormatOrder[i];
        m_nCurrentFormat = nFormat;
        if (pFactory)
            pFactory->CreateInstance(nullptr, IID_IMediaProfileCollection5,
                                     reinterpret_cast<void**>(&m_pCollections[nFormat]));
        LoadCurrentFormat();
    }
    m_nCurrentFormat = -1;
}

CSondrelProfileManager::~CSondrelProfileManager()
{
    for (INT_PTR i = 0; i < m_arrWMCodecs.GetSize(); ++i)
        delete m_arrWMCodecs[i];
    m_arrWMCodecs.RemoveAll();
    for (IMediaProfileCollection5*& pCollection : m_pCollections)
    {
        if (pCollection)
            pCollection->Release();
        pCollection = nullptr;
    }
}

CString CSondrelProfileManager::GetShippedFolder() const
{
    return m_strExeFolder + m_strShippedFolderName + _T("\\");
}

CString CSondrelProfileManager::GetUserFolder(BOOL bCreate) const
{
    if (!m_strAppDataFolder.IsEmpty())
    {
        CString s = AppendFolder(m_strAppDataFolder, _T("Quorvane"), bCreate);
        return AppendFolder(s, m_strAppFolderName, bCreate);
    }
    // Without an application-data folder the user's copies live beside the shipped ones.
    CString s = AppendFolder(m_strExeFolder, _T("SondrelProfiles"), TRUE);
    return AppendFolder(s, _T("Changed"), bCreate);
}

void CSondrelProfileManager::LoadCurrentFormat()
{
    const int f = m_nCurrentFormat;
    IMediaProfileCollection5* pCollection = m_pCollections[f];
    if (!pCollection)
        return;
    m_strLoadErrors[f].Empty();
    const CString strFile = g_AudioFormats[f].pszProfilesFile;
    const CString strUserFile = GetUserFolder(FALSE) + strFile;
    const CString strShippedFile = GetShippedFolder() + strFile;

    // A load fills an empty collection, so a file that cannot be read leaves nothing behind.
    while (GetProfileCount() > 0)
    {
        if (FAILED(pCollection->Remove(0)))
            break;
    }
    BOOL bUserFileKept = FALSE;
    HRESULT hr = S_OK;
    if (FileExists(strUserFile))
    {
        hr = pCollection->Load(CEngineString(strUserFile));
        if (FAILED(hr))
        {
            // The user's file stays as it is: the shipped profiles or the
            // default take its place for this run, and nothing is saved over it.
            BSTR b = nullptr;
            pCollection->GetLastErrorText(&b);
            m_strLoadErrors[f].Format(_T("%s: %s"), strUserFile.GetString(), TakeEngineString(b).GetString());
            APP_LOG(_T("Load profiles %s: fail (0x%08X %s), the file is kept"), strUserFile.GetString(),
                    static_cast<unsigned>(hr), m_strLoadErrors[f].GetString());
            bUserFileKept = TRUE;
            if (FileExists(strShippedFile))
                pCollection->Load(CEngineString(strShippedFile));
        }
    }
    else
    {
        hr = pCollection->Load(CEngineString(strShippedFile));
        if (hr == MEDIA_E_BAD_PROFILE_FILE)
            APP_LOG(_T("Load profiles %s: fail"), strShippedFile.GetString());
    }

    if (GetProfileCount() == 0)
    {
        AddDefaultProfile(-1);
        if (!bUserFileKept)
            pCollection->Save(CEngineString(GetUserFolder(TRUE) + strFile));
    }
}

CString CSondrelProfileManager::GetLoadError() const
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT)
        return CString();
    return m_strLoadErrors[m_nCurrentFormat];
}

int CSondrelProfileManager::GetCurrentProfileIndex() const
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT)
        return 0;
    return m_nSelected[m_nCurrentFormat];
}

void CSondrelProfileManager::SetCurrentProfileIndex(int nIndex)
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT)
        return;
    m_nSelected[m_nCurrentFormat] = nIndex;
}

int CSondrelProfileManager::GetProfileCount() const
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return 0;
    LONG n = 0;
    if (FAILED(m_pCollections[m_nCurrentFormat]->GetCount(&n)))
        return 0;
    return n;
}

IMediaPropertyBag5* CSondrelProfileManager::GetProfile(int nIndex) const
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return nullptr;
    if (nIndex == -1)
        nIndex = m_nSelected[m_nCurrentFormat];
    if (nIndex < 0 || nIndex >= GetProfileCount())
        return nullptr;
    IMediaPropertyBag5* pProfile = nullptr;
    if (FAILED(m_pCollections[m_nCurrentFormat]->GetItem(nIndex, &pProfile)))
        return nullptr;
    return pProfile;
}

void CSondrelProfileManager::SetProfile(IMediaPropertyBag5* pProfile, int nIndex)
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return;
    if (nIndex == -1)
        nIndex = m_nSelected[m_nCurrentFormat];
    if (nIndex >= 0 && nIndex < GetProfileCount())
        m_pCollections[m_nCurrentFormat]->Replace(nIndex, pProfile);
}

void CSondrelProfileManager::AddDefaultProfile(int nPosition)
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return;
    if (nPosition == -1)
        nPosition = GetProfileCount();

    CEngineRef<IMediaPropertyBag5> profile;
    if (FAILED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, profile)) || !profile)
        return;
    profile->SetInteger(CEngineString(MEDIA_PROP_CONTAINER_TYPE), 0, -1, MEDIA_PROPFLAG_PROFILE);
    profile->SetString(CEngineString(MEDIA_PROP_PROFILE_COMMENT), 0, CEngineString(_T("")),
                       MEDIA_PROPFLAG_PROFILE);

    CEngineRef<IMediaAudioFormat5> format;
    LPCTSTR pszName = _T("PCM - 44100 Hz, Stereo");
    auto makeGeneric = [&](LONG nCodec) {
        if (SUCCEEDED(CreateEngineObject(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5, format)) && format)
            format->SetCodecId(nCodec);
    };
    switch (m_nCurrentFormat)
    {
    case 0:  // MP3
        CreateEngineObject(CLSID_MediaMp3Settings5, IID_IMediaAudioFormat5, format);
        pszName = _T("MP3 - 44100 Hz, Stereo");
        break;
    case 1:  // WMA: the first format of the first Windows Media codec, when there is one
        if (m_arrWMCodecs.GetSize() > 0 && m_arrWMCodecs[0]->arrFormats.GetSize() > 0 &&
            m_arrWMCodecs[0]->arrFormats[0]->pFormat)
            m_arrWMCodecs[0]->arrFormats[0]->pFormat->Clone(format.Out());
        break;
    case 2:  // AAC in ADTS frames
    {
        CEngineRef<IMediaAacSettings5> aac;
        if (SUCCEEDED(CreateEngineObject(CLSID_MediaAacSettings5, IID_IMediaAacSettings5, aac)) && aac)
        {
            aac->SetStreamFormat(MEDIA_AAC_ADTS);
            aac.QueryTo(IID_IMediaAudioFormat5, format);
        }
        pszName = _T("AAC - 44100 Hz, Stereo");
        break;
    }
    case 3:  // M4A
        CreateEngineObject(CLSID_MediaAacSettings5, IID_IMediaAudioFormat5, format);
        pszName = _T("AAC - 44100 Hz, Stereo");
        break;
    case 4:  // WAV
        makeGeneric(MEDIA_CODEC_PCM);
        break;
    case 5:  // AIFF
    case 8:  // AU
        makeGeneric(MEDIA_CODEC_ALAW);
        pszName = _T("a-Law - 44100 Hz, Stereo");
        break;
    case 6:  // OGG
        makeGeneric(MEDIA_CODEC_VORBIS);
        if (format)
            format->SetBitrate(128000);
        pszName = _T("Vorbis - 44100 Hz, Stereo");
        break;
    case 7:  // AMR
        makeGeneric(MEDIA_CODEC_AMR_NB);
        if (format)
        {
            format->SetSampleRate(8000);
            format->SetChannels(1);
            format->SetBitrate(7000);
        }
        pszName = _T("AMR-NB - 8000 Hz, Mono");
        break;
    }
    profile->SetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, CEngineString(pszName),
                       MEDIA_PROPFLAG_PROFILE);
    profile->SetString(CEngineString(MEDIA_PROP_PROFILE_DESCRIPTION), 0, CEngineString(pszName),
                       MEDIA_PROPFLAG_PROFILE);
    if (!format)
        return;

    CEngineRef<IMediaPropertyBag5> stream;
    if (FAILED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, stream)) || !stream)
        return;
    stream->SetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, format.Get(), MEDIA_PROPFLAG_PROFILE);
    profile->SetObject(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), MEDIA_ELEMENT_APPEND, stream.Get(),
                       MEDIA_PROPFLAG_PROFILE);
    m_pCollections[m_nCurrentFormat]->Insert(nPosition, profile.Get());
}

void CSondrelProfileManager::RemoveProfile(int nIndex)
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return;
    m_pCollections[m_nCurrentFormat]->Remove(nIndex);
    if (GetProfileCount() == 0)
        AddDefaultProfile(-1);
}

void CSondrelProfileManager::MoveProfile(int nDestination, int nSource)
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return;
    if (nSource == -1)
        nSource = m_nSelected[m_nCurrentFormat];
    m_pCollections[m_nCurrentFormat]->Move(nDestination, nSource);
}

void CSondrelProfileManager::RestoreProfiles()
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT)
        return;
    LoadCurrentFormat();
}

BOOL CSondrelProfileManager::SaveProfiles(CString* pstrError)
{
    if (m_nCurrentFormat < 0 || m_nCurrentFormat >= AUDIO_FORMAT_COUNT || !m_pCollections[m_nCurrentFormat])
        return TRUE;
    IMediaProfileCollection5* pCollection = m_pCollections[m_nCurrentFormat];
    const CString strPath = GetUserFolder(TRUE) + g_AudioFormats[m_nCurrentFormat].pszProfilesFile;
    HRESULT hr = pCollection->Save(CEngineString(strPath));
    if (FAILED(hr))
    {
        BSTR b = nullptr;
        pCollection->GetLastErrorText(&b);
        CString strWhy = TakeEngineString(b);
        APP_LOG(_T("Save profiles %s: fail (0x%08X %s)"), strPath.GetString(), static_cast<unsigned>(hr),
                strWhy.GetString());
        if (pstrError != nullptr)
            *pstrError = strWhy.IsEmpty() ? strPath : strWhy;
        return FALSE;
    }
    m_strLoadErrors[m_nCurrentFormat].Empty();
    return TRUE;
}

WMCodecInfo* CSondrelProfileManager::GetWMCodec(INT_PTR nIndex) const
{
    if (nIndex < 0 || nIndex >= m_arrWMCodecs.GetSize())
        AfxThrowOleException(E_INVALIDARG);
    return m_arrWMCodecs[nIndex];
}

void CSondrelProfileManager::LoadWMV()
{
    APP_LOG(_T("Init Sondrel WMV: start"));
    CEngineRef<IMediaFile5> file;
    HRESULT hr = CreateEngineObject(CLSID_MediaFile5, IID_IMediaFile5, file);
    APP_LOG_RESULT(_T("Create media file"), SUCCEEDED(hr) && file);
    if (SUCCEEDED(hr) && file)
    {
        file->SetContainerType(MEDIA_CONTAINER_ASF);
        APP_LOG(_T("Create wm media file: done"));
        LONG nCodecs = 0;
        if (FAILED(file->GetCodecCount(&nCodecs)))
            nCodecs = 0;
        for (LONG c = 0; c < nCodecs; ++c)
        {
            WMCodecInfo* pCodec = new WMCodecInfo;
            LONG nFormats = 0;
            if (FAILED(file->GetCodecFormatCount(c, &nFormats)))
                nFormats = 0;
            for (LONG f = 0; f < nFormats; ++f)
            {
                CEngineRef<IMediaAudioFormat5> format;
                if (FAILED(file->GetCodecFormat(c, f, format.Out())) || !format)
                    continue;
                if (f == 0)
                {
                    BSTR b = nullptr;
                    format->GetCodecName(&b);
                    pCodec->strName = TakeEngineString(b);
                    format->GetCodecId(&pCodec->nCodecId);
                }
                WMFormatInfo* pInfo = new WMFormatInfo;
                BSTR b = nullptr;
                format->GetDescription(&b);
                pInfo->strDescription = TakeEngineString(b);
                pInfo->pFormat = format.Detach();
                pCodec->arrFormats.Add(pInfo);
            }
            m_arrWMCodecs.Add(pCodec);
        }
    }
    APP_LOG(_T("Init Sondrel WMV: done"));
}
