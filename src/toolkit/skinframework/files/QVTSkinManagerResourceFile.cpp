#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"

#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/skinframework/images/QVTSkinImage.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
const WCHAR kSkinTextType[] = u"TEXTFILE";

// An image name of a directory skin stays inside the skin's folder: no
// root, drive or share, no stream, and no step that climbs.
bool SkinImageNameStaysInside(const CString& strName)
{
    if (strName.IsEmpty() || strName[0] == u'\\' || strName[0] == u'/' || strName.Find(u':') >= 0)
        return false;
    int nDots = 0;
    bool bOnlyDots = true;
    for (int i = 0; i <= strName.GetLength(); ++i)
    {
        const WCHAR ch = i < strName.GetLength() ? strName[i] : u'\\';
        if (ch == u'\\' || ch == u'/')
        {
            // Windows drops a step's trailing dots and blanks: ". ." climbs too.
            if (bOnlyDots && nDots >= 2)
                return false;
            nDots = 0;
            bOnlyDots = true;
        }
        else if (ch == u'.')
            ++nDots;
        else if (ch != u' ')
            bOnlyDots = false;
    }
    return true;
}
}  // namespace

CQVTSkinManagerResourceFile::CQVTSkinManagerResourceFile(CQVTSkinManagerSite* pSite) : m_pSite(pSite) {}

CQVTSkinManagerResourceFile::~CQVTSkinManagerResourceFile()
{
    Close();
}

CString CQVTSkinManagerResourceFile::ResourceNameOf(const CString& strFileName)
{
    CString str(strFileName);
    str.Replace(u'.', u'_');
    str.Replace(u'\\', u'_');
    return str;
}

const BYTE* CQVTSkinManagerResourceFile::LockResourceBounded(HMODULE hModule, LPCTSTR lpszName,
                                                             LPCTSTR lpszType, DWORD* pcbSize)
{
    *pcbSize = 0;
    if (hModule == nullptr)
        return nullptr;
    return CQVTResource::LockBounded(hModule, lpszName, lpszType, pcbSize);
}

void CQVTSkinManagerResourceFile::Close()
{
    delete m_pTextFile;
    m_pTextFile = nullptr;
    if (m_hModule != nullptr && m_hModule != m_hPresetModule)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_pTextCursor = m_pTextEnd = nullptr;
}

BOOL CQVTSkinManagerResourceFile::Open(LPCTSTR lpszResourcePath, LPCTSTR lpszIniFileName)
{
    Close();
    m_strResourcePath = lpszResourcePath ? lpszResourcePath : u"";
    m_strIniFileName = lpszIniFileName ? lpszIniFileName : u"";

    if (m_hPresetModule != nullptr)
    {
        if (m_strIniFileName.IsEmpty())
            return FALSE;
        m_hModule = m_hPresetModule;
    }
    else
    {
        if (m_strResourcePath.IsEmpty())
            return FALSE;
        if (!m_strIniFileName.IsEmpty())
        {
            CString strIniPath = m_strResourcePath + u"\\" + m_strIniFileName;
            DWORD dwAttributes = ::GetFileAttributesW(strIniPath);
            if (dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
            {
                // The schema of a directory skin is UTF-16 text.
                m_pTextFile = new CStdioFile();
                if (m_pTextFile->Open(strIniPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText |
                                                      CFile::typeUnicode))
                    return TRUE;
                delete m_pTextFile;
                m_pTextFile = nullptr;
                return FALSE;
            }
        }
        m_hModule = ::LoadLibraryExW(m_strResourcePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (m_hModule == nullptr)
            return FALSE;
    }

    if (m_strIniFileName.IsEmpty())
        m_strIniFileName = GetDefaultIniFileName();

    DWORD cbText = 0;
    const BYTE* pText =
        LockResourceBounded(m_hModule, ResourceNameOf(m_strIniFileName), kSkinTextType, &cbText);
    if (pText == nullptr)
        return FALSE;
    m_pTextCursor = reinterpret_cast<const WCHAR*>(pText);
    m_pTextEnd = m_pTextCursor + cbText / sizeof(WCHAR);
    if (m_pTextCursor < m_pTextEnd && *m_pTextCursor == 0xFEFF)
        ++m_pTextCursor;
    return TRUE;
}

CString CQVTSkinManagerResourceFile::GetDefaultIniFileName()
{
    DWORD cbText = 0;
    const BYTE* pText = LockResourceBounded(m_hModule, u"THEMES_INI", kSkinTextType, &cbText);
    if (pText == nullptr)
        return CString();
    CString strText(reinterpret_cast<const WCHAR*>(pText), static_cast<int>(cbText / sizeof(WCHAR)));
    int nSection = strText.Find(u"[File.");
    if (nSection < 0)
        return CString();
    int nStart = nSection + 6;
    int nEnd = strText.Find(u']', nStart);
    if (nEnd < 0)
        return CString();
    return strText.Mid(nStart, nEnd - nStart) + u"_ini";
}

BOOL CQVTSkinManagerResourceFile::ReadString(CString& str)
{
    if (m_pTextFile != nullptr)
    {
        if (m_pTextFile->ReadString(str))
            return TRUE;
        delete m_pTextFile;
        m_pTextFile = nullptr;
        return FALSE;
    }
    if (m_pTextCursor == nullptr || m_pTextCursor >= m_pTextEnd)
        return FALSE;
    const WCHAR* p = m_pTextCursor;
    while (p < m_pTextEnd && *p != u'\r' && *p != 0)
        ++p;
    // The last line counts without its CR; a NUL ends the text.
    str = CString(m_pTextCursor, static_cast<int>(p - m_pTextCursor));
    if (p >= m_pTextEnd || *p == 0)
    {
        m_pTextCursor = m_pTextEnd;
        return !str.IsEmpty();
    }
    ++p;
    if (p < m_pTextEnd && *p == u'\n')
        ++p;
    m_pTextCursor = p;
    return TRUE;
}

CQVTSkinImage* CQVTSkinManagerResourceFile::LoadImage(const CString& strImageName, BOOL bConvertAlpha)
{
    if (strImageName.IsEmpty())
        return nullptr;
    auto pImage = std::make_unique<CQVTSkinImage>();
    if (m_hModule == nullptr)
    {
        // A directory skin; its INI file may be closed by now.
        if (m_strResourcePath.IsEmpty() || !SkinImageNameStaysInside(strImageName))
            return nullptr;
        CString strPath = m_strResourcePath + u"\\" + strImageName;
        DWORD dwAttributes = ::GetFileAttributesW(strPath);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return nullptr;
        if (!pImage->LoadFile(strPath, bConvertAlpha))
            return nullptr;
    }
    else if (!pImage->LoadBitmap(m_hModule, ResourceNameOf(strImageName), bConvertAlpha))
        return nullptr;
    return pImage.release();
}

CQVTSkinManagerSchema* CQVTSkinManagerResourceFile::CreateSchema()
{
    return new CQVTSkinManagerSchema(this);
}
