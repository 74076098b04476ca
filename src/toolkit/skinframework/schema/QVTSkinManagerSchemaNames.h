// The process-wide table of the names a skin schema may use: classes with
// their parts, part states, enumeration values and properties.
#pragma once

#include <afx.h>

#include <map>
#include <string>

#include "toolkit/foundation/core/QVTCriticalSection.h"

enum class QVTSkinNameTable
{
    Classes,     // "CLASS" -> class code, "CLASS_PART" -> part number
    States,      // "PART_STATE" (or "CLASS_STATE") -> state number
    Enums,       // "PROPERTY_VALUE" -> value
    Properties,  // "P_PROPERTY" -> id * 10 + type
    Count
};

class CQVTSkinManagerSchemaNames
{
public:
    CQVTSkinManagerSchemaNames();

    // The value of an upper-cased name, or -1 when the table lacks it.
    int Find(QVTSkinNameTable table, const CString& strName);

    // Names remembered as missing, per table; never more than this many.
    enum
    {
        kMaxMissing = 500
    };
    int GetMissingCount(QVTSkinNameTable table);

private:
    void Add(QVTSkinNameTable table, const CString& strName, int nValue);

    CQVTCriticalSection m_cs;
    std::map<std::u16string, int> m_found[static_cast<int>(QVTSkinNameTable::Count)];
    std::map<std::u16string, int> m_missing[static_cast<int>(QVTSkinNameTable::Count)];
};

CQVTSkinManagerSchemaNames* AFXAPI QVTSkinManagerSchemaNames();
