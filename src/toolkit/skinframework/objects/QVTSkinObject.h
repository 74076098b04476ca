// Skin objects: the companions the skin manager attaches to the windows of
// the process. They take a window's messages before (or instead of) its
// default handling and paint it from the loaded skin; the descriptor stack
// lets Default() continue in whichever default procedure the window called.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/hook/QVTHookManager.h"

class CQVTSkinManager;
class CQVTSkinManagerClass;
class CQVTSkinManagerMetrics;
class CQVTSkinManagerSchema;

// The registered messages of the skin framework, valid once
// QVTSkinRegisterMessages has run (the manager's set-up and every skin
// object's constructor call it). WM_HOOKMANAGER_SINKREMOVED is the hook
// manager's.
extern UINT WM_SKINFRAMEWORK_QUERYSTATE;
extern UINT WM_SKINFRAMEWORK_SKINCHANGED;
extern UINT WM_SKINFRAMEWORK_UPDATESTATE;
void AFXAPI QVTSkinRegisterMessages();

class CQVTSkinObject : public CWnd, public CQVTSynchronized
{
    DECLARE_DYNCREATE(CQVTSkinObject)

public:
    // One nested call of a default procedure.
    struct DEFWINDOW_DESCRIPTIOR
    {
        UINT nKind;           // 0 to 5, see DefWindowProc
        void* pProc;          // the default procedure the window's code called
        ULONG_PTR nArgument;  // the previous procedure (kind 1) or the MDI client (kind 4)
        UINT nMessage;
    };

    CQVTSkinObject();
    ~CQVTSkinObject() override;

    virtual void OnSkinChanged(BOOL bPrevState, BOOL bNewState);
    virtual void RefreshMetrics();
    virtual void OnWindowAttached(LPCREATESTRUCT lpcs, BOOL bAtCreation);
    virtual void OnWindowDetached(BOOL bAtDestruction);
    virtual BOOL QueryDrawingEnabled();
    virtual BOOL OnWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    virtual BOOL OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    virtual BOOL IsHandledAtDefaultProc(UINT message);
    virtual BOOL IsMessagePassedThrough(UINT message);

    void AttachHook(HWND hWnd, LPCREATESTRUCT lpcs, BOOL bAtCreation);
    void UnattachHook(BOOL bAtDestruction);

    CQVTSkinManagerClass* GetSkinClass();
    CQVTSkinManagerSchema* GetSchema();
    CQVTSkinManagerMetrics* GetMetrics();
    COLORREF GetColor(int nIndex);
    BOOL IsSkinEnabled();
    BOOL IsDrawingEnabled(BOOL bRecompute);

    void PushDefWindowProc(UINT message, UINT nKind, void* pProc, ULONG_PTR nArgument);
    void PopDefWindowProc();
    UINT GetCurrentDefWindowProcMessage();
    LRESULT CallDefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    static CString AFX_CDECL GetWindowPath(HWND hWnd, BOOL bParentOnly);

    // The schema this object draws with instead of the manager's; a
    // reference is held.
    void SetSchema(CQVTSkinManagerSchema* pSchema);

    WNDPROC* GetSuperWndProcAddr() override { return &m_pfnPrevWndProc; }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalRelease() override;

    CQVTSkinManager* m_pManager = nullptr;
    CString m_strClassName;  // the schema class drawn with
    BOOL m_bWindowsForms = FALSE;
    int m_nDialogTexture = 0;  // ETDT_* of a dialog; 0 for other classes
    BOOL m_bAlwaysSubclass = FALSE;

    WNDPROC GetPrevWndProc() const { return m_pfnPrevWndProc; }
    BOOL IsSubclassed() const { return m_bSubclassed; }
    BOOL IsSystemWindowProc() const { return m_bSystemWndProc; }
    BOOL IsOptedOut() const { return m_bOptedOut; }

protected:
    void QueryOptOut();

    WNDPROC m_pfnPrevWndProc = nullptr;
    BOOL m_bOptedOut = FALSE;
    BOOL m_bUnicode = TRUE;
    CRITICAL_SECTION m_csDescriptors;
    BOOL m_bSystemWndProc = FALSE;
    BOOL m_bSubclassed = FALSE;
    CQVTSkinManagerSchema* m_pSchema = nullptr;
    std::vector<DEFWINDOW_DESCRIPTIOR> m_descriptors;  // back = innermost call
    int m_nDrawingEnabled = -1;

    DECLARE_MESSAGE_MAP()
};

// One entry of the class map: the skin-object class to make for a window
// class, or none for a class that stays unskinned.
class CQVTSkinObjectClassMap;
class CQVTSkinObjectClassInfo : public CQVTCmdTarget, public CQVTSynchronized
{
public:
    explicit CQVTSkinObjectClassInfo(CRuntimeClass* pClass) : m_pClass(pClass) {}

    CQVTSkinObject* CreateObject();
    CRuntimeClass* GetRuntimeClassToCreate() const { return m_pClass; }

    CRuntimeClass* m_pClass;
    CQVTSkinObjectClassMap* m_pMap = nullptr;  // the map that first received it
};

class CQVTSkinObjectClassMap : public CQVTSynchronized
{
public:
    CQVTSkinObjectClassMap() = default;
    ~CQVTSkinObjectClassMap() { RemoveAll(); }

    // The window classes the framework skins, their aliases and the
    // classes that stay unskinned.
    void AddStandardClasses();
    CQVTSkinObjectClassInfo* AddClass(LPCTSTR lpszName, CQVTSkinObjectClassInfo* pInfo);
    CQVTSkinObjectClassInfo* AddClass(LPCTSTR lpszName, CRuntimeClass* pClass);
    void AddAlias(LPCTSTR lpszName, LPCTSTR lpszTarget);
    CQVTSkinObjectClassInfo* Lookup(LPCTSTR lpszName);
    void RemoveAll();

private:
    CMapStringToPtr m_map;  // upper-cased class name -> CQVTSkinObjectClassInfo*
};

// The paint DC of a skin object: the DC of a WM_PAINT sent with one, else
// BeginPaint's.
class CQVTSkinObjectPaintDC : public CDC
{
public:
    explicit CQVTSkinObjectPaintDC(CQVTSkinObject* pObject);
    ~CQVTSkinObjectPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWndPaint;
};
