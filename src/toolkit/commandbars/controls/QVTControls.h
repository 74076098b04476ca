// The ordered controls of one bar: made by type or from a Windows menu,
// inserted, found, removed and re-typed; a copy of the original controls
// that customization is compared with; and the row layout of toolbars and
// the column layout of popup bars.
//
// The layouts live in QVTControlsLayout.cpp: they are most of the class and
// share only the layout items with the rest.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBar;
class CQVTCommandBars;
class CQVTControl;
class CQVTOriginalControls;
class CQVTPaintManager;
class CQVTCommandBarList;
class CQVTPropExchange;
struct QVT_BARS_EXCHANGE_PARAM;

class CQVTControls : public CQVTCmdTarget
{
    DECLARE_DYNCREATE(CQVTControls)

public:
    CQVTControls();
    ~CQVTControls() override;

    virtual void Remove(CQVTControl* pControl);
    virtual void Copy(CQVTControls* pSource, BOOL bRecursive = FALSE);
    virtual void OnControlAdded(CQVTControl* pControl);
    virtual void OnControlRemoved(CQVTControl* pControl);
    // A non-zero answer keeps the control.
    virtual BOOL OnControlRemoving(CQVTControl* pControl) { return FALSE; }
    virtual void RefreshIndexes();

    CQVTControl* AddControl(CQVTControl* pControl) { return InsertControl(pControl, -1); }
    // Appends for an index outside 0..count-1.
    CQVTControl* InsertControl(CQVTControl* pControl, int nBefore);
    CQVTControl* Add(CQVTControl* pControl, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                     BOOL bTemporary = FALSE);
    // Null for a type outside 1..11.
    CQVTControl* AddByType(int nType, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                           BOOL bTemporary = FALSE);
    CQVTControl* AddCopy(CQVTControl* pSource, int nBefore = -1, BOOL bRecursive = FALSE);
    // Builds a control from item nPosition of the menu; null when the item
    // gives none.
    CQVTControl* AddMenuItem(CMenu* pMenu, int nPosition);
    // The steps of AddMenuItem.
    static UINT AFX_CDECL TakeSubMenuCommandId(CString& strCaption);
    CQVTControl* CreateMenuItemControl(const QVTCREATECONTROLSTRUCT& cs, UINT nId, CString& strCaption,
                                       HMENU hSubMenu);
    void AttachMenuItemCommand(CQVTControl* pControl, UINT nId, const CString& strCaption);

    CQVTControl* FindControl(int nId) const;
    CQVTControl* FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const;
    int GetNextIndex(int nIndex, int nDirection, BOOL bSkipFlagged = FALSE, BOOL bSkipTemporary = TRUE,
                     BOOL bKeyboardMode = FALSE) const;
    int GetVisibleCount(BOOL bAll = TRUE) const;
    CQVTControl* GetVisibleControl(int nIndex, BOOL bAll = TRUE) const;
    CQVTControl* HitTest(CPoint point) const;

    void Remove(int nIndex);
    void RemoveAll();
    CQVTControl* SetControlTypeAt(int nIndex, int nType);
    CQVTControl* SetControlType(CQVTControl* pControl, int nType);

    void SetParent(CQVTCommandBar* pParent);
    CQVTCommandBar* GetParent() const { return m_pParent; }
    void SetCommandBars(CQVTCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    CQVTCommandBars* GetCommandBars() const;

    void CreateOriginalControls();
    void SetOriginalControls(CQVTOriginalControls* pOriginalControls);
    CQVTOriginalControls* GetOriginalControls() const { return m_pOriginalControls; }
    BOOL IsChanged() const;
    // The same controls in the same order, temporary ones not counted.
    BOOL HasSameControls(const CQVTControls* pOther) const;
    BOOL IsOriginals() const { return m_bOriginalControls; }
    CQVTControls* Duplicate(BOOL bRecursive = FALSE);
    // The saved layout (QVTControlsExchange.cpp).
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    virtual BOOL IsControlSaved(CQVTControl* pControl) const;
    // What a load replaces: every control here, the bar's own ones too.
    virtual void RemoveBeforeLoad() { RemoveAll(); }
    void GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                QVT_BARS_EXCHANGE_PARAM* pParam);
    // pHolder: the bar whose popups these are (null: the parent).
    void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList, CQVTCommandBar* pHolder = nullptr);

    int GetCount() const { return static_cast<int>(m_arrControls.size()); }
    CQVTControl* GetAt(int nIndex) const;

    // Toolbar layout: mode bits are LM_ flags plus QVTLayoutModeFlags.
    CSize CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nMinExtent = 0);
    // Popup layout in columns.
    void CalcPopupSize(CSize& szResult, CDC* pDC, int nMaxHeight, int nFixedWidth, const CRect& rcBorder);

    // The share of the work area's right edge a popup control may take; 0 or
    // less lifts the limit.
    static double s_dMaxPopupWidth;

protected:
    struct LayoutItem
    {
        CRect rcControl;
        CRect rcRow;
        CSize szControl;
        BOOL bVisible;
        BOOL bWrap;
        BOOL bHidden;  // did not fit
        BOOL bBeginGroup;
        int nStyle;
        CQVTControl* pControl;
    };
    struct LayoutInfo
    {
        std::vector<LayoutItem> items;
        CSize szSeparator;
        CQVTPaintManager* pPaintManager = nullptr;
        BOOL bVert = FALSE;
        BOOL bOverflow = FALSE;  // some control did not fit
    };

    // Steps of CalcDynamicSize.
    int WrapToWidth(LayoutInfo& info, int nWidth, DWORD& dwMode) const;
    CSize RowLayout(LayoutInfo& info) const;
    CSize CalcWrappedSize(LayoutInfo& info, int nWidth, DWORD& dwMode) const;
    int FitWrap(LayoutInfo& info, int nLength, DWORD dwMode) const;
    int FitSquare(LayoutInfo& info, DWORD dwMode) const;
    CSize AdaptiveLayout(LayoutInfo& info, int nLength, DWORD& dwMode, CDC* pDC) const;
    CSize ColumnLayout(LayoutInfo& info, DWORD dwMode, CDC* pDC) const;
    BOOL ShrinkOneRun(LayoutInfo& info, DWORD dwMode) const;
    void AlignRows(LayoutInfo& info) const;
    // The steps of CalcDynamicSize.
    int CalcWrapWidth(LayoutInfo& info, int nLength, DWORD dwMode, const CRect& rcBorder) const;
    void PlaceInBorders(LayoutInfo& info, const CRect& rcBorder, CSize szContent, BOOL bAdaptive) const;
    void CommitLayout(LayoutInfo& info, BOOL bAdaptive);
    int LengthOf(const CSize& sz, BOOL bVert) const { return bVert ? sz.cy : sz.cx; }

    CQVTControl* CreateControlByType(int nType, int nId, BOOL bTemporary, BOOL bFromMenu,
                                     LPCTSTR lpszMenuCaption);
    // The site's popup bar for a popup control (it may change the caption
    // and parameter), else a new one; the caller takes the reference.
    CQVTCommandBar* RequestPopupBar(UINT nId, CString& strCaption, CString* pParameter);
    CWnd* GetSite() const;

    CQVTCommandBar* m_pParent;                  // owning bar; null for copies
    std::vector<CQVTControl*> m_arrControls;    // one reference each
    CQVTCommandBars* m_pCommandBars;            // used without a parent
    CQVTOriginalControls* m_pOriginalControls;  // owned
    BOOL m_bOriginalControls;                   // this is such a copy
};

class CQVTOriginalControls : public CQVTControls
{
    DECLARE_DYNCREATE(CQVTOriginalControls)

public:
    CQVTOriginalControls() { m_bOriginalControls = TRUE; }
};
