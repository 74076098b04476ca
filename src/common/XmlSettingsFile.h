// A small settings file over the system's XML DOM: a value is the text of an
// element addressed by a backslash path of element names plus a value name
// ("Files\File-0" and "Path"); the path's first name is the root element.
// Opened for reading, the file is loaded at once; opened for writing, the
// document starts empty and replaces the file when the object goes.
#pragma once

#include <afx.h>
#include <comdef.h>

class CXmlSettingsFile
{
public:
    CXmlSettingsFile(LPCTSTR pszPath, BOOL bWrite);
    // Saves when opened for writing.
    ~CXmlSettingsFile();
    CXmlSettingsFile(const CXmlSettingsFile&) = delete;
    CXmlSettingsFile& operator=(const CXmlSettingsFile&) = delete;

    BOOL HasDocument() const { return m_pDocument != nullptr; }

    // TRUE when the element exists. A text that does not start with a
    // number leaves nValue unchanged.
    BOOL GetInt(LPCTSTR pszPath, LPCTSTR pszName, int& nValue);
    BOOL GetString(LPCTSTR pszPath, LPCTSTR pszName, CString& strValue);
    // TRUE when the element exists or could be created. An empty string
    // creates the element without text.
    BOOL SetInt(LPCTSTR pszPath, LPCTSTR pszName, int nValue);
    BOOL SetString(LPCTSTR pszPath, LPCTSTR pszName, LPCTSTR pszValue);

    // Names of the child elements under a path, in document order.
    BOOL GetChildNames(LPCTSTR pszPath, CStringArray& names);

    // A failure of the DOM other than a missing element is thrown as a
    // _com_error; the getters and setters pass it on.

private:
    // The element at the path (and value name, when given), or null; with
    // bCreate missing elements are made on the way.
    IDispatchPtr FindElement(LPCTSTR pszPath, LPCTSTR pszName, BOOL bCreate);
    IDispatchPtr FindChild(IDispatch* pParent, const CString& strName, BOOL bCreate);
    // Writes a temporary file beside the target and moves it over the
    // target, so a failed or cut-short save keeps the old file whole.
    BOOL SaveReplacing();

    CString m_strPath;
    BOOL m_bWrite;
    IDispatchPtr m_pDocument;  // null when the DOM class is missing
};
