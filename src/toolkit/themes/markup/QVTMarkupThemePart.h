// One piece of a theme drawn from markup: an entry of a zipped style
// archive parsed into an element tree, measured and rendered on request.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/stream/QVTZipMemFile.h"

class CQVTMarkupContext;
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

private:
    CQVTMarkupUIElement* m_pElement = nullptr;  // one reference
};
