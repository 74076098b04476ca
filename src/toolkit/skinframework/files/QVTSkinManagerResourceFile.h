// A skin file: a resource-only module opened as a data file (".qvstyles",
// ".msstyles") or a directory with the INI schema and the images as files.
// It picks the schema, hands its text out line by line and loads images.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTSkinImage;
class CQVTSkinManagerSchema;
class CQVTSkinManagerSite;

class CQVTSkinManagerResourceFile : public CQVTCmdTarget, public CQVTSynchronized
{
public:
    // The manager is the site; without one (tools, tests) the skin is read
    // with no colour filters and every apply option.
    explicit CQVTSkinManagerResourceFile(CQVTSkinManagerSite* pSite = nullptr);
    ~CQVTSkinManagerResourceFile() override;

    virtual BOOL Open(LPCTSTR lpszResourcePath, LPCTSTR lpszIniFileName);
    // The next line of the schema text; FALSE at its end.
    virtual BOOL ReadString(CString& str);
    virtual void Close();
    // A new image owned by the caller, or null.
    virtual CQVTSkinImage* LoadImage(const CString& strImageName, BOOL bConvertAlpha = TRUE);
    // A new schema holding a reference to this file.
    virtual CQVTSkinManagerSchema* CreateSchema();

    // The schema named by the first "[File." section of "THEMES_INI", as a
    // resource name ("NormalBlue_ini"); empty without one.
    CString GetDefaultIniFileName();

    // A module given in advance whose resources hold the skin; never freed.
    void SetPresetModule(HMODULE hModule) { m_hPresetModule = hModule; }

    HMODULE GetModuleHandle() const { return m_hModule; }
    const CString& GetResourcePath() const { return m_strResourcePath; }
    const CString& GetIniFileName() const { return m_strIniFileName; }
    CQVTSkinManagerSite* GetSite() const { return m_pSite; }
    BOOL IsDirectorySkin() const { return m_pTextFile != nullptr; }

    // A resource's bytes, bounded by the module's mapping: a resource that
    // claims more than the mapping holds is cut at its end. Null when the
    // resource is missing or starts outside the mapping.
    static const BYTE* AFX_CDECL LockResourceBounded(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType,
                                                     DWORD* pcbSize);
    // The resource name of a file name: '.' and '\' become '_'.
    static CString AFX_CDECL ResourceNameOf(const CString& strFileName);

private:
    const WCHAR* m_pTextCursor = nullptr;  // next character of a module's schema text
    const WCHAR* m_pTextEnd = nullptr;     // one past its last whole character
    HMODULE m_hModule = nullptr;           // the skin module, or the preset module
    HMODULE m_hPresetModule = nullptr;     // never freed here
    CString m_strResourcePath;             // as passed to Open
    CString m_strIniFileName;              // as passed, or the default from "THEMES_INI"
    CQVTSkinManagerSite* m_pSite;          // the manager, for colour filters and apply options
    CStdioFile* m_pTextFile = nullptr;     // the INI of a directory skin
};
