#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"

#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupGdiPlusDeviceContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

BOOL CQVTMarkupDrawingContext::m_bGdiPlus = TRUE;

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
    BOOL bTryGdiPlus = m_bGdiPlus && (m_pContext == nullptr || m_pContext->IsGdiPlusEnabled());
    QVTDrawHelpers();
    // A mirrored DC is drawn with GDI, which mirrors by itself.
    if (bTryGdiPlus && IsHdcRightToLeft(m_hDC))
        bTryGdiPlus = FALSE;
    if (bTryGdiPlus)
    {
        // When no graphics object can be made there, GDI draws instead.
        if (Gdiplus::GpGraphics* pGraphics =
                CQVTMarkupGdiPlusDeviceContext::CreateGraphics(m_hDC, m_hAttribDC))
            m_pDeviceContext.reset(
                new CQVTMarkupGdiPlusDeviceContext(pGraphics, FALSE, m_hAttribDC == m_hDC ? m_hDC : nullptr));
    }
    if (m_pDeviceContext == nullptr)
        m_pDeviceContext.reset(new CQVTMarkupDeviceContext(m_hDC, m_hAttribDC));
    if (m_pContext != nullptr)
        SetSmoothingModeAndTextFlag(m_pContext->GetDefaultSmoothingMode(),
                                    m_pContext->GetDefaultTextSmoothing());
    m_pFont = nullptr;
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

void CQVTMarkupDrawingContext::DrawTextLine(LPCWSTR lpszText, int nLength, const RECT& rc)
{
    m_pDeviceContext->DrawTextLine(lpszText, nLength, rc);
}

void CQVTMarkupDrawingContext::FillRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                             const CQVTMarkupCornerRadius* pRadius)
{
    if (pRadius == nullptr)
        m_pDeviceContext->FillRectangle(rc, pBrush);
    else
        m_pDeviceContext->FillRoundRectangle(rc, pBrush, pRadius);
}

void CQVTMarkupDrawingContext::FillSolidRect(const RECT& rc, COLORREF clr)
{
    CQVTMarkupAutoPtr brush(new CQVTMarkupSolidColorBrush(255, clr & 0xFFFFFF));
    FillRectangle(rc, static_cast<CQVTMarkupBrush*>(brush.Get()));
}

void CQVTMarkupDrawingContext::DrawRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                             const CQVTMarkupThickness* pThickness,
                                             const CQVTMarkupCornerRadius* pRadius)
{
    if (pBrush == nullptr || pThickness == nullptr)
        return;
    if (pRadius == nullptr)
        m_pDeviceContext->DrawRectangle(rc, pBrush, pThickness);
    else
        m_pDeviceContext->DrawRoundRectangle(rc, pBrush, pThickness, pRadius);
}

void CQVTMarkupDrawingContext::DrawFrame(const RECT& rc, CQVTMarkupBrush* pBrush)
{
    const int cx = m_pContext != nullptr ? m_pContext->ScaleX(1) : 1;
    const int cy = m_pContext != nullptr ? m_pContext->ScaleY(1) : 1;
    CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(cx, cy, cx, cy));
    DrawRectangle(rc, pBrush, static_cast<CQVTMarkupThickness*>(thickness.Get()));
}

void CQVTMarkupDrawingContext::DrawEllipse(const RECT& rc, const CQVTMarkupStroke* pStroke,
                                           CQVTMarkupBrush* pFill)
{
    m_pDeviceContext->DrawEllipse(rc, pStroke, pFill);
}

void CQVTMarkupDrawingContext::DrawLine(int x1, int y1, int x2, int y2, const CQVTMarkupStroke* pStroke)
{
    if (pStroke == nullptr || pStroke->nThickness < 1)
        return;
    m_pDeviceContext->DrawLine(x1, y1, x2, y2, pStroke);
}

void CQVTMarkupDrawingContext::DrawPolyline(const Gdiplus::PointF* pPoints, int nCount,
                                            const CQVTMarkupStroke* pStroke)
{
    m_pDeviceContext->DrawPolylineF(pPoints, nCount, pStroke);
}

void CQVTMarkupDrawingContext::DrawPolygon(const Gdiplus::PointF* pPoints, int nCount,
                                           const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill)
{
    m_pDeviceContext->DrawPolygonF(pPoints, nCount, pStroke, pFill);
}

void CQVTMarkupDrawingContext::DrawPath(CQVTMarkupPathData* pPath, const CQVTMarkupStroke* pStroke,
                                        CQVTMarkupBrush* pFill)
{
    m_pDeviceContext->DrawPath(pPath, pStroke, pFill);
}

void CQVTMarkupDrawingContext::DrawImage(CQVTMarkupDeviceDependentImage* pImage, const RECT& rc)
{
    m_pDeviceContext->DrawImage(pImage, rc);
}

SIZE CQVTMarkupDrawingContext::GetTextExtent(LPCWSTR lpszText, int nLength)
{
    return m_pDeviceContext->GetTextExtent(lpszText, nLength);
}

void CQVTMarkupDrawingContext::GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize)
{
    m_pDeviceContext->GetTextExtentF(lpszText, nLength, pSize);
}

void CQVTMarkupDrawingContext::SetTextColor(CQVTMarkupBrush* pBrush)
{
    m_pDeviceContext->SetTextColor(pBrush);
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

CQVTMarkupTransformationMatrix* CQVTMarkupDrawingContext::GetTransform()
{
    return m_pDeviceContext->GetTransform();
}

void CQVTMarkupDrawingContext::SetTransform(CQVTMarkupTransformationMatrix* pMatrix)
{
    m_pDeviceContext->SetTransform(pMatrix);
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
