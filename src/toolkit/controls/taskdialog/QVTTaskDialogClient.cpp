#include "toolkit/controls/taskdialog/QVTTaskDialogClient.h"
#include "toolkit/controls/QVTControlsResource.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/controls/taskdialog/QVTTaskButtonTheme.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/text/QVTMarkupHyperlink.h"
#include "toolkit/markup/values/QVTMarkupString.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace TD = QVTTaskDialogAPI;

IMPLEMENT_DYNAMIC(CQVTTaskDialogClient, CDialog)

BEGIN_MESSAGE_MAP(CQVTTaskDialogClient, CDialog)
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTTaskDialogClient::OnPrintClientMessage)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_EN_CHANGE(CQVTTaskDialogClient::inputBoxID, &CQVTTaskDialogClient::OnInputBoxEditChange)
END_MESSAGE_MAP()

CQVTTaskDialogText::~CQVTTaskDialogText()
{
    MarkupReleaseElement(m_pElement);
}

void CQVTTaskDialogText::SetText(const CString& strText)
{
    m_strText = strText;
    MarkupReleaseElement(m_pElement);
    // A text that is not markup is drawn as it is written.
    if (m_pClient && m_pClient->GetMarkupContext() && !strText.IsEmpty())
        m_pElement = MarkupParseText(m_pClient->GetMarkupContext(), strText);
}

CQVTTaskDialogClient::CQVTTaskDialogClient(TD::TASKDIALOGCONFIG* pConfig)
    : m_pConfig(pConfig), m_nMaxClientWidth(0), m_nMinClientWidth(0),
      m_nCommandTextIndent(QVTDpiScaler()->ScaleX(2)), m_bExpanded(FALSE), m_bVerification(FALSE),
      m_bUseSysIcons(FALSE), m_bThemed(FALSE), m_hIconFooter(nullptr), m_hIconMain(nullptr),
      m_pImageManager(nullptr), m_pGlyphImage(nullptr),
      m_szGlyph(QVTDpiScaler()->ScaleX(20), QVTDpiScaler()->ScaleY(20)), m_clrHeaderBack((COLORREF)-1),
      m_clrContent((COLORREF)-1), m_clrDialogBack((COLORREF)-1), m_clrFooter((COLORREF)-1),
      m_clrMainInstruction((COLORREF)-1), m_clrSpare((COLORREF)-1), m_clrSeparator((COLORREF)-1),
      m_clrSeparatorHighlight((COLORREF)-1), m_nButtonGap(0), m_nButtonRowGap(0), m_pMarkupContext(nullptr),
      m_pBtnVerify(nullptr), m_pBtnExpando(nullptr), m_mapWndSize(10), m_nSelRadioButtonID(0),
      m_bThemedForced(FALSE), m_bUseMarkup(FALSE), m_bInputBox(FALSE)
{
    for (int i = 0; i < textCount; ++i)
        m_pTexts[i] = new CQVTTaskDialogText(this);
    m_mapWndSize.InitHashTable(17);
}

CQVTTaskDialogClient::~CQVTTaskDialogClient()
{
    DestroyClient();
    for (int i = 0; i < textCount; ++i)
        delete m_pTexts[i];
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
}

const CQVTTaskDialogText& CQVTTaskDialogClient::GetText(int nWhich) const
{
    return *m_pTexts[std::min(std::max(nWhich, 0), (int)textCount - 1)];
}

HRESULT CQVTTaskDialogClient::SendNotify(UINT nCode, WPARAM wParam, LPARAM lParam)
{
    if (!m_pConfig || !m_pConfig->pfCallback)
        return E_FAIL;
    return m_pConfig->pfCallback(m_hWnd, nCode, wParam, lParam, m_pConfig->lpCallbackData);
}

int AFX_CDECL CQVTTaskDialogClient::DluToPixelsX(int nDlu)
{
    return ::MulDiv(QVTDpiScaler()->ScaleX(nDlu), LOWORD(::GetDialogBaseUnits()), 4);
}

int AFX_CDECL CQVTTaskDialogClient::DluToPixelsY(int nDlu)
{
    return ::MulDiv(QVTDpiScaler()->ScaleY(nDlu), HIWORD(::GetDialogBaseUnits()), 8);
}

CString AFX_CDECL CQVTTaskDialogClient::LoadTaskDialogString(HINSTANCE hInstance, PCWSTR pszText)
{
    if (!pszText)
        return CString();
    if (!IS_INTRESOURCE(pszText))
        return CString(pszText);
    UINT nID = (UINT)(UINT_PTR)pszText;
    if (nID == 0)
        return CString();
    if (hInstance && ::FindResourceW(hInstance, MAKEINTRESOURCEW(nID / 16 + 1), RT_STRING))
    {
        // A buffer that grows until the text leaves it room to spare.
        for (int nSize = 255;; nSize += 256)
        {
            std::vector<WCHAR> buffer((size_t)nSize + 1, 0);
            int nLength = ::LoadStringW(hInstance, nID, buffer.data(), nSize);
            if (nLength < nSize - 2 || nSize > 0x10000)
                return CString(buffer.data(), nLength);
            if (nSize == 255)
                nSize = 256;  // then 512, 768, ...
        }
    }
    CString strText;
    QVTResourceManager()->LoadString(&strText, nID);
    return strText;
}

BOOL CQVTTaskDialogClient::IsCommandLinks() const
{
    return (m_pConfig->dwFlags & (TDF_USE_COMMAND_LINKS | TDF_USE_COMMAND_LINKS_NO_ICON)) != 0;
}

BOOL CQVTTaskDialogClient::IsExpandedInFooter() const
{
    return (m_pConfig->dwFlags & TDF_EXPAND_FOOTER_AREA) != 0;
}

void CQVTTaskDialogClient::RefreshMetrics()
{
    CQVTWinThemeWrapper wrapper(TRUE);
    m_bThemed = m_bThemedForced || wrapper.IsVisualStylesAvailable();
    m_szBorder = CSize(::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXBORDER),
                       ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYBORDER));
    CQVTSystemMetrics* pMetrics = QVTSystemMetrics();
    m_szIconFooter = CSize(pMetrics->m_nSmallIconX, pMetrics->m_nSmallIconY);
    m_szIconMain = CSize(pMetrics->m_nIconX, pMetrics->m_nIconY);
    m_szMargin = CSize(DluToPixelsX(5), DluToPixelsY(5));
    m_szSpacing = CSize(DluToPixelsX(2), DluToPixelsY(2));
    if (m_bThemed)
    {
        m_nButtonGap = DluToPixelsX(3);
        m_nButtonRowGap = 0;
    }
    else
    {
        m_nButtonGap = m_szMargin.cx;
        m_nButtonRowGap = QVTDpiScaler()->ScaleY(2);
    }
    m_nMinClientWidth = DluToPixelsX(180) - 2 * m_szMargin.cx;
    HWND hWndParent = m_pConfig->hwndParent;
    CRect rcWork = (hWndParent && ::IsWindow(hWndParent))
                       ? QVTMultiMonitor()->GetWorkAreaFromHwnd(hWndParent)
                       : QVTMultiMonitor()->GetWorkAreaFromPoint(CPoint(0, 0));
    m_nMaxClientWidth = rcWork.Width() - 2 * (m_szMargin.cx + m_szBorder.cx);
    if (m_nMinClientWidth > m_nMaxClientWidth)
        m_nMinClientWidth = m_nMaxClientWidth;
    RefreshColors();
}

void CQVTTaskDialogClient::RefreshColors()
{
    m_clrSeparator =
        CQVTColorManager::BlendColors(GetColorByIndex(COLOR_3DFACE), GetColorByIndex(COLOR_BTNSHADOW), 750);
    m_clrSeparatorHighlight = GetColorByIndex(COLOR_3DHIGHLIGHT);
    if (m_bThemed)
    {
        m_clrHeaderBack = GetColorByIndex(COLOR_WINDOW);
        m_clrContent = GetColorByIndex(COLOR_WINDOWTEXT);
        m_clrMainInstruction =
            CQVTColorManager::IsColorDistanceAbove(0x993300, GetColorByIndex(COLOR_WINDOW), TRUE, 50.0f)
                ? 0x993300
                : m_clrContent;
    }
    else
    {
        m_clrSeparator = GetColorByIndex(COLOR_BTNSHADOW);
        m_clrHeaderBack = GetColorByIndex(COLOR_3DFACE);
        m_clrContent = GetColorByIndex(COLOR_BTNTEXT);
        m_clrMainInstruction = GetColorByIndex(COLOR_BTNTEXT);
    }
    m_clrDialogBack = GetColorByIndex(COLOR_3DFACE);
    m_clrFooter = GetColorByIndex(COLOR_BTNTEXT);
    UpdateLinkColors();
}

void CQVTTaskDialogClient::UpdateLinkColors()
{
    m_wndContent.SetBackColor(m_clrHeaderBack);
    m_wndContent.SetTextColor(m_clrContent);
    if (IsExpandedInFooter())
    {
        m_wndExpandedInformation.SetBackColor(m_clrDialogBack);
        m_wndExpandedInformation.SetTextColor(m_clrFooter);
    }
    else
    {
        m_wndExpandedInformation.SetBackColor(m_clrHeaderBack);
        m_wndExpandedInformation.SetTextColor(m_clrContent);
    }
    m_wndFooter.SetBackColor(m_clrDialogBack);
    m_wndFooter.SetTextColor(m_clrFooter);
}

void CQVTTaskDialogClient::CreateFonts()
{
    CQVTNonClientMetrics ncm;
    BYTE nCharset = QVTResourceManager()->GetFontCharset();
    LOGFONT lfMenu = ncm.lfMenuFont;
    lfMenu.lfCharSet = nCharset;
    if (m_bThemed)
    {
        BOOL bSegoe = ::lstrcmpi(lfMenu.lfFaceName, _T("Segoe UI")) == 0;
        lfMenu.lfWeight = FW_NORMAL;
        lfMenu.lfItalic = FALSE;
        if (bSegoe)
            lfMenu.lfQuality = CLEARTYPE_QUALITY;
        m_font.CreateFontIndirect(&lfMenu);
        LOGFONT lfLarge = lfMenu;
        CWindowDC dc(nullptr);
        lfLarge.lfHeight = ::MulDiv(-12, dc.GetDeviceCaps(LOGPIXELSY), 72);
        lfLarge.lfWeight = bSegoe ? FW_NORMAL : FW_BOLD;
        m_fontLarge.CreateFontIndirect(&lfLarge);
    }
    else
    {
        m_font.CreateFontIndirect(&lfMenu);
        LOGFONT lfCaption = ncm.lfCaptionFont;
        lfCaption.lfCharSet = nCharset;
        m_fontLarge.CreateFontIndirect(&lfCaption);
    }
}

HICON CQVTTaskDialogClient::CreateIcon(PCWSTR pszIcon, BOOL bHandle, CSize size)
{
    if (!pszIcon)
        return nullptr;
    if (bHandle)
        return ::CopyIcon(reinterpret_cast<HICON>(const_cast<WCHAR*>(pszIcon)));
    if (!IS_INTRESOURCE(pszIcon))
        return nullptr;
    UINT nValue = (UINT)(UINT_PTR)pszIcon;
    HINSTANCE hInstance = m_pConfig->hInstance;
    if (!hInstance || nValue == 0)
        return nullptr;
    if (nValue < TD::iconQuestion)
        return QVTResourceManager()->CreateIconFromModule(hInstance, pszIcon, size);
    static const UINT kSystemIds[] = {102, 106, 104, 103, 101};
    static const UINT kToolkitIds[] = {QVT_IDI_TASKDIALOG_QUESTION, QVT_IDI_TASKDIALOG_SHIELD,
                                       QVT_IDI_TASKDIALOG_INFORMATION, QVT_IDI_TASKDIALOG_ERROR,
                                       QVT_IDI_TASKDIALOG_WARNING};
    int nIndex = (int)(nValue - TD::iconQuestion);
    HICON hIcon = nullptr;
    if (m_bUseSysIcons)
        hIcon = QVTResourceManager()->CreateIconFromModule(::GetModuleHandleW(u"user32.dll"),
                                                           MAKEINTRESOURCEW(kSystemIds[nIndex]), size);
    if (!hIcon)
        hIcon = QVTResourceManager()->LoadIcon(kToolkitIds[nIndex], size);
    return hIcon;
}

void CQVTTaskDialogClient::CreateIcons()
{
    if (m_hIconFooter)
        ::DestroyIcon(m_hIconFooter);
    if (m_hIconMain)
        ::DestroyIcon(m_hIconMain);
    BOOL bFooterHandle = (m_pConfig->dwFlags & TDF_USE_HICON_FOOTER) != 0;
    BOOL bMainHandle = (m_pConfig->dwFlags & TDF_USE_HICON_MAIN) != 0;
    m_hIconFooter = CreateIcon(m_pConfig->pszFooterIcon, bFooterHandle, m_szIconFooter);
    m_hIconMain = CreateIcon(m_pConfig->pszMainIcon, bMainHandle, m_szIconMain);
    // A place left without an icon is tried once more.
    if (!m_hIconFooter)
        m_hIconFooter = CreateIcon(m_pConfig->pszFooterIcon, bFooterHandle, m_szIconFooter);
    if (!m_hIconMain)
        m_hIconMain = CreateIcon(m_pConfig->pszMainIcon, bMainHandle, m_szIconMain);

    if ((m_pConfig->dwFlags & TDF_USE_COMMAND_LINKS) &&
        !(m_pConfig->dwFlags & TDF_USE_COMMAND_LINKS_NO_ICON) && !m_pGlyphImage)
    {
        if (!m_pImageManager)
            m_pImageManager = new CQVTImageManager();
        LPCWSTR lpszGlyph = MAKEINTRESOURCEW(QVT_IDR_TASKDIALOG_COMMANDLINK_GLYPH);
        HINSTANCE hResources = AfxFindResourceHandle(lpszGlyph, u"RT_XAML");
        if (m_pImageManager->SetVectorIconFromResource(hResources, lpszGlyph, u"RT_XAML",
                                                       QVT_IDR_TASKDIALOG_COMMANDLINK_GLYPH, m_szGlyph.cx))
            m_pGlyphImage = m_pImageManager->GetImage(QVT_IDR_TASKDIALOG_COMMANDLINK_GLYPH, m_szGlyph.cx);
    }
}

void CQVTTaskDialogClient::LoadStrings()
{
    HINSTANCE hInstance = m_pConfig->hInstance;
    m_pTexts[textMainInstruction]->SetText(LoadTaskDialogString(hInstance, m_pConfig->pszMainInstruction));
    m_pTexts[textContent]->SetText(LoadTaskDialogString(hInstance, m_pConfig->pszContent));
    m_pTexts[textFooter]->SetText(LoadTaskDialogString(hInstance, m_pConfig->pszFooter));
    m_pTexts[textVerification]->SetText(LoadTaskDialogString(hInstance, m_pConfig->pszVerificationText));
    m_pTexts[textExpandedInformation]->SetText(
        LoadTaskDialogString(hInstance, m_pConfig->pszExpandedInformation));
    if (m_pTexts[textExpandedInformation]->IsEmpty())
        return;
    CString strExpanded = LoadTaskDialogString(hInstance, m_pConfig->pszExpandedControlText);
    CString strCollapsed = LoadTaskDialogString(hInstance, m_pConfig->pszCollapsedControlText);
    if (strExpanded.IsEmpty() && strCollapsed.IsEmpty())
    {
        strExpanded = LoadTaskDialogString(nullptr, MAKEINTRESOURCEW(QVT_IDS_TASKDIALOG_HIDEDETAILS));
        strCollapsed = LoadTaskDialogString(nullptr, MAKEINTRESOURCEW(QVT_IDS_TASKDIALOG_SHOWDETAILS));
    }
    else if (strExpanded.IsEmpty())
        strExpanded = strCollapsed;
    else if (strCollapsed.IsEmpty())
        strCollapsed = strExpanded;
    m_pTexts[textExpandedControl]->SetText(strExpanded);
    m_pTexts[textCollapsedControl]->SetText(strCollapsed);
}

CSize CQVTTaskDialogClient::GetDefaultPadding() const
{
    return CSize(m_nButtonGap + m_szMargin.cx, m_szSpacing.cy);
}

CSize CQVTTaskDialogClient::CalcButtonSize(const CString& strLabel, CSize szPadding, int nLimit)
{
    if (m_pMarkupContext)
    {
        CQVTMarkupUIElement* pElement = MarkupParseText(m_pMarkupContext, strLabel);
        if (pElement)
        {
            MarkupSetDefaultFont(m_pMarkupContext, static_cast<HFONT>(m_font.GetSafeHandle()), (COLORREF)-1);
            CSize size = MarkupMeasureElement(pElement, nLimit > 0 ? nLimit : INT_MAX, INT_MAX);
            MarkupReleaseElement(pElement);
            return CSize(size.cx + 2 * szPadding.cx, size.cy + 2 * szPadding.cy);
        }
    }
    int nBreak = strLabel.Find(_T('\n'));
    CString strTitle = nBreak < 0 ? strLabel : strLabel.Left(nBreak);
    CString strNote;
    if (nBreak >= 0)
    {
        CString strRest = strLabel.Mid(nBreak + 1);
        int nNext = strRest.Find(_T('\n'));
        strNote = nNext < 0 ? strRest : strRest.Left(nNext);
    }
    CQVTDrawHelpers::StripMnemonics(strTitle);
    CSize szTitle(0, 0), szNote(0, 0);
    if (nLimit > 0)
    {
        if (!strTitle.IsEmpty())
            szTitle = MeasureWrapped(strTitle, m_font.GetFont(), nLimit);
        if (!strNote.IsEmpty())
            szNote = MeasureWrapped(strNote, m_font.GetFont(), nLimit);
    }
    else
    {
        // Up to the widest dialog a label stays on one line.
        int nWidth = m_nMaxClientWidth;
        if (!strTitle.IsEmpty())
            szTitle = MeasureTextWidth(strTitle, m_font.GetFont(), nWidth, 330, 7);
        nWidth = m_nMaxClientWidth;
        if (!strNote.IsEmpty())
            szNote = MeasureTextWidth(strNote, m_font.GetFont(), nWidth, 330, 7);
    }
    return CSize(std::max(szTitle.cx, szNote.cx) + 2 * szPadding.cx,
                 szTitle.cy + szNote.cy + 2 * szPadding.cy);
}

CQVTButton* CQVTTaskDialogClient::CreateButton(LPCTSTR lpszCaption, DWORD dwStyle, CSize size, UINT nID,
                                               CQVTButtonTheme* pTheme)
{
    CQVTButton* pButton = new CQVTButton;
    if (pTheme)
        dwStyle |= BS_LEFT;
    if (!pButton->Create(lpszCaption, WS_CHILD | WS_VISIBLE | dwStyle, CRect(CPoint(0, 0), size), this, nID))
    {
        delete pButton;
        if (pTheme)
            pTheme->InternalRelease();
        return nullptr;
    }
    m_mapWndSize[pButton->m_hWnd] = size;
    if (pTheme)
        pButton->SetThemeObject(pTheme);
    pButton->SetFont(m_font.GetFont(), FALSE);
    if (m_pMarkupContext)
    {
        pButton->EnableMarkup(TRUE);
        if (pButton->GetMarkupContext())
            MarkupSetDefaultFont(pButton->GetMarkupContext(), static_cast<HFONT>(m_font.GetSafeHandle()),
                                 (COLORREF)-1);
    }
    return pButton;
}

BOOL CQVTTaskDialogClient::CreateCommandButtons()
{
    UINT nCount = m_pConfig->pButtons ? m_pConfig->cButtons : 0;
    for (UINT i = 0; i < nCount; ++i)
    {
        const TD::_TASKDIALOG_BUTTON& entry = m_pConfig->pButtons[i];
        CString strLabel = LoadTaskDialogString(m_pConfig->hInstance, entry.pszButtonText);
        CQVTButton* pButton;
        if (IsCommandLinks())
        {
            CQVTTaskButtonTheme* pTheme = new CQVTTaskButtonTheme(m_bThemed);
            pTheme->SetTitleFont(m_fontLarge.GetFont());
            if (m_pGlyphImage)
                pTheme->SetGlyph(m_pGlyphImage, m_szGlyph);
            pButton =
                CreateButton(strLabel, WS_TABSTOP | BS_MULTILINE, CSize(1, 1), (UINT)entry.nButtonID, pTheme);
            if (!pButton)
                return FALSE;
            m_arrCommandButtons.Add(pButton);
        }
        else
        {
            CSize size = CalcButtonSize(strLabel, GetDefaultPadding());
            size.cx = std::max(size.cx, m_szCommonButton.cx);
            pButton = CreateButton(strLabel, WS_TABSTOP | BS_MULTILINE, size, (UINT)entry.nButtonID);
            if (!pButton)
                return FALSE;
            m_arrCommonButtons.Add(pButton);
        }
    }
    return TRUE;
}

BOOL CQVTTaskDialogClient::CreateCommonButtons()
{
    struct Common
    {
        DWORD dwBit;
        UINT nID;
        UINT nString;
    };
    static const Common kCommon[] = {{TDCBF_OK_BUTTON, IDOK, QVT_IDS_TASKDIALOG_OK},
                                     {TDCBF_YES_BUTTON, IDYES, QVT_IDS_TASKDIALOG_YES},
                                     {TDCBF_NO_BUTTON, IDNO, QVT_IDS_TASKDIALOG_NO},
                                     {TDCBF_RETRY_BUTTON, IDRETRY, QVT_IDS_TASKDIALOG_RETRY},
                                     {TDCBF_CANCEL_BUTTON, IDCANCEL, QVT_IDS_TASKDIALOG_CANCEL},
                                     {TDCBF_CLOSE_BUTTON, IDCLOSE, QVT_IDS_TASKDIALOG_CLOSE}};
    UINT nCustom = m_pConfig->pButtons ? m_pConfig->cButtons : 0;
    for (const Common& common : kCommon)
    {
        // A dialog without any button gets OK.
        BOOL bWanted = (m_pConfig->dwCommonButtons & common.dwBit) ||
                       (common.nID == IDOK && nCustom == 0 && m_pConfig->dwCommonButtons == 0);
        if (!bWanted)
            continue;
        CString strLabel = LoadTaskDialogString(nullptr, MAKEINTRESOURCEW(common.nString));
        CQVTButton* pButton = CreateButton(strLabel, WS_TABSTOP | BS_MULTILINE, m_szCommonButton, common.nID);
        if (!pButton)
            return FALSE;
        m_arrCommonButtons.Add(pButton);
    }
    return TRUE;
}

BOOL CQVTTaskDialogClient::CreateRadioButtons()
{
    UINT nCount = m_pConfig->pRadioButtons ? m_pConfig->cRadioButtons : 0;
    BOOL bNoDefault = (m_pConfig->dwFlags & TDF_NO_DEFAULT_RADIO_BUTTON) != 0;
    int nDefault = m_pConfig->nDefaultRadioButton;
    m_nSelRadioButtonID = 0;
    CSize szPadding(QVTDpiScaler()->ScaleX(10), QVTDpiScaler()->ScaleY(2));
    for (UINT i = 0; i < nCount; ++i)
    {
        const TD::_TASKDIALOG_BUTTON& entry = m_pConfig->pRadioButtons[i];
        CString strLabel = LoadTaskDialogString(m_pConfig->hInstance, entry.pszButtonText);
        BOOL bChosen = !bNoDefault && (nDefault == 0 ? i == 0 : entry.nButtonID == nDefault);
        DWORD dwStyle = BS_AUTORADIOBUTTON | BS_TOP | BS_MULTILINE;
        if (bChosen || (i == 0 && (bNoDefault || nDefault == 0)))
            dwStyle |= WS_TABSTOP;
        CSize size = CalcButtonSize(strLabel, szPadding);
        // The mark stands beside the caption.
        size.cx += QVTDpiScaler()->ScaleX(16);
        CQVTButton* pButton = CreateButton(strLabel, dwStyle, size, (UINT)entry.nButtonID);
        if (!pButton)
            return FALSE;
        if (bChosen)
        {
            pButton->SetCheck(BST_CHECKED);
            m_nSelRadioButtonID = entry.nButtonID;
        }
        m_arrRadioButtons.Add(pButton);
    }
    return TRUE;
}

BOOL CQVTTaskDialogClient::CreateExpandoControls()
{
    int nLimit = DluToPixelsX(146);
    if (!m_pTexts[textExpandedInformation]->IsEmpty())
    {
        const CString& strExpanded = m_pTexts[textExpandedControl]->GetText();
        const CString& strCollapsed = m_pTexts[textCollapsedControl]->GetText();
        const CString& strLonger =
            strExpanded.GetLength() >= strCollapsed.GetLength() ? strExpanded : strCollapsed;
        CSize size = CalcButtonSize(strLonger, GetDefaultPadding(), nLimit);
        size.cx += QVTDpiScaler()->ScaleX(26);
        m_bExpanded = (m_pConfig->dwFlags & TDF_EXPANDED_BY_DEFAULT) != 0;
        m_pBtnExpando = CreateButton(m_bExpanded ? strExpanded : strCollapsed, WS_TABSTOP | BS_MULTILINE,
                                     size, 0, new CQVTTaskButtonThemeExpando);
        if (!m_pBtnExpando)
            return FALSE;
        m_pBtnExpando->SetChecked(m_bExpanded);
    }
    if (!m_pTexts[textVerification]->IsEmpty())
    {
        CSize szPadding(QVTDpiScaler()->ScaleX(10), QVTDpiScaler()->ScaleY(2));
        CSize size = CalcButtonSize(m_pTexts[textVerification]->GetText(), szPadding, nLimit);
        size.cx += QVTDpiScaler()->ScaleX(16);
        m_bVerification = (m_pConfig->dwFlags & TDF_VERIFICATION_FLAG_CHECKED) != 0;
        m_pBtnVerify = CreateButton(m_pTexts[textVerification]->GetText(),
                                    WS_TABSTOP | BS_MULTILINE | BS_TOP | BS_LEFT | BS_AUTOCHECKBOX, size, 0);
        if (!m_pBtnVerify)
            return FALSE;
        m_pBtnVerify->SetCheck(m_bVerification ? BST_CHECKED : BST_UNCHECKED);
        if (m_pBtnVerify->GetMarkupElement())
            RegisterHyperlinkDelegate(m_pBtnVerify->GetMarkupContext());
    }
    return TRUE;
}

BOOL CQVTTaskDialogClient::CreateProgressBar()
{
    DWORD dwFlags = m_pConfig->dwFlags;
    if (!(dwFlags & (TDF_SHOW_PROGRESS_BAR | TDF_SHOW_MARQUEE_PROGRESS_BAR)))
        return TRUE;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | ((dwFlags & TDF_SHOW_MARQUEE_PROGRESS_BAR) ? PBS_MARQUEE : 0);
    return m_wndProgressBar.Create(dwStyle, CRect(0, 0, 0, 0), this, 0);
}

BOOL CQVTTaskDialogClient::CreateInputBox()
{
    if (!m_bInputBox)
        return TRUE;
    if (!m_wndInputBox.CreateEx(WS_EX_CLIENTEDGE, _T("EDIT"), m_strInputBoxText,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), this,
                                inputBoxID))
        return FALSE;
    m_wndInputBox.SetFont(m_font.GetFont(), FALSE);
    return TRUE;
}

void CQVTTaskDialogClient::CreateLinkControl(CQVTTaskDialogLinkCtrl& wndLink, int nText)
{
    CString strText = m_pTexts[nText]->GetText();
    if (wndLink.Create(CRect(0, 0, 0, 0), strText, m_font.GetFont(), this))
        m_pTexts[nText]->SetText(strText);
}

void CQVTTaskDialogClient::CreateLinkControls()
{
    UpdateLinkColors();
    CreateLinkControl(m_wndContent, textContent);
    CreateLinkControl(m_wndExpandedInformation, textExpandedInformation);
    CreateLinkControl(m_wndFooter, textFooter);
}

void CQVTTaskDialogClient::DestroyButton(CQVTButton*& pButton)
{
    if (!pButton)
        return;
    if (pButton->m_hWnd)
        pButton->DestroyWindow();
    delete pButton;
    pButton = nullptr;
}

void CQVTTaskDialogClient::DestroyButtons(CArray<CQVTButton*, CQVTButton*>& arrButtons)
{
    for (INT_PTR i = 0; i < arrButtons.GetSize(); ++i)
        DestroyButton(arrButtons[i]);
    arrButtons.RemoveAll();
}

void CQVTTaskDialogClient::DestroyClient()
{
    DestroyButton(m_pBtnVerify);
    DestroyButton(m_pBtnExpando);
    DestroyButtons(m_arrCommandButtons);
    DestroyButtons(m_arrRadioButtons);
    DestroyButtons(m_arrCommonButtons);
    if (m_hIconFooter)
        ::DestroyIcon(m_hIconFooter);
    if (m_hIconMain)
        ::DestroyIcon(m_hIconMain);
    m_hIconFooter = m_hIconMain = nullptr;
    for (CWnd* pWnd : {(CWnd*)&m_wndProgressBar, (CWnd*)&m_wndContent, (CWnd*)&m_wndExpandedInformation,
                       (CWnd*)&m_wndFooter, (CWnd*)&m_wndInputBox})
        if (pWnd->m_hWnd)
            pWnd->DestroyWindow();
    for (int i = 0; i < textCount; ++i)
        m_pTexts[i]->SetText(CString());
    MarkupReleaseContext(m_pMarkupContext);
    m_mapWndSize.RemoveAll();
}

BOOL CQVTTaskDialogClient::CreateClient(BOOL bMoveWindow)
{
    DestroyClient();
    if (m_bUseMarkup)
    {
        m_pMarkupContext = MarkupCreateContext(m_hWnd, TRUE);
        RegisterHyperlinkDelegate(m_pMarkupContext);
    }
    RefreshMetrics();
    LoadStrings();
    CreateIcons();
    CreateFonts();

    static const UINT kLabels[] = {QVT_IDS_TASKDIALOG_OK,     QVT_IDS_TASKDIALOG_YES,
                                   QVT_IDS_TASKDIALOG_NO,     QVT_IDS_TASKDIALOG_RETRY,
                                   QVT_IDS_TASKDIALOG_CANCEL, QVT_IDS_TASKDIALOG_CLOSE};
    m_szCommonButton = CSize(0, 0);
    for (UINT nLabel : kLabels)
    {
        CSize size =
            CalcButtonSize(LoadTaskDialogString(nullptr, MAKEINTRESOURCEW(nLabel)), GetDefaultPadding());
        m_szCommonButton.cx = std::max(m_szCommonButton.cx, size.cx);
        m_szCommonButton.cy = std::max(m_szCommonButton.cy, size.cy);
    }

    if (!CreateCommandButtons() || !CreateCommonButtons())
        return FALSE;
    if (m_pConfig->dwFlags & TDF_ENABLE_HYPERLINKS)
        CreateLinkControls();
    if (!CreateProgressBar() || !CreateRadioButtons() || !CreateInputBox() || !CreateExpandoControls())
        return FALSE;
    RecalcLayout(bMoveWindow);
    return TRUE;
}

void CQVTTaskDialogClient::OnSettingChangeMessage(UINT, LPCTSTR)
{
    Default();
    RefreshMetrics();
}

void CQVTTaskDialogClient::OnSysColorChangeMessage()
{
    Default();
    RefreshMetrics();
}

BOOL CQVTTaskDialogClient::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQVTTaskDialogClient::DrawIcon(CDC* pDC, HICON hIcon, CPoint pt, CSize size)
{
    if (!hIcon)
        return;
    // A right-to-left DC would mirror the icon's bitmap.
    DWORD dwLayout = CQVTDrawHelpers::GetDCLayout(pDC);
    if (dwLayout & LAYOUT_RTL)
        CQVTDrawHelpers::SetDCLayout(pDC, dwLayout | LAYOUT_BITMAPORIENTATIONPRESERVED);
    ::DrawIconEx(pDC->m_hDC, pt.x, pt.y, hIcon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    if (dwLayout & LAYOUT_RTL)
        CQVTDrawHelpers::SetDCLayout(pDC, dwLayout);
}

void CQVTTaskDialogClient::DrawText(CDC* pDC, const CQVTTaskDialogText& text, CFont* pFont, COLORREF clrText)
{
    if (text.IsEmpty() || text.m_rcText.IsRectEmpty())
        return;
    if (text.m_pElement && m_pMarkupContext)
    {
        MarkupSetDefaultFont(m_pMarkupContext, static_cast<HFONT>(pFont ? pFont->GetSafeHandle() : nullptr),
                             clrText);
        MarkupRenderElement(text.m_pElement, pDC->m_hDC, text.m_rcText);
        return;
    }
    CQVTFontDC font(pDC, pFont, clrText);
    CRect rc(text.m_rcText);
    pDC->DrawText(text.GetText(), rc, DT_WORDBREAK | DT_NOPREFIX);
}

void CQVTTaskDialogClient::DrawBackground(CDC* pDC, CRect rcClient)
{
    pDC->FillSolidRect(rcClient, m_clrDialogBack);
    const CQVTTaskDialogText& expanded = *m_pTexts[textExpandedInformation];
    BOOL bExpandedInFooter = IsExpandedInFooter() && m_bExpanded && !expanded.IsEmpty();
    BOOL bFooter = !m_pTexts[textFooter]->IsEmpty();
    int my = m_szMargin.cy;
    if (m_bThemed)
    {
        pDC->FillSolidRect(CRect(rcClient.left, rcClient.top, rcClient.right, m_rcCommon.top),
                           m_clrHeaderBack);
        if (m_rcCommon.Height() > 0)
            pDC->FillSolidRect(CRect(rcClient.left, m_rcCommon.top, rcClient.right, m_rcCommon.top + 1),
                               m_clrSeparator);
        if (bFooter)
        {
            pDC->FillSolidRect(CRect(rcClient.left, m_rcCommon.bottom, rcClient.right, m_rcCommon.bottom + 1),
                               m_clrSeparator);
            pDC->FillSolidRect(
                CRect(rcClient.left, m_rcCommon.bottom + 1, rcClient.right, m_rcCommon.bottom + 2),
                m_clrSeparatorHighlight);
        }
        if (bExpandedInFooter)
        {
            int y = m_rcExpandedInformation.top - my;
            pDC->FillSolidRect(CRect(rcClient.left, y, rcClient.right, y + 1), m_clrSeparator);
            pDC->FillSolidRect(CRect(rcClient.left, y + 1, rcClient.right, y + 2), m_clrSeparatorHighlight);
        }
        return;
    }
    if (bFooter)
        pDC->FillSolidRect(CRect(rcClient.left, m_rcCommon.bottom + 1, rcClient.right, m_rcCommon.bottom + 2),
                           m_clrSeparator);
    if (bExpandedInFooter)
    {
        int y = m_rcExpandedInformation.top - my;
        pDC->FillSolidRect(CRect(rcClient.left, y, rcClient.right, y + 1), m_clrSeparator);
    }
}

void CQVTTaskDialogClient::DrawMainInstruction(CDC* pDC)
{
    DrawIcon(pDC, m_hIconMain, CPoint(m_szMargin.cx, m_szMargin.cy), m_szIconMain);
    DrawText(pDC, *m_pTexts[textMainInstruction], m_fontLarge.GetFont(), m_clrMainInstruction);
}

void CQVTTaskDialogClient::DrawContent(CDC* pDC)
{
    if (!m_wndContent.m_hWnd)
        DrawText(pDC, *m_pTexts[textContent], m_font.GetFont(), m_clrContent);
}

void CQVTTaskDialogClient::DrawExpandedInformation(CDC* pDC)
{
    const CQVTTaskDialogText& expanded = *m_pTexts[textExpandedInformation];
    if (!m_bExpanded || expanded.IsEmpty() || expanded.m_rcText.IsRectEmpty() ||
        m_wndExpandedInformation.m_hWnd)
        return;
    DrawText(pDC, expanded, m_font.GetFont(), IsExpandedInFooter() ? m_clrFooter : m_clrContent);
}

void CQVTTaskDialogClient::DrawFooter(CDC* pDC)
{
    DrawIcon(pDC, m_hIconFooter, CPoint(m_szMargin.cx + QVTDpiScaler()->ScaleX(2), m_rcFooter.top),
             m_szIconFooter);
    if (!m_wndFooter.m_hWnd)
        DrawText(pDC, *m_pTexts[textFooter], m_font.GetFont(), m_clrFooter);
}

void CQVTTaskDialogClient::Paint(HDC hDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CQVTBufferDC dc(hDC, rcClient);
    dc.SetBkMode(TRANSPARENT);
    DrawBackground(&dc, rcClient);
    DrawMainInstruction(&dc);
    DrawContent(&dc);
    DrawExpandedInformation(&dc);
    DrawFooter(&dc);
}

void CQVTTaskDialogClient::OnPaint()
{
    CPaintDC dc(this);
    Paint(dc.m_hDC);
}

LRESULT CQVTTaskDialogClient::OnPrintClientMessage(WPARAM wParam, LPARAM)
{
    if (wParam)
        Paint((HDC)wParam);
    return 0;
}

HBRUSH CQVTTaskDialogClient::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // Radio buttons and command links stand on the header.
    BOOL bOnHeader = FALSE;
    for (INT_PTR i = 0; i < m_arrRadioButtons.GetSize() && !bOnHeader; ++i)
        bOnHeader = pWnd && m_arrRadioButtons[i]->m_hWnd == pWnd->m_hWnd;
    for (INT_PTR i = 0; i < m_arrCommandButtons.GetSize() && !bOnHeader; ++i)
        bOnHeader = pWnd && m_arrCommandButtons[i]->m_hWnd == pWnd->m_hWnd;
    if (!bOnHeader)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkColor(m_clrHeaderBack);
    return ::GetSysColorBrush(m_bThemed ? COLOR_WINDOW : COLOR_3DFACE);
}

void CQVTTaskDialogClient::OnDestroy()
{
    if (m_wndInputBox.m_hWnd)
        m_wndInputBox.GetWindowText(m_strInputBoxText);
    CDialog::OnDestroy();
}

void CQVTTaskDialogClient::OnInputBoxEditChange()
{
    SendNotify(TD::TDN_INPUTBOX_CHANGED);
}

void CQVTTaskDialogClient::OnExpandoClicked()
{
    m_bExpanded = !m_bExpanded;
    SendNotify(TDN_EXPANDO_BUTTON_CLICKED, m_bExpanded);
    if (!m_pBtnExpando)
        return;
    m_pBtnExpando->SetWindowText(
        m_pTexts[m_bExpanded ? textExpandedControl : textCollapsedControl]->GetText());
    m_pBtnExpando->SetChecked(m_bExpanded);
    RecalcLayout(FALSE);
}

BOOL CQVTTaskDialogClient::OnClientCommand(UINT nID, HWND hWndControl)
{
    for (INT_PTR i = 0; i < m_arrRadioButtons.GetSize(); ++i)
    {
        if (m_arrRadioButtons[i]->m_hWnd != hWndControl)
            continue;
        if (::SendMessage(hWndControl, BM_GETCHECK, 0, 0) != BST_CHECKED)
            return TRUE;
        m_nSelRadioButtonID = (int)nID;
        SendNotify(TDN_RADIO_BUTTON_CLICKED, nID);
        return TRUE;
    }
    for (CQVTTaskDialogLinkCtrl* pLink : {&m_wndContent, &m_wndExpandedInformation, &m_wndFooter})
    {
        if (!pLink->m_hWnd || pLink->m_hWnd != hWndControl)
            continue;
        if (CQVTTaskDialogLinkCtrl::LINKITEM* pItem = pLink->GetFocusedLink())
            SendNotify(TDN_HYPERLINK_CLICKED, 0, (LPARAM)(LPCWSTR)pItem->strTarget);
        return TRUE;
    }
    if (m_pBtnVerify && hWndControl == m_pBtnVerify->m_hWnd)
    {
        m_bVerification = !m_bVerification;
        SendNotify(TDN_VERIFICATION_CLICKED, m_bVerification);
        return TRUE;
    }
    if (m_pBtnExpando && hWndControl == m_pBtnExpando->m_hWnd)
    {
        OnExpandoClicked();
        return TRUE;
    }
    // Cancel only where there is a Cancel button or cancelling is allowed.
    if (nID == IDCANCEL && !::GetDlgItem(m_hWnd, IDCANCEL) &&
        !(m_pConfig->dwFlags & TDF_ALLOW_DIALOG_CANCELLATION))
        return TRUE;
    if (SendNotify(TDN_BUTTON_CLICKED, nID) != S_OK && m_pConfig->pfCallback)
        return TRUE;
    if (nID == IDCANCEL)
        OnCancel();
    else if (nID == IDOK)
        OnOK();
    else
        EndDialog((int)nID);
    return TRUE;
}

LRESULT CQVTTaskDialogClient::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == 0)
    {
        OnClientCommand(LOWORD(wParam), (HWND)lParam);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CQVTTaskDialogClient::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_pMarkupContext && m_hWnd)
    {
        // The text under the cursor gets the message, else the dialog's
        // context; what one of them handles goes no further.
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        CQVTMarkupUIElement* pElement = nullptr;
        for (int nText :
             {(int)textMainInstruction, (int)textContent, (int)textFooter, (int)textExpandedInformation})
            if (m_pTexts[nText]->m_pElement && m_pTexts[nText]->m_rcText.PtInRect(pt))
                pElement = m_pTexts[nText]->m_pElement;
        LRESULT lResult = 0;
        BOOL bHandled = pElement ? MarkupRelayElementMessage(pElement, message, wParam, lParam, &lResult)
                                 : MarkupRelayMessage(m_pMarkupContext, message, wParam, lParam, &lResult);
        if (bHandled)
        {
            if (pResult)
                *pResult = lResult;
            return TRUE;
        }
    }
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CQVTTaskDialogClient::RegisterHyperlinkDelegate(CQVTMarkupContext* pContext)
{
    if (pContext && CQVTMarkupHyperlink::m_pClickEvent)
        pContext->AddHandler(CQVTMarkupHyperlink::m_pClickEvent,
                             new CQVTMarkupClassDelegate<CQVTTaskDialogClient>(
                                 this, &CQVTTaskDialogClient::OnMarkupHyperlinkClick));
}

void CQVTTaskDialogClient::OnMarkupHyperlinkClick(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs* pArgs)
{
    CQVTMarkupHyperlink* pLink = pArgs ? MarkupCast<CQVTMarkupHyperlink>(pArgs->GetSource()) : nullptr;
    if (!pLink)
        return;
    CQVTMarkupString* pTarget =
        MarkupCast<CQVTMarkupString>(pLink->GetValue(CQVTMarkupFrameworkElement::m_pTagProperty));
    CString strTarget = pTarget ? CString(pTarget->GetText()) : CString();
    SendNotify(TDN_HYPERLINK_CLICKED, 0, (LPARAM)(LPCWSTR)strTarget);
    pArgs->SetHandled(TRUE);
}
