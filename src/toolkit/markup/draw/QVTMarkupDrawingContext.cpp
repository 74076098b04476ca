#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupDeviceContext.h"
#include "toolkit/markup/values/QVTMarkupFont.h"

CQVTMarkupDrawingContext::CQVTMarkupDrawingContext(CQVTMarkupContext* pContext)
    : m_hDC(::CreateCompatibleDC(nullptr)), m_hAttribDC(nullptr), m_pFont(nullptr), m_rcClipBox{0, 0, 0, 0},
      m_bOwnsDC(TRUE), m_pContext(pContext), m_nTextFlag(0)
{
    m_hAttribDC = m_hDC;
    Initialize();
}

CQVTMarkupDrawingContext::CQVTMarkupDrawingContext(CQVTMarkupContext* pContext, HDC hDC, HDC hAttribDC)
    : m_hDC(hDC), m_hAttribDC(hAttribDC != nullptr ? hAttribDC : hDC),
      m_pFont(nullptr), m_rcClipBox{0, 0, 0, 0}, m_bOwnsDC(FALSE), m_pContext(pContext), m_nTextFlag(0)
{
    Initialize();
}

void CQVTMarkupDrawingContext::Initialize()
{
    // Filled when the GDI+ device context exists: markup then draws through
    // GDI+ where the contexts allow it; until then every surface is GDI.
    m_pDeviceContext.reset(new CQVTMarkupDeviceContext(m_hDC, m_hAttribDC));
    if (m_pContext != nullptr)
        SetSmoothingModeAndTextFlag(m_pContext->GetDefaultSmoothingMode(),
                                    m_pContext->GetDefaultTextSmoothing());
    UpdateClipBox();
    ::SetBkMode(m_hDC, TRANSPARENT);
}

CQVTMarkupDrawingContext::~CQVTMarkupDrawingContext()
{
    SetFont(nullptr);
    m_pDeviceContext.reset();
    if (m_bOwnsDC && m_hDC != nullptr)
        ::DeleteDC(m_hDC);
}

SIZE CQVTMarkupDrawingContext::GetTextExtent(LPCWSTR lpszText, int nLength)
{
    return m_pDeviceContext->GetTextExtent(lpszText, nLength);
}

void CQVTMarkupDrawingContext::GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize)
{
    m_pDeviceContext->GetTextExtentF(lpszText, nLength, pSize);
}

void CQVTMarkupDrawingContext::SetFont(CQVTMarkupFont* pFont)
{
    if (pFont == m_pFont)
        return;
    m_pDeviceContext->SetFont(pFont);
    if (pFont != nullptr)
        pFont->InternalAddRef();
    CQVTMarkupFont* pOld = m_pFont;
    m_pFont = pFont;
    if (pOld != nullptr)
        pOld->InternalRelease();
}

BOOL CQVTMarkupDrawingContext::GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent)
{
    return m_pDeviceContext->GetFontMetrics(pFont, pnAscent, pnDescent);
}

double CQVTMarkupDrawingContext::GetOpacity() const
{
    return m_pDeviceContext->GetOpacity();
}

void CQVTMarkupDrawingContext::SetOpacity(double dOpacity)
{
    m_pDeviceContext->SetOpacity(dOpacity);
}

int CQVTMarkupDrawingContext::SetSmoothingMode(int nMode)
{
    return m_pDeviceContext->SetSmoothingMode(nMode, m_nTextFlag);
}

int CQVTMarkupDrawingContext::SetSmoothingModeAndTextFlag(int nMode, int nTextFlag)
{
    m_nTextFlag = nTextFlag;
    return m_pDeviceContext->SetSmoothingMode(nMode, nTextFlag);
}

void CQVTMarkupDrawingContext::OffsetViewport(POINT pt)
{
    m_pDeviceContext->OffsetViewport(pt);
    UpdateClipBox();
}

void CQVTMarkupDrawingContext::IntersectClipRect(const RECT& rc)
{
    m_pDeviceContext->IntersectClipRect(rc);
    UpdateClipBox();
}

void* CQVTMarkupDrawingContext::SaveClipRegion()
{
    return m_pDeviceContext->SaveClipRegion();
}

void CQVTMarkupDrawingContext::RestoreClipRegion(void* pSaved)
{
    if (pSaved == nullptr)
        return;
    m_pDeviceContext->RestoreClipRegion(pSaved);
    UpdateClipBox();
}

HDC CQVTMarkupDrawingContext::GetDC()
{
    return m_pDeviceContext->GetDC();
}

void CQVTMarkupDrawingContext::ReleaseDC(HDC hDC)
{
    m_pDeviceContext->ReleaseDC(hDC);
}

void CQVTMarkupDrawingContext::UpdateClipBox()
{
    m_pDeviceContext->GetClipBox(&m_rcClipBox);
}
