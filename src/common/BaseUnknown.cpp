#include "common/BaseUnknown.h"

namespace MyMem {

// Out of line: inlined into a derived class's holder, the deletion through a
// second base looks to the compiler like freeing an inner pointer.
LONG IBaseUnknown::Release()
{
    LONG nRefs = InterlockedDecrement(&m_nRefs);
    if (nRefs == 0)
        delete this;
    return nRefs;
}

}  // namespace MyMem
