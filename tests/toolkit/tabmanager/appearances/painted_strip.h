// A strip of three items, the middle one selected, painted into a 32-bit DIB
// at a position; every colour role of the colour set can be given a colour
// of its own, so that each sampled pixel tells which role drew it.
#pragma once

#include <afxwin.h>

#include <cstdio>
#include <string>

#include "dib_canvas.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

namespace Marker {
const COLORREF kHeader = RGB(0x10, 0x20, 0x30);
const COLORREF kFrame = RGB(0xF0, 0x10, 0x10);
const COLORREF kBack = RGB(0x20, 0x90, 0x20);
const COLORREF kButton = RGB(0x30, 0x30, 0xC0);
const COLORREF kSelected = RGB(0xC0, 0xC0, 0x30);
const COLORREF kHighlighted = RGB(0x40, 0xE0, 0xE0);
const COLORREF kSeparator = RGB(0x90, 0x40, 0x90);
const COLORREF kSelectedBorderLight = RGB(0x11, 0xAA, 0x55);
const COLORREF kSelectedBorderDark = RGB(0x55, 0x11, 0xAA);
const COLORREF kPane = RGB(0x66, 0x77, 0x88);
const COLORREF kFrames[7] = {RGB(0xFE, 0xFE, 0x01), RGB(0x02, 0xFE, 0xFE), RGB(0xFE, 0x03, 0xFE),
                             RGB(0x81, 0x04, 0x04), RGB(0x05, 0x81, 0x05), RGB(0x06, 0x06, 0x81),
                             RGB(0xA1, 0xA2, 0x07)};
const COLORREF kStateA[6] = {RGB(0x11, 0x22, 0x33), RGB(0x22, 0x33, 0x44), RGB(0x33, 0x44, 0x55),
                             RGB(0x44, 0x55, 0x66), RGB(0x55, 0x66, 0x77), RGB(0x66, 0x77, 0x99)};
const COLORREF kStateB[6] = {RGB(0x99, 0x22, 0x11), RGB(0xAA, 0x33, 0x22), RGB(0xBB, 0x44, 0x33),
                             RGB(0xCC, 0x55, 0x44), RGB(0xDD, 0x66, 0x55), RGB(0xEE, 0x77, 0x66)};
}  // namespace Marker

inline std::string Hex(COLORREF clr)
{
    char sz[16];
    std::snprintf(sz, sizeof(sz), "#%02X%02X%02X", GetRValue(clr), GetGValue(clr), GetBValue(clr));
    return sz;
}

// No resource image set for one test (a program with INI resources gets one
// by itself).
struct NoResourceImages
{
    NoResourceImages() { QVTResourceImages()->LoadIni(_T("Nowhere.ini")); }
};

struct PaintedStrip
{
    static const int kWidth = 360, kHeight = 240;

    PaintedStrip(int nAppearance, int nPosition, int nColor = -1)
    {
        CQVTTabPaintManager* pPaintManager = host.m_pPaintManager;
        pPaintManager->SetAppearance(nAppearance);
        if (nColor >= 0)
            pPaintManager->SetColor(nColor);
        pPaintManager->SetPosition(nPosition);
        host.AddItems({_T("One"), _T("Two"), _T("Three")});
        host.SetLayoutRect(Control());
        host.SetCurSel(1);
        Paint();
    }

    static CRect Control() { return CRect(0, 0, kWidth, kHeight); }
    CQVTTabPaintManager* PaintManager() const { return host.m_pPaintManager; }
    CQVTTabPaintManagerColorSet* ColorSet() const { return host.m_pPaintManager->GetColorSet(); }
    CQVTTabPaintManagerTheme* Appearance() const { return host.m_pPaintManager->GetAppearanceSet(); }
    int Position() const { return host.m_pPaintManager->GetPosition(); }
    CRect Item(int i) const { return host.GetItem(i)->GetRect(); }

    // Every role its own colour, kept until the set refreshes.
    void UseMarkers()
    {
        CQVTTabPaintManagerColorSet* p = ColorSet();
        p->m_grcHeaderFace.clrLight.SetCustomValue(Marker::kHeader);
        p->m_grcHeaderFace.clrDark.SetCustomValue(Marker::kHeader);
        p->m_clrFrameBorder.SetCustomValue(Marker::kFrame);
        p->m_clrClientFace.SetCustomValue(Marker::kBack);
        p->m_clrPaneFace.SetCustomValue(Marker::kPane);
        p->m_clrButton.SetCustomValue(Marker::kButton);
        p->m_clrButtonSelected.SetCustomValue(Marker::kSelected);
        p->m_clrButtonHighlighted.SetCustomValue(Marker::kHighlighted);
        p->m_clrButtonPressed.SetCustomValue(Marker::kHighlighted);
        p->m_clrSeparatorHighlight.SetCustomValue(Marker::kSeparator);
        p->m_grcSelectedFace.clrLight.SetCustomValue(Marker::kSelected);
        p->m_grcSelectedFace.clrDark.SetCustomValue(Marker::kSelected);
        p->m_grcSelectedBorder.clrLight.SetCustomValue(Marker::kSelectedBorderLight);
        p->m_grcSelectedBorder.clrDark.SetCustomValue(Marker::kSelectedBorderDark);
        for (int i = 0; i < 7; ++i)
            p->m_csFrame[i].SetCustomValue(Marker::kFrames[i]);
        for (int i = 0; i < 6; ++i)
        {
            p->m_csStateA[i].SetCustomValue(Marker::kStateA[i]);
            p->m_csStateB[i].SetCustomValue(Marker::kStateB[i]);
        }
        Paint();
    }

    void Paint()
    {
        canvas.Clear(RGB(0xFF, 0x00, 0xFF));
        host.PaintTo(&canvas.dc, Control());
    }

    // A pixel at u along the strip and v across it from the outer edge of rc.
    CPoint Map(const CRect& rc, int u, int v) const
    {
        switch (Position())
        {
        case 1:
            return CPoint(rc.left + v, rc.top + u);
        case 2:
            return CPoint(rc.left + u, rc.bottom - 1 - v);
        case 3:
            return CPoint(rc.right - 1 - v, rc.top + u);
        default:
            return CPoint(rc.left + u, rc.top + v);
        }
    }
    int Along(const CRect& rc) const { return Position() % 2 ? rc.Height() : rc.Width(); }
    int Across(const CRect& rc) const { return Position() % 2 ? rc.Width() : rc.Height(); }
    // rc grown by margins given for the top position.
    CRect Grown(CRect rc, const CRect& rcMargins) const
    {
        CQVTTabPaintManager::InflateRectByPosition(rc, rcMargins, Position());
        return rc;
    }
    std::string At(CPoint pt) const { return Hex(canvas.At(pt.x, pt.y)); }

    CTabTestHost host;
    DibCanvas canvas{kWidth, kHeight};
};
