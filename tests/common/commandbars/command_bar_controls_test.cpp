// Showing and hiding controls by kind and id over every bar of a dialog,
// into the bars that controls own.
#include "sondrel_gtest.h"

#include "common/CommandBarControls.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"

namespace {

// A control that owns a bar of its own, as a popup does.
class OwningControl : public CQVTControl
{
public:
    OwningControl() : m_pBar(new CTestBar()) { SetType(qvtControlPopup); }
    ~OwningControl() override { m_pBar->InternalRelease(); }
    CQVTCommandBar* GetCommandBar() const override { return m_pBar; }
    CTestBar* m_pBar;
};

class SiteDialog : public CQVTDialogBase<CDialog>
{
public:
    BOOL Make()
    {
        // A bare dialog template: no resources needed.
        struct
        {
            DLGTEMPLATE dialog;
            WORD menu, windowClass, title;
        } block = {{WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 200, 80}, 0, 0, 0};
        return CreateIndirect(&block.dialog) && InitCommandBars();
    }
    void OnOK() override {}
    void OnCancel() override {}
};

bool Hidden(CQVTControl* control)
{
    return (control->GetHideFlags() & qvtHideGeneric) != 0;
}

}  // namespace

TEST(CommandBarControls, ShownAndHiddenByTypeAndIdToAnyDepth)
{
    SiteDialog site;
    ASSERT_TRUE(site.Make());
    CQVTCommandBars* bars = site.GetCommandBars();
    CTestBar* first = new CTestBar();
    CTestBar* second = new CTestBar();
    ASSERT_TRUE(bars->AddCommandBar(first, _T("First"), qvtBarTop));
    ASSERT_TRUE(bars->AddCommandBar(second, _T("Second"), qvtBarTop));

    CQVTControl* record = first->GetControls()->AddByType(qvtControlButton, 100);
    CQVTControl* stop = first->GetControls()->AddByType(qvtControlButton, 200);
    OwningControl* menu = new OwningControl();
    first->GetControls()->Add(menu, 300);
    CQVTControl* nestedRecord = menu->m_pBar->GetControls()->AddByType(qvtControlButton, 100);
    OwningControl* submenu = new OwningControl();
    menu->m_pBar->GetControls()->Add(submenu, 400);
    CQVTControl* deepRecord = submenu->m_pBar->GetControls()->AddByType(qvtControlButton, 100);
    CQVTControl* deepStop = submenu->m_pBar->GetControls()->AddByType(qvtControlButton, 200);
    CQVTControl* secondRecord = second->GetControls()->AddByType(qvtControlButton, 100);
    ASSERT_TRUE(record && stop && nestedRecord && deepRecord && deepStop && secondRecord);

    // One id: every control of it, in every bar and at every depth.
    EnableCommandBarControls(bars, qvtControlButton, 100, FALSE);
    for (CQVTControl* control : {record, nestedRecord, deepRecord, secondRecord})
        EXPECT_TRUE(Hidden(control));
    for (CQVTControl* control :
         {stop, deepStop, static_cast<CQVTControl*>(menu), static_cast<CQVTControl*>(submenu)})
        EXPECT_FALSE(Hidden(control));

    // Another kind of the same id is left alone.
    EnableCommandBarControls(bars, qvtControlPopup, 100, TRUE);
    EXPECT_TRUE(Hidden(record));

    // Any kind and any id: everything.
    EnableCommandBarControls(bars, 0, -1, FALSE);
    for (CQVTControl* control : {record, stop, static_cast<CQVTControl*>(menu), nestedRecord,
                                 static_cast<CQVTControl*>(submenu), deepRecord, deepStop, secondRecord})
        EXPECT_TRUE(Hidden(control));
    EnableCommandBarControls(bars, qvtControlButton, -1, TRUE);
    for (CQVTControl* control : {record, stop, nestedRecord, deepRecord, deepStop, secondRecord})
        EXPECT_FALSE(Hidden(control));
    EXPECT_TRUE(Hidden(menu));

    EnableCommandBarControls(nullptr, 0, -1, FALSE);
    site.DestroyWindow();
}
