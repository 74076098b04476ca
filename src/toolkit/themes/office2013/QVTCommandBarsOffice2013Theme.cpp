#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/office2013/QVTControlGalleryOffice2013Theme.h"
#include "toolkit/themes/office2013/QVTFrameThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTMessageBarThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTProgressThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTScrollBarThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTSliderThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTStatusBarThemeOffice2013.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOffice2013Theme, CQVTCommandBarsModernUITheme)

CQVTCommandBarsOffice2013Theme::CQVTCommandBarsOffice2013Theme()
    : m_clrFrameCaptionTextActive(RGB(38, 38, 38)), m_clrFrameCaptionTextInactive(RGB(38, 38, 38)),
      m_clrCaptionButtonHotBack(RGB(255, 255, 255)), m_clrCaptionButtonPressedBack(RGB(255, 255, 255))
{
    SetProgressPaintManager(new CQVTProgressThemeOffice2013(this));
    SetSliderPaintManager(new CQVTSliderThemeOffice2013(this));
    SetMessageBarPaintManager(new CQVTMessageBarThemeOffice2013(this));
    SetStatusBarPaintManager(new CQVTStatusBarThemeOffice2013(this));
    SetGalleryPaintManager(new CQVTControlGalleryOffice2013Theme(this));
    SetScrollBarPaintManager(new CQVTScrollBarThemeOffice2013());
    delete m_pFramePaintManager;
    m_pFramePaintManager = new CQVTFrameThemeOffice2013(this);
    m_pFramePaintManager->RefreshMetrics();
    m_strOfficeFont = _T("Segoe UI");
    m_bUseOfficeFont = TRUE;
    UpdateFonts();
}

CQVTCommandBarsOffice2013Theme::~CQVTCommandBarsOffice2013Theme() {}

CQVTRibbonPaintManager* CQVTCommandBarsOffice2013Theme::GetRibbonPaintManager()
{
    // Waits for: Ribbon III (CQVTRibbonOffice2013Theme, made in the
    // constructor): the slot stays null until then, and ribbons under this
    // theme draw without one.
    return nullptr;
}

BOOL CQVTCommandBarsOffice2013Theme::SetRibbonBackground(CQVTCommandBars* pCommandBars, int nBackground)
{
    // Waits for: Ribbon III (the flat ribbon paint manager, which takes the
    // background number): without it there is nothing to pass it to.
    return FALSE;
}

BOOL AFX_CDECL CQVTCommandBarsOffice2013Theme::IsCaptionControl(CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    CQVTRibbonBar* pRibbonBar = DYNAMIC_DOWNCAST(CQVTRibbonBar, pBar);
    return pRibbonBar && pRibbonBar->IsQuickAccessControl(pControl) &&
           !pRibbonBar->IsQuickAccessBelowRibbon();
}

void CQVTCommandBarsOffice2013Theme::RefreshMetrics()
{
    CQVTCommandBarsModernUITheme::RefreshMetrics();

    m_csMenu.RefreshColors();
    m_csRibbon.RefreshColors();
    m_csToolbar.RefreshColors();
    m_csCheckMark.RefreshColors();
    m_csComboBox.RefreshColors();
    m_csCheckBox.RefreshColors();

    QVTReadIniColor(m_clrBack, _T("CommandBars"), _T("Back"), RGB(255, 255, 255));
    QVTReadIniColor(m_grcWorkspace.clrLight, _T("CommandBars"), _T("WorkspaceLight"), RGB(255, 255, 255));
    QVTReadIniColor(m_grcWorkspace.clrDark, _T("CommandBars"), _T("WorkspaceDark"), RGB(240, 240, 240));
    QVTReadIniColor(m_clrGlyph, _T("CommandBars"), _T("Glyph"), RGB(119, 119, 119));
    QVTReadIniColor(m_clrGlyphHighlight, _T("CommandBars"), _T("GlyphHighlight"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrGlyphPushed, _T("CommandBars"), _T("GlyphPushed"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrGlyphDisabled, _T("CommandBars"), _T("GlyphDisabled"), RGB(177, 177, 177));
    QVTReadIniColor(m_clrEditText, _T("CommandBars"), _T("EditText"), RGB(0, 0, 0));
    QVTReadIniColor(m_clrEditTextHighlight, _T("CommandBars"), _T("EditTextHighlight"), RGB(0, 0, 0));
    QVTReadIniColor(m_clrEditTextDisabled, _T("CommandBars"), _T("EditTextDisabled"), RGB(152, 152, 152));
    QVTReadIniColor(m_clrMessageBarText, _T("CommandBars.MessageBar"), _T("Text"), RGB(119, 119, 119));
    QVTReadIniColor(m_clrShadow, _T("CommandBars.Toolbar"), _T("GripperFloating"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrLight, _T("CommandBars.Toolbar"), _T("GripperFloatingText"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrCaptionButtonActiveFill, _T("CommandBars.Frame"), _T("CaptionButtonActiveFillColor"),
                    RGB(119, 119, 119));
    m_clrFrameCaptionTextActive =
        GetResourceImagesIniColor(_T("CommandBars.Frame"), _T("ActiveFontColor"), RGB(38, 38, 38));
    m_clrFrameCaptionTextInactive =
        GetResourceImagesIniColor(_T("CommandBars.Frame"), _T("InactiveFontColor"), RGB(38, 38, 38));
    m_clrCaptionButtonHotBack = GetResourceImagesIniColor(
        _T("CommandBars.Frame"), _T("CaptionButtonHotBackgroundColor"), RGB(255, 255, 255));
    m_clrCaptionButtonPressedBack = GetResourceImagesIniColor(
        _T("CommandBars.Frame"), _T("CaptionButtonPressedBackgroundColor"), RGB(255, 255, 255));

    UpdateColorTable();
}

void CQVTCommandBarsOffice2013Theme::UpdateColorTable()
{
    auto set = [this](int nIndex, const CQVTPaintManagerColor& clr) {
        m_arrColor[nIndex].SetStandardValue(clr.GetStandardValue());
    };
    const CQVTColorSetStateToolbar& tb = m_csToolbar;
    set(5, m_csComboBox.m_clrBack);
    set(12, m_grcWorkspace.clrDark);
    for (int i : {15, 30, 51, 55, 56})
        set(i, tb.m_clrButtonBack);
    set(31, tb.m_clrButtonBackHighlight);
    set(32, tb.m_clrButtonBorderCheckedHighlight);
    set(33, tb.m_clrButtonBackPushed);
    set(35, tb.m_clrButtonTextDisabled);
    set(60, tb.m_clrButtonTextDisabled);
    set(36, tb.m_clrButtonBackChecked);
    set(37, tb.m_clrButtonBorderChecked);
    set(38, tb.m_clrGripper);
    set(39, tb.m_grcSeparator.clrDark);
    set(52, tb.m_grcSeparator.clrDark);
    set(40, tb.m_clrDisabledIcon);
    set(41, m_csMenu.m_clrBack);
    set(43, m_csMenu.m_clrBorder);
    set(44, m_csMenu.m_clrButtonText);
    set(45, tb.m_clrButtonTextChecked);
    set(46, tb.m_clrButtonText);
    set(47, tb.m_clrButtonTextPushed);
    set(48, m_csRibbon.m_clrTabBackInactive);
    set(49, m_csRibbon.m_clrTabTextInactive);
    set(50, tb.m_clrButtonBorderPushed);
    set(53, m_csComboBox.m_clrBorder);
    for (int i : {54, 57, 61})
        set(i, tb.m_clrBorderEdit);
}
