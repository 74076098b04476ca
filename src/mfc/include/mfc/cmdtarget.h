// Command targets: message maps, command routing, command-UI updates,
// reference counting, interface maps and dispatch maps.
#pragma once

#include <type_traits>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CWinThread;
class CMenu;
class CDC;
class CScrollBar;
struct AFX_MODULE_STATE;

#ifndef AFX_MSG_CALL
#define AFX_MSG_CALL
#endif

// A pointer to any message-map handler, stored with its signature code.
typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);
typedef void (AFX_MSG_CALL CWnd::*AFX_PMSGW)(void);
typedef void (AFX_MSG_CALL CWinThread::*AFX_PMSGT)(void);

// Reinterprets one member-function pointer as another without the cast
// warnings; the dispatcher converts back to the exact type stored.
template <class To, class From>
inline To AfxMsgPtrCast(From from)
{
    static_assert(sizeof(To) == sizeof(From), "member pointers differ in size");
    union
    {
        From f;
        To t;
    } u;
    u.f = from;
    return u.t;
}

// The handler signatures a message-map entry can hold.
enum AfxSig : UINT_PTR
{
    AfxSig_end = 0,
    // command-target handlers
    AfxSigCmd_v,         // void ()
    AfxSigCmd_b,         // BOOL ()
    AfxSigCmd_RANGE,     // void (UINT)
    AfxSigCmd_EX,        // BOOL (UINT)
    AfxSigCmdUI,         // void (CCmdUI*)
    AfxSigNotify_v,      // void (NMHDR*, LRESULT*)
    AfxSigNotify_b,      // BOOL (NMHDR*, LRESULT*)
    AfxSigNotify_RANGE,  // void (UINT, NMHDR*, LRESULT*)
    AfxSigNotify_EX,     // BOOL (UINT, NMHDR*, LRESULT*)
    // window-message handlers
    AfxSig_lwl,        // LRESULT (WPARAM, LPARAM)
    AfxSig_vv,         // void ()
    AfxSig_bv,         // BOOL ()
    AfxSig_lv,         // LRESULT ()
    AfxSig_wv,         // UINT ()
    AfxSig_hv,         // HCURSOR ()
    AfxSig_is,         // int (LPCREATESTRUCT)
    AfxSig_bs,         // BOOL (LPCREATESTRUCT)
    AfxSig_bD,         // BOOL (CDC*)
    AfxSig_vwii,       // void (UINT, int, int)
    AfxSig_vii,        // void (int, int)
    AfxSig_vt,         // void (UINT_PTR)
    AfxSig_vwp,        // void (UINT, CPoint)
    AfxSig_bwsp,       // BOOL (UINT, short, CPoint)
    AfxSig_bWww,       // BOOL (CWnd*, UINT, UINT)
    AfxSig_iWww,       // int (CWnd*, UINT, UINT)
    AfxSig_vwww,       // void (UINT, UINT, UINT)
    AfxSig_vwl,        // void (UINT, LPARAM)
    AfxSig_lp,         // LRESULT (CPoint)
    AfxSig_vbNCCALC,   // void (BOOL, NCCALCSIZE_PARAMS*)
    AfxSig_bb,         // BOOL (BOOL)
    AfxSig_vwWb,       // void (UINT, CWnd*, BOOL)
    AfxSig_vbh,        // void (BOOL, DWORD)
    AfxSig_vW,         // void (CWnd*)
    AfxSig_hDWw,       // HBRUSH (CDC*, CWnd*, UINT)      WM_CTLCOLOR
    AfxSig_hDw,        // HBRUSH (CDC*, UINT)             reflected WM_CTLCOLOR
    AfxSig_viDRAW,     // void (int, LPDRAWITEMSTRUCT)
    AfxSig_viMEASURE,  // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_viDELETE,   // void (int, LPDELETEITEMSTRUCT)
    AfxSig_iiCOMPARE,  // int (int, LPCOMPAREITEMSTRUCT)
    AfxSig_vDRAW,      // void (LPDRAWITEMSTRUCT)          reflected
    AfxSig_vMEASURE,   // void (LPMEASUREITEMSTRUCT)       reflected
    AfxSig_vDELETE,    // void (LPDELETEITEMSTRUCT)        reflected
    AfxSig_iCOMPARE,   // int (LPCOMPAREITEMSTRUCT)        reflected
    AfxSig_vwwx,       // void (UINT, UINT, CScrollBar*)
    AfxSig_vww,        // void (UINT, UINT)
    AfxSig_vMMI,       // void (MINMAXINFO*)
    AfxSig_vPOS,       // void (WINDOWPOS*)
    AfxSig_vbw,        // void (BOOL, UINT)
    AfxSig_vwSz,       // void (UINT, LPCTSTR)
    AfxSig_vWp,        // void (CWnd*, CPoint)
    AfxSig_vMwb,       // void (CMenu*, UINT, BOOL)
    AfxSig_vM,         // void (CMenu*)
    AfxSig_vMw,        // void (CMenu*, UINT)
    AfxSig_lwwM,       // LRESULT (UINT, UINT, CMenu*)
    AfxSig_vwwh,       // void (UINT, UINT, HMENU)
    AfxSig_vwW,        // void (UINT, CWnd*)
    AfxSig_vb,         // void (BOOL)
    AfxSig_viSS,       // void (int, LPSTYLESTRUCT)
    AfxSig_vHDROP,     // void (HDROP)
    AfxSig_bWCDS,      // BOOL (CWnd*, COPYDATASTRUCT*)
    AfxSig_bHELPINFO,  // BOOL (HELPINFO*)
    AfxSig_vwRECT,     // void (UINT, LPRECT)
    AfxSig_vwlThread,  // void (WPARAM, LPARAM) on a CWinThread
    AfxSig_bwl,        // BOOL (UINT, DWORD_PTR)
    AfxSig_wwl,        // UINT (UINT, LPARAM)
    AfxSig_lDw,        // LRESULT (CDC*, UINT)
    AfxSig_vwM,        // void (UINT, CMenu*)
    AfxSig_vwwp,       // void (UINT, UINT, CPoint)
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;  // window message
    UINT nCode;     // control or notification code
    UINT nID;       // control id, or 0 for window messages
    UINT nLastID;   // last id of a range
    UINT_PTR nSig;  // AfxSig code, or the address of a registered message id
    AFX_PMSG pfn;   // the handler
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)                                           \
    template <typename type_name>                                                                            \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const                                             \
    {                                                                                                        \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    template <typename type_name>                                                                            \
    const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap()                                               \
    {                                                                                                        \
        typedef theClass<type_name> ThisClass;                                                               \
        typedef baseClass TheBaseClass;                                                                      \
        (void)sizeof(ThisClass*);                                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                        \
    {                                                                                                        \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        typedef theClass ThisClass;                                                                          \
        typedef baseClass TheBaseClass;                                                                      \
        (void)sizeof(ThisClass*);                                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                                    \
    {                                                                                                        \
        0, 0, 0, 0, AfxSig_end, (AFX_PMSG) nullptr                                                           \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

// Commands and notifications routed through OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_EVENT ((UINT)(-2))
#define CN_OLECOMMAND ((UINT)(-3))
#define CN_OLE_UNREGISTER ((UINT)(-4))

// Notifications sent back to the child that sent them.
#define WM_REFLECT_BASE 0xBC00
// The WM_CTLCOLOR of 16-bit Windows, used inside the framework for all
// WM_CTLCOLORxxx messages.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// Typed casts of handlers into entries.
#define AFX_CMDFN(T, fn) AfxMsgPtrCast<AFX_PMSG>(static_cast<T>(fn))
#define AFX_WNDFN(T, fn) AfxMsgPtrCast<AFX_PMSG>(static_cast<T>(fn))

#define ON_COMMAND(id, memberFxn)                                                                            \
    {WM_COMMAND, CN_COMMAND,  (WORD)(id),                                                                    \
     (WORD)(id), AfxSigCmd_v, AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(void), memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    {WM_COMMAND,     CN_COMMAND,      (WORD)(id),                                                            \
     (WORD)(idLast), AfxSigCmd_RANGE, AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(UINT), memberFxn)},
#define ON_COMMAND_EX(id, memberFxn)                                                                         \
    {WM_COMMAND, CN_COMMAND,   (WORD)(id),                                                                   \
     (WORD)(id), AfxSigCmd_EX, AFX_CMDFN(BOOL(AFX_MSG_CALL CCmdTarget::*)(UINT), memberFxn)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                           \
    {WM_COMMAND,     CN_COMMAND,   (WORD)(id),                                                               \
     (WORD)(idLast), AfxSigCmd_EX, AFX_CMDFN(BOOL(AFX_MSG_CALL CCmdTarget::*)(UINT), memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id),                                                           \
     (WORD)(id), AfxSigCmdUI,          AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(CCmdUI*), memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,     CN_UPDATE_COMMAND_UI, (WORD)(id),                                                       \
     (WORD)(idLast), AfxSigCmdUI,          AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(CCmdUI*), memberFxn)},
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    {WM_NOTIFY,      (WORD)(int)(wNotifyCode),                                                               \
     (WORD)(id),     (WORD)(id),                                                                             \
     AfxSigNotify_v, AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                  \
    {WM_NOTIFY,          (WORD)(int)(wNotifyCode),                                                           \
     (WORD)(id),         (WORD)(idLast),                                                                     \
     AfxSigNotify_RANGE, AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                             \
    {WM_NOTIFY,       (WORD)(int)(wNotifyCode),                                                              \
     (WORD)(id),      (WORD)(id),                                                                            \
     AfxSigNotify_EX, AFX_CMDFN(BOOL(AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                               \
    {WM_NOTIFY,       (WORD)(int)(wNotifyCode),                                                              \
     (WORD)(id),      (WORD)(idLast),                                                                        \
     AfxSigNotify_EX, AFX_CMDFN(BOOL(AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id),                                                            \
     (WORD)(id), AfxSigCmd_v,         AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(void), memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                 \
    {WM_COMMAND,     (WORD)(wNotifyCode), (WORD)(id),                                                        \
     (WORD)(idLast), AfxSigCmd_RANGE,     AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(UINT), memberFxn)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                           \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                           \
     (WORD)(wNotifyCode),                                                                                    \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSigCmd_v,                                                                                            \
     AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(void), memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                        \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                           \
     (WORD)(wNotifyCode),                                                                                    \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSigCmd_b,                                                                                            \
     AFX_CMDFN(BOOL(AFX_MSG_CALL CCmdTarget::*)(void), memberFxn)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                            \
    {WM_NOTIFY + WM_REFLECT_BASE,                                                                            \
     (WORD)(int)(wNotifyCode),                                                                               \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSigNotify_v,                                                                                         \
     AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                         \
    {WM_NOTIFY + WM_REFLECT_BASE,                                                                            \
     (WORD)(int)(wNotifyCode),                                                                               \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSigNotify_b,                                                                                         \
     AFX_CMDFN(BOOL(AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                                              \
    {WM_COMMAND + WM_REFLECT_BASE,                                                                           \
     (WORD)CN_UPDATE_COMMAND_UI,                                                                             \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSigCmdUI,                                                                                            \
     AFX_CMDFN(void(AFX_MSG_CALL CCmdTarget::*)(CCmdUI*), memberFxn)},

// Control notification shorthands.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)

// Window messages. Handlers have MFC's names and signatures.
#define AFX_ON_WM(msg, sig, T, name) {msg, 0, 0, 0, sig, AFX_WNDFN(T, &ThisClass::name)},

#define ON_MESSAGE(message, memberFxn)                                                                       \
    {(UINT)(message),                                                                                        \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSig_lwl,                                                                                             \
     AFX_WNDFN(LRESULT(AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM), memberFxn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    {0xC000,                                                                                                 \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     (UINT_PTR)(UINT*)(&nMessageVariable),                                                                   \
     AFX_WNDFN(LRESULT(AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM), memberFxn)},
#define ON_THREAD_MESSAGE(message, memberFxn)                                                                \
    {(UINT)(message),                                                                                        \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     AfxSig_vwlThread,                                                                                       \
     AfxMsgPtrCast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>(memberFxn))},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                            \
    {0xC000,                                                                                                 \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     (UINT_PTR)(UINT*)(&nMessageVariable),                                                                   \
     AfxMsgPtrCast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>(memberFxn))},

#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, AfxSig_is, int (AFX_MSG_CALL CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE()                                                                                     \
    AFX_ON_WM(WM_NCCREATE, AfxSig_bs, BOOL (AFX_MSG_CALL CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_ON_WM(WM_NCDESTROY, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnNcDestroy)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_ON_WM(WM_NCPAINT, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnNcPaint)
#define ON_WM_SYNCPAINT() AFX_ON_WM(WM_SYNCPAINT, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnSyncPaint)
#define ON_WM_ERASEBKGND()                                                                                   \
    AFX_ON_WM(WM_ERASEBKGND, AfxSig_bD, BOOL (AFX_MSG_CALL CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_vwii, void (AFX_MSG_CALL CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_ON_WM(WM_MOVE, AfxSig_vii, void (AFX_MSG_CALL CWnd::*)(int, int), OnMove)
#define ON_WM_SIZING()                                                                                       \
    AFX_ON_WM(WM_SIZING, AfxSig_vwRECT, void (AFX_MSG_CALL CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_MOVING()                                                                                       \
    AFX_ON_WM(WM_MOVING, AfxSig_vwRECT, void (AFX_MSG_CALL CWnd::*)(UINT, LPRECT), OnMoving)
#define ON_WM_ENTERSIZEMOVE()                                                                                \
    AFX_ON_WM(WM_ENTERSIZEMOVE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnEnterSizeMove)
#define ON_WM_EXITSIZEMOVE()                                                                                 \
    AFX_ON_WM(WM_EXITSIZEMOVE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnExitSizeMove)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, AfxSig_vt, void (AFX_MSG_CALL CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_LBUTTONDOWN()                                                                                  \
    AFX_ON_WM(WM_LBUTTONDOWN, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP()                                                                                    \
    AFX_ON_WM(WM_LBUTTONUP, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK()                                                                                \
    AFX_ON_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()                                                                                  \
    AFX_ON_WM(WM_RBUTTONDOWN, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP()                                                                                    \
    AFX_ON_WM(WM_RBUTTONUP, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK()                                                                                \
    AFX_ON_WM(WM_RBUTTONDBLCLK, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN()                                                                                  \
    AFX_ON_WM(WM_MBUTTONDOWN, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP()                                                                                    \
    AFX_ON_WM(WM_MBUTTONUP, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK()                                                                                \
    AFX_ON_WM(WM_MBUTTONDBLCLK, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMButtonDblClk)
#define ON_WM_MOUSEMOVE()                                                                                    \
    AFX_ON_WM(WM_MOUSEMOVE, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL()                                                                                   \
    AFX_ON_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (AFX_MSG_CALL CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_ON_WM(WM_MOUSELEAVE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnMouseLeave)
#define ON_WM_MOUSEHOVER()                                                                                   \
    AFX_ON_WM(WM_MOUSEHOVER, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnMouseHover)
#define ON_WM_MOUSEACTIVATE()                                                                                \
    AFX_ON_WM(WM_MOUSEACTIVATE, AfxSig_iWww, int (AFX_MSG_CALL CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_ON_WM(WM_SETCURSOR, AfxSig_bWww, BOOL (AFX_MSG_CALL CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_KEYDOWN()                                                                                      \
    AFX_ON_WM(WM_KEYDOWN, AfxSig_vwww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_WM(WM_KEYUP, AfxSig_vwww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, AfxSig_vwww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN()                                                                                   \
    AFX_ON_WM(WM_SYSKEYDOWN, AfxSig_vwww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP()                                                                                     \
    AFX_ON_WM(WM_SYSKEYUP, AfxSig_vwww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR()                                                                                      \
    AFX_ON_WM(WM_SYSCHAR, AfxSig_vwww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT), OnSysChar)
#define ON_WM_SYSCOMMAND()                                                                                   \
    AFX_ON_WM(WM_SYSCOMMAND, AfxSig_vwl, void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_PARENTNOTIFY()                                                                                 \
    AFX_ON_WM(WM_PARENTNOTIFY, AfxSig_vwl, void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_NCHITTEST()                                                                                    \
    AFX_ON_WM(WM_NCHITTEST, AfxSig_lp, LRESULT (AFX_MSG_CALL CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_NCCALCSIZE()                                                                                   \
    AFX_ON_WM(WM_NCCALCSIZE, AfxSig_vbNCCALC, void (AFX_MSG_CALL CWnd::*)(BOOL, NCCALCSIZE_PARAMS*),         \
              OnNcCalcSize)
#define ON_WM_NCACTIVATE()                                                                                   \
    AFX_ON_WM(WM_NCACTIVATE, AfxSig_bb, BOOL (AFX_MSG_CALL CWnd::*)(BOOL), OnNcActivate)
#define ON_WM_NCLBUTTONDOWN()                                                                                \
    AFX_ON_WM(WM_NCLBUTTONDOWN, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP()                                                                                  \
    AFX_ON_WM(WM_NCLBUTTONUP, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK()                                                                              \
    AFX_ON_WM(WM_NCLBUTTONDBLCLK, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN()                                                                                \
    AFX_ON_WM(WM_NCRBUTTONDOWN, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP()                                                                                  \
    AFX_ON_WM(WM_NCRBUTTONUP, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCMBUTTONDOWN()                                                                                \
    AFX_ON_WM(WM_NCMBUTTONDOWN, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMButtonDown)
#define ON_WM_NCMOUSEMOVE()                                                                                  \
    AFX_ON_WM(WM_NCMOUSEMOVE, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCMOUSEHOVER()                                                                                 \
    AFX_ON_WM(WM_NCMOUSEHOVER, AfxSig_vwp, void (AFX_MSG_CALL CWnd::*)(UINT, CPoint), OnNcMouseHover)
#define ON_WM_NCMOUSELEAVE()                                                                                 \
    AFX_ON_WM(WM_NCMOUSELEAVE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnNcMouseLeave)
#define ON_WM_ACTIVATE()                                                                                     \
    AFX_ON_WM(WM_ACTIVATE, AfxSig_vwWb, void (AFX_MSG_CALL CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP()                                                                                  \
    AFX_ON_WM(WM_ACTIVATEAPP, AfxSig_vbh, void (AFX_MSG_CALL CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, AfxSig_vW, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, AfxSig_vW, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED()                                                                               \
    AFX_ON_WM(WM_CAPTURECHANGED, AfxSig_vW, void (AFX_MSG_CALL CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CTLCOLOR()                                                                                     \
    AFX_ON_WM(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (AFX_MSG_CALL CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_CTLCOLOR_REFLECT()                                                                             \
    AFX_ON_WM(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_hDw, HBRUSH(AFX_MSG_CALL CWnd::*)(CDC*, UINT), CtlColor)
#define ON_WM_DRAWITEM()                                                                                     \
    AFX_ON_WM(WM_DRAWITEM, AfxSig_viDRAW, void (AFX_MSG_CALL CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM()                                                                                  \
    AFX_ON_WM(WM_MEASUREITEM, AfxSig_viMEASURE, void (AFX_MSG_CALL CWnd::*)(int, LPMEASUREITEMSTRUCT),       \
              OnMeasureItem)
#define ON_WM_DELETEITEM()                                                                                   \
    AFX_ON_WM(WM_DELETEITEM, AfxSig_viDELETE, void (AFX_MSG_CALL CWnd::*)(int, LPDELETEITEMSTRUCT),          \
              OnDeleteItem)
#define ON_WM_COMPAREITEM()                                                                                  \
    AFX_ON_WM(WM_COMPAREITEM, AfxSig_iiCOMPARE, int (AFX_MSG_CALL CWnd::*)(int, LPCOMPAREITEMSTRUCT),        \
              OnCompareItem)
#define ON_WM_DRAWITEM_REFLECT()                                                                             \
    AFX_ON_WM(WM_DRAWITEM + WM_REFLECT_BASE, AfxSig_vDRAW, void(AFX_MSG_CALL CWnd::*)(LPDRAWITEMSTRUCT),     \
              DrawItem)
#define ON_WM_MEASUREITEM_REFLECT()                                                                          \
    AFX_ON_WM(WM_MEASUREITEM + WM_REFLECT_BASE, AfxSig_vMEASURE,                                             \
              void(AFX_MSG_CALL CWnd::*)(LPMEASUREITEMSTRUCT), MeasureItem)
#define ON_WM_DELETEITEM_REFLECT()                                                                           \
    AFX_ON_WM(WM_DELETEITEM + WM_REFLECT_BASE, AfxSig_vDELETE,                                               \
              void(AFX_MSG_CALL CWnd::*)(LPDELETEITEMSTRUCT), DeleteItem)
#define ON_WM_COMPAREITEM_REFLECT()                                                                          \
    AFX_ON_WM(WM_COMPAREITEM + WM_REFLECT_BASE, AfxSig_iCOMPARE,                                             \
              int(AFX_MSG_CALL CWnd::*)(LPCOMPAREITEMSTRUCT), CompareItem)
#define ON_WM_HSCROLL()                                                                                      \
    AFX_ON_WM(WM_HSCROLL, AfxSig_vwwx, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL()                                                                                      \
    AFX_ON_WM(WM_VSCROLL, AfxSig_vwwx, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_HSCROLL_REFLECT()                                                                              \
    AFX_ON_WM(WM_HSCROLL + WM_REFLECT_BASE, AfxSig_vww, void(AFX_MSG_CALL CWnd::*)(UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT()                                                                              \
    AFX_ON_WM(WM_VSCROLL + WM_REFLECT_BASE, AfxSig_vww, void(AFX_MSG_CALL CWnd::*)(UINT, UINT), VScroll)
#define ON_WM_PARENTNOTIFY_REFLECT()                                                                         \
    AFX_ON_WM(WM_PARENTNOTIFY + WM_REFLECT_BASE, AfxSig_vwl, void(AFX_MSG_CALL CWnd::*)(UINT, LPARAM),       \
              ParentNotify)
#define ON_WM_GETMINMAXINFO()                                                                                \
    AFX_ON_WM(WM_GETMINMAXINFO, AfxSig_vMMI, void (AFX_MSG_CALL CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING()                                                                            \
    AFX_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void (AFX_MSG_CALL CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED()                                                                             \
    AFX_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void (AFX_MSG_CALL CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_SHOWWINDOW()                                                                                   \
    AFX_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, void (AFX_MSG_CALL CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnClose)
#define ON_WM_QUERYENDSESSION()                                                                              \
    AFX_ON_WM(WM_QUERYENDSESSION, AfxSig_bv, BOOL (AFX_MSG_CALL CWnd::*)(), OnQueryEndSession)
#define ON_WM_ENDSESSION()                                                                                   \
    AFX_ON_WM(WM_ENDSESSION, AfxSig_vb, void (AFX_MSG_CALL CWnd::*)(BOOL), OnEndSession)
#define ON_WM_SETTINGCHANGE()                                                                                \
    AFX_ON_WM(WM_SETTINGCHANGE, AfxSig_vwSz, void (AFX_MSG_CALL CWnd::*)(UINT, LPCTSTR), OnSettingChange)
#define ON_WM_SYSCOLORCHANGE()                                                                               \
    AFX_ON_WM(WM_SYSCOLORCHANGE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnSysColorChange)
#define ON_WM_CONTEXTMENU()                                                                                  \
    AFX_ON_WM(WM_CONTEXTMENU, AfxSig_vWp, void (AFX_MSG_CALL CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_INITMENU() AFX_ON_WM(WM_INITMENU, AfxSig_vM, void (AFX_MSG_CALL CWnd::*)(CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP()                                                                                \
    AFX_ON_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void (AFX_MSG_CALL CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_UNINITMENUPOPUP()                                                                              \
    AFX_ON_WM(WM_UNINITMENUPOPUP, AfxSig_vMw, void (AFX_MSG_CALL CWnd::*)(CMenu*, UINT), OnUnInitMenuPopup)
#define ON_WM_MENUSELECT()                                                                                   \
    AFX_ON_WM(WM_MENUSELECT, AfxSig_vwwh, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_MENUCHAR()                                                                                     \
    AFX_ON_WM(WM_MENUCHAR, AfxSig_lwwM, LRESULT (AFX_MSG_CALL CWnd::*)(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_ENTERMENULOOP()                                                                                \
    AFX_ON_WM(WM_ENTERMENULOOP, AfxSig_vb, void (AFX_MSG_CALL CWnd::*)(BOOL), OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP()                                                                                 \
    AFX_ON_WM(WM_EXITMENULOOP, AfxSig_vb, void (AFX_MSG_CALL CWnd::*)(BOOL), OnExitMenuLoop)
#define ON_WM_ENTERIDLE()                                                                                    \
    AFX_ON_WM(WM_ENTERIDLE, AfxSig_vwW, void (AFX_MSG_CALL CWnd::*)(UINT, CWnd*), OnEnterIdle)
#define ON_WM_GETDLGCODE() AFX_ON_WM(WM_GETDLGCODE, AfxSig_wv, UINT (AFX_MSG_CALL CWnd::*)(), OnGetDlgCode)
#define ON_WM_ENABLE() AFX_ON_WM(WM_ENABLE, AfxSig_vb, void (AFX_MSG_CALL CWnd::*)(BOOL), OnEnable)
#define ON_WM_STYLECHANGED()                                                                                 \
    AFX_ON_WM(WM_STYLECHANGED, AfxSig_viSS, void (AFX_MSG_CALL CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_STYLECHANGING()                                                                                \
    AFX_ON_WM(WM_STYLECHANGING, AfxSig_viSS, void (AFX_MSG_CALL CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_THEMECHANGED()                                                                                 \
    AFX_ON_WM(WM_THEMECHANGED, AfxSig_lv, LRESULT (AFX_MSG_CALL CWnd::*)(), OnThemeChanged)
#define ON_WM_DWMCOMPOSITIONCHANGED()                                                                        \
    AFX_ON_WM(WM_DWMCOMPOSITIONCHANGED, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnCompositionChanged)
#define ON_WM_DROPFILES()                                                                                    \
    AFX_ON_WM(WM_DROPFILES, AfxSig_vHDROP, void (AFX_MSG_CALL CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_COPYDATA()                                                                                     \
    AFX_ON_WM(WM_COPYDATA, AfxSig_bWCDS, BOOL (AFX_MSG_CALL CWnd::*)(CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_HELPINFO()                                                                                     \
    AFX_ON_WM(WM_HELPINFO, AfxSig_bHELPINFO, BOOL (AFX_MSG_CALL CWnd::*)(HELPINFO*), OnHelpInfo)
#define ON_WM_CANCELMODE() AFX_ON_WM(WM_CANCELMODE, AfxSig_vv, void (AFX_MSG_CALL CWnd::*)(), OnCancelMode)
#define ON_WM_QUERYDRAGICON()                                                                                \
    AFX_ON_WM(WM_QUERYDRAGICON, AfxSig_hv, HCURSOR (AFX_MSG_CALL CWnd::*)(), OnQueryDragIcon)
#define ON_WM_DEVICECHANGE()                                                                                 \
    AFX_ON_WM(WM_DEVICECHANGE, AfxSig_bwl, BOOL (AFX_MSG_CALL CWnd::*)(UINT, DWORD_PTR), OnDeviceChange)
#define ON_WM_POWERBROADCAST()                                                                               \
    AFX_ON_WM(WM_POWERBROADCAST, AfxSig_wwl, UINT (AFX_MSG_CALL CWnd::*)(UINT, LPARAM), OnPowerBroadcast)
#define ON_WM_PRINTCLIENT()                                                                                  \
    AFX_ON_WM(WM_PRINTCLIENT, AfxSig_lDw, LRESULT (AFX_MSG_CALL CWnd::*)(CDC*, UINT), OnPrintClient)
#define ON_WM_UPDATEUISTATE()                                                                                \
    AFX_ON_WM(WM_UPDATEUISTATE, AfxSig_vww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT), OnUpdateUIState)
#define ON_WM_CHANGEUISTATE()                                                                                \
    AFX_ON_WM(WM_CHANGEUISTATE, AfxSig_vww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT), OnChangeUIState)
#define ON_WM_QUERYUISTATE()                                                                                 \
    AFX_ON_WM(WM_QUERYUISTATE, AfxSig_wv, UINT (AFX_MSG_CALL CWnd::*)(), OnQueryUIState)
#define ON_WM_MENURBUTTONUP()                                                                                \
    AFX_ON_WM(WM_MENURBUTTONUP, AfxSig_vwM, void (AFX_MSG_CALL CWnd::*)(UINT, CMenu*), OnMenuRButtonUp)
#define ON_WM_XBUTTONDOWN()                                                                                  \
    AFX_ON_WM(WM_XBUTTONDOWN, AfxSig_vwwp, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CPoint), OnXButtonDown)
#define ON_WM_XBUTTONUP()                                                                                    \
    AFX_ON_WM(WM_XBUTTONUP, AfxSig_vwwp, void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CPoint), OnXButtonUp)
#define ON_WM_WTSSESSION_CHANGE()                                                                            \
    AFX_ON_WM(WM_WTSSESSION_CHANGE, AfxSig_vww, void (AFX_MSG_CALL CWnd::*)(UINT, UINT), OnSessionChange)

// Command-UI state for one command: a menu item, a control or a bar button.
class CCmdUI
{
public:
    UINT m_nID;
    UINT m_nIndex;
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;
    CWnd* m_pOther;
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;
    CMenu* m_pParentMenu;

    CCmdUI();
    virtual ~CCmdUI() {}
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting();
    // Asks the target for the state; with bDisableIfNoHndler, a command that
    // no one handles is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Interface maps: COM interfaces implemented by nested classes.
struct AFX_INTERFACEMAP_ENTRY
{
    const void* piid;  // null for aggregates and the end entry
    size_t nOffset;    // offset of the nested interface object
};

struct AFX_INTERFACEMAP
{
    const AFX_INTERFACEMAP* (*pfnGetInterfaceMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

#define DECLARE_INTERFACE_MAP()                                                                              \
private:                                                                                                     \
    static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[];                                                 \
                                                                                                             \
protected:                                                                                                   \
    static const AFX_INTERFACEMAP interfaceMap;                                                              \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();                                                    \
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;

#define BEGIN_INTERFACE_MAP(theClass, theBase)                                                               \
    const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap()                                                  \
    {                                                                                                        \
        return &theClass::interfaceMap;                                                                      \
    }                                                                                                        \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const                                                \
    {                                                                                                        \
        return GetThisInterfaceMap();                                                                        \
    }                                                                                                        \
    const AFX_INTERFACEMAP theClass::interfaceMap = {&theBase::GetThisInterfaceMap,                          \
                                                     &theClass::_interfaceEntries[0]};                       \
    const AFX_INTERFACEMAP_ENTRY theClass::_interfaceEntries[] = {
#define INTERFACE_PART(theClass, iid, localClass) {&iid, offsetof(theClass, m_x##localClass)},
#define INTERFACE_AGGREGATE(theClass, theAggr) {nullptr, offsetof(theClass, theAggr)},
#define END_INTERFACE_MAP()                                                                                  \
    {                                                                                                        \
        nullptr, (size_t)-1                                                                                  \
    }                                                                                                        \
    }                                                                                                        \
    ;

#define BEGIN_INTERFACE_PART(localClass, baseClass)                                                          \
    class X##localClass : public baseClass                                                                   \
    {                                                                                                        \
    public:                                                                                                  \
        STDMETHOD_(ULONG, AddRef)();                                                                         \
        STDMETHOD_(ULONG, Release)();                                                                        \
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID* ppvObj);
#define BEGIN_INTERFACE_PART_DERIVE(localClass, baseClass) BEGIN_INTERFACE_PART(localClass, baseClass)
#define INIT_INTERFACE_PART(theClass, localClass)
#define INIT_INTERFACE_PART_DERIVE(theClass, localClass)
#define END_INTERFACE_PART(localClass)                                                                       \
    }                                                                                                        \
    m_x##localClass;                                                                                         \
    friend class X##localClass;
#define END_INTERFACE_PART_OPTIONAL(localClass)                                                              \
    END_INTERFACE_PART                                                                                       \
    (localClass)
#define END_INTERFACE_PART_STATIC END_INTERFACE_PART

#define METHOD_PROLOGUE(theClass, localClass)                                                                \
    theClass* pThis =                                                                                        \
        reinterpret_cast<theClass*>(reinterpret_cast<BYTE*>(this) - offsetof(theClass, m_x##localClass));    \
    (void)pThis;
#define METHOD_PROLOGUE_EX(theClass, localClass)                                                             \
    METHOD_PROLOGUE(theClass, localClass)                                                                    \
    AFX_MANAGE_STATE(pThis->m_pModuleState)
#define METHOD_PROLOGUE_EX_(theClass, localClass) METHOD_PROLOGUE(theClass, localClass)

// Dispatch maps: automation methods and properties over IDispatch. Each
// entry holds a typed thunk made from the member it names.
typedef HRESULT (*AFX_DISPINVOKE)(CCmdTarget* pTarget, const struct AFX_DISPMAP_ENTRY* pEntry, WORD wFlags,
                                  DISPPARAMS* pParams, VARIANT* pResult, UINT* puArgErr);

enum AFX_DISPMAP_FLAGS
{
    afxDispCustom = 0,
    afxDispStock = 1
};

struct AFX_DISPMAP_ENTRY
{
    LPCTSTR lpszName;       // external name
    long lDispID;           // DISPID_UNKNOWN means "by position"
    LPCSTR lpszParams;      // VTS_ parameter types
    WORD vt;                // return or property type
    AFX_DISPINVOKE pfnGet;  // method call or property get
    AFX_DISPINVOKE pfnSet;  // property put, or null
    size_t nPropOffset;
    AFX_DISPMAP_FLAGS flags;
};

struct AFX_DISPMAP
{
    const AFX_DISPMAP* (*pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_CY "\x06"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08"
#define VTS_WBSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_UI1 "\x11"
#define VTS_I8 "\x14"
#define VTS_UI8 "\x15"
// By reference: the type with bit 0x40 set.
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR8 "\x45"
#define VTS_PBSTR "\x48"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"
#define VTS_COLOR VTS_I4
#define VTS_HANDLE VTS_I4
#define VTS_XPOS_PIXELS VTS_I4
#define VTS_YPOS_PIXELS VTS_I4

namespace afxdisp {
HRESULT CoerceArg(VARIANT& out, const VARIANT& in, VARTYPE vt);

// Converts between a VARIANT (already of the declared type) and a C++ value.
template <class T, class Enable = void>
struct Value;

template <class T>
struct Value<T, std::enable_if_t<std::is_arithmetic<T>::value>>
{
    static T Get(const VARIANT& v)
    {
        switch (V_VT(&v))
        {
        case VT_BOOL:
            return static_cast<T>(V_BOOL(&v) ? 1 : 0);
        case VT_I2:
            return static_cast<T>(V_I2(&v));
        case VT_I4:
        case VT_ERROR:
            return static_cast<T>(V_I4(&v));
        case VT_UI1:
            return static_cast<T>(V_UI1(&v));
        case VT_UI4:
            return static_cast<T>(V_UI4(&v));
        case VT_I8:
            return static_cast<T>(V_I8(&v));
        case VT_UI8:
            return static_cast<T>(V_UI8(&v));
        case VT_R4:
            return static_cast<T>(V_R4(&v));
        case VT_R8:
        case VT_DATE:
            return static_cast<T>(V_R8(&v));
        default:
            return T();
        }
    }
    static void Put(VARIANT& v, VARTYPE vt, T value)
    {
        V_VT(&v) = vt;
        switch (vt)
        {
        case VT_BOOL:
            V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VT_I2:
            V_I2(&v) = static_cast<SHORT>(value);
            break;
        case VT_UI1:
            V_UI1(&v) = static_cast<BYTE>(value);
            break;
        case VT_UI4:
            V_UI4(&v) = static_cast<ULONG>(value);
            break;
        case VT_I8:
            V_I8(&v) = static_cast<LONGLONG>(value);
            break;
        case VT_UI8:
            V_UI8(&v) = static_cast<ULONGLONG>(value);
            break;
        case VT_R4:
            V_R4(&v) = static_cast<FLOAT>(value);
            break;
        case VT_R8:
        case VT_DATE:
            V_R8(&v) = static_cast<DOUBLE>(value);
            break;
        case VT_ERROR:
            V_ERROR(&v) = static_cast<SCODE>(value);
            break;
        default:
            V_VT(&v) = VT_I4;
            V_I4(&v) = static_cast<LONG>(value);
            break;
        }
    }
};

template <class T>
struct Value<T, std::enable_if_t<std::is_same<std::decay_t<T>, CString>::value>>
{
    template <class S = CString>
    static S Get(const VARIANT& v)
    {
        return S(V_VT(&v) == VT_BSTR ? V_BSTR(&v) : nullptr);
    }
    template <class S = CString>
    static void Put(VARIANT& v, VARTYPE, const S& value)
    {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(static_cast<LPCTSTR>(value));
    }
};

template <>
struct Value<const WCHAR*>
{
    static const WCHAR* Get(const VARIANT& v) { return V_VT(&v) == VT_BSTR ? V_BSTR(&v) : nullptr; }
    static void Put(VARIANT& v, VARTYPE, const WCHAR* value)
    {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(value);
    }
};

// A returned BSTR belongs to the caller, as in MFC.
template <>
struct Value<BSTR>
{
    static BSTR Get(const VARIANT& v) { return V_VT(&v) == VT_BSTR ? V_BSTR(&v) : nullptr; }
    static void Put(VARIANT& v, VARTYPE, BSTR value)
    {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = value;
    }
};

// A by-reference 32-bit integer; null when the caller passed none.
template <>
struct Value<LONG*>
{
    static LONG* Get(const VARIANT& v) { return V_VT(&v) == (VT_I4 | VT_BYREF) ? V_I4REF(&v) : nullptr; }
};

template <>
struct Value<IDispatch*>
{
    static IDispatch* Get(const VARIANT& v) { return V_VT(&v) == VT_DISPATCH ? V_DISPATCH(&v) : nullptr; }
    static void Put(VARIANT& v, VARTYPE, IDispatch* value)
    {
        V_VT(&v) = VT_DISPATCH;
        V_DISPATCH(&v) = value;
    }
};

template <>
struct Value<IUnknown*>
{
    static IUnknown* Get(const VARIANT& v) { return V_VT(&v) == VT_UNKNOWN ? V_UNKNOWN(&v) : nullptr; }
    static void Put(VARIANT& v, VARTYPE, IUnknown* value)
    {
        V_VT(&v) = VT_UNKNOWN;
        V_UNKNOWN(&v) = value;
    }
};

template <>
struct Value<const VARIANT&>
{
    static const VARIANT& Get(const VARIANT& v) { return v; }
};

template <>
struct Value<const VARIANT*>
{
    static const VARIANT* Get(const VARIANT& v) { return &v; }
};

template <>
struct Value<VARIANT>
{
    static VARIANT Get(const VARIANT& v) { return v; }
    static void Put(VARIANT& v, VARTYPE, const VARIANT& value) { v = value; }
};

template <class F>
struct Traits;
template <class C, class R, class... A>
struct Traits<R (C::*)(A...)>
{
    typedef C Class;
    typedef R Result;
    static constexpr size_t Arity = sizeof...(A);
};

// Arguments arrive in DISPPARAMS in reverse order; named arguments are not
// supported, missing optional ones are VT_ERROR/DISP_E_PARAMNOTFOUND.
HRESULT PrepareArgs(const AFX_DISPMAP_ENTRY* pEntry, DISPPARAMS* pParams, VARIANT* pArgs, size_t nArgs,
                    UINT* puArgErr);
void ClearArgs(VARIANT* pArgs, size_t nArgs);

template <class C, class R, class... A, size_t... I>
R CallWith(C* pThis, R (C::*pfn)(A...), VARIANT* pArgs, std::index_sequence<I...>)
{
    (void)pArgs;
    return (pThis->*pfn)(Value<A>::Get(pArgs[I])...);
}

template <auto pfn>
HRESULT InvokeMethod(CCmdTarget* pTarget, const AFX_DISPMAP_ENTRY* pEntry, WORD wFlags, DISPPARAMS* pParams,
                     VARIANT* pResult, UINT* puArgErr)
{
    typedef Traits<decltype(pfn)> T;
    typedef typename T::Class C;
    typedef typename T::Result R;
    VARIANT args[T::Arity + 1];
    HRESULT hr = PrepareArgs(pEntry, pParams, args, T::Arity, puArgErr);
    if (FAILED(hr))
        return hr;
    C* pThis = static_cast<C*>(pTarget);
    if constexpr (std::is_void<R>::value)
    {
        CallWith(pThis, pfn, args, std::make_index_sequence<T::Arity>());
    }
    else
    {
        R result = CallWith(pThis, pfn, args, std::make_index_sequence<T::Arity>());
        if (pResult != nullptr)
            Value<std::decay_t<R>>::Put(*pResult, pEntry->vt, result);
    }
    ClearArgs(args, T::Arity);
    return S_OK;
}

template <class C, class M, M C::*pm>
HRESULT GetMember(CCmdTarget* pTarget, const AFX_DISPMAP_ENTRY* pEntry, WORD, DISPPARAMS*, VARIANT* pResult,
                  UINT*)
{
    if (pResult != nullptr)
        Value<M>::Put(*pResult, pEntry->vt, static_cast<C*>(pTarget)->*pm);
    return S_OK;
}

template <class C, class M, M C::*pm>
HRESULT SetMember(CCmdTarget* pTarget, const AFX_DISPMAP_ENTRY* pEntry, WORD, DISPPARAMS* pParams, VARIANT*,
                  UINT* puArgErr)
{
    VARIANT arg;
    HRESULT hr = PrepareArgs(pEntry, pParams, &arg, 1, puArgErr);
    if (FAILED(hr))
        return hr;
    static_cast<C*>(pTarget)->*pm = Value<M>::Get(arg);
    ClearArgs(&arg, 1);
    return S_OK;
}
}  // namespace afxdisp

#define DECLARE_DISPATCH_MAP()                                                                               \
private:                                                                                                     \
    static const AFX_DISPMAP_ENTRY _dispatchEntries[];                                                       \
                                                                                                             \
protected:                                                                                                   \
    static const AFX_DISPMAP dispatchMap;                                                                    \
    static const AFX_DISPMAP* GetThisDispatchMap();                                                          \
    virtual const AFX_DISPMAP* GetDispatchMap() const;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                                              \
    const AFX_DISPMAP* theClass::GetThisDispatchMap()                                                        \
    {                                                                                                        \
        return &theClass::dispatchMap;                                                                       \
    }                                                                                                        \
    const AFX_DISPMAP* theClass::GetDispatchMap() const                                                      \
    {                                                                                                        \
        return GetThisDispatchMap();                                                                         \
    }                                                                                                        \
    const AFX_DISPMAP theClass::dispatchMap = {&baseClass::GetThisDispatchMap,                               \
                                               &theClass::_dispatchEntries[0]};                              \
    const AFX_DISPMAP_ENTRY theClass::_dispatchEntries[] = {
#define END_DISPATCH_MAP()                                                                                   \
    {                                                                                                        \
        nullptr, 0, nullptr, VT_EMPTY, nullptr, nullptr, (size_t)-1, afxDispCustom                           \
    }                                                                                                        \
    }                                                                                                        \
    ;

#define DISP_FUNCTION_ID(theClass, szExternalName, dispid, pfnMember, vtRetVal, vtsParams)                   \
    {_T(szExternalName),                                                                                     \
     dispid,                                                                                                 \
     vtsParams,                                                                                              \
     vtRetVal,                                                                                               \
     &afxdisp::InvokeMethod<&theClass::pfnMember>,                                                           \
     nullptr,                                                                                                \
     0,                                                                                                      \
     afxDispCustom},
#define DISP_FUNCTION(theClass, szExternalName, pfnMember, vtRetVal, vtsParams)                              \
    DISP_FUNCTION_ID(theClass, szExternalName, DISPID_UNKNOWN, pfnMember, vtRetVal, vtsParams)
#define DISP_PROPERTY_ID(theClass, szExternalName, dispid, memberName, vtPropType)                           \
    {_T(szExternalName),                                                                                     \
     dispid,                                                                                                 \
     nullptr,                                                                                                \
     vtPropType,                                                                                             \
     &afxdisp::GetMember<theClass, decltype(theClass::memberName), &theClass::memberName>,                   \
     &afxdisp::SetMember<theClass, decltype(theClass::memberName), &theClass::memberName>,                   \
     offsetof(theClass, memberName),                                                                         \
     afxDispCustom},
#define DISP_PROPERTY(theClass, szExternalName, memberName, vtPropType)                                      \
    DISP_PROPERTY_ID(theClass, szExternalName, DISPID_UNKNOWN, memberName, vtPropType)
#define DISP_PROPERTY_EX_ID(theClass, szExternalName, dispid, pfnGet, pfnSet, vtPropType)                    \
    {_T(szExternalName),                                                                                     \
     dispid,                                                                                                 \
     nullptr,                                                                                                \
     vtPropType,                                                                                             \
     &afxdisp::InvokeMethod<&theClass::pfnGet>,                                                              \
     &afxdisp::InvokeMethod<&theClass::pfnSet>,                                                              \
     0,                                                                                                      \
     afxDispCustom},
#define DISP_PROPERTY_EX(theClass, szExternalName, pfnGet, pfnSet, vtPropType)                               \
    DISP_PROPERTY_EX_ID(theClass, szExternalName, DISPID_UNKNOWN, pfnGet, pfnSet, vtPropType)

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Routes a command, command-UI update or notification to the handler in
    // this object's message map; with pHandlerInfo only tells whether one exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Reference counting and COM identity.
    virtual void OnFinalRelease();
    DWORD InternalQueryInterface(const void* iid, LPVOID* ppvObj);
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalQueryInterface(const void* iid, LPVOID* ppvObj);
    DWORD ExternalAddRef();
    DWORD ExternalRelease();
    LPUNKNOWN GetInterface(const void* iid);
    LPUNKNOWN GetControllingUnknown();
    virtual LPUNKNOWN GetInterfaceHook(const void* iid);
    virtual BOOL OnCreateAggregates();
    void EnableAggregation();

    // Automation.
    void EnableAutomation();
    LPDISPATCH GetIDispatch(BOOL bAddRef);
    static CCmdTarget* FromIDispatch(LPDISPATCH lpDispatch);
    BOOL IsResultExpected();
    BOOL IsAutomationEnabled() const { return m_xDispatch.m_bEnabled; }
    void GetNotSupported();
    void SetNotSupported();

    LONG m_dwRef;

protected:
    BOOL m_bResultExpected;  // beside the count, where a pointer would leave padding

public:
    LPUNKNOWN m_pOuterUnknown;
    DWORD_PTR m_xInnerUnknown;
    AFX_MODULE_STATE* m_pModuleState;  // the module that made the object

    // The IDispatch every automation-enabled target exposes; it invokes
    // through the dispatch map.
    class XDispatch : public IDispatch
    {
    public:
        BOOL m_bEnabled = FALSE;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID* ppvObj) override;
        STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)(UINT itinfo, LCID lcid, ITypeInfo** pptinfo) override;
        STDMETHOD(GetIDsOfNames)
        (REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgdispid) override;
        STDMETHOD(Invoke)
        (DISPID dispid, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pdispparams, VARIANT* pvarResult,
         EXCEPINFO* pexcepinfo, UINT* puArgErr) override;
    } m_xDispatch;
    friend class XDispatch;

    // Looks an entry up by dispatch id (custom ids, else position from 1).
    const AFX_DISPMAP_ENTRY* GetDispEntry(DISPID dispid) const;
    DISPID GetDispIdOfName(LPCTSTR lpszName) const;

protected:
    DECLARE_MESSAGE_MAP()
    DECLARE_INTERFACE_MAP()
    DECLARE_DISPATCH_MAP()

    friend class CCmdUI;
};

// Finds the first entry for a message, code and id in one map's entries.
const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                   UINT nID);
// Calls a command-target handler with the arguments its signature takes.
BOOL AFXAPI AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra,
                              UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo);
