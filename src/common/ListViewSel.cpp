#include "common/ListViewSel.h"

void CSelection::SetFont(LPCTSTR pszFaceName, int nHeight, int nWeight)
{
    ResetFont();
    LOGFONTW logFont = {};
    if (pszFaceName != nullptr)
        _tcsncpy_s(logFont.lfFaceName, LF_FACESIZE, pszFaceName, LF_FACESIZE - 1);
    logFont.lfHeight = nHeight;
    logFont.lfWeight = nWeight;
    if (m_font.CreateFontIndirect(&logFont))
        m_bFontSet = TRUE;
}

void CSelection::ResetFont()
{
    m_font.DeleteObject();
    m_bFontSet = FALSE;
}

IMPLEMENT_DYNAMIC(CListViewSel, CListCtrl)

BEGIN_MESSAGE_MAP(CListViewSel, CListCtrl)
    ON_WM_DROPFILES()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CListViewSel::OnCustomDraw)
END_MESSAGE_MAP()

void CListViewSel::OnDropFiles(HDROP hDropInfo)
{
    // The parent takes the files as if they had been dropped on it.
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDropInfo), 0);
    CListCtrl::OnDropFiles(hDropInfo);
}

void CListViewSel::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    switch (pDraw->nmcd.dwDrawStage)
    {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        *pResult = OnItemPrePaint(pDraw);
        break;
    default:
        *pResult = CDRF_DODEFAULT;
        break;
    }
}

LRESULT CListViewSel::OnItemPrePaint(NMLVCUSTOMDRAW* pDraw)
{
    CSelection* pSelection = reinterpret_cast<CSelection*>(pDraw->nmcd.lItemlParam);
    if (pSelection == nullptr)
        return CDRF_DODEFAULT;
    LRESULT nResult = CDRF_DODEFAULT;
    const int nItem = static_cast<int>(pDraw->nmcd.dwItemSpec);
    int nSelected = -1;  // not asked yet
    auto isSelected = [&] {
        if (nSelected < 0)
            nSelected = (GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED) ? 1 : 0;
        return nSelected == 1;
    };
    if (pSelection->m_bTextColorSet)
    {
        pDraw->clrText = isSelected() ? pSelection->m_clrSelectedText : pSelection->m_clrText;
        nResult = CDRF_NEWFONT;
    }
    if (pSelection->m_bBackgroundSet)
    {
        pDraw->clrTextBk = isSelected() ? pSelection->m_clrSelectedBackground : pSelection->m_clrBackground;
        nResult = CDRF_NEWFONT;
    }
    // The control paints a selected row in its highlight colours over ours
    // unless the row stops counting as selected for this paint.
    if ((pSelection->m_bTextColorSet || pSelection->m_bBackgroundSet) && nSelected == 1)
        pDraw->nmcd.uItemState &= ~CDIS_SELECTED;
    if (pSelection->m_bFontSet)
    {
        ::SelectObject(pDraw->nmcd.hdc, pSelection->m_font.GetSafeHandle());
        nResult = CDRF_NEWFONT;
    }
    return nResult;
}
