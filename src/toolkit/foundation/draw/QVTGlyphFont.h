// The toolkit's symbol font (arrows, pins, close boxes...), a TrueType face
// the program carries as a font resource and loads from memory, so that it
// needs no installation. Painters on several threads share it.
#pragma once

#include <afxwin.h>

#include <atomic>

#include "toolkit/foundation/core/QVTCriticalSection.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

enum
{
    QVT_IDR_GLYPHFONT = 9979
};

// Glyphs that painters of several looks share.
namespace QVTGlyph {
const WCHAR SpinUp = 80;
const WCHAR SpinDown = 81;
}  // namespace QVTGlyph

class CQVTGlyphFont
{
public:
    typedef HANDLE(WINAPI* PFNADDFONTMEMRESOURCEEX)(PVOID, DWORD, PVOID, DWORD*);
    typedef BOOL(WINAPI* PFNREMOVEFONTMEMRESOURCEEX)(HANDLE);

    CQVTGlyphFont();
    virtual ~CQVTGlyphFont();

    // Loads the resource and makes the font, once; TRUE when the font exists.
    BOOL EnsureCreated();

    // Draws one character of the font, fitted and centred in the rectangle.
    // 0xFFFFFFFF takes the DC's text colour or leaves the background
    // transparent. With bOutline the glyph's outline is stroked instead,
    // with the pen given or a one-pixel pen of the text colour. 0 when
    // nothing was drawn.
    int DrawGlyph(CDC* pDC, WCHAR chGlyph, const CRect& rect, COLORREF clrText, COLORREF clrBack = 0xFFFFFFFF,
                  BOOL bOutline = FALSE, HPEN hOutlinePen = nullptr);

    // The family name declared by a TrueType font's naming table; empty
    // when the data has none or is malformed.
    static CString AFXAPI GetFontFamilyName(const BYTE* pData, DWORD cbData);

    const LOGFONT& GetLogFont() const { return m_logFont; }
    CQVTFont& GetFont() { return m_font; }

private:
    void LoadFontResource();

    CQVTCriticalSection m_cs;
    CQVTFont m_font;
    LOGFONT m_logFont;
    HANDLE m_hMemoryFont = nullptr;
    CString m_strFamilyName;
    std::atomic<bool> m_bCreated{false};
    PFNADDFONTMEMRESOURCEEX m_pfnAddFontMemResourceEx = nullptr;
    PFNREMOVEFONTMEMRESOURCEEX m_pfnRemoveFontMemResourceEx = nullptr;
};

CQVTGlyphFont* AFXAPI QVTGlyphFont();
