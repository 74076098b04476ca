// One parsed value of a skin schema, and the parsers of its value syntax.
#pragma once

#include <afx.h>

#include <memory>

#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

// The value types, as the property table's last digit gives them.
enum QVTSkinPropertyType
{
    qvtSkinTypeString = 1,
    qvtSkinTypeInt = 2,
    qvtSkinTypeBool = 3,
    qvtSkinTypeColor = 4,
    qvtSkinTypeMargins = 5,
    qvtSkinTypeFont = 6,
    qvtSkinTypeIntList = 7,
    qvtSkinTypeEnum = 8,
    qvtSkinTypePosition = 9,
};

class CQVTSkinManagerSchemaProperty
{
public:
    // The property parsed from a trimmed, upper-cased value text, or null
    // when the type is not read or the text has the wrong shape. An
    // enumeration's value was looked up by the caller (-1 when unknown).
    static std::unique_ptr<CQVTSkinManagerSchemaProperty> Parse(int nType, UINT nId, const CString& strValue,
                                                                int nEnumValue);

    int GetType() const { return m_nType; }
    UINT GetId() const { return m_nId; }

    // Copies under the property's own lock.
    int GetNumber();
    RECT GetRect();
    POINT GetPoint();
    CString GetString();
    LOGFONT GetFont();

    // The scanf-like readers of the value syntax; each returns how many
    // fields it filled, as scanf would.
    static int ScanColor(const CString& str, COLORREF* pColor);
    static int ScanRect(const CString& str, RECT* pRect);
    static int ScanPoint(const CString& str, POINT* pPoint);
    // Face (cut to what LOGFONT holds), points and BOLD.
    static int ScanFont(const CString& str, LOGFONT* pFont);

private:
    CQVTRWCriticalSection m_lock;
    int m_nType = 0;
    UINT m_nId = 0;
    int m_nNumber = 0;  // integer, boolean, colour, enumeration
    RECT m_rect = {};
    POINT m_point = {};
    CString m_strValue;
    LOGFONT m_font = {};
};
