// A dialog that a host shows as one of several pages: the host asks it
// before it leaves (kill-active, FALSE keeps it) and tells it when it shows.
#pragma once

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    ~CPropertyPage() override;

    // The first call only marks the page shown; later ones put the data
    // back into the controls.
    virtual BOOL OnSetActive();
    // Validates the controls' data into the members.
    virtual BOOL OnKillActive();

protected:
    UINT m_nIDCaption;
    BOOL m_bFirstSetActive;
};
