// The one place through which the toolkit and the application load their
// localizable resources: from a language DLL, an XML language file or the
// program's own file, the language source first and the framework's search
// after it, so that a partial translation still gives a whole interface.
#pragma once

#include <afxwin.h>

// One row of the language table.
struct QVT_LANGUAGE_INFO
{
    WORD wLanguage;
    UINT nCodePage;
    LPCTSTR lpszEncoding;
    LPCTSTR lpszCaption;
    LPCTSTR lpszLang;
    LPCTSTR lpszSubLang;
    BYTE nFontCharSet;
};

class CQVTResourceManager : public CNoTrackObject
{
public:
    CQVTResourceManager();
    ~CQVTResourceManager() override;

    virtual CString LoadString(UINT nID, BOOL* pbError);
    virtual BOOL LoadString(CString* pString, UINT nID);
    virtual BOOL LoadMenu(CMenu* pMenu, UINT nID);
    virtual BOOL LoadBitmap(CBitmap* pBitmap, LPCTSTR lpszResource);
    virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nID);
    virtual HCURSOR LoadCursor(UINT nID);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nID);
    virtual HGLOBAL LoadDialogResource(LPCTSTR lpszResource);
    virtual BOOL LoadHTML(CString* pText, LPCTSTR lpszResource);
    virtual BOOL LoadHTML(CString* pText, UINT nID);
    virtual HICON LoadIcon(UINT nID, CSize size);
    virtual HICON LoadIcon(LPCTSTR lpszResource, CSize size);
    virtual BOOL LoadXAML(CString* pText, UINT nID);
    virtual HICON CreateIconFromModule(HMODULE hModule, LPCTSTR lpszID, CSize size);
    virtual void Close();
    virtual LANGID GetLanguage() const;
    virtual void UpdateResourcesLangID();

    // Selects the language source: a path ending in "xml" an XML language
    // file, any other a language DLL (an empty path the program's own file).
    void SetResourceFile(const CString& strResourceFile);
    void SetResourceHandle(HMODULE hModule);
    static HMODULE AFX_CDECL GetResourceHandle();
    // Makes pManager current, deleting the previous one; an invalid manager
    // is deleted instead and the previous one stays.
    static BOOL AFX_CDECL InstallManager(CQVTResourceManager* pManager);

    void SetLanguage(LANGID wLanguage);
    const QVT_LANGUAGE_INFO* GetLanguageInfo() const { return m_pLanguageInfo; }
    BYTE GetFontCharset() const;
    void EnableLanguageCharset(BOOL bEnable) { m_bUseLanguageCharset = bEnable; }
    BOOL IsValid() const { return m_bValid; }
    HMODULE GetOwnModule() const { return m_hResourceFile; }

    int ShowMessageBox(LPCTSTR lpszText, UINT nType = MB_OK);
    int GetMenuString(CMenu* pMenu, UINT nIDItem, CString& rString, UINT nFlags) const;
    // FindResourceW in the resource module, else in the module the framework
    // names; *phModule gets the module searched last.
    HRSRC FindResource(HMODULE* phModule, LPCTSTR lpszName, LPCTSTR lpszType) const;
    // The length of string nID of the module's string table, 0 when absent.
    static int AFX_CDECL LoadStringFromModule(HMODULE hModule, UINT nID, CString* pString);
    // The first language other than US English among the module's resources;
    // 1033 when there is only that, 0 when there is none.
    static LANGID AFX_CDECL GetModuleResourceLanguage(HMODULE hModule);

    // The program's log: a language source's resource that is refused is
    // told there, one line each (dropped while none is set).
    typedef void(AFX_CDECL* PFN_LOG_LINE)(LPCTSTR lpszLine);
    static void AFX_CDECL SetLogHandler(PFN_LOG_LINE pfnLogLine);

    static const QVT_LANGUAGE_INFO* AFX_CDECL FindLanguageInfo(LANGID wLanguage);
    static const QVT_LANGUAGE_INFO* AFX_CDECL GetLanguageTable(int* pnCount);

protected:
    BOOL m_bValid;
    HMODULE m_hResourceFile;
    const QVT_LANGUAGE_INFO* m_pLanguageInfo;
    BOOL m_bUseLanguageCharset;
    BYTE m_nIconTitleCharset;
};

// The current resource manager, made on first use.
CQVTResourceManager* AFXAPI QVTResourceManager();

// While it lives the framework's resource handle is the resource manager's
// module (when one is set).
class CQVTResourceHandleSwitch
{
public:
    CQVTResourceHandleSwitch();
    ~CQVTResourceHandleSwitch();
    CQVTResourceHandleSwitch(const CQVTResourceHandleSwitch&) = delete;
    CQVTResourceHandleSwitch& operator=(const CQVTResourceHandleSwitch&) = delete;

    void Restore();

private:
    HINSTANCE m_hSaved;
    BOOL m_bSwitched;
};

// A heap copy of a wide string in the current language's code page.
class CQVTCodePageString
{
public:
    explicit CQVTCodePageString(LPCWSTR lpszText);
    ~CQVTCodePageString();
    CQVTCodePageString(const CQVTCodePageString&) = delete;
    CQVTCodePageString& operator=(const CQVTCodePageString&) = delete;

    operator LPCSTR() const { return m_pszText; }

private:
    LPSTR m_pszText;
};
