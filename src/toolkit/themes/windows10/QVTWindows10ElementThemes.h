// The element paint managers of the Windows 10 and Visual Studio 2015
// looks that draw exactly as the Office 2013 ones: classes of their own so
// that a theme can be told by its elements.
#pragma once

#include "toolkit/themes/office2013/QVTControlGalleryOffice2013Theme.h"
#include "toolkit/themes/office2013/QVTMessageBarThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTProgressThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTScrollBarThemeOffice2013.h"
#include "toolkit/themes/office2013/QVTSliderThemeOffice2013.h"

#define QVT_DECLARE_FLAT_ELEMENT(TClass, TBase)                                                              \
    class TClass : public TBase                                                                              \
    {                                                                                                        \
        DECLARE_DYNAMIC(TClass)                                                                              \
                                                                                                             \
    public:                                                                                                  \
        explicit TClass(CQVTPaintManager* pPaintManager) : TBase(pPaintManager) {}                           \
    };

QVT_DECLARE_FLAT_ELEMENT(CQVTProgressThemeNativeWindows10, CQVTProgressThemeOffice2013)
QVT_DECLARE_FLAT_ELEMENT(CQVTProgressThemeVisualStudio2015, CQVTProgressThemeOffice2013)
QVT_DECLARE_FLAT_ELEMENT(CQVTSliderThemeNativeWindows10, CQVTSliderThemeOffice2013)
QVT_DECLARE_FLAT_ELEMENT(CQVTSliderThemeVisualStudio2015, CQVTSliderThemeOffice2013)
QVT_DECLARE_FLAT_ELEMENT(CQVTMessageBarThemeNativeWindows10, CQVTMessageBarThemeOffice2013)
QVT_DECLARE_FLAT_ELEMENT(CQVTMessageBarThemeVisualStudio2015, CQVTMessageBarThemeOffice2013)
QVT_DECLARE_FLAT_ELEMENT(CQVTControlGalleryNativeWindows10Theme, CQVTControlGalleryOffice2013Theme)
QVT_DECLARE_FLAT_ELEMENT(CQVTControlGalleryVisualStudio2015Theme, CQVTControlGalleryOffice2013Theme)

#undef QVT_DECLARE_FLAT_ELEMENT

class CQVTScrollBarThemeNativeWindows10 : public CQVTScrollBarThemeOffice2013
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeNativeWindows10)
};
