// Windows, GDI, commands, dialogs and the application object.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <commctrl.h>

#include "mfc/geometry.h"
#include "mfc/gdi.h"
#include "mfc/cmdtarget.h"
#include "mfc/menu.h"
#include "mfc/wnd.h"
#include "mfc/dialog.h"
#include "mfc/controls.h"
#include "mfc/frame.h"
#include "mfc/mdi.h"
#include "mfc/winapp.h"
#include "mfc/doc.h"
