// A bar as a screen reader meets it: oleacc's client of the bar window, the
// controls as children with their names, roles, states and places, hit
// tests, the objects asked for by command id, the actions a reader may take,
// and the focus events of keyboard selection.
#include <afxwin.h>
#include <oleacc.h>

#include <vector>

#include "real_input.h"
#include "site_dialog.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

VARIANT Child(LONG nChild)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = nChild;
    return v;
}

CString Name(IAccessible* pAccessible, LONG nChild)
{
    BSTR bstr = nullptr;
    if (FAILED(pAccessible->get_accName(Child(nChild), &bstr)))
        return _T("<failed>");
    CString str(bstr);
    ::SysFreeString(bstr);
    return str;
}

LONG IntOf(HRESULT hr, const VARIANT& v)
{
    return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1;
}

LONG Role(IAccessible* pAccessible, LONG nChild)
{
    VARIANT v;
    ::VariantInit(&v);
    return IntOf(pAccessible->get_accRole(Child(nChild), &v), v);
}

LONG State(IAccessible* pAccessible, LONG nChild)
{
    VARIANT v;
    ::VariantInit(&v);
    return IntOf(pAccessible->get_accState(Child(nChild), &v), v);
}

// The accessible object of a control, through its bar.
IAccessible* ControlObject(IAccessible* pBar, LONG nChild)
{
    IDispatch* pDispatch = nullptr;
    if (FAILED(pBar->get_accChild(Child(nChild), &pDispatch)) || !pDispatch)
        return nullptr;
    IAccessible* pControl = nullptr;
    pDispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pControl));
    pDispatch->Release();
    return pControl;
}

std::vector<std::pair<DWORD, LONG>> g_focusEvents;

void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD dwEvent, HWND, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (idObject == OBJID_MENU)
        g_focusEvents.push_back({dwEvent, idChild});
}

}  // namespace

class BarAccessibility : public SiteDialogSuite<BarAccessibility>
{
protected:
    void SetUp() override
    {
        s_pDialog->Reset();
        m_pBar = s_pDialog->GetBar();
        ASSERT_EQ(S_OK,
                  ::AccessibleObjectFromWindow(m_pBar->GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                               IID_IAccessible, reinterpret_cast<void**>(&m_pAccessible)));
    }
    void TearDown() override
    {
        if (m_pAccessible)
            m_pAccessible->Release();
    }

    ComScope m_com;
    CTestBar* m_pBar = nullptr;
    IAccessible* m_pAccessible = nullptr;
};

namespace {

TEST_F(BarAccessibility, TheBarAndItsControlsHaveNamesRolesAndStates)
{
    EXPECT_EQ(CString(_T("Test")), Name(m_pAccessible, CHILDID_SELF));
    EXPECT_EQ(ROLE_SYSTEM_TOOLBAR, Role(m_pAccessible, CHILDID_SELF));
    LONG nChildren = 0;
    ASSERT_EQ(S_OK, m_pAccessible->get_accChildCount(&nChildren));
    EXPECT_EQ(m_pBar->GetControlCount(), nChildren);
    EXPECT_EQ(CString(_T("New\tCtrl+N")), Name(m_pAccessible, 1));
    EXPECT_EQ(CString(_T("Open")), Name(m_pAccessible, 2));
    EXPECT_EQ(ROLE_SYSTEM_MENUITEM, Role(m_pAccessible, 1));
    EXPECT_EQ(0x300000, State(m_pAccessible, 1));
    EXPECT_EQ(-1, Role(m_pAccessible, 99));

    IAccessible* pNew = ControlObject(m_pAccessible, 1);
    ASSERT_NE(nullptr, pNew);
    EXPECT_EQ(CString(_T("New\tCtrl+N")), Name(pNew, CHILDID_SELF));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(pNew, CHILDID_SELF));
    BSTR bstr = nullptr;
    ASSERT_EQ(S_OK, pNew->get_accDescription(Child(CHILDID_SELF), &bstr));
    EXPECT_EQ(CString(_T("Create a new recording")), CString(bstr));
    ::SysFreeString(bstr);
    ASSERT_EQ(S_OK, pNew->get_accKeyboardShortcut(Child(CHILDID_SELF), &bstr));
    EXPECT_EQ(CString(_T("N")), CString(bstr));
    ::SysFreeString(bstr);
    ASSERT_EQ(S_OK, pNew->get_accDefaultAction(Child(CHILDID_SELF), &bstr));
    EXPECT_EQ(CString(_T("Click")), CString(bstr));
    ::SysFreeString(bstr);
    // A control has no children of its own and refuses other child ids.
    EXPECT_EQ(E_INVALIDARG, pNew->get_accName(Child(1), &bstr));
    LONG nControlChildren = -1;
    EXPECT_EQ(S_OK, pNew->get_accChildCount(&nControlChildren));
    EXPECT_EQ(0, nControlChildren);
    IDispatch* pParent = nullptr;
    ASSERT_EQ(S_OK, pNew->get_accParent(&pParent));
    IAccessible* pParentAccessible = nullptr;
    pParent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pParentAccessible));
    ASSERT_NE(nullptr, pParentAccessible);
    EXPECT_EQ(CString(_T("Test")), Name(pParentAccessible, CHILDID_SELF));
    pParentAccessible->Release();
    pParent->Release();

    // States follow the controls.
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, State(pNew, CHILDID_SELF));
    IAccessible* pBold = ControlObject(m_pAccessible, 3);
    IAccessible* pGray = ControlObject(m_pAccessible, 4);
    ASSERT_TRUE(pBold && pGray);
    EXPECT_TRUE(State(pBold, CHILDID_SELF) & STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(State(pGray, CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE);
    s_pDialog->FindControl(ID_TEST_NEW)->SetVisible(FALSE);
    EXPECT_TRUE(State(pNew, CHILDID_SELF) & STATE_SYSTEM_INVISIBLE);
    s_pDialog->FindControl(ID_TEST_NEW)->SetVisible(TRUE);
    m_pBar->SetSelected(0, 0);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED,
              State(pNew, CHILDID_SELF));
    EXPECT_EQ(0x300000 | 0x86, State(m_pAccessible, 1));
    m_pBar->SetSelected(-1, 0);
    pBold->Release();
    pGray->Release();
    pNew->Release();
}

TEST_F(BarAccessibility, PlacesAndHitTestsAreInScreenCoordinates)
{
    CQVTControl* pOpen = s_pDialog->FindControl(ID_TEST_OPEN);
    CRect rcOpen = pOpen->GetRect();
    m_pBar->ClientToScreen(&rcOpen);
    LONG x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(S_OK, m_pAccessible->accLocation(&x, &y, &cx, &cy, Child(2)));
    EXPECT_EQ(rcOpen, CRect(x, y, x + cx, y + cy));
    CRect rcBar;
    m_pBar->GetWindowRect(&rcBar);
    ASSERT_EQ(S_OK, m_pAccessible->accLocation(&x, &y, &cx, &cy, Child(CHILDID_SELF)));
    EXPECT_EQ(rcBar, CRect(x, y, x + cx, y + cy));

    VARIANT v;
    ::VariantInit(&v);
    ASSERT_EQ(S_OK, m_pAccessible->accHitTest(rcOpen.CenterPoint().x, rcOpen.CenterPoint().y, &v));
    ASSERT_EQ(VT_DISPATCH, v.vt);
    IAccessible* pHit = nullptr;
    v.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pHit));
    ::VariantClear(&v);
    ASSERT_NE(nullptr, pHit);
    EXPECT_EQ(CString(_T("Open")), Name(pHit, CHILDID_SELF));
    LONG hx = 0, hy = 0, hcx = 0, hcy = 0;
    ASSERT_EQ(S_OK, pHit->accLocation(&hx, &hy, &hcx, &hcy, Child(CHILDID_SELF)));
    EXPECT_EQ(rcOpen, CRect(hx, hy, hx + hcx, hy + hcy));
    EXPECT_EQ(S_OK, pHit->accHitTest(rcOpen.left, rcOpen.top, &v));
    EXPECT_EQ(S_FALSE, pHit->accHitTest(rcOpen.left - 1, rcOpen.top, &v));
    pHit->Release();

    EXPECT_EQ(S_OK, m_pAccessible->accHitTest(rcBar.right - 2, rcBar.bottom - 2, &v));
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(CHILDID_SELF, v.lVal);
    EXPECT_EQ(S_FALSE, m_pAccessible->accHitTest(rcBar.left - 10, rcBar.top, &v));
    EXPECT_EQ(VT_EMPTY, v.vt);
}

TEST_F(BarAccessibility, ACommandIdNamesTheControlsObjectAndMnemonicsFollowTheRules)
{
    IAccessible* pOpen = nullptr;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(m_pBar->GetSafeHwnd(), ID_TEST_OPEN, IID_IAccessible,
                                                 reinterpret_cast<void**>(&pOpen)));
    ASSERT_NE(nullptr, pOpen);
    EXPECT_EQ(CString(_T("Open")), Name(pOpen, CHILDID_SELF));
    pOpen->Release();

    CQVTControl* pControl = s_pDialog->FindControl(ID_TEST_OPEN);
    const struct
    {
        LPCTSTR lpszCaption;
        LPCTSTR lpszShortcut;
        LPCTSTR lpszName;
    } cases[] = {{_T("&Open"), _T("O"), _T("Open")},
                 {_T("Save && Exit"), _T(""), _T("Save & Exit")},
                 {_T("Trailing&"), _T(""), _T("Trailing")},
                 {_T("&&&Both"), _T("B"), _T("&Both")}};
    for (const auto& c : cases)
    {
        pControl->SetCaption(c.lpszCaption);
        IAccessible* pObject = ControlObject(m_pAccessible, pControl->GetIndex() + 1);
        ASSERT_NE(nullptr, pObject);
        BSTR bstr = nullptr;
        ASSERT_EQ(S_OK, pObject->get_accKeyboardShortcut(Child(CHILDID_SELF), &bstr));
        EXPECT_EQ(CString(c.lpszShortcut), CString(bstr)) << CT2A(c.lpszCaption);
        ::SysFreeString(bstr);
        EXPECT_EQ(CString(c.lpszName), Name(pObject, CHILDID_SELF));
        pObject->Release();
    }
    // An empty caption names the control by its tooltip.
    pControl->SetCaption(_T(""));
    IAccessible* pObject = ControlObject(m_pAccessible, pControl->GetIndex() + 1);
    EXPECT_EQ(CString(_T("Open a recording")), Name(pObject, CHILDID_SELF));
    pObject->Release();
}

TEST_F(BarAccessibility, TheDefaultActionRunsTheCommandAndSelectionRaisesFocusEvents)
{
    IAccessible* pNew = ControlObject(m_pAccessible, 1);
    ASSERT_NE(nullptr, pNew);
    EXPECT_EQ(S_OK, pNew->accDoDefaultAction(Child(CHILDID_SELF)));
    PumpMessages();
    EXPECT_EQ(1, s_pDialog->m_nNew);

    g_focusEvents.clear();
    HWINEVENTHOOK hHook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent,
                                            ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hHook);
    IAccessible* pOpen = ControlObject(m_pAccessible, 2);
    EXPECT_EQ(S_OK, pOpen->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)));
    EXPECT_TRUE(m_pBar->IsTrackingMode());
    EXPECT_EQ(1, m_pBar->GetSelectedIndex());
    EXPECT_EQ(2, s_pDialog->FindControl(ID_TEST_OPEN)->GetSelected());
    m_pBar->SetSelected(4, 2);
    PumpMessages(20);
    ::UnhookWinEvent(hHook);
    ASSERT_EQ(2u, g_focusEvents.size());
    EXPECT_EQ(2, g_focusEvents[0].second);
    EXPECT_EQ(5, g_focusEvents[1].second);
    m_pBar->SetTrackingMode(FALSE, TRUE, FALSE);
    EXPECT_FALSE(m_pBar->IsTrackingMode());
    // Outside tracking, selection raises no event.
    g_focusEvents.clear();
    hHook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent,
                              ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    m_pBar->SetSelected(2, 0);
    PumpMessages(20);
    ::UnhookWinEvent(hHook);
    EXPECT_TRUE(g_focusEvents.empty());
    m_pBar->SetSelected(-1, 0);
    pOpen->Release();
    pNew->Release();
}

}  // namespace
