// The system colours, brushes, fonts and sizes as the loaded skin defines
// them; each schema owns one, refreshed after a load and after a change of
// apply options.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCriticalSection.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTSkinManagerSchema;

class CQVTSkinManagerMetrics : public CQVTSynchronized
{
public:
    enum
    {
        kColorCount = 31
    };
    // Skin sizes are bounded to these before they are scaled: a skin that
    // asks for more makes windows that cannot be drawn or used.
    enum
    {
        kMaxCaptionHeight = 100,
        kMaxScrollBarSize = 100,
        kMaxBorderSize = 50,
    };

    explicit CQVTSkinManagerMetrics(CQVTSkinManagerSchema* pSchema);
    virtual ~CQVTSkinManagerMetrics();

    virtual void RefreshMetrics();

    // -1 (all bits) for an index outside 0..30.
    COLORREF GetColor(int nIndex) const;
    // Null for an index outside 0..30.
    HBRUSH GetBrush(int nIndex) const;
    // TRUE for the three fonts and the brushes, FALSE while they are replaced.
    BOOL IsMetricObject(HGDIOBJ hObject);
    void SetDialogTextureBrush(const LOGBRUSH& logBrush);
    void DestroyObjects();

    // The system's colours of a skin that has none, before colour filters.
    static COLORREF AFX_CDECL GetDefaultColor(int nIndex);

    CQVTCriticalSection m_objectLock;  // held while fonts and brushes are replaced
    BOOL m_bReplacing = FALSE;
    CQVTFont m_fntCaption;
    CQVTFont m_fntMenu;
    CQVTFont m_fntSmallCaption;
    CQVTSkinManagerSchema* m_pSchema;  // owner
    CQVTBrush m_brushButtonFace;       // colour 15
    CQVTBrush m_brushDialogTexture;    // tab-page dialog backgrounds, set by the frame code
    CQVTBrush m_brushWindow;           // colour 5
    COLORREF m_clrEdgeLight = 0, m_clrEdgeHighlight = 0, m_clrEdgeShadow = 0, m_clrEdgeDkShadow = 0;
    COLORREF m_clrColors[kColorCount];
    HBRUSH m_hBrushes[kColorCount];
    int m_nBorderWidth = 0;  // SPI_GETBORDER
    int m_cxBorder = 1, m_cyBorder = 1;
    int m_cxEdge = 2, m_cyEdge = 2;
    int m_cxHScroll = 0, m_cyHScroll = 0;  // horizontal bar: arrow width, bar height
    int m_cxVScroll = 0, m_cyVScroll = 0;  // vertical bar: bar width, arrow height
    int m_cyCaption = 0;
    int m_cySmallCaption = 0;
    int m_cySystemCaption = 0;
    int m_cySystemSmallCaption = 0;
    int m_cxSystemVScroll = 0;
    BOOL m_bRefreshing = FALSE;

private:
    void ReplaceFont(CQVTFont& font, const LOGFONT& lf);
};
