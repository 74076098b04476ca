// Loads markup text, or an XML source, into an XML DOM document and keeps
// either the document or why loading failed. A document that fails only for
// an undeclared "x" prefix is loaded once more with the declaration added.
#pragma once

#include <comdef.h>

class CQVTMarkupParser
{
public:
    CQVTMarkupParser();
    virtual ~CQVTMarkupParser();

    CQVTMarkupParser(const CQVTMarkupParser&) = delete;
    CQVTMarkupParser& operator=(const CQVTMarkupParser&) = delete;

    // [pBegin, pEnd). Text that is not markup (after a byte-order mark and
    // white space the first character must be '<') loads nothing and records
    // no error.
    BOOL LoadText(LPCWSTR pBegin, LPCWSTR pEnd);
    BOOL LoadDocument(IStream* pStream);

    CString GetErrorMessage() const;
    HRESULT GetErrorCode() const { return m_hrError; }
    // The document of the last successful load (borrowed), or null.
    IDispatch* GetDocument() const { return m_pDocument; }

    // "XML Error [0x%08X] '%ls' at %i:%i '%ls'" with line breaks removed and
    // "{reason unknown}" / "{source unknown}" for empty parts.
    static CString AFX_CDECL FormatXmlError(HRESULT hr, LPCWSTR lpszReason, long nLine, long nColumn,
                                            LPCWSTR lpszSource);
    // The system's text for a result code.
    static CString AFX_CDECL GetSystemMessage(HRESULT hr);
    // The text with the XAML language namespace declared for "x" on its root
    // element (after an XML declaration); FALSE when no root tag is found.
    static BOOL AFX_CDECL DeclareXamlPrefix(const CString& strText, CString& strRepaired);
    // A stream over a block holding a UTF-16 byte-order mark and the text.
    static HRESULT AFX_CDECL CreateTextStream(LPCWSTR pText, size_t nLength, BOOL bMark, IStream** ppStream);

private:
    void ClearError();
    void SetSystemError(HRESULT hr);
    BOOL Load(IStream* pStream);
    // The document with the "x" namespace declared on its root element, or null.
    IStream* CreateRepairStream(IStream* pStream);

    HRESULT m_hrComInit;
    IDispatchPtr m_pDocument;
    HRESULT m_hrError;
    BOOL m_bParseDetails;  // the failure came from the XML parser's error object
    long m_nLine;
    long m_nColumn;
    CString m_strReason;
    CString m_strSource;
    BOOL m_bRetrying;  // the repair reload runs at most once
};
