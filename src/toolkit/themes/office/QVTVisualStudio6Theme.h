// The Office 2000 look with double grippers.
#pragma once

#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"

class CQVTVisualStudio6Theme : public CQVTCommandBarsOffice2000Theme
{
    DECLARE_DYNAMIC(CQVTVisualStudio6Theme)

public:
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
};
