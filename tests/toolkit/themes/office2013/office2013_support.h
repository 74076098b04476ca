// What the flat theme's tests share: theme 12 installed, its colours with
// the test INI loaded for the length of a scope, and a scroll bar or
// progress bar set up by hand.
#pragma once

#include <afxwin.h>

#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

namespace Office2013Test {

inline CQVTCommandBarsOffice2013Theme* Theme()
{
    return DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2013Theme, QVTPaintManager());
}

// Theme 12, made anew and refreshed.
inline CQVTCommandBarsOffice2013Theme* UseTheme()
{
    CQVTPaintManager::SetTheme(qvtThemeOffice2013);
    return Theme();
}

// The test INI of this program's resources while the object lives; then no
// INI, so that every key takes its default. The current theme is refreshed
// both times.
class TestIni
{
public:
    TestIni()
    {
        QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("Office2013Test.ini"));
        Refresh();
    }
    ~TestIni()
    {
        QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr);
        Refresh();
    }
    TestIni(const TestIni&) = delete;
    TestIni& operator=(const TestIni&) = delete;

    static BOOL IsLoaded() { return QVTResourceImages()->IsValid(); }

private:
    static void Refresh()
    {
        if (CQVTPaintManager* pTheme = CQVTPaintManager::GetInstance())
            pTheme->RefreshMetrics();
    }
};

}  // namespace Office2013Test
