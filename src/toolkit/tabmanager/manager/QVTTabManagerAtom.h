// What a tab paint manager knows of the strips that use it: enough to tell
// each of them to lay out again after the look changed.
#pragma once

#include <afxwin.h>

class CQVTTabManagerAtom
{
public:
    // Called for every attached strip after the appearance, the colour set
    // or the metrics changed.
    virtual void Refresh() { Reposition(); }
    // The host lays the strip out again and repaints it.
    virtual void Reposition() = 0;
    virtual ~CQVTTabManagerAtom() {}
};
