#include "toolkit/foundation/draw/QVTGlyphFont.h"

#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

QVT_IMPLEMENT_SINGLETON(CQVTGlyphFont, QVTGlyphFont, nullptr)

namespace {

// Big-endian reads that never leave the buffer.
class FontReader
{
public:
    FontReader(const BYTE* pData, DWORD cbData) : m_pData(pData), m_cbData(cbData) {}
    bool U16(DWORD nOffset, UINT& nValue) const
    {
        if (!m_pData || nOffset > m_cbData || m_cbData - nOffset < 2)
            return false;
        nValue = (m_pData[nOffset] << 8) | m_pData[nOffset + 1];
        return true;
    }
    bool U32(DWORD nOffset, DWORD& nValue) const
    {
        UINT nHigh = 0, nLow = 0;
        if (!U16(nOffset, nHigh) || !U16(nOffset + 2, nLow))
            return false;
        nValue = (static_cast<DWORD>(nHigh) << 16) | nLow;
        return true;
    }
    bool Contains(DWORD nOffset, DWORD nLength) const
    {
        return nOffset <= m_cbData && nLength <= m_cbData - nOffset;
    }
    const BYTE* At(DWORD nOffset) const { return m_pData + nOffset; }

private:
    const BYTE* m_pData;
    DWORD m_cbData;
};

}  // namespace

CQVTGlyphFont::CQVTGlyphFont()
{
    memset(&m_logFont, 0, sizeof(m_logFont));
    HMODULE hGdi = ::GetModuleHandleW(_T("gdi32"));
    if (hGdi)
    {
        m_pfnAddFontMemResourceEx =
            reinterpret_cast<PFNADDFONTMEMRESOURCEEX>(::GetProcAddress(hGdi, "AddFontMemResourceEx"));
        m_pfnRemoveFontMemResourceEx =
            reinterpret_cast<PFNREMOVEFONTMEMRESOURCEEX>(::GetProcAddress(hGdi, "RemoveFontMemResourceEx"));
    }
}

CQVTGlyphFont::~CQVTGlyphFont()
{
    m_font.DeleteObject();
    if (m_hMemoryFont && m_pfnRemoveFontMemResourceEx)
        m_pfnRemoveFontMemResourceEx(m_hMemoryFont);
}

CString AFXAPI CQVTGlyphFont::GetFontFamilyName(const BYTE* pData, DWORD cbData)
{
    const FontReader reader(pData, cbData);
    UINT nTables = 0;
    if (!reader.U16(4, nTables))
        return CString();
    DWORD nNameOffset = 0, nNameLength = 0;
    for (UINT i = 0; i < nTables; ++i)
    {
        const DWORD nRecord = 12 + i * 16;
        DWORD nTag = 0;
        if (!reader.U32(nRecord, nTag))
            return CString();
        if (nTag == 0x6E616D65)  // 'name'
        {
            if (!reader.U32(nRecord + 8, nNameOffset) || !reader.U32(nRecord + 12, nNameLength))
                return CString();
            break;
        }
    }
    if (!nNameLength || !reader.Contains(nNameOffset, nNameLength))
        return CString();

    const FontReader table(reader.At(nNameOffset), nNameLength);
    UINT nCount = 0, nStringOffset = 0;
    if (!table.U16(2, nCount) || !table.U16(4, nStringOffset))
        return CString();
    for (UINT i = 0; i < nCount; ++i)
    {
        const DWORD nRecord = 6 + i * 12;
        UINT nPlatform = 0, nEncoding = 0, nNameId = 0, nLength = 0, nOffset = 0;
        if (!table.U16(nRecord, nPlatform) || !table.U16(nRecord + 2, nEncoding) ||
            !table.U16(nRecord + 6, nNameId) || !table.U16(nRecord + 8, nLength) ||
            !table.U16(nRecord + 10, nOffset))
            return CString();
        // The Windows platform's Unicode family name, in UTF-16 big-endian.
        if (nPlatform != 3 || (nEncoding != 1 && nEncoding != 0) || nNameId != 1)
            continue;
        const DWORD nStart = nStringOffset + nOffset;
        if (!table.Contains(nStart, nLength))
            return CString();
        CString strName;
        for (UINT c = 0; c + 1 < nLength; c += 2)
        {
            UINT ch = 0;
            table.U16(nStart + c, ch);
            strName += static_cast<TCHAR>(ch);
        }
        return strName.GetLength() < LF_FACESIZE ? strName : CString();
    }
    return CString();
}

void CQVTGlyphFont::LoadFontResource()
{
    if (!m_pfnAddFontMemResourceEx)
        return;
    HMODULE hInstance = nullptr;
    HRSRC hResource =
        QVTResourceManager()->FindResource(&hInstance, MAKEINTRESOURCE(QVT_IDR_GLYPHFONT), RT_FONT);
    if (!hResource)
        return;
    // The resource module may be a language module: its claim is held to its mapping.
    DWORD cbData = 0;
    const BYTE* pData = CQVTResource::LockBounded(hInstance, hResource, &cbData);
    if (!pData || !cbData)
        return;
    m_strFamilyName = GetFontFamilyName(pData, cbData);
    if (m_strFamilyName.IsEmpty())
        return;
    DWORD nFonts = 0;
    m_hMemoryFont = m_pfnAddFontMemResourceEx(const_cast<BYTE*>(pData), cbData, nullptr, &nFonts);
}

BOOL CQVTGlyphFont::EnsureCreated()
{
    if (m_bCreated.load(std::memory_order_acquire))
        return m_font.GetSafeHandle() != nullptr;

    CQVTCriticalSectionLock lock(m_cs);
    if (!m_bCreated.load(std::memory_order_relaxed))
    {
        LoadFontResource();
        if (m_hMemoryFont)
        {
            const BYTE nQuality = CQVTDrawHelpers::IsDefaultDpi() && QVTOSVersion()->IsWinNT4OrGreater()
                                      ? ANTIALIASED_QUALITY
                                      : DEFAULT_QUALITY;
            LOGFONT lf = {};
            lf.lfCharSet = DEFAULT_CHARSET;
            lf.lfOutPrecision = OUT_CHARACTER_PRECIS;
            lf.lfClipPrecision = CLIP_CHARACTER_PRECIS;
            lf.lfQuality = nQuality;
            lf.lfPitchAndFamily = FIXED_PITCH;
            lstrcpynW(lf.lfFaceName, m_strFamilyName, LF_FACESIZE);
            if (m_font.CreateFontIndirect(&lf))
                m_logFont = lf;
        }
        m_bCreated.store(true, std::memory_order_release);
    }
    return m_font.GetSafeHandle() != nullptr;
}

int CQVTGlyphFont::DrawGlyph(CDC* pDC, WCHAR chGlyph, const CRect& rect, COLORREF clrText, COLORREF clrBack,
                             BOOL bOutline, HPEN hOutlinePen)
{
    if (!pDC || !pDC->GetSafeHdc() || !EnsureCreated())
        return 0;

    const TCHAR szGlyph[2] = {static_cast<TCHAR>(chGlyph), 0};
    const int nHeight = CQVTDrawHelpers::FitFontHeightToRect(pDC, szGlyph, 1, rect, m_font.GetFont());
    if (nHeight < 1)
        return 0;
    LOGFONT lf = m_logFont;
    lf.lfHeight = nHeight;
    CQVTFont fitted;
    if (!fitted.CreateFontIndirect(&lf))
        return 0;

    CQVTFontDC font(pDC, &fitted);
    const CSize extent = pDC->GetTextExtent(szGlyph, 1);
    CRect rc = CQVTDrawHelpers::MakeSameParityRect(rect);
    rc.OffsetRect((rc.Width() - extent.cx) / 2, (rc.Height() - extent.cy) / 2);
    const COLORREF clrDraw = clrText == 0xFFFFFFFF ? pDC->GetTextColor() : clrText;
    if (!bOutline)
        return CQVTDrawHelpers::DrawTextWithColors(pDC, fitted.GetFont(), szGlyph, 1, rc,
                                                   DT_SINGLELINE | DT_NOCLIP, clrDraw, clrBack);

    CPen ownPen;
    if (!hOutlinePen)
    {
        LOGBRUSH lb = {BS_SOLID, clrDraw, 0};
        ownPen.Attach(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID, QVTDpiScaler()->ScaleX(1), &lb, 0, nullptr));
        hOutlinePen = static_cast<HPEN>(ownPen.GetSafeHandle());
    }
    // Restoring the saved state puts back the pen (before the own one is
    // deleted) and the background mode.
    CQVTDCSaveState state(pDC);
    pDC->SetBkMode(TRANSPARENT);
    pDC->BeginPath();
    pDC->DrawText(szGlyph, 1, rc, DT_SINGLELINE | DT_NOCLIP);
    pDC->EndPath();
    ::SelectObject(pDC->GetSafeHdc(), hOutlinePen);
    return pDC->StrokePath() ? 1 : 0;
}
