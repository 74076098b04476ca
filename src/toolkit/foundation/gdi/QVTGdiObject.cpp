#include "toolkit/foundation/gdi/QVTGdiObject.h"

IMPLEMENT_DYNAMIC(CQVTGdiObject, CObject)
IMPLEMENT_DYNAMIC(CQVTFont, CQVTGdiObject)
IMPLEMENT_DYNAMIC(CQVTBrush, CQVTGdiObject)

// --- CQVTGdiObject -----------------------------------------------------------------

CQVTGdiObject::CQVTGdiObject(CGdiObject* pEmbeddedObject) : m_pObjectInUse(pEmbeddedObject) {}

CQVTGdiObject::~CQVTGdiObject()
{
    // The derived destructors have let go already; this covers a reference
    // set on a bare base.
    if (m_pCachedReference)
    {
        m_pCachedReference->Release();
        m_pCachedReference = nullptr;
    }
}

QVTGDIOBJECTDESCRIPTOR* CQVTGdiObject::GetDescriptor() const
{
    return m_pCachedReference ? m_pCachedReference->GetDescriptor() : nullptr;
}

void CQVTGdiObject::SetCachedReference(CQVTCachedGdiObjectReferenceBase* pReference)
{
    DeleteObject();
    m_pCachedReference = pReference;
}

BOOL CQVTGdiObject::DeleteObject()
{
    if (CQVTCachedGdiObjectReferenceBase* pReference = m_pCachedReference)
    {
        m_pCachedReference = nullptr;
        pReference->Release();
    }
    if (m_pObjectInUse && m_pObjectInUse->m_hObject)
        return m_pObjectInUse->DeleteObject();
    return TRUE;
}

CGdiObject* CQVTGdiObject::GetGdiObject() const
{
    return m_pCachedReference ? m_pCachedReference->GetObject() : m_pObjectInUse;
}

HGDIOBJ CQVTGdiObject::GetHandle() const
{
    CGdiObject* pObject = GetGdiObject();
    return pObject ? pObject->m_hObject : nullptr;
}

void CQVTGdiObject::MarkPermanent()
{
    if (!m_pCachedReference || m_bMarked)
        return;
    m_bMarked = TRUE;
    if (QVTGDIOBJECTDESCRIPTOR* pDescriptor = m_pCachedReference->GetDescriptor())
        InterlockedIncrement(&pDescriptor->nMarkCount);
}

// --- CQVTFont ----------------------------------------------------------------------

namespace {
CQVTFontCache::CReference* FontFromCache(const LOGFONT& lf)
{
    try
    {
        return QVTFontCache()->GetOrCreate(lf);
    }
    catch (CException* e)
    {
        // The cache is gone once the toolkit has shut down.
        e->Delete();
    }
    return nullptr;
}

CQVTBrushCache::CReference* BrushFromCache(const LOGBRUSH& lb)
{
    try
    {
        return QVTBrushCache()->GetOrCreate(lb);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    return nullptr;
}
}  // namespace

CQVTFont::CQVTFont() : CQVTGdiObject(&m_font)
{
    ZeroMemory(&m_logFont, sizeof(m_logFont));
}

CQVTFont::~CQVTFont()
{
    DeleteObject();
}

BOOL CQVTFont::DeleteObject()
{
    // A later font may be given the same handle value.
    m_hLogFontHandle = nullptr;
    return CQVTGdiObject::DeleteObject();
}

BOOL CQVTFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    CQVTFontCache::CReference* pReference = lpLogFont ? FontFromCache(*lpLogFont) : nullptr;
    if (!pReference)
    {
        DeleteObject();
        return FALSE;
    }
    SetCachedReference(pReference);
    return TRUE;
}

BOOL CQVTFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                          BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                          BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    LOGFONT lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    lf.lfStrikeOut = cStrikeOut;
    lf.lfCharSet = nCharSet;
    lf.lfOutPrecision = nOutPrecision;
    lf.lfClipPrecision = nClipPrecision;
    lf.lfQuality = nQuality;
    lf.lfPitchAndFamily = nPitchAndFamily;
    if (lpszFacename)
        ::lstrcpynW(lf.lfFaceName, lpszFacename, LF_FACESIZE);
    return CreateFontIndirect(&lf);
}

BOOL CQVTFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName)
        ::lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CQVTFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (!lpLogFont)
    {
        DeleteObject();
        return FALSE;
    }

    HDC hDC = pDC ? pDC->m_hAttribDC : nullptr;
    const BOOL bScreen = hDC == nullptr;
    if (bScreen)
        hDC = ::GetDC(nullptr);

    LOGFONT lf = *lpLogFont;
    POINT pt = {0, ::GetDeviceCaps(hDC, LOGPIXELSY) * lf.lfHeight / 720};
    POINT ptOrigin = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrigin, 1);
    lf.lfHeight = -abs(pt.y - ptOrigin.y);

    if (bScreen)
        ::ReleaseDC(nullptr, hDC);
    return CreateFontIndirect(&lf);
}

int CQVTFont::GetLogFont(LOGFONT* pLogFont)
{
    HGDIOBJ hFont = GetHandle();
    if (!hFont || !pLogFont)
        return 0;
    if (hFont != m_hLogFontHandle)
    {
        LOGFONT lf;
        if (!::GetObjectW(hFont, sizeof(LOGFONT), &lf))
            return 0;
        m_logFont = lf;
        m_hLogFontHandle = hFont;
    }
    *pLogFont = m_logFont;
    return sizeof(LOGFONT);
}

// --- CQVTBrush ---------------------------------------------------------------------

CQVTBrush::CQVTBrush() : CQVTGdiObject(&m_brush) {}

CQVTBrush::~CQVTBrush()
{
    DeleteObject();
}

BOOL CQVTBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    CQVTBrushCache::CReference* pReference = lpLogBrush ? BrushFromCache(*lpLogBrush) : nullptr;
    if (!pReference)
    {
        DeleteObject();
        return FALSE;
    }
    SetCachedReference(pReference);
    return TRUE;
}

BOOL CQVTBrush::CreateSolidBrush(COLORREF crColor)
{
    LOGBRUSH lb = {BS_SOLID, crColor, 0};
    return CreateBrushIndirect(&lb);
}

BOOL CQVTBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    HGDIOBJ hBitmap = pBitmap ? pBitmap->GetSafeHandle() : nullptr;
    if (!hBitmap)
        return FALSE;
    LOGBRUSH lb = {BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(hBitmap)};
    return CreateBrushIndirect(&lb);
}
