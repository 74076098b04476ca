// The list controls of a menu as a user meets them when the menu is laid
// out: one item per MDI child (at most nine, numbered, the active one
// checked, from the first child whatever id its client numbers from), per
// recent file (numbered with mnemonics to ten, a pinnable list's captions
// and icons), per available workspace command in its order, a popup of an
// OLE object's verbs; the placeholders in customize mode and the refusal of
// toolbars to take them. Also the framework's recent-file list itself, the
// grid selector and the markup label.
#include <afxwin.h>
#include <afxadv.h>
#include <afxole.h>

#include <string>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlLists.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"
#include "toolkit/tabmanager/manager/QVTTabClientWnd.h"
#include "toolkit/tabmanager/manager/QVTTabClientWorkspace.h"

namespace {

// An MDI frame site whose bars hear its messages.
class CListsMdiFrame : public CMDIFrameWnd
{
public:
    BOOL CreateSite(const CRect& rc)
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
        if (!Create(lpszClass, _T("Lists"), WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, rc, nullptr, nullptr,
                    WS_EX_TOPMOST | WS_EX_NOACTIVATE))
            return FALSE;
        m_pCommandBars = CQVTCommandBars::CreateCommandBars();
        m_pCommandBars->SetSite(this);
        m_pCommandBars->EnableDocking();
        ShowWindow(SW_SHOWNA);
        return TRUE;
    }
    ~CListsMdiFrame() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
        if (m_pCommandBars)
            m_pCommandBars->InternalRelease();
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (m_pCommandBars && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult))
            return TRUE;
        return CMDIFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    void PostNcDestroy() override {}

    CQVTCommandBars* m_pCommandBars = nullptr;
};

std::vector<std::u16string> ListsCaptions(CQVTCommandBar* pBar, int nFrom)
{
    std::vector<std::u16string> captions;
    for (int i = nFrom; i < pBar->GetControlCount(); ++i)
    {
        const CString strCaption = pBar->GetControl(i)->GetCaption();
        captions.emplace_back(strCaption.GetString(), strCaption.GetString() + strCaption.GetLength());
    }
    return captions;
}

std::vector<int> ListsIds(CQVTCommandBar* pBar, int nFrom)
{
    std::vector<int> ids;
    for (int i = nFrom; i < pBar->GetControlCount(); ++i)
        ids.push_back(pBar->GetControl(i)->GetID());
    return ids;
}

}  // namespace

class ListsSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pFrame = new CListsMdiFrame();
        ASSERT_TRUE(s_pFrame->CreateSite(CRect(100, 100, 700, 500)));
    }
    static void TearDownTestSuite()
    {
        delete s_pFrame;
        s_pFrame = nullptr;
    }
    void SetUp() override
    {
        m_pMenu = CQVTPopupBar::CreatePopupBar(Bars());
        // A command above the list: the list is not the menu's first item.
        m_pMenu->GetControls()->AddByType(qvtControlButton, 100);
    }
    void TearDown() override
    {
        Bars()->SetCustomizeMode(FALSE);
        m_pMenu->InternalRelease();
        m_pMenu = nullptr;
    }
    static CQVTCommandBars* Bars() { return s_pFrame->m_pCommandBars; }
    CQVTControl* AddPlaceholder(CQVTControl* pControl, int nId)
    {
        return m_pMenu->GetControls()->Add(pControl, nId);
    }

    static CListsMdiFrame* s_pFrame;
    CQVTPopupBar* m_pMenu = nullptr;
};

CListsMdiFrame* ListsSuite::s_pFrame = nullptr;

namespace {

TEST_F(ListsSuite, TheFormatOfNumberedCaptions)
{
    EXPECT_EQ(std::u16string(u"&1 a&&b"), std::u16string(QVTFormatMenuCaption(1, _T("a&b")).GetString()));
    EXPECT_EQ(std::u16string(u"1&0 ten"), std::u16string(QVTFormatMenuCaption(10, _T("ten")).GetString()));
    EXPECT_EQ(std::u16string(u"11 x"), std::u16string(QVTFormatMenuCaption(11, _T("x")).GetString()));
    EXPECT_EQ(std::u16string(u"plain"), std::u16string(QVTFormatMenuCaption(0, _T("plain")).GetString()));
}

TEST_F(ListsSuite, TwelveChildrenListNineWithTheActiveOneCheckedAndAmpersandsShown)
{
    std::vector<CMDIChildWnd*> children;
    LPCTSTR lpszClass = AfxRegisterWndClass(0);
    for (int i = 0; i < 12; ++i)
    {
        CString strTitle;
        strTitle.Format(i == 1 ? _T("Tom & Jerry %d") : _T("Doc %d"), i + 1);
        CMDIChildWnd* pChild = new CMDIChildWnd();
        ASSERT_TRUE(pChild->Create(lpszClass, strTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                   CRect(0, 0, 100, 80), s_pFrame));
        children.push_back(pChild);
    }
    s_pFrame->MDIActivate(children[2]);
    PumpMessages(20);

    CQVTControl* pList = AddPlaceholder(new CQVTControlWindowList(), QVT_ID_WINDOWLIST);
    // A command of the menu's own below the list, its id in the children's
    // range: the list's items go before it and it outlives every layout.
    const int nOwnId = QVT_ID_MDI_FIRSTCHILD + 20;
    m_pMenu->GetControls()->AddByType(qvtControlButton, nOwnId);
    pList->OnCalcDynamicSize(0);
    EXPECT_FALSE(pList->IsVisible());
    auto captions = ListsCaptions(m_pMenu, 2);
    ASSERT_EQ(10u, captions.size());
    EXPECT_EQ(nOwnId, ListsIds(m_pMenu, 2).back());
    captions.pop_back();
    EXPECT_EQ(std::u16string(u"&1 Doc 1"), captions[0]);
    EXPECT_EQ(std::u16string(u"&2 Tom && Jerry 2"), captions[1]);
    EXPECT_EQ(std::u16string(u"&9 Doc 9"), captions[8]);
    for (int i = 0; i < 9; ++i)
    {
        CQVTControl* pItem = m_pMenu->GetControl(2 + i);
        EXPECT_EQ(i == 2, pItem->GetChecked() == TRUE) << i;
        EXPECT_EQ(static_cast<int>(::GetDlgCtrlID(children[i]->GetSafeHwnd())), pItem->GetID());
        EXPECT_TRUE(pItem->IsTemporary());
    }
    EXPECT_TRUE(m_pMenu->GetControl(2)->GetBeginGroup());

    // Laid out again, the list replaces its items rather than adding more.
    pList->OnCalcDynamicSize(0);
    EXPECT_EQ(12, m_pMenu->GetControlCount());

    // In customize mode the placeholder shows alone, so it can be moved.
    Bars()->SetCustomizeMode(TRUE);
    pList->OnCalcDynamicSize(0);
    EXPECT_TRUE(pList->IsVisible());
    EXPECT_EQ((std::vector<int>{QVT_ID_WINDOWLIST, nOwnId}), ListsIds(m_pMenu, 1));

    for (CMDIChildWnd* pChild : children)
        pChild->DestroyWindow();
    PumpMessages(20);
}

TEST_F(ListsSuite, ChildrenNumberedFromOneOrFrom32768AreListedFromTheFirst)
{
    CQVTControl* pList = AddPlaceholder(new CQVTControlWindowList(), QVT_ID_WINDOWLIST);
    const HWND hFrameClient = s_pFrame->m_hWndMDIClient;
    for (UINT nFirst : {1u, 32768u})
    {
        // A client that numbers its children from nFirst, in the frame's
        // client's place.
        CLIENTCREATESTRUCT ccs = {nullptr, nFirst};
        s_pFrame->m_hWndMDIClient =
            ::CreateWindowExW(0, u"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300,
                              200, s_pFrame->GetSafeHwnd(), nullptr, AfxGetInstanceHandle(), &ccs);
        ASSERT_NE(nullptr, s_pFrame->m_hWndMDIClient);
        std::vector<CMDIChildWnd*> children;
        for (LPCTSTR lpszTitle : {_T("A"), _T("B"), _T("C")})
        {
            children.push_back(new CMDIChildWnd());
            ASSERT_TRUE(children.back()->Create(AfxRegisterWndClass(0), lpszTitle,
                                                WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                                CRect(0, 0, 100, 80), s_pFrame));
        }
        // With the first child or the last one active.
        for (int nActive : {0, 2})
        {
            s_pFrame->MDIActivate(children[nActive]);
            pList->OnCalcDynamicSize(0);
            SCOPED_TRACE(testing::Message() << nFirst << ", active " << nActive);
            EXPECT_EQ((std::vector<int>{static_cast<int>(nFirst), static_cast<int>(nFirst) + 1,
                                        static_cast<int>(nFirst) + 2}),
                      ListsIds(m_pMenu, 2));
            EXPECT_EQ((std::vector<std::u16string>{u"&1 A", u"&2 B", u"&3 C"}), ListsCaptions(m_pMenu, 2));
            std::vector<int> checked;
            for (int i = 2; i < m_pMenu->GetControlCount(); ++i)
                if (m_pMenu->GetControl(i)->GetChecked())
                    checked.push_back(i - 2);
            EXPECT_EQ(std::vector<int>{nActive}, checked);
        }
        // The children go before their client, which frees its list first.
        for (CMDIChildWnd* pChild : children)
            pChild->DestroyWindow();
        ::DestroyWindow(s_pFrame->m_hWndMDIClient);
        s_pFrame->m_hWndMDIClient = hFrameClient;
    }
}

TEST_F(ListsSuite, AListIsRefusedByAToolbarAndTakenByAMenu)
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(_T("Tools"), qvtBarTop));
    ASSERT_NE(nullptr, pToolBar);
    const UINT nId = 101;
    pToolBar->SetButtons(&nId, 1);
    Bars()->RecalcFrameLayout();
    PumpMessages(20);
    CQVTControl* pList = AddPlaceholder(new CQVTControlWindowList(), QVT_ID_WINDOWLIST);
    Bars()->SetCustomizeMode(TRUE);
    ASSERT_TRUE(pToolBar->IsWindowVisible());
    EXPECT_EQ(static_cast<DWORD>(qvtDropEffectNone),
              pToolBar->OnCustomizeDragOver(pList, pToolBar->GetControl(0)->GetRect().CenterPoint()));
    DWORD dwEffect = qvtDropEffectMove;
    EXPECT_TRUE(pList->IsCustomizeDragOverAvail(m_pMenu, CPoint(5, 5), dwEffect));
    EXPECT_EQ(static_cast<DWORD>(qvtDropEffectMove), dwEffect);
    Bars()->SetCustomizeMode(FALSE);
    Bars()->Remove(pToolBar);
}

// The recent-file list control reads the test's list.
CRecentFileList* s_pListsRecentFiles = nullptr;
class CTestRecentFileList : public CQVTControlRecentFileList
{
public:
    CRecentFileList* GetRecentFileList() override { return s_pListsRecentFiles; }
};

TEST_F(ListsSuite, RecentFilesAreNumberedToTenAndThePlaceholderStandsInForNone)
{
    TCHAR szCurDir[MAX_PATH] = {};
    ::GetCurrentDirectory(MAX_PATH, szCurDir);
    CRecentFileList list(QVT_ID_FILE_MRU_FIRST, _T("Recent"), _T("File%d"), 12);
    s_pListsRecentFiles = &list;
    CQVTControl* pList = AddPlaceholder(new CTestRecentFileList(), QVT_ID_FILE_MRU_FIRST);

    // No files: the placeholder shows, disabled; customizing enables it.
    pList->OnCalcDynamicSize(0);
    EXPECT_TRUE(pList->IsVisible());
    EXPECT_FALSE(pList->GetEnabled());
    Bars()->SetCustomizeMode(TRUE);
    pList->OnCalcDynamicSize(0);
    EXPECT_TRUE(pList->IsVisible());
    EXPECT_TRUE(pList->GetEnabled());
    Bars()->SetCustomizeMode(FALSE);

    // Added last to first: file 1 ends on top. A file in the current folder
    // shows by its name alone.
    for (int i = 11; i >= 1; --i)
    {
        CString strPath;
        if (i == 1)
            strPath.Format(_T("%s\\first.wav"), szCurDir);
        else
            strPath.Format(_T("C:\\rec\\f%d.wav"), i);
        list.Add(strPath);
    }
    list.Add(_T(""));  // refused
    pList->OnCalcDynamicSize(0);
    EXPECT_FALSE(pList->IsVisible());
    const auto captions = ListsCaptions(m_pMenu, 2);
    ASSERT_EQ(11u, captions.size());
    EXPECT_EQ(std::u16string(u"&1 first.wav"), captions[0]);
    EXPECT_EQ(std::u16string(u"&2 C:\\rec\\f2.wav"), captions[1]);
    EXPECT_EQ(std::u16string(u"&9 C:\\rec\\f9.wav"), captions[8]);
    EXPECT_EQ(std::u16string(u"1&0 C:\\rec\\f10.wav"), captions[9]);
    EXPECT_EQ(std::u16string(u"11 C:\\rec\\f11.wav"), captions[10]);
    EXPECT_EQ(QVT_ID_FILE_MRU_FIRST + 10, m_pMenu->GetControl(12)->GetID());
    EXPECT_EQ(CString(_T("C:\\rec\\f11.wav")), m_pMenu->GetControl(12)->GetParameter());
    // The list is not the menu's first item: its first entry begins a group.
    EXPECT_TRUE(m_pMenu->GetControl(2)->GetBeginGroup());
    s_pListsRecentFiles = nullptr;
}

TEST_F(ListsSuite, APinnableListGivesItsCaptionsAndIconsAndMayBeShorter)
{
    CQVTPinableRecentFileList list(QVT_ID_FILE_MRU_FIRST, _T("Recent"), _T("File%d"), 4);
    list.Add(_T("C:\\rec\\c.wav"));
    list.Add(_T("C:\\rec\\b.wav"));
    list.Add(_T("C:\\rec\\a.wav"));
    // Items for the first two entries only.
    list.AddItem(_T("Alpha"), 7);
    list.AddItem(_T(""), 8);
    s_pListsRecentFiles = &list;
    CQVTControl* pList = AddPlaceholder(new CTestRecentFileList(), QVT_ID_FILE_MRU_FIRST);
    pList->OnCalcDynamicSize(0);
    const auto captions = ListsCaptions(m_pMenu, 2);
    ASSERT_EQ(3u, captions.size());
    EXPECT_EQ(std::u16string(u"&1 Alpha"), captions[0]);
    EXPECT_EQ(std::u16string(u"&2 C:\\rec\\b.wav"), captions[1]);
    EXPECT_EQ(std::u16string(u"&3 C:\\rec\\c.wav"), captions[2]);
    EXPECT_EQ(7, m_pMenu->GetControl(2)->GetIconId());
    EXPECT_EQ(8, m_pMenu->GetControl(3)->GetIconId());
    EXPECT_EQ(nullptr, list.GetItem(2));
    EXPECT_EQ(nullptr, list.GetItem(-1));
    s_pListsRecentFiles = nullptr;
}

TEST(RecentFileList, PinsMoveWithTheirFilesAndRoundTripThroughTheProfile)
{
    CWinApp& app = KeptTestApp(_T("ListsTest"), _T("SondrelListsTest"));
    CQVTPinableRecentFileList list(QVT_ID_FILE_MRU_FIRST, _T("Pinned Files"), _T("File%d"), 3);
    list.Add(_T("C:\\c.wav"));
    list.Add(_T("C:\\b.wav"));
    list.Add(_T("C:\\a.wav"));
    list.AddItem(_T("Alpha"), 1)->m_bPinned = FALSE;
    list.AddItem(_T("Beta"), 2)->m_bPinned = TRUE;
    auto captionOf = [&](int i) {
        return list.GetItem(i) ? list.GetItem(i)->m_strCaption : CString(_T("-"));
    };

    // b.wav goes to the top and takes its pinned item along.
    list.Add(_T("c:\\B.WAV"));
    EXPECT_EQ(CString(_T("Beta")), captionOf(0));
    EXPECT_TRUE(list.GetItem(0)->m_bPinned);
    EXPECT_EQ(CString(_T("Alpha")), captionOf(1));
    // A new file pushes both down with an empty item of its own; the last
    // entry, and any item past the list, drops out.
    list.Add(_T("C:\\d.wav"));
    ASSERT_EQ(3, list.GetItemCount());
    EXPECT_EQ(CString(), captionOf(0));
    EXPECT_EQ(CString(_T("Beta")), captionOf(1));
    EXPECT_EQ(CString(_T("Alpha")), captionOf(2));
    EXPECT_EQ(CString(_T("C:\\a.wav")), list[2]);
    // Refused paths move nothing.
    list.Add(_T(""));
    list.Add(CString(_T('x'), AFX_MRU_MAX_PATH + 1));
    EXPECT_EQ(CString(_T("Beta")), captionOf(1));

    list.WriteList();
    CQVTPinableRecentFileList read(QVT_ID_FILE_MRU_FIRST, _T("Pinned Files"), _T("File%d"), 3);
    read.ReadList();
    EXPECT_EQ(list[1], read[1]);
    ASSERT_NE(nullptr, read.GetItem(1));
    EXPECT_TRUE(read.GetItem(1)->m_bPinned);
    EXPECT_FALSE(read.GetItem(0)->m_bPinned);
    EXPECT_EQ(nullptr, read.GetItem(2));  // no pin, no item needed

    // Removing the pinned file drops its item and its pin; the rest move up.
    list.Remove(1);
    EXPECT_EQ(CString(_T("Alpha")), captionOf(1));
    list.WriteList();
    CQVTPinableRecentFileList again(QVT_ID_FILE_MRU_FIRST, _T("Pinned Files"), _T("File%d"), 3);
    again.ReadList();
    for (int i = 0; i < again.GetItemCount(); ++i)
        EXPECT_FALSE(again.GetItem(i)->m_bPinned) << i;
    (void)app;
}

TEST(RecentFileList, AddsToTheTopOnceRefusesBadPathsAndRoundTripsThroughTheProfile)
{
    CWinApp& app = KeptTestApp(_T("ListsTest"), _T("SondrelListsTest"));
    CRecentFileList list(QVT_ID_FILE_MRU_FIRST, _T("Recent File List"), _T("File%d"), 3);
    list.Add(_T("C:\\a.wav"));
    list.Add(_T("C:\\b.wav"));
    list.Add(_T("c:\\A.WAV"));  // the same file: it moves up
    EXPECT_EQ(CString(_T("c:\\A.WAV")), list[0]);
    EXPECT_EQ(CString(_T("C:\\b.wav")), list[1]);
    EXPECT_TRUE(list[2].IsEmpty());
    CString strHuge(_T('x'), AFX_MRU_MAX_PATH + 1);
    list.Add(strHuge);
    EXPECT_EQ(CString(_T("c:\\A.WAV")), list[0]);
    EXPECT_TRUE(list[7].IsEmpty());  // outside the list: empty, no fault

    CString strName;
    EXPECT_FALSE(list.GetDisplayName(strName, 2, nullptr, 0));
    list.Add(_T("C:\\a rather long folder name\\and another one\\take.wav"));
    ASSERT_TRUE(list.GetDisplayName(strName, 0, nullptr, 0));
    EXPECT_LE(strName.GetLength(), AFX_ABBREV_FILENAME_LEN);
    EXPECT_EQ(strName.Right(8), CString(_T("take.wav")));

    list.WriteList();
    CRecentFileList read(QVT_ID_FILE_MRU_FIRST, _T("Recent File List"), _T("File%d"), 3);
    read.ReadList();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list[i], read[i]) << i;
    list.Remove(0);
    list.Remove(0);
    list.Remove(0);
    list.WriteList();
    read.ReadList();
    EXPECT_TRUE(read[0].IsEmpty());

    TCHAR szTitle[MAX_PATH];
    EXPECT_EQ(0u, AfxGetFileTitle(_T("C:\\rec\\take.wav"), szTitle, MAX_PATH));
    EXPECT_EQ(CString(_T("take.wav")), CString(szTitle));
    EXPECT_EQ(9u, AfxGetFileTitle(_T("C:\\rec\\take.wav"), szTitle, 4));
    (void)app;
}

TEST_F(ListsSuite, WorkspaceActionsFollowTheTabClientInTheirOrder)
{
    CMDIChildWnd* pChild = new CMDIChildWnd();
    ASSERT_TRUE(pChild->Create(AfxRegisterWndClass(0), _T("Doc"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CRect(0, 0, 100, 80), s_pFrame));
    s_pFrame->MDIActivate(pChild);
    CQVTTabClientWnd client;
    ASSERT_TRUE(client.Attach(s_pFrame));
    CTabTestHost first, second, third;
    first.AddItems({_T("a")});
    second.AddItems({_T("b"), _T("c")});
    third.AddItems({_T("d")});
    second.GetItem(0)->SetHandle(pChild->GetSafeHwnd());
    CQVTTabClientWorkspace workspace;
    client.SetWorkspace(&workspace);

    CQVTControl* pList = AddPlaceholder(new CQVTControlWorkspaceActions(), QVT_ID_WORKSPACE_ACTIONS);
    // One group: new groups either way and detach.
    workspace.m_arrGroups = {&second};
    pList->OnCalcDynamicSize(0);
    EXPECT_EQ((std::vector<int>{9157, 9158, 9248}), ListsIds(m_pMenu, 2));
    // The middle of three stacked groups: every command but a vertical group.
    workspace.m_arrGroups = {&first, &second, &third};
    pList->OnCalcDynamicSize(0);
    EXPECT_EQ((std::vector<int>{9157, 9155, 9156, 9248}), ListsIds(m_pMenu, 2));
    // Without a workspace nothing is available.
    client.SetWorkspace(nullptr);
    pList->OnCalcDynamicSize(0);
    EXPECT_EQ(std::vector<int>{}, ListsIds(m_pMenu, 2));
    EXPECT_FALSE(client.IsWorkspaceCommandEnabled(9157));

    // The bars refresh the tab client when they redraw for a new theme.
    const int nRefreshes = client.GetRefreshCount();
    Bars()->RedrawCommandBars();
    EXPECT_EQ(nRefreshes + 1, client.GetRefreshCount());
    client.Detach();
    pChild->DestroyWindow();
    PumpMessages(20);
}

// An OLE object with the verbs a test gives it; it answers nothing else.
class CListsVerbs : public IEnumOLEVERB
{
public:
    explicit CListsVerbs(int nVerbs) : m_nVerbs(nVerbs) {}
    virtual ~CListsVerbs() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IEnumOLEVERB)
        {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG n = --m_nRefs;
        if (n == 0)
            delete this;
        return n;
    }
    STDMETHODIMP Next(ULONG celt, OLEVERB* rgelt, ULONG* pceltFetched) override
    {
        static const OLECHAR* kNames[] = {u"&Play", u"&Edit"};
        ULONG nFetched = 0;
        while (nFetched < celt && m_nNext < m_nVerbs)
        {
            OLEVERB& verb = rgelt[nFetched++];
            const OLECHAR* pName = kNames[m_nNext % 2];
            const size_t nBytes = (std::char_traits<char16_t>::length(pName) + 1) * sizeof(OLECHAR);
            verb.lpszVerbName = static_cast<LPOLESTR>(::CoTaskMemAlloc(nBytes));
            memcpy(verb.lpszVerbName, pName, nBytes);
            verb.lVerb = m_nNext;
            verb.fuFlags = MF_STRING;
            verb.grfAttribs = OLEVERBATTRIB_ONCONTAINERMENU;
            ++m_nNext;
        }
        if (pceltFetched)
            *pceltFetched = nFetched;
        return nFetched == celt ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG celt) override
    {
        m_nNext += static_cast<int>(celt);
        return S_OK;
    }
    STDMETHODIMP Reset() override
    {
        m_nNext = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumOLEVERB** ppenum) override
    {
        *ppenum = new CListsVerbs(m_nVerbs);
        return S_OK;
    }

private:
    ULONG m_nRefs = 1;
    int m_nVerbs;
    int m_nNext = 0;
};

class CListsOleObject : public IOleObject
{
public:
    explicit CListsOleObject(int nVerbs) : m_nVerbs(nVerbs) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IOleObject)
        {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_nRefs; }
    STDMETHODIMP SetClientSite(IOleClientSite*) override { return E_NOTIMPL; }
    STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP Close(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return E_NOTIMPL; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** ppEnum) override
    {
        *ppEnum = new CListsVerbs(m_nVerbs);
        return S_OK;
    }
    STDMETHODIMP Update() override { return E_NOTIMPL; }
    STDMETHODIMP IsUpToDate() override { return E_NOTIMPL; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR* ppsz) override
    {
        static const OLECHAR kType[] = u"Clip";
        *ppsz = static_cast<LPOLESTR>(::CoTaskMemAlloc(sizeof(kType)));
        memcpy(*ppsz, kType, sizeof(kType));
        return S_OK;
    }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

private:
    ULONG m_nRefs = 1;
    int m_nVerbs;
};

IOleObject* s_pListsOleObject = nullptr;
class CTestOleItems : public CQVTControlOleItems
{
public:
    IOleObject* GetSelectedOleObject() const override { return s_pListsOleObject; }
};

TEST_F(ListsSuite, AnOleObjectsVerbsComeAsAPopupOnlyWhenThereAreSeveral)
{
    ComScope com;
    CListsOleObject twoVerbs(2);
    s_pListsOleObject = &twoVerbs;
    CQVTControl* pItems = AddPlaceholder(new CTestOleItems(), QVT_ID_OLE_VERB_FIRST);
    pItems->SetCaption(_T("<<OLE VERBS GO HERE>>"));
    pItems->OnCalcDynamicSize(0);
    EXPECT_FALSE(pItems->IsVisible());
    ASSERT_EQ(3, m_pMenu->GetControlCount());
    CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, m_pMenu->GetControl(2));
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(CString(_T("OLEMENUPOPUP")), pPopup->GetParameter());
    ASSERT_NE(nullptr, pPopup->GetCommandBar());
    EXPECT_EQ((std::vector<int>{QVT_ID_OLE_VERB_FIRST, QVT_ID_OLE_VERB_FIRST + 1}),
              ListsIds(pPopup->GetCommandBar(), 0));
    EXPECT_EQ(std::u16string(u"&Play"), ListsCaptions(pPopup->GetCommandBar(), 0)[0]);

    // One verb: nothing is put in; laid out again, the old popup goes.
    CListsOleObject oneVerb(1);
    s_pListsOleObject = &oneVerb;
    pItems->OnCalcDynamicSize(0);
    EXPECT_EQ(2, m_pMenu->GetControlCount());
    // No object: the menu keeps only its placeholder, hidden.
    s_pListsOleObject = nullptr;
    pItems->OnCalcDynamicSize(0);
    EXPECT_EQ(2, m_pMenu->GetControlCount());
    EXPECT_FALSE(pItems->IsVisible());
}

}  // namespace
