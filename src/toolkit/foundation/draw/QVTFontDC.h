// Scopes that change one thing in a device context for the length of a
// block (font and text colour, pen, brush, the whole saved state) and put
// back what was there before, however often the selection changed.
#pragma once

#include <afxwin.h>

#include <cstddef>

class CQVTFont;

class CQVTFontDC
{
public:
    CQVTFontDC(CDC* pDC, CFont* pFont);
    CQVTFontDC(CDC* pDC, CFont* pFont, COLORREF clrText);
    CQVTFontDC(CDC* pDC, CQVTFont* pFont);
    CQVTFontDC(CDC* pDC, CQVTFont* pFont, COLORREF clrText);
    virtual ~CQVTFontDC();
    CQVTFontDC(const CQVTFontDC&) = delete;
    CQVTFontDC& operator=(const CQVTFontDC&) = delete;

    // Puts back the font this scope replaced, then selects the new one
    // (none for null).
    void SetFont(CFont* pFont);
    void SetFont(CQVTFont* pFont);
    void SetFont(std::nullptr_t) { ReleaseFont(); }
    // Sets the text colour unless it is 0xFFFFFFFF; the colour restored at
    // the end is the one from before the first change.
    void SetColor(COLORREF clrText);
    void ReleaseFont();

private:
    CDC* m_pDC;
    CFont* m_pFont = nullptr;
    HGDIOBJ m_hOldFont = nullptr;  // the DC's font when this scope began
    COLORREF m_clrOldTextColor = 0xFFFFFFFF;
};

class CQVTPenDC
{
public:
    CQVTPenDC(HDC hDC, COLORREF clrColor);
    CQVTPenDC(HDC hDC, int nStyle, int nWidth, COLORREF clrColor);
    virtual ~CQVTPenDC();
    CQVTPenDC(const CQVTPenDC&) = delete;
    CQVTPenDC& operator=(const CQVTPenDC&) = delete;

    // A new pen of the stored style and width.
    void SetColor(COLORREF clrColor);
    COLORREF GetColor() const { return m_clrColor; }

private:
    void Create(int nStyle, int nWidth, COLORREF clrColor);
    void Release();

    CPen m_pen;
    HDC m_hDC;
    HGDIOBJ m_hOldPen = nullptr;
    HPEN m_hPen = nullptr;
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_clrColor = 0;
};

class CQVTBrushDC
{
public:
    CQVTBrushDC(HDC hDC, COLORREF clrColor);
    virtual ~CQVTBrushDC();
    CQVTBrushDC(const CQVTBrushDC&) = delete;
    CQVTBrushDC& operator=(const CQVTBrushDC&) = delete;

private:
    CBrush m_brush;
    HDC m_hDC;
    HGDIOBJ m_hOldBrush = nullptr;
};

// SaveDC now, RestoreDC at the end; nothing at all for a null CDC.
class CQVTDCSaveState
{
public:
    explicit CQVTDCSaveState(CDC* pDC);
    virtual ~CQVTDCSaveState();
    CQVTDCSaveState(const CQVTDCSaveState&) = delete;
    CQVTDCSaveState& operator=(const CQVTDCSaveState&) = delete;

private:
    CDC* m_pDC;
    int m_nState;
};
