// Checks on the exceptions MFC code throws (as pointers, deleted here).
#pragma once

#include <afx.h>

// Runs f and reports whether it threw MFC's invalid-argument exception.
template <typename F>
bool ThrowsInvalidArg(F f)
{
    try
    {
        f();
    }
    catch (CException* e)
    {
        bool ok = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException));
        e->Delete();
        return ok;
    }
    return false;
}
