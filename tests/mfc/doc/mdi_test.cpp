// MDI frames with document templates: each template's documents open in
// children of the frame's MDI client, the active child's template menu is
// the frame's menu, commands go through the active view and its document,
// and a document goes with its last view.
#include <afxwin.h>

#include "mdi_ids.h"
#include "sondrel_gtest.h"
#include "test_app.h"

class CTestDocument : public CDocument
{
    DECLARE_DYNCREATE(CTestDocument)
public:
    CTestDocument() { ++s_nLiving; }
    virtual ~CTestDocument() { --s_nLiving; }
    int m_nLines = 0;
    static int s_nLiving;

protected:
    afx_msg void OnDrawLine() { ++m_nLines; }
    DECLARE_MESSAGE_MAP()
};

int CTestDocument::s_nLiving = 0;
IMPLEMENT_DYNCREATE(CTestDocument, CDocument)
BEGIN_MESSAGE_MAP(CTestDocument, CDocument)
    ON_COMMAND(ID_DRAW_LINE, &CTestDocument::OnDrawLine)
END_MESSAGE_MAP()

class CTestView : public CView
{
    DECLARE_DYNCREATE(CTestView)
public:
    int m_nInitialUpdates = 0;
    int m_nBold = 0;
    virtual void OnDraw(CDC*) override {}
    virtual void OnInitialUpdate() override
    {
        ++m_nInitialUpdates;
        CView::OnInitialUpdate();
    }

protected:
    afx_msg void OnBold() { ++m_nBold; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_TEXT_BOLD, &CTestView::OnBold)
END_MESSAGE_MAP()

namespace {

CWinApp* TestApp()
{
    return &KeptTestApp(_T("MdiTest"));
}

void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

}  // namespace

class MdiFrames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pApp = TestApp();
        m_pFrame = new CMDIFrameWnd();
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_MDI_MAIN));
        m_pApp->m_pMainWnd = m_pFrame;
        m_pDrawing = new CMultiDocTemplate(IDR_DRAWING, RUNTIME_CLASS(CTestDocument),
                                           RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CTestView));
        m_pText = new CMultiDocTemplate(IDR_TEXT, RUNTIME_CLASS(CTestDocument), RUNTIME_CLASS(CMDIChildWnd),
                                        RUNTIME_CLASS(CTestView));
    }

    void TearDown() override
    {
        if (m_pFrame && m_pFrame->GetSafeHwnd())
            m_pFrame->DestroyWindow();  // the frame deletes itself
        m_pApp->m_pMainWnd = nullptr;
        Pump();
        delete m_pDrawing;
        delete m_pText;
        EXPECT_EQ(0, CTestDocument::s_nLiving);
    }

    CTestView* ViewOf(CDocument* pDoc)
    {
        POSITION pos = pDoc->GetFirstViewPosition();
        return pos ? static_cast<CTestView*>(pDoc->GetNextView(pos)) : nullptr;
    }

    CWinApp* m_pApp = nullptr;
    CMDIFrameWnd* m_pFrame = nullptr;
    CMultiDocTemplate* m_pDrawing = nullptr;
    CMultiDocTemplate* m_pText = nullptr;
};

namespace {

TEST_F(MdiFrames, DocumentStringsArePartsOfTheTemplateString)
{
    CString str;
    EXPECT_TRUE(m_pDrawing->GetDocString(str, CDocTemplate::docName));
    EXPECT_EQ(CString(_T("Drawing")), str);
    EXPECT_TRUE(m_pDrawing->GetDocString(str, CDocTemplate::filterExt));
    EXPECT_EQ(CString(_T(".drw")), str);
    EXPECT_TRUE(m_pDrawing->GetDocString(str, CDocTemplate::regFileTypeName));
    EXPECT_EQ(CString(_T("Drawing Document")), str);
    EXPECT_TRUE(m_pDrawing->GetDocString(str, CDocTemplate::windowTitle));
    EXPECT_TRUE(str.IsEmpty());
    // A short string has no later parts.
    EXPECT_FALSE(m_pText->GetDocString(str, CDocTemplate::fileNewName));
    EXPECT_TRUE(str.IsEmpty());
    EXPECT_TRUE(m_pText->GetDocString(str, CDocTemplate::docName));
    EXPECT_EQ(CString(_T("Note")), str);
    EXPECT_NE(nullptr, m_pDrawing->m_hMenuShared);
    EXPECT_EQ(nullptr, m_pDrawing->m_hAccelTable);
    EXPECT_NE(nullptr, m_pText->m_hAccelTable);
}

TEST_F(MdiFrames, OpeningADocumentMakesAnActiveChildWithItsView)
{
    ASSERT_NE(nullptr, m_pFrame->m_hWndMDIClient);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(m_pFrame->m_hWndMDIClient));
    HMENU hDefault = ::GetMenu(m_pFrame->GetSafeHwnd());
    EXPECT_EQ(hDefault, m_pFrame->m_hMenuDefault);
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());
    EXPECT_EQ(nullptr, m_pFrame->GetActiveDocument());
    EXPECT_EQ(m_pFrame, m_pFrame->GetActiveFrame());

    CDocument* pDoc = m_pDrawing->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    Pump();
    EXPECT_EQ(m_pDrawing, pDoc->GetDocTemplate());
    EXPECT_EQ(CString(_T("Drawing1")), pDoc->GetTitle());
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_NE(nullptr, pChild);
    EXPECT_EQ(m_pFrame->m_hWndMDIClient, ::GetParent(pChild->GetSafeHwnd()));
    EXPECT_EQ(m_pFrame, pChild->GetMDIFrame());
    EXPECT_EQ(pChild, m_pFrame->GetActiveFrame());
    EXPECT_EQ(pDoc, m_pFrame->GetActiveDocument());
    CTestView* pView = ViewOf(pDoc);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(pView, pChild->GetActiveView());
    EXPECT_EQ(1, pView->m_nInitialUpdates);
    EXPECT_EQ(pChild, pView->GetParentFrame());

    // The second document of the template counts on.
    CDocument* pDoc2 = m_pDrawing->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc2);
    EXPECT_EQ(CString(_T("Drawing2")), pDoc2->GetTitle());
    EXPECT_EQ(pDoc2, m_pFrame->GetActiveDocument());
    POSITION pos = m_pDrawing->GetFirstDocPosition();
    EXPECT_EQ(pDoc, m_pDrawing->GetNextDoc(pos));
    EXPECT_EQ(pDoc2, m_pDrawing->GetNextDoc(pos));
    EXPECT_EQ(nullptr, pos);

    // An opened path names the document.
    CDocument* pDoc3 = m_pText->OpenDocumentFile(_T("C:\\notes\\shopping.txt"));
    ASSERT_NE(nullptr, pDoc3);
    EXPECT_EQ(CString(_T("shopping.txt")), pDoc3->GetTitle());
    EXPECT_EQ(CString(_T("C:\\notes\\shopping.txt")), pDoc3->GetPathName());
}

TEST_F(MdiFrames, TheActiveChildsTemplateMenuIsTheFramesMenu)
{
    HMENU hDefault = m_pFrame->m_hMenuDefault;
    CDocument* pDrawing = m_pDrawing->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDrawing);
    Pump();
    EXPECT_EQ(m_pDrawing->m_hMenuShared, ::GetMenu(m_pFrame->GetSafeHwnd()));
    CMDIChildWnd* pDrawingChild = m_pFrame->MDIGetActive();

    CDocument* pText = m_pText->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pText);
    Pump();
    EXPECT_EQ(m_pText->m_hMenuShared, ::GetMenu(m_pFrame->GetSafeHwnd()));
    CMDIChildWnd* pTextChild = m_pFrame->MDIGetActive();
    EXPECT_NE(pDrawingChild, pTextChild);

    m_pFrame->MDIActivate(pDrawingChild);
    Pump();
    EXPECT_EQ(pDrawingChild, m_pFrame->MDIGetActive());
    EXPECT_EQ(m_pDrawing->m_hMenuShared, ::GetMenu(m_pFrame->GetSafeHwnd()));
    EXPECT_EQ(pDrawing, m_pFrame->GetActiveDocument());

    // With the last child gone the frame's own menu is back; the templates'
    // menus stay theirs.
    pDrawingChild->MDIDestroy();
    Pump();
    EXPECT_EQ(pTextChild, m_pFrame->MDIGetActive());
    EXPECT_EQ(m_pText->m_hMenuShared, ::GetMenu(m_pFrame->GetSafeHwnd()));
    pTextChild->MDIDestroy();
    Pump();
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());
    EXPECT_EQ(hDefault, ::GetMenu(m_pFrame->GetSafeHwnd()));
    EXPECT_TRUE(::IsMenu(m_pDrawing->m_hMenuShared));
    EXPECT_TRUE(::IsMenu(m_pText->m_hMenuShared));
}

TEST_F(MdiFrames, MaximizedChildIsReportedAndRestored)
{
    ASSERT_NE(nullptr, m_pDrawing->OpenDocumentFile(nullptr));
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_NE(nullptr, pChild);
    BOOL bMaximized = TRUE;
    EXPECT_EQ(pChild, m_pFrame->MDIGetActive(&bMaximized));
    EXPECT_FALSE(bMaximized);
    m_pFrame->MDIMaximize(pChild);
    Pump();
    EXPECT_EQ(pChild, m_pFrame->MDIGetActive(&bMaximized));
    EXPECT_TRUE(bMaximized);
    EXPECT_TRUE(pChild->IsZoomed());
    pChild->MDIRestore();
    Pump();
    m_pFrame->MDIGetActive(&bMaximized);
    EXPECT_FALSE(bMaximized);
}

TEST_F(MdiFrames, CommandsGoThroughTheActiveViewAndItsDocument)
{
    CTestDocument* pText = static_cast<CTestDocument*>(m_pText->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, pText);
    CTestDocument* pDrawing = static_cast<CTestDocument*>(m_pDrawing->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, pDrawing);
    Pump();
    m_pFrame->SendMessage(WM_COMMAND, ID_DRAW_LINE, 0);
    EXPECT_EQ(1, pDrawing->m_nLines);
    EXPECT_EQ(0, pText->m_nLines);

    // The text template's accelerator works while one of its children is
    // active, and reaches that child's view.
    m_pFrame->MDIActivate(ViewOf(pText)->GetParentFrame());
    Pump();
    EXPECT_EQ(pText, m_pFrame->GetActiveDocument());
    MSG msg = {};
    msg.hwnd = m_pFrame->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = 'B';
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(m_pFrame->PreTranslateMessage(&msg));
    Pump();
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    EXPECT_EQ(1, ViewOf(pText)->m_nBold);
    EXPECT_EQ(0, ViewOf(pDrawing)->m_nBold);
}

TEST_F(MdiFrames, ADocumentGoesWithItsLastView)
{
    CDocument* pDoc = m_pDrawing->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ(1, CTestDocument::s_nLiving);
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    pChild->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(0, CTestDocument::s_nLiving);
    EXPECT_EQ(nullptr, m_pDrawing->GetFirstDocPosition());
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());

    // Closing a document closes its frames.
    CDocument* pDoc2 = m_pText->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc2);
    ASSERT_NE(nullptr, m_pFrame->MDIGetActive());
    pDoc2->OnCloseDocument();
    Pump();
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());
    EXPECT_EQ(0, CTestDocument::s_nLiving);
}

// What the MDI client held when it got WM_DESTROY.
WNDPROC g_pfnClientProc = nullptr;
int g_nChildrenAtClientDestroy = -1;

LRESULT CALLBACK RecordingClientProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
    {
        g_nChildrenAtClientDestroy = 0;
        for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            ++g_nChildrenAtClientDestroy;
    }
    return ::CallWindowProc(g_pfnClientProc, hWnd, message, wParam, lParam);
}

TEST_F(MdiFrames, DestroyingTheFrameClosesItsChildrenFirstAndLeavesTheTemplatesMenus)
{
    ASSERT_NE(nullptr, m_pDrawing->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, m_pText->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, m_pText->OpenDocumentFile(nullptr));
    Pump();
    EXPECT_EQ(m_pText->m_hMenuShared, ::GetMenu(m_pFrame->GetSafeHwnd()));
    g_pfnClientProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(
        m_pFrame->m_hWndMDIClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingClientProc)));
    g_nChildrenAtClientDestroy = -1;

    m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
    Pump();
    // The system's client would walk a freed list of children had they
    // outlived it; and the frame took its own menu with it, not a template's.
    EXPECT_EQ(0, g_nChildrenAtClientDestroy);
    EXPECT_EQ(0, CTestDocument::s_nLiving);
    EXPECT_TRUE(::IsMenu(m_pDrawing->m_hMenuShared));
    EXPECT_TRUE(::IsMenu(m_pText->m_hMenuShared));
}

TEST_F(MdiFrames, TheApplicationKeepsItsTemplates)
{
    CWinApp* pApp = m_pApp;
    EXPECT_EQ(nullptr, pApp->GetFirstDocTemplatePosition());
    CMultiDocTemplate* pTemplate = new CMultiDocTemplate(
        IDR_BARE, RUNTIME_CLASS(CTestDocument), RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CTestView));
    pApp->AddDocTemplate(pTemplate);
    pApp->AddDocTemplate(pTemplate);  // once only
    POSITION pos = pApp->GetFirstDocTemplatePosition();
    EXPECT_EQ(pTemplate, pApp->GetNextDocTemplate(pos));
    EXPECT_EQ(nullptr, pos);
    // A template without resources still opens documents, with the frame's
    // menu.
    EXPECT_EQ(nullptr, pTemplate->m_hMenuShared);
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ(CString(_T("Untitled1")), pDoc->GetTitle());
    EXPECT_EQ(1, pApp->m_pDocManager->GetDocumentCount());
    pApp->m_pDocManager->CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(0, pApp->m_pDocManager->GetDocumentCount());
    delete pApp->m_pDocManager;  // deletes the template
    pApp->m_pDocManager = nullptr;
}

}  // namespace
