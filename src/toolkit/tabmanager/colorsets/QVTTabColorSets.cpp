#include "toolkit/tabmanager/colorsets/QVTTabColorSets.h"

#include <new>

#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabPaintManagerColorSet* AFXAPI CreateTabColorSet(int nColorSet)
{
    switch (nColorSet)
    {
    default:
        return new (std::nothrow) CQVTTabColorSetDefault();
    }
}
