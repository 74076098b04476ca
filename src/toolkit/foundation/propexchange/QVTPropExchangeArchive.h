// Property exchange over a binary archive: positional, names and defaults
// play no part.
#pragma once

#include "toolkit/foundation/propexchange/QVTPropExchange.h"

class CQVTPropExchangeArchive : public CQVTPropExchange
{
    DECLARE_DYNAMIC(CQVTPropExchangeArchive)

public:
    explicit CQVTPropExchangeArchive(CArchive& ar);

    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                      const void* pvDefault = nullptr) override;
    BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes) override;
    BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass,
                              CRuntimeClass* pDefaultClass) override;
    BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime) override;
    CArchive* GetArchive(LPCTSTR pszPropName) override;
    void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive) override;
    CQVTPropExchange* GetSection(LPCTSTR pszSection) override;
    void WriteCount(DWORD dwCount) override;
    DWORD ReadCount() override;
    void WriteBlock(LPCTSTR pszPropName, LPBYTE pData, DWORD nBytes) override;
    DWORD ReadBlock(LPCTSTR pszPropName, LPBYTE pData, DWORD nBytes) override;
    BOOL CanOmitDefaults() const override;
    BOOL PrefersBinaryData() const override;
    void ExchangeSchema() override;

    enum : DWORD
    {
        kSchemaMagic = 0x0FF0ADBF
    };

protected:
    CArchive& m_ar;
};
