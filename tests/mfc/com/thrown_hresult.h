// The HRESULT of the _com_error a call throws.
#pragma once

#include <comdef.h>

// Runs f; the thrown _com_error's HRESULT, or S_OK when nothing was thrown.
template <class F>
HRESULT ThrownHResult(F&& f)
{
    try
    {
        f();
    }
    catch (const _com_error& e)
    {
        return e.Error();
    }
    return S_OK;
}
