// The body of the toolkit's own task dialog: the configuration turned into
// child controls and painted texts, the dialog's width chosen, everything
// laid out in dialog units, painted in the classic or the themed look, and
// clicks turned into task-dialog notifications. The layout is long enough
// for a file of its own (QVTTaskDialogLayout.cpp).
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "toolkit/controls/taskdialog/QVTTaskDialogAPI.h"
#include "toolkit/controls/taskdialog/QVTTaskDialogLinkCtrl.h"
#include "toolkit/controls/taskdialog/QVTTaskDialogProgressCtrl.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTButton;
class CQVTButtonTheme;
class CQVTImageManager;
class CQVTImageManagerIcon;
class CQVTMarkupContext;
class CQVTMarkupObject;
class CQVTMarkupRoutedEventArgs;
class CQVTMarkupUIElement;
class CQVTTaskDialogClient;

// One text of the dialog and where it is drawn.
class CQVTTaskDialogText
{
public:
    explicit CQVTTaskDialogText(CQVTTaskDialogClient* pClient) : m_pClient(pClient) {}
    ~CQVTTaskDialogText();
    CQVTTaskDialogText(const CQVTTaskDialogText&) = delete;
    CQVTTaskDialogText& operator=(const CQVTTaskDialogText&) = delete;

    // Takes a new text; with markup on, it is parsed into an element.
    void SetText(const CString& strText);
    const CString& GetText() const { return m_strText; }
    BOOL IsEmpty() const { return m_strText.IsEmpty(); }

    CString m_strText;
    CQVTMarkupUIElement* m_pElement = nullptr;  // released when the text changes
    CQVTTaskDialogClient* m_pClient;
    CRect m_rcText;
};

class CQVTTaskDialogClient : public CDialog
{
    DECLARE_DYNAMIC(CQVTTaskDialogClient)

public:
    enum
    {
        inputBoxID = 544,
    };

    explicit CQVTTaskDialogClient(QVTTaskDialogAPI::TASKDIALOGCONFIG* pConfig);
    ~CQVTTaskDialogClient() override;

    // Calls the configuration's callback; E_FAIL without one.
    HRESULT SendNotify(UINT nCode, WPARAM wParam = 0, LPARAM lParam = 0);

    void EnableMarkup(BOOL bEnable = TRUE) { m_bUseMarkup = bEnable; }
    BOOL IsMarkupEnabled() const { return m_bUseMarkup; }
    void EnableInputBox(BOOL bEnable = TRUE) { m_bInputBox = bEnable; }
    BOOL IsInputBoxEnabled() const { return m_bInputBox; }
    void SetInputBoxText(LPCTSTR lpszText) { m_strInputBoxText = lpszText; }
    const CString& GetInputBoxText() const { return m_strInputBoxText; }
    // The classic look is the default where the system has no visual styles.
    void SetForceThemed(BOOL bForce) { m_bThemedForced = bForce; }
    BOOL IsThemed() const { return m_bThemed; }
    void SetUseSystemIcons(BOOL bUse) { m_bUseSysIcons = bUse; }
    int GetSelectedRadioButtonId() const { return m_nSelRadioButtonID; }
    BOOL IsVerificationChecked() const { return m_bVerification; }
    BOOL IsExpanded() const { return m_bExpanded; }

    // What the tests and the frame look at.
    int GetRowButtonCount() const { return (int)m_arrCommonButtons.GetSize(); }
    CQVTButton* GetRowButton(int nIndex) const { return m_arrCommonButtons[nIndex]; }
    int GetCommandLinkCount() const { return (int)m_arrCommandButtons.GetSize(); }
    CQVTButton* GetCommandLink(int nIndex) const { return m_arrCommandButtons[nIndex]; }
    int GetRadioButtonCount() const { return (int)m_arrRadioButtons.GetSize(); }
    CQVTButton* GetRadioButton(int nIndex) const { return m_arrRadioButtons[nIndex]; }
    CQVTButton* GetVerificationButton() const { return m_pBtnVerify; }
    CQVTButton* GetExpandoButton() const { return m_pBtnExpando; }
    CQVTTaskDialogProgressCtrl& GetProgressCtrl() { return m_wndProgressBar; }
    CEdit& GetInputBox() { return m_wndInputBox; }
    CQVTTaskDialogLinkCtrl& GetContentLink() { return m_wndContent; }
    CQVTTaskDialogLinkCtrl& GetFooterLink() { return m_wndFooter; }
    CQVTTaskDialogLinkCtrl& GetExpandedLink() { return m_wndExpandedInformation; }
    const CQVTTaskDialogText& GetText(int nWhich) const;
    HICON GetMainIcon() const { return m_hIconMain; }
    HICON GetFooterIcon() const { return m_hIconFooter; }
    const CRect& GetButtonArea() const { return m_rcCommon; }
    const CRect& GetCommandLinkArea() const { return m_rcCommand; }
    const CRect& GetRadioArea() const { return m_rcRadio; }
    CSize GetMargin() const { return m_szMargin; }
    int GetMinClientWidth() const { return m_nMinClientWidth; }
    int GetMaxClientWidth() const { return m_nMaxClientWidth; }
    COLORREF GetHeaderBackColor() const { return m_clrHeaderBack; }
    COLORREF GetDialogBackColor() const { return m_clrDialogBack; }
    COLORREF GetMainInstructionColor() const { return m_clrMainInstruction; }
    COLORREF GetContentColor() const { return m_clrContent; }
    COLORREF GetFooterColor() const { return m_clrFooter; }
    COLORREF GetSeparatorColor() const { return m_clrSeparator; }
    CFont* GetNormalFont() { return m_font.GetFont(); }
    // The dialog's markup context while its texts are markup, else null.
    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    CFont* GetMainInstructionFont() { return m_fontLarge.GetFont(); }

    // Dialog units, DPI-scaled first, as pixels.
    static int AFX_CDECL DluToPixelsX(int nDlu);
    static int AFX_CDECL DluToPixelsY(int nDlu);
    // A text field's text: a string id (1 to 65535) loaded from the module,
    // else from the toolkit's resources; anything else a string pointer.
    static CString AFX_CDECL LoadTaskDialogString(HINSTANCE hInstance, PCWSTR pszText);

    // Which texts records there are.
    enum TextIndex
    {
        textMainInstruction,
        textContent,
        textFooter,
        textVerification,
        textExpandedInformation,
        textExpandedControl,
        textCollapsedControl,
        textCount
    };

protected:
    virtual BOOL CreateClient(BOOL bMoveWindow);
    virtual void CreateIcons();
    virtual void LoadStrings();
    virtual void CreateFonts();
    virtual BOOL CreateCommonButtons();
    virtual BOOL CreateCommandButtons();
    virtual BOOL CreateRadioButtons();
    virtual BOOL CreateExpandoControls();
    virtual BOOL CreateProgressBar();
    virtual BOOL CreateInputBox();
    virtual void RefreshMetrics();
    virtual void RefreshColors();
    virtual void DrawMainInstruction(CDC* pDC);
    virtual void DrawContent(CDC* pDC);
    virtual void DrawFooter(CDC* pDC);
    virtual void DrawBackground(CDC* pDC, CRect rcClient);
    virtual void DrawExpandedInformation(CDC* pDC);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Layout (QVTTaskDialogLayout.cpp).
    int CalcClientWidth();
    CSize Layout(int nWidth);
    void CalcButtonArea(int nWidth, int nTop);
    void RecalcLayout(BOOL bMoveWindow);
    // The steps of RecalcLayout after Layout, in order.
    void ApplyTabOrder();
    void PositionCommonButtons();
    void PositionExpandoAndVerify();
    void PositionCommandLinks();
    void PositionTextWindows();
    void PlaceDialogWindow(CSize szClient, BOOL bMoveWindow);
    // The one-line extent of a text, word-wrapped past a preferred width W
    // that grows the width by E per W of extent (both in dialog units).
    CSize MeasureTextWidth(const CString& strText, CFont* pFont, int& nWidth, int nPreferred, int nExtra,
                           BOOL* pbFits = nullptr);
    void MeasureTextRecord(const CQVTTaskDialogText& text, int& nWidth, BOOL bMainInstruction);
    CSize MeasureWrapped(const CString& strText, CFont* pFont, int nWidth, UINT nExtraFormat = 0);
    CSize MeasureText(const CQVTTaskDialogText& text, CFont* pFont, int nWidth);
    // The size of a row button for a label: title and note, padded.
    CSize CalcButtonSize(const CString& strLabel, CSize szPadding, int nLimit = 0);
    CSize GetDefaultPadding() const;
    int GetMainIconColumn() const;
    int GetFooterIconColumn() const;
    BOOL IsExpandedInFooter() const;

    // Controls.
    CQVTButton* CreateButton(LPCTSTR lpszCaption, DWORD dwStyle, CSize size, UINT nID,
                             CQVTButtonTheme* pTheme = nullptr);
    void DestroyClient();
    void DestroyButtons(CArray<CQVTButton*, CQVTButton*>& arrButtons);
    void DestroyButton(CQVTButton*& pButton);
    HICON CreateIcon(PCWSTR pszIcon, BOOL bHandle, CSize size);
    void CreateLinkControls();
    void CreateLinkControl(CQVTTaskDialogLinkCtrl& wndLink, int nText);
    void UpdateLinkColors();
    BOOL IsCommandLinks() const;

    // Painting helpers.
    void Paint(HDC hDC);
    void DrawIcon(CDC* pDC, HICON hIcon, CPoint pt, CSize size);
    void DrawText(CDC* pDC, const CQVTTaskDialogText& text, CFont* pFont, COLORREF clrText);

    // Commands.
    BOOL OnClientCommand(UINT nID, HWND hWndControl);
    // A markup hyperlink clicked in a text or a caption: its target is the
    // hyperlink's Tag.
    void OnMarkupHyperlinkClick(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs);
    void RegisterHyperlinkDelegate(CQVTMarkupContext* pContext);
    void OnExpandoClicked();

    afx_msg void OnSettingChangeMessage(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnSysColorChangeMessage();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClientMessage(WPARAM wParam, LPARAM lParam);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    afx_msg void OnInputBoxEditChange();
    DECLARE_MESSAGE_MAP()

    QVTTaskDialogAPI::TASKDIALOGCONFIG* m_pConfig;  // the page shown; not owned

    int m_nMaxClientWidth;
    int m_nMinClientWidth;
    int m_nCommandTextIndent;  // left of a command link's text
    BOOL m_bExpanded;
    BOOL m_bVerification;
    BOOL m_bUseSysIcons;                // standard icons from user32 first
    BOOL m_bThemed;                     // the look this page is drawn in
    HICON m_hIconFooter;                // owned
    HICON m_hIconMain;                  // owned
    CQVTImageManager* m_pImageManager;  // holds the command-link glyph, owned
    CQVTImageManagerIcon* m_pGlyphImage;
    CSize m_szGlyph;

    COLORREF m_clrHeaderBack;
    COLORREF m_clrContent;
    COLORREF m_clrDialogBack;
    COLORREF m_clrFooter;
    COLORREF m_clrMainInstruction;
    COLORREF m_clrSpare;
    COLORREF m_clrSeparator;
    COLORREF m_clrSeparatorHighlight;

    CQVTFont m_font;       // normal
    CQVTFont m_fontLarge;  // main instruction

    CSize m_szMargin;
    CSize m_szSpacing;
    int m_nButtonGap;     // between row buttons
    int m_nButtonRowGap;  // between rows
    CSize m_szBorder;     // frame edge
    CSize m_szIconFooter;
    CSize m_szIconMain;
    CSize m_szCommonButton;

    CRect m_rcMainInstruction;
    CRect m_rcContent;
    CRect m_rcCommon;  // the button area
    CRect m_rcExpandedInformation;
    CRect m_rcFooter;
    CRect m_rcRadio;
    CRect m_rcCommand;

    CQVTTaskDialogText* m_pTexts[textCount];
    CQVTMarkupContext* m_pMarkupContext;
    CQVTButton* m_pBtnVerify;   // owned
    CQVTButton* m_pBtnExpando;  // owned

    CQVTTaskDialogLinkCtrl m_wndContent;
    CQVTTaskDialogLinkCtrl m_wndExpandedInformation;
    CQVTTaskDialogLinkCtrl m_wndFooter;
    CQVTTaskDialogProgressCtrl m_wndProgressBar;
    CEdit m_wndInputBox;

    CArray<CQVTButton*, CQVTButton*> m_arrCommonButtons;   // row buttons, owned
    CArray<CQVTButton*, CQVTButton*> m_arrCommandButtons;  // command links, owned
    CArray<CQVTButton*, CQVTButton*> m_arrRadioButtons;    // owned
    CMap<HWND, HWND, CSize, CSize> m_mapWndSize;           // measured sizes

    int m_nSelRadioButtonID;
    BOOL m_bThemedForced;
    BOOL m_bUseMarkup;
    BOOL m_bInputBox;
    CString m_strInputBoxText;  // written back when the window goes
};
