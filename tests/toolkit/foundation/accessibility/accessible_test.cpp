// Accessibility: a real window answers oleacc's client through the nested
// IAccessible, whose methods reach the handlers in table order; events go out
// through NotifyWinEvent to a WinEvent hook; child indexes from VARIANTs.
#include <afxwin.h>

#include <vector>

#include "sondrel_gtest.h"
#include "test_app.h"
#include "toolkit/foundation/accessibility/QVTAccessible.h"

namespace {
// A window that answers WM_GETOBJECT with its accessible object.
class AccessibleWindow : public CWnd, public CQVTAccessible
{
public:
    CCmdTarget* GetAccessibleCmdTarget() override { return this; }

protected:
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam)
    {
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            return LresultFromObject(IID_IAccessible, wParam, &m_xAccessible);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
    DECLARE_INTERFACE_MAP()
};

BEGIN_MESSAGE_MAP(AccessibleWindow, CWnd)
    ON_MESSAGE(WM_GETOBJECT, &AccessibleWindow::OnGetObject)
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(AccessibleWindow, CWnd)
    INTERFACE_PART(AccessibleWindow, IID_IAccessible, Accessible)
END_INTERFACE_MAP()

// Every handler answers a code of its own: its position in the table.
HRESULT Code(int n)
{
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200 + n);
}

class NumberedAccessible : public CCmdTarget, public CQVTAccessible
{
public:
    CCmdTarget* GetAccessibleCmdTarget() override { return this; }
    HRESULT GetAccessibleParent(IDispatch**) override { return Code(0); }
    HRESULT GetAccessibleChildCount(LONG*) override { return Code(1); }
    HRESULT GetAccessibleChild(VARIANT, IDispatch**) override { return Code(2); }
    HRESULT GetAccessibleName(VARIANT v, BSTR*) override { return v.lVal == 3 ? Code(3) : E_INVALIDARG; }
    HRESULT GetAccessibleValue(VARIANT, BSTR*) override { return Code(4); }
    HRESULT GetAccessibleDescription(VARIANT, BSTR*) override { return Code(5); }
    HRESULT GetAccessibleRole(VARIANT, VARIANT*) override { return Code(6); }
    HRESULT GetAccessibleState(VARIANT, VARIANT*) override { return Code(7); }
    HRESULT GetAccessibleHelp(VARIANT, BSTR*) override { return Code(8); }
    HRESULT GetAccessibleHelpTopic(BSTR*, VARIANT, LONG*) override { return Code(9); }
    HRESULT GetAccessibleKeyboardShortcut(VARIANT, BSTR*) override { return Code(10); }
    HRESULT GetAccessibleFocus(VARIANT*) override { return Code(11); }
    HRESULT GetAccessibleSelection(VARIANT*) override { return Code(12); }
    HRESULT GetAccessibleDefaultAction(VARIANT, BSTR*) override { return Code(13); }
    HRESULT AccessibleSelect(LONG flags, VARIANT) override { return flags == 14 ? Code(14) : E_INVALIDARG; }
    HRESULT AccessibleLocation(LONG*, LONG*, LONG*, LONG*, VARIANT) override { return Code(15); }
    HRESULT AccessibleNavigate(LONG dir, VARIANT, VARIANT*) override
    {
        return dir == 16 ? Code(16) : E_INVALIDARG;
    }
    HRESULT AccessibleHitTest(LONG x, LONG y, VARIANT*) override
    {
        return x == 17 && y == 18 ? Code(17) : E_INVALIDARG;
    }
    HRESULT AccessibleDoDefaultAction(VARIANT) override { return Code(18); }
    HRESULT PutAccessibleName(VARIANT, BSTR) override { return Code(19); }
    HRESULT PutAccessibleValue(VARIANT, BSTR) override { AfxThrowMemoryException(); }

    DECLARE_INTERFACE_MAP()
};

BEGIN_INTERFACE_MAP(NumberedAccessible, CCmdTarget)
    INTERFACE_PART(NumberedAccessible, IID_IAccessible, Accessible)
END_INTERFACE_MAP()

struct WinEvent
{
    DWORD dwEvent;
    HWND hWnd;
    LONG idObject;
    LONG idChild;
};
std::vector<WinEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    g_events.push_back({dwEvent, hWnd, idObject, idChild});
}
}  // namespace

TEST(Accessible, AClientOfARealWindowGetsTheDefaultAnswers)
{
    ComScope com;
    AccessibleWindow wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, AfxRegisterWndClass(0), u"accessible", WS_POPUP, 10, 10, 100, 50, nullptr, nullptr));
    IAccessible* pAccessible = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(wnd.GetSafeHwnd(), OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&pAccessible)),
              S_OK);
    ASSERT_NE(pAccessible, nullptr);
    VARIANT varFocus;
    VariantInit(&varFocus);
    EXPECT_EQ(pAccessible->get_accFocus(&varFocus), S_FALSE);
    VARIANT varSelf;
    VariantInit(&varSelf);
    varSelf.vt = VT_I4;
    varSelf.lVal = CHILDID_SELF;
    BSTR bstrName = nullptr;
    EXPECT_EQ(pAccessible->get_accName(varSelf, &bstrName), E_NOTIMPL);
    VARIANT varSelection;
    VariantInit(&varSelection);
    EXPECT_EQ(pAccessible->get_accSelection(&varSelection), S_FALSE);
    pAccessible->Release();

    // The toolkit's own binding reaches the same object.
    IAccessible* pAgain = nullptr;
    EXPECT_EQ(wnd.AccessibleObjectFromWindow(wnd.GetSafeHwnd(), OBJID_CLIENT, IID_IAccessible,
                                             reinterpret_cast<void**>(&pAgain)),
              S_OK);
    ASSERT_NE(pAgain, nullptr);
    EXPECT_EQ(pAgain->get_accFocus(&varFocus), S_FALSE);
    pAgain->Release();
    wnd.DestroyWindow();
}

TEST(Accessible, EveryMethodReachesTheHandlerAtItsPosition)
{
    NumberedAccessible* pObject = new NumberedAccessible();
    IAccessible* p = nullptr;
    ASSERT_EQ(pObject->ExternalQueryInterface(&IID_IAccessible, reinterpret_cast<void**>(&p)), S_OK);
    ASSERT_EQ(p, &pObject->m_xAccessible);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = 3;
    VARIANT out;
    VariantInit(&out);
    IDispatch* pDispatch = nullptr;
    LONG n = 0;
    BSTR b = nullptr;
    EXPECT_EQ(p->get_accParent(&pDispatch), Code(0));
    EXPECT_EQ(p->get_accChildCount(&n), Code(1));
    EXPECT_EQ(p->get_accChild(v, &pDispatch), Code(2));
    EXPECT_EQ(p->get_accName(v, &b), Code(3)) << "the VARIANT arrives as given";
    EXPECT_EQ(p->get_accValue(v, &b), Code(4));
    EXPECT_EQ(p->get_accDescription(v, &b), Code(5));
    EXPECT_EQ(p->get_accRole(v, &out), Code(6));
    EXPECT_EQ(p->get_accState(v, &out), Code(7));
    EXPECT_EQ(p->get_accHelp(v, &b), Code(8));
    EXPECT_EQ(p->get_accHelpTopic(&b, v, &n), Code(9));
    EXPECT_EQ(p->get_accKeyboardShortcut(v, &b), Code(10));
    EXPECT_EQ(p->get_accFocus(&out), Code(11));
    EXPECT_EQ(p->get_accSelection(&out), Code(12));
    EXPECT_EQ(p->get_accDefaultAction(v, &b), Code(13));
    EXPECT_EQ(p->accSelect(14, v), Code(14));
    EXPECT_EQ(p->accLocation(&n, &n, &n, &n, v), Code(15));
    EXPECT_EQ(p->accNavigate(16, v, &out), Code(16));
    EXPECT_EQ(p->accHitTest(17, 18, &out), Code(17));
    EXPECT_EQ(p->accDoDefaultAction(v), Code(18));
    EXPECT_EQ(p->put_accName(v, b), Code(19));
    EXPECT_EQ(p->put_accValue(v, b), E_OUTOFMEMORY) << "a thrown handler becomes an error code";
    UINT nTypes = 0;
    EXPECT_EQ(p->GetTypeInfoCount(&nTypes), E_NOTIMPL);
    EXPECT_EQ(p->AddRef(), 3u);
    EXPECT_EQ(p->Release(), 2u);
    p->Release();
    pObject->InternalRelease();
}

TEST(Accessible, EventsReachAWinEventHook)
{
    AccessibleWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), u"events", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
    HWINEVENTHOOK hHook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                          &OnWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hHook, nullptr);
    g_events.clear();
    wnd.AccessibleNotifyWinEvent(EVENT_OBJECT_NAMECHANGE, wnd.GetSafeHwnd(), OBJID_CLIENT, 3);
    wnd.AccessibleNotifyWinEvent(EVENT_OBJECT_NAMECHANGE, wnd.GetSafeHwnd(), OBJID_CLIENT, 4);
    for (int i = 0; i < 50 && g_events.size() < 2; ++i)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (g_events.size() < 2)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    UnhookWinEvent(hHook);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0].hWnd, wnd.GetSafeHwnd());
    EXPECT_EQ(g_events[0].idObject, OBJID_CLIENT);
    EXPECT_EQ(g_events[0].idChild, 3);
    EXPECT_EQ(g_events[1].idChild, 4);
    wnd.DestroyWindow();
}

TEST(Accessible, ChildIndexFromTheVariantAClientSent)
{
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), 0) << "empty is the object itself";
    v.vt = VT_I4;
    v.lVal = 12;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), 12);
    v.vt = VT_I2;
    v.iVal = 5;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), 5);
    LONG lValue = 9;
    v.vt = VT_BYREF | VT_I4;
    v.plVal = &lValue;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), 9);
    v.plVal = nullptr;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), -1);
    SHORT sValue = 6;
    v.vt = VT_BYREF | VT_I2;
    v.piVal = &sValue;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), 6);

    VARIANT inner, outer;
    VariantInit(&inner);
    inner.vt = VT_I4;
    inner.lVal = 7;
    VariantInit(&outer);
    outer.vt = VT_BYREF | VT_VARIANT;
    outer.pvarVal = &inner;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&outer), 7);
    // A variant referring to itself ends instead of looping.
    outer.pvarVal = &outer;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&outer), -1);

    v.vt = VT_BSTR;
    v.bstrVal = nullptr;
    EXPECT_EQ(CQVTAccessible::GetChildIndex(&v), -1);
    EXPECT_EQ(CQVTAccessible::GetChildIndex(nullptr), -1);
}
