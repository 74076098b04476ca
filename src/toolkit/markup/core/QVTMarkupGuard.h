// A boundary no exception may cross: a COM method the script engine calls,
// or an entry function a host calls from its window procedure. Framework
// exceptions are deleted, anything else is swallowed, and the caller gets
// the fallback.
#pragma once

#include <afx.h>

template <class TResult, class TBody>
TResult MarkupGuard(TResult fallback, TBody body)
{
    try
    {
        return body();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return fallback;
}
