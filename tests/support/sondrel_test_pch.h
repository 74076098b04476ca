// The test programs' precompiled header: the shared one plus GoogleTest,
// which is the bulk of what a test file parses.
#pragma once

#include "pch/sondrel_pch.h"
#ifdef __cplusplus
#include "sondrel_gtest.h"
#endif
