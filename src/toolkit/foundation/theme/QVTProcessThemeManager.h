// The toolkit's current theme number, kept per process.
#pragma once

#include <afxwin.h>
#include <afxcoll.h>

class CQVTProcessThemeManager : public CNoTrackObject
{
public:
    CQVTProcessThemeManager();
    ~CQVTProcessThemeManager() override;

    int GetTheme() const { return m_nTheme; }
    // A new number refreshes the colour manager's colours.
    void SetTheme(int nTheme);

    // Objects kept for the theme, owned: values are CObject-derived and
    // deleted with the manager.
    CMapPtrToPtr& GetThemedObjects() { return m_mapThemedObjects; }

private:
    CMapPtrToPtr m_mapThemedObjects;
    int m_nTheme = 1;
};

// Made on first use; throws CInvalidArgException when it cannot be had.
CQVTProcessThemeManager* AFXAPI QVTThemeManager();
