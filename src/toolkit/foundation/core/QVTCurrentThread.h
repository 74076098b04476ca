// The framework thread that runs the caller.
#pragma once

#include <afxwin.h>

// The current thread object, else the module's application object.
CWinThread* AFXAPI QVTGetCurrentThread();
