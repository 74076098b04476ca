// Threads' synchronisation objects.
#pragma once
#include <afx.h>
#include "mfc/sync.h"
