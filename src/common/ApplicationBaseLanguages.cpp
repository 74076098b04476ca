// CApplicationBase: the language table and what it selects.
#include "common/ApplicationBase.h"

#include <shlwapi.h>

#include "common/LanguageStrings.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

struct LanguageRow
{
    LPCTSTR pszCode;
    LPCTSTR pszResourceFile;  // in Localizations\; null: the program's own resources
    LPCTSTR pszLocale;        // the run-time's character-type locale
};

// By language id; ids outside the table are English.
const LanguageRow kLanguages[] = {
    {_T("EN"), nullptr, nullptr},
    {_T("RU"), _T("russian.dll"), _T("ru")},
    {_T("DE"), _T("german.dll"), _T("de")},
    {_T("PL"), _T("polish.dll"), _T("pl")},
    {_T("JA"), _T("japanese.dll"), _T("ja")},
    {_T("FR"), _T("french.dll"), _T("fr")},
    {_T("IT"), _T("italian.dll"), _T("it")},
    {_T("ES"), _T("spanish.dll"), _T("es")},
    {_T("PT"), _T("portuguese.dll"), _T("pt")},
    {_T("ZH-CN"), _T("Chinese (Simplified), Simplified.dll"), _T("zh-CN")},
    {_T("FA"), _T("persian.dll"), _T("fa-IR")},
    {_T("TR"), _T("turkish.dll"), _T("tr")},
    {_T("HI"), _T("hindi.dll"), _T("hi")},
    {_T("UR"), _T("urdu.dll"), _T("ur")},
    {_T("BN"), _T("Bengali.dll"), _T("bn")},
};

const LanguageRow& RowOf(int nLanguageId)
{
    const int nRows = static_cast<int>(sizeof(kLanguages) / sizeof(kLanguages[0]));
    return kLanguages[nLanguageId > 0 && nLanguageId < nRows ? nLanguageId : 0];
}

}  // namespace

CString CApplicationBase::GetLanguageCode() const
{
    return RowOf(m_nLanguageId).pszCode;
}

BOOL CApplicationBase::LoadLanguage(LPCTSTR pszFolder, LPCTSTR pszFileName)
{
    CString strPath = m_strExeFolder + _T("Localizations\\");
    if (pszFolder != nullptr)
        strPath += pszFolder;
    if (pszFileName != nullptr)
    {
        strPath += pszFileName;
        QVTResourceManager()->SetResourceFile(strPath);
        return TRUE;
    }
    const LanguageRow& row = RowOf(m_nLanguageId);
    if (row.pszResourceFile == nullptr)
        return TRUE;
    strPath += row.pszResourceFile;
    // Without the file the program's own (English) resources stay in use.
    if (::PathFileExistsW(strPath))
        QVTResourceManager()->SetResourceFile(strPath);
    _tsetlocale(LC_CTYPE, row.pszLocale);
    return TRUE;
}

BOOL CApplicationBase::InitLanguages(LPCTSTR pszPath)
{
    if (!m_bComInitialized)
        return FALSE;
    m_pLanguageStrings = std::make_unique<CLanguageStrings>();
    try
    {
        m_pLanguageStrings->Load(pszPath);
    }
    // A pack the DOM cannot walk leaves what was read so far.
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    WriteLogInto(_T("create languages support: done"));
    return TRUE;
}

CString AFXAPI LoadAppString(UINT nID)
{
    CString strText;
    QVTResourceManager()->LoadString(&strText, nID);
    return strText;
}
