#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"

#include <algorithm>

#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/frame/QVTFrameIni.h"

IMPLEMENT_DYNAMIC(CQVTFrameThemeOffice2007System, CQVTRibbonMarkupFrameTheme)

namespace {
const LPCSTR kSystemFrameEntries[CQVTFrameThemeOffice2007System::partCount] = {
    "RibbonFrameCaptionActive.xaml",
    "RibbonFrameCaptionInactive.xaml",
    "Frame/BorderLeftActive.xaml",
    "Frame/BorderLeftInactive.xaml",
    "Frame/BorderLeftCaptionActive.xaml",
    "Frame/BorderLeftCaptionInactive.xaml",
    "Frame/BorderTopActive.xaml",
    "Frame/BorderTopInactive.xaml",
    "Frame/BorderRightActive.xaml",
    "Frame/BorderRightInactive.xaml",
    "Frame/BorderRightCaptionActive.xaml",
    "Frame/BorderRightCaptionInactive.xaml",
    "Frame/BorderBottomActive.xaml",
    "Frame/BorderBottomInactive.xaml",
    "Frame/CaptionButtonSelected.xaml",
    "Frame/CaptionButtonPressed.xaml",
    "Frame/GlyphMinimize9.xaml",
    "Frame/GlyphMinimize11.xaml",
    "Frame/GlyphMaximize9.xaml",
    "Frame/GlyphMaximize11.xaml",
    "Frame/GlyphRestore9.xaml",
    "Frame/GlyphRestore11.xaml",
    "Frame/GlyphClose9.xaml",
    "Frame/GlyphClose11.xaml",
};
const int kSystemFrameBorder = 4;
const int kSystemFrameLargeGlyphWidth = 21;  // buttons this wide take the 11-pixel glyphs
}  // namespace

CQVTFrameThemeOffice2007System::CQVTFrameThemeOffice2007System(CQVTPaintManager* pPaintManager)
    : CQVTRibbonMarkupFrameTheme(pPaintManager), m_pMarkupContext(MarkupCreateContext(nullptr, TRUE)),
      m_dwSysColorStamp(0)
{
    LoadStyle();
}

CQVTFrameThemeOffice2007System::~CQVTFrameThemeOffice2007System()
{
    // The parts hold elements of the context: they go first.
    for (CQVTMarkupThemePart& part : m_parts)
        part.Clear();
    MarkupReleaseContext(m_pMarkupContext);
}

DWORD AFX_CDECL CQVTFrameThemeOffice2007System::GetSysColorStamp()
{
    DWORD dwStamp = 2166136261u;
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i)
        dwStamp = (dwStamp ^ ::GetSysColor(i)) * 16777619u;
    return dwStamp;
}

void CQVTFrameThemeOffice2007System::LoadStyle()
{
    m_dwSysColorStamp = GetSysColorStamp();
    HMODULE hModule = nullptr;
    HRSRC hResource =
        QVTResourceManager()->FindResource(&hModule, _T("QVT_IDR_OFFICE2007SYSTEM_STYLE"), _T("STYLE"));
    DWORD nSize = 0;
    const void* pData = CQVTResource::LockBounded(hModule, hResource, &nSize);
    if (!pData)
        return;
    HQVTZIPARCHIVE hArchive = QVTZipOpenArchive(pData, nSize);
    if (!hArchive)
        return;
    LoadParts(hArchive, m_pMarkupContext);
    QVTZipCloseArchive(hArchive);
}

void CQVTFrameThemeOffice2007System::LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext)
{
    for (int i = 0; i < partCount; ++i)
        m_parts[i].LoadPart(hArchive, kSystemFrameEntries[i], pContext);
}

CRect CQVTFrameThemeOffice2007System::CalcFrameBorders(IQVTFrameHook* pFrameHook)
{
    if ((::GetWindowLongPtr(pFrameHook->GetSite(), GWL_STYLE) & WS_MAXIMIZE) || pFrameHook->IsDwmEnabled())
        return CQVTRibbonMarkupFrameTheme::CalcFrameBorders(pFrameHook);
    return CRect(kSystemFrameBorder, kSystemFrameBorder, kSystemFrameBorder, kSystemFrameBorder);
}

HRGN AFX_CDECL CQVTFrameThemeOffice2007System::CreateRoundedRegion(CSize sz, BOOL bRoundBottom, int nScale100)
{
    const auto s = [nScale100](int n) { return MulDiv(n, nScale100, 100); };
    const int cx = sz.cx;
    const int cy = sz.cy;
    CRect rects[8] = {
        CRect(s(4), 0, cx - s(4), s(1)),    CRect(s(2), s(1), cx - s(2), s(2)),
        CRect(s(1), s(2), cx - s(1), s(3)), CRect(s(1), s(3), cx - s(1), s(4)),
        CRect(0, s(4), cx, cy - s(4)),
    };
    int nCount = 5;
    if (bRoundBottom)
    {
        rects[nCount++] = CRect(s(1), cy - s(4), cx - s(1), cy - s(2));
        rects[nCount++] = CRect(s(2), cy - s(2), cx - s(2), cy - s(1));
        rects[nCount++] = CRect(s(4), cy - s(1), cx - s(4), cy);
    }
    else
    {
        // Below a 4-pixel top the last rectangle starts at the top's end.
        rects[nCount++] = CRect(0, std::max(s(4), cy - s(4)), cx, cy);
    }
    return QVTFrameIni::CreateRegionFromRects(rects, nCount);
}

HRGN CQVTFrameThemeOffice2007System::CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz)
{
    if (::GetWindowLongPtr(pFrameHook->GetSite(), GWL_STYLE) & WS_MAXIMIZE)
        return nullptr;
    const BOOL bStatusBar = m_bAllowStatusBarInFrame || pFrameHook->IsFrameHasStatusBar();
    return CreateRoundedRegion(sz, bStatusBar);
}

void CQVTFrameThemeOffice2007System::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected,
                                                       BOOL bPressed, BOOL bEnabled, BOOL bActive,
                                                       CQVTRibbonBar* pRibbonBar)
{
    if (bPressed)
        m_parts[partButtonPressed].Render(pDC, rc);
    else if (bSelected)
        m_parts[partButtonSelected].Render(pDC, rc);

    int nGlyph = -1;
    switch (nId)
    {
    case SC_MINIMIZE:
        nGlyph = partGlyphMinimize9;
        break;
    case SC_MAXIMIZE:
        nGlyph = partGlyphMaximize9;
        break;
    case SC_CLOSE:
        nGlyph = partGlyphClose9;
        break;
    case SC_RESTORE:
        nGlyph = partGlyphRestore9;
        break;
    default:
        return;
    }
    if (rc.Width() >= kSystemFrameLargeGlyphWidth)
        ++nGlyph;  // the 11-pixel form follows each 9-pixel one
    CQVTMarkupThemePart& glyph = m_parts[nGlyph];
    const CSize sz = glyph.Measure(rc.Width(), rc.Height());
    const int x = (rc.left + rc.right - sz.cx) / 2;
    const int y = (rc.top + rc.bottom - sz.cy) / 2;
    glyph.Render(pDC, CRect(x, y, x + sz.cx, y + sz.cy));
}

void CQVTFrameThemeOffice2007System::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected,
                                                       BOOL bPressed, BOOL bEnabled, BOOL bActive)
{
    DrawCaptionButton(pDC, rc, nId, bSelected, bPressed, bEnabled, bActive, nullptr);
}

void CQVTFrameThemeOffice2007System::RefreshMetrics()
{
    CQVTRibbonMarkupFrameTheme::RefreshMetrics();
    if (m_dwSysColorStamp != GetSysColorStamp())
    {
        // The parts hold the old colours: build them again in a new context.
        for (CQVTMarkupThemePart& part : m_parts)
            part.Clear();
        MarkupReleaseContext(m_pMarkupContext);
        m_pMarkupContext = MarkupCreateContext(nullptr, TRUE);
        LoadStyle();
    }
    m_bExtendTabsIntoFrame = FALSE;
    m_nCaptionHeight = ::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYBORDER);

    HFONT hSource = m_pPaintManager && m_pPaintManager->GetRegularFont()
                        ? static_cast<HFONT>(m_pPaintManager->GetRegularFont()->GetSafeHandle())
                        : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONT lf = {};
    if (hSource && ::GetObject(hSource, sizeof(lf), &lf) == sizeof(lf))
    {
        m_fontCaption.SetStandardFont(&lf);
    }
    else if (m_fontCaption.IsStandardFont())
    {
        m_fontCaption.GetFont()->DeleteObject();
    }
}

void CQVTFrameThemeOffice2007System::FillCaptionBackground(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive)
{
    CQVTMarkupThemePart& part = m_parts[bActive ? partCaptionActive : partCaptionInactive];
    // The caption is drawn on a fresh buffer: without its part it would stay
    // black, so it takes the plain caption colour.
    if (part.GetElement())
        part.Render(pDC, rc);
    else
        CQVTRibbonMarkupFrameTheme::FillCaptionBackground(pDC, rc, pFrame, bActive);
}

CQVTMarkupThemePart* CQVTFrameThemeOffice2007System::GetFramePart(int nPart, BOOL bActive)
{
    static const int kParts[][2] = {
        {partBorderTopActive, partBorderTopInactive},
        {partBorderLeftActive, partBorderLeftInactive},
        {partBorderLeftCaptionActive, partBorderLeftCaptionInactive},
        {partBorderRightActive, partBorderRightInactive},
        {partBorderRightCaptionActive, partBorderRightCaptionInactive},
        {partBorderBottomActive, partBorderBottomInactive},
    };
    if (nPart < 0 || nPart >= static_cast<int>(sizeof(kParts) / sizeof(kParts[0])))
        return nullptr;
    return &m_parts[kParts[nPart][bActive ? 0 : 1]];
}
