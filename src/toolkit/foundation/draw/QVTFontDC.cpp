#include "toolkit/foundation/draw/QVTFontDC.h"

#include "toolkit/foundation/gdi/QVTGdiObject.h"

namespace {

CFont* FontOf(CQVTFont* pFont)
{
    return pFont && pFont->GetSafeHandle() ? pFont->GetFont() : nullptr;
}

}  // namespace

CQVTFontDC::CQVTFontDC(CDC* pDC, CFont* pFont) : m_pDC(pDC)
{
    SetFont(pFont);
}

CQVTFontDC::CQVTFontDC(CDC* pDC, CFont* pFont, COLORREF clrText) : m_pDC(pDC)
{
    SetFont(pFont);
    SetColor(clrText);
}

CQVTFontDC::CQVTFontDC(CDC* pDC, CQVTFont* pFont) : CQVTFontDC(pDC, FontOf(pFont)) {}

CQVTFontDC::CQVTFontDC(CDC* pDC, CQVTFont* pFont, COLORREF clrText) : CQVTFontDC(pDC, FontOf(pFont), clrText)
{
}

CQVTFontDC::~CQVTFontDC()
{
    ReleaseFont();
    if (m_clrOldTextColor != 0xFFFFFFFF && m_pDC && m_pDC->GetSafeHdc())
        m_pDC->SetTextColor(m_clrOldTextColor);
}

void CQVTFontDC::SetFont(CFont* pFont)
{
    ReleaseFont();
    if (!pFont || !m_pDC || !m_pDC->GetSafeHdc())
        return;
    m_pFont = pFont;
    // Selecting a font costs Wine a font realisation and, on an X display,
    // a lookup of the X resources: a font already in place is not selected
    // again, and the one from before goes back only where it is not in place.
    const HDC hDC = m_pDC->GetSafeHdc();
    m_hOldFont = ::GetCurrentObject(hDC, OBJ_FONT);
    if (m_hOldFont != pFont->GetSafeHandle())
        m_pDC->SelectObject(pFont);
}

void CQVTFontDC::SetFont(CQVTFont* pFont)
{
    SetFont(FontOf(pFont));
}

void CQVTFontDC::SetColor(COLORREF clrText)
{
    if (clrText == 0xFFFFFFFF || !m_pDC || !m_pDC->GetSafeHdc())
        return;
    COLORREF clrOld = m_pDC->SetTextColor(clrText);
    if (m_clrOldTextColor == 0xFFFFFFFF)
        m_clrOldTextColor = clrOld;
}

void CQVTFontDC::ReleaseFont()
{
    if (m_hOldFont && m_pDC && m_pDC->GetSafeHdc() &&
        ::GetCurrentObject(m_pDC->GetSafeHdc(), OBJ_FONT) != m_hOldFont)
        m_pDC->SelectObject(CFont::FromHandle(static_cast<HFONT>(m_hOldFont)));
    m_hOldFont = nullptr;
    m_pFont = nullptr;
}

CQVTPenDC::CQVTPenDC(HDC hDC, COLORREF clrColor) : m_hDC(hDC)
{
    Create(PS_SOLID, 1, clrColor);
}

CQVTPenDC::CQVTPenDC(HDC hDC, int nStyle, int nWidth, COLORREF clrColor) : m_hDC(hDC)
{
    Create(nStyle, nWidth, clrColor);
}

CQVTPenDC::~CQVTPenDC()
{
    Release();
}

void CQVTPenDC::Release()
{
    if (m_hOldPen && m_hDC)
        ::SelectObject(m_hDC, m_hOldPen);
    m_hOldPen = nullptr;
    m_pen.DeleteObject();
    m_hPen = nullptr;
}

void CQVTPenDC::Create(int nStyle, int nWidth, COLORREF clrColor)
{
    Release();
    m_nStyle = nStyle;
    m_nWidth = nWidth;
    m_clrColor = clrColor;
    m_hPen = ::CreatePen(nStyle, nWidth, clrColor);
    if (!m_hPen)
        return;
    m_pen.Attach(m_hPen);
    if (m_hDC)
        m_hOldPen = ::SelectObject(m_hDC, m_hPen);
}

void CQVTPenDC::SetColor(COLORREF clrColor)
{
    Create(m_nStyle, m_nWidth, clrColor);
}

CQVTBrushDC::CQVTBrushDC(HDC hDC, COLORREF clrColor) : m_hDC(hDC)
{
    if (m_brush.CreateSolidBrush(clrColor) && m_hDC)
        m_hOldBrush = ::SelectObject(m_hDC, m_brush.m_hObject);
}

CQVTBrushDC::~CQVTBrushDC()
{
    if (m_hOldBrush && m_hDC)
        ::SelectObject(m_hDC, m_hOldBrush);
    m_brush.DeleteObject();
}

CQVTDCSaveState::CQVTDCSaveState(CDC* pDC)
    : m_pDC(pDC), m_nState(pDC && pDC->GetSafeHdc() ? pDC->SaveDC() : 0)
{
}

CQVTDCSaveState::~CQVTDCSaveState()
{
    if (m_pDC && m_nState != 0)
        m_pDC->RestoreDC(m_nState);
}
