// The ribbon's links and logo on the Help tab: each a toolkit link or
// bitmap control whose click opens the maker's site, the support mail or
// the updater instead of the control's own address.
#pragma once

#include "toolkit/commandbars/controls/QVTControlBitmap.h"
#include "toolkit/commandbars/controls/QVTControlHyperlink.h"

class CSiteControlHyperlink : public CQVTControlHyperlink
{
    DECLARE_DYNCREATE(CSiteControlHyperlink)

public:
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
};

class CEmailControlHyperlink : public CQVTControlHyperlink
{
    DECLARE_DYNCREATE(CEmailControlHyperlink)

public:
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
};

class CUpdatesControlHyperlink : public CQVTControlHyperlink
{
    DECLARE_DYNCREATE(CUpdatesControlHyperlink)

public:
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
};

class CLogoControlBitmap : public CQVTControlBitmap
{
    DECLARE_DYNCREATE(CLogoControlBitmap)

public:
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
};

// The maker's site, opened by the site link and the logo.
void AFXAPI OpenMakerSite();
// "Updater.exe" beside the program, started with the parameters when it
// exists; FALSE when it does not.
BOOL AFXAPI StartUpdater(LPCTSTR lpszParameters);
