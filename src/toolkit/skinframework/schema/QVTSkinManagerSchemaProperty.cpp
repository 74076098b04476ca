#include "toolkit/skinframework/schema/QVTSkinManagerSchemaProperty.h"

#include <afxwin.h>

#include <climits>

namespace {
// A cursor over a value text with the conversions of the scanf family.
class SkinValueScanner
{
public:
    explicit SkinValueScanner(const CString& str) : m_p(str.GetString()), m_pEnd(m_p + str.GetLength()) {}

    void SkipBlanks()
    {
        while (m_p < m_pEnd && (*m_p == u' ' || *m_p == u'\t' || *m_p == u'\r' || *m_p == u'\n'))
            ++m_p;
    }

    // A literal character, after blanks when bSkip.
    bool Literal(char16_t ch)
    {
        if (m_p < m_pEnd && *m_p == ch)
        {
            ++m_p;
            return true;
        }
        return false;
    }

    // %ld (base 10) or %i (base 0: 0x hexadecimal, leading 0 octal). Values
    // beyond a 32-bit int saturate instead of wrapping.
    bool Number(int nBase, long* pValue)
    {
        SkipBlanks();
        const char16_t* p = m_p;
        bool bNegative = false;
        if (p < m_pEnd && (*p == u'+' || *p == u'-'))
            bNegative = *p++ == u'-';
        if (nBase == 0)
        {
            nBase = 10;
            if (p < m_pEnd && *p == u'0')
            {
                nBase = 8;
                if (p + 1 < m_pEnd && (p[1] == u'X' || p[1] == u'x') && p + 2 < m_pEnd && IsDigit(p[2], 16))
                {
                    nBase = 16;
                    p += 2;
                }
            }
        }
        if (p >= m_pEnd || !IsDigit(*p, nBase))
            return false;
        long long value = 0;
        while (p < m_pEnd && IsDigit(*p, nBase))
        {
            value = value * nBase + DigitValue(*p++);
            if (value > INT_MAX)
                value = static_cast<long long>(INT_MAX) + 1;
        }
        value = bNegative ? -value : value;
        *pValue = static_cast<long>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
        m_p = p;
        return true;
    }

    // %[^,] with a width: at least one character.
    bool UpTo(char16_t chStop, int nWidth, CString* pOut)
    {
        const char16_t* p = m_p;
        while (p < m_pEnd && *p != chStop && p - m_p < nWidth)
            ++p;
        if (p == m_p)
            return false;
        *pOut = CString(m_p, static_cast<int>(p - m_p));
        m_p = p;
        return true;
    }

    // %s with a width: a word without blanks.
    bool Word(int nWidth, CString* pOut)
    {
        SkipBlanks();
        const char16_t* p = m_p;
        while (p < m_pEnd && *p != u' ' && *p != u'\t' && p - m_p < nWidth)
            ++p;
        if (p == m_p)
            return false;
        *pOut = CString(m_p, static_cast<int>(p - m_p));
        m_p = p;
        return true;
    }

private:
    static bool IsDigit(char16_t ch, int nBase) { return ch < 128 && DigitValue(ch) < nBase; }
    static int DigitValue(char16_t ch)
    {
        if (ch >= u'0' && ch <= u'9')
            return ch - u'0';
        if (ch >= u'A' && ch <= u'Z')
            return ch - u'A' + 10;
        if (ch >= u'a' && ch <= u'z')
            return ch - u'a' + 10;
        return 99;
    }

    const char16_t* m_p;
    const char16_t* m_pEnd;
};

// The face field's width: a longer face fails the comma that must follow.
const int kSkinFontFaceWidth = 32;
const int kSkinFontStyleWidth = 50;
}  // namespace

int CQVTSkinManagerSchemaProperty::ScanColor(const CString& str, COLORREF* pColor)
{
    SkinValueScanner scan(str);
    long rgb[3] = {};
    int nFields = 0;
    while (nFields < 3 && scan.Number(0, &rgb[nFields]))
        ++nFields;
    if (nFields == 3)
        *pColor = RGB(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
    return nFields;
}

int CQVTSkinManagerSchemaProperty::ScanRect(const CString& str, RECT* pRect)
{
    SkinValueScanner scan(str);
    long values[4] = {};
    int nFields = 0;
    while (nFields < 4 && (nFields == 0 || (scan.SkipBlanks(), scan.Literal(u','))) &&
           scan.Number(10, &values[nFields]))
        ++nFields;
    if (nFields == 4)
    {
        // Written left, right, top, bottom.
        pRect->left = values[0];
        pRect->right = values[1];
        pRect->top = values[2];
        pRect->bottom = values[3];
    }
    return nFields;
}

int CQVTSkinManagerSchemaProperty::ScanPoint(const CString& str, POINT* pPoint)
{
    SkinValueScanner scan(str);
    long values[2] = {};
    int nFields = 0;
    while (nFields < 2 && (nFields == 0 || (scan.SkipBlanks(), scan.Literal(u','))) &&
           scan.Number(0, &values[nFields]))
        ++nFields;
    if (nFields == 2)
    {
        pPoint->x = values[0];
        pPoint->y = values[1];
    }
    return nFields;
}

int CQVTSkinManagerSchemaProperty::ScanFont(const CString& str, LOGFONT* pFont)
{
    SkinValueScanner scan(str);
    CString strFace, strStyle;
    long nPoints = 0;
    if (!scan.UpTo(u',', kSkinFontFaceWidth, &strFace))
        return 0;
    int nFields = 1;
    scan.SkipBlanks();
    if (scan.Literal(u',') && scan.Number(10, &nPoints))
    {
        ++nFields;
        scan.SkipBlanks();
        if (scan.Literal(u',') && scan.Word(kSkinFontStyleWidth, &strStyle))
            ++nFields;
    }
    if (nFields < 2)
        return nFields;

    memset(pFont, 0, sizeof(LOGFONT));
    // LOGFONT holds 31 characters and the NUL: a 32-character face is cut.
    int nFace = std::min(strFace.GetLength(), LF_FACESIZE - 1);
    memcpy(pFont->lfFaceName, strFace.GetString(), nFace * sizeof(WCHAR));
    pFont->lfFaceName[nFace] = 0;
    // A memory DC has the screen's resolution and font, without the window
    // server's round trips.
    HDC hDC = ::CreateCompatibleDC(nullptr);
    pFont->lfHeight = -::MulDiv(nPoints, ::GetDeviceCaps(hDC, LOGPIXELSY), 72);
    TEXTMETRICW tm = {};
    pFont->lfCharSet = ::GetTextMetricsW(hDC, &tm) ? tm.tmCharSet : DEFAULT_CHARSET;
    if (hDC)
        ::DeleteDC(hDC);
    pFont->lfWeight = strStyle.CompareNoCase(u"BOLD") == 0 ? FW_BOLD : FW_NORMAL;
    return nFields;
}

std::unique_ptr<CQVTSkinManagerSchemaProperty> CQVTSkinManagerSchemaProperty::Parse(int nType, UINT nId,
                                                                                    const CString& strValue,
                                                                                    int nEnumValue)
{
    auto pProperty = std::make_unique<CQVTSkinManagerSchemaProperty>();
    pProperty->m_nType = nType;
    pProperty->m_nId = nId;
    switch (nType)
    {
    case qvtSkinTypeString:
        pProperty->m_strValue = strValue;
        break;
    case qvtSkinTypeInt:
        pProperty->m_nNumber = _wtoi(strValue);
        break;
    case qvtSkinTypeBool:
        pProperty->m_nNumber = strValue.CompareNoCase(u"TRUE") == 0;
        break;
    case qvtSkinTypeColor:
    {
        COLORREF clr = 0;
        if (ScanColor(strValue, &clr) != 3)
            return nullptr;
        pProperty->m_nNumber = static_cast<int>(clr);
        break;
    }
    case qvtSkinTypeMargins:
        if (ScanRect(strValue, &pProperty->m_rect) != 4)
            return nullptr;
        break;
    case qvtSkinTypeFont:
        if (ScanFont(strValue, &pProperty->m_font) < 2)
            return nullptr;
        break;
    case qvtSkinTypeEnum:
        pProperty->m_nNumber = nEnumValue;
        break;
    case qvtSkinTypePosition:
        if (ScanPoint(strValue, &pProperty->m_point) != 2)
            return nullptr;
        break;
    default:
        return nullptr;
    }
    return pProperty;
}

int CQVTSkinManagerSchemaProperty::GetNumber()
{
    CQVTReadLock lock(m_lock);
    return m_nNumber;
}

RECT CQVTSkinManagerSchemaProperty::GetRect()
{
    CQVTReadLock lock(m_lock);
    return m_rect;
}

POINT CQVTSkinManagerSchemaProperty::GetPoint()
{
    CQVTReadLock lock(m_lock);
    return m_point;
}

CString CQVTSkinManagerSchemaProperty::GetString()
{
    CQVTReadLock lock(m_lock);
    return m_strValue;
}

LOGFONT CQVTSkinManagerSchemaProperty::GetFont()
{
    CQVTReadLock lock(m_lock);
    return m_font;
}
