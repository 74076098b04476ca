// The hyperlink static in a dialog as a user meets it: real clicks on and
// beside the text of left, centred and right statics, Enter, Space and a
// held key, what the parent is told, the colours on the screen, the cursor,
// the tip following the address, and launches that fail or reach the link
// handler.
#include "sondrel_gtest.h"

#include "modal_script.h"
#include "real_input.h"
#include "tests/common/common_test_support.h"
#include "tests/common/screen_test_support.h"
#include "tests/support/url_catcher.h"
#include "toolkit/controls/hyperlink/QVTHyperLink.h"

using modaltest::ModalScript;

namespace {

const UINT kLinkIds[] = {100, 101, 102, 103};
const UINT kCreatedId = 104;

class CTestLink : public CQVTHyperLink
{
public:
    BOOL IsHovering() const { return m_bHover; }
    CString TipText()
    {
        CString text;
        if (m_wndToolTip.m_hWnd != nullptr)
            m_wndToolTip.GetText(text, this);
        return text;
    }
};

class CLinkDialog : public CDialog
{
public:
    CLinkDialog() : CDialog(200) {}

    CTestLink m_links[4];
    CTestLink m_created;         // made by Create, not from the template
    std::vector<UINT> m_clicks;  // ids the dialog's command handler received
    BOOL m_bLaunch = FALSE;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        for (CTestLink& link : m_links)
            link.m_bLaunchOnClick = m_bLaunch ? 1 : 0;
        CRect rc;
        m_links[0].GetWindowRect(&rc);
        ScreenToClient(&rc);
        rc.OffsetRect(0, 120);
        m_created.Create(_T("https://www.quorvane.example/from-caption"), SS_LEFT | WS_CHILD | WS_VISIBLE, rc,
                         this, kCreatedId);
        m_created.m_bLaunchOnClick = m_bLaunch ? 1 : 0;
        SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        for (int i = 0; i < 4; ++i)
            DDX_Control(pDX, kLinkIds[i], m_links[i]);
    }
    afx_msg void OnLinkClicked(UINT nID) { m_clicks.push_back(nID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLinkDialog, CDialog)
    ON_CONTROL_RANGE(STN_CLICKED, 100, 104, &CLinkDialog::OnLinkClicked)
END_MESSAGE_MAP()

// A point of a link on the screen: inset from its left or right edge, or
// its centre, at half its height.
enum class Spot
{
    left,
    centre,
    right
};
POINT PointOf(CWnd& wnd, Spot spot)
{
    CRect rc;
    wnd.GetWindowRect(&rc);
    const int y = rc.top + rc.Height() / 2;
    switch (spot)
    {
    case Spot::left:
        return {rc.left + 3, y};
    case Spot::right:
        return {rc.right - 4, y};
    default:
        return {rc.left + rc.Width() / 2, y};
    }
}

void QueueClickAt(POINT pt)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void QueueKey(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
}

HWND FindMessageBox(HWND hExcept)
{
    struct Search
    {
        HWND hExcept;
        HWND hFound = nullptr;
        static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam)
        {
            auto* pSearch = reinterpret_cast<Search*>(lParam);
            WCHAR szClass[16] = {};
            ::GetClassNameW(hWnd, szClass, 16);
            if (hWnd != pSearch->hExcept && ::IsWindowVisible(hWnd) && CString(szClass) == _T("#32770"))
            {
                pSearch->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        }
    } search{hExcept};
    ::EnumThreadWindows(::GetCurrentThreadId(), &Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

CString TextOf(HWND hWnd)
{
    CString text;
    const int n = ::GetWindowTextLengthW(hWnd);
    ::GetWindowTextW(hWnd, text.GetBuffer(n + 1), n + 1);
    text.ReleaseBuffer();
    return text;
}

// The text of a message box's message: its longest static.
CString MessageOf(HWND hBox)
{
    CString longest;
    for (HWND hChild = ::GetWindow(hBox, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        CString text = TextOf(hChild);
        if (text.GetLength() > longest.GetLength())
            longest = text;
    }
    return longest;
}

}  // namespace

TEST(HyperLink, TheParentHearsOfClicksOnTheTextAndOfEnterAndSpaceOncePerPress)
{
    CLinkDialog dlg;
    BOOL bVisitedBeforeKeys[4] = {};
    int nIconStyle = 0;
    ModalScript script({[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
                        [&] {
                            // On the text, then beside it: the left static.
                            ::SetForegroundWindow(dlg.m_hWnd);
                            QueueClickAt(PointOf(dlg.m_links[0], Spot::left));
                            return true;
                        },
                        [&] {
                            QueueClickAt(PointOf(dlg.m_links[0], Spot::right));
                            return true;
                        },
                        [&] {
                            // The centred static's hot area is centred on the text.
                            QueueClickAt(PointOf(dlg.m_links[1], Spot::left));
                            return true;
                        },
                        [&] {
                            QueueClickAt(PointOf(dlg.m_links[1], Spot::centre));
                            return true;
                        },
                        [&] {
                            QueueClickAt(PointOf(dlg.m_links[2], Spot::left));
                            return true;
                        },
                        [&] {
                            QueueClickAt(PointOf(dlg.m_links[2], Spot::right));
                            return true;
                        },
                        [&] {
                            // An icon static stays a plain static.
                            QueueClickAt(PointOf(dlg.m_links[3], Spot::centre));
                            return true;
                        },
                        [&] {
                            for (int i = 0; i < 4; ++i)
                                bVisitedBeforeKeys[i] = dlg.m_links[i].IsVisited();
                            nIconStyle = dlg.m_links[3].GetStyle() & SS_TYPEMASK;
                            dlg.m_links[0].SetFocus();
                            QueueKey(VK_RETURN);
                            return true;
                        },
                        [&] {
                            QueueKey(VK_SPACE);
                            return true;
                        },
                        [&] {
                            // Held down: the key repeats, the link opens once.
                            for (int i = 0; i < 4; ++i)
                                SendKey(VK_RETURN, false);
                            SendKey(VK_RETURN, true);
                            return true;
                        },
                        [&] {
                            dlg.EndDialog(IDOK);
                            return true;
                        }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(nIconStyle, SS_ICON);
    EXPECT_EQ(dlg.m_clicks, (std::vector<UINT>{100, 101, 102, 100, 100, 100}));
    EXPECT_TRUE(bVisitedBeforeKeys[0]);
    EXPECT_TRUE(bVisitedBeforeKeys[1]);
    EXPECT_TRUE(bVisitedBeforeKeys[2]);
    EXPECT_FALSE(bVisitedBeforeKeys[3]);
}

TEST(HyperLink, ColoursAndCursorFollowThePointerOverTheText)
{
    CLinkDialog dlg;
    const COLORREF crLink = RGB(0, 0, 255), crHover = RGB(255, 0, 0), crVisited = RGB(128, 0, 128);
    struct Sample
    {
        int nLink = 0, nHover = 0, nVisited = 0;
    };
    Sample over, beside, visited, focused;
    const COLORREF crOwnBack = RGB(20, 180, 40);
    int nOwnBackPixels = 0, nOwnBackText = 0, nArea = 0;
    COLORREF crDefaultBack = 0;
    BOOL bHandOver = FALSE, bHandBeside = TRUE;
    auto sample = [&](Sample& s) {
        CTestLink& link = dlg.m_links[0];
        auto canvas = screentest::Capture(link.m_hWnd);
        CRect rc(0, 0, canvas->Width(), canvas->Height());
        s.nLink = screentest::CountIn(*canvas, rc, crLink);
        s.nHover = screentest::CountIn(*canvas, rc, crHover);
        s.nVisited = screentest::CountIn(*canvas, rc, crVisited);
    };
    auto cursorIsHand = [&] {
        CURSORINFO info = {sizeof(info)};
        ::GetCursorInfo(&info);
        return info.hCursor == dlg.m_links[0].GetLinkCursor();
    };
    ModalScript script(
        {[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
         [&] {
             ::SetForegroundWindow(dlg.m_hWnd);
             SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, PointOf(dlg.m_links[0], Spot::left));
             return true;
         },
         [&] {
             if (!dlg.m_links[0].IsHovering())
                 return false;
             sample(over);
             bHandOver = cursorIsHand();
             // Beside the text: no leave notice comes, the polling notices.
             SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, PointOf(dlg.m_links[0], Spot::right));
             return true;
         },
         [&] {
             if (dlg.m_links[0].IsHovering())
                 return false;
             sample(beside);
             bHandBeside = cursorIsHand();
             dlg.m_links[0].SetVisited(TRUE);
             sample(visited);
             dlg.m_links[0].SetFocus();
             sample(focused);

             // An own background fills the control behind the static's text.
             crDefaultBack = dlg.m_links[2].GetBackColor();
             dlg.m_links[2].SetBackColor(crOwnBack);
             auto canvas = screentest::Capture(dlg.m_links[2].m_hWnd);
             CRect rc(0, 0, canvas->Width(), canvas->Height());
             nArea = rc.Width() * rc.Height();
             nOwnBackPixels = screentest::CountIn(*canvas, rc, crOwnBack);
             nOwnBackText = screentest::CountIn(*canvas, rc, crLink);
             dlg.EndDialog(IDOK);
             return true;
         }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(script.Stalled());
    EXPECT_GT(over.nHover, 0);
    EXPECT_EQ(over.nLink, 0);
    EXPECT_TRUE(bHandOver);
    EXPECT_GT(beside.nLink, 0);
    EXPECT_EQ(beside.nHover, 0);
    EXPECT_FALSE(bHandBeside);
    EXPECT_GT(visited.nVisited, 0);
    EXPECT_EQ(visited.nLink, 0);
    // The focused link takes the hover colour.
    EXPECT_GT(focused.nHover, 0);
    EXPECT_EQ(focused.nVisited, 0);
    EXPECT_EQ(crDefaultBack, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(nOwnBackPixels, nArea / 2);
    EXPECT_GT(nOwnBackText, 0);
}

TEST(HyperLink, AFailedLaunchShowsItsTextAndLeavesTheLinkUnvisited)
{
    CLinkDialog dlg;
    dlg.m_bLaunch = TRUE;
    CString strMissingFile, strNoHandler;
    BOOL bVisitedAfterFailures = TRUE;
    HWND hBox = nullptr;
    auto answer = [&](CString& strText) {
        hBox = FindMessageBox(dlg.m_hWnd);
        if (hBox == nullptr)
            return false;
        strText = MessageOf(hBox);
        ::SetForegroundWindow(hBox);
        QueueKey(VK_RETURN);
        return true;
    };
    ModalScript script({[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
                        [&] {
                            dlg.m_links[0].SetURL(_T("C:\\no such folder\\no such file.txt"));
                            ::SetForegroundWindow(dlg.m_hWnd);
                            QueueClickAt(PointOf(dlg.m_links[0], Spot::left));
                            return true;
                        },
                        [&] { return answer(strMissingFile); }, [&] { return !::IsWindow(hBox); },
                        [&] {
                            dlg.m_links[0].SetURL(_T("nosuchscheme:anything"));
                            ::SetForegroundWindow(dlg.m_hWnd);
                            QueueClickAt(PointOf(dlg.m_links[0], Spot::left));
                            return true;
                        },
                        [&] { return answer(strNoHandler); }, [&] { return !::IsWindow(hBox); },
                        [&] {
                            bVisitedAfterFailures = dlg.m_links[0].IsVisited();
                            dlg.EndDialog(IDOK);
                            return true;
                        }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(strMissingFile, CString(_T("The specified file was not found.")));
    EXPECT_EQ(strNoHandler,
              CString(_T("There is no application associated with the given file name extension.")));
    EXPECT_FALSE(bVisitedAfterFailures);

    EXPECT_EQ(CQVTHyperLink::GetErrorText(9999), CString(_T("An unknown error number 9999 occured.")));
    // A translated text is no format: it gets its one number, nothing else.
    EXPECT_EQ(CQVTHyperLink::InsertErrorNumber(_T("%s error %d, %d %x %n 100%%"), 42),
              CString(_T("%s error 42, %d %x %n 100%")));
    EXPECT_EQ(CQVTHyperLink::InsertErrorNumber(_T("no number"), 42), CString(_T("no number")));
}

TEST(HyperLink, ClicksOpenTheAddressOrTheCaptionAndTheTipFollowsTheAddress)
{
    std::u16string log = urlcatcher::RegisterUrlCatcher(u"C:\\hyperlink_urls.log");
    CLinkDialog dlg;
    dlg.m_bLaunch = TRUE;
    CString strTipFromCaption, strTipFromAddress;
    BOOL bVisited = FALSE;
    ModalScript script({[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
                        [&] {
                            // Never given an address: the caption is one.
                            strTipFromCaption = dlg.m_created.TipText();
                            ::SetForegroundWindow(dlg.m_hWnd);
                            QueueClickAt(PointOf(dlg.m_created, Spot::left));
                            return true;
                        },
                        [&] { return !urlcatcher::CaughtUrls(log).empty(); },
                        [&] {
                            bVisited = dlg.m_created.IsVisited();
                            dlg.m_links[0].SetURL(_T("https://www.quorvane.example/second"));
                            strTipFromAddress = dlg.m_links[0].TipText();
                            QueueClickAt(PointOf(dlg.m_links[0], Spot::left));
                            return true;
                        },
                        [&] { return urlcatcher::CaughtUrls(log).size() >= 2; },
                        [&] {
                            dlg.EndDialog(IDOK);
                            return true;
                        }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(urlcatcher::CaughtUrls(log),
              (std::vector<std::string>{"https://www.quorvane.example/from-caption",
                                        "https://www.quorvane.example/second"}));
    EXPECT_TRUE(bVisited);
    EXPECT_EQ(strTipFromCaption, CString(_T("https://www.quorvane.example/from-caption")));
    EXPECT_EQ(strTipFromAddress, CString(_T("https://www.quorvane.example/second")));
}
