#include "toolkit/markup/controls/QVTMarkupButton.h"

#include <algorithm>
#include <memory>

#include <vssym32.h>

#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupButton, CQVTMarkupButtonBase, u"Button", nullptr)

namespace {
int ScaleX(CQVTMarkupObject* pElement, int nValue)
{
    CQVTMarkupContext* pContext = pElement->GetMarkupContext();
    return pContext != nullptr ? pContext->ScaleX(nValue) : nValue;
}

int ScaleY(CQVTMarkupObject* pElement, int nValue)
{
    CQVTMarkupContext* pContext = pElement->GetMarkupContext();
    return pContext != nullptr ? pContext->ScaleY(nValue) : nValue;
}
}  // namespace

CQVTMarkupThickness* AFXAPI MarkupButtonPadding(CQVTMarkupControl* pControl)
{
    return MarkupCast<CQVTMarkupThickness>(pControl->GetValue(CQVTMarkupControl::m_pPaddingProperty));
}

void AFXAPI MarkupOpenButtonTheme(CQVTMarkupObject* pElement, CQVTWinThemeWrapper* pTheme)
{
    CQVTMarkupContext* pContext = pElement->GetMarkupContext();
    pTheme->OpenThemeData(pContext != nullptr ? pContext->GetHostWindow() : nullptr, u"BUTTON");
}

SIZE CQVTMarkupButton::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    MarkupOpenButtonTheme(this, GetTheme());
    CQVTMarkupThickness* pPadding = MarkupButtonPadding(this);
    SIZE szBorder = {ScaleX(this, 8), ScaleY(this, 8)};
    if (pPadding != nullptr)
    {
        szBorder.cx += pPadding->left + pPadding->right;
        szBorder.cy += pPadding->top + pPadding->bottom;
    }
    CQVTMarkupUIElement* pContent = GetContent();
    if (pContent == nullptr)
        return szBorder;
    pContent->Measure(pDC, SIZE{std::max<LONG>(MarkupSaturate(__int64(szAvailable.cx) - szBorder.cx), 0),
                                std::max<LONG>(MarkupSaturate(__int64(szAvailable.cy) - szBorder.cy), 0)});
    const SIZE szContent = pContent->GetDesiredSize();
    return SIZE{MarkupSaturate(__int64(szContent.cx) + szBorder.cx),
                MarkupSaturate(__int64(szContent.cy) + szBorder.cy)};
}

SIZE CQVTMarkupButton::ArrangeOverride(SIZE szFinal)
{
    CQVTMarkupUIElement* pContent = GetContent();
    if (pContent == nullptr)
        return szFinal;
    RECT rc = {0, 0, szFinal.cx, szFinal.cy};
    // The theme shows the pressed state itself; a button of its own colour moves its content.
    if (IsPressed() && !(GetTheme()->IsAppThemed() && GetValue(m_pBackgroundProperty) == nullptr))
        ::OffsetRect(&rc, ScaleX(this, 1), ScaleY(this, 1));
    rc = CQVTMarkupThickness::Deflate(rc, MarkupButtonPadding(this));
    rc.left += ScaleX(this, 4);
    rc.right -= ScaleX(this, 4);
    rc.top += ScaleY(this, 4);
    rc.bottom -= ScaleY(this, 4);
    pContent->Arrange(rc);
    return szFinal;
}

void CQVTMarkupButton::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const SIZE szRender = GetRenderSize();
    RECT rc = {0, 0, szRender.cx, szRender.cy};
    COLORREF clrLight, clrShadow, clrDarkShadow;
    if (CQVTMarkupBrush* pBackground = MarkupCast<CQVTMarkupBrush>(GetValue(m_pBackgroundProperty)))
    {
        pDC->FillRectangle(rc, pBackground);
        const DWORD dwHLS = RGBToHLS(pBackground->GetColorRef());
        const DWORD dwHue = dwHLS & 0xFF;
        const DWORD dwSaturation = (dwHLS >> 8) & 0xFF;
        const int nLightness = static_cast<int>((dwHLS >> 16) & 0xFF);
        clrLight = HLSToRGB(dwHue | (dwSaturation << 8) | (static_cast<DWORD>((nLightness + 240) / 2) << 16));
        clrShadow =
            HLSToRGB(dwHue | (dwSaturation << 8) | (static_cast<DWORD>(::MulDiv(nLightness, 2, 3)) << 16));
        clrDarkShadow = RGB(GetRValue(clrShadow) / 2, GetGValue(clrShadow) / 2, GetBValue(clrShadow) / 2);
    }
    else if (GetTheme()->IsAppThemeActive())
    {
        std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(pDC->GetDeviceContext()->CreateDedicatedDC(rc));
        HDC hDC = dedicated->GetDC();
        if (hDC != nullptr)
        {
            HDC hSource = pDC->GetDC();
            ::BitBlt(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hSource, rc.left, rc.top,
                     SRCCOPY);
            pDC->ReleaseDC(hSource);
            const int nState = !IsEnabled()    ? PBS_DISABLED
                               : IsPressed()   ? PBS_PRESSED
                               : IsMouseOver() ? PBS_HOT
                                               : PBS_NORMAL;
            GetTheme()->DrawThemeBackground(hDC, BP_PUSHBUTTON, nState, &rc, nullptr);
        }
        dedicated->Flush();
        return;
    }
    else
    {
        pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
        clrLight = ::GetSysColor(COLOR_WINDOW);
        clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
        clrDarkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    }
    DrawClassicFrame(pDC, rc, clrLight, clrShadow, clrDarkShadow);
}

void CQVTMarkupButton::DrawClassicFrame(CQVTMarkupDrawingContext* pDC, const RECT& rc, COLORREF clrLight,
                                        COLORREF clrShadow, COLORREF clrDarkShadow)
{
    const int px = ScaleX(this, 1);
    const int py = ScaleY(this, 1);
    if (IsPressed())
    {
        CQVTMarkupAutoPtr frame(new CQVTMarkupSolidColorBrush(255, ::GetSysColor(COLOR_WINDOWFRAME)));
        pDC->DrawFrame(rc, static_cast<CQVTMarkupBrush*>(frame.Get()));
        const RECT rcInner = {rc.left + px, rc.top + py, rc.right - px, rc.bottom - py};
        CQVTMarkupAutoPtr shadow(new CQVTMarkupSolidColorBrush(255, clrShadow));
        pDC->DrawFrame(rcInner, static_cast<CQVTMarkupBrush*>(shadow.Get()));
        return;
    }
    pDC->FillSolidRect(RECT{rc.left, rc.top, rc.right, rc.top + py}, clrLight);
    pDC->FillSolidRect(RECT{rc.left, rc.top, rc.left + px, rc.bottom}, clrLight);
    pDC->FillSolidRect(RECT{rc.left + px, rc.bottom - 2 * py, rc.right - px, rc.bottom - py}, clrShadow);
    pDC->FillSolidRect(RECT{rc.right - 2 * px, rc.top + py, rc.right - px, rc.bottom - py}, clrShadow);
    pDC->FillSolidRect(RECT{rc.left, rc.bottom - py, rc.right - px, rc.bottom}, clrDarkShadow);
    pDC->FillSolidRect(RECT{rc.right - px, rc.top, rc.right, rc.bottom}, clrDarkShadow);
}

void CQVTMarkupButton::OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC)
{
    const SIZE szRender = GetRenderSize();
    RECT rc = {0, 0, szRender.cx, szRender.cy};
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(pDC->GetDeviceContext()->CreateDedicatedDC(rc));
    if (HDC hDC = dedicated->GetDC())
    {
        ::InflateRect(&rc, -ScaleX(this, 3), -ScaleY(this, 3));
        ::DrawFocusRect(hDC, &rc);
    }
    dedicated->Flush();
}
