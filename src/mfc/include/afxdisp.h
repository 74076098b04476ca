// Automation support: variants and dates.
#pragma once
#include <afxwin.h>
#include "mfc/oledispatch.h"
