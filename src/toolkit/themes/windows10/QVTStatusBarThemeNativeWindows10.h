// The status bars of the Windows 10 and Visual Studio 2015 looks: the flat
// status bar with a dotted size gripper in colours derived from its face,
// and an accent colour that recolours the face, the buttons and the gripper
// together. The Visual Studio 2015 bar follows the application's ambient
// accent until the application sets one itself.
#pragma once

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/themes/office2013/QVTStatusBarThemeOffice2013.h"

class CQVTStatusBarThemeNativeWindows10 : public CQVTStatusBarThemeOffice2013
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeNativeWindows10)

public:
    explicit CQVTStatusBarThemeNativeWindows10(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawGripper(CDC* pDC, CRect rcClient) override;

    // A colour recolours the bar; -1 returns it to its keys.
    virtual void SetAccentColor(COLORREF clr);
    // The accent in place, or -1 when the bar shows its keys' colours.
    virtual COLORREF GetAccentColor() const;

protected:
    // The keys' colours and the gripper colours derived from them.
    void RefreshKeyColors();
};

class CQVTStatusBarThemeVisualStudio2015 : public CQVTStatusBarThemeNativeWindows10,
                                           public IQVTApplicationEvents
{
    DECLARE_DYNAMIC(CQVTStatusBarThemeVisualStudio2015)

public:
    explicit CQVTStatusBarThemeVisualStudio2015(CQVTPaintManager* pPaintManager);
    ~CQVTStatusBarThemeVisualStudio2015() override;

    void RefreshMetrics() override;
    void SetAccentColor(COLORREF clr) override;
    void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) override;

    BOOL IsFollowingAmbient() const { return m_bFollowAmbient; }

protected:
    void FollowAmbient();

    BOOL m_bFollowAmbient;  // no colour of the application's own is set
};
