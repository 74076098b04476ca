#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSite.h"

CQVTSkinManagerClass::CQVTSkinManagerClass(CQVTSkinManagerSchema* pSchema, const CString& strClassName,
                                           UINT nClassCode)
    : m_pSchema(pSchema), m_strClassName(strClassName), m_nClassCode(nClassCode)
{
}

CQVTSkinManagerClass::~CQVTSkinManagerClass()
{
    // Theme handles that point to this class leave the manager's map.
    CQVTSkinManager::UnregisterThemeClass(this);
    // Closed through the saved entry point while the interception holds
    // one: the intercepted CloseThemeData would look the handle up again.
    typedef HRESULT(WINAPI * PFNCLOSETHEMEDATA)(HANDLE);
    if (m_hSystemTheme != nullptr)
    {
        CQVTSkinManagerApiHookBase* pHook = CQVTSkinManagerLegacyApiHook::GetCurrent();
        auto pfnClose = reinterpret_cast<PFNCLOSETHEMEDATA>(
            pHook != nullptr ? pHook->GetCloseThemeDataOriginalPtr() : nullptr);
        if (pfnClose == nullptr)
        {
            HMODULE hTheme = ::GetModuleHandleW(u"uxtheme.dll");
            pfnClose = hTheme
                           ? reinterpret_cast<PFNCLOSETHEMEDATA>(::GetProcAddress(hTheme, "CloseThemeData"))
                           : nullptr;
        }
        if (pfnClose != nullptr)
            pfnClose(m_hSystemTheme);
    }
    m_images.RemoveAll();
}

CQVTSkinManagerSchemaProperty* CQVTSkinManagerClass::GetProperty(int nType, int nPart, int nState, UINT nId)
{
    if (nPart < 0 || nPart >= 64 || nState < 0 || nState >= 64)
        return nullptr;
    const UINT nKey = static_cast<UINT>(nState) * 1048576 + static_cast<UINT>(nPart) * 16384 + nId;
    {
        CQVTReadLock lock(m_lock);
        auto it = m_cache.find(nKey);
        if (it != m_cache.end())
            return it->second;
    }
    CQVTSkinManagerSchemaProperty* pProperty = m_pSchema->GetProperty(m_nClassCode, nPart, nState, nId);
    if (pProperty != nullptr && pProperty->GetType() != nType)
        return nullptr;
    CQVTWriteLock lock(m_lock);
    m_cache[nKey] = pProperty;
    return pProperty;
}

CString CQVTSkinManagerClass::GetThemeString(int nPart, int nState, UINT nId, LPCTSTR lpszDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypeString, nPart, nState, nId);
    return p ? p->GetString() : CString(lpszDefault);
}

int CQVTSkinManagerClass::GetThemeInt(int nPart, int nState, UINT nId, int nDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypeInt, nPart, nState, nId);
    return p ? p->GetNumber() : nDefault;
}

BOOL CQVTSkinManagerClass::GetThemeBool(int nPart, int nState, UINT nId, BOOL bDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypeBool, nPart, nState, nId);
    return p ? p->GetNumber() : bDefault;
}

COLORREF CQVTSkinManagerClass::GetThemeColor(int nPart, int nState, UINT nId, COLORREF clrDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypeColor, nPart, nState, nId);
    if (p == nullptr)
        return clrDefault;
    COLORREF clr = static_cast<COLORREF>(p->GetNumber());
    if (CQVTSkinManagerSite* pSite = m_pSchema->GetSite())
        pSite->ApplyColorFilter(&clr);
    return clr;
}

CRect CQVTSkinManagerClass::GetThemeRect(int nPart, int nState, UINT nId, const CRect& rcDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypeMargins, nPart, nState, nId);
    return p ? CRect(p->GetRect()) : rcDefault;
}

int CQVTSkinManagerClass::GetThemeEnumValue(int nPart, int nState, UINT nId, int nDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypeEnum, nPart, nState, nId);
    return p ? p->GetNumber() : nDefault;
}

CPoint CQVTSkinManagerClass::GetThemePosition(int nPart, int nState, UINT nId, const CPoint& ptDefault)
{
    CQVTSkinManagerSchemaProperty* p = GetProperty(qvtSkinTypePosition, nPart, nState, nId);
    return p ? CPoint(p->GetPoint()) : ptDefault;
}

CQVTSkinImage* CQVTSkinManagerClass::GetImage(const CString& strImageName)
{
    return m_images.GetImage(m_pSchema->GetResourceFile(), strImageName, m_pSchema->IsAlphaConversion());
}

BOOL CQVTSkinManagerClass::GetThemePartSize(int nPart, int nState, const RECT* pRect, int nKind, SIZE* pSize)
{
    if (GetThemeEnumValue(nPart, nState, qvtSkinPropBgType, 0) != 0)
        return FALSE;
    CString strImage;
    if (GetThemeEnumValue(nPart, nState, qvtSkinPropImageSelectType, 0) != 0 &&
        GetThemeEnumValue(nPart, nState, qvtSkinPropGlyphType, 0) == 0)
        strImage = GetThemeString(nPart, nState, qvtSkinPropImageFile1);
    if (strImage.IsEmpty())
        strImage = GetThemeString(nPart, nState, qvtSkinPropImageFile);
    CQVTSkinImage* pImage = strImage.IsEmpty() ? nullptr : GetImage(strImage);
    if (pImage == nullptr)
        return FALSE;
    const int nCount = std::max(1, GetThemeInt(nPart, nState, qvtSkinPropImageCount, 1));
    const BOOL bHorizontal = GetThemeEnumValue(nPart, nState, qvtSkinPropImageLayout, 1) == 1;
    CRect rcFrame = pImage->GetFrameRect(nCount, bHorizontal, 0);
    if (rcFrame.IsRectEmpty())
        return FALSE;
    CSize size = rcFrame.Size();
    if (nKind == qvtSkinSizeTrue)
        *pSize = size;
    else if (nKind == qvtSkinSizeDraw)
    {
        if (GetThemeEnumValue(nPart, nState, qvtSkinPropSizingType, qvtSkinSizingStretch) ==
            qvtSkinSizingTrueSize)
            *pSize = size;
        else
        {
            CSize szDraw =
                pRect ? CSize(pRect->right - pRect->left, pRect->bottom - pRect->top) : CSize(0, 0);
            if (GetThemeBool(nPart, nState, qvtSkinPropUniformSizing, FALSE))
                szDraw.cx = ::MulDiv(szDraw.cy, size.cx, size.cy);
            *pSize = szDraw;
        }
    }
    return TRUE;
}

BOOL CQVTSkinManagerClass::DrawThemeText(CDC* pDC, int nPart, int nState, const CString& strText, UINT nFlags,
                                         const RECT* pRect)
{
    if (pDC == nullptr || pRect == nullptr)
        return FALSE;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rc(*pRect);
    CRect rcMargins = GetThemeRect(nPart, nState, qvtSkinPropCaptionMargins);
    rc.DeflateRect(pDpi->ScaleX(rcMargins.left), pDpi->ScaleY(rcMargins.top), pDpi->ScaleX(rcMargins.right),
                   pDpi->ScaleY(rcMargins.bottom));
    if (GetThemeEnumValue(nPart, nState, qvtSkinPropContentAlignment, 0) == 1)
        nFlags |= DT_CENTER;
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->GetTextColor();
    COLORREF clrText = GetThemeColor(nPart, nState, qvtSkinPropTextColor, clrOld);
    CPoint ptShadow = GetThemePosition(nPart, nState, qvtSkinPropTextShadowOffset);
    ptShadow = CPoint(pDpi->ScaleX(ptShadow.x), pDpi->ScaleY(ptShadow.y));
    if (GetThemeEnumValue(nPart, nState, qvtSkinPropTextShadowType, 0) == 1 && ptShadow != CPoint(0, 0))
    {
        CRect rcShadow(rc);
        rcShadow.OffsetRect(ptShadow);
        pDC->SetTextColor(GetThemeColor(nPart, nState, qvtSkinPropTextShadowColor, CLR_INVALID));
        QVTSkinDrawText(pDC->GetSafeHdc(), strText, strText.GetLength(), &rcShadow, nFlags, nullptr);
    }
    pDC->SetTextColor(clrText);
    QVTSkinDrawText(pDC->GetSafeHdc(), strText, strText.GetLength(), &rc, nFlags, nullptr);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    return TRUE;
}

BOOL CQVTSkinManagerClass::DrawThemeBackground(CDC* pDC, int nPart, int nState, const RECT* pRect)
{
    return m_pSchema->DrawThemeBackground(pDC, this, nPart, nState, pRect);
}
