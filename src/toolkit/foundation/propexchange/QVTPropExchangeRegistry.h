// Property exchange over a registry key: sections are subkeys, properties
// named values.
#pragma once

#include "toolkit/foundation/propexchange/QVTPropExchange.h"

class CQVTPropExchangeRegistry : public CQVTPropExchange
{
    DECLARE_DYNAMIC(CQVTPropExchangeRegistry)

public:
    // A null parent means the application's registry key.
    CQVTPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection);
    ~CQVTPropExchangeRegistry() override;

    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                      const void* pvDefault = nullptr) override;
    BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes) override;
    CQVTPropExchange* GetSection(LPCTSTR pszSection) override;
    void EmptySection() override;
    BOOL CanOmitDefaults() const override;
    BOOL PrefersBinaryData() const override;
    BOOL OnBeforeExchange() override;

protected:
    HKEY m_hSectionKey;
    HKEY m_hParentKey;
    CString m_strSectionName;
    BOOL m_bCloseParentKey;
};
