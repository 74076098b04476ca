// The geometry paths and rounded rectangles are drawn from: a flat list of
// float points, each with a path point type (0 figure start, 1 line end,
// 3 Bezier point, 0x80 on the last point of a closed figure), and their
// whole-pixel bounds, made from the path language of a "Data" attribute or
// by code. CQVTMarkupPathBuilder collects the points figure by figure.
#pragma once

#include <vector>

#include "toolkit/markup/core/QVTMarkupType.h"

struct MARKUP_POINTF
{
    float x;
    float y;
};

enum : BYTE
{
    QVT_PATH_START = 0,
    QVT_PATH_LINE = 1,
    QVT_PATH_BEZIER = 3,
    QVT_PATH_TYPE_MASK = 7,
    QVT_PATH_CLOSE = 0x80,
};

// Containers the markup may write inside a path's data; nothing draws them.
class CQVTMarkupPathGeometryFigures : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupPathGeometryFigures)
};

class CQVTMarkupPathGeometry : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupPathGeometry)

public:
    // A Figures child becomes the Figures value.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    static CQVTMarkupDependencyProperty* m_pFiguresProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupPathData : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupPathData)

public:
    CQVTMarkupPathData();
    // Copies both arrays; a negative count or null arrays give an empty path.
    CQVTMarkupPathData(const MARKUP_POINTF* pPoints, const BYTE* pTypes, int nCount);

    // Path text read with the path language; null for a value that is not text.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;
    // A PathGeometry child becomes the PathGeometry value.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    // A new path of the points mapped from the bounds onto the size (one
    // reference for the caller). An axis without extent is left as it is.
    CQVTMarkupPathData* GetStretchedData(SIZE size) const;

    int GetCount() const { return static_cast<int>(m_arrPoints.size()); }
    const MARKUP_POINTF* GetPoints() const { return m_arrPoints.data(); }
    const BYTE* GetTypes() const { return m_arrTypes.data(); }
    const RECT& GetBounds() const { return m_rcBounds; }
    // Empty for no points; otherwise floor of the smallest and ceiling of the
    // largest coordinates, saturated to 32 bits.
    void UpdateBounds();
    // The GDI+ pixel offset mode the outline is stroked with; 0 for the
    // device context's own (every path made from text).
    DWORD GetPixelOffsetMode() const { return m_dwPixelOffsetMode; }
    void SetPixelOffsetMode(DWORD dwMode) { m_dwPixelOffsetMode = dwMode; }

    static CQVTMarkupDependencyProperty* m_pPathGeometryProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    std::vector<MARKUP_POINTF> m_arrPoints;
    std::vector<BYTE> m_arrTypes;  // one per point
    RECT m_rcBounds;
    DWORD m_dwPixelOffsetMode;  // copied by stretching
};

class CQVTMarkupPathBuilder
{
public:
    // A start point right after another replaces it: consecutive moves leave one.
    void MoveTo(float x, float y);
    void LineTo(float x, float y);
    void BezierTo(const MARKUP_POINTF& c1, const MARKUP_POINTF& c2, const MARKUP_POINTF& end);
    void CloseFigure();
    BOOL IsEmpty() const { return m_arrPoints.empty(); }

    // A new path of the points collected (one reference for the caller).
    CQVTMarkupPathData* CreatePathData() const;

    static CQVTMarkupDependencyProperty* m_pPathGeometryProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    std::vector<MARKUP_POINTF> m_arrPoints;
    std::vector<BYTE> m_arrTypes;
};
