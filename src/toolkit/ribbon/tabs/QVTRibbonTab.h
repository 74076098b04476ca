// One page of the ribbon: an item of the ribbon's tab row that owns the
// groups shown while it is selected. A contextual tab carries a colour and
// a context caption; neighbouring tabs of one context share a header above
// them in the caption row.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/tabmanager/manager/QVTTabManagerItem.h"

class CQVTCommandBar;
class CQVTPropExchange;
class CQVTRibbonBar;
class CQVTRibbonGroup;
class CQVTRibbonGroups;
class CQVTRibbonTabContextHeader;

// Context colour codes of tabs.
enum QVTRibbonContextColor
{
    qvtRibbonTabContextNone = 0,
    qvtRibbonTabContextBlue = 1,
    qvtRibbonTabContextYellow = 2,
    qvtRibbonTabContextGreen = 3,
    qvtRibbonTabContextRed = 4,
    qvtRibbonTabContextPurple = 5,
    qvtRibbonTabContextCyan = 6,
    qvtRibbonTabContextOrange = 7
};

class CQVTRibbonTab : public CQVTTabManagerItem
{
    DECLARE_SERIAL(CQVTRibbonTab)

public:
    CQVTRibbonTab();
    ~CQVTRibbonTab() override;

    CString GetCaption() const override;
    void SetVisible(BOOL bVisible) override;
    void OnRemoved() override;
    virtual void Copy(CQVTRibbonTab* pTab);
    virtual void DoPropExchange(CQVTPropExchange* pPX);

    // A group captioned by the string resource (its part after the first
    // line feed, when it has one) with that id.
    CQVTRibbonGroup* AddGroup(UINT nIDCaption);
    CQVTRibbonGroup* AddGroup(LPCTSTR lpszCaption, int nId);
    CQVTRibbonGroup* FindGroup(int nId) const;
    CQVTRibbonGroups* GetGroups() const { return m_pGroups; }
    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }
    CQVTCommandBar* GetParent() const { return m_pParent; }
    void SetRibbonBar(CQVTRibbonBar* pRibbonBar, CQVTCommandBar* pParent);

    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    // A COLORREF, an automatic tab colour or a context code; 0 none.
    int GetContextColor() const { return m_nContextColor; }
    void SetContextColor(int nColor);
    CString GetContextCaption() const { return m_strContextCaption; }
    void SetContextCaption(LPCTSTR lpszCaption);
    CString GetCustomizeCaption() const { return m_strCustomizeCaption; }
    void SetCustomizeCaption(LPCTSTR lpszCaption) { m_strCustomizeCaption = lpszCaption; }
    CString GetKeyboardTip() const { return m_strKeyboardTip; }
    void SetKeyboardTip(LPCTSTR lpszTip) { m_strKeyboardTip = lpszTip; }
    CQVTRibbonTabContextHeader* GetContextHeader() const { return m_pContextHeader; }
    void SetContextHeader(CQVTRibbonTabContextHeader* pHeader) { m_pContextHeader = pHeader; }

protected:
    CQVTRibbonGroups* m_pGroups;  // one reference
    CQVTCommandBar* m_pParent;
    CQVTRibbonBar* m_pRibbonBar;
    int m_nId;
    int m_nContextColor;  // 0: not contextual
    CString m_strContextCaption;
    CString m_strCustomizeCaption;
    CQVTRibbonTabContextHeader* m_pContextHeader;  // the bar's, null unless in one
    CString m_strKeyboardTip;
};

// The coloured header over neighbouring tabs of one context.
class CQVTRibbonTabContextHeader
{
public:
    explicit CQVTRibbonTabContextHeader(CQVTRibbonTab* pTab);

    CQVTRibbonTab* m_pFirstTab;
    CQVTRibbonTab* m_pLastTab;
    CString m_strCaption;
    int m_nColor;
    CRect m_rcRect;
};

// The bar's headers, rebuilt by every layout; owns them.
class CQVTRibbonTabContextHeaderList
{
public:
    CQVTRibbonTabContextHeaderList() = default;
    ~CQVTRibbonTabContextHeaderList() { RemoveAll(); }
    CQVTRibbonTabContextHeaderList(const CQVTRibbonTabContextHeaderList&) = delete;
    CQVTRibbonTabContextHeaderList& operator=(const CQVTRibbonTabContextHeaderList&) = delete;

    void Add(CQVTRibbonTabContextHeader* pHeader) { m_arrHeaders.push_back(pHeader); }
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_arrHeaders.size()); }
    CQVTRibbonTabContextHeader* GetAt(int nIndex) const { return m_arrHeaders[nIndex]; }
    CQVTRibbonTabContextHeader* HitTest(CPoint point) const;
    const std::vector<CQVTRibbonTabContextHeader*>& GetHeaders() const { return m_arrHeaders; }

private:
    std::vector<CQVTRibbonTabContextHeader*> m_arrHeaders;
};
