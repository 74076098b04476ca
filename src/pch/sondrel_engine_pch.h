// The media engine's precompiled header: Windows, COM and standard headers
// only, no MFC. The engine's native layers (FFmpeg, PulseAudio) compile
// without it, as they keep away from the Windows headers.
#pragma once

#ifdef __cplusplus
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <ocidl.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>
#endif
