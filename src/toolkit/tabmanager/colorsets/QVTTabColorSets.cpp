#include "toolkit/tabmanager/colorsets/QVTTabColorSets.h"

#include <new>

#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2003.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2013.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio2012.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetWinNative.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabPaintManagerColorSet* AFXAPI CreateTabColorSet(int nColorSet)
{
    switch (nColorSet)
    {
    case qvtTabColorVisualStudio2003:
        return new (std::nothrow) CColorSetVisualStudio2003();
    case qvtTabColorOffice2003:
        return new (std::nothrow) CQVTTabColorSetOffice2003();
    case qvtTabColorWinNative:
        return new (std::nothrow) CColorSetWinNative();
    case qvtTabColorVisualStudio2005:
        return new (std::nothrow) CColorSetVisualStudio2005();
    case qvtTabColorOffice2007:
        return new (std::nothrow) CQVTTabColorSetOffice2007();
    case qvtTabColorVisualStudio2008:
        return new (std::nothrow) CQVTTabColorSetVisualStudio2008();
    case qvtTabColorOffice2007Access:
        return new (std::nothrow) CQVTTabColorSetOffice2007Access();
    case qvtTabColorVisualStudio2010:
        return new (std::nothrow) CQVTTabColorSetVisualStudio2010();
    case qvtTabColorVisualStudio2012:
        return new (std::nothrow) CQVTTabColorSetVisualStudio2012();
    case qvtTabColorVisualStudio2012Dark:
        return new (std::nothrow) CQVTTabColorSetVisualStudio2012Dark();
    case qvtTabColorOffice2013:
        return new (std::nothrow) CQVTTabColorSetOffice2013();
    case qvtTabColorVisualStudio2015:
        return new (std::nothrow) CQVTTabColorSetVisualStudio2015();
    case qvtTabColorNativeWindows10:
        return new (std::nothrow) CQVTTabColorSetNativeWindows10();
    default:
        return new (std::nothrow) CQVTTabColorSetDefault();
    }
}
