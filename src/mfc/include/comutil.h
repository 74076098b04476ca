// Compiler COM support: _bstr_t and _variant_t.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include "mfc/comutility.h"
