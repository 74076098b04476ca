// The core of our MFC layer: object model, strings, exceptions, files and
// archives. Sub-headers live in mfc/ and are included only through here.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <tchar.h>

#include "mfc/afxdefs.h"
#include "mfc/utf16crt.h"
#include "mfc/object.h"
#include "mfc/threadlocal.h"
#include "mfc/cstring.h"
#include "mfc/exceptions.h"
#include "mfc/timetypes.h"
#include "mfc/file.h"
#include "mfc/archive.h"
