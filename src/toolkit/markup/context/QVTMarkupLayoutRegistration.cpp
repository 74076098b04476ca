// The markup classes of layout and text, named once: MarkupEnsureAllClasses
// calls this, which links their registrations in and registers them.
#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/panels/QVTMarkupCanvas.h"
#include "toolkit/markup/panels/QVTMarkupContentControl.h"
#include "toolkit/markup/panels/QVTMarkupControl.h"
#include "toolkit/markup/panels/QVTMarkupDockPanel.h"
#include "toolkit/markup/panels/QVTMarkupGrid.h"
#include "toolkit/markup/panels/QVTMarkupGridDefinitions.h"
#include "toolkit/markup/panels/QVTMarkupPanel.h"
#include "toolkit/markup/panels/QVTMarkupStackPanel.h"
#include "toolkit/markup/panels/QVTMarkupUniformGrid.h"
#include "toolkit/markup/panels/QVTMarkupWrapPanel.h"
#include "toolkit/markup/text/QVTMarkupHyperlink.h"
#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/text/QVTMarkupInlineUIContainer.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/text/QVTMarkupSpan.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"

void AFXAPI MarkupEnsureLayoutClasses()
{
    static void(AFX_CDECL* const kEnsure[])() = {
        &CQVTMarkupPathData::EnsureMarkupClass,
        &CQVTMarkupUIElementCollection::EnsureMarkupClass,
        &CQVTMarkupPanel::EnsureMarkupClass,
        &CQVTMarkupDecorator::EnsureMarkupClass,
        &CQVTMarkupBorder::EnsureMarkupClass,
        &CQVTMarkupTextElement::EnsureMarkupClass,
        &CQVTMarkupInline::EnsureMarkupClass,
        &CQVTMarkupInlineCollection::EnsureMarkupClass,
        &CQVTMarkupSpan::EnsureMarkupClass,
        &CQVTMarkupBold::EnsureMarkupClass,
        &CQVTMarkupItalic::EnsureMarkupClass,
        &CQVTMarkupUnderline::EnsureMarkupClass,
        &CQVTMarkupHyperlink::EnsureMarkupClass,
        &CQVTMarkupRun::EnsureMarkupClass,
        &CQVTMarkupLineBreak::EnsureMarkupClass,
        &CQVTMarkupInlineUIContainer::EnsureMarkupClass,
        &CQVTMarkupTextBlock::EnsureMarkupClass,
        &CQVTMarkupControl::EnsureMarkupClass,
        &CQVTMarkupContentControl::EnsureMarkupClass,
        &CQVTMarkupStackPanel::EnsureMarkupClass,
        &CQVTMarkupWrapPanel::EnsureMarkupClass,
        &CQVTMarkupDockPanel::EnsureMarkupClass,
        &CQVTMarkupGridLength::EnsureMarkupClass,
        &CQVTMarkupDefinitionBase::EnsureMarkupClass,
        &CQVTMarkupColumnDefinition::EnsureMarkupClass,
        &CQVTMarkupRowDefinition::EnsureMarkupClass,
        &CQVTMarkupDefinitionCollection::EnsureMarkupClass,
        &CQVTMarkupColumnDefinitionCollection::EnsureMarkupClass,
        &CQVTMarkupRowDefinitionCollection::EnsureMarkupClass,
        &CQVTMarkupGrid::EnsureMarkupClass,
        &CQVTMarkupCanvas::EnsureMarkupClass,
        &CQVTMarkupUniformGrid::EnsureMarkupClass,
    };
    for (auto pfnEnsure : kEnsure)
        pfnEnsure();
}
