// A GDI font shared through the markup context's cache: the context hands
// out an existing one for an equal request.
#pragma once

#include "toolkit/foundation/gdi/QVTGdiObject.h"
#include "toolkit/markup/core/QVTMarkupObject.h"

class CQVTMarkupFont : public CQVTMarkupObject
{
public:
    CQVTMarkupFont(CQVTMarkupContext* pOwner, const LOGFONT* pLogFont);
    ~CQVTMarkupFont() override;

    HFONT GetFontHandle() const { return static_cast<HFONT>(m_font.GetSafeHandle()); }
    CQVTFont& GetFont() { return m_font; }
    const LOGFONT& GetLogFont() const { return m_lf; }
    // Equal to the request in everything but width and the precisions.
    BOOL Matches(const LOGFONT* pLogFont) const;
    // The owning context goes away first: nothing to tell it any more.
    void DetachOwner() { m_pOwner = nullptr; }

    CQVTMarkupFont* m_pNextFont;  // the owner's list

private:
    CQVTFont m_font;
    LOGFONT m_lf;
    CQVTMarkupContext* m_pOwner;  // not counted; told when the font goes away
};
