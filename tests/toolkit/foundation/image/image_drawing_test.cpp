// The pixel side of the image manager, read back from DIBs: states, the
// disabled looks, shadows, premultiplication and alpha detection, the own
// blend and transparent copy against the system's, shared strips, mirroring
// and resizing.
#include <afxwin.h>

#include <random>
#include <vector>

#include "image_test_support.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerResource.h"

namespace {

// Three opaque columns (white, black, grey) and one transparent column.
COLORREF Columns(int x, int)
{
    return x < 4 ? kWhite : x < 8 ? kBlack : kGrey;
}

DWORD AlphaColumns(int x, int)
{
    return x < 4 ? 0xFFFFFFFF : x < 8 ? 0xFF000000 : x < 12 ? 0xFF808080 : 0x00000000;
}

CQVTImageManagerIcon* SetHandle(CQVTImageManager& manager, UINT nCommand,
                                CQVTImageManagerRasterImageHandle& handle, int nState = 0)
{
    EXPECT_TRUE(manager.SetIcon(handle, nCommand, CSize(16, 16), nState));
    return manager.GetImage(nCommand, 16);
}

CQVTImageManagerIcon* MaskedColumnsIcon(CQVTImageManager& manager, UINT nCommand)
{
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeMaskedIcon(16, 16, Columns, [](int x, int) { return x >= 12; }));
    return SetHandle(manager, nCommand, handle);
}

CQVTImageManagerIcon* AlphaColumnsIcon(CQVTImageManager& manager, UINT nCommand)
{
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachBitmap(MakeAlphaBitmap(16, 16, AlphaColumns));
    return SetHandle(manager, nCommand, handle);
}

// The icon drawn in a state over a background, read at one pixel of each
// column group.
std::vector<COLORREF> DrawnColumns(CQVTImageManagerIcon* pIcon, int nState, COLORREF background)
{
    DibCanvas canvas(16, 16, background);
    pIcon->DrawInState(&canvas.dc, CPoint(0, 0), nState);
    return {canvas.At(1, 8), canvas.At(5, 8), canvas.At(9, 8), canvas.At(13, 8)};
}

struct ColourScope
{
    explicit ColourScope(COLORREF clr) { QVTColorManager()->SetColor(31, clr); }
    ~ColourScope() { QVTColorManager()->SetColor(31, CQVTColorManager::noColor); }
};

}  // namespace

TEST(ImageDrawing, EveryStateDrawsItsImageOrItsFallBack)
{
    CQVTImageManager manager;
    for (BOOL bPooled : {TRUE, FALSE})
    {
        manager.SetUseResources(bPooled);
        CQVTImageManagerRasterImageHandle normal, hot, checked, pressed, disabled;
        normal.AttachIcon(MakeSolidIcon(16, 16, kRed));
        hot.AttachIcon(MakeSolidIcon(16, 16, kGreen));
        checked.AttachBitmap(MakeAlphaBitmap(16, 16, [](int, int) { return 0xFF0000FFu; }));
        pressed.AttachIcon(MakeSolidIcon(16, 16, RGB(255, 255, 0)));
        disabled.AttachIcon(MakeSolidIcon(16, 16, kGrey));
        const UINT id = bPooled ? 1 : 2;
        CQVTImageManagerIcon* pIcon = SetHandle(manager, id, normal);
        EXPECT_EQ(DrawnPixel(pIcon, qvtImageChecked, 8, 8), kRed) << "checked falls back to normal";
        SetHandle(manager, id, hot, qvtImageHot);
        EXPECT_EQ(DrawnPixel(pIcon, qvtImageChecked, 8, 8), kGreen) << "checked falls back to hot";
        EXPECT_EQ(DrawnPixel(pIcon, qvtImagePressed, 8, 8), kGreen) << "pressed falls back to hot";
        SetHandle(manager, id, checked, qvtImageChecked);
        SetHandle(manager, id, pressed, qvtImagePressed);
        SetHandle(manager, id, disabled, qvtImageDisabled);
        EXPECT_EQ(DrawnPixel(pIcon, qvtImageNormal, 8, 8), kRed);
        EXPECT_EQ(DrawnPixel(pIcon, qvtImageHot, 8, 8), kGreen);
        EXPECT_EQ(DrawnPixel(pIcon, qvtImageChecked, 8, 8), kBlue);
        EXPECT_EQ(DrawnPixel(pIcon, qvtImagePressed, 8, 8), RGB(255, 255, 0));
        EXPECT_EQ(DrawnPixel(pIcon, qvtImageDisabled, 8, 8), kGrey);
        EXPECT_EQ(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotNormal).GetResourceInfo() != nullptr,
                  bPooled);

        // A size of 0 takes the icon's; a height of 0 keeps its proportions.
        DibCanvas canvas(40, 40, kWhite);
        pIcon->DrawSized(&canvas.dc, CPoint(0, 0), CSize(32, 0));
        EXPECT_EQ(canvas.BoundsOfAllBut(kWhite), CRect(0, 0, 32, 32));
    }
}

TEST(ImageDrawing, IconsDrawIntoARealWindow)
{
    CQVTImageManager manager;
    CQVTImageManagerRasterImageHandle normal, hot;
    normal.AttachIcon(MakeMaskedIcon(
        16, 16, [](int, int) { return kRed; }, [](int x, int y) { return x == 0 && y == 0; }));
    hot.AttachBitmap(MakeAlphaBitmap(16, 16, [](int x, int) { return x < 8 ? 0xFF0000FFu : 0x00000000u; }));
    CQVTImageManagerIcon* pIcon = SetHandle(manager, 1, normal);
    SetHandle(manager, 1, hot, qvtImageHot);
    HWND hWnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, u"STATIC", u"", WS_POPUP, 700, 40, 48, 24,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hWnd);
    HDC hDC = GetDC(hWnd);
    CRect rc(0, 0, 48, 24);
    FillRect(hDC, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CDC* pDC = CDC::FromHandle(hDC);
    pIcon->DrawInState(pDC, CPoint(0, 0), qvtImageNormal);
    pIcon->DrawInState(pDC, CPoint(24, 0), qvtImageHot);
    EXPECT_EQ(GetPixel(hDC, 8, 8), kRed);
    EXPECT_EQ(GetPixel(hDC, 0, 0), kWhite) << "masked corner";
    EXPECT_EQ(GetPixel(hDC, 28, 8), kBlue);
    EXPECT_EQ(GetPixel(hDC, 36, 8), kWhite) << "transparent half of the alpha image";
    ReleaseDC(hWnd, hDC);
    DestroyWindow(hWnd);
}

TEST(ImageDrawing, DisabledGammaLook)
{
    CQVTImageManager manager;
    const std::vector<COLORREF> gamma = {kWhite, kBlack, RGB(180, 180, 180), RGB(1, 2, 3)};
    EXPECT_EQ(DrawnColumns(MaskedColumnsIcon(manager, 1), qvtImageDisabled, RGB(1, 2, 3)), gamma);
    EXPECT_EQ(DrawnColumns(AlphaColumnsIcon(manager, 2), qvtImageDisabled, RGB(1, 2, 3)), gamma);

    // A half-transparent pixel: undone, greyed, premultiplied again.
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachBitmap(MakeAlphaBitmap(16, 16, [](int, int) { return 0x80808080u; }));
    CQVTImageManagerIcon* pIcon = SetHandle(manager, 3, handle);
    DibCanvas canvas(16, 16, kBlack);
    pIcon->DrawInState(&canvas.dc, CPoint(0, 0), qvtImageDisabled);
    // grey 128 at alpha 128: premultiplied 64, unmultiplied 127, gamma 179,
    // premultiplied 89 over black.
    EXPECT_NEAR(GetRValue(canvas.At(8, 8)), 89, 1);
    EXPECT_EQ(GetRValue(canvas.At(8, 8)), GetBValue(canvas.At(8, 8)));
}

TEST(ImageDrawing, DisabledColourLook)
{
    for (int nKind = 0; nKind < 2; ++nKind)
    {
        CQVTImageManager manager;
        CQVTImageManagerIcon* pIcon = nKind ? AlphaColumnsIcon(manager, 1) : MaskedColumnsIcon(manager, 1);
        pIcon->CreateDisabledImage(kWhite, kBlack);
        EXPECT_EQ(DrawnColumns(pIcon, qvtImageDisabled, kGreen),
                  (std::vector<COLORREF>{kWhite, kBlack, RGB(128, 128, 128), kGreen}))
            << "white to black keeps a grey scale";

        pIcon->Refresh();
        pIcon->CreateDisabledImage(kRed, kRed);
        EXPECT_EQ(DrawnColumns(pIcon, qvtImageDisabled, kGreen),
                  (std::vector<COLORREF>{kRed, kRed, kRed, kGreen}));

        // Dark pixels take the second colour, bright ones the first.
        pIcon->Refresh();
        pIcon->CreateDisabledImage(kBlue, kRed);
        EXPECT_EQ(DrawnColumns(pIcon, qvtImageDisabled, kGreen),
                  (std::vector<COLORREF>{kBlue, kRed, RGB(127, 0, 128), kGreen}));
    }
}

TEST(ImageDrawing, ShadowIsTheSchemeColourDarkened)
{
    ColourScope colour(RGB(200, 100, 0));
    CQVTImageManager manager;
    CQVTImageManagerIcon* pMasked = MaskedColumnsIcon(manager, 1);
    CQVTImageManagerIcon* pAlpha = AlphaColumnsIcon(manager, 2);
    for (CQVTImageManagerIcon* pIcon : {pMasked, pAlpha})
    {
        DibCanvas canvas(16, 16, kWhite);
        pIcon->GetShadowImage().Draw(&canvas.dc, CPoint(0, 0), CSize(16, 16));
        EXPECT_EQ(canvas.At(1, 1), RGB(150, 75, 0));
        EXPECT_EQ(canvas.At(5, 1), RGB(150, 75, 0));
        EXPECT_EQ(canvas.At(13, 1), kWhite) << "transparent stays transparent";
    }

    // Half-transparent pixels take the colour premultiplied by their alpha.
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachBitmap(MakeAlphaBitmap(16, 16, [](int, int) { return 0x80FFFFFFu; }));
    CQVTImageManagerIcon* pIcon = SetHandle(manager, 3, handle);
    DibCanvas canvas(16, 16, kBlack);
    pIcon->GetShadowImage().Draw(&canvas.dc, CPoint(0, 0), CSize(16, 16));
    EXPECT_EQ(canvas.At(3, 3), RGB(150 * 128 / 255, 75 * 128 / 255, 0));

    // The shadow is made from the hot image when there is one, and not for
    // images kept out of the strips.
    CQVTImageManagerRasterImageHandle hot;
    hot.AttachIcon(MakeSolidIcon(16, 16, kGreen));
    SetHandle(manager, 1, hot, qvtImageHot);
    EXPECT_TRUE(pMasked->GetRasterSlot(CQVTImageManagerIcon::slotShadow).IsEmpty());
    DibCanvas hotCanvas(16, 16, kWhite);
    pMasked->GetShadowImage().Draw(&hotCanvas.dc, CPoint(0, 0), CSize(16, 16));
    EXPECT_EQ(hotCanvas.At(14, 1), RGB(150, 75, 0)) << "the hot image is opaque where the normal one was not";

    CQVTImageManagerRasterImageHandle unpooled;
    unpooled.AttachIcon(MakeSolidIcon(16, 16, kRed));
    unpooled.SetPoolable(FALSE);
    EXPECT_TRUE(SetHandle(manager, 4, unpooled)->GetShadowImage().IsEmpty());
}

TEST(ImageDrawing, PremultiplicationAndAlphaDetection)
{
    // No alpha anywhere: read as it was, whatever the colours.
    HBITMAP hNone = MakeAlphaBitmap(4, 4, [](int, int) { return 0x00336699u; });
    DWORD dwAlpha = 0;
    LPBYTE pBits = nullptr;
    HBITMAP hResult = CQVTImageManager::ConvertToAlphaBitmap(hNone, &dwAlpha, &pBits);
    ASSERT_NE(hResult, nullptr);
    EXPECT_EQ(dwAlpha, 0u);
    EXPECT_EQ(reinterpret_cast<DWORD*>(pBits)[5], 0x00336699u);
    DeleteObject(hResult);

    // Fully opaque: no alpha with preset 0, alpha with preset 0xFFFFFFFF.
    HBITMAP hOpaque = MakeAlphaBitmap(4, 4, [](int, int) { return 0xFF336699u; });
    dwAlpha = 0;
    DeleteObject(CQVTImageManager::ConvertToAlphaBitmap(hOpaque, &dwAlpha));
    EXPECT_EQ(dwAlpha, 0u);
    dwAlpha = 0xFFFFFFFF;
    DeleteObject(CQVTImageManager::ConvertToAlphaBitmap(hOpaque, &dwAlpha));
    EXPECT_EQ(dwAlpha, 1u);

    // One half-transparent pixel: alpha, and every pixel premultiplied.
    HBITMAP hHalf =
        MakeAlphaBitmap(4, 4, [](int x, int y) { return x == 2 && y == 2 ? 0x80FF8040u : 0x00336699u; });
    dwAlpha = 0;
    hResult = CQVTImageManager::ConvertToAlphaBitmap(hHalf, &dwAlpha, &pBits);
    EXPECT_EQ(dwAlpha, 1u);
    const DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
    EXPECT_EQ(pPixels[0], 0u);
    // Bottom-up: row 2 of a 4-row image is memory row 1.
    EXPECT_EQ(pPixels[1 * 4 + 2], 0x80804020u);
    DeleteObject(hResult);

    // Transparent then opaque counts as alpha even with preset 0.
    HBITMAP hCutOut = MakeAlphaBitmap(4, 4, [](int x, int) { return x == 0 ? 0x00000000u : 0xFF112233u; });
    dwAlpha = 0;
    DeleteObject(CQVTImageManager::ConvertToAlphaBitmap(hCutOut, &dwAlpha));
    EXPECT_EQ(dwAlpha, 1u);

    // An alpha handle is premultiplied once, on first use.
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachBitmap(MakeAlphaBitmap(2, 2, [](int, int) { return 0x80FF0000u; }));
    EXPECT_FALSE(handle.IsPremultiplied());
    LPBYTE pHandleBits = handle.GetBits();
    ASSERT_NE(pHandleBits, nullptr);
    EXPECT_EQ(reinterpret_cast<DWORD*>(pHandleBits)[0], 0x80800000u);
    EXPECT_EQ(handle.GetBits(), pHandleBits);
    EXPECT_EQ(reinterpret_cast<DWORD*>(pHandleBits)[0], 0x80800000u) << "not twice";

    for (HBITMAP h : {hNone, hOpaque, hHalf, hCutOut})
        DeleteObject(h);
}

TEST(ImageDrawing, OwnBlendEqualsTheSystemBlend)
{
    std::mt19937 random(9);
    const int cx = 37, cy = 11;
    HBITMAP hSource = MakeAlphaBitmap(cx, cy, [&](int x, int) {
        DWORD a = x == 0 ? 0 : x == 1 ? 255 : random() & 0xFF;
        DWORD r = (random() & 0xFF) * a / 255, g = (random() & 0xFF) * a / 255,
              b = (random() & 0xFF) * a / 255;
        return (a << 24) | (r << 16) | (g << 8) | b;
    });
    std::vector<DWORD> background(cx * cy);
    for (DWORD& pixel : background)
        pixel = random() & 0xFFFFFF;
    DibCanvas system(cx + 4, cy + 4), own(cx + 4, cy + 4);
    for (DibCanvas* pCanvas : {&system, &own})
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                pCanvas->Pixels()[(y + 2) * (cx + 4) + x + 2] = background[y * cx + x];
    CDC dcSource;
    dcSource.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(dcSource.GetSafeHdc(), hSource);
    CRect rcDest(2, 2, 2 + cx, 2 + cy), rcSrc(0, 0, cx, cy);
    ASSERT_TRUE(CQVTImageManager::AlphaBlend(system.dc.GetSafeHdc(), rcDest, dcSource.GetSafeHdc(), rcSrc));
    ASSERT_TRUE(
        CQVTImageManager::AlphaBlendManual(own.dc.GetSafeHdc(), rcDest, dcSource.GetSafeHdc(), rcSrc));
    int nDifferent = 0;
    for (int y = 0; y < cy + 4; ++y)
        for (int x = 0; x < cx + 4; ++x)
            nDifferent += system.At(x, y) != own.At(x, y);
    EXPECT_EQ(nDifferent, 0);
    EXPECT_EQ(own.At(2 + 0, 5), system.At(2, 5));
    SelectObject(dcSource.GetSafeHdc(), hOld);
    DeleteObject(hSource);
}

TEST(ImageDrawing, OwnTransparentCopyEqualsTheSystemOne)
{
    const COLORREF kKey = RGB(255, 0, 255);
    HBITMAP hSource = MakeOpaqueBitmap(
        12, 9, [&](int x, int y) { return (x + y) % 3 == 0 ? kKey : RGB(x * 20, y * 25, 90); });
    CDC dcSource;
    dcSource.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(dcSource.GetSafeHdc(), hSource);
    for (CSize szDest : {CSize(12, 9), CSize(24, 18)})
    {
        DibCanvas system(30, 30, RGB(7, 8, 9)), own(30, 30, RGB(7, 8, 9));
        CRect rcDest(CPoint(3, 3), szDest);
        ASSERT_TRUE(CQVTImageManager::TransparentBlt(system.dc.GetSafeHdc(), rcDest, dcSource.GetSafeHdc(),
                                                     CRect(0, 0, 12, 9), kKey));
        ASSERT_TRUE(CQVTImageManager::TransparentBltManual(own.dc.GetSafeHdc(), rcDest, dcSource.GetSafeHdc(),
                                                           CRect(0, 0, 12, 9), kKey));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(system.At(x, y), own.At(x, y)) << x << "," << y << " size " << szDest.cx;
        EXPECT_EQ(own.At(3, 3), RGB(7, 8, 9)) << "key pixels show the background";
        EXPECT_EQ(own.At(3 + szDest.cx / 12, 3), RGB(20, 0, 90));
    }
    SelectObject(dcSource.GetSafeHdc(), hOld);
    DeleteObject(hSource);
}

TEST(ImageDrawing, StripsGrowReuseFreedSlicesAndLetGoWhenEmpty)
{
    CQVTImageManager manager;
    CQVTImageManagerResource* pStrip = manager.GetResource(CSize(16, 16));
    ASSERT_NE(pStrip, nullptr);
    EXPECT_EQ(manager.GetResource(CSize(16, 16)), pStrip);

    std::vector<std::unique_ptr<CQVTImageManagerRasterImageHandle>> slots;
    for (COLORREF colour : {kRed, kGreen, kBlue})
    {
        CQVTImageManagerRasterImageHandle source;
        source.AttachIcon(MakeSolidIcon(16, 16, colour));
        slots.push_back(std::make_unique<CQVTImageManagerRasterImageHandle>());
        slots.back()->SetImageManager(&manager);
        slots.back()->CopyFrom(source);
        ASSERT_NE(slots.back()->GetResourceInfo(), nullptr);
    }
    EXPECT_EQ(pStrip->GetUsedWidth(), 48);
    EXPECT_EQ(slots[1]->GetResourceInfo()->rc, CRect(16, 0, 32, 16));

    slots[1]->Reset();
    EXPECT_EQ(pStrip->GetFreeCount(), 1);
    CQVTImageManagerRasterImageHandle alpha;
    alpha.AttachBitmap(MakeAlphaBitmap(16, 16, [](int, int) { return 0xFF00FFFFu; }));
    slots[1]->CopyFrom(alpha);
    ASSERT_NE(slots[1]->GetResourceInfo(), nullptr);
    EXPECT_EQ(slots[1]->GetResourceInfo()->rc.left, 16) << "the freed slice is used again";
    EXPECT_TRUE(slots[1]->GetResourceInfo()->bAlpha);
    EXPECT_EQ(pStrip->GetUsedWidth(), 48);

    // Each slice still draws its own image.
    const COLORREF expected[] = {kRed, RGB(0, 255, 255), kBlue};
    for (int i = 0; i < 3; ++i)
    {
        DibCanvas canvas(16, 16, kBlack);
        slots[i]->Draw(&canvas.dc, CPoint(0, 0), CSize(16, 16));
        EXPECT_EQ(canvas.At(8, 8), expected[i]) << i;
        CQVTImageManagerRasterImageHandle plain;
        plain.CopyFrom(*slots[i]);
        EXPECT_EQ(plain.GetResourceInfo(), nullptr) << "a handle without a manager holds its own copy";
        EXPECT_EQ(plain.IsAlpha(), i == 1);
    }

    // Another size is refused by this strip.
    CQVTImageManagerRasterImageHandle big;
    big.AttachIcon(MakeSolidIcon(24, 24, kRed));
    EXPECT_EQ(pStrip->Add(big), nullptr);

    for (auto& slot : slots)
        slot->Reset();
    EXPECT_EQ(pStrip->GetUsedWidth(), 0);
    EXPECT_EQ(pStrip->GetBitmap(), nullptr);
    EXPECT_EQ(pStrip->GetMask(), nullptr);
}

TEST(ImageDrawing, MirroringFollowsTheMirrorMode)
{
    // Left half red, right half blue.
    auto halves = [](int x, int) { return x < 8 ? kRed : kBlue; };
    CQVTImageManager manager;
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeMaskedIcon(16, 16, halves));
    CQVTImageManagerIcon* pIcon = SetHandle(manager, 1, handle);
    ASSERT_NE(pIcon->GetNormalImage().GetResourceInfo(), nullptr);
    CQVTImageManagerRasterImageHandle plain;
    plain.CopyFrom(pIcon->GetNormalImage());
    plain.SetImageManager(&manager);
    ASSERT_NE(plain.GetIcon(), nullptr);

    struct MirrorCase
    {
        int nMode;
        BOOL bRtl;
        COLORREF left;  // memory column 0 of the 16 drawn
    } cases[] = {
        {CQVTImageManager::mirrorNever, FALSE, kRed},
        {CQVTImageManager::mirrorAlways, FALSE, kBlue},
        {CQVTImageManager::mirrorRightToLeft, FALSE, kRed},
        // A right-to-left DC mirrors by itself; the mode undoes it.
        {CQVTImageManager::mirrorRightToLeft, TRUE, kRed},
        {CQVTImageManager::mirrorNever, TRUE, kBlue},
    };
    for (const MirrorCase& c : cases)
    {
        manager.SetMirrorMode(c.nMode);
        for (CQVTImageManagerRasterImageHandle* pHandle : {&pIcon->GetNormalImage(), &plain})
        {
            DibCanvas canvas(16, 16, kWhite);
            if (c.bRtl)
                CQVTDrawHelpers::SetDCLayout(&canvas.dc, LAYOUT_RTL);
            pHandle->Draw(&canvas.dc, CPoint(0, 0), CSize(16, 16));
            EXPECT_EQ(canvas.At(0, 8), c.left) << "mode " << c.nMode << " rtl " << c.bRtl;
            EXPECT_EQ(canvas.At(15, 8), c.left == kRed ? kBlue : kRed) << "mode " << c.nMode;
            EXPECT_EQ(canvas.CountOf(kWhite), 0) << "the whole image lands in place";
        }
    }

    // Mirrored bitmaps reverse every row.
    HBITMAP hBitmap = MakeAlphaBitmap(3, 2, [](int x, int y) { return static_cast<DWORD>(y * 3 + x); });
    HBITMAP hMirrored = CQVTImageManager::CreateMirroredBitmap(hBitmap);
    DibCanvas canvas(3, 2);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(dc.GetSafeHdc(), hMirrored);
    BitBlt(canvas.dc.GetSafeHdc(), 0, 0, 3, 2, dc.GetSafeHdc(), 0, 0, SRCCOPY);
    SelectObject(dc.GetSafeHdc(), hOld);
    EXPECT_EQ(RawPixel(canvas, 0, 0) & 0xFFFFFF, 2u);
    EXPECT_EQ(RawPixel(canvas, 2, 1) & 0xFFFFFF, 3u);
    DeleteObject(hBitmap);
    DeleteObject(hMirrored);
}

TEST(ImageDrawing, ResizeIconsAndAlphaDrawingOfIcons)
{
    HICON hIcon = MakeMaskedIcon(
        16, 8, [](int, int) { return kGreen; }, [](int x, int y) { return x == 0 && y == 0; });
    EXPECT_EQ(CQVTImageManager::GetIconExtent(hIcon), CSize(16, 8));
    EXPECT_EQ(CQVTImageManager::ResizeIcon(hIcon, CSize(16, 8), 0), nullptr);
    EXPECT_EQ(CQVTImageManager::ResizeIcon(hIcon, CSize(0, 0), 32), nullptr);
    CQVTIconHandle same, larger;
    same = CQVTImageManager::ResizeIcon(hIcon, CSize(16, 8), 16);
    ASSERT_NE(static_cast<HICON>(same), nullptr);
    EXPECT_NE(static_cast<HICON>(same), hIcon);
    larger = CQVTImageManager::ResizeIcon(hIcon, CSize(16, 8), 32);
    ASSERT_NE(static_cast<HICON>(larger), nullptr);
    EXPECT_EQ(CQVTImageManager::GetIconExtent(larger), CSize(32, 16));
    DibCanvas canvas(32, 16, kWhite);
    DrawIconEx(canvas.dc.GetSafeHdc(), 0, 0, larger, 32, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(20, 10), kGreen);

    // Drawn through the alpha paths (the strip's mask, or the magenta key of
    // an icon of its own), the masked corner stays transparent.
    CQVTImageManager manager;
    for (BOOL bPooled : {TRUE, FALSE})
    {
        manager.SetUseResources(bPooled);
        CQVTImageManagerRasterImageHandle handle;
        handle.AttachIcon(CopyIcon(hIcon));
        ASSERT_TRUE(manager.SetIcon(handle, bPooled, CSize(16, 8)));
        CQVTImageManagerIcon* pIcon = manager.GetImage(bPooled, 16);
        pIcon->SetDrawIconsWithAlpha(TRUE);
        DibCanvas alphaCanvas(16, 8, kBlue);
        pIcon->Draw(&alphaCanvas.dc, CPoint(0, 0));
        EXPECT_EQ(alphaCanvas.At(0, 0), kBlue) << "pooled " << bPooled;
        EXPECT_EQ(alphaCanvas.At(8, 4), kGreen) << "pooled " << bPooled;
        EXPECT_EQ(alphaCanvas.CountOf(kGreen), 16 * 8 - 1);
    }
    DestroyIcon(hIcon);

    // An alpha image above the top edge draws only its rows below it.
    CQVTImageManagerRasterImageHandle tall;
    tall.AttachBitmap(MakeAlphaBitmap(4, 8, [](int, int y) { return y < 4 ? 0xFFFF0000u : 0xFF0000FFu; }));
    DibCanvas clipped(4, 8, kWhite);
    tall.Draw(&clipped.dc, CPoint(0, -4), CSize(4, 8));
    EXPECT_EQ(clipped.At(1, 0), kBlue);
    EXPECT_EQ(clipped.At(1, 3), kBlue);
    EXPECT_EQ(clipped.At(1, 4), kWhite);
}

// Also run on a 144 DPI screen (see CMakeLists.txt).
TEST(ImageDrawing, DpiScaledIconsFollowTheScreen)
{
    HDC hScreen = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hScreen, LOGPIXELSX);
    ReleaseDC(nullptr, hScreen);
    char szExpected[16] = {};
    if (GetEnvironmentVariableA("SONDREL_EXPECTED_DPI", szExpected, sizeof szExpected))
    {
        ASSERT_EQ(nDpi, atoi(szExpected)) << "the prefix's screen";
    }
    const int nScaled = MulDiv(16, nDpi, 96);
    CQVTImageManagerRasterImageHandle fromIcon, fromBitmap;
    fromIcon.AttachIcon(MakeSolidIcon(16, 16, kGreen));
    fromBitmap.AttachBitmap(MakeAlphaBitmap(16, 16, [](int, int) { return 0xFF00FF00u; }));
    for (CQVTImageManagerRasterImageHandle* pHandle : {&fromIcon, &fromBitmap})
    {
        CQVTIconHandle scaled;
        scaled = pHandle->GetDpiScaledIcon();
        ASSERT_NE(static_cast<HICON>(scaled), nullptr);
        EXPECT_EQ(CQVTImageManager::GetIconExtent(scaled), CSize(nScaled, nScaled)) << "screen at " << nDpi;
        DibCanvas canvas(nScaled, nScaled, kWhite);
        DrawIconEx(canvas.dc.GetSafeHdc(), 0, 0, scaled, nScaled, nScaled, 0, nullptr, DI_NORMAL);
        EXPECT_EQ(canvas.At(nScaled / 2, nScaled / 2), kGreen);
        // Made for the screen's DPI already: kept as it is.
        CQVTIconHandle same;
        same = pHandle->GetDpiScaledIcon(nDpi);
        EXPECT_EQ(CQVTImageManager::GetIconExtent(same), CSize(16, 16));
    }
}

TEST(ImageDrawing, IconHandleDestroysTheIconItLetsGo)
{
    HICON hFirst = MakeSolidIcon(8, 8, kRed);
    HICON hSecond = MakeSolidIcon(8, 8, kGreen);
    ICONINFO info = {};
    {
        CQVTIconHandle handle;
        handle = hFirst;
        handle = hFirst;
        ASSERT_TRUE(GetIconInfo(hFirst, &info)) << "the same icon again is kept";
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        handle = hSecond;
        EXPECT_FALSE(GetIconInfo(hFirst, &info));
        EXPECT_TRUE(GetIconInfo(hSecond, &info));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_FALSE(GetIconInfo(hSecond, &info));
}

TEST(ImageDrawing, MonochromeSilhouette)
{
    CQVTImageManager manager;
    CQVTImageManagerIcon* pIcon = MaskedColumnsIcon(manager, 1);
    DibCanvas canvas(16, 16, kWhite);
    CQVTImageManagerRasterImageHandle& image = pIcon->GetNormalImage();
    pIcon->DrawMonochrome(&canvas.dc, CPoint(0, 0), image, CSize(16, 16), kRed);
    EXPECT_EQ(canvas.At(5, 5), kRed) << "black pixels";
    EXPECT_EQ(canvas.At(13, 5), kWhite) << "transparent pixels";
}
