// Standard dialogs.
#pragma once
#include <afxwin.h>
#include "mfc/standarddialogs.h"
#include "mfc/propertypage.h"
