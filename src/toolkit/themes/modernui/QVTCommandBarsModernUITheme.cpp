#include "toolkit/themes/modernui/QVTCommandBarsModernUITheme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsModernUITheme, CQVTCommandBarsOfficeXPTheme)

CQVTCommandBarsModernUITheme::CQVTCommandBarsModernUITheme()
    : m_pMarkupContext(MarkupCreateContext(nullptr, TRUE)), m_pImages(QVTResourceImages()),
      m_rcPopupMargins(DpiX(3), DpiY(3), DpiX(3), DpiY(3))
{
    // The bases refreshed before this object was complete.
    RefreshMetrics();
}

CQVTCommandBarsModernUITheme::~CQVTCommandBarsModernUITheme()
{
    MarkupReleaseContext(m_pMarkupContext);
}

void CQVTCommandBarsModernUITheme::RefreshMetrics()
{
    CQVTCommandBarsOfficeXPTheme::RefreshMetrics();
    // Flat popups: no drop shadow forced on, no icon shadows or fading.
    if (m_pShadowManager)
        m_pShadowManager->SetShadowOptions(m_pShadowManager->GetShadowOptions() &
                                           ~CQVTShadowManager::shadowAlways);
    m_bIconsWithShadow = FALSE;
    m_bUseFadedIcons = FALSE;
    m_bFlatMenuBar = TRUE;
    m_rcPopupMargins.SetRect(0, 0, 0, 0);
}

CRect CQVTCommandBarsModernUITheme::GetScaledMargins(CQVTCommandBar* pBar)
{
    if (pBar && pBar->GetType() == qvtBarTypePopup)
        return m_rcPopupMargins;
    return CQVTCommandBarsOfficeXPTheme::GetScaledMargins(pBar);
}
