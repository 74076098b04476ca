// Non-template collections.
#pragma once
#include <afx.h>
#include "mfc/collections.h"
