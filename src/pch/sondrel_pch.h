// The headers nearly every translation unit includes. Keep this list to
// stable headers: changing it rebuilds the whole tree. Every target that
// reuses this header must compile with all of it force-included, the MFC
// layer's umbrella headers too (the media engine, which keeps away from MFC,
// has its own lighter header).
#pragma once

#ifdef __cplusplus
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <shlwapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <afx.h>
#include <afxwin.h>
#include <afxcmn.h>
#include <afxtempl.h>
#include <afxcoll.h>
#include <afxmt.h>
#include <afxdisp.h>
#include <comdef.h>
#endif
