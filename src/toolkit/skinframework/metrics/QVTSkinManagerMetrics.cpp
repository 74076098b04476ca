#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"

#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSite.h"

namespace {
const COLORREF kSkinMetricsDefaultColors[CQVTSkinManagerMetrics::kColorCount] = {
    0xC0C0C0, 0xA56E3A, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000,
    0xE1FFFF, 0xB4B4B4, 0xFF0000, 0xD08410, 0xB5B5B5, 0x800000, 0xC0C0C0};

// Property ids of class SYSMETRICS.
const UINT kSkinMetricsCaptionFont = 801;
const UINT kSkinMetricsSmallCaptionFont = 802;
const UINT kSkinMetricsMenuFont = 803;
const UINT kSkinMetricsScrollBarWidth = 1202;
const UINT kSkinMetricsScrollBarHeight = 1203;
const UINT kSkinMetricsCaptionBarHeight = 1205;
const UINT kSkinMetricsSmallCaptionBarHeight = 1207;
const UINT kSkinMetricsFirstColor = 1601;

int SkinMetricsClamp(int nValue, int nMax)
{
    return std::min(std::max(nValue, 1), nMax);
}
}  // namespace

CQVTSkinManagerMetrics::CQVTSkinManagerMetrics(CQVTSkinManagerSchema* pSchema) : m_pSchema(pSchema)
{
    for (int i = 0; i < kColorCount; ++i)
    {
        m_clrColors[i] = CLR_INVALID;
        m_hBrushes[i] = nullptr;
    }
}

CQVTSkinManagerMetrics::~CQVTSkinManagerMetrics()
{
    DestroyObjects();
}

COLORREF CQVTSkinManagerMetrics::GetDefaultColor(int nIndex)
{
    return nIndex >= 0 && nIndex < kColorCount ? kSkinMetricsDefaultColors[nIndex] : CLR_INVALID;
}

COLORREF CQVTSkinManagerMetrics::GetColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < kColorCount ? m_clrColors[nIndex] : CLR_INVALID;
}

HBRUSH CQVTSkinManagerMetrics::GetBrush(int nIndex) const
{
    return nIndex >= 0 && nIndex < kColorCount ? m_hBrushes[nIndex] : nullptr;
}

BOOL CQVTSkinManagerMetrics::IsMetricObject(HGDIOBJ hObject)
{
    CQVTCriticalSectionLock lock(m_objectLock);
    if (hObject == nullptr || m_bReplacing)
        return FALSE;
    if (hObject == m_fntCaption.GetSafeHandle() || hObject == m_fntMenu.GetSafeHandle() ||
        hObject == m_fntSmallCaption.GetSafeHandle() || hObject == m_brushButtonFace.GetSafeHandle() ||
        hObject == m_brushDialogTexture.GetSafeHandle() || hObject == m_brushWindow.GetSafeHandle())
        return TRUE;
    for (HBRUSH hBrush : m_hBrushes)
        if (hObject == hBrush)
            return TRUE;
    return FALSE;
}

void CQVTSkinManagerMetrics::SetDialogTextureBrush(const LOGBRUSH& logBrush)
{
    CQVTCriticalSectionLock lock(m_objectLock);
    m_bReplacing = TRUE;
    m_brushDialogTexture.DeleteObject();
    if (m_brushDialogTexture.CreateBrushIndirect(&logBrush))
        m_brushDialogTexture.MarkPermanent();
    m_bReplacing = FALSE;
}

void CQVTSkinManagerMetrics::DestroyObjects()
{
    CQVTCriticalSectionLock lock(m_objectLock);
    m_bReplacing = TRUE;
    m_fntCaption.DeleteObject();
    m_fntMenu.DeleteObject();
    m_fntSmallCaption.DeleteObject();
    for (HBRUSH& hBrush : m_hBrushes)
    {
        if (hBrush != nullptr)
            ::DeleteObject(hBrush);
        hBrush = nullptr;
    }
    m_brushButtonFace.DeleteObject();
    m_brushDialogTexture.DeleteObject();
    m_brushWindow.DeleteObject();
    m_bReplacing = FALSE;
}

void CQVTSkinManagerMetrics::ReplaceFont(CQVTFont& font, const LOGFONT& lf)
{
    CQVTCriticalSectionLock lock(m_objectLock);
    m_bReplacing = TRUE;
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
    m_bReplacing = FALSE;
}

void CQVTSkinManagerMetrics::RefreshMetrics()
{
    CQVTWriteLock lock(m_lock);
    if (m_pSchema == nullptr)
    {
        CQVTCriticalSectionLock objectLock(m_objectLock);
        for (int i = 0; i < kColorCount; ++i)
        {
            m_clrColors[i] = ::GetSysColor(i);
            if (m_hBrushes[i] != nullptr)
                ::DeleteObject(m_hBrushes[i]);
            m_hBrushes[i] = nullptr;
        }
        return;
    }
    CQVTReadLock schemaLock(m_pSchema->GetLock());
    m_bRefreshing = TRUE;
    const UINT nClass = m_pSchema->GetClassCode(u"SYSMETRICS");

    CQVTNonClientMetrics ncm;
    ReplaceFont(m_fntCaption, ncm.lfCaptionFont);
    ReplaceFont(m_fntSmallCaption, ncm.lfSmCaptionFont);
    ReplaceFont(m_fntMenu, ncm.lfMenuFont);

    UINT nBorder = 0;
    ::SystemParametersInfoW(SPI_GETBORDER, 0, &nBorder, 0);
    m_nBorderWidth = static_cast<int>(nBorder);
    m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    m_cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cxVScroll = m_cxSystemVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cyCaption = m_cySystemCaption = ::GetSystemMetrics(SM_CYCAPTION);
    m_cySmallCaption = m_cySystemSmallCaption = ::GetSystemMetrics(SM_CYSMCAPTION);

    CQVTSkinManagerSite* pSite = m_pSchema->GetSite();
    const UINT nOptions = pSite ? pSite->GetApplyOptions() : ~0u;
    if (nOptions & qvtSkinApplyMetrics)
    {
        CQVTDpiScaler* pDpi = QVTDpiScaler();
        int nValue = 0;
        m_cyCaption = pDpi->ScaleY(
            (m_pSchema->GetIntProperty(nClass, 0, 0, kSkinMetricsCaptionBarHeight, &nValue) == S_OK
                 ? SkinMetricsClamp(nValue, kMaxCaptionHeight)
                 : m_cySystemCaption) +
            1);
        m_cySmallCaption = pDpi->ScaleY(
            (m_pSchema->GetIntProperty(nClass, 0, 0, kSkinMetricsSmallCaptionBarHeight, &nValue) == S_OK
                 ? SkinMetricsClamp(nValue, kMaxCaptionHeight)
                 : m_cySystemSmallCaption) +
            1);
        if (m_pSchema->GetIntProperty(nClass, 0, 0, kSkinMetricsScrollBarWidth, &nValue) == S_OK &&
            nValue >= 1)
            m_cxVScroll = m_cxHScroll = pDpi->ScaleX(std::min<int>(nValue, kMaxScrollBarSize));
        if (m_pSchema->GetIntProperty(nClass, 0, 0, kSkinMetricsScrollBarHeight, &nValue) == S_OK &&
            nValue >= 1)
            m_cyVScroll = m_cyHScroll = pDpi->ScaleY(std::min<int>(nValue, kMaxScrollBarSize));
        LOGFONT lf;
        if (m_pSchema->GetFontProperty(nClass, 0, 0, kSkinMetricsCaptionFont, &lf) == S_OK)
            ReplaceFont(m_fntCaption, lf);
        if (m_pSchema->GetFontProperty(nClass, 0, 0, kSkinMetricsSmallCaptionFont, &lf) == S_OK)
            ReplaceFont(m_fntSmallCaption, lf);
        if (m_pSchema->GetFontProperty(nClass, 0, 0, kSkinMetricsMenuFont, &lf) == S_OK)
            ReplaceFont(m_fntMenu, lf);
    }

    for (int i = 0; i < kColorCount; ++i)
    {
        COLORREF clr = 0;
        if (m_pSchema->GetColorProperty(nClass, 0, 0, kSkinMetricsFirstColor + i, &clr) != S_OK)
        {
            clr = kSkinMetricsDefaultColors[i];
            if (pSite)
                pSite->ApplyColorFilter(&clr);
        }
        if (clr != m_clrColors[i] || m_hBrushes[i] == nullptr)
        {
            HBRUSH hBrush = ::CreateSolidBrush(clr);
            CQVTCriticalSectionLock objectLock(m_objectLock);
            m_bReplacing = TRUE;
            if (m_hBrushes[i] != nullptr)
                ::DeleteObject(m_hBrushes[i]);
            m_hBrushes[i] = hBrush;
            m_clrColors[i] = clr;
            m_bReplacing = FALSE;
        }
    }

    m_clrEdgeLight = m_clrColors[COLOR_3DLIGHT];
    m_clrEdgeHighlight = m_clrColors[COLOR_BTNHIGHLIGHT];
    m_clrEdgeShadow = m_clrColors[COLOR_BTNSHADOW];
    m_clrEdgeDkShadow = m_clrColors[COLOR_3DDKSHADOW];
    {
        CQVTCriticalSectionLock objectLock(m_objectLock);
        m_bReplacing = TRUE;
        m_brushButtonFace.DeleteObject();
        if (m_brushButtonFace.CreateSolidBrush(m_clrColors[COLOR_BTNFACE]))
            m_brushButtonFace.MarkPermanent();
        m_brushWindow.DeleteObject();
        if (m_brushWindow.CreateSolidBrush(m_clrColors[COLOR_WINDOW]))
            m_brushWindow.MarkPermanent();
        m_brushDialogTexture.DeleteObject();
        m_bReplacing = FALSE;
    }
    m_bRefreshing = FALSE;
}
