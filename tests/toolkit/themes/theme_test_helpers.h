// Helpers the theme tests share: DPI-scaled offsets, the installed theme's
// colours, and theme 5 installed with one of the program's colour schemes.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"

namespace ThemeTest {
inline int X(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}

inline int Y(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}

inline COLORREF Color(int nIndex)
{
    return QVTPaintManager()->GetColor(nIndex);
}

// The scheme files the program carries.
const LPCTSTR kSchemeInis[] = {_T("Office2007Blue.ini"), _T("Office2007Black.ini"), _T("Office2007Aqua.ini"),
                               _T("Office2007Silver.ini")};

// Theme 5 installed with a scheme of this program.
inline CQVTResourceTheme* UseResourceScheme(LPCTSTR lpszIni)
{
    CQVTPaintManager::SetTheme(qvtThemeResource);
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, QVTPaintManager());
    if (pTheme)
        pTheme->SetImageHandle(::GetModuleHandleW(nullptr), lpszIni);
    return pTheme;
}
}  // namespace ThemeTest
