#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

#include <algorithm>
#include <new>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/tabmanager/appearances/QVTTabAppearances.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSets.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/markup/QVTTabMarkup.h"

IMPLEMENT_DYNAMIC(CQVTTabPaintManager, CQVTCmdTarget)

namespace {

const COLORREF kAutomaticColors[qvtTabAutomaticColorCount] = {
    RGB(138, 168, 228), RGB(255, 219, 117), RGB(189, 205, 159), RGB(240, 158, 159),
    RGB(186, 166, 225), RGB(154, 191, 180), RGB(247, 182, 131), RGB(216, 171, 192),
};

}  // namespace

CQVTTabPaintManager::CQVTTabPaintManager(int nReserved) : m_nReserved(nReserved)
{
    EnableAutomation();
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    m_rcButtonTextPadding.SetRect(pScaler->ScaleX(6), 0, pScaler->ScaleX(6), 0);
    m_szIcon =
        pScaler->UnscaleSize(CSize(QVTSystemMetrics()->m_nSmallIconX, QVTSystemMetrics()->m_nSmallIconY));
    m_szNavigateButton = CSize(pScaler->ScaleX(14), pScaler->ScaleY(15));
    m_szItemCloseButton = CSize(pScaler->ScaleX(12), pScaler->ScaleY(12));
    m_nFixedTabWidth = pScaler->ScaleX(70);

    RefreshMetrics();
    SetAppearance(qvtTabAppearancePropertyPage);
}

CQVTTabPaintManager::~CQVTTabPaintManager()
{
    delete m_pColorSet;
    delete m_pAppearanceSet;
    for (CQVTTabManagerAtom* pAtom : m_arrTabManagers)
        if (CQVTTabManager* pManager = dynamic_cast<CQVTTabManager*>(pAtom))
            pManager->m_pAttachedPaintManager = nullptr;
}

CQVTTabPaintManagerTheme* CQVTTabPaintManager::SetAppearance(int nAppearance)
{
    m_nAppearance = nAppearance;
    return SetAppearanceSet(CreateTabAppearance(nAppearance));
}

CQVTTabPaintManagerTheme* CQVTTabPaintManager::SetAppearanceSet(CQVTTabPaintManagerTheme* pAppearance)
{
    if (pAppearance)
    {
        delete m_pAppearanceSet;
        m_pAppearanceSet = pAppearance;
        pAppearance->SetPaintManager(this);
        pAppearance->RefreshMetrics();
        SetColor(pAppearance->GetDefaultColorSet());
    }
    RefreshTabManagers();
    return pAppearance;
}

CQVTTabPaintManagerColorSet* CQVTTabPaintManager::SetColor(int nColorSet)
{
    m_nColor = nColorSet;
    return SetColorSet(CreateTabColorSet(nColorSet));
}

CQVTTabPaintManagerColorSet* CQVTTabPaintManager::SetColorSet(CQVTTabPaintManagerColorSet* pColorSet)
{
    if (pColorSet)
    {
        delete m_pColorSet;
        m_pColorSet = pColorSet;
        pColorSet->SetPaintManager(this);
        pColorSet->RefreshMetrics();
    }
    RefreshTabManagers();
    return pColorSet;
}

void CQVTTabPaintManager::RefreshMetrics()
{
    if (m_bUseStandardFont)
    {
        LOGFONT lf = {};
        if (CQVTDrawHelpers::GetIconTitleLogFont(&lf))
            SetFontIndirect(&lf, TRUE);
    }
    if (m_pAppearanceSet)
        m_pAppearanceSet->RefreshMetrics();
    if (m_pColorSet)
        m_pColorSet->RefreshMetrics();
}

void CQVTTabPaintManager::CreateVerticalFont(CQVTFont& font, LOGFONT lf, int nWeight)
{
    const CString strFace = CQVTDrawHelpers::GetDefaultFontFace(TRUE);
    lstrcpynW(lf.lfFaceName, strFace, LF_FACESIZE);
    lf.lfEscapement = m_bVerticalTextTopToBottom ? 2700 : 900;
    lf.lfOrientation = 900;
    if (lf.lfHeight < 0 && lf.lfHeight >= -10)
        lf.lfHeight = -11;
    lf.lfWeight = nWeight;
    font.CreateFontIndirect(&lf);
}

void CQVTTabPaintManager::SetFontIndirect(const LOGFONT* pLogFont, BOOL bUseSystemFont)
{
    m_bUseStandardFont = bUseSystemFont;
    if (!pLogFont)
        return;
    LOGFONT lf = *pLogFont;
    if (m_bClearTypeTextQuality && QVTOSVersion()->IsWinXPOrGreater())
        lf.lfQuality = CLEARTYPE_QUALITY;

    m_fntNormal.DeleteObject();
    m_fntBold.DeleteObject();
    m_fntVertical.DeleteObject();
    m_fntVerticalBold.DeleteObject();

    const int nNormalWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    lf.lfWeight = nNormalWeight;
    m_fntNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntBold.CreateFontIndirect(&lf);
    CreateVerticalFont(m_fntVertical, lf, nNormalWeight);
    CreateVerticalFont(m_fntVerticalBold, lf, FW_BOLD);

    if (m_pAppearanceSet)
        m_pAppearanceSet->RefreshMetrics();
    RefreshTabManagers();
}

void CQVTTabPaintManager::SetLayout(int nLayout)
{
    m_nLayout = nLayout;
    RefreshTabManagers();
}

void CQVTTabPaintManager::SetPosition(int nPosition)
{
    m_nPosition = nPosition;
    RefreshTabManagers();
}

void CQVTTabPaintManager::AddTabManager(CQVTTabManagerAtom* pAtom)
{
    if (std::find(m_arrTabManagers.begin(), m_arrTabManagers.end(), pAtom) == m_arrTabManagers.end())
        m_arrTabManagers.push_back(pAtom);
}

void CQVTTabPaintManager::RemoveTabManager(CQVTTabManagerAtom* pAtom)
{
    m_arrTabManagers.erase(std::remove(m_arrTabManagers.begin(), m_arrTabManagers.end(), pAtom),
                           m_arrTabManagers.end());
}

void CQVTTabPaintManager::RefreshTabManagers()
{
    // A strip may detach itself while it refreshes.
    const std::vector<CQVTTabManagerAtom*> arrTabManagers = m_arrTabManagers;
    for (CQVTTabManagerAtom* pAtom : arrTabManagers)
        if (std::find(m_arrTabManagers.begin(), m_arrTabManagers.end(), pAtom) != m_arrTabManagers.end())
            pAtom->Refresh();
}

BOOL CQVTTabPaintManager::IsLunaColorsDisabled() const
{
    return m_bDisableLunaColors || QVTColorManager()->IsThemeColorsDisabled();
}

COLORREF CQVTTabPaintManager::GetAutomaticColor(COLORREF clrValue) const
{
    if (!IsTabAutomaticColor(clrValue))
        AfxThrowInvalidArgException();
    return kAutomaticColors[clrValue - qvtTabAutomaticColorFirst];
}

COLORREF CQVTTabPaintManager::NextAutomaticColor()
{
    const COLORREF clr = qvtTabAutomaticColorFirst + m_nAutomaticColorIndex % qvtTabAutomaticColorCount;
    m_nAutomaticColorIndex = (m_nAutomaticColorIndex + 1) % qvtTabAutomaticColorCount;
    return clr;
}

BOOL CQVTTabPaintManager::IsVerticalText(const CQVTTabManager* pTabManager) const
{
    const BOOL bSideStrip = !QVTIsHorizontalTabPosition(m_nPosition);
    return m_nLayout == qvtTabLayoutRotated ? !bSideStrip : bSideStrip;
}

CQVTFont* CQVTTabPaintManager::GetItemFont(const CQVTTabManager* pTabManager, const CQVTTabManagerItem* pItem)
{
    const BOOL bBold =
        m_bBoldSelected && pItem && pItem->IsSelected() && pTabManager && pTabManager->IsActive();
    if (IsVerticalText(pTabManager))
        return bBold ? &m_fntVerticalBold : &m_fntVertical;
    return bBold ? &m_fntBold : &m_fntNormal;
}

CRect AFX_CDECL CQVTTabPaintManager::RotateMarginsByPosition(const CRect& rcMargins, int nPosition)
{
    switch (nPosition)
    {
    case 1:
        return CRect(rcMargins.top, rcMargins.left, rcMargins.bottom, rcMargins.right);
    case 2:
        return CRect(rcMargins.left, rcMargins.bottom, rcMargins.right, rcMargins.top);
    case 3:
        return CRect(rcMargins.bottom, rcMargins.left, rcMargins.top, rcMargins.right);
    default:
        return rcMargins;
    }
}

void AFX_CDECL CQVTTabPaintManager::DeflateRectByPosition(CRect& rc, const CRect& rcMargins, int nPosition)
{
    const CRect m = RotateMarginsByPosition(rcMargins, nPosition);
    rc.DeflateRect(m.left, m.top, m.right, m.bottom);
}

void AFX_CDECL CQVTTabPaintManager::InflateRectByPosition(CRect& rc, const CRect& rcMargins, int nPosition)
{
    const CRect m = RotateMarginsByPosition(rcMargins, nPosition);
    rc.InflateRect(m.left, m.top, m.right, m.bottom);
}

void CQVTTabPaintManager::RepositionTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient)
{
    if (!pTabManager || !m_pAppearanceSet)
        return;
    pTabManager->AttachPaintManager(this);
    pTabManager->m_rcHeader.SetRectEmpty();
    pTabManager->m_rcControl = rcClient;
    pTabManager->m_rcClient = rcClient;
    CQVTTabManager::CRowIndexer::ROW_ITEMS* pRows = pTabManager->m_pRowIndexer->CreateIndexer(1);
    pRows[0].nLastItem = pTabManager->GetItemCount() - 1;
    for (CQVTTabManagerItem* pItem : pTabManager->m_arrItems)
        pItem->m_nItemRow = 0;
    m_pAppearanceSet->RepositionTabControl(pTabManager, pDC, rcClient);
    AdjustClientRect(pTabManager, pTabManager->m_rcClient);
}

void CQVTTabPaintManager::AdjustClientRect(CQVTTabManager* pTabManager, CRect& rcClient)
{
    if (pTabManager->IsDrawStaticFrame())
        DeflateRectByPosition(rcClient, CRect(2, 1, 2, 2), m_nPosition);
    if (pTabManager->GetItemCount() > 0 && m_pAppearanceSet)
        m_pAppearanceSet->AdjustClientRect(pTabManager, rcClient);
}

void CQVTTabPaintManager::DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    if (pTabManager && pDC && m_pAppearanceSet)
        m_pAppearanceSet->DrawTabControl(pTabManager, pDC, rcControl);
}

void CQVTTabPaintManager::DrawNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc)
{
    if (m_pColorSet)
        m_pColorSet->FillNavigateButton(pDC, pButton, rc);
}

void CQVTTabPaintManager::DrawFocusRect(CDC* pDC, CQVTTabManagerItem* /*pItem*/, CRect rcItem)
{
    if (!m_bDrawFocusRect)
        return;
    rcItem.DeflateRect(3, 3);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkColor(RGB(255, 255, 255));
    pDC->DrawFocusRect(rcItem);
}

void CQVTTabPaintManager::EnsureVisible(CQVTTabManager* pTabManager, CQVTTabManagerItem* pItem)
{
    const CRect rcHeader = pTabManager->m_rcHeader;
    const CRect rcItem = pItem->m_rcItem;
    if (rcHeader.IsRectEmpty() || rcItem.IsRectEmpty() || m_nLayout == qvtTabLayoutSizeToFit ||
        !m_pAppearanceSet)
        return;
    const BOOL bHorizontal = QVTIsHorizontalTabPosition(m_nPosition);
    const int nHeaderStart = bHorizontal ? rcHeader.left : rcHeader.top;
    const int nHeaderEnd = bHorizontal ? rcHeader.right : rcHeader.bottom;
    const int nItemStart = bHorizontal ? rcItem.left : rcItem.top;
    const int nItemEnd = bHorizontal ? rcItem.right : rcItem.bottom;
    const int nOffset = pTabManager->GetHeaderOffset();
    if (nItemStart < nHeaderStart)
        pTabManager->SetHeaderOffset(nOffset + nHeaderStart + m_pAppearanceSet->GetHeaderMargin().left -
                                     nItemStart);
    else if (nItemEnd > nHeaderEnd)
        pTabManager->SetHeaderOffset(nOffset + (nHeaderEnd - 2) - nItemEnd);
}
