#include "toolkit/commandbars/controls/QVTEditFieldHost.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

CQVTEditFieldHost::CQVTEditFieldHost()
    : m_pEdit(nullptr), m_bFocused(FALSE), m_bRebuild(FALSE), m_bLayoutDirty(FALSE), m_nLabelWidth(0),
      m_bCacheStale(TRUE), m_bHintShown(FALSE), m_dwEditStyle(0), m_nEditIconId(0), m_nTextLimit(0),
      m_hwndFocusBefore(nullptr)
{
}

CQVTEditFieldHost::~CQVTEditFieldHost()
{
    // The control is gone already: the window reports to nobody.
    if (m_pEdit)
        m_pEdit->m_pHost = nullptr;
    DestroyEditWindow();
}

void CQVTEditFieldHost::DestroyEditWindow()
{
    if (!m_pEdit)
        return;
    if (m_pEdit->GetSafeHwnd())
        m_pEdit->DestroyWindow();
    delete m_pEdit;
    m_pEdit = nullptr;
}

BOOL CQVTEditFieldHost::HasFocus() const
{
    return m_pEdit && m_pEdit->GetSafeHwnd() && ::GetFocus() == m_pEdit->GetSafeHwnd();
}

CString CQVTEditFieldHost::GetEditText() const
{
    if (m_pEdit && m_pEdit->GetSafeHwnd() && m_bCacheStale)
    {
        m_strCachedText = m_bHintShown ? CString() : m_pEdit->GetEditText();
        m_bCacheStale = FALSE;
    }
    return m_strCachedText;
}

void CQVTEditFieldHost::SetEditText(const CString& strText)
{
    if (strText == GetEditText() && !m_bHintShown)
        return;
    m_bHintShown = FALSE;
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->SetEditText(strText);
    m_strCachedText = strText;
    m_bCacheStale = FALSE;
}

void CQVTEditFieldHost::SetText(const CString& strText)
{
    const CString strHint = GetEditHint();
    if (strText.IsEmpty() && !strHint.IsEmpty() && !m_bFocused)
    {
        if (m_pEdit && m_pEdit->GetSafeHwnd() && !m_bHintShown)
        {
            m_bHintShown = TRUE;
            m_pEdit->SetEditText(strHint);
        }
        m_bHintShown = m_pEdit && m_pEdit->GetSafeHwnd();
        m_strCachedText.Empty();
        m_bCacheStale = FALSE;
    }
    else
        SetEditText(strText);
    RefreshColors();
}

CString CQVTEditFieldHost::GetEditHint() const
{
    // Actions carry no hint: the field's own is the only one.
    return m_strEditHint;
}

void CQVTEditFieldHost::ClearHint()
{
    if (!m_bHintShown)
        return;
    m_bHintShown = FALSE;
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->SetEditText(CString());
}

void CQVTEditFieldHost::SetEditIconId(int nId)
{
    if (nId == m_nEditIconId)
        return;
    m_nEditIconId = nId;
    m_bLayoutDirty = TRUE;
    GetEditHostControl()->DelayLayoutParent();
}

void CQVTEditFieldHost::SetTextLimit(int nLimit)
{
    m_nTextLimit = nLimit;
    if (m_pEdit && m_pEdit->GetSafeHwnd() && nLimit)
        m_pEdit->SetLimitText(static_cast<UINT>(nLimit));
}

void CQVTEditFieldHost::SetEditStyle(DWORD dwStyle)
{
    if (dwStyle == m_dwEditStyle)
        return;
    m_dwEditStyle = dwStyle;
    m_bRebuild = TRUE;
    GetEditHostControl()->DelayLayoutParent();
}

void CQVTEditFieldHost::SetLabelWidth(int nLabelWidth)
{
    if (nLabelWidth == m_nLabelWidth)
        return;
    m_nLabelWidth = nLabelWidth;
    m_bLayoutDirty = TRUE;
}

void CQVTEditFieldHost::AdjustEditIconRect(CRect& rc)
{
    if (m_nEditIconId > 0)
        rc.left += GetEditHostControl()->GetIconSize().cx + CQVTPaintManager::DpiX(2);
}

void CQVTEditFieldHost::GetEditCharFormat(CHARFORMAT2W& cf)
{
    CQVTControl* pControl = GetEditHostControl();
    cf = {};
    cf.cbSize = sizeof(CHARFORMAT2W);
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    const BOOL bGrey = !pControl->GetEnabled() || m_bHintShown;
    const int nTextIndex = bGrey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    CQVTPaintManager* pPaintManager = pControl->GetPaintManager();
    cf.crTextColor = pPaintManager->GetEditTextColor(nTextIndex, GetColorByIndex(nTextIndex));
    cf.crBackColor = pPaintManager->GetControlEditBackColor(pControl);
}

void CQVTEditFieldHost::RefreshColors()
{
    if (!m_pEdit || !m_pEdit->GetSafeHwnd() || !m_pEdit->IsRichEdit())
        return;
    CHARFORMAT2W cf;
    GetEditCharFormat(cf);
    // Version 1 knows the short record only.
    cf.cbSize = CQVTCommandBarEditCtrl::IsRichEdit20() ? sizeof(CHARFORMAT2W) : sizeof(CHARFORMATW);
    m_pEdit->SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    m_pEdit->SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(cf.crBackColor));
}

void CQVTEditFieldHost::UpdateVisibility()
{
    if (!m_pEdit || !m_pEdit->GetSafeHwnd())
        return;
    CQVTControl* pControl = GetEditHostControl();
    CQVTCommandBar* pParent = pControl->GetParent();
    const BOOL bShow =
        pParent && pParent->GetSafeHwnd() && pControl->IsVisible() && !pControl->GetRect().IsRectEmpty();
    m_pEdit->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                              (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CQVTEditFieldHost::OnEditTextChange(BOOL bByCode)
{
    m_bCacheStale = TRUE;
    if (m_bFocused && !bByCode)
        OnEditChanged();
    RefreshColors();
}

void CQVTEditFieldHost::OnEditDestroy(const CString& strText)
{
    m_strCachedText = m_bHintShown ? CString() : strText;
    m_bCacheStale = FALSE;
}

BOOL CQVTEditFieldHost::BeginEditPlacement(const CRect& rcNew)
{
    CQVTControl* pControl = GetEditHostControl();
    CQVTCommandBar* pParent = pControl->GetParent();
    const HWND hWndBar = pParent ? pParent->GetSafeHwnd() : nullptr;
    if (m_pEdit && m_pEdit->GetSafeHwnd() &&
        (m_bRebuild || (m_pEdit->GetExStyle() & WS_EX_LAYOUTRTL) ||
         ::GetParent(m_pEdit->GetSafeHwnd()) != hWndBar))
    {
        GetEditText();
        m_pEdit->DestroyWindow();
    }
    m_bRebuild = FALSE;
    if (rcNew == pControl->GetRect() && m_pEdit && m_pEdit->GetSafeHwnd() && !m_bLayoutDirty)
        return FALSE;
    m_bLayoutDirty = FALSE;
    return TRUE;
}

BOOL CQVTEditFieldHost::PrepareEditWindow(BOOL& bCreated)
{
    bCreated = FALSE;
    CQVTControl* pControl = GetEditHostControl();
    CQVTCommandBar* pParent = pControl->GetParent();
    if (!pParent || !pParent->GetSafeHwnd())
        return FALSE;
    if (!m_pEdit)
        m_pEdit = CreateEditCtrl();
    if (!m_pEdit->GetSafeHwnd())
    {
        if (!m_pEdit->CreateEdit(m_dwEditStyle | WS_CHILD | ES_AUTOHSCROLL, pParent))
            return FALSE;
        bCreated = TRUE;
        m_bHintShown = FALSE;
        if (!pControl->GetEnabled())
            m_pEdit->EnableWindow(FALSE);
        if (m_nTextLimit)
            m_pEdit->SetLimitText(static_cast<UINT>(m_nTextLimit));
    }
    CQVTPaintManager* pPaintManager = pControl->GetPaintManager();
    m_pEdit->SendMessage(WM_SETFONT,
                         reinterpret_cast<WPARAM>(pPaintManager->GetRegularFont()->GetSafeHandle()), FALSE);
    m_pEdit->SetMargins(0, 0);
    if (!m_bFocused)
    {
        const CString strText = m_strCachedText;
        m_bHintShown = FALSE;
        m_pEdit->SetEditText(strText);
        SetText(strText);
    }
    RefreshColors();
    m_pEdit->SetGlass(pParent->IsFrameCompositionActive());
    return TRUE;
}

void CQVTEditFieldHost::MoveEditWindow(CRect rcEdit)
{
    if (!m_pEdit || !m_pEdit->GetSafeHwnd())
        return;
    AdjustEditIconRect(rcEdit);
    m_pEdit->MoveWindow(rcEdit);
    UpdateVisibility();
}
