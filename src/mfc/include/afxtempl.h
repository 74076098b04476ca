// Template collections.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include "mfc/templatecollections.h"
