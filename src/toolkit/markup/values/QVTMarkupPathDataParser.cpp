#include "toolkit/markup/values/QVTMarkupPathDataParser.h"

#include <cfloat>
#include <cmath>

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"

namespace {
// Past this many, further exponent digits change nothing: a float is
// infinite or zero long before.
const int kMaxExponent = 100;
// A quarter turn and a little: an exact quarter arc is one segment.
const double kArcSegmentAngle = 1.5717963267948964;
const double kRadiansPerDegree = 0.017453292519943295;
}  // namespace

CQVTMarkupPathDataParser::CQVTMarkupPathDataParser(CQVTMarkupBuilder* pBuilder, CQVTMarkupContext* pContext,
                                                   LPCWSTR lpszText)
    : m_lpszText(lpszText != nullptr ? lpszText : u""), m_nLength(0), m_nPosition(0), m_bFigureOpen(FALSE),
      m_nFillRule(0), m_chToken(u' '), m_chLast(u' '), m_pBuilder(pBuilder),
      m_pContext(pContext), m_ptLastControl{0, 0}, m_ptQuadControl{0, 0}, m_ptCurrent{0, 0}, m_ptFigureStart{
                                                                                                 0, 0}
{
    m_nLength = static_cast<int>(std::min<size_t>(_tcslen(m_lpszText), INT_MAX));
}

float AFX_CDECL CQVTMarkupPathDataParser::ClampCoordinate(double dValue)
{
    if (std::isnan(dValue))
        return 0.0f;
    if (dValue > FLT_MAX)
        return FLT_MAX;
    if (dValue < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(dValue);
}

void CQVTMarkupPathDataParser::ThrowBadToken() const
{
    // Every caller reports the fault as a markup error, builder or not.
    CQVTMarkupBuilder::ThrowBuilderErrorFormat(u"Unexpected token encountered at position '%i'", m_nPosition);
}

BOOL CQVTMarkupPathDataParser::SkipWhiteSpace(BOOL bAllowComma)
{
    while (!AtEnd() && IsBlank(Peek()))
        ++m_nPosition;
    if (Peek() != u',')
        return FALSE;
    if (!bAllowComma)
        ThrowBadToken();
    ++m_nPosition;
    while (!AtEnd() && IsBlank(Peek()))
        ++m_nPosition;
    if (Peek() == u',')
        ThrowBadToken();
    return TRUE;
}

BOOL CQVTMarkupPathDataParser::ReadToken()
{
    SkipWhiteSpace(FALSE);
    if (AtEnd())
        return FALSE;
    m_chToken = m_lpszText[m_nPosition++];
    return TRUE;
}

BOOL CQVTMarkupPathDataParser::IsNumber(BOOL bAllowComma)
{
    const BOOL bComma = SkipWhiteSpace(bAllowComma);
    const WCHAR ch = Peek();
    if (!AtEnd() && (ch == u'.' || ch == u'+' || ch == u'-' || (ch >= u'0' && ch <= u'9')))
        return TRUE;
    // A comma must be followed by a number.
    if (bComma)
        ThrowBadToken();
    return FALSE;
}

float CQVTMarkupPathDataParser::ReadNumber(BOOL bAllowComma)
{
    if (!IsNumber(bAllowComma))
        ThrowBadToken();
    BOOL bNegative = FALSE;
    if (Peek() == u'+' || Peek() == u'-')
        bNegative = m_lpszText[m_nPosition++] == u'-';
    float fValue = 0.0f;
    while (Peek() >= u'0' && Peek() <= u'9')
        fValue = fValue * 10.0f + static_cast<float>(m_lpszText[m_nPosition++] - u'0');
    if (Peek() == u'.')
    {
        ++m_nPosition;
        float fFactor = 1.0f;
        while (Peek() >= u'0' && Peek() <= u'9')
        {
            fFactor *= 0.1f;
            fValue += static_cast<float>(m_lpszText[m_nPosition++] - u'0') * fFactor;
        }
        if (Peek() == u'E' || Peek() == u'e')
        {
            ++m_nPosition;
            BOOL bNegativeExponent = FALSE;
            if (Peek() == u'-')
            {
                bNegativeExponent = TRUE;
                ++m_nPosition;
            }
            int nExponent = 0;
            while (Peek() >= u'0' && Peek() <= u'9')
            {
                // Millions in the exponent cost no more than a hundred.
                nExponent = std::min(nExponent * 10 + (m_lpszText[m_nPosition++] - u'0'), kMaxExponent);
            }
            const float fStep = bNegativeExponent ? 0.1f : 10.0f;
            for (int i = 0; i < nExponent; ++i)
                fValue *= fStep;
        }
    }
    return ClampCoordinate(bNegative ? -double(fValue) : double(fValue));
}

float CQVTMarkupPathDataParser::ScaleX(float fValue) const
{
    return ClampCoordinate(m_pContext != nullptr ? m_pContext->ScaleXFloat(fValue) : fValue);
}

float CQVTMarkupPathDataParser::ScaleY(float fValue) const
{
    return ClampCoordinate(m_pContext != nullptr ? m_pContext->ScaleYFloat(fValue) : fValue);
}

MARKUP_POINTF CQVTMarkupPathDataParser::ReadPoint(WCHAR chCommand, BOOL bAllowComma)
{
    MARKUP_POINTF pt;
    pt.x = ScaleX(ReadNumber(bAllowComma));
    pt.y = ScaleY(ReadNumber(TRUE));
    if (chCommand >= u'a' && chCommand <= u'z')
    {
        pt.x = ClampCoordinate(double(pt.x) + m_ptCurrent.x);
        pt.y = ClampCoordinate(double(pt.y) + m_ptCurrent.y);
    }
    return pt;
}

MARKUP_POINTF CQVTMarkupPathDataParser::ReadSize(BOOL bAllowComma)
{
    MARKUP_POINTF size;
    size.x = ScaleX(ReadNumber(bAllowComma));
    size.y = ScaleY(ReadNumber(TRUE));
    return size;
}

MARKUP_POINTF CQVTMarkupPathDataParser::Reflect() const
{
    return MARKUP_POINTF{ClampCoordinate(2.0 * m_ptCurrent.x - m_ptLastControl.x),
                         ClampCoordinate(2.0 * m_ptCurrent.y - m_ptLastControl.y)};
}

void CQVTMarkupPathDataParser::MoveTo(const MARKUP_POINTF& pt)
{
    if (!m_arrTypes.empty() && (m_arrTypes.back() & QVT_PATH_TYPE_MASK) == QVT_PATH_START)
    {
        m_arrPoints.back() = pt;
        m_arrTypes.back() = QVT_PATH_START;
        return;
    }
    m_arrPoints.push_back(pt);
    m_arrTypes.push_back(QVT_PATH_START);
}

void CQVTMarkupPathDataParser::LineTo(const MARKUP_POINTF& pt)
{
    m_arrPoints.push_back(pt);
    m_arrTypes.push_back(QVT_PATH_LINE);
}

void CQVTMarkupPathDataParser::BezierTo(const MARKUP_POINTF& c1, const MARKUP_POINTF& c2,
                                        const MARKUP_POINTF& end)
{
    m_arrPoints.insert(m_arrPoints.end(), {c1, c2, end});
    m_arrTypes.insert(m_arrTypes.end(), 3, QVT_PATH_BEZIER);
}

void CQVTMarkupPathDataParser::QuadTo(const MARKUP_POINTF& control, const MARKUP_POINTF& end)
{
    BezierTo(control, end, end);
}

void CQVTMarkupPathDataParser::CloseFigure()
{
    if (!m_arrTypes.empty())
        m_arrTypes.back() |= QVT_PATH_CLOSE;
}

void CQVTMarkupPathDataParser::EnsureFigure()
{
    if (m_bFigureOpen)
        return;
    MoveTo(m_ptFigureStart);
    m_bFigureOpen = TRUE;
}

void CQVTMarkupPathDataParser::Parse()
{
    m_chLast = u' ';
    if (!ReadToken())
        return;
    // A fill rule may come first; then the first figure must be a move.
    while (m_chToken == u'F')
    {
        ReadFillRule();
        if (!ReadToken())
            return;
    }
    if (m_chToken != u'M' && m_chToken != u'm')
        ThrowBadToken();
    do
        ParseCommand(m_chToken);
    while (ReadToken());
    // Figures that never received a segment leave nothing behind.
    while (!m_arrTypes.empty() && (m_arrTypes.back() & QVT_PATH_TYPE_MASK) == QVT_PATH_START)
    {
        m_arrTypes.pop_back();
        m_arrPoints.pop_back();
    }
}

void CQVTMarkupPathDataParser::ReadFillRule()
{
    SkipWhiteSpace(FALSE);
    if (Peek() != u'0' && Peek() != u'1')
        ThrowBadToken();
    m_nFillRule = m_lpszText[m_nPosition++] - u'0';
}

void CQVTMarkupPathDataParser::ParseCommand(WCHAR ch)
{
    switch (ch)
    {
    case u'M':
    case u'm':
        return ParseMove(ch);
    case u'L':
    case u'l':
        return ParseLines(ch);
    case u'H':
    case u'h':
    case u'V':
    case u'v':
        return ParseAxisLines(ch);
    case u'C':
    case u'c':
        return ParseCubics(ch);
    case u'S':
    case u's':
        return ParseSmoothCubics(ch);
    case u'Q':
    case u'q':
        return ParseQuadratic(ch);
    case u'T':
    case u't':
        return ParseSmoothQuadratics(ch);
    case u'A':
    case u'a':
        return ParseArc(ch);
    case u'Z':
    case u'z':
        return ParseClose();
    default:
        ThrowBadToken();
    }
}

// Numbers after the first point are lines to each further point.
void CQVTMarkupPathDataParser::ParseMove(WCHAR ch)
{
    const MARKUP_POINTF pt = ReadPoint(ch, FALSE);
    MoveTo(pt);
    m_bFigureOpen = TRUE;
    m_ptFigureStart = m_ptCurrent = pt;
    m_chLast = u'M';
    while (IsNumber(TRUE))
    {
        const MARKUP_POINTF ptLine = ReadPoint(ch, FALSE);
        LineTo(ptLine);
        m_ptCurrent = ptLine;
        m_chLast = u'L';
    }
}

void CQVTMarkupPathDataParser::ParseLines(WCHAR ch)
{
    EnsureFigure();
    do
    {
        const MARKUP_POINTF pt = ReadPoint(ch, FALSE);
        LineTo(pt);
        m_ptCurrent = pt;
    } while (IsNumber(TRUE));
    m_chLast = u'L';
}

// H and V: lines along one axis, absolute or relative.
void CQVTMarkupPathDataParser::ParseAxisLines(WCHAR ch)
{
    const BOOL bHorizontal = ch == u'H' || ch == u'h';
    const BOOL bAbsolute = ch == u'H' || ch == u'V';
    EnsureFigure();
    do
    {
        const float fValue = bHorizontal ? ScaleX(ReadNumber(FALSE)) : ScaleY(ReadNumber(FALSE));
        float& fCurrent = bHorizontal ? m_ptCurrent.x : m_ptCurrent.y;
        fCurrent = bAbsolute ? fValue : ClampCoordinate(double(fCurrent) + fValue);
        LineTo(m_ptCurrent);
    } while (IsNumber(TRUE));
    m_chLast = u'L';
}

void CQVTMarkupPathDataParser::ParseCubics(WCHAR ch)
{
    EnsureFigure();
    do
    {
        const MARKUP_POINTF c1 = ReadPoint(ch, FALSE);
        const MARKUP_POINTF c2 = ReadPoint(ch, TRUE);
        const MARKUP_POINTF end = ReadPoint(ch, TRUE);
        BezierTo(c1, c2, end);
        m_ptLastControl = c2;
        m_ptCurrent = end;
    } while (IsNumber(TRUE));
    m_chLast = u'C';
}

// The first control point mirrors the last cubic's second, or is the
// current point after anything else.
void CQVTMarkupPathDataParser::ParseSmoothCubics(WCHAR ch)
{
    EnsureFigure();
    do
    {
        const MARKUP_POINTF c2 = ReadPoint(ch, FALSE);
        const MARKUP_POINTF end = ReadPoint(ch, TRUE);
        const MARKUP_POINTF c1 = m_chLast == u'C' ? Reflect() : m_ptCurrent;
        BezierTo(c1, c2, end);
        m_ptLastControl = c2;
        m_ptCurrent = end;
        m_chLast = u'C';
    } while (IsNumber(TRUE));
}

void CQVTMarkupPathDataParser::ParseQuadratic(WCHAR ch)
{
    EnsureFigure();
    const MARKUP_POINTF control = ReadPoint(ch, TRUE);
    const MARKUP_POINTF end = ReadPoint(ch, FALSE);
    QuadTo(control, end);
    m_ptQuadControl = control;
    m_ptCurrent = end;
    m_chLast = u'T';
}

void CQVTMarkupPathDataParser::ParseSmoothQuadratics(WCHAR ch)
{
    EnsureFigure();
    do
    {
        const MARKUP_POINTF end = ReadPoint(ch, FALSE);
        const MARKUP_POINTF control =
            m_chLast == u'T' ? MARKUP_POINTF{ClampCoordinate(2.0 * m_ptCurrent.x - m_ptQuadControl.x),
                                             ClampCoordinate(2.0 * m_ptCurrent.y - m_ptQuadControl.y)}
                             : m_ptCurrent;
        QuadTo(control, end);
        m_ptQuadControl = control;
        m_ptCurrent = end;
        m_chLast = u'T';
    } while (IsNumber(TRUE));
}

// An arc with a radius of 0 is a line to its end.
void CQVTMarkupPathDataParser::ParseArc(WCHAR ch)
{
    EnsureFigure();
    const MARKUP_POINTF size = ReadSize(TRUE);
    const float fRotation = ReadNumber(TRUE);
    const BOOL bLargeArc = ReadNumber(TRUE) != 0.0f;
    const BOOL bSweep = ReadNumber(TRUE) != 0.0f;
    const MARKUP_POINTF end = ReadPoint(ch, TRUE);
    if (size.x == 0.0f || size.y == 0.0f)
        LineTo(end);
    else
        ArcTo(end, fRotation, size.x, size.y, bLargeArc, bSweep);
    m_ptCurrent = end;
    m_chLast = u'A';
}

void CQVTMarkupPathDataParser::ParseClose()
{
    EnsureFigure();
    CloseFigure();
    m_ptCurrent = m_ptFigureStart;
    m_bFigureOpen = FALSE;
    m_chLast = u'Z';
}

void CQVTMarkupPathDataParser::ArcTo(const MARKUP_POINTF& end, double dRotation, double rx, double ry,
                                     BOOL bLargeArc, BOOL bSweep)
{
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    const double s = std::sin(dRotation * kRadiansPerDegree), c = std::cos(dRotation * kRadiansPerDegree);
    const double x0 = m_ptCurrent.x, y0 = m_ptCurrent.y, x1 = end.x, y1 = end.y;
    const double dx = (x0 - x1) / 2, dy = (y0 - y1) / 2;
    const double xp = c * dx + s * dy, yp = c * dy - s * dx;
    const double dLambda = xp * xp / (rx * rx) + yp * yp / (ry * ry);
    if (dLambda > 1)
    {
        rx *= std::sqrt(dLambda);
        ry *= std::sqrt(dLambda);
    }
    const double u0 = (c * x0 + s * y0) / rx, v0 = (c * y0 - s * x0) / ry;
    const double u1 = (c * x1 + s * y1) / rx, v1 = (c * y1 - s * x1) / ry;
    const double du = u1 - u0, dv = v1 - v0;
    const double dLength = du * du + dv * dv;
    // An arc back to its own start adds nothing.
    if (dLength == 0.0)
        return;
    double f = std::sqrt(std::max(1.0 / dLength - 0.25, 0.0));
    if (bSweep == bLargeArc)
        f = -f;
    const double cu = (u0 + u1) / 2 - f * dv, cv = (v0 + v1) / 2 + f * du;
    const double dStart = std::atan2(v0 - cv, u0 - cu);
    double dDelta = std::atan2(v1 - cv, u1 - cu) - dStart;
    if (dDelta < 0 && bSweep)
        dDelta += 2 * M_PI;
    else if (dDelta > 0 && !bSweep)
        dDelta -= 2 * M_PI;
    const double dSegments = std::ceil(std::fabs(dDelta / kArcSegmentAngle));
    // Numbers at the edge of the float range leave no arc to draw: the
    // figure still reaches the end point.
    if (!std::isfinite(dSegments) || !std::isfinite(cu) || !std::isfinite(cv) || !std::isfinite(rx) ||
        !std::isfinite(ry) || dSegments > 4)
    {
        LineTo(end);
        return;
    }
    const int n = static_cast<int>(dSegments);
    for (int i = 0; i < n; ++i)
        ArcSegmentTo(cu, cv, dStart + i * dDelta / n, dStart + (i + 1) * dDelta / n, rx, ry, s, c);
}

void CQVTMarkupPathDataParser::ArcSegmentTo(double cu, double cv, double dStart, double dEnd, double rx,
                                            double ry, double dSin, double dCos)
{
    const double h = (dEnd - dStart) / 2;
    const double t = (8.0 / 3.0) * std::sin(h / 2) * std::sin(h / 2) / std::sin(h);
    auto mapped = [&](double u, double v) {
        return MARKUP_POINTF{ClampCoordinate(dCos * rx * u - dSin * ry * v),
                             ClampCoordinate(dSin * rx * u + dCos * ry * v)};
    };
    const double ca = std::cos(dStart), sa = std::sin(dStart), cb = std::cos(dEnd), sb = std::sin(dEnd);
    BezierTo(mapped(ca - t * sa + cu, sa + t * ca + cv), mapped(cb + t * sb + cu, sb - t * cb + cv),
             mapped(cb + cu, sb + cv));
}

CQVTMarkupPathData* CQVTMarkupPathDataParser::CreatePathData() const
{
    return new CQVTMarkupPathData(m_arrPoints.data(), m_arrTypes.data(),
                                  static_cast<int>(m_arrPoints.size()));
}
