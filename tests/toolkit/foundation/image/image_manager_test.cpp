// The image manager's lookup and state rules and every loader: strips with
// separators, alpha strips, PNG and 32-bit bitmap resources, icon resources
// in each search mode, ".ico" files (also lying ones), image lists and
// pictures the system reads.
#include <afxwin.h>

#include <vector>

#include "image_test_support.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTImageManager.h"

namespace {

BOOL SetSolidIcon(CQVTImageManager& manager, UINT nCommand, int nSide, COLORREF colour, int nState = 0)
{
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeSolidIcon(nSide, nSide, colour));
    return manager.SetIcon(handle, nCommand, CSize(nSide, nSide), nState);
}

std::vector<UINT> Widths(CQVTImageManager& manager, UINT nCommand)
{
    return IconWidths(manager.GetIconSet(nCommand));
}

// The first of the two widths that the set's map walk meets.
UINT FirstMet(CQVTImageManager& manager, UINT nCommand, UINT nA, UINT nB)
{
    POSITION pos = manager.GetIconSet(nCommand)->GetIcons()->GetStartPosition();
    while (pos)
    {
        UINT nWidth = 0;
        CQVTImageManagerIcon* pIcon = nullptr;
        manager.GetIconSet(nCommand)->GetIcons()->GetNextAssoc(pos, nWidth, pIcon);
        if (nWidth == nA || nWidth == nB)
            return nWidth;
    }
    return 0;
}

// An icon-file header with entries, followed by the given image blocks.
std::string IcoFile(const std::vector<std::pair<int, std::string>>& images, int nCountOverride = -1,
                    DWORD dwOffsetShift = 0)
{
    std::string out;
    auto put16 = [&out](WORD w) { out.append(reinterpret_cast<const char*>(&w), 2); };
    auto put32 = [&out](DWORD d) { out.append(reinterpret_cast<const char*>(&d), 4); };
    put16(0);
    put16(1);
    put16(static_cast<WORD>(nCountOverride >= 0 ? nCountOverride : images.size()));
    DWORD dwOffset = static_cast<DWORD>(6 + 16 * images.size());
    for (const auto& image : images)
    {
        out += static_cast<char>(image.first);
        out += static_cast<char>(image.first);
        out += '\0';
        out += '\0';
        put16(1);
        put16(32);
        put32(static_cast<DWORD>(image.second.size()));
        put32(dwOffset + dwOffsetShift);
        dwOffset += static_cast<DWORD>(image.second.size());
    }
    for (const auto& image : images)
        out += image.second;
    return out;
}

// A 32-bit icon image: header (double height), colour rows, mask rows.
std::string IconImage32(int nSide, DWORD dwPixel, LONG nHeaderWidth = 0, int nTrimBytes = 0)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = nHeaderWidth ? nHeaderWidth : nSide;
    header.biHeight = nSide * 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::string out(reinterpret_cast<const char*>(&header), sizeof header);
    for (int i = 0; i < nSide * nSide; ++i)
        out.append(reinterpret_cast<const char*>(&dwPixel), 4);
    out.append(static_cast<size_t>(((nSide + 31) / 32) * 4 * nSide), '\0');
    out.resize(out.size() - nTrimBytes);
    return out;
}
}  // namespace

TEST(ImageManagerLookup, NearestWidthWithTiesToTheFirstMet)
{
    CQVTImageManager manager;
    ASSERT_TRUE(SetSolidIcon(manager, 5, 16, kRed));
    ASSERT_TRUE(SetSolidIcon(manager, 5, 24, kGreen));
    ASSERT_TRUE(SetSolidIcon(manager, 5, 32, kBlue));

    EXPECT_EQ(manager.GetImage(5, 24)->GetWidth(), 24);
    EXPECT_EQ(manager.GetImage(5, 20)->GetWidth(), static_cast<int>(FirstMet(manager, 5, 16, 24)));
    EXPECT_EQ(manager.GetImage(5, 28)->GetWidth(), static_cast<int>(FirstMet(manager, 5, 24, 32)));
    EXPECT_EQ(manager.GetImage(5, 0)->GetWidth(), 16);
    EXPECT_EQ(manager.GetImage(5, -3)->GetWidth(), 16);
    EXPECT_EQ(manager.GetImage(5, 1)->GetWidth(), 32);
    EXPECT_EQ(manager.GetImage(5, 100)->GetWidth(), 32);
    EXPECT_EQ(manager.GetImage(6, 16), nullptr);

    EXPECT_TRUE(manager.HasImage(5, 24));
    EXPECT_FALSE(manager.HasImage(5, 20));
    EXPECT_TRUE(manager.HasImage(5, 0));
    EXPECT_TRUE(manager.HasImage(5, 1));
    EXPECT_FALSE(manager.HasImage(6, 0));
}

TEST(ImageManagerLookup, OtherStatesNeedTheNormalImageFirst)
{
    CQVTImageManager manager;
    EXPECT_FALSE(SetSolidIcon(manager, 9, 16, kGreen, qvtImageHot));
    EXPECT_EQ(manager.GetIconSet(9), nullptr);

    CQVTImageManagerRasterImageHandle empty;
    EXPECT_FALSE(manager.SetIcon(empty, 9, CSize(16, 16), 0));

    ASSERT_TRUE(SetSolidIcon(manager, 9, 16, kRed));
    ASSERT_TRUE(SetSolidIcon(manager, 9, 16, kGreen, qvtImageHot));
    CQVTImageManagerIcon* pIcon = manager.GetImage(9, 16);
    EXPECT_EQ(DrawnPixel(pIcon, qvtImageHot, 8, 8), kGreen);
    EXPECT_EQ(DrawnPixel(pIcon, qvtImagePressed, 8, 8), kGreen) << "pressed falls back to hot";

    // A new normal image clears the hot one.
    ASSERT_TRUE(SetSolidIcon(manager, 9, 16, kBlue));
    EXPECT_TRUE(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotHot).IsEmpty());
    EXPECT_EQ(DrawnPixel(pIcon, qvtImageHot, 8, 8), kBlue);
    EXPECT_EQ(pIcon->GetExtent(), CSize(16, 16));
}

TEST(ImageManagerStrips, SeparatorsTakeNoImageOnlyWhenTheCountsDiffer)
{
    const UINT ids[] = {1, 0, 2, 3, 0, 4, 5};
    // strip5.bmp: image k has its strip colours left and right, and a
    // magenta (transparent) top-left pixel.
    const COLORREF lefts[] = {kRed, kGreen, kBlue, RGB(128, 128, 128), RGB(0, 255, 255)};
    {
        CQVTImageManager manager;
        ASSERT_TRUE(manager.SetIcons(IDB_STRIP5, ids, 7, CSize(16, 16)));
        EXPECT_EQ(manager.GetIconSet(0), nullptr);
        for (UINT id = 1; id <= 5; ++id)
        {
            CQVTImageManagerIcon* pIcon = manager.GetImage(id, 16);
            ASSERT_NE(pIcon, nullptr) << id;
            EXPECT_EQ(DrawnPixel(pIcon, 0, 3, 8), lefts[id - 1]) << id;
            EXPECT_EQ(DrawnPixel(pIcon, 0, 0, 0), kWhite) << "the mask colour is transparent";
        }
    }
    {
        CQVTImageManager manager;
        ASSERT_TRUE(manager.SetIcons(IDB_STRIP7, ids, 7, CSize(16, 16)));
        ASSERT_NE(manager.GetImage(0, 16), nullptr) << "seven images for seven ids: 0 is an id";
        EXPECT_EQ(DrawnPixel(manager.GetImage(0, 16), 0, 3, 8), lefts[4])
            << "its second image replaced the first";
        EXPECT_EQ(DrawnPixel(manager.GetImage(2, 16), 0, 3, 8), lefts[2]);
    }
    {
        // Without a size the count cuts the strip; without ids images are
        // numbered from 0.
        CQVTImageManager manager;
        ASSERT_TRUE(manager.SetIcons(IDB_STRIP5, nullptr, 5, CSize(0, 0)));
        EXPECT_EQ(manager.GetImage(4, 0)->GetExtent(), CSize(16, 16));
        EXPECT_EQ(DrawnPixel(manager.GetImage(4, 0), 0, 3, 8), lefts[4]);
    }
}

TEST(ImageManagerStrips, AlphaStripsFromBitmapAndPngResources)
{
    for (UINT nResource : {IDB_ALPHASTRIP4, IDB_ALPHASTRIP4_PNG})
    {
        BOOL bAlpha = FALSE;
        HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromResource(MAKEINTRESOURCEW(nResource), &bAlpha);
        ASSERT_NE(hBitmap, nullptr) << nResource;
        EXPECT_TRUE(bAlpha) << nResource;
        DeleteObject(hBitmap);

        CQVTImageManager manager;
        const UINT ids[] = {10, 11, 12, 13};
        ASSERT_TRUE(manager.SetIcons(nResource, ids, 4, CSize(16, 16)));
        CQVTImageManagerIcon* pIcon = manager.GetImage(12, 16);
        ASSERT_NE(pIcon, nullptr);
        EXPECT_TRUE(pIcon->IsAlpha());
        // Column 0 is transparent, column 1 half blue over white, the rest blue.
        EXPECT_EQ(DrawnPixel(pIcon, 0, 0, 5), kWhite);
        COLORREF half = DrawnPixel(pIcon, 0, 1, 5);
        EXPECT_NEAR(GetRValue(half), 127, 1);
        EXPECT_NEAR(GetBValue(half), 255, 1);
        EXPECT_EQ(DrawnPixel(pIcon, 0, 5, 5), kBlue);
    }

    // An alpha strip must cut into whole images.
    CQVTImageManager manager;
    HBITMAP hOdd = MakeAlphaBitmap(50, 16, [](int, int) { return 0xFF0000FFu; });
    EXPECT_FALSE(manager.SetIconsFromBitmap(hOdd, nullptr, 0, CSize(16, 16), 0, TRUE));
    EXPECT_TRUE(manager.SetIconsFromBitmap(hOdd, nullptr, 0, CSize(25, 16), 0, TRUE));
    EXPECT_NE(manager.GetImage(1, 25), nullptr);
    DeleteObject(hOdd);
}

TEST(ImageManagerLoaders, BitmapKindsAndTheirAlphaAnswers)
{
    BOOL bAlpha = TRUE;
    HBITMAP hPlain = CQVTImageManager::LoadBitmapFromResource(MAKEINTRESOURCEW(IDB_STRIP5), &bAlpha);
    ASSERT_NE(hPlain, nullptr);
    EXPECT_FALSE(bAlpha);
    DeleteObject(hPlain);
    EXPECT_TRUE(CQVTImageManager::IsPngResource(GetModuleHandleW(nullptr), u"LOGO"));
    EXPECT_FALSE(CQVTImageManager::IsPngResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_STRIP5)));
    EXPECT_TRUE(CQVTImageManager::IsAlphaBitmapResource(GetModuleHandleW(nullptr),
                                                        MAKEINTRESOURCEW(IDB_ALPHASTRIP4)));
    EXPECT_FALSE(
        CQVTImageManager::IsAlphaBitmapResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_STRIP5)));

    struct FileCase
    {
        const char16_t* name;
        BOOL bAlpha;
        CSize size;
    } files[] = {
        {u"ninegrid.png", TRUE, CSize(30, 30)},
        {u"plain.bmp", FALSE, CSize(30, 30)},
        {u"alphastrip4.bmp", TRUE, CSize(64, 16)},
    };
    for (const FileCase& file : files)
    {
        std::u16string path = ImageDataPath(file.name);
        bAlpha = !file.bAlpha;
        HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromFile(path.c_str(), &bAlpha);
        ASSERT_NE(hBitmap, nullptr) << (const char*)CStringA(file.name);
        EXPECT_EQ(bAlpha, file.bAlpha);
        BITMAP bm = {};
        GetObjectW(hBitmap, sizeof bm, &bm);
        EXPECT_EQ(CSize(bm.bmWidth, abs(bm.bmHeight)), file.size);
        EXPECT_EQ(CQVTImageManager::IsAlphaBitmapFile(path.c_str()),
                  path.find(u".bmp") != std::u16string::npos && file.bAlpha);
        DeleteObject(hBitmap);
    }

    // An icon file is no bitmap: the system's picture reader draws it onto the
    // 3D face colour.
    std::u16string ico = ImageDataPath(u"icons_16_32.ico");
    bAlpha = TRUE;
    HBITMAP hPicture = CQVTImageManager::LoadBitmapFromFile(ico.c_str(), &bAlpha);
    ASSERT_NE(hPicture, nullptr);
    EXPECT_FALSE(bAlpha);
    BITMAP bm = {};
    GetObjectW(hPicture, sizeof bm, &bm);
    EXPECT_GT(bm.bmWidth, 0);
    DibCanvas canvas(bm.bmWidth, bm.bmHeight, RGB(1, 2, 3));
    CDC dcPicture;
    dcPicture.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(dcPicture.GetSafeHdc(), hPicture);
    BitBlt(canvas.dc.GetSafeHdc(), 0, 0, bm.bmWidth, bm.bmHeight, dcPicture.GetSafeHdc(), 0, 0, SRCCOPY);
    SelectObject(dcPicture.GetSafeHdc(), hOld);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DFACE)) << "the transparent corner shows the face colour";
    EXPECT_EQ(canvas.At(bm.bmWidth / 2, bm.bmHeight / 2), kBlue) << "the largest image is drawn";
    DeleteObject(hPicture);

    EXPECT_EQ(CQVTImageManager::LoadBitmapFromFile(ImageDataPath(u"missing.png").c_str(), &bAlpha), nullptr);
}

TEST(ImageManagerLoaders, IconResourcesInEachSearchMode)
{
    struct ModeCase
    {
        int nMode;
        int nAsked;
        int nExpected;  // 0: fails
    } cases[] = {
        {0, 24, 24}, {0, 20, 0},  {1, 20, 24}, {1, 17, 24}, {1, 33, 0},
        {2, 20, 16}, {2, 40, 32}, {2, 8, 0},   {1, 1, 16},
    };
    for (const ModeCase& c : cases)
    {
        CQVTImageManagerRasterImageHandle handle;
        BOOL bLoaded = handle.LoadIconResource(u"APPICON", CSize(c.nAsked, c.nAsked), TRUE, c.nMode);
        EXPECT_EQ(bLoaded, c.nExpected != 0) << "mode " << c.nMode << " size " << c.nAsked;
        if (bLoaded)
        {
            EXPECT_EQ(handle.GetExtent(), CSize(c.nExpected, c.nExpected)) << "mode " << c.nMode;
        }
    }

    CQVTImageManager manager;
    ASSERT_TRUE(manager.SetIconFromResource(u"APPICON", 40));
    EXPECT_EQ(Widths(manager, 40), (std::vector<UINT>{16, 24, 32}));
    EXPECT_TRUE(manager.GetImage(40, 32)->IsAlpha()) << "the 32-bit image keeps its alpha";
    EXPECT_FALSE(manager.GetImage(40, 16)->IsAlpha());
    EXPECT_EQ(DrawnPixel(manager.GetImage(40, 16), 0, 8, 8), kRed);
    EXPECT_EQ(DrawnPixel(manager.GetImage(40, 16), 0, 0, 0), kWhite) << "masked corner";
    EXPECT_EQ(DrawnPixel(manager.GetImage(40, 32), 0, 8, 8), kBlue);
    EXPECT_EQ(DrawnPixel(manager.GetImage(40, 32), 0, 0, 0), kWhite) << "alpha-0 corner";

    ASSERT_TRUE(manager.SetIconFromResource(u"APPICON", 41, CSize(24, 24)));
    EXPECT_EQ(Widths(manager, 41), (std::vector<UINT>{24}));
    EXPECT_FALSE(manager.SetIconFromResource(u"NOSUCHICON", 42));

    // A directory claiming forty entries holds one: only that one is read.
    ASSERT_TRUE(manager.SetIconFromResource(u"LYINGGROUP", 43));
    EXPECT_EQ(Widths(manager, 43), (std::vector<UINT>{16}));
    CQVTImageManagerRasterImageHandle handle;
    EXPECT_TRUE(handle.LoadIconResource(u"LYINGGROUP", CSize(20, 20), TRUE, 2));
    EXPECT_EQ(handle.GetExtent(), CSize(16, 16));
    EXPECT_FALSE(handle.LoadIconResource(u"LYINGGROUP", CSize(24, 24), TRUE, 0));
}

TEST(ImageManagerLoaders, IcoFilesGiveOneIconPerMatchingEntry)
{
    std::u16string path = ImageDataPath(u"icons_16_32.ico");
    CQVTImageManager manager;
    ASSERT_TRUE(manager.SetIconFromIcoFile(path.c_str(), 50));
    EXPECT_EQ(Widths(manager, 50), (std::vector<UINT>{16, 32}));
    EXPECT_FALSE(manager.SetIconFromIcoFile(path.c_str(), 51, CSize(24, 24)));
    EXPECT_EQ(manager.GetIconSet(51), nullptr);
    ASSERT_TRUE(manager.SetIconFromIcoFile(ImageDataPath(u"icons.ico").c_str(), 52, CSize(24, 24)));
    EXPECT_EQ(Widths(manager, 52), (std::vector<UINT>{24}));
    EXPECT_EQ(DrawnPixel(manager.GetImage(52, 24), 0, 12, 12), kGreen);
    EXPECT_FALSE(manager.SetIconFromIcoFile(ImageDataPath(u"missing.ico").c_str(), 53));
}

TEST(ImageManagerLoaders, IcoFilesWhoseEntriesLieAreRefused)
{
    const std::string good = IconImage32(16, 0xFF00FF00);
    struct BadFile
    {
        const char* what;
        std::string bytes;
    } files[] = {
        {"header only", IcoFile({}).substr(0, 4)},
        {"no entries", IcoFile({})},
        {"cursor type",
         [&] {
             std::string s = IcoFile({{16, good}});
             s[2] = 2;
             return s;
         }()},
        {"count past the file", IcoFile({{16, good}}, 200)},
        {"image past the end", IcoFile({{16, good}}, -1, 100)},
        {"32-bit pixels cut short", IcoFile({{16, IconImage32(16, 0xFF00FF00, 0, 700)}})},
        {"header wider than its pixels", IcoFile({{16, IconImage32(16, 0xFF00FF00, 200)}})},
        {"header shorter than a header", IcoFile({{16, good.substr(0, 20)}})},
    };
    CQVTImageManager manager;
    std::u16string path = ImageTempPath(u"sondrel-lying.ico");
    UINT nCommand = 60;
    for (const BadFile& file : files)
    {
        WriteBytesToFile(path, file.bytes);
        EXPECT_FALSE(manager.SetIconFromIcoFile(path.c_str(), nCommand)) << file.what;
        EXPECT_EQ(manager.GetIconSet(nCommand), nullptr) << file.what;
        ++nCommand;
    }

    // A good entry beside a lying one still loads.
    WriteBytesToFile(path, IcoFile({{16, good}, {32, IconImage32(32, 0xFFFF0000, 0, 900)}}));
    ASSERT_TRUE(manager.SetIconFromIcoFile(path.c_str(), 70));
    EXPECT_EQ(Widths(manager, 70), (std::vector<UINT>{16}));
    EXPECT_EQ(DrawnPixel(manager.GetImage(70, 16), 0, 5, 5), kGreen);
    DeleteFileW(path.c_str());
}

TEST(ImageManagerLoaders, ImageListsServeTheirCommandRange)
{
    CQVTImageManager manager;
    HIMAGELIST hList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    for (COLORREF colour : {kRed, kGreen, kBlue})
    {
        HICON hIcon = MakeSolidIcon(16, 16, colour);
        ImageList_ReplaceIcon(hList, -1, hIcon);
        DestroyIcon(hIcon);
    }
    ASSERT_TRUE(manager.SetImageList(hList, 100, TRUE));
    CQVTImageManagerIcon* pIcon = manager.GetImage(101, 48);
    ASSERT_NE(pIcon, nullptr);
    EXPECT_EQ(pIcon->GetExtent(), CSize(16, 16)) << "a list's icons keep the list's size";
    EXPECT_EQ(DrawnPixel(pIcon, 0, 8, 8), kGreen);
    EXPECT_EQ(manager.GetImage(101, 16), pIcon) << "made once";
    EXPECT_EQ(manager.GetImage(103, 16), nullptr);
    EXPECT_EQ(manager.GetImage(99, 16), nullptr);
    EXPECT_TRUE(manager.HasImage(102, 0));
    EXPECT_TRUE(manager.HasImage(102, 16));
    EXPECT_FALSE(manager.HasImage(102, 24));
    // The disabled look is made from the list's image.
    COLORREF disabled = DrawnPixel(pIcon, qvtImageDisabled, 8, 8);
    EXPECT_EQ(GetRValue(disabled), GetGValue(disabled));
    EXPECT_NE(disabled, kGreen);

    // Loading a list's images under ids of their own.
    const UINT ids[] = {7, 0, 8};
    ASSERT_TRUE(manager.SetIconsFromImageList(hList, ids, 3, CSize(0, 0)));
    EXPECT_EQ(DrawnPixel(manager.GetImage(8, 16), 0, 8, 8), kBlue)
        << "three images for three ids: 0 takes one";
    EXPECT_EQ(DrawnPixel(manager.GetImage(0, 16), 0, 8, 8), kGreen);
}

TEST(ImageManagerVector, VectorIconsKeepTheirKindAndBytes)
{
    CQVTImageManager manager;
    HMODULE hModule = GetModuleHandleW(nullptr);
    EXPECT_FALSE(manager.SetVectorIconFromResource(hModule, u"VECTOR", u"RT_XAML", 80, 24, qvtImageHot));
    EXPECT_EQ(manager.GetIconSet(80), nullptr);
    EXPECT_FALSE(manager.SetVectorIconFromResource(hModule, u"NOSUCH", u"RT_XAML", 80, 24));
    EXPECT_EQ(manager.GetIconSet(80), nullptr);

    ASSERT_TRUE(manager.SetVectorIconFromResource(hModule, u"VECTOR", u"RT_XAML", 80, 24));
    CQVTImageManagerIcon* pIcon = manager.GetImage(80, 24);
    ASSERT_NE(pIcon, nullptr);
    EXPECT_TRUE(pIcon->IsVectorIcon());
    EXPECT_EQ(pIcon->GetWidth(), 0);
    EXPECT_TRUE(pIcon->HasNormalImage());
    EXPECT_TRUE(manager.HasImage(80, 100)) << "a vector icon serves every width";

    DWORD nSize = 0;
    const BYTE* pData = pIcon->GetVectorImage(qvtImageNormal).GetData(nSize);
    std::string expected = ReadBytesFromFile(ImageDataPath(u"vector.xaml"));
    ASSERT_NE(pData, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pData), nSize), expected);
    EXPECT_EQ(pIcon->GetVectorImage(qvtImageDisabled).GetStream(), pIcon->GetVectorImage(0).GetStream())
        << "a missing state falls back to the normal image";

    // Raster setters leave it alone.
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeSolidIcon(24, 24, kRed));
    EXPECT_FALSE(pIcon->SetHotImage(handle));
    EXPECT_TRUE(manager.SetIcon(handle, 80, CSize(24, 24), qvtImageNormal))
        << "refused by the icon, not the call";
    EXPECT_TRUE(pIcon->IsVectorIcon());
    EXPECT_TRUE(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotNormal).IsEmpty());

    // A raster width beside it, and no vector image on a raster icon.
    ASSERT_TRUE(manager.SetIcon(handle, 80, CSize(16, 16), qvtImageNormal));
    EXPECT_TRUE(manager.GetImage(80, 16)->IsRasterIcon());
    EXPECT_FALSE(manager.SetVectorIconFromResource(hModule, u"VECTOR", u"RT_XAML", 80, 16));
}

TEST(ImageManagerVector, VectorIconsDrawEachStateAndRefuseDocumentsThatDoNotBuild)
{
    CQVTImageManager manager;
    HMODULE hModule = GetModuleHandleW(nullptr);
    EXPECT_FALSE(manager.SetVectorIconFromResource(hModule, u"VECTORBROKEN", u"RT_XAML", 81, 24));
    EXPECT_EQ(manager.GetIconSet(81), nullptr);
    ASSERT_TRUE(manager.SetVectorIconFromResource(hModule, u"VECTOR", u"RT_XAML", 81, 24));
    ASSERT_TRUE(manager.SetVectorIconFromResource(hModule, u"VECTORBLUE", u"RT_XAML", 81, 24, qvtImageHot));
    EXPECT_FALSE(
        manager.SetVectorIconFromResource(hModule, u"VECTORBROKEN", u"RT_XAML", 81, 24, qvtImageChecked));
    CQVTImageManagerIcon* pIcon = manager.GetImage(81, 24);
    ASSERT_NE(pIcon, nullptr);

    // The hot state has its own document; the others fall back to the normal one.
    const struct
    {
        int nState;
        COLORREF clr;
    } expected[] = {{qvtImageNormal, kRed},
                    {qvtImageHot, kBlue},
                    {qvtImageChecked, kRed},
                    {qvtImagePressed, kRed},
                    {qvtImageDisabled, kRed}};
    for (const auto& e : expected)
    {
        DibCanvas canvas(48, 48, kWhite);
        pIcon->DrawInStateSized(&canvas.dc, CPoint(4, 6), CSize(24, 24), e.nState);
        EXPECT_EQ(canvas.At(4, 6), e.clr) << e.nState;
        EXPECT_EQ(canvas.At(19, 21), e.clr) << e.nState;
        // The document's 16 pixels, placed at the point given.
        EXPECT_EQ(canvas.At(20, 6), kWhite) << e.nState;
        EXPECT_EQ(canvas.At(3, 6), kWhite) << e.nState;
        EXPECT_EQ(canvas.CountOf(e.clr), 16 * 16) << e.nState;
    }
}

TEST(ImageManagerLookup, RefreshDropsDerivedImagesAndFromDispatchChecksTheClass)
{
    CQVTImageManager manager;
    ASSERT_TRUE(SetSolidIcon(manager, 3, 16, kRed));
    CQVTImageManagerIcon* pIcon = manager.GetImage(3, 16);
    pIcon->GetDisabledImage();
    pIcon->GetShadowImage();
    EXPECT_FALSE(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotAutoDisabled).IsEmpty());
    EXPECT_FALSE(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotShadow).IsEmpty());
    manager.RefreshAll();
    EXPECT_TRUE(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotAutoDisabled).IsEmpty());
    EXPECT_TRUE(pIcon->GetRasterSlot(CQVTImageManagerIcon::slotShadow).IsEmpty());
    EXPECT_FALSE(pIcon->GetNormalImage().IsEmpty());

    EXPECT_EQ(CQVTImageManager::FromDispatch(nullptr), nullptr);
    manager.EnableAutomation();
    EXPECT_EQ(CQVTImageManager::FromDispatch(manager.GetIDispatch(FALSE)), &manager);
    CQVTCmdTarget other;
    other.EnableAutomation();
    try
    {
        CQVTImageManager::FromDispatch(other.GetIDispatch(FALSE));
        ADD_FAILURE() << "another object passed as an image manager";
    }
    catch (COleException* e)
    {
        EXPECT_EQ(e->m_sc, E_INVALIDARG);
        e->Delete();
    }
}
