// The application object: identity and module state, the profile in an INI
// file and in the registry, the message loop with idle work, thread
// messages, command routing from a frame to the application, exceptions
// reported through the application, and COM identity of command targets.
#include <afxwin.h>
#include <stdexcept>

#include "app_ids.h"
#include "sondrel_gtest.h"

namespace {

const UINT WM_APP_PING = WM_APP + 10;

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(_T("SondrelAppTest")) {}

    int m_nExceptions = 0;
    CString m_strLastError;
    int m_nIdle = 0;
    int m_nPing = 0;
    int m_nAppCommands = 0;

    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override
    {
        // Reported here instead of in a message box.
        ++m_nExceptions;
        TCHAR szError[256] = {};
        e->GetErrorMessage(szError, 256);
        m_strLastError = szError;
        return CWinThread::ProcessWndProcException(e, pMsg);
    }

    BOOL OnIdle(LONG lCount) override
    {
        ++m_nIdle;
        return CWinApp::OnIdle(lCount);
    }

protected:
    afx_msg void OnPing(WPARAM wParam, LPARAM) { m_nPing += (int)wParam; }
    afx_msg void OnAppCommand() { ++m_nAppCommands; }
    afx_msg void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_THREAD_MESSAGE(WM_APP_PING, &CTestApp::OnPing)
    ON_COMMAND(ID_APP_COMMAND, &CTestApp::OnAppCommand)
    ON_UPDATE_COMMAND_UI(ID_SHARED, &CTestApp::OnUpdateShared)
END_MESSAGE_MAP()

CTestApp theApp;

}  // namespace

class AppTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        AfxWinInit(::GetModuleHandle(nullptr), nullptr, ::GetCommandLine(), SW_SHOWNORMAL);
    }
};

namespace {

TEST_F(AppTest, TheApplicationIsKnownEverywhere)
{
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(AfxGetThread(), &theApp);
    EXPECT_EQ(AfxGetModuleState()->m_pCurrentWinApp, &theApp);
    EXPECT_EQ(theApp.m_hInstance, ::GetModuleHandle(nullptr));
    EXPECT_EQ(AfxGetInstanceHandle(), theApp.m_hInstance);
    EXPECT_EQ(CString(theApp.m_pszAppName), CString(_T("SondrelAppTest")));
    EXPECT_EQ(CString(AfxGetAppName()), CString(_T("SondrelAppTest")));
    EXPECT_EQ(CString(theApp.m_pszExeName), CString(_T("mfc_app_test")));
    EXPECT_EQ(CString(theApp.m_pszProfileName), CString(_T("mfc_app_test.INI")));
    EXPECT_EQ(theApp.LoadStandardCursor(IDC_ARROW), ::LoadCursor(nullptr, IDC_ARROW));
}

// Points the profile somewhere for one test and back afterwards. The names
// are heap strings, replaced with free() and _tcsdup as MFC code does.
class ProfileScope
{
public:
    ProfileScope(LPCTSTR lpszProfile) : m_pszOldProfile(theApp.m_pszProfileName)
    {
        theApp.m_pszProfileName = _tcsdup(lpszProfile);
    }
    ~ProfileScope()
    {
        free((void*)theApp.m_pszRegistryKey);
        theApp.m_pszRegistryKey = nullptr;
        free((void*)theApp.m_pszProfileName);
        theApp.m_pszProfileName = m_pszOldProfile;
    }

private:
    LPCTSTR m_pszOldProfile;
};

void ExerciseProfile()
{
    EXPECT_EQ(theApp.GetProfileInt(_T("Section"), _T("Missing"), 17), 17u);
    EXPECT_EQ(theApp.GetProfileString(_T("Section"), _T("Missing"), _T("dflt")), CString(_T("dflt")));

    EXPECT_TRUE(theApp.WriteProfileInt(_T("Section"), _T("Count"), -5));
    EXPECT_EQ((int)theApp.GetProfileInt(_T("Section"), _T("Count"), 0), -5);
    EXPECT_TRUE(theApp.WriteProfileString(_T("Section"), _T("Name"), _T("Gr\u00FC\u00DFe")));
    EXPECT_EQ(theApp.GetProfileString(_T("Section"), _T("Name")), CString(_T("Gr\u00FC\u00DFe")));

    // Long values come back whole.
    CString strLong;
    for (int i = 0; i < 200; ++i)
        strLong += _T("0123456789");
    EXPECT_TRUE(theApp.WriteProfileString(_T("Section"), _T("Long"), strLong));
    EXPECT_EQ(theApp.GetProfileString(_T("Section"), _T("Long")), strLong);

    BYTE data[] = {0x00, 0x7F, 0x80, 0xFF, 0x12};
    EXPECT_TRUE(theApp.WriteProfileBinary(_T("Section"), _T("Blob"), data, sizeof(data)));
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(theApp.GetProfileBinary(_T("Section"), _T("Blob"), &pData, &nBytes));
    ASSERT_EQ(nBytes, (UINT)sizeof(data));
    EXPECT_EQ(memcmp(pData, data, sizeof(data)), 0);
    delete[] pData;
    EXPECT_FALSE(theApp.GetProfileBinary(_T("Section"), _T("MissingBlob"), &pData, &nBytes));
    EXPECT_EQ(pData, nullptr);

    // Removing a value brings the default back.
    EXPECT_TRUE(theApp.WriteProfileString(_T("Section"), _T("Name"), nullptr));
    EXPECT_EQ(theApp.GetProfileString(_T("Section"), _T("Name"), _T("gone")), CString(_T("gone")));
}

TEST_F(AppTest, WaitCursorsOfAllTargetsShareTheApplicationsCount)
{
    const HCURSOR hWait = ::LoadCursor(nullptr, IDC_WAIT);
    const HCURSOR hArrow = ::LoadCursor(nullptr, IDC_ARROW);
    // Begun while no cursor is shown, the wait ends with the arrow.
    ::SetCursor(nullptr);
    CCmdTarget first, second;
    first.BeginWaitCursor();
    EXPECT_EQ(::GetCursor(), hWait);
    second.BeginWaitCursor();
    first.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), hWait);  // the second still waits
    ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
    second.RestoreWaitCursor();
    EXPECT_EQ(::GetCursor(), hWait);
    second.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), hArrow);
    // An end without a begin changes nothing.
    ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
    first.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_IBEAM));
    // The application's own calls count with the targets'.
    theApp.DoWaitCursor(1);
    first.BeginWaitCursor();
    theApp.DoWaitCursor(-1);
    EXPECT_EQ(::GetCursor(), hWait);
    first.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_IBEAM));
}

TEST_F(AppTest, ProfileInAnIniFile)
{
    TCHAR szTemp[MAX_PATH];
    ::GetTempPath(MAX_PATH, szTemp);
    CString strIni = CString(szTemp) + _T("SondrelAppTest.ini");
    ::DeleteFile(strIni);
    {
        ProfileScope scope(strIni);
        ExerciseProfile();
        // A value that is not our encoding is refused, not decoded into
        // made-up bytes.
        ::WritePrivateProfileString(_T("Section"), _T("Bad"), _T("AZ"), strIni);
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        EXPECT_FALSE(theApp.GetProfileBinary(_T("Section"), _T("Bad"), &pData, &nBytes));
        ::WritePrivateProfileString(_T("Section"), _T("Odd"), _T("ABC"), strIni);
        EXPECT_FALSE(theApp.GetProfileBinary(_T("Section"), _T("Odd"), &pData, &nBytes));
        TCHAR szRaw[64] = {};
        ::GetPrivateProfileString(_T("Section"), _T("Count"), _T(""), szRaw, 64, strIni);
        EXPECT_EQ(CString(szRaw), CString(_T("-5")));
    }
    ::DeleteFile(strIni);
}

TEST_F(AppTest, ProfileInTheRegistry)
{
    ::RegDeleteTree(HKEY_CURRENT_USER, _T("Software\\SondrelTestCompany"));
    {
        ProfileScope scope(theApp.m_pszProfileName);
        theApp.SetRegistryKey(_T("SondrelTestCompany"));
        EXPECT_EQ(CString(theApp.m_pszProfileName), CString(_T("SondrelAppTest")));
        ExerciseProfile();

        // Where the values live.
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegOpenKeyEx(HKEY_CURRENT_USER,
                                 _T("Software\\SondrelTestCompany\\SondrelAppTest\\Section"), 0, KEY_READ,
                                 &hKey),
                  ERROR_SUCCESS);
        DWORD dwValue = 0, dwType = 0, cb = sizeof(dwValue);
        EXPECT_EQ(::RegQueryValueEx(hKey, _T("Count"), nullptr, &dwType, (LPBYTE)&dwValue, &cb),
                  ERROR_SUCCESS);
        EXPECT_EQ(dwType, (DWORD)REG_DWORD);
        EXPECT_EQ((int)dwValue, -5);
        ::RegCloseKey(hKey);

        // A string where a number is expected gives the default.
        theApp.WriteProfileString(_T("Section"), _T("Text"), _T("12"));
        EXPECT_EQ(theApp.GetProfileInt(_T("Section"), _T("Text"), 3), 3u);

        // No entry name removes the section.
        EXPECT_TRUE(theApp.WriteProfileString(_T("Other"), _T("x"), _T("1")));
        EXPECT_TRUE(theApp.WriteProfileString(_T("Other"), nullptr, nullptr));
        EXPECT_NE(::RegOpenKeyEx(HKEY_CURRENT_USER, _T("Software\\SondrelTestCompany\\SondrelAppTest\\Other"),
                                 0, KEY_READ, &hKey),
                  ERROR_SUCCESS);
    }
    ::RegDeleteTree(HKEY_CURRENT_USER, _T("Software\\SondrelTestCompany"));
}

class CTestFrame : public CFrameWnd
{
public:
    int m_nStep = 0;
    bool* m_pbDeleted = nullptr;
    bool m_bChecked = true;

    ~CTestFrame() override
    {
        if (m_pbDeleted != nullptr)
            *m_pbDeleted = true;
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        if (nIDEvent == 2)
        {  // never hang the suite
            DestroyWindow();
            return;
        }
        switch (m_nStep++)
        {
        case 0:
            ::PostThreadMessage(::GetCurrentThreadId(), WM_APP_PING, 5, 0);
            PostMessage(WM_COMMAND, ID_APP_COMMAND);  // routed on to the application
            PostMessage(WM_COMMAND, ID_FRAME_THROW);
            break;
        case 1:
            break;
        default:
            KillTimer(1);
            DestroyWindow();  // the main window going ends the loop
            break;
        }
    }
    afx_msg void OnThrow() { AfxThrowNotSupportedException(); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bChecked); }
    // The frame has no say on this one: the application decides.
    afx_msg void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_TIMER()
    ON_COMMAND(ID_FRAME_THROW, &CTestFrame::OnThrow)
    ON_UPDATE_COMMAND_UI(ID_CHECKED, &CTestFrame::OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(ID_SHARED, &CTestFrame::OnUpdateShared)
END_MESSAGE_MAP()

TEST_F(AppTest, FrameMenusFollowTheirUpdateHandlers)
{
    CTestFrame* pFrame = new CTestFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    EXPECT_EQ(pFrame->GetTitle(), CString(_T("Test frame")));
    EXPECT_TRUE(pFrame->IsFrameWnd());
    EXPECT_NE(pFrame->m_hAccelTable, nullptr);
    CMenu* pMenu = pFrame->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    HMENU hPopup = ::GetSubMenu(pMenu->m_hMenu, 0);
    pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, MAKELPARAM(0, FALSE));
    EXPECT_FALSE(::GetMenuState(hPopup, ID_APP_COMMAND, MF_BYCOMMAND) & MF_GRAYED);  // the app handles it
    EXPECT_TRUE(::GetMenuState(hPopup, ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(hPopup, ID_CHECKED, MF_BYCOMMAND) & MF_CHECKED);
    // The frame's handler routes this one on to the application.
    EXPECT_TRUE(::GetMenuState(hPopup, ID_SHARED, MF_BYCOMMAND) & MF_CHECKED);

    // The accelerator turns a key press into the command.
    int nBefore = theApp.m_nAppCommands;
    MSG msg = {pFrame->m_hWnd, WM_KEYDOWN, 'A', 0};
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(pFrame->PreTranslateMessage(&msg));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(theApp.m_nAppCommands, nBefore + 1);

    bool bDeleted = false;
    pFrame->m_pbDeleted = &bDeleted;
    pFrame->DestroyWindow();
    EXPECT_TRUE(bDeleted);  // frames delete themselves
    MSG quit;
    while (::PeekMessage(&quit, nullptr, 0, 0, PM_REMOVE))
    {
    }
}

TEST_F(AppTest, RunPumpsIdlesRoutesAndEndsWithTheMainWindow)
{
    CTestFrame* pFrame = new CTestFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TESTFRAME));
    pFrame->ShowWindow(SW_SHOW);
    theApp.m_pMainWnd = pFrame;
    EXPECT_EQ(AfxGetMainWnd(), pFrame);
    pFrame->SetTimer(1, 20, nullptr);
    pFrame->SetTimer(2, 20000, nullptr);

    // A wrapper made for a foreign window is freed at idle time.
    HWND hWndForeign =
        ::CreateWindowEx(0, _T("STATIC"), _T(""), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    CWnd* pTemp = CWnd::FromHandle(hWndForeign);
    ASSERT_NE(pTemp, nullptr);
    theApp.m_nIdle = 0;
    int nCommandsBefore = theApp.m_nAppCommands;
    int nExceptionsBefore = theApp.m_nExceptions;

    int nExit = theApp.Run();

    EXPECT_EQ(nExit, 0);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(theApp.m_nPing, 5);
    EXPECT_EQ(theApp.m_nAppCommands, nCommandsBefore + 1);
    EXPECT_EQ(theApp.m_nExceptions, nExceptionsBefore + 1);
    EXPECT_FALSE(theApp.m_strLastError.IsEmpty());
    EXPECT_GT(theApp.m_nIdle, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWndForeign), nullptr);
    ::DestroyWindow(hWndForeign);
}

TEST_F(AppTest, RunWithoutAMainWindowHandlesWhatIsQueuedAndEnds)
{
    ASSERT_EQ(theApp.m_pMainWnd, nullptr);
    int nPingBefore = theApp.m_nPing;
    ::PostThreadMessage(::GetCurrentThreadId(), WM_APP_PING, 3, 0);
    // Should the loop never end by itself, a timer ends it after ten seconds.
    static bool s_bWaitedOut = false;
    struct Watchdog
    {
        UINT_PTR nTimer = 0;
        static VOID CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
        {
            s_bWaitedOut = true;
            ::PostQuitMessage(1);
        }
        Watchdog() { nTimer = ::SetTimer(nullptr, 0, 10000, &Fire); }
        ~Watchdog() { ::KillTimer(nullptr, nTimer); }
    } watchdog;

    EXPECT_EQ(theApp.Run(), 0);
    EXPECT_FALSE(s_bWaitedOut);
    EXPECT_EQ(theApp.m_nPing, nPingBefore + 3);
}

// COM identity, reference counting and automation of a command target.
const IID IID_IPing = {0x3c2f4b10, 0x6d1e, 0x4b8a, {0x9e, 0x21, 0x55, 0x10, 0x7a, 0x3b, 0x42, 0x01}};

struct IPing : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Ping(int* pValue) = 0;
};

class CAutoObject : public CCmdTarget
{
public:
    static int s_nFinalReleases;
    long m_nValue = 4;
    CString m_strName = _T("first");

    CAutoObject() { EnableAutomation(); }

    void OnFinalRelease() override
    {
        ++s_nFinalReleases;
        CCmdTarget::OnFinalRelease();
    }

    long Add(long a, long b) { return a + b; }
    CString Describe(const CString& prefix, BOOL bLoud)
    {
        CString text = prefix + m_strName;
        if (bLoud)
            text.MakeUpper();
        return text;
    }
    void Fail() { AfxThrowNotSupportedException(); }
    BSTR GetName() { return SysAllocString(m_strName); }
    void SetName(LPCTSTR lpszName) { m_strName = lpszName; }

    BEGIN_INTERFACE_PART(Ping, IPing)
        STDMETHOD(Ping)(int* pValue) override;
    END_INTERFACE_PART(Ping)

    DECLARE_INTERFACE_MAP()
    DECLARE_DISPATCH_MAP()
};

int CAutoObject::s_nFinalReleases = 0;

BEGIN_INTERFACE_MAP(CAutoObject, CCmdTarget)
    INTERFACE_PART(CAutoObject, IID_IPing, Ping)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(CAutoObject, CCmdTarget)
    DISP_FUNCTION(CAutoObject, "Add", Add, VT_I4, VTS_I4 VTS_I4)
    DISP_FUNCTION(CAutoObject, "Describe", Describe, VT_BSTR, VTS_BSTR VTS_BOOL)
    DISP_FUNCTION(CAutoObject, "Fail", Fail, VT_EMPTY, VTS_NONE)
    DISP_PROPERTY(CAutoObject, "Value", m_nValue, VT_I4)
    DISP_PROPERTY_EX(CAutoObject, "Name", GetName, SetName, VT_BSTR)
END_DISPATCH_MAP()

STDMETHODIMP_(ULONG) CAutoObject::XPing::AddRef()
{
    METHOD_PROLOGUE(CAutoObject, Ping)
    return pThis->ExternalAddRef();
}

STDMETHODIMP_(ULONG) CAutoObject::XPing::Release()
{
    METHOD_PROLOGUE(CAutoObject, Ping)
    return pThis->ExternalRelease();
}

STDMETHODIMP CAutoObject::XPing::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    METHOD_PROLOGUE(CAutoObject, Ping)
    return (HRESULT)pThis->ExternalQueryInterface(&iid, ppvObj);
}

STDMETHODIMP CAutoObject::XPing::Ping(int* pValue)
{
    METHOD_PROLOGUE(CAutoObject, Ping)
    *pValue = (int)pThis->m_nValue;
    return S_OK;
}

DISPID IdOf(IDispatch* pDisp, LPCTSTR lpszName)
{
    LPOLESTR name = const_cast<LPOLESTR>(lpszName);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(pDisp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    return id;
}

TEST(CmdTargetCom, InterfacesShareOneIdentityAndCount)
{
    CAutoObject::s_nFinalReleases = 0;
    CAutoObject* pObject = new CAutoObject;
    EXPECT_EQ(pObject->m_dwRef, 1);

    IPing* pPing = nullptr;
    ASSERT_EQ(pObject->InternalQueryInterface(&IID_IPing, (void**)&pPing), (DWORD)S_OK);
    EXPECT_EQ(pObject->m_dwRef, 2);
    int nValue = 0;
    EXPECT_EQ(pPing->Ping(&nValue), S_OK);
    EXPECT_EQ(nValue, 4);

    IUnknown* pUnk1 = nullptr;
    IUnknown* pUnk2 = nullptr;
    IDispatch* pDisp = nullptr;
    ASSERT_EQ(pPing->QueryInterface(IID_IUnknown, (void**)&pUnk1), S_OK);
    ASSERT_EQ(pPing->QueryInterface(IID_IDispatch, (void**)&pDisp), S_OK);
    ASSERT_EQ(pDisp->QueryInterface(IID_IUnknown, (void**)&pUnk2), S_OK);
    EXPECT_EQ(pUnk1, pUnk2);
    EXPECT_EQ(CCmdTarget::FromIDispatch(pDisp), pObject);
    EXPECT_EQ(CCmdTarget::FromIDispatch(nullptr), nullptr);
    void* pNone = nullptr;
    EXPECT_EQ(pDisp->QueryInterface(IID_IStream, &pNone), E_NOINTERFACE);
    EXPECT_EQ(pNone, nullptr);

    pUnk1->Release();
    pUnk2->Release();
    pDisp->Release();
    EXPECT_EQ(pPing->Release(), 1u);
    EXPECT_EQ(CAutoObject::s_nFinalReleases, 0);
    pObject->InternalRelease();  // the creator's reference
    EXPECT_EQ(CAutoObject::s_nFinalReleases, 1);
}

TEST(CmdTargetCom, DispatchMapInvokesMethodsAndProperties)
{
    CAutoObject* pObject = new CAutoObject;
    IDispatch* pDisp = pObject->GetIDispatch(FALSE);
    ASSERT_NE(pDisp, nullptr);

    // Arguments arrive last first.
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 2;
    V_VT(&args[0]) = VT_BSTR;  // coerced to the declared VT_I4
    V_BSTR(&args[0]) = SysAllocString(_T("40"));
    DISPPARAMS params = {args, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    DISPID idAdd = IdOf(pDisp, _T("add"));  // names are not case-sensitive
    ASSERT_EQ(pDisp->Invoke(idAdd, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(V_VT(&result), VT_I4);
    EXPECT_EQ(V_I4(&result), 42);

    SysFreeString(V_BSTR(&args[0]));
    V_BSTR(&args[0]) = SysAllocString(_T("not a number"));
    UINT uArgErr = 99;
    EXPECT_EQ(pDisp->Invoke(idAdd, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, &uArgErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(uArgErr, 0u);
    params.cArgs = 1;
    EXPECT_EQ(pDisp->Invoke(idAdd, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    SysFreeString(V_BSTR(&args[0]));

    // Strings and booleans.
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = SysAllocString(_T("to "));
    V_VT(&args[0]) = VT_BOOL;
    V_BOOL(&args[0]) = VARIANT_TRUE;
    params.cArgs = 2;
    ASSERT_EQ(pDisp->Invoke(IdOf(pDisp, _T("Describe")), IID_NULL, 0, DISPATCH_METHOD, &params, &result,
                            nullptr, nullptr),
              S_OK);
    EXPECT_EQ(V_VT(&result), VT_BSTR);
    EXPECT_EQ(CString(V_BSTR(&result)), CString(_T("TO FIRST")));
    VariantClear(&result);
    SysFreeString(V_BSTR(&args[1]));

    // A member variable property, then a get/put pair.
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    DISPID idValue = IdOf(pDisp, _T("Value"));
    ASSERT_EQ(pDisp->Invoke(idValue, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(V_I4(&result), 4);
    VARIANT newValue;
    VariantInit(&newValue);
    V_VT(&newValue) = VT_I2;
    V_I2(&newValue) = 9;
    DISPID idPut = DISPID_PROPERTYPUT;
    DISPPARAMS put = {&newValue, &idPut, 1, 1};
    ASSERT_EQ(pDisp->Invoke(idValue, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(pObject->m_nValue, 9);

    V_VT(&newValue) = VT_BSTR;
    V_BSTR(&newValue) = SysAllocString(_T("second"));
    DISPID idName = IdOf(pDisp, _T("Name"));
    ASSERT_EQ(pDisp->Invoke(idName, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
              S_OK);
    VariantClear(&newValue);
    EXPECT_EQ(pObject->m_strName, CString(_T("second")));
    ASSERT_EQ(pDisp->Invoke(idName, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(CString(V_BSTR(&result)), CString(_T("second")));
    VariantClear(&result);

    // Exceptions become DISP_E_EXCEPTION, unknown names and ids errors.
    EXCEPINFO excep = {};
    EXPECT_EQ(
        pDisp->Invoke(IdOf(pDisp, _T("Fail")), IID_NULL, 0, DISPATCH_METHOD, &none, &result, &excep, nullptr),
        DISP_E_EXCEPTION);
    SysFreeString(excep.bstrDescription);
    LPOLESTR unknown = const_cast<LPOLESTR>(_T("Nothing"));
    DISPID idUnknown = 0;
    EXPECT_EQ(pDisp->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &idUnknown), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(pDisp->Invoke(12345, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    pObject->InternalRelease();
}

TEST(CmdTargetCom, TargetsWithoutAutomationHaveNoDispatch)
{
    CCmdTarget* pPlain = new CCmdTarget;
    EXPECT_EQ(pPlain->GetIDispatch(FALSE), nullptr);
    EXPECT_EQ(pPlain->GetInterface(&IID_IUnknown), nullptr);
    EXPECT_EQ(pPlain->InternalRelease(), 0u);
}

}  // namespace
