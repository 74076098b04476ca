// The per-class front of a skin schema, as theme handles hand it out: typed
// look-ups through a cache of the properties found (and of those missing),
// and the class's images.
#pragma once

#include <afxwin.h>

#include <map>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/skinframework/images/QVTSkinImages.h"

class CQVTSkinManagerSchema;
class CQVTSkinManagerSchemaProperty;

// Size kinds of GetThemePartSize.
enum QVTSkinPartSize
{
    qvtSkinSizeMin = 0,
    qvtSkinSizeTrue = 1,
    qvtSkinSizeDraw = 2,
};

class CQVTSkinManagerClass : public CQVTSynchronized
{
public:
    CQVTSkinManagerClass(CQVTSkinManagerSchema* pSchema, const CString& strClassName, UINT nClassCode);
    ~CQVTSkinManagerClass();

    // The property of that type, or null (a property of another type is
    // not cached, so the next request of the right type still finds it).
    CQVTSkinManagerSchemaProperty* GetProperty(int nType, int nPart, int nState, UINT nId);

    CString GetThemeString(int nPart, int nState, UINT nId, LPCTSTR lpszDefault = u"");
    int GetThemeInt(int nPart, int nState, UINT nId, int nDefault);
    BOOL GetThemeBool(int nPart, int nState, UINT nId, BOOL bDefault);
    COLORREF GetThemeColor(int nPart, int nState, UINT nId, COLORREF clrDefault);
    CRect GetThemeRect(int nPart, int nState, UINT nId, const CRect& rcDefault = CRect(0, 0, 0, 0));
    int GetThemeEnumValue(int nPart, int nState, UINT nId, int nDefault);
    CPoint GetThemePosition(int nPart, int nState, UINT nId, const CPoint& ptDefault = CPoint(0, 0));

    BOOL GetThemePartSize(int nPart, int nState, const RECT* pRect, int nKind, SIZE* pSize);
    BOOL DrawThemeText(CDC* pDC, int nPart, int nState, const CString& strText, UINT nFlags,
                       const RECT* pRect);
    BOOL DrawThemeBackground(CDC* pDC, int nPart, int nState, const RECT* pRect);

    CQVTSkinManagerSchema* GetSchema() const { return m_pSchema; }
    const CString& GetClassName() const { return m_strClassName; }
    UINT GetClassCode() const { return m_nClassCode; }
    CQVTSkinImages* GetImages() { return &m_images; }
    // The image named by a file-name property of a part, from the cache.
    CQVTSkinImage* GetImage(const CString& strImageName);

    // The system's theme handle for the class, closed with the class.
    HANDLE m_hSystemTheme = nullptr;

private:
    CQVTSkinManagerSchema* m_pSchema;
    CString m_strClassName;
    UINT m_nClassCode;
    CQVTSkinImages m_images;
    // key: state * 1048576 + part * 16384 + id; misses are cached as null.
    std::map<UINT, CQVTSkinManagerSchemaProperty*> m_cache;
};
