// A plain reference count for objects that several holders share without
// COM: one reference at construction, the holder that drops the last one
// deletes the object through its virtual destructor.
#pragma once

#include <windows.h>

namespace MyMem {

class IBaseUnknown
{
public:
    IBaseUnknown() = default;
    virtual ~IBaseUnknown() = default;
    IBaseUnknown(const IBaseUnknown&) = delete;
    IBaseUnknown& operator=(const IBaseUnknown&) = delete;

    LONG AddRef() { return InterlockedIncrement(&m_nRefs); }
    LONG Release();

private:
    LONG m_nRefs = 1;
};

}  // namespace MyMem
