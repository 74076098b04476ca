// Common controls.
#pragma once
#include <afxwin.h>
#include "mfc/commoncontrols.h"
