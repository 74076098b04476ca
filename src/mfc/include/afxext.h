// Frame and bar extensions.
#pragma once
#include <afxwin.h>
#include "mfc/extensions.h"
#include "mfc/controlbar.h"
#include "mfc/rebar.h"
