#include "sondrel_gtest.h"
#include "win_thread.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

#include <tchar.h>

#include <vector>

namespace {
LOGFONTW MakeLogFont(const WCHAR* pszFace, LONG nHeight = -13, LONG nWeight = FW_NORMAL)
{
    LOGFONTW lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, pszFace, LF_FACESIZE);
    return lf;
}

bool IsLiveGdiObject(HGDIOBJ h)
{
    return ::GetObjectType(h) != 0;
}

// The hash's closed form: the sum of i² - 2 - w over the words.
UINT ClosedFormHash(const std::vector<UINT>& words)
{
    UINT h = 0;
    for (UINT i = 0; i < words.size(); ++i)
        h += i * i - 2 - words[i];
    return h;
}
}  // namespace

TEST(GdiCacheHash, WordSumMatchesItsClosedForm)
{
    LOGBRUSH zero = {};
    EXPECT_EQ(6u, QVTHashLogBrush(zero));
    EXPECT_EQ(6u, QVTHashLogBrush(zero) % 17) << "bucket";

    LOGBRUSH lb = {BS_HATCHED, RGB(0x12, 0x34, 0x56), static_cast<ULONG_PTR>(0x1234567890ABCDEFull)};
    EXPECT_EQ(ClosedFormHash({BS_HATCHED, RGB(0x12, 0x34, 0x56), 0x90ABCDEFu, 0x12345678u}),
              QVTHashLogBrush(lb));

    LOGFONTW lf = MakeLogFont(_T("ab"), -12, FW_BOLD);
    lf.lfItalic = 1;
    lf.lfQuality = 5;
    const UINT fixed =
        ClosedFormHash({UINT(-12), 0, 0, 0, FW_BOLD, 0x00000001u | (DEFAULT_CHARSET << 24), 0x00050000u});
    EXPECT_EQ(fixed + ClosedFormHash({u'a', u'b'}), QVTHashLogFont(lf));

    // Bytes after the terminator do not count.
    LOGFONTW lfJunk = lf;
    lfJunk.lfFaceName[5] = u'x';
    EXPECT_EQ(QVTHashLogFont(lf), QVTHashLogFont(lfJunk));
    EXPECT_TRUE(QVTEqualLogFonts(lf, lfJunk));
    lfJunk.lfFaceName[1] = u'c';
    EXPECT_FALSE(QVTEqualLogFonts(lf, lfJunk));
}

TEST(FontCache, FacesDifferingInCaseShareOneFontUntilTheLastHolderGoes)
{
    const INT_PTR nBefore = QVTFontCache()->GetCount();
    const LOGFONTW lfUpper = MakeLogFont(_T("Tahoma"), -17);
    const LOGFONTW lfLower = MakeLogFont(_T("tahoma"), -17);

    auto* pFirst = new CQVTFont;
    auto* pSecond = new CQVTFont;
    ASSERT_TRUE(pFirst->CreateFontIndirect(&lfUpper));
    ASSERT_TRUE(pSecond->CreateFontIndirect(&lfLower));
    HGDIOBJ hFont = pFirst->GetSafeHandle();
    ASSERT_NE(nullptr, hFont);
    EXPECT_EQ(hFont, pSecond->GetSafeHandle());
    EXPECT_EQ(2, pFirst->GetCachedReference()->GetRefCount());
    EXPECT_EQ(nBefore + 1, QVTFontCache()->GetCount());
    EXPECT_EQ(pFirst->GetGdiObject(), pSecond->GetGdiObject());
    EXPECT_EQ(hFont, static_cast<HGDIOBJ>(static_cast<HFONT>(*pSecond)));

    // The key keeps the face lower-cased.
    auto* pDescriptor = static_cast<QVTLOGFONTDESCRIPTOR*>(pFirst->GetDescriptor());
    ASSERT_NE(nullptr, pDescriptor);
    EXPECT_EQ(0, ::lstrcmpW(_T("tahoma"), pDescriptor->key.lfFaceName));

    delete pFirst;
    EXPECT_TRUE(IsLiveGdiObject(hFont)) << "deleted while still held";
    EXPECT_EQ(1, pSecond->GetCachedReference()->GetRefCount());
    delete pSecond;
    EXPECT_FALSE(IsLiveGdiObject(hFont));
    EXPECT_EQ(nBefore, QVTFontCache()->GetCount());

    // Asked for again, the font is made anew.
    CQVTFont again;
    ASSERT_TRUE(again.CreateFontIndirect(&lfUpper));
    EXPECT_EQ(1, again.GetCachedReference()->GetRefCount());
}

TEST(FontCache, RecreatingReleasesThePreviousFontAndFailureLeavesNothing)
{
    const LOGFONTW lfA = MakeLogFont(_T("Arial"), -21);
    const LOGFONTW lfB = MakeLogFont(_T("Arial"), -21, FW_BOLD);
    CQVTFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lfA));
    HGDIOBJ hA = font.GetHandle();
    ASSERT_TRUE(font.CreateFontIndirect(&lfB));
    EXPECT_NE(hA, font.GetHandle());
    EXPECT_FALSE(IsLiveGdiObject(hA)) << "the only holder moved on";

    // The same key again keeps the entry alive across the switch.
    HGDIOBJ hB = font.GetHandle();
    ASSERT_TRUE(font.CreateFontIndirect(&lfB));
    EXPECT_EQ(hB, font.GetHandle());
    EXPECT_TRUE(IsLiveGdiObject(hB));
    EXPECT_EQ(1, font.GetCachedReference()->GetRefCount());

    EXPECT_FALSE(font.CreateFontIndirect(nullptr));
    EXPECT_EQ(nullptr, font.GetSafeHandle());
    EXPECT_FALSE(IsLiveGdiObject(hB));
    EXPECT_TRUE(font.DeleteObject()) << "nothing left to delete";

    // A pointer that is null at run time, as a caller's may be.
    CQVTFont* volatile pNull = nullptr;
    EXPECT_EQ(nullptr, pNull->GetSafeHandle());
}

TEST(FontCache, PointFontsLogFontsAndMarks)
{
    HDC hScreen = ::GetDC(nullptr);
    const int nDpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(nullptr, hScreen);

    CQVTFont font;
    ASSERT_TRUE(font.CreatePointFont(90, _T("Tahoma")));
    LOGFONT lf;
    ASSERT_EQ(int(sizeof(LOGFONT)), font.GetLogFont(&lf));
    EXPECT_EQ(-(nDpi * 90 / 720), lf.lfHeight);
    if (nDpi == 96)
    {
        EXPECT_EQ(-12, lf.lfHeight);
    }
    EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
    EXPECT_EQ(0, ::lstrcmpiW(_T("Tahoma"), lf.lfFaceName));

    // Through a DC with its own mapping: heights follow the logical units.
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    ::SetMapMode(dc.m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc.m_hDC, 2, 2, nullptr);
    ::SetViewportExtEx(dc.m_hDC, 1, 1, nullptr);
    CQVTFont scaled;
    ASSERT_TRUE(scaled.CreatePointFont(90, _T("Tahoma"), &dc));
    ASSERT_TRUE(scaled.GetLogFont(&lf));
    const int nMemDpi = ::GetDeviceCaps(dc.m_hDC, LOGPIXELSY);
    EXPECT_EQ(-2 * (nMemDpi * 90 / 720), lf.lfHeight);

    // The kept copy follows the font when it changes.
    ASSERT_TRUE(font.CreateFont(-30, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, _T("Arial")));
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_EQ(-30, lf.lfHeight);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    font.DeleteObject();
    EXPECT_EQ(0, font.GetLogFont(&lf));

    // One mark per object, however often it asks.
    CQVTFont first, second;
    ASSERT_TRUE(first.CreatePointFont(100, _T("Arial")));
    ASSERT_TRUE(second.CreatePointFont(100, _T("Arial")));
    first.MarkPermanent();
    first.MarkPermanent();
    EXPECT_EQ(1, first.GetDescriptor()->nMarkCount);
    second.MarkPermanent();
    EXPECT_EQ(2, first.GetDescriptor()->nMarkCount);
}

TEST(BrushCache, EqualBrushesShareOneHandle)
{
    const INT_PTR nBefore = QVTBrushCache()->GetCount();
    CQVTBrush red1, red2, green;
    ASSERT_TRUE(red1.CreateSolidBrush(RGB(255, 0, 0)));
    ASSERT_TRUE(red2.CreateSolidBrush(RGB(255, 0, 0)));
    ASSERT_TRUE(green.CreateSolidBrush(RGB(0, 255, 0)));
    EXPECT_EQ(red1.GetSafeHandle(), red2.GetSafeHandle());
    EXPECT_NE(red1.GetSafeHandle(), green.GetSafeHandle());
    EXPECT_EQ(2, red1.GetCachedReference()->GetRefCount());
    EXPECT_EQ(nBefore + 2, QVTBrushCache()->GetCount());

    LOGBRUSH lb;
    ASSERT_EQ(int(sizeof(LOGBRUSH)), ::GetObjectW(red1.GetSafeHandle(), sizeof(lb), &lb));
    EXPECT_EQ(UINT(BS_SOLID), lb.lbStyle);
    EXPECT_EQ(RGB(255, 0, 0), lb.lbColor);

    // A brush paints what it was made for.
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 4;
    bmi.bmiHeader.biHeight = -4;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hDib = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hDib);
    RECT rc = {0, 0, 4, 4};
    ::FillRect(hDC, &rc, green);
    ::GdiFlush();
    EXPECT_EQ(0x0000FF00u, static_cast<DWORD*>(pBits)[5] & 0x00FFFFFF);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);

    // Pattern brushes are keyed by their bitmap.
    CBitmap bitmap;
    bitmap.Attach(hDib);
    CQVTBrush pattern, samePattern;
    ASSERT_TRUE(pattern.CreatePatternBrush(&bitmap));
    ASSERT_TRUE(samePattern.CreatePatternBrush(&bitmap));
    EXPECT_EQ(pattern.GetSafeHandle(), samePattern.GetSafeHandle());
    CBitmap empty;
    EXPECT_FALSE(pattern.CreatePatternBrush(&empty));
    EXPECT_FALSE(pattern.CreatePatternBrush(nullptr));
    pattern.DeleteObject();
    samePattern.DeleteObject();

    // A brush GDI refuses: FALSE, nothing held, nothing cached.
    const INT_PTR nNow = QVTBrushCache()->GetCount();
    LOGBRUSH bad = {BS_PATTERN, 0, 0};
    CQVTBrush broken;
    EXPECT_FALSE(broken.CreateBrushIndirect(&bad));
    EXPECT_EQ(nullptr, broken.GetSafeHandle());
    EXPECT_EQ(nNow, QVTBrushCache()->GetCount());
}

TEST(BrushCache, OwnHandlesAreDeletedAndReplaced)
{
    CQVTBrush brush;
    ASSERT_TRUE(static_cast<CBrush*>(brush.GetGdiObject())->CreateSolidBrush(RGB(1, 2, 3)));
    HGDIOBJ hOwn = brush.GetSafeHandle();
    ASSERT_NE(nullptr, hOwn);
    EXPECT_EQ(nullptr, brush.GetCachedReference());
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_FALSE(IsLiveGdiObject(hOwn)) << "switching to a shared brush deletes the own one";
    EXPECT_NE(hOwn, brush.GetSafeHandle());
}

TEST(BrushCache, ReferencesReleasedOnManyThreads)
{
    const INT_PTR nBefore = QVTBrushCache()->GetCount();
    const COLORREF colours[] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)};
    std::vector<WinThread> threads;
    std::atomic<int> nFailures{0};
    for (int t = 0; t < 6; ++t)
    {
        threads.emplace_back([&, t]() {
            for (int i = 0; i < 300; ++i)
            {
                CQVTBrush a, b;
                if (!a.CreateSolidBrush(colours[(t + i) % 3]) || !b.CreateSolidBrush(colours[i % 3]))
                    ++nFailures;
                if (!IsLiveGdiObject(a.GetSafeHandle()))
                    ++nFailures;
            }
        });
    }
    for (WinThread& thread : threads)
        thread.join();
    EXPECT_EQ(0, nFailures.load());
    EXPECT_EQ(nBefore, QVTBrushCache()->GetCount()) << "entries left behind";

    // Made on one thread, let go on another.
    auto* pBrush = new CQVTBrush;
    ASSERT_TRUE(pBrush->CreateSolidBrush(RGB(99, 98, 97)));
    HGDIOBJ hBrush = pBrush->GetSafeHandle();
    WinThread([pBrush]() { delete pBrush; }).join();
    EXPECT_FALSE(IsLiveGdiObject(hBrush));
    EXPECT_EQ(nBefore, QVTBrushCache()->GetCount());
}
