// The qvt:Script element: script code written as its text or read from the
// file or resource its Source names, handed to the context's script engine
// in the language it names (JScript when none).
#pragma once

#include "toolkit/markup/extensions/QVTMarkupExtension.h"

class CQVTMarkupQvtScript : public CQVTMarkupExtension
{
    DECLARE_MARKUPCLASS(CQVTMarkupQvtScript)

public:
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    void OnBuildFinished(CQVTMarkupBuilder* pBuilder) override;

    CString GetLanguage();

    // The text of a file or resource address; a failure code when it cannot
    // be read or decoded.
    static HRESULT AFX_CDECL ReadSource(LPCWSTR lpszSource, CString& strText);

    static CQVTMarkupDependencyProperty* m_pLanguageProperty;
    static CQVTMarkupDependencyProperty* m_pSourceProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    LPCWSTR GetSource();
};
