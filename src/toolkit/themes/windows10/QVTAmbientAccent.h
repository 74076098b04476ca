// The accent colour the application publishes as its ambient property 1,
// which the Visual Studio 2015 frame and status bar follow until the
// application sets a colour of its own.
#pragma once

#include "toolkit/foundation/core/QVTApplication.h"

namespace QVTAmbientAccent {

// The application object, or null once it has shut down.
CQVTApplication* GetApplication();
// Property 1 as a 32-bit value; -1 (no colour) when it is empty or is not a
// number, so bad values give the keys' colours and nothing else.
COLORREF Read();
// The observer joins the application's list (once) or leaves it.
void Observe(IQVTApplicationEvents* pObserver);
void StopObserving(IQVTApplicationEvents* pObserver);

}  // namespace QVTAmbientAccent
