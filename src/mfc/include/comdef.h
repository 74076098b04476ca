// Compiler COM support: smart pointers and errors.
#pragma once
#include <comutil.h>
#include "mfc/comsupport.h"
