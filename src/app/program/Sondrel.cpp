// The program's one application object.
#include "app/program/DisplayResources.h"
#include "app/program/SondrelApp.h"

namespace {
// Before the display driver's first font selection.
const bool g_bDisplayResources = (ReadDisplayResourcesOnce(), true);
}  // namespace

CSondrelApp theApp;
