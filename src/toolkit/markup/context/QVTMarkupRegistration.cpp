// Every markup class of the library, named once: the first context registers
// them all, and naming them here links their registrations in.
#include "toolkit/markup/core/QVTMarkupCollection.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/elements/QVTMarkupKeyboardNavigation.h"
#include "toolkit/markup/extensions/QVTMarkupExtension.h"
#include "toolkit/markup/script/QVTMarkupQvtScript.h"
#include "toolkit/markup/parser/QVTMarkupObjectProperty.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

// The classes of layout and text, named in their own list.
void AFXAPI MarkupEnsureLayoutClasses();
// Shapes, transforms, images and controls, in theirs.
void AFXAPI MarkupEnsureGraphicsClasses();

void AFXAPI MarkupEnsureAllClasses()
{
    static void(AFX_CDECL* const kEnsure[])() = {
        &CQVTMarkupObject::EnsureMarkupClass,
        &CQVTMarkupType::EnsureMarkupClass,
        &CQVTMarkupDependencyProperty::EnsureMarkupClass,
        &CQVTMarkupCollection::EnsureMarkupClass,
        &CQVTMarkupString::EnsureMarkupClass,
        &CQVTMarkupInt::EnsureMarkupClass,
        &CQVTMarkupDouble::EnsureMarkupClass,
        &CQVTMarkupBool::EnsureMarkupClass,
        &CQVTMarkupEnum::EnsureMarkupClass,
        &CQVTMarkupColor::EnsureMarkupClass,
        &CQVTMarkupColorKey::EnsureMarkupClass,
        &CQVTMarkupDoubleCollection::EnsureMarkupClass,
        &CQVTMarkupThickness::EnsureMarkupClass,
        &CQVTMarkupBrush::EnsureMarkupClass,
        &CQVTMarkupSolidColorBrush::EnsureMarkupClass,
        &CQVTMarkupLinearGradientBrush::EnsureMarkupClass,
        &CQVTMarkupGradientStop::EnsureMarkupClass,
        &CQVTMarkupGradientStops::EnsureMarkupClass,
        &CQVTMarkupBrushKey::EnsureMarkupClass,
        &CQVTMarkupPoint::EnsureMarkupClass,
        &CQVTMarkupPointCollection::EnsureMarkupClass,
        &CQVTMarkupObjectProperty::EnsureMarkupClass,
        &CQVTMarkupExtension::EnsureMarkupClass,
        &CQVTMarkupQvtScript::EnsureMarkupClass,
        &CQVTMarkupStyle::EnsureMarkupClass,
        &CQVTMarkupSetter::EnsureMarkupClass,
        &CQVTMarkupSetterCollection::EnsureMarkupClass,
        &CQVTMarkupTrigger::EnsureMarkupClass,
        &CQVTMarkupTriggerCollection::EnsureMarkupClass,
        &CQVTMarkupResourceDictionary::EnsureMarkupClass,
        &CQVTMarkupInputElement::EnsureMarkupClass,
        &CQVTMarkupVisual::EnsureMarkupClass,
        &CQVTMarkupUIElement::EnsureMarkupClass,
        &CQVTMarkupFrameworkElement::EnsureMarkupClass,
        &CQVTMarkupFrameworkContentElement::EnsureMarkupClass,
        &CQVTMarkupKeyboardNavigation::EnsureMarkupClass,
    };
    for (auto pfnEnsure : kEnsure)
        pfnEnsure();
    MarkupEnsureLayoutClasses();
    MarkupEnsureGraphicsClasses();
}
