// The glyph font: loaded from the program's font resource once, even when
// many threads ask at once; glyphs drawn fitted and centred; the naming
// table read safely from damaged data.
#include <afxwin.h>

#include <atomic>
#include <vector>

#include "dib_canvas.h"
#include "draw_colours.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "win_thread.h"

namespace {

std::vector<BYTE> FontResource()
{
    HRSRC hResource = ::FindResourceW(nullptr, MAKEINTRESOURCE(QVT_IDR_GLYPHFONT), RT_FONT);
    if (!hResource)
        return {};
    const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, hResource)));
    return std::vector<BYTE>(p, p + ::SizeofResource(nullptr, hResource));
}

}  // namespace

TEST(GlyphFont, CreatedOnceAcrossThreads)
{
    std::atomic<int> created{0};
    std::vector<WinThread> threads;
    for (int i = 0; i < 6; ++i)
        threads.emplace_back([&created]() { created += QVTGlyphFont()->EnsureCreated() ? 1 : 0; });
    for (WinThread& thread : threads)
        thread.join();
    EXPECT_EQ(6, created.load());

    const LOGFONT& lf = QVTGlyphFont()->GetLogFont();
    EXPECT_TRUE(CString(lf.lfFaceName) == _T("Sondrel Glyphs"));
    EXPECT_EQ(FIXED_PITCH, lf.lfPitchAndFamily & 3);
    // GDI really made the face from memory, not a substitute.
    DibCanvas canvas(4, 4);
    CFont* old = canvas.dc.SelectObject(QVTGlyphFont()->GetFont().GetFont());
    CString face;
    canvas.dc.GetTextFace(face);
    canvas.dc.SelectObject(old);
    EXPECT_TRUE(face == _T("Sondrel Glyphs")) << CStringA(face).GetString();
}

TEST(GlyphFont, GlyphsAreFittedAndCentred)
{
    DibCanvas canvas(64, 64);
    const CRect rect(8, 12, 40, 44);
    const COLORREF oldText = canvas.dc.SetTextColor(RGB(0, 0, 255));
    ASSERT_NE(0, QVTGlyphFont()->DrawGlyph(&canvas.dc, 'E', rect, kRed));
    const CRect inked = canvas.BoundsOfAllBut(kWhite);
    EXPECT_TRUE(rect.PtInRect(inked.TopLeft()));
    EXPECT_TRUE(rect.PtInRect(CPoint(inked.right - 1, inked.bottom - 1)));
    // The close mark fills a good part of the box around its centre.
    EXPECT_GE(inked.Width(), rect.Width() / 2);
    EXPECT_LE(std::abs(inked.CenterPoint().x - rect.CenterPoint().x), 3);
    EXPECT_LE(std::abs(inked.CenterPoint().y - rect.CenterPoint().y), 6);
    EXPECT_GT(canvas.CountOf(kRed), 20);
    EXPECT_EQ(RGB(0, 0, 255), canvas.dc.GetTextColor());

    // The DC's text colour when none is given; an opaque background.
    canvas.Clear(kWhite);
    QVTGlyphFont()->DrawGlyph(&canvas.dc, 'L', rect, 0xFFFFFFFF, RGB(0, 255, 0));
    EXPECT_GT(canvas.CountOf(RGB(0, 0, 255)), 20);
    EXPECT_GT(canvas.CountOf(RGB(0, 255, 0)), 20);
    canvas.dc.SetTextColor(oldText);

    // Outlines are stroked, not filled: the square bullet's middle stays blank.
    canvas.Clear(kWhite);
    ASSERT_NE(0, QVTGlyphFont()->DrawGlyph(&canvas.dc, 's', CRect(0, 0, 64, 64), kRed, 0xFFFFFFFF, TRUE));
    const CRect outline = canvas.BoundsOfAllBut(kWhite);
    EXPECT_FALSE(outline.IsRectEmpty());
    EXPECT_EQ(kWhite, canvas.At(outline.CenterPoint().x, outline.CenterPoint().y));

    // Drawn or outlined, with its own pen or the caller's, the glyph leaves the
    // DC's font, pen and mode as they were, and the caller's pen alive.
    const HGDIOBJ originalFont = ::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT);
    const HGDIOBJ originalPen = ::GetCurrentObject(canvas.dc.m_hDC, OBJ_PEN);
    const int originalMode = canvas.dc.GetBkMode();
    CPen callersPen(PS_SOLID, 1, RGB(0, 128, 0));
    for (HPEN hPen : {static_cast<HPEN>(nullptr), static_cast<HPEN>(callersPen.m_hObject)})
    {
        for (BOOL bOutline : {FALSE, TRUE})
        {
            canvas.Clear(kWhite);
            EXPECT_NE(0, QVTGlyphFont()->DrawGlyph(&canvas.dc, 's', CRect(0, 0, 64, 64), kRed, 0xFFFFFFFF,
                                                   bOutline, hPen));
            EXPECT_EQ(originalFont, ::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT));
            EXPECT_EQ(originalPen, ::GetCurrentObject(canvas.dc.m_hDC, OBJ_PEN));
            EXPECT_EQ(originalMode, canvas.dc.GetBkMode());
        }
    }
    EXPECT_GT(canvas.CountOf(RGB(0, 128, 0)), 20);  // the last outline, in the caller's pen
    EXPECT_EQ(OBJ_PEN, static_cast<int>(::GetObjectType(callersPen.m_hObject)));

    EXPECT_EQ(0, QVTGlyphFont()->DrawGlyph(&canvas.dc, 'E', CRect(0, 0, 0, 0), kRed));
    EXPECT_EQ(0, QVTGlyphFont()->DrawGlyph(nullptr, 'E', rect, kRed));
}

TEST(GlyphFont, FamilyNameFromDamagedDataIsEmpty)
{
    const std::vector<BYTE> data = FontResource();
    ASSERT_FALSE(data.empty());
    EXPECT_TRUE(CQVTGlyphFont::GetFontFamilyName(data.data(), DWORD(data.size())) == _T("Sondrel Glyphs"));
    // Every truncation, and a naming table pointing past the end, is refused.
    for (size_t size = 0; size < data.size(); size += 7)
        EXPECT_TRUE(CQVTGlyphFont::GetFontFamilyName(data.data(), DWORD(size)).IsEmpty() ||
                    CQVTGlyphFont::GetFontFamilyName(data.data(), DWORD(size)) == _T("Sondrel Glyphs"));
    std::vector<BYTE> damaged = data;
    for (size_t i = 12; i + 16 <= 12 + 16 * 20 && i + 16 <= damaged.size(); i += 16)
        if (memcmp(&damaged[i], "name", 4) == 0)
            damaged[i + 8] = 0x7F;  // offset far beyond the data
    EXPECT_TRUE(CQVTGlyphFont::GetFontFamilyName(damaged.data(), DWORD(damaged.size())).IsEmpty());
    EXPECT_TRUE(CQVTGlyphFont::GetFontFamilyName(nullptr, 100).IsEmpty());
}
