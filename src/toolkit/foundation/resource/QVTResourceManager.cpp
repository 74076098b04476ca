#include "toolkit/foundation/resource/QVTResourceManager.h"

#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManagerXML.h"
#include "toolkit/foundation/stream/QVTTextDecoder.h"

#include <cstring>

namespace {
const QVT_LANGUAGE_INFO kLanguages[] = {
    {0x0419, 1251, u"windows-1251", u"Russian", u"LANG_RUSSIAN", u"SUBLANG_DEFAULT", 204},
    {0x0411, 932, u"shift-jis", u"Japanese", u"LANG_JAPANESE", u"SUBLANG_DEFAULT", 128},
    {0x0401, 1256, u"windows-1256", u"Arabic (Saudi Arabia)", u"LANG_ARABIC", u"SUBLANG_ARABIC_SAUDI_ARABIA",
     178},
    {0x0405, 1250, u"windows-1250", u"Czech", u"LANG_CZECH", u"SUBLANG_DEFAULT", 238},
    {0x0406, 1252, u"windows-1252", u"Danish", u"LANG_DANISH", u"SUBLANG_DEFAULT", 0},
    {0x0407, 1252, u"windows-1252", u"German (Germany)", u"LANG_GERMAN", u"SUBLANG_GERMAN", 0},
    {0x0408, 1253, u"windows-1253", u"Greek", u"LANG_GREEK", u"SUBLANG_DEFAULT", 161},
    // Code page 0: the system's ANSI code page.
    {0x0409, 0, u"windows-1252", u"English (United States)", u"LANG_ENGLISH", u"SUBLANG_ENGLISH_US", 0},
    {0x0C0A, 1252, u"windows-1252", u"Spanish (Spain - Modern Sort)", u"LANG_SPANISH",
     u"SUBLANG_SPANISH_MODERN", 0},
    {0x0425, 1257, u"windows-1257", u"Estonian", u"LANG_ESTONIAN", u"SUBLANG_DEFAULT", 186},
    {0x040B, 1252, u"windows-1252", u"Finnish", u"LANG_FINNISH", u"SUBLANG_DEFAULT", 0},
    {0x040C, 1252, u"windows-1252", u"French (France)", u"LANG_FRENCH", u"SUBLANG_FRENCH", 0},
    {0x040D, 1255, u"windows-1255", u"Hebrew", u"LANG_HEBREW", u"SUBLANG_DEFAULT", 177},
    {0x041A, 1250, u"windows-1250", u"Croatian", u"LANG_CROATIAN", u"SUBLANG_DEFAULT", 238},
    {0x040E, 1250, u"windows-1250", u"Hungarian", u"LANG_HUNGARIAN", u"SUBLANG_DEFAULT", 238},
    {0x0410, 1252, u"windows-1252", u"Italian (Italy)", u"LANG_ITALIAN", u"SUBLANG_ITALIAN", 0},
    {0x0412, 949, u"ks_c_5601", u"Korean", u"LANG_KOREAN", u"SUBLANG_DEFAULT", 129},
    {0x0427, 1257, u"windows-1257", u"Lithuanian", u"LANG_LITHUANIAN", u"SUBLANG_LITHUANIAN", 186},
    {0x0426, 1257, u"windows-1257", u"Latvian", u"LANG_LATVIAN", u"SUBLANG_DEFAULT", 186},
    {0x0413, 1252, u"windows-1252", u"Dutch", u"LANG_DUTCH", u"SUBLANG_DUTCH", 0},
    {0x0414, 1252, u"windows-1252", u"Norwegian (Bokmal)", u"LANG_NORWEGIAN", u"SUBLANG_NORWEGIAN_BOKMAL", 0},
    {0x0415, 1250, u"windows-1250", u"Polish", u"LANG_POLISH", u"SUBLANG_DEFAULT", 238},
    {0x0816, 1252, u"windows-1252", u"Portuguese (Portugal)", u"LANG_PORTUGUESE", u"SUBLANG_PORTUGUESE", 0},
    {0x0416, 1252, u"windows-1252", u"Portuguese (Brazil)", u"LANG_PORTUGUESE",
     u"SUBLANG_PORTUGUESE_BRAZILIAN", 0},
    {0x0418, 1250, u"windows-1250", u"Romanian", u"LANG_ROMANIAN", u"SUBLANG_DEFAULT", 238},
    {0x081A, 1250, u"windows-1250", u"Serbian", u"LANG_SERBIAN", u"SUBLANG_SERBIAN_LATIN", 238},
    {0x041B, 1250, u"windows-1250", u"Slovak", u"LANG_SLOVAK", u"SUBLANG_DEFAULT", 238},
    {0x0424, 1250, u"windows-1250", u"Slovenian", u"LANG_SLOVENIAN", u"SUBLANG_DEFAULT", 238},
    {0x041D, 1252, u"windows-1252", u"Swedish", u"LANG_SWEDISH", u"SUBLANG_DEFAULT", 0},
    {0x041E, 874, u"windows-874", u"Thai", u"LANG_THAI", u"SUBLANG_DEFAULT", 222},
    {0x041F, 1254, u"windows-1254", u"Turkish", u"LANG_TURKISH", u"SUBLANG_DEFAULT", 162},
    {0x0422, 1251, u"windows-1251", u"Ukrainian ", u"LANG_UKRAINIAN", u"SUBLANG_DEFAULT", 204},
    {0x0402, 1251, u"windows-1251", u"Bulgarian", u"LANG_BULGARIAN", u"SUBLANG_DEFAULT", 204},
    {0x0804, 936, u"gb2312", u"Chinese (PRC)", u"LANG_CHINESE", u"SUBLANG_CHINESE_SIMPLIFIED", 134},
    {0x0404, 950, u"big5", u"Chinese (Taiwan)", u"LANG_CHINESE", u"SUBLANG_CHINESE_TRADITIONAL", 136},
};

const LANGID kEnglishUS = 0x0409;

// The module every manager shares; null searches the program's own file.
HMODULE g_hResourceModule = nullptr;

struct CQVTResourceManagerHolder : public CNoTrackObject
{
    CQVTResourceManager* m_pManager = nullptr;
    ~CQVTResourceManagerHolder() override { delete m_pManager; }
};

PROCESS_LOCAL(CQVTResourceManagerHolder, g_resourceManagerHolder)

// Resource-loading calls take a null module for the system's own resources:
// the program's file must be named.
HMODULE ModuleOrProgram(HMODULE hModule)
{
    return hModule != nullptr ? hModule : ::GetModuleHandleW(nullptr);
}

struct LanguageSearch
{
    LANGID wFound = 0;
    BOOL bDone = FALSE;
};

BOOL CALLBACK OnResourceLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD wLanguage, LONG_PTR lParam)
{
    LanguageSearch* pSearch = reinterpret_cast<LanguageSearch*>(lParam);
    if (wLanguage == 0)
        return TRUE;
    if (wLanguage != kEnglishUS)
    {
        pSearch->wFound = wLanguage;
        pSearch->bDone = TRUE;
        return FALSE;
    }
    pSearch->wFound = kEnglishUS;
    return TRUE;
}

BOOL CALLBACK OnResourceName(HMODULE hModule, LPCWSTR lpszType, LPWSTR lpszName, LONG_PTR lParam)
{
    ::EnumResourceLanguagesW(hModule, lpszType, lpszName, &OnResourceLanguage, lParam);
    return !reinterpret_cast<LanguageSearch*>(lParam)->bDone;
}

BOOL CALLBACK OnResourceType(HMODULE hModule, LPWSTR lpszType, LONG_PTR lParam)
{
    ::EnumResourceNamesW(hModule, lpszType, &OnResourceName, lParam);
    return !reinterpret_cast<LanguageSearch*>(lParam)->bDone;
}

CQVTResourceManager::PFN_LOG_LINE g_pfnLogLine = nullptr;

// Reads a dialog template the way the dialog manager does, refusing to step
// past its end: the system itself trusts every count and string in it.
class DialogTemplateWalk
{
public:
    DialogTemplateWalk(const BYTE* pData, DWORD cbSize) : m_p(pData), m_pEnd(pData + cbSize) {}

    bool Fits()
    {
        // The extended form starts with version 1 and 0xFFFF and holds a
        // help id before its styles: its fixed header is 26 bytes long, the
        // regular form's 18.
        WORD wHead[2] = {};
        if (m_pEnd - m_p < 18)
            return false;
        std::memcpy(wHead, m_p, sizeof(wHead));
        const bool bEx = wHead[0] == 1 && wHead[1] == 0xFFFF;
        if (bEx && m_pEnd - m_p < 26)
            return false;
        DWORD dwStyle = 0;
        WORD nItems = 0;
        std::memcpy(&dwStyle, m_p + (bEx ? 12 : 0), sizeof(dwStyle));
        std::memcpy(&nItems, m_p + (bEx ? 16 : 8), sizeof(nItems));
        m_p += bEx ? 26 : 18;
        // The menu, the class and the title.
        if (!NameOrOrdinal() || !NameOrOrdinal() || !String())
            return false;
        if (dwStyle & DS_SETFONT)
        {
            WORD nPointSize = 0;
            if (!Word(&nPointSize))
                return false;
            // 0x7FFF takes the message font: nothing more follows.
            if (nPointSize != 0x7FFF && (!Skip(bEx ? 4 : 0) || !String()))
                return false;
        }
        for (WORD i = 0; i < nItems; ++i)
        {
            // Each item starts on a DWORD boundary of its address. The dialog
            // manager skips creation data in whole words: an odd count puts
            // the next item elsewhere than the data's end says, and is
            // refused.
            WORD nData = 0;
            if (!Skip((4 - (reinterpret_cast<ULONG_PTR>(m_p) & 3)) & 3) || !Skip(bEx ? 24 : 18) ||
                !NameOrOrdinal() || !NameOrOrdinal() || !Word(&nData) || (nData & 1) != 0 || !Skip(nData))
                return false;
        }
        return true;
    }

private:
    bool Skip(size_t cb)
    {
        if (static_cast<size_t>(m_pEnd - m_p) < cb)
            return false;
        m_p += cb;
        return true;
    }
    bool Word(WORD* pw)
    {
        if (m_pEnd - m_p < 2)
            return false;
        std::memcpy(pw, m_p, sizeof(WORD));
        m_p += 2;
        return true;
    }
    bool String()
    {
        WORD w = 0;
        do
        {
            if (!Word(&w))
                return false;
        } while (w != 0);
        return true;
    }
    // A menu, a class or an item's title: 0xFFFF and an ordinal, or a string
    // (a lone 0 is the empty one).
    bool NameOrOrdinal()
    {
        WORD w = 0;
        if (!Word(&w))
            return false;
        if (w == 0xFFFF)
            return Skip(2);
        return w == 0 || String();
    }

    const BYTE* m_p;
    const BYTE* m_pEnd;
};

// The resource's bytes hold the whole template, every item included.
BOOL IsWholeDialogTemplate(HMODULE hModule, HRSRC hResource)
{
    DWORD nSize = 0;
    const BYTE* pData = CQVTResource::LockBounded(hModule, hResource, &nSize);
    return pData != nullptr && DialogTemplateWalk(pData, nSize).Fits();
}

CString ResourceName(LPCTSTR lpszName)
{
    CString strName;
    if (IS_INTRESOURCE(lpszName))
        strName.Format(u"%u", static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszName)));
    else
        strName = lpszName;
    return strName;
}
}  // namespace

CQVTResourceManager* AFXAPI QVTResourceManager()
{
    CQVTResourceManagerHolder* pHolder = g_resourceManagerHolder.GetData();
    if (pHolder == nullptr)
        AfxThrowInvalidArgException();
    if (pHolder->m_pManager == nullptr)
        pHolder->m_pManager = new CQVTResourceManager();
    return pHolder->m_pManager;
}

CQVTResourceManager::CQVTResourceManager()
    : m_bValid(TRUE), m_hResourceFile(nullptr), m_pLanguageInfo(FindLanguageInfo(kEnglishUS)),
      m_bUseLanguageCharset(FALSE), m_nIconTitleCharset(DEFAULT_CHARSET)
{
    LOGFONTW lf = {};
    if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
        m_nIconTitleCharset = lf.lfCharSet;
}

CQVTResourceManager::~CQVTResourceManager()
{
    CQVTResourceManager::Close();
}

void AFX_CDECL CQVTResourceManager::SetLogHandler(PFN_LOG_LINE pfnLogLine)
{
    g_pfnLogLine = pfnLogLine;
}

const QVT_LANGUAGE_INFO* AFX_CDECL CQVTResourceManager::FindLanguageInfo(LANGID wLanguage)
{
    for (const QVT_LANGUAGE_INFO& info : kLanguages)
    {
        if (info.wLanguage == wLanguage)
            return &info;
    }
    return nullptr;
}

const QVT_LANGUAGE_INFO* AFX_CDECL CQVTResourceManager::GetLanguageTable(int* pnCount)
{
    if (pnCount != nullptr)
        *pnCount = static_cast<int>(sizeof(kLanguages) / sizeof(kLanguages[0]));
    return kLanguages;
}

void CQVTResourceManager::SetLanguage(LANGID wLanguage)
{
    const QVT_LANGUAGE_INFO* pInfo = FindLanguageInfo(wLanguage);
    m_pLanguageInfo = pInfo != nullptr ? pInfo : FindLanguageInfo(kEnglishUS);
}

LANGID CQVTResourceManager::GetLanguage() const
{
    return m_pLanguageInfo->wLanguage;
}

BYTE CQVTResourceManager::GetFontCharset() const
{
    if (m_pLanguageInfo != nullptr && m_bUseLanguageCharset)
        return m_pLanguageInfo->nFontCharSet;
    return m_nIconTitleCharset;
}

void CQVTResourceManager::Close()
{
    if (m_hResourceFile != nullptr)
    {
        ::FreeLibrary(m_hResourceFile);
        m_hResourceFile = nullptr;
    }
}

void CQVTResourceManager::UpdateResourcesLangID()
{
    SetLanguage(GetModuleResourceLanguage(g_hResourceModule));
}

LANGID AFX_CDECL CQVTResourceManager::GetModuleResourceLanguage(HMODULE hModule)
{
    LanguageSearch search;
    ::EnumResourceTypesW(ModuleOrProgram(hModule), &OnResourceType, reinterpret_cast<LONG_PTR>(&search));
    return search.wFound;
}

HMODULE AFX_CDECL CQVTResourceManager::GetResourceHandle()
{
    return g_hResourceModule;
}

void CQVTResourceManager::SetResourceHandle(HMODULE hModule)
{
    g_hResourceModule = hModule;
    UpdateResourcesLangID();
}

void CQVTResourceManager::SetResourceFile(const CString& strResourceFile)
{
    CString strExtension = strResourceFile.GetLength() < 4 ? CString() : strResourceFile.Right(3);
    strExtension.MakeLower();
    if (strExtension != u"xml")
    {
        CQVTResourceManager* pManager = new CQVTResourceManager();
        if (!strResourceFile.IsEmpty())
            pManager->m_hResourceFile = ::LoadLibraryW(strResourceFile);
        HMODULE hModule = pManager->m_hResourceFile;
        if (hModule == nullptr)
            hModule = AfxGetInstanceHandle();
        if (hModule == nullptr)
            hModule = ::GetModuleHandleW(nullptr);
        // Installed first: the manager it replaces may free this very module
        // (LoadLibrary gave the same handle again) and clear the shared handle.
        if (InstallManager(pManager))
            pManager->SetResourceHandle(hModule);
    }
    else
    {
        InstallManager(new CQVTResourceManagerXML(strResourceFile));
    }
}

BOOL AFX_CDECL CQVTResourceManager::InstallManager(CQVTResourceManager* pManager)
{
    if (pManager == nullptr)
        return FALSE;
    if (!pManager->m_bValid)
    {
        delete pManager;
        return FALSE;
    }
    pManager->UpdateResourcesLangID();
    CQVTResourceManagerHolder* pHolder = g_resourceManagerHolder.GetData();
    if (pHolder == nullptr)
        AfxThrowInvalidArgException();
    CQVTResourceManager* pPrevious = pHolder->m_pManager;
    if (pPrevious != pManager)
    {
        // The previous manager frees its DLL: resources must not keep coming
        // from a module that is gone, so the program's own file takes over.
        if (pPrevious != nullptr && pPrevious->m_hResourceFile != nullptr &&
            pPrevious->m_hResourceFile == g_hResourceModule)
            g_hResourceModule = nullptr;
        pHolder->m_pManager = pManager;
        delete pPrevious;
    }
    return TRUE;
}

CString CQVTResourceManager::LoadString(UINT nID, BOOL* pbError)
{
    CString str;
    BOOL bLoaded = LoadString(&str, nID);
    if (pbError != nullptr)
        *pbError = !bLoaded;
    return str;
}

BOOL CQVTResourceManager::LoadString(CString* pString, UINT nID)
{
    if (pString == nullptr)
        return FALSE;
    if (LoadStringFromModule(g_hResourceModule, nID, pString) > 0)
        return TRUE;
    return pString->LoadString(nID);
}

int AFX_CDECL CQVTResourceManager::LoadStringFromModule(HMODULE hModule, UINT nID, CString* pString)
{
    if (pString == nullptr)
        return 0;
    pString->Empty();
    hModule = ModuleOrProgram(hModule);
    HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW((nID >> 4) + 1), MAKEINTRESOURCEW(6));
    if (hResource == nullptr)
        return 0;
    // A language module's table is held to its mapping.
    DWORD nSize = 0;
    const WORD* pWords = reinterpret_cast<const WORD*>(CQVTResource::LockBounded(hModule, hResource, &nSize));
    if (pWords == nullptr)
        return 0;
    const WORD* pEnd = pWords + nSize / sizeof(WORD);
    // Each entry: its length, then that many UTF-16 units.
    for (UINT i = 0; i < (nID & 15); ++i)
    {
        if (pWords >= pEnd || pEnd - pWords - 1 < *pWords)
            return 0;
        pWords += 1 + *pWords;
    }
    if (pWords >= pEnd)
        return 0;
    int nLength = *pWords;
    if (nLength == 0 || pEnd - pWords - 1 < nLength)
        return 0;
    *pString = CString(reinterpret_cast<LPCWSTR>(pWords + 1), nLength);
    return nLength;
}

BOOL CQVTResourceManager::LoadMenu(CMenu* pMenu, UINT nID)
{
    if (pMenu == nullptr)
        return FALSE;
    LPCWSTR lpszName = MAKEINTRESOURCEW(nID);
    HMENU hMenu = nullptr;
    if (::FindResourceW(ModuleOrProgram(g_hResourceModule), lpszName, MAKEINTRESOURCEW(4)) != nullptr)
        hMenu = ::LoadMenuW(ModuleOrProgram(g_hResourceModule), lpszName);
    else
        hMenu = ::LoadMenuW(ModuleOrProgram(AfxFindResourceHandle(lpszName, MAKEINTRESOURCEW(4))), lpszName);
    return hMenu != nullptr && pMenu->Attach(hMenu);
}

BOOL CQVTResourceManager::LoadBitmap(CBitmap* pBitmap, LPCTSTR lpszResource)
{
    if (pBitmap == nullptr)
        return FALSE;
    HBITMAP hBitmap = nullptr;
    if (::FindResourceW(ModuleOrProgram(g_hResourceModule), lpszResource, MAKEINTRESOURCEW(2)) != nullptr)
        hBitmap = ::LoadBitmapW(ModuleOrProgram(g_hResourceModule), lpszResource);
    else
        hBitmap = ::LoadBitmapW(ModuleOrProgram(AfxFindResourceHandle(lpszResource, MAKEINTRESOURCEW(2))),
                                lpszResource);
    return hBitmap != nullptr && pBitmap->Attach(hBitmap);
}

BOOL CQVTResourceManager::LoadBitmap(CBitmap* pBitmap, UINT nID)
{
    return LoadBitmap(pBitmap, MAKEINTRESOURCEW(nID));
}

HCURSOR CQVTResourceManager::LoadCursor(UINT nID)
{
    LPCWSTR lpszName = MAKEINTRESOURCEW(nID);
    if (::FindResourceW(ModuleOrProgram(g_hResourceModule), lpszName, MAKEINTRESOURCEW(12)) != nullptr)
        return ::LoadCursorW(ModuleOrProgram(g_hResourceModule), lpszName);
    return ::LoadCursorW(ModuleOrProgram(AfxFindResourceHandle(lpszName, MAKEINTRESOURCEW(12))), lpszName);
}

LPCDLGTEMPLATE CQVTResourceManager::LoadDialogTemplate(UINT nID)
{
    if (nID == 0)
        return nullptr;
    HGLOBAL hTemplate = LoadDialogResource(MAKEINTRESOURCEW(nID));
    return hTemplate != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

HGLOBAL CQVTResourceManager::LoadDialogResource(LPCTSTR lpszResource)
{
    HMODULE hModule = nullptr;
    HRSRC hResource = FindResource(&hModule, lpszResource, MAKEINTRESOURCEW(5));
    if (hResource == nullptr)
        return nullptr;
    hModule = ModuleOrProgram(hModule);
    // The dialog manager reads every item the header counts, whatever the
    // resource's size: a template that runs past its end is refused.
    if (IsWholeDialogTemplate(hModule, hResource))
        return ::LoadResource(hModule, hResource);
    const HMODULE hProgram = ModuleOrProgram(AfxGetInstanceHandle());
    if (hModule == hProgram)
        return nullptr;
    // A language module's damaged template gives way to the program's own.
    WCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(hModule, szModule, MAX_PATH);
    hResource = ::FindResourceW(hProgram, lpszResource, MAKEINTRESOURCEW(5));
    const BOOL bOwn = hResource != nullptr && IsWholeDialogTemplate(hProgram, hResource);
    if (g_pfnLogLine != nullptr)
    {
        CString strLine;
        strLine.Format(u"Dialog template %s of the language module \"%s\" is damaged: %s",
                       ResourceName(lpszResource).GetString(), szModule,
                       bOwn ? u"the program's own is used" : u"refused, the program has none");
        g_pfnLogLine(strLine);
    }
    return bOwn ? ::LoadResource(hProgram, hResource) : nullptr;
}

HRSRC CQVTResourceManager::FindResource(HMODULE* phModule, LPCTSTR lpszName, LPCTSTR lpszType) const
{
    HMODULE hModule = ModuleOrProgram(g_hResourceModule);
    HRSRC hResource = ::FindResourceW(hModule, lpszName, lpszType);
    if (hResource == nullptr)
    {
        hModule = ModuleOrProgram(AfxFindResourceHandle(lpszName, lpszType));
        hResource = ::FindResourceW(hModule, lpszName, lpszType);
    }
    if (phModule != nullptr)
        *phModule = hModule;
    return hResource;
}

BOOL CQVTResourceManager::LoadHTML(CString* pText, LPCTSTR lpszResource)
{
    if (pText == nullptr)
        return FALSE;
    HMODULE hModule = nullptr;
    HRSRC hResource = FindResource(&hModule, lpszResource, MAKEINTRESOURCEW(23));
    if (hResource == nullptr)
        return FALSE;
    DWORD nSize = 0;
    LPCSTR pBytes = reinterpret_cast<LPCSTR>(CQVTResource::LockBounded(hModule, hResource, &nSize));
    if (pBytes == nullptr || nSize == 0 || nSize > 0x3FFFFFFF)
        return FALSE;
    std::vector<WCHAR> buffer(nSize + 1, 0);
    int nCount = ::MultiByteToWideChar(CP_ACP, 0, pBytes, static_cast<int>(nSize), buffer.data(),
                                       static_cast<int>(nSize));
    *pText = buffer.data();
    return nCount > 0;
}

BOOL CQVTResourceManager::LoadHTML(CString* pText, UINT nID)
{
    return LoadHTML(pText, MAKEINTRESOURCEW(nID));
}

HICON CQVTResourceManager::LoadIcon(UINT nID, CSize size)
{
    return LoadIcon(MAKEINTRESOURCEW(nID), size);
}

HICON CQVTResourceManager::LoadIcon(LPCTSTR lpszResource, CSize size)
{
    HMODULE hModule = ModuleOrProgram(g_hResourceModule);
    if (::FindResourceW(hModule, lpszResource, MAKEINTRESOURCEW(14)) == nullptr)
        hModule = ModuleOrProgram(AfxFindResourceHandle(lpszResource, MAKEINTRESOURCEW(14)));
    return static_cast<HICON>(
        ::LoadImageW(hModule, lpszResource, IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
}

BOOL CQVTResourceManager::LoadXAML(CString* pText, UINT nID)
{
    if (pText == nullptr)
        return FALSE;
    LPCWSTR lpszName = MAKEINTRESOURCEW(nID);
    static const WCHAR kType[] = u"RT_XAML";
    HMODULE hModule = ModuleOrProgram(g_hResourceModule);
    HRSRC hResource = ::FindResourceW(hModule, lpszName, kType);
    if (hResource == nullptr)
    {
        hModule = ModuleOrProgram(AfxFindResourceHandle(lpszName, kType));
        hResource = ::FindResourceW(hModule, lpszName, kType);
    }
    if (hResource == nullptr)
        return FALSE;
    DWORD nSize = 0;
    const void* pBytes = CQVTResource::LockBounded(hModule, hResource, &nSize);
    if (pBytes == nullptr || nSize == 0 || nSize > 0x3FFFFFFF)
        return FALSE;
    std::vector<WCHAR> buffer(nSize + 1, 0);
    DWORD nLength = nSize + 1;
    if (!DecodeTextToWide(pBytes, nSize, buffer.data(), &nLength))
        return FALSE;
    *pText = CString(buffer.data(), static_cast<int>(nLength));
    return TRUE;
}

HICON CQVTResourceManager::CreateIconFromModule(HMODULE hModule, LPCTSTR lpszID, CSize size)
{
    DWORD nGroupSize = 0;
    const BYTE* pGroup = CQVTResource::LockBounded(hModule, lpszID, MAKEINTRESOURCEW(14), &nGroupSize);
    if (pGroup == nullptr || nGroupSize < 6 ||
        nGroupSize < 6 + 14u * static_cast<DWORD>(pGroup[4] | (pGroup[5] << 8)))
        return nullptr;
    int nIconId = ::LookupIconIdFromDirectoryEx(const_cast<PBYTE>(pGroup), TRUE, size.cx, size.cy, 0);
    if (nIconId == 0)
        return nullptr;
    DWORD nIconSize = 0;
    const BYTE* pIcon =
        CQVTResource::LockBounded(hModule, MAKEINTRESOURCEW(nIconId), MAKEINTRESOURCEW(3), &nIconSize);
    if (pIcon == nullptr || nIconSize == 0)
        return nullptr;
    return ::CreateIconFromResourceEx(const_cast<PBYTE>(pIcon), nIconSize, TRUE, 0x00030000, size.cx, size.cy,
                                      0);
}

int CQVTResourceManager::ShowMessageBox(LPCTSTR lpszText, UINT nType)
{
    if (m_pLanguageInfo != nullptr &&
        (m_pLanguageInfo->nCodePage == 1255 || m_pLanguageInfo->nCodePage == 1256))
        nType |= MB_RTLREADING;
    return AfxMessageBox(lpszText, nType, 0);
}

int CQVTResourceManager::GetMenuString(CMenu* pMenu, UINT nIDItem, CString& rString, UINT nFlags) const
{
    HMENU hMenu = pMenu != nullptr ? pMenu->GetSafeHmenu() : nullptr;
    if (hMenu == nullptr)
        return 0;
    int nLength = ::GetMenuStringW(hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength < 1)
    {
        rString.Empty();
        return nLength;
    }
    ::GetMenuStringW(hMenu, nIDItem, rString.GetBufferSetLength(nLength + 1), nLength + 1, nFlags);
    rString.ReleaseBuffer();
    return nLength;
}

// CQVTResourceHandleSwitch

CQVTResourceHandleSwitch::CQVTResourceHandleSwitch() : m_hSaved(nullptr), m_bSwitched(FALSE)
{
    HMODULE hModule = CQVTResourceManager::GetResourceHandle();
    if (hModule != nullptr)
    {
        m_hSaved = AfxGetResourceHandle();
        AfxSetResourceHandle(hModule);
        m_bSwitched = TRUE;
    }
}

CQVTResourceHandleSwitch::~CQVTResourceHandleSwitch()
{
    Restore();
}

void CQVTResourceHandleSwitch::Restore()
{
    if (m_bSwitched)
    {
        AfxSetResourceHandle(m_hSaved);
        m_bSwitched = FALSE;
    }
}

// CQVTCodePageString

CQVTCodePageString::CQVTCodePageString(LPCWSTR lpszText) : m_pszText(nullptr)
{
    const QVT_LANGUAGE_INFO* pInfo = QVTResourceManager()->GetLanguageInfo();
    UINT nCodePage = pInfo != nullptr ? pInfo->nCodePage : CP_ACP;
    int nBytes = lpszText != nullptr
                     ? ::WideCharToMultiByte(nCodePage, 0, lpszText, -1, nullptr, 0, nullptr, nullptr)
                     : 0;
    m_pszText = new char[nBytes > 0 ? nBytes : 1];
    m_pszText[0] = 0;
    if (nBytes > 0)
        ::WideCharToMultiByte(nCodePage, 0, lpszText, -1, m_pszText, nBytes, nullptr, nullptr);
}

CQVTCodePageString::~CQVTCodePageString()
{
    delete[] m_pszText;
}
