// Shared by _variant_t and COleVariant: same type and same value.
#pragma once

#include <windows.h>
#include <oleauto.h>

bool SondrelVariantsEqual(const VARIANT* a, const VARIANT* b) noexcept;
