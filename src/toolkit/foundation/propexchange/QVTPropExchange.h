// The toolkit's one serializer interface: an object's DoPropExchange writes
// when the exchange stores and reads when it loads. Values are named and
// typed, sections nest, collections are walked through enumerators.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTPropExchangeEnumerator;

// Type codes beyond the automation ones.
enum : VARTYPE
{
    VT_QVT_STRING = 30,  // CString; its default is a wide string
    VT_QVT_RECT = 100,   // RECT
    VT_QVT_SIZE = 101,   // SIZE or POINT
};

class CQVTPropExchange : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTPropExchange)

public:
    CQVTPropExchange();
    ~CQVTPropExchange() override;

    virtual BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                              const void* pvDefault = nullptr) = 0;
    virtual BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes);
    virtual BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                      CRuntimeClass* pDefaultClass);
    virtual BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime);
    virtual CArchive* GetArchive(LPCTSTR pszPropName);
    virtual void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive);
    virtual CQVTPropExchange* GetSection(LPCTSTR pszSection) = 0;
    virtual void EmptySection();
    virtual void WriteCount(DWORD dwCount);
    virtual DWORD ReadCount();
    virtual void WriteBlock(LPCTSTR pszPropName, LPBYTE pData, DWORD nBytes);
    // The number of bytes read, 0 on failure.
    virtual DWORD ReadBlock(LPCTSTR pszPropName, LPBYTE pData, DWORD nBytes);
    virtual BOOL CanOmitDefaults() const;
    virtual BOOL PrefersBinaryData() const;
    virtual BOOL OnBeforeExchange();
    virtual CQVTPropExchangeEnumerator* GetEnumerator(LPCTSTR pszItemName);
    virtual void ExchangeSchema();

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    BOOL IsRootSection() const { return !m_bChildSection; }
    UINT GetSchema() const { return m_dwData; }
    void SetSchema(UINT nSchema) { m_dwData = nSchema; }
    void UseDefaultOnLoad(BOOL bUseDefault = TRUE) { m_bUseDefaultOnLoad = bUseDefault; }
    void UseDefaultOnSave(BOOL bUseDefault = TRUE) { m_bUseDefaultOnSave = bUseDefault; }
    BOOL IsDefaultOnLoad() const { return m_bUseDefaultOnLoad; }
    BOOL IsDefaultOnSave() const { return m_bUseDefaultOnSave; }
    BOOL IsEmptied() const { return m_bEmptySection; }
    BOOL IsPrepared() const { return m_bInitialized; }

    static int AFX_CDECL GetVarTypeSize(VARTYPE vt);
    static BOOL AFX_CDECL IsSamePropValue(VARTYPE vt, const void* pv1, const void* pv2);
    static BOOL AFX_CDECL CopyPropValue(VARTYPE vt, void* pvDest, const void* pvSrc);

    // Text form shared by the XML and INI stores. Storing fills strValue from
    // the value; loading parses strValue into the value.
    BOOL ExchangePropAsText(CString& strValue, VARTYPE vtProp, void* pvProp, const void* pvDefault);
    static BOOL AFX_CDECL ValueToText(VARTYPE vtProp, const void* pvProp, CString& strValue);
    static BOOL AFX_CDECL TextToValue(VARTYPE vtProp, const CString& strValue, void* pvProp,
                                      const void* pvDefault);
    static BOOL AFX_CDECL DateToText(const COleDateTime& dt, CString& strValue);
    static BOOL AFX_CDECL TextToDate(LPCTSTR pszText, COleDateTime& dt);

    static void AFX_CDECL EscapeControlChars(CString& str);
    static void AFX_CDECL UnescapeControlChars(CString& str);
    static void AFX_CDECL UnescapeControlChars(LPWSTR pszText);

    // Caller context: copied into every section.
    void* m_pOwner;
    // A second caller pointer that sections don't inherit.
    void* m_pCallerData;

protected:
    void InitSection(CQVTPropExchange* pSection);

    BOOL m_bLoading;
    UINT m_dwData;  // schema
    BOOL m_bChildSection;
    BOOL m_bEmptySection;
    BOOL m_bInitialized;
    BOOL m_bUseDefaultOnLoad;
    BOOL m_bUseDefaultOnSave;
};

// Holds one exchange reference and releases it.
class CQVTPropExchangeSection
{
public:
    // A root exchange on the application's own settings store.
    CQVTPropExchangeSection(BOOL bLoading, LPCTSTR pszSection);
    // Takes over the one reference of a section or enumerated item.
    explicit CQVTPropExchangeSection(CQVTPropExchange* pPX);
    ~CQVTPropExchangeSection();

    CQVTPropExchangeSection(const CQVTPropExchangeSection&) = delete;
    CQVTPropExchangeSection& operator=(const CQVTPropExchangeSection&) = delete;

    CQVTPropExchange* operator->() const { return m_pPX; }
    CQVTPropExchange* operator&() const { return m_pPX; }
    CQVTPropExchange* GetExchange() const { return m_pPX; }

private:
    CQVTPropExchange* m_pPX;
};

// Walks a collection: counted sections Item0, Item1 ... of the exchange.
class CQVTPropExchangeEnumerator
{
public:
    CQVTPropExchangeEnumerator(CQVTPropExchange* pContainer, LPCTSTR pszItemName);
    virtual ~CQVTPropExchangeEnumerator();

    // bCountOperations: the count goes through WriteCount/ReadCount;
    // otherwise it is the integer "Count" of the exchange.
    virtual POSITION GetPosition(DWORD dwCount = 0, BOOL bCountOperations = TRUE);
    virtual CQVTPropExchange* GetNext(POSITION& pos);
    virtual DWORD GetCount();

protected:
    CQVTPropExchange* m_pContainer;
    CString m_strItemName;
    DWORD m_nCount;
};

class CQVTPropExchangeEnumeratorPtr
{
public:
    explicit CQVTPropExchangeEnumeratorPtr(CQVTPropExchangeEnumerator* pEnumerator)
        : m_pEnumerator(pEnumerator)
    {
    }
    ~CQVTPropExchangeEnumeratorPtr() { delete m_pEnumerator; }
    CQVTPropExchangeEnumeratorPtr(const CQVTPropExchangeEnumeratorPtr&) = delete;
    CQVTPropExchangeEnumeratorPtr& operator=(const CQVTPropExchangeEnumeratorPtr&) = delete;
    CQVTPropExchangeEnumerator* operator->() const { return m_pEnumerator; }

private:
    CQVTPropExchangeEnumerator* m_pEnumerator;
};

// Typed helpers; each returns FALSE for a null exchange.
BOOL AFX_CDECL PropExchangeBool(CQVTPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL AFX_CDECL PropExchangeByte(CQVTPropExchange* pPX, LPCTSTR pszPropName, BYTE& nValue, BYTE nDefault);
BOOL AFX_CDECL PropExchangeShort(CQVTPropExchange* pPX, LPCTSTR pszPropName, short& nValue, short nDefault);
BOOL AFX_CDECL PropExchangeInt(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault);
BOOL AFX_CDECL PropExchangeIntNoDefault(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue);
BOOL AFX_CDECL PropExchangeSize(CQVTPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue, SIZE szDefault);
BOOL AFX_CDECL PropExchangeString(CQVTPropExchange* pPX, LPCTSTR pszPropName, CString& strValue,
                                  LPCTSTR pszDefault);
BOOL AFX_CDECL PropExchangeStringNoDefault(CQVTPropExchange* pPX, LPCTSTR pszPropName, CString& strValue);
BOOL AFX_CDECL PropExchangeBstr(CQVTPropExchange* pPX, LPCTSTR pszPropName, BSTR& bstrValue,
                                LPCOLESTR pszDefault);
BOOL AFX_CDECL PropExchangeRectScaled(CQVTPropExchange* pPX, LPCTSTR pszPropName, RECT& rcValue,
                                      RECT rcDefault);
BOOL AFX_CDECL PropExchangeSizeScaled(CQVTPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue,
                                      SIZE szDefault);
BOOL AFX_CDECL PropExchangeIntScaledX(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault);
BOOL AFX_CDECL PropExchangeIntScaledY(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault);
BOOL AFX_CDECL PropExchangeRuntimeClass(CQVTPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                        CRuntimeClass* pDefaultClass);
BOOL AFX_CDECL ExchangeBlobRaw(CQVTPropExchange* pPX, LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes);
BOOL AFX_CDECL PropExchangeSerializeObject(CQVTPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject);
