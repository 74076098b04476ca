// Flat fills without frames: Visual Studio 2012, and the Office 2013,
// Visual Studio 2015 and native Windows 10 looks that differ only in colours.
#pragma once

#include "toolkit/tabmanager/appearances/QVTTabThemeFlat.h"

class CQVTTabThemeVisualStudio2012 : public CQVTTabThemeFlat
{
public:
    int GetDefaultColorSet() const override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
    void DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart) override;
};

class CQVTTabThemeOffice2013 : public CQVTTabThemeVisualStudio2012
{
public:
    int GetDefaultColorSet() const override;
};

class CQVTTabThemeVisualStudio2015 : public CQVTTabThemeOffice2013
{
public:
    int GetDefaultColorSet() const override;
};

class CQVTTabThemeNativeWindows10 : public CQVTTabThemeOffice2013
{
public:
    int GetDefaultColorSet() const override;
};
