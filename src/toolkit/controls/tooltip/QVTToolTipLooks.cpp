#include "toolkit/controls/tooltip/QVTToolTipLooks.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/richtext/QVTRichRender.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

#include <algorithm>
#include <cstdlib>
#include <climits>

void CQVTToolTipContext::CLunaToolTip::DrawBackground(CDC* pDC, TOOLITEM*, CRect rc)
{
    COLORREF clrBorder = RGB(0, 0, 0);
    COLORREF clrTop = 0x97D4FF, clrBottom = 0xC8F2FF;
    switch (QVTColorManager()->GetCurrentSystemTheme())
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        clrBorder = 0x800000;
        break;
    case qvtSystemThemeOlive:
        clrBorder = 0x385D3F;
        break;
    case qvtSystemThemeSilver:
        clrBorder = 0x6F4B4B;
        break;
    default:
        clrTop = GetTipBackColor();
        clrBottom = RGB(0xFF, 0xFF, 0xFF);
        break;
    }
    QVTDrawHelpers()->GradientFill(pDC, rc, clrTop, clrBottom, FALSE);
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

void CQVTToolTipContext::COfficeToolTip::DrawBackground(CDC* pDC, TOOLITEM*, CRect rc)
{
    COLORREF clrLight = GetResourceImagesIniColor(_T("Window"), _T("TooltipLight"), (COLORREF)-1);
    COLORREF clrDark = GetResourceImagesIniColor(_T("Window"), _T("TooltipDark"), (COLORREF)-1);
    if (clrLight == (COLORREF)-1)
        clrLight = RGB(0xFF, 0xFF, 0xFF);
    if (clrDark == (COLORREF)-1)
        clrDark = 0xEFD9C9;
    QVTDrawHelpers()->GradientFill(pDC, rc, clrLight, clrDark, FALSE);

    CQVTResourceImage* pFrame = QVTResourceImages()->LoadFile(_T("TOOLTIPFRAME"));
    if (pFrame)
    {
        pFrame->DrawImageColorKeyed(pDC, rc, pFrame->GetSource(0, 1), CRect(3, 3, 3, 3),
                                    RGB(0xFF, 0x00, 0xFF));
        return;
    }
    COLORREF clrBorder = GetResourceImagesIniColor(_T("Window"), _T("TooltipBorder"), (COLORREF)-1);
    if (clrBorder == (COLORREF)-1)
        clrBorder = 0x767676;
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

CSize CQVTToolTipContext::COffice2013ToolTip::Layout(CDC* pDC, TOOLITEM* pTool, CString& strBody,
                                                     CRect& rcTitle, CRect& rcBody)
{
    strBody = GetToolText(pTool);
    rcTitle.SetRectEmpty();
    rcBody.SetRectEmpty();
    if (strBody.IsEmpty())
        return CSize(0, 0);
    const CRect& rcMargin = m_pContext->GetMargin();
    BOOL bTitle = !m_strTitle.IsEmpty();
    int nInsetX = bTitle ? Scale(12) : Scale(5);
    int nInsetY = bTitle ? Scale(7) : Scale(5);
    int nMaxWidth = m_pContext->GetMaxTipWidth() - rcMargin.left - rcMargin.right - 2 * nInsetX;
    nMaxWidth = std::max(nMaxWidth, Scale(16));
    CPoint ptOrigin(rcMargin.left + nInsetX, rcMargin.top + nInsetY);

    CSize szTitle(0, 0);
    if (bTitle)
    {
        CQVTFontDC font(pDC, &m_pContext->GetBoldFont());
        CRect rcCalc(0, 0, nMaxWidth, 0);
        pDC->DrawText(m_strTitle, &rcCalc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
        szTitle = rcCalc.Size();
        rcTitle = CRect(ptOrigin, szTitle);
    }
    CQVTFontDC font(pDC, &m_pContext->GetFont());
    CRect rcCalc(0, 0, nMaxWidth, 0);
    pDC->DrawText(strBody, &rcCalc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int nBodyTop = ptOrigin.y + (bTitle ? szTitle.cy + Scale(6) : 0);
    rcBody = CRect(CPoint(ptOrigin.x, nBodyTop), rcCalc.Size());

    int nWidth = std::max(szTitle.cx, rcCalc.Width());
    CSize szTip(nWidth + 2 * nInsetX + rcMargin.left + rcMargin.right,
                rcBody.bottom + nInsetY + rcMargin.bottom);
    // Right-to-left owners read it right-aligned.
    if (IsOwnerRightToLeft(pTool))
    {
        int nRight = szTip.cx - rcMargin.right - nInsetX;
        rcTitle.OffsetRect(nRight - rcTitle.right, 0);
        rcBody.OffsetRect(nRight - rcBody.right, 0);
    }
    return szTip;
}

CSize CQVTToolTipContext::COffice2013ToolTip::CalcToolSize(CDC* pDC, TOOLITEM* pTool)
{
    CString strBody;
    CRect rcTitle, rcBody;
    return Layout(pDC, pTool, strBody, rcTitle, rcBody);
}

void CQVTToolTipContext::COffice2013ToolTip::DrawTool(CDC* pDC, TOOLITEM* pTool, CRect)
{
    CString strBody;
    CRect rcTitle, rcBody;
    if (Layout(pDC, pTool, strBody, rcTitle, rcBody).cx == 0)
        return;
    UINT nRTL = IsOwnerRightToLeft(pTool) ? (DT_RTLREADING | DT_RIGHT) : 0;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(clrText);
    if (!m_strTitle.IsEmpty())
    {
        CQVTFontDC font(pDC, &m_pContext->GetBoldFont());
        pDC->DrawText(m_strTitle, rcTitle, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS | nRTL);
    }
    CQVTFontDC font(pDC, &m_pContext->GetFont());
    pDC->DrawText(strBody, rcBody, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | nRTL);
}

void CQVTToolTipContext::COffice2013ToolTip::DrawBackground(CDC* pDC, TOOLITEM*, CRect rc)
{
    pDC->FillSolidRect(rc, clrBack);
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
}

CQVTToolTipContext::CRichEditToolTip::CRichEditToolTip(CQVTToolTipContext* pContext)
    : CQVTToolTipContextToolTip(pContext), m_pRender(nullptr)
{
}

CQVTToolTipContext::CRichEditToolTip::~CRichEditToolTip()
{
    if (m_pRender)
        m_pRender->InternalRelease();
}

BOOL CQVTToolTipContext::CRichEditToolTip::RenderRichText(CDC* pDC, const CString& strText, CSize* pSize,
                                                          const CRect* pRect)
{
    if (!m_pRender)
        m_pRender = new CQVTRichRender;
    if (!m_pRender->GetTextServices() || strText.IsEmpty())
        return FALSE;
    // The tip's colour, and the face and size of its normal font.
    CHARFORMATW cf = m_pRender->GetDefaultCharFormat();
    cf.dwMask |= CFM_COLOR | CFM_FACE | CFM_SIZE;
    cf.dwEffects &= ~CFE_AUTOCOLOR;
    cf.crTextColor = GetTipTextColor();
    LOGFONT lf;
    if (m_pContext->GetFont().GetLogFont(&lf))
    {
        lstrcpynW(cf.szFaceName, lf.lfFaceName, LF_FACESIZE);
        int nDpiY = pDC->GetDeviceCaps(LOGPIXELSY);
        cf.yHeight = ::MulDiv(std::abs((int)lf.lfHeight), 1440, nDpiY > 0 ? nDpiY : 96);
    }
    m_pRender->SetDefaultCharFormat(cf);
    if (m_pRender->SetText(strText) == 0)
        return FALSE;
    if (pSize)
    {
        const CRect& rcMargin = m_pContext->GetMargin();
        int nMaxWidth = m_pContext->GetMaxTipWidth() - rcMargin.left - rcMargin.right - 2 * Scale(3);
        *pSize = m_pRender->GetTextExtent(pDC->m_hDC, std::max(nMaxWidth, 1));
        return pSize->cx > 0 && pSize->cy > 0;
    }
    if (pRect)
        m_pRender->Draw(pDC->m_hDC, *pRect);
    return TRUE;
}

CSize CQVTToolTipContext::CRichEditToolTip::CalcToolSize(CDC* pDC, TOOLITEM* pTool)
{
    CString strText = GetToolText(pTool);
    if (strText.IsEmpty())
        return CSize(0, 0);
    CSize szText;
    if (!RenderRichText(pDC, strText, &szText, nullptr))
        return CQVTToolTipContextToolTip::CalcToolSize(pDC, pTool);
    const CRect& rcMargin = m_pContext->GetMargin();
    return CSize(szText.cx + rcMargin.left + rcMargin.right + 2 * Scale(3),
                 szText.cy + rcMargin.top + rcMargin.bottom + 2 * Scale(3));
}

void CQVTToolTipContext::CRichEditToolTip::DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc)
{
    CString strText = GetToolText(pTool);
    CRect rcText = GetContentRect(rc);
    if (!RenderRichText(pDC, strText, nullptr, &rcText))
        CQVTToolTipContextToolTip::DrawTool(pDC, pTool, rc);
}

CQVTToolTipContext::CMarkupToolTip::CMarkupToolTip(CQVTToolTipContext* pContext)
    : CQVTToolTipContextToolTip(pContext), m_pMarkupContext(nullptr), m_pElement(nullptr)
{
}

CQVTToolTipContext::CMarkupToolTip::~CMarkupToolTip()
{
    MarkupReleaseElement(m_pElement);
    MarkupReleaseContext(m_pMarkupContext);
}

BOOL CQVTToolTipContext::CMarkupToolTip::PrepareElement(const CString& strText)
{
    if (m_pElement && strText == m_strElementText)
        return TRUE;
    MarkupReleaseElement(m_pElement);
    m_strElementText = strText;
    if (strText.IsEmpty())
        return FALSE;
    if (!m_pMarkupContext)
        m_pMarkupContext = MarkupCreateContext(m_hWnd, FALSE);
    MarkupSetDefaultFont(m_pMarkupContext, static_cast<HFONT>(m_pContext->GetFont().GetSafeHandle()),
                         GetTipTextColor());
    m_pElement = MarkupParseText(m_pMarkupContext, strText);
    return m_pElement != nullptr;
}

int CQVTToolTipContext::CMarkupToolTip::GetInset() const
{
    return Scale(3) + Scale(1);
}

CSize CQVTToolTipContext::CMarkupToolTip::CalcToolSize(CDC* pDC, TOOLITEM* pTool)
{
    CString strText = GetToolText(pTool);
    if (strText.IsEmpty())
        return CSize(0, 0);
    // Text that does not parse as markup is a plain tip.
    if (!PrepareElement(strText))
        return CQVTToolTipContextToolTip::CalcToolSize(pDC, pTool);
    const CRect& rcMargin = m_pContext->GetMargin();
    int nFrameX = rcMargin.left + rcMargin.right + 2 * GetInset();
    int nFrameY = rcMargin.top + rcMargin.bottom + 2 * GetInset();
    CSize szElement =
        MarkupMeasureElement(m_pElement, std::max(1, m_pContext->GetMaxTipWidth() - nFrameX), INT_MAX);
    return CSize(szElement.cx + nFrameX, szElement.cy + nFrameY);
}

void CQVTToolTipContext::CMarkupToolTip::DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc)
{
    if (!PrepareElement(GetToolText(pTool)))
    {
        CQVTToolTipContextToolTip::DrawTool(pDC, pTool, rc);
        return;
    }
    const CRect& rcMargin = m_pContext->GetMargin();
    CRect rcElement(rc);
    rcElement.DeflateRect(rcMargin.left + GetInset(), rcMargin.top + GetInset(), rcMargin.right + GetInset(),
                          rcMargin.bottom + GetInset());
    MarkupSetDefaultFont(m_pMarkupContext, nullptr, GetTipTextColor());
    MarkupRenderElement(m_pElement, pDC->m_hDC, rcElement);
}
