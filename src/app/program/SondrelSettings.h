// Where the program keeps its settings, and the values' names.
#pragma once

#include <afx.h>

const TCHAR kSettingsKey[] = _T("Software\\Quorvane\\Sondrel");
// Written at every start: the program's version, 1.2.6.196.
const DWORD kSettingsVersion = 1260196;
// Longest skin name or folder read back.
const int kSettingsTextLimit = 1024;
