// What a loaded skin asks of the manager that loaded it: its colour filters
// and its apply options. The manager derives from this; a skin read without
// one (tests, tools) has no filters and applies everything.
#pragma once

#include <windows.h>

class CQVTSkinManagerSite
{
public:
    virtual ~CQVTSkinManagerSite() = default;

    // Every colour filter in order rewrites the colour in place.
    virtual void ApplyColorFilter(COLORREF* pColor) = 0;
    virtual BOOL HasColorFilters() = 0;
    virtual UINT GetApplyOptions() = 0;
};

// Apply-option bits the reading half looks at.
enum : UINT
{
    qvtSkinApplyMetrics = 1,  // the skin's sizes and fonts replace the system's
};
