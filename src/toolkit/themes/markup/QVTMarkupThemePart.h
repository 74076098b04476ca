// One piece of a theme drawn from markup: an entry of a zipped style
// archive parsed into an element tree, measured and rendered on request.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/stream/QVTZipMemFile.h"

class CQVTMarkupContext;
class CQVTMarkupObject;
class CQVTMarkupUIElement;

class CQVTMarkupThemePart
{
public:
    CQVTMarkupThemePart() = default;
    virtual ~CQVTMarkupThemePart();
    CQVTMarkupThemePart(const CQVTMarkupThemePart&) = delete;
    CQVTMarkupThemePart& operator=(const CQVTMarkupThemePart&) = delete;

    // Parses the entry of that name (any case) in the context. A missing
    // entry leaves the part as it is; an entry that cannot be read or does
    // not parse leaves it empty. TRUE when an element was made.
    BOOL LoadPart(HQVTZIPARCHIVE hArchive, LPCSTR lpszName, CQVTMarkupContext* pContext);
    // The desired size for that room; 0 x 0 without an element.
    CSize Measure(int cx, int cy);
    void Render(CDC* pDC, CRect rc);
    CQVTMarkupUIElement* GetElement() const { return m_pElement; }

    // Change the text blocks named "CaptionText" and "Caption" of a loaded
    // part; a missing element, or one that is not a text block, is left be.
    void SetCaptionText(LPCTSTR lpszText);
    void SetCaption(LPCTSTR lpszText);
    void SetCaptionTextFontFamily(LPCTSTR lpszFontFamily);
    void SetCaptionFontFamily(LPCTSTR lpszFontFamily);
    void SetCaptionTextFontSize(int nSize);
    void SetCaptionFontSize(int nSize);
    void SetCaptionTextForeground(COLORREF clr);

    // Releases the element; the part draws nothing afterwards.
    void Clear();
    // The element of that name in the loaded part (the root included), or null.
    CQVTMarkupObject* FindElement(LPCWSTR lpszName) const;

private:
    CQVTMarkupUIElement* m_pElement = nullptr;  // one reference
};
