// Markup classes of the object-model tests: an element with an inherited,
// observed property, and a base/derived pair whose registrars count.
#pragma once

#include <vector>

#include "tests/toolkit/markup/support/markup_test_support.h"

extern int g_nBaseRegistrations;
extern int g_nDerivedRegistrations;
extern int g_nRegistrationOrder;
extern int g_nBaseRegisteredAt;
extern int g_nDerivedRegisteredAt;

// Types kept out of the class registry, so that only the test registers them.
CQVTMarkupType* AFX_CDECL TestBaseType();
CQVTMarkupType* AFX_CDECL TestDerivedType();
