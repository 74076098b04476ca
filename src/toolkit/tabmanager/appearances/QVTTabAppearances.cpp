#include "toolkit/tabmanager/appearances/QVTTabAppearances.h"

#include <new>

#include "toolkit/tabmanager/appearances/QVTTabThemeOffice2000.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabPaintManagerTheme* AFXAPI CreateTabAppearance(int nAppearance)
{
    switch (nAppearance)
    {
    case qvtTabAppearancePropertyPageSelected:
        return new (std::nothrow) CAppearanceSetPropertyPageSelected();
    default:
        return new (std::nothrow) CQVTTabThemeOffice2000();
    }
}
