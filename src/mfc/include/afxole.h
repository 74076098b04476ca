// OLE support.
#pragma once
#include <afxdisp.h>
