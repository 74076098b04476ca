// The path mini-language of a "Data" attribute: move, line, horizontal and
// vertical line, cubic and smooth cubic, quadratic and smooth quadratic
// curves, elliptical arcs (turned into cubic curves) and close, upper case
// absolute and lower case relative, with an optional leading fill rule.
#pragma once

#include "toolkit/markup/values/QVTMarkupPathData.h"

class CQVTMarkupBuilder;
class CQVTMarkupContext;

class CQVTMarkupPathDataParser
{
public:
    // The builder reports errors and gives the context whose DPI scales
    // coordinates; both may be null.
    CQVTMarkupPathDataParser(CQVTMarkupBuilder* pBuilder, CQVTMarkupContext* pContext, LPCWSTR lpszText);

    CQVTMarkupPathDataParser(const CQVTMarkupPathDataParser&) = delete;
    CQVTMarkupPathDataParser& operator=(const CQVTMarkupPathDataParser&) = delete;

    // Reads the whole text; a syntax fault raises the builder error
    // "Unexpected token encountered at position '%i'".
    void Parse();
    // A new path of the points read (one reference for the caller).
    CQVTMarkupPathData* CreatePathData() const;

    // Coordinates are kept within the float range: larger numbers, and sums
    // that would leave it, stop at the largest finite value.
    static float AFX_CDECL ClampCoordinate(double dValue);

private:
    [[noreturn]] void ThrowBadToken() const;
    BOOL AtEnd() const { return m_nPosition >= m_nLength; }
    WCHAR Peek() const { return AtEnd() ? 0 : m_lpszText[m_nPosition]; }
    static BOOL IsBlank(WCHAR ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; }

    BOOL SkipWhiteSpace(BOOL bAllowComma);
    // The next command letter; FALSE at the end of the text.
    BOOL ReadToken();
    BOOL IsNumber(BOOL bAllowComma);
    float ReadNumber(BOOL bAllowComma);
    MARKUP_POINTF ReadPoint(WCHAR chCommand, BOOL bAllowComma);
    MARKUP_POINTF ReadSize(BOOL bAllowComma);
    MARKUP_POINTF Reflect() const;
    float ScaleX(float fValue) const;
    float ScaleY(float fValue) const;

    void MoveTo(const MARKUP_POINTF& pt);
    void LineTo(const MARKUP_POINTF& pt);
    void BezierTo(const MARKUP_POINTF& c1, const MARKUP_POINTF& c2, const MARKUP_POINTF& end);
    void QuadTo(const MARKUP_POINTF& control, const MARKUP_POINTF& end);
    void CloseFigure();
    void EnsureFigure();

    // One command each, from its letter to the last of its repeated
    // arguments.
    void ReadFillRule();
    void ParseCommand(WCHAR ch);
    void ParseMove(WCHAR ch);
    void ParseLines(WCHAR ch);
    void ParseAxisLines(WCHAR ch);
    void ParseCubics(WCHAR ch);
    void ParseSmoothCubics(WCHAR ch);
    void ParseQuadratic(WCHAR ch);
    void ParseSmoothQuadratics(WCHAR ch);
    void ParseArc(WCHAR ch);
    void ParseClose();
    void ArcTo(const MARKUP_POINTF& end, double dRotation, double rx, double ry, BOOL bLargeArc, BOOL bSweep);
    void ArcSegmentTo(double cu, double cv, double dStart, double dEnd, double rx, double ry, double dSin,
                      double dCos);

    LPCWSTR m_lpszText;
    int m_nLength;
    int m_nPosition;  // index of the next unread character
    BOOL m_bFigureOpen;
    int m_nFillRule;  // the digit after F; read, then not used
    std::vector<MARKUP_POINTF> m_arrPoints;
    std::vector<BYTE> m_arrTypes;
    WCHAR m_chToken;  // the command just read
    WCHAR m_chLast;   // the kind of the last segment: 'M', 'L', 'C', 'T', 'A' or 'Z'
    CQVTMarkupBuilder* m_pBuilder;
    CQVTMarkupContext* m_pContext;
    MARKUP_POINTF m_ptLastControl;  // second control point of the last cubic curve
    MARKUP_POINTF m_ptQuadControl;  // control point of the last quadratic curve
    MARKUP_POINTF m_ptCurrent;
    MARKUP_POINTF m_ptFigureStart;
};
