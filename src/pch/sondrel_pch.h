// The headers nearly every translation unit includes. Keep this list to
// stable headers: changing it rebuilds the whole tree.
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
#endif
