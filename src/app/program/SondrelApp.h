// The program's application object.
#pragma once

#include <afxwin.h>

class CSondrelApp : public CWinApp
{
public:
    CSondrelApp();

    BOOL InitInstance() override;
};

extern CSondrelApp theApp;
