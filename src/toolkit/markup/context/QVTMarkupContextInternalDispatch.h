// The markup context as scripts see it, the named item "MarkupContext":
// delegates and handlers, objects made in the context, parsing and
// validating markup, and the context's drawing switches.
#pragma once

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTMarkupContext;

class CQVTMarkupContextInternalDispatch : public CQVTCmdTarget
{
public:
    explicit CQVTMarkupContextInternalDispatch(CQVTMarkupContext* pContext);

    // The context goes away first when it releases this object.
    void Detach() { m_pContext = nullptr; }

protected:
    DECLARE_DISPATCH_MAP()

private:
    void SetMethod(LPDISPATCH pDispatch, LPCWSTR lpszName);
    void SetHandler(LPDISPATCH pDispatch);
    LPDISPATCH CreateObject(LPCWSTR lpszTag);
    LPDISPATCH CreateSolidBrush(long nColor);
    LPDISPATCH CreateThickness(long nLeft, long nTop, long nRight, long nBottom);
    LPDISPATCH Parse(LPCWSTR lpszText);
    BSTR ValidateXML(LPCWSTR lpszText);
    void FreezeUpdates();
    void UnfreezeUpdates();
    BOOL GetEnableGdiPlus();
    void SetEnableGdiPlus(BOOL bEnable);
    BOOL GetDpiAware();
    void SetDpiAware(BOOL bEnable);
    LPDISPATCH GetToolTipContext();
    LPDISPATCH GetIcons();
    void SetIcons(LPDISPATCH pDispatch);
    long GetDefaultSmoothingMode();
    void SetDefaultSmoothingMode(long nMode);
    BOOL GetDefaultTextSmoothingEnabled();
    void SetDefaultTextSmoothingEnabled(BOOL bEnable);

    CQVTMarkupContext* m_pContext;  // not counted: the context owns this object
};
