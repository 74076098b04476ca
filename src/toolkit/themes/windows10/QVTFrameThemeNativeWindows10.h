// The frames of the Windows 10 and Visual Studio 2015 looks: the Office 2013
// frame with a coloured glow that greys out while inactive and an accent
// colour for the active border. The Windows 10 frame takes the system
// accent (the application's ambient colour) and draws the restore button
// from a part per state; the Visual Studio 2015 frame follows the
// application's ambient accent until the application sets one itself.
#pragma once

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/themes/office2013/QVTFrameThemeOffice2013.h"

class CQVTFrameThemeNativeWindows10 : public CQVTFrameThemeOffice2013
{
    DECLARE_DYNAMIC(CQVTFrameThemeNativeWindows10)

public:
    explicit CQVTFrameThemeNativeWindows10(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    CQVTFrameShadow* CreateShadow(CWnd* pFrame) override;
    void OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow) override;

    // The active border's own colour; -1 returns it to the keys.
    virtual void SetAccentColor(COLORREF clr);
    virtual COLORREF GetAccentColor() const;
    // The glow's colour as the frame's activation left it.
    COLORREF GetShadowColor() const { return m_clrShadow; }
    // The restore button's part for a state.
    CQVTModernUIFrameCaptionButton* GetRestorePart(BOOL bSelected, BOOL bPressed, BOOL bActive);
    BOOL AreRestorePartsLoaded() const { return m_bRestorePartsLoaded; }

public:
    COLORREF m_clrActiveShadow;
    COLORREF m_clrInactiveShadow;
    CQVTModernUIFrameCaptionButton m_buttonRestoreActive;
    CQVTModernUIFrameCaptionButton m_buttonRestoreInactive;
    CQVTModernUIFrameCaptionButton m_buttonRestoreHot;
    CQVTModernUIFrameCaptionButton m_buttonRestorePressed;

protected:
    // The system's accent: the application's ambient colour where the
    // system has one, else none (-1).
    COLORREF GetSystemAccentColor() const;
    // Windows 10 and later publish an accent colour.
    virtual BOOL HasSystemAccent() const;
    // Registers the restore brushes under "Theme.Colors.Frame".
    void RegisterRestoreBrushes(CQVTMarkupContext* pContext);

    BOOL m_bRestorePartsLoaded;  // the parts are loaded once per frame theme
    COLORREF m_clrShadow;        // what the last activation chose
};

class CQVTFrameThemeVisualStudio2015 : public CQVTFrameThemeOffice2013, public IQVTApplicationEvents
{
    DECLARE_DYNAMIC(CQVTFrameThemeVisualStudio2015)

public:
    explicit CQVTFrameThemeVisualStudio2015(CQVTPaintManager* pPaintManager);
    ~CQVTFrameThemeVisualStudio2015() override;

    void RefreshMetrics() override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    CQVTFrameShadow* CreateShadow(CWnd* pFrame) override;
    void OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow) override;
    void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) override;

    // The active border's own colour; -1 returns it to the keys and follows
    // the ambient accent again.
    virtual void SetAccentColor(COLORREF clr);
    virtual COLORREF GetAccentColor() const;
    COLORREF GetShadowColor() const { return m_clrShadow; }
    BOOL IsFollowingAmbient() const { return m_bFollowAmbient; }

public:
    COLORREF m_clrActiveShadow;
    COLORREF m_clrInactiveShadow;

protected:
    void FollowAmbient();

    BOOL m_bFollowAmbient;  // no colour of the application's own is set
    COLORREF m_clrShadow;   // what the last activation chose
};
