// Property exchange over an INI file: sections are path-like INI sections,
// properties keys holding the values' text form.
#pragma once

#include "toolkit/foundation/propexchange/QVTPropExchange.h"

class CQVTPropExchangeIniFile : public CQVTPropExchange
{
    DECLARE_DYNAMIC(CQVTPropExchangeIniFile)

public:
    CQVTPropExchangeIniFile(BOOL bLoading, LPCTSTR lpszParentSection, LPCTSTR lpszSection);
    ~CQVTPropExchangeIniFile() override;

    // Works on this file from now on and never deletes it.
    void SetIniFileName(LPCTSTR lpszIniFile);
    CString GetIniFileName() const { return m_strFileName; }
    CString GetSectionName() const { return m_strSectionName; }

    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                      const void* pvDefault = nullptr) override;
    CQVTPropExchange* GetSection(LPCTSTR pszSection) override;
    void EmptySection() override;
    BOOL CanOmitDefaults() const override;
    BOOL PrefersBinaryData() const override;
    BOOL OnBeforeExchange() override;

protected:
    // The stored text; FALSE when the key is missing or cannot be read whole.
    BOOL ReadValue(LPCTSTR pszPropName, CString& strValue);

    CString m_strSectionName;
    CString m_strFileName;
    BOOL m_bDeleteFile;
};
