// An XML string pack: texts and their descriptions by string id, with the
// pack's code page. The file is a settings file (XmlSettingsFile.h):
//
//   Elements\CodePage, Elements\Count,
//   Elements\Element-<i>\ID, \Text, \Description   (i from 0 to Count-1)
//
// "\r", "\n", "\t" and "\sp" in texts and descriptions stand for a carriage
// return, a line feed, a tab and a space.
#pragma once

#include <afx.h>

#include <map>

class CLanguageStrings
{
public:
    // Missing values keep their defaults; TRUE whatever the file held.
    BOOL Load(LPCTSTR pszPath);

    UINT GetCodePage() const { return m_nCodePage; }
    // Null when the pack has no (non-empty) text or description for the id.
    LPCTSTR GetText(UINT nID) const;
    LPCTSTR GetDescription(UINT nID) const;
    int GetTextCount() const { return static_cast<int>(m_texts.size()); }
    int GetDescriptionCount() const { return static_cast<int>(m_descriptions.size()); }

    // The pack's escapes replaced, in their order.
    static void AFXAPI ReplaceEscapes(CString& strText);

private:
    UINT m_nCodePage = 1252;
    std::map<UINT, CString> m_texts;
    std::map<UINT, CString> m_descriptions;
};
