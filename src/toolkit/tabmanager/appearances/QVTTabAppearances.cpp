#include "toolkit/tabmanager/appearances/QVTTabAppearances.h"

#include <new>

#include "toolkit/tabmanager/appearances/QVTTabThemeExcel2003.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeFlat.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeOffice2000.h"
#include "toolkit/tabmanager/appearances/QVTTabThemePropertyPage2003.h"
#include "toolkit/tabmanager/appearances/QVTTabThemePropertyPage2007.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeStateButtons.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeVisio.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeVisualStudio2003.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeVisualStudio2012.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabPaintManagerTheme* AFXAPI CreateTabAppearance(int nAppearance)
{
    switch (nAppearance)
    {
    case qvtTabAppearancePropertyPageSelected:
        return new (std::nothrow) CAppearanceSetPropertyPageSelected();
    case qvtTabAppearancePropertyPageFlat:
        return new (std::nothrow) CAppearanceSetPropertyPageFlat();
    case qvtTabAppearancePropertyPage2003:
        return new (std::nothrow) CAppearanceSetPropertyPage2003();
    case qvtTabAppearanceStateButtons:
        return new (std::nothrow) CAppearanceSetStateButtons();
    case qvtTabAppearanceVisualStudio2003:
        return new (std::nothrow) CQVTTabThemeVisualStudio2003();
    case qvtTabAppearanceFlat:
        return new (std::nothrow) CQVTTabThemeFlat();
    case qvtTabAppearanceExcel2003:
        return new (std::nothrow) CQVTTabThemeExcel2003();
    case qvtTabAppearanceVisio:
        return new (std::nothrow) CAppearanceSetVisio();
    case qvtTabAppearanceVisualStudio2005:
        return new (std::nothrow) CAppearanceSetVisualStudio2005();
    case qvtTabAppearancePropertyPage2007:
        return new (std::nothrow) CAppearanceSetPropertyPage2007();
    case qvtTabAppearancePropertyPageAccess2007:
        return new (std::nothrow) CAppearanceSetPropertyPageAccess2007();
    case qvtTabAppearanceVisualStudio2010:
        return new (std::nothrow) CQVTTabThemeVisualStudio2010();
    case qvtTabAppearanceVisualStudio2012:
        return new (std::nothrow) CQVTTabThemeVisualStudio2012();
    case qvtTabAppearanceOffice2013:
        return new (std::nothrow) CQVTTabThemeOffice2013();
    case qvtTabAppearanceVisualStudio2015:
        return new (std::nothrow) CQVTTabThemeVisualStudio2015();
    case qvtTabAppearanceNativeWindows10:
        return new (std::nothrow) CQVTTabThemeNativeWindows10();
    default:
        return new (std::nothrow) CQVTTabThemeOffice2000();
    }
}
