// The control that opens a popup bar: a menu item with a submenu (type 2), a
// button that opens a popup (type 3) and a split button whose command part
// executes and whose arrow part opens the popup (type 4). The combo box and
// the gallery derive from it.
#pragma once

#include "toolkit/commandbars/controls/QVTControlButton.h"

class CQVTCommandBar;

class CQVTControlPopup : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTControlPopup)

public:
    // Split buttons: enabled state 4 disables the arrow part (the popup does
    // not open), 5 the command part (using it opens the popup).
    enum
    {
        enabledArrowDisabled = 4,
        enabledCommandDisabled = 5
    };
    // Split buttons: selected state over the command part and over the arrow.
    enum
    {
        selectedCommandPart = 4,
        selectedArrowPart = 5
    };

    CQVTControlPopup();
    ~CQVTControlPopup() override;

    CString GetCaption() const override;
    BOOL Compare(CQVTControl* pOther) override;
    CQVTCommandBar* GetCommandBar() const override { return m_pCommandBar; }
    void SetCommandBar(CQVTCommandBar* pBar);
    // Makes a popup bar for the owning bars when there is none and loads the
    // menu into it.
    BOOL SetPopupFromMenu(CMenu* pMenu);
    void OnUnderlineActivate() override;
    BOOL GetPopuped() const override { return m_bPopuped; }
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint point) override;
    BOOL OnLButtonDblClk(CPoint point) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int bSelected) override;
    void OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point) override;
    BOOL IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint point, DWORD& dropEffect) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CQVTPropExchange* pPX) override;
    void GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                QVT_BARS_EXCHANGE_PARAM* pParam) override;
    void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList) override;
    // Links the popup bar of the number read, unless it leads back to the
    // holding bar.
    void RestoreLink(CQVTCommandBarList* pCommandBarList, CQVTCommandBar* pHolder);
    // Whether a bar read from a layout may become this control's popup.
    virtual BOOL CanTakeLoadedBar(CQVTCommandBar* pBar) const;

    // The rectangle the popup must not cover, by the paint manager.
    virtual void AdjustExcludeRect(CRect& rc, BOOL bVertical);
    // The opened popup shares a shadow with the control.
    virtual void UpdateShadow();

    // The open popup shows its rarely used items.
    void ExpandCommandBar();
    // Whether the popup bar (or one nested in it) is the other's.
    BOOL IsContainPopup(CQVTControlPopup* pOther) const;
    void SetCommandBarId(int nId) { m_nCommandBarId = nId; }
    int GetCommandBarId() const { return m_nCommandBarId; }
    void SetShowShadow(BOOL bShow) { m_bShowShadow = bShow; }
    BOOL GetShowShadow() const { return m_bShowShadow; }

protected:
    BOOL IsSplitButton() const { return m_controlType == qvtControlSplitButtonPopup; }
    BOOL IsInPopupBar() const;
    // The command part of a split button, in the parent's coordinates.
    CRect GetCommandPartRect() const;

    BOOL m_bPopuped;                // the popup is open
    CQVTCommandBar* m_pCommandBar;  // the popup bar it opens; one reference
    int m_nCommandBarId;            // the popup bar's id while a layout loads
    BOOL m_bShowShadow;             // the opened popup shares a shadow with the control
};
