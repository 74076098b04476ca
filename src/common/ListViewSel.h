// A report list whose rows each carry their own look: a row's item data
// points to a CSelection with optional text and background colours (normal
// and selected) and a font. The list paints through its own custom-draw
// notification, reflected back to it, and hands files dropped on it to its
// parent. The list does not own the records.
#pragma once

#include <afxcmn.h>

class CSelection
{
public:
    CSelection() = default;
    virtual ~CSelection() = default;
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

    // A font from a zeroed LOGFONT with this face (at most 31 characters),
    // height and weight, in place of any earlier one.
    void SetFont(LPCTSTR pszFaceName, int nHeight, int nWeight);
    // Back to the list's own font.
    void ResetFont();

    BOOL m_bTextColorSet = FALSE;  // the two text colours below apply
    COLORREF m_clrText = 0;
    COLORREF m_clrSelectedText = 0;
    BOOL m_bBackgroundSet = FALSE;  // the two background colours below apply
    COLORREF m_clrBackground = 0xFFFFFF;
    COLORREF m_clrSelectedBackground = 0xFFFFFF;
    BOOL m_bFontSet = FALSE;  // m_font applies
    CFont m_font;
};

class CListViewSel : public CListCtrl
{
    DECLARE_DYNAMIC(CListViewSel)

public:
    CListViewSel() = default;

protected:
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    LRESULT OnItemPrePaint(NMLVCUSTOMDRAW* pDraw);
};
