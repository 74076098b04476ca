#include "toolkit/commandbars/controls/QVTControlMarkupLabel.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlMarkupLabel, CQVTControlLabel, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlMarkupLabel::CQVTControlMarkupLabel() : m_pMarkupContext(nullptr), m_pMarkup(nullptr) {}

CQVTControlMarkupLabel::~CQVTControlMarkupLabel()
{
    ReleaseMarkup();
}

void CQVTControlMarkupLabel::ReleaseMarkup()
{
    MarkupReleaseElement(m_pMarkup);
    MarkupReleaseContext(m_pMarkupContext);
}

void CQVTControlMarkupLabel::OnCaptionChanged()
{
    ReleaseMarkup();
    const CString strCaption = GetCaption();
    if (strCaption.IsEmpty())
        return;
    m_pMarkupContext = MarkupCreateContext(nullptr, FALSE);
    m_pMarkup = MarkupParseText(m_pMarkupContext, strCaption);
    if (!m_pMarkup)
        MarkupReleaseContext(m_pMarkupContext);
}

void CQVTControlMarkupLabel::OnThemeChanged()
{
    OnCaptionChanged();
}

void CQVTControlMarkupLabel::ApplyFont(COLORREF clrText)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CFont* pFont = pPaintManager ? pPaintManager->GetRegularFont() : nullptr;
    MarkupSetDefaultFont(m_pMarkupContext, pFont ? static_cast<HFONT>(pFont->GetSafeHandle()) : nullptr,
                         clrText);
}

CSize CQVTControlMarkupLabel::GetSize(CDC* pDC)
{
    if (!m_pMarkup)
        return CQVTControlLabel::GetSize(pDC);
    ApplyFont(static_cast<COLORREF>(-1));
    return MarkupMeasureElement(m_pMarkup);
}

CSize CQVTControlMarkupLabel::Draw(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (!m_pMarkup || !pPaintManager || !m_pParent)
        return CQVTControlLabel::Draw(pDC);
    const COLORREF clrText = pPaintManager->GetRectangleTextColor(
        FALSE, FALSE, GetEnabled(), FALSE, FALSE, m_pParent->GetType(), m_pParent->GetPosition());
    ApplyFont(clrText);
    MarkupRenderElement(m_pMarkup, pDC->GetSafeHdc(), m_rcControl);
    return m_rcControl.Size();
}
