#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/images/QVTSkinImage.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchemaNames.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSite.h"

namespace {
// Class names of a list this long or longer are not looked up.
const int kSkinSchemaMaxClassName = 255;
const UINT kSkinSchemaCloseButton = 18;

CString SkinSchemaJoin(LPCTSTR lpszFirst, LPCTSTR lpszSecond)
{
    return CString(lpszFirst) + u"_" + lpszSecond;
}

int SkinSchemaFind(QVTSkinNameTable table, const CString& strName)
{
    return QVTSkinManagerSchemaNames()->Find(table, strName);
}
}  // namespace

CQVTSkinManagerSchema::CQVTSkinManagerSchema(CQVTSkinManagerResourceFile* pResourceFile)
    : m_pResourceFile(pResourceFile)
{
    if (m_pResourceFile != nullptr)
        m_pResourceFile->InternalAddRef();
    m_pMetrics = std::make_unique<CQVTSkinManagerMetrics>(this);
    ::InitializeCriticalSection(&m_cs);
    m_nGlobalsClass = GetClassCode(u"GLOBALS");
    m_nWindowClass = GetClassCode(u"WINDOW");
}

CQVTSkinManagerSchema::~CQVTSkinManagerSchema()
{
    m_classes.clear();
    m_pMetrics.reset();
    RemoveProperties();
    ::DeleteCriticalSection(&m_cs);
    if (m_pResourceFile != nullptr)
        m_pResourceFile->InternalRelease();
}

CQVTSkinManagerSite* CQVTSkinManagerSchema::GetSite() const
{
    return m_pResourceFile ? m_pResourceFile->GetSite() : nullptr;
}

void CQVTSkinManagerSchema::RemoveProperties()
{
    CQVTWriteLock lock(m_lock);
    m_properties.clear();
}

int CQVTSkinManagerSchema::GetPropertyCount()
{
    CQVTReadLock lock(m_lock);
    return static_cast<int>(m_properties.size());
}

UINT CQVTSkinManagerSchema::GetClassCode(LPCTSTR lpszClass)
{
    CString strClass(lpszClass);
    // Joined part names share the table; a class name has no '_'.
    if (strClass.IsEmpty() || strClass.Find(u'_') >= 0)
        return 0;
    int nCode = SkinSchemaFind(QVTSkinNameTable::Classes, strClass);
    return nCode > 0 ? static_cast<UINT>(nCode) : 0;
}

UINT CQVTSkinManagerSchema::GetPartCode(LPCTSTR lpszClass, LPCTSTR lpszPart)
{
    int nCode = SkinSchemaFind(QVTSkinNameTable::Classes, SkinSchemaJoin(lpszClass, lpszPart));
    return nCode > 0 ? static_cast<UINT>(nCode) : 0;
}

UINT CQVTSkinManagerSchema::GetStateCode(LPCTSTR lpszPartOrClass, LPCTSTR lpszState)
{
    int nCode = SkinSchemaFind(QVTSkinNameTable::States, SkinSchemaJoin(lpszPartOrClass, lpszState));
    return nCode > 0 ? static_cast<UINT>(nCode) : 0;
}

int CQVTSkinManagerSchema::GetEnumCode(LPCTSTR lpszProperty, LPCTSTR lpszValue)
{
    return SkinSchemaFind(QVTSkinNameTable::Enums, SkinSchemaJoin(lpszProperty, lpszValue));
}

UINT CQVTSkinManagerSchema::GetPropertyCode(LPCTSTR lpszProperty, int* pnType)
{
    int nValue = SkinSchemaFind(QVTSkinNameTable::Properties, CString(u"P_") + lpszProperty);
    if (nValue <= 0)
    {
        *pnType = 0;
        return 0;
    }
    *pnType = nValue % 10;
    return static_cast<UINT>(nValue / 10);
}

UINT CQVTSkinManagerSchema::GetSectionCode(const CString& strSectionIn)
{
    if (strSectionIn.Find(u':') >= 0)
        return 0;
    CString strSection(strSectionIn);
    strSection.Remove(u' ');
    strSection.Remove(u'\t');
    CString strState;
    int nParen = strSection.Find(u'(');
    if (nParen >= 0)
    {
        // The state runs to the last character, which closes it.
        strState = strSection.Mid(nParen + 1, std::max(0, strSection.GetLength() - nParen - 2));
        strSection = strSection.Left(nParen);
    }
    CString strClass(strSection), strPart;
    int nDot = strSection.Find(u'.');
    if (nDot >= 0)
    {
        strClass = strSection.Left(nDot);
        strPart = strSection.Mid(nDot + 1);
    }
    UINT nPart = 0, nState = 0;
    if (!strPart.IsEmpty() || nDot >= 0)
    {
        nPart = GetPartCode(strClass, strPart);
        if (nPart == 0 || strPart.IsEmpty())
            return 0;
    }
    if (nParen >= 0)
    {
        nState = GetStateCode(nPart != 0 ? strPart : strClass, strState);
        if (nState == 0)
            return 0;
    }
    UINT nClass = GetClassCode(strClass);
    if (nClass == 0 || nPart >= 64 || nState >= 64)
        return 0;
    return MakeSectionCode(nClass, nPart, nState);
}

void CQVTSkinManagerSchema::ParseLine(CString strLine, UINT* pnSection)
{
    strLine.TrimLeft();
    int nComment = strLine.Find(u';');
    if (nComment >= 0)
        strLine = strLine.Left(nComment);
    if (strLine.IsEmpty())
        return;
    strLine.MakeUpper();
    if (strLine[0] == u'[')
    {
        // The first and the last character frame the name, whatever they are.
        *pnSection = strLine.GetLength() >= 2 ? GetSectionCode(strLine.Mid(1, strLine.GetLength() - 2)) : 0;
        return;
    }
    int nEquals = strLine.Find(u'=');
    if (*pnSection == 0 || nEquals <= 0)
        return;
    CString strName = strLine.Left(nEquals);
    strName.TrimRight();
    int nType = 0;
    UINT nId = GetPropertyCode(strName, &nType);
    if (nId == 0 || nType == 0)
        return;
    CString strValue = strLine.Mid(nEquals + 1);
    strValue.Trim();
    UINT nKey = *pnSection + nId;
    m_properties.erase(nKey);
    int nEnumValue = nType == qvtSkinTypeEnum ? GetEnumCode(strName, strValue) : 0;
    auto pProperty = CQVTSkinManagerSchemaProperty::Parse(nType, nId, strValue, nEnumValue);
    if (pProperty)
        m_properties[nKey] = std::move(pProperty);
}

HRESULT CQVTSkinManagerSchema::ReadProperties()
{
    {
        CQVTWriteLock lock(m_lock);
        m_properties.clear();
        if (m_pResourceFile != nullptr)
        {
            UINT nSection = 0;
            CString strLine;
            while (m_pResourceFile->ReadString(strLine))
                ParseLine(strLine, &nSection);
        }
    }
    int nAlphaLevel = 0;
    if (GetIntProperty(GetClassCode(u"DOCUMENTATION"), 0, 0, qvtSkinPropAlphaLevel, &nAlphaLevel) == S_OK &&
        nAlphaLevel == 255)
        m_bAlphaConversion = FALSE;
    return S_OK;
}

CQVTSkinManagerSchemaProperty* CQVTSkinManagerSchema::GetProperty(UINT nClass, int nPart, int nState,
                                                                  UINT nId)
{
    CQVTReadLock lock(m_lock);
    auto find = [&](UINT nC, int nP, int nS) -> CQVTSkinManagerSchemaProperty* {
        if (nP < 0 || nP >= 64 || nS < 0 || nS >= 64 || nC >= 64)
            return nullptr;
        auto it = m_properties.find(MakeSectionCode(nC, nP, nS) + nId);
        return it != m_properties.end() ? it->second.get() : nullptr;
    };
    CQVTSkinManagerSchemaProperty* pProperty = nullptr;
    if (nState != 0 && (pProperty = find(nClass, nPart, nState)) != nullptr)
        return pProperty;
    if ((pProperty = find(nClass, nPart, 0)) != nullptr)
        return pProperty;
    if (nPart != 0)
    {
        if (nState != 0 && (pProperty = find(nClass, 0, nState)) != nullptr)
            return pProperty;
        if ((pProperty = find(nClass, 0, 0)) != nullptr)
            return pProperty;
    }
    return find(m_nGlobalsClass, 0, 0);
}

HRESULT CQVTSkinManagerSchema::GetIntProperty(UINT nClass, int nPart, int nState, UINT nId, int* pnValue)
{
    CQVTSkinManagerSchemaProperty* pProperty = GetProperty(nClass, nPart, nState, nId);
    if (pProperty == nullptr)
        return E_FAIL;
    if (pProperty->GetType() != qvtSkinTypeInt)
        return E_INVALIDARG;
    *pnValue = pProperty->GetNumber();
    return S_OK;
}

HRESULT CQVTSkinManagerSchema::GetBoolProperty(UINT nClass, int nPart, int nState, UINT nId, BOOL* pbValue)
{
    CQVTSkinManagerSchemaProperty* pProperty = GetProperty(nClass, nPart, nState, nId);
    if (pProperty == nullptr)
        return E_FAIL;
    if (pProperty->GetType() != qvtSkinTypeBool)
        return E_INVALIDARG;
    *pbValue = pProperty->GetNumber();
    return S_OK;
}

HRESULT CQVTSkinManagerSchema::GetColorProperty(UINT nClass, int nPart, int nState, UINT nId,
                                                COLORREF* pclrValue)
{
    CQVTSkinManagerSchemaProperty* pProperty = GetProperty(nClass, nPart, nState, nId);
    if (pProperty == nullptr)
        return E_FAIL;
    if (pProperty->GetType() != qvtSkinTypeColor)
        return E_INVALIDARG;
    *pclrValue = static_cast<COLORREF>(pProperty->GetNumber());
    if (CQVTSkinManagerSite* pSite = GetSite())
        pSite->ApplyColorFilter(pclrValue);
    return S_OK;
}

HRESULT CQVTSkinManagerSchema::GetFontProperty(UINT nClass, int nPart, int nState, UINT nId, LOGFONT* pFont)
{
    CQVTSkinManagerSchemaProperty* pProperty = GetProperty(nClass, nPart, nState, nId);
    if (pProperty == nullptr)
        return E_FAIL;
    if (pProperty->GetType() != qvtSkinTypeFont)
        return E_INVALIDARG;
    *pFont = pProperty->GetFont();
    return S_OK;
}

CQVTSkinManagerClass* CQVTSkinManagerSchema::GetClass(const CString& strClassList)
{
    int nStart = 0;
    while (nStart <= strClassList.GetLength())
    {
        int nEnd = strClassList.Find(u';', nStart);
        if (nEnd < 0)
            nEnd = strClassList.GetLength();
        CString strName = strClassList.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (strName.IsEmpty() || strName.GetLength() >= kSkinSchemaMaxClassName)
            continue;
        strName.MakeUpper();
        std::u16string key(strName.GetString(), static_cast<size_t>(strName.GetLength()));
        {
            CQVTReadLock lock(m_lock);
            auto it = m_classes.find(key);
            if (it != m_classes.end())
                return it->second.get();
        }
        UINT nCode = GetClassCode(strName);
        if (nCode == 0)
            continue;
        CQVTWriteLock lock(m_lock);
        auto& pClass = m_classes[key];
        if (!pClass)
            pClass = std::make_unique<CQVTSkinManagerClass>(this, strName, nCode);
        return pClass.get();
    }
    return nullptr;
}

CQVTSkinImage* CQVTSkinManagerSchema::GetBackgroundImage(CQVTSkinManagerClass* pClass, int nPart, int nState)
{
    CString strImage;
    if (pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropImageSelectType, 0) != 0 &&
        pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropGlyphType, 0) == 0)
        strImage = pClass->GetThemeString(nPart, nState, qvtSkinPropImageFile1);
    if (strImage.IsEmpty())
        strImage = pClass->GetThemeString(nPart, nState, qvtSkinPropImageFile);
    return strImage.IsEmpty() ? nullptr : pClass->GetImage(strImage);
}

BOOL CQVTSkinManagerSchema::DrawBorderFill(CDC* pDC, CQVTSkinManagerClass* pClass, int nPart, int nState,
                                           const RECT* pRect)
{
    CRect rc(*pRect);
    int nSize = std::min<int>(pClass->GetThemeInt(nPart, nState, qvtSkinPropBorderSize, 1),
                              CQVTSkinManagerMetrics::kMaxBorderSize);
    COLORREF clrBorder = pClass->GetThemeColor(nPart, nState, qvtSkinPropBorderColor, CLR_INVALID);
    if (nSize >= 1 && clrBorder != CLR_INVALID)
    {
        int cx = QVTDpiScaler()->ScaleX(nSize), cy = QVTDpiScaler()->ScaleY(nSize);
        QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc.left, rc.top, rc.Width(), cy, clrBorder);
        QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc.left, rc.bottom - cy, rc.Width(), cy, clrBorder);
        QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc.left, rc.top + cy, cx, rc.Height() - 2 * cy, clrBorder);
        QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc.right - cx, rc.top + cy, cx, rc.Height() - 2 * cy,
                             clrBorder);
        rc.DeflateRect(cx, cy);
    }
    COLORREF clrFill = pClass->GetThemeColor(nPart, nState, qvtSkinPropFillColor, CLR_INVALID);
    if (clrFill != CLR_INVALID && !pClass->GetThemeBool(nPart, nState, qvtSkinPropBorderOnly, FALSE) &&
        !rc.IsRectEmpty())
        QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc, clrFill);
    return TRUE;
}

BOOL CQVTSkinManagerSchema::DrawThemeBackground(CDC* pDC, CQVTSkinManagerClass* pClass, int nPart, int nState,
                                                const RECT* pRect)
{
    if (pDC == nullptr || pClass == nullptr || pRect == nullptr)
        return FALSE;
    switch (pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropBgType, 0))
    {
    case 1:
        return DrawBorderFill(pDC, pClass, nPart, nState, pRect);
    case 2:
        return TRUE;
    default:
        break;
    }
    CQVTSkinImage* pImage = GetBackgroundImage(pClass, nPart, nState);
    if (pImage == nullptr)
        return FALSE;
    CRect rcMargins = pClass->GetThemeRect(nPart, nState, qvtSkinPropSizingMargins);
    const int nCount = std::max(1, pClass->GetThemeInt(nPart, nState, qvtSkinPropImageCount, 1));
    const BOOL bHorizontal = pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropImageLayout, 1) == 1;
    CRect rcSrc = pImage->GetFrameRect(nCount, bHorizontal, nState - 1);
    if (rcSrc.IsRectEmpty())
        return FALSE;
    const BOOL bTransparent =
        !pImage->IsAlphaImage() && pClass->GetThemeBool(nPart, nState, qvtSkinPropTransparent, FALSE);

    CRect rcDest(*pRect);
    const int nSizingType =
        pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropSizingType, qvtSkinSizingStretch);
    if (nSizingType == qvtSkinSizingTrueSize)
    {
        CSize size(QVTDpiScaler()->ScaleX(rcSrc.Width()), QVTDpiScaler()->ScaleY(rcSrc.Height()));
        if (pClass->GetThemeInt(nPart, nState, qvtSkinPropTrueSizeStretchMark, 0) > 0)
        {
            size.cx = std::min(size.cx, static_cast<LONG>(rcDest.Width()));
            size.cy = std::min(size.cy, static_cast<LONG>(rcDest.Height()));
        }
        int nLeft = std::max((rcDest.left + rcDest.right - size.cx) / 2, rcDest.left);
        int nTop = pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropVAlign, 0) == 2
                       ? rcDest.bottom - size.cy
                       : std::max((rcDest.top + rcDest.bottom - size.cy) / 2, rcDest.top);
        rcDest = CRect(CPoint(nLeft, nTop), size);
        rcMargins.SetRectEmpty();
    }
    COLORREF clrTransparent =
        bTransparent ? pClass->GetThemeColor(nPart, nState, qvtSkinPropTransparentColor, RGB(255, 0, 255))
                     : CLR_INVALID;
    // The frame edges of a window are drawn whole whatever the skin says.
    BOOL bBorderOnly = pClass->GetThemeBool(nPart, nState, qvtSkinPropBorderOnly, FALSE);
    if (pClass->GetClassCode() == m_nWindowClass && nPart >= 7 && nPart <= 12)
        bBorderOnly = FALSE;
    pImage->SetMirrorAllowed(pClass->GetThemeBool(nPart, nState, qvtSkinPropMirrorImage, TRUE));
    pImage->CreateSolidRectArray(nCount, bHorizontal, rcMargins);
    pImage->DrawImage(pDC, rcDest, rcSrc, rcMargins, clrTransparent, nSizingType, bBorderOnly, GetSite());

    if (pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropGlyphType, 0) != 1)
        return TRUE;
    CRect rcContent(*pRect);
    CRect rcContentMargins = pClass->GetThemeRect(nPart, nState, qvtSkinPropContentMargins);
    rcContent.DeflateRect(rcContentMargins.left, rcContentMargins.top, rcContentMargins.right,
                          rcContentMargins.bottom);
    CQVTSkinImage* pGlyph = nullptr;
    CRect rcGlyph;
    if (pClass->GetThemeEnumValue(nPart, nState, qvtSkinPropImageSelectType, 0) == 1)
    {
        // The largest of the sized images whose frame fits the content.
        for (UINT nId = qvtSkinPropImageFile1 + 4; nId >= qvtSkinPropImageFile1 && pGlyph == nullptr; --nId)
        {
            CQVTSkinImage* pCandidate = pClass->GetImage(pClass->GetThemeString(nPart, nState, nId));
            CRect rc = pCandidate ? pCandidate->GetFrameRect(nCount, bHorizontal, nState - 1) : CRect();
            if (!rc.IsRectEmpty() && rc.Width() <= rcContent.Width() && rc.Height() <= rcContent.Height())
            {
                pGlyph = pCandidate;
                rcGlyph = rc;
            }
        }
    }
    else if ((pGlyph = pClass->GetImage(pClass->GetThemeString(nPart, nState, qvtSkinPropGlyphImageFile))) !=
             nullptr)
        rcGlyph = pGlyph->GetFrameRect(nCount, bHorizontal, nState - 1);
    if (pGlyph == nullptr || rcGlyph.IsRectEmpty())
        return TRUE;
    CPoint ptGlyph(rcContent.left + (rcContent.Width() - rcGlyph.Width()) / 2,
                   std::max(rcContent.top + (rcContent.Height() - rcGlyph.Height()) / 2, rcContent.top));
    COLORREF clrGlyphTransparent =
        !pGlyph->IsAlphaImage() && pClass->GetThemeBool(nPart, nState, qvtSkinPropGlyphTransparent, FALSE)
            ? pClass->GetThemeColor(nPart, nState, qvtSkinPropTransparentColor, RGB(255, 0, 255))
            : CLR_INVALID;
    pGlyph->DrawImage(pDC, CRect(ptGlyph, rcGlyph.Size()), rcGlyph, CRect(), clrGlyphTransparent,
                      qvtSkinSizingTrueSize, FALSE, GetSite());
    return TRUE;
}

CSize CQVTSkinManagerSchema::GetCaptionButtonSize(CQVTSkinManagerClass* pClass, int nCaptionHeight)
{
    CSize size(nCaptionHeight, nCaptionHeight);
    if (pClass == nullptr || pClass->GetThemeEnumValue(kSkinSchemaCloseButton, 1, qvtSkinPropBgType, 0) != 0)
        return size;
    CQVTSkinImage* pImage = GetBackgroundImage(pClass, kSkinSchemaCloseButton, 1);
    if (pImage == nullptr)
        return size;
    const int nCount = std::max(1, pClass->GetThemeInt(kSkinSchemaCloseButton, 1, qvtSkinPropImageCount, 1));
    const BOOL bHorizontal =
        pClass->GetThemeEnumValue(kSkinSchemaCloseButton, 1, qvtSkinPropImageLayout, 1) == 1;
    CRect rcFrame = pImage->GetFrameRect(nCount, bHorizontal, 0);
    // An empty frame has no proportions to keep.
    if (rcFrame.IsRectEmpty())
        return size;
    const int w = rcFrame.Width(), fh = rcFrame.Height();
    size.cx = ::MulDiv(w, nCaptionHeight, fh) + ::MulDiv(w - fh, 4, fh);
    return size;
}

int CQVTSkinManagerSchema::GetFrameBorderCount(DWORD dwStyle, DWORD dwExStyle)
{
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    int n = 0;
    if (dwExStyle & WS_EX_WINDOWEDGE)
        n = pDpi->ScaleX(2);
    else if (dwExStyle & WS_EX_STATICEDGE)
        n = pDpi->ScaleX(1);
    if ((dwStyle & WS_CAPTION) == WS_CAPTION || (dwExStyle & WS_EX_DLGMODALFRAME))
        n += pDpi->ScaleX(2);
    else if (dwStyle & WS_BORDER)
        n += 1;
    if ((dwStyle & WS_THICKFRAME) || ((dwStyle & DS_MODALFRAME) && !(dwExStyle & WS_EX_TOOLWINDOW)))
        n += m_pMetrics->m_nBorderWidth;
    return n;
}

CRect CQVTSkinManagerSchema::CalcFrameBorders(DWORD dwStyle, DWORD dwExStyle, BOOL bChildBorderFill)
{
    const CQVTSkinManagerMetrics& metrics = *m_pMetrics;
    const BOOL bTool = (dwExStyle & WS_EX_TOOLWINDOW) != 0;
    const int nCaption = bTool ? metrics.m_cySmallCaption : metrics.m_cyCaption;
    if ((dwStyle & WS_CAPTION) == WS_CAPTION && (dwStyle & WS_MAXIMIZE) && !(dwStyle & WS_CHILD))
    {
        CRect rc(0, 0, QVTDpiScaler()->ScaleX(100), QVTDpiScaler()->ScaleY(100));
        ::AdjustWindowRectEx(&rc, dwStyle, FALSE, dwExStyle);
        int b = -rc.left;
        return CRect(b, b + nCaption, b, b);
    }
    // Thicknesses, not a rectangle: every side grows by adding.
    CRect rc(0, (dwStyle & WS_CAPTION) == WS_CAPTION ? nCaption : 0, 0, 0);
    auto grow = [&rc](int cx, int cy) {
        rc.left += cx;
        rc.right += cx;
        rc.top += cy;
        rc.bottom += cy;
    };
    const int n = GetFrameBorderCount(dwStyle, dwExStyle);
    grow(n * metrics.m_cxBorder, n * metrics.m_cyBorder);
    if (dwExStyle & WS_EX_CLIENTEDGE)
    {
        if ((dwStyle & WS_CHILD) && bChildBorderFill)
            grow(metrics.m_cxEdge, metrics.m_cyEdge);
        else
            grow(2, 2);
    }
    return rc;
}

HICON CQVTSkinManagerSchema::GetWindowIcon(HWND hWnd, BOOL bCheck)
{
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_EXSTYLE));
    if (bCheck && ((dwExStyle & WS_EX_TOOLWINDOW) || !(dwStyle & WS_SYSMENU)))
        return nullptr;
    HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (hIcon == nullptr)
        hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_BIG, 0));
    if (hIcon == nullptr)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
    if (hIcon != nullptr)
        return hIcon;
    if ((dwStyle & WS_CAPTION) == WS_DLGFRAME || (dwExStyle & WS_EX_DLGMODALFRAME))
        return nullptr;
    DWORD_PTR dwResult = 0;
    if (::SendMessageTimeoutW(hWnd, WM_QUERYDRAGICON, 0, 0, SMTO_NORMAL, 100, &dwResult) && dwResult != 0)
        return reinterpret_cast<HICON>(dwResult);
    return ::LoadIconW(nullptr, IDI_WINLOGO);
}

void CQVTSkinManagerSchema::RefreshMetrics()
{
    FreeFrameRegions();
    m_pMetrics->RefreshMetrics();
}

COLORREF CQVTSkinManagerSchema::GetWindowColor()
{
    return m_pMetrics->GetColor(COLOR_BTNFACE);
}
