// GoogleTest for Winelib tests. gtest must not see the Windows macros that
// wineg++ predefines, or it takes its Win32 code paths, which do not exist here.
#pragma once

#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#undef _WIN32
#undef WIN32
#undef _WIN64
#undef WIN64
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#pragma pop_macro("WIN64")
#pragma pop_macro("_WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
