#include "toolkit/controls/button/QVTButtonThemeResource.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

#include <vssym32.h>

namespace {

const COLORREF kKeyColor = RGB(0xFF, 0x00, 0xFF);

}  // namespace

CQVTButtonThemeResource::CQVTButtonThemeResource()
{
    m_nThemeKind = 7;
    m_nBorderGap = 2;
    m_bHiglightButtons = TRUE;
}

void CQVTButtonThemeResource::RefreshMetrics(CQVTButton* pButton)
{
    CQVTButtonThemeUltraFlat::RefreshMetrics(pButton);
    if (!QVTResourceImages()->IsValid())
        return;
    // The frame of group boxes and idle buttons, when the scheme has one.
    COLORREF clrFrame = QVTResourceImages()->GetIniColor(_T("Controls"), _T("GroupBoxFrame"), (COLORREF)-1);
    if (clrFrame != (COLORREF)-1)
        m_crBorderShadow.SetStandardValue(clrFrame);
}

void CQVTButtonThemeResource::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(_T("PUSHBUTTON"));
    if (!pImage)
    {
        CQVTButtonTheme::DrawButtonBackground(pDC, pButton);
        return;
    }
    BOOL bHot = pButton->IsHighlighted();
    int nState;
    if (pButton->m_hWnd && !pButton->IsWindowEnabled())
        nState = 3;
    else if (pButton->GetPushedState() || (pButton->GetChecked() && !bHot))
        nState = 2;
    else if (bHot)
        nState = 1;
    else
        nState = pButton->GetButtonStyle() == BS_DEFPUSHBUTTON ? 4 : 0;
    pImage->DrawImageColorKeyed(pDC, pButton->GetButtonRect(), pImage->GetSource(nState, 5),
                                CRect(4, 4, 4, 4), kKeyColor);
}

int CQVTButtonThemeResource::GetMarkState(CQVTButton* pButton, BOOL bCheckBox) const
{
    BOOL bHot = pButton->IsHighlighted();
    int nState;
    if (pButton->m_hWnd && !pButton->IsWindowEnabled())
        nState = 3;
    else if (bHot && pButton->GetPushedState())
        nState = 2;
    else if (bHot)
        nState = 1;
    else
        nState = 0;
    int nCheck = pButton->GetChecked();
    if (bCheckBox && nCheck == BST_INDETERMINATE)
        nState += 8;
    else if (nCheck)
        nState += 4;
    return nState;
}

void CQVTButtonThemeResource::DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton)
{
    CQVTResourceImage* pImage =
        IsNativeUse(pButton) ? nullptr : QVTResourceImages()->LoadFile(_T("TOOLBARBUTTONCHECKBOX"));
    if (!pImage)
    {
        CQVTButtonThemeUltraFlat::DrawCheckBoxMark(pDC, pButton);
        return;
    }
    CRect rc = GetMarkRect(pDC, pButton, BP_CHECKBOX);
    pImage->DrawImageColorKeyed(pDC, rc, pImage->GetSource(GetMarkState(pButton, TRUE), 12),
                                CRect(0, 0, 0, 0), kKeyColor);
}

void CQVTButtonThemeResource::DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton)
{
    CQVTResourceImage* pImage =
        IsNativeUse(pButton) ? nullptr : QVTResourceImages()->LoadFile(_T("TOOLBARBUTTONRADIOBUTTON"));
    if (!pImage)
    {
        CQVTButtonThemeUltraFlat::DrawRadioButtonMark(pDC, pButton);
        return;
    }
    CRect rc = GetMarkRect(pDC, pButton, BP_RADIOBUTTON);
    pImage->DrawImageColorKeyed(pDC, rc, pImage->GetSource(GetMarkState(pButton, FALSE), 8),
                                CRect(0, 0, 0, 0), kKeyColor);
}
