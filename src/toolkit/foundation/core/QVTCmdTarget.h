// The toolkit's command target: the framework's CCmdTarget plus one COM
// interface through which toolkit code gets the object back from any of its
// interface pointers.
#pragma once

#include <afxwin.h>

// {1965CF4C-7BE1-4E09-94B4-DCEF78B16D04}
extern const IID IID_IQVTCmdTargetProvider;

struct IQVTCmdTargetProvider : public IUnknown
{
    virtual CCmdTarget* STDMETHODCALLTYPE GetCmdTarget() = 0;
};

class CQVTCmdTarget : public CCmdTarget
{
    DECLARE_DYNAMIC(CQVTCmdTarget)

public:
    CQVTCmdTarget();
    ~CQVTCmdTarget() override;

    // The CCmdTarget behind an interface pointer, or null.
    static CCmdTarget* AFX_CDECL FromInterface(IUnknown* pUnknown);

protected:
    DECLARE_INTERFACE_MAP()

    BEGIN_INTERFACE_PART(CmdTargetProvider, IQVTCmdTargetProvider)
        CCmdTarget* STDMETHODCALLTYPE GetCmdTarget() override;
    END_INTERFACE_PART(CmdTargetProvider)
};
