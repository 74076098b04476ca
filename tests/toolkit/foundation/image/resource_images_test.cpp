// Resource images: the scheme INI's values, images cached per INI, the
// change event, nine-grid, keyed and mirrored drawing read back from DIBs,
// and INI text that is damaged or ends without a line end.
#include <afxwin.h>

#include <random>
#include <string>

#include "image_test_support.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/core/QVTNotifyConnection.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

namespace {

// The nine-grid image's parts, row by row (see tools/testimages).
const COLORREF kParts[9] = {RGB(255, 0, 0),   RGB(0, 255, 0),     RGB(0, 0, 255),
                            RGB(255, 255, 0), RGB(255, 255, 255), RGB(0, 255, 255),
                            RGB(128, 0, 0),   RGB(0, 128, 0),     RGB(0, 0, 128)};

HMODULE Self()
{
    return GetModuleHandleW(nullptr);
}

void Parse(CQVTResourceImages& images, const std::string& text)
{
    images.ParseIniText(reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()));
}

// Reads the part colour at the middle of each of a 3 by 3 layout's cells.
std::vector<COLORREF> PartsAt(const DibCanvas& canvas, const int xs[3], const int ys[3])
{
    std::vector<COLORREF> parts;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            parts.push_back(canvas.At(xs[column], ys[row]));
    return parts;
}

std::vector<COLORREF> Mirrored(const std::vector<COLORREF>& parts)
{
    std::vector<COLORREF> mirrored(parts);
    for (int row = 0; row < 3; ++row)
        std::swap(mirrored[row * 3], mirrored[row * 3 + 2]);
    return mirrored;
}
}  // namespace

TEST(ResourceImagesIni, ValuesByTypeWithTheirDefaults)
{
    CQVTResourceImages images;
    ASSERT_TRUE(images.SetModule(Self(), u"TestScheme.ini"));
    EXPECT_TRUE(images.IsValid());
    EXPECT_EQ(images.GetIniFileName(), CString(u"TestScheme_ini"));

    EXPECT_EQ(images.GetIniColor(u"Window", u"BorderActive0", 0), RGB(59, 90, 130));
    EXPECT_EQ(images.GetIniColor(u"WINDOW", u"borderactive0", 0), RGB(59, 90, 130)) << "case does not matter";
    EXPECT_EQ(images.GetIniColor(u"Window", u"BorderNone", 0), 0xFFFFFFFFu);
    EXPECT_EQ(images.GetIniColor(u"Window", u"BorderShort", RGB(1, 2, 3)), 0u) << "malformed is black";
    EXPECT_EQ(images.GetIniColor(u"Window", u"Missing", RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(images.GetIniString(u"Window", u"Caption", u"x"), CString(u"Test caption"));
    EXPECT_EQ(images.GetIniString(u"Window", u"Missing", u"x"), CString(u"x"));
    EXPECT_EQ(images.GetIniString(u"Theme", u"Compatibility", u""), CString(u"Office2007"));
    EXPECT_EQ(images.GetIniRect(u"Window", u"Margins", CRect(9, 9, 9, 9)), CRect(1, 2, 3, 4));
    EXPECT_EQ(images.GetIniRect(u"Window", u"Extent", CRect(9, 9, 9, 9)), CRect(0, 0, 0, 0));
    EXPECT_EQ(images.GetIniSize(u"Window", u"Extent", CSize(9, 9)), CSize(16, 24));
    EXPECT_EQ(images.GetIniSize(u"Window", u"Nothing", CSize(9, 9)), CSize(9, 9));
    EXPECT_EQ(images.GetIniInt(u"Window", u"Count", 0), 7);
    EXPECT_EQ(images.GetIniInt(u"Window", u"Bad", 5), 0);
    EXPECT_EQ(images.GetIniInt(u"Global", u"LastLine", 0), 42) << "the last line has no CR and still counts";
    EXPECT_FALSE(images.IsPremultiplyImages());

    // A second INI adds to the first; a missing second one is no failure.
    ASSERT_TRUE(images.SetHandle(Self(), u"TestScheme.ini", u"Xtra.ini", FALSE));
    EXPECT_EQ(images.GetIniInt(u"Window", u"Count", 0), 8);
    EXPECT_EQ(images.GetIniInt(u"Window", u"Extra", 0), 1);
    EXPECT_EQ(images.GetIniColor(u"Window", u"BorderActive0", 0), RGB(59, 90, 130));
    EXPECT_TRUE(images.SetHandle(Self(), u"TestScheme.ini", u"Nowhere.ini", FALSE));

    EXPECT_FALSE(images.LoadIni(u"Nowhere.ini"));
    EXPECT_FALSE(images.IsValid());
    EXPECT_EQ(images.GetIniColor(u"Window", u"BorderActive0", RGB(1, 1, 1)), RGB(1, 1, 1));

    // Without a name, the module's first INI (this program has no Office one).
    ASSERT_TRUE(images.LoadIni(nullptr));
    EXPECT_TRUE(images.GetIniFileName().IsEmpty());
    EXPECT_EQ(images.GetIniInt(u"Window", u"Count", 0), 7);
}

TEST(ResourceImagesIni, PairsOfOneHashKeepTheirOwnValues)
{
    CQVTResourceImages images;
    images.LoadIni(u"Nowhere.ini");
    // "AB" and "B!" hash alike: 65 x 33 + 66 = 66 x 33 + 33.
    Parse(images, "[S]\r\nAB = 1\r\nB! = 2\r\n[Sa]\r\nb = 3\r\n[s]\r\nAB = 4");
    EXPECT_EQ(images.GetIniInt(u"S", u"AB", 0), 4) << "one pair: the later value wins";
    EXPECT_EQ(images.GetIniInt(u"S", u"B!", 0), 2);
    EXPECT_EQ(images.GetIniInt(u"Sa", u"b", 0), 3);
    EXPECT_EQ(images.GetIniInt(u"S", u"ab", 0), 4);
}

TEST(ResourceImagesIni, LineEndsCommentsAndDamage)
{
    CQVTResourceImages images;
    images.LoadIni(u"Nowhere.ini");
    Parse(images, "[One]\r\nK = 5");
    EXPECT_EQ(images.GetIniInt(u"One", u"K", 0), 5);
    Parse(images, "[Two]\r\n\r\n\n  ; a comment\r\n  K2= 6 ; trailing\r\n=7\r\nnoequals\r\n[Three\r\nK3 = 1");
    EXPECT_EQ(images.GetIniInt(u"Two", u"K2", 0), 6);
    // Numbers must fill the value: anything after them makes it malformed.
    Parse(images, "[Tail]\r\nColor = 59 90 130 x\r\nInt = 7 x\r\nSize = 16 24 x\r\nRect = 1 2 3 4 5\r\n"
                  "Whole = 59 90 130\r\n");
    EXPECT_EQ(images.GetIniColor(u"Tail", u"Color", RGB(1, 2, 3)), 0u);
    EXPECT_EQ(images.GetIniInt(u"Tail", u"Int", 5), 0);
    EXPECT_EQ(images.GetIniSize(u"Tail", u"Size", CSize(9, 9)), CSize(0, 0));
    EXPECT_EQ(images.GetIniRect(u"Tail", u"Rect", CRect(9, 9, 9, 9)), CRect(0, 0, 0, 0));
    EXPECT_EQ(images.GetIniColor(u"Tail", u"Whole", 0), RGB(59, 90, 130));
    EXPECT_EQ(images.GetIniString(u"Two", u"", u"none"), CString(u"none")) << "a key needs a name";
    EXPECT_EQ(images.GetIniInt(u"Thre", u"K3", 0), 1) << "a section name loses its last character";
    Parse(images, "Orphan = 1\r\n");
    EXPECT_EQ(images.GetIniInt(u"", u"Orphan", 0), 0) << "no value before a section";
    Parse(images, "");
    Parse(images, "\r");
    Parse(images, "[");

    // Bounded fuzz: random bytes and mutated scheme text.
    HRSRC hResource = FindResourceW(Self(), u"TESTSCHEME_INI", u"TEXTFILE");
    std::string scheme(static_cast<const char*>(LockResource(LoadResource(Self(), hResource))),
                       SizeofResource(Self(), hResource));
    std::mt19937 random(161);
    for (int i = 0; i < 1500; ++i)
    {
        std::string text = scheme;
        if (i % 3 == 0)
        {
            text.assign(random() % 200, '\0');
            for (char& ch : text)
                ch = static_cast<char>("[]=;\r\n ab\t"[random() % 10] ^ (random() % 7 == 0 ? random() : 0));
        }
        else
        {
            for (int n = 0; n < 10; ++n)
                text[random() % text.size()] = static_cast<char>(random());
            text.resize(random() % (text.size() + 1));
        }
        CQVTResourceImages fuzzed;
        fuzzed.LoadIni(u"Nowhere.ini");
        Parse(fuzzed, text);
        fuzzed.GetIniColor(u"Window", u"BorderActive0", 0);
        fuzzed.GetIniRect(u"Window", u"Margins", CRect());
    }
}

TEST(ResourceImages, ImagesAreLoadedOncePerIniAndTheChangeIsAnnounced)
{
    CQVTResourceImages images;
    int nCalls = 0;
    struct Counter : CQVTNotifySinkDelegate
    {
        int& nCalls;
        explicit Counter(int& n) : nCalls(n) {}
        void Invoke(UINT, WPARAM, LPARAM) override { ++nCalls; }
    };
    CQVTNotifySink* pSink = new CQVTNotifySink();
    pSink->Advise(images.GetConnection(), QVT_NOTIFY_RESOURCE_IMAGES_CHANGED, new Counter(nCalls));
    ASSERT_TRUE(images.SetModule(Self(), u"TestScheme.ini"));
    EXPECT_EQ(nCalls, 1);

    CQVTResourceImage* pNineGrid = images.LoadFile(u"NineGrid");
    ASSERT_NE(pNineGrid, nullptr);
    EXPECT_EQ(pNineGrid->GetExtent(), CSize(30, 30));
    EXPECT_TRUE(pNineGrid->IsAlphaImage());
    EXPECT_EQ(images.LoadFile(u"NineGrid"), pNineGrid);
    CQVTResourceImage* pPlain = images.LoadFile(u"Plain");
    ASSERT_NE(pPlain, nullptr);
    EXPECT_FALSE(pPlain->IsAlphaImage());
    EXPECT_EQ(pPlain->GetSource(1, 3), CRect(0, 10, 30, 20));
    EXPECT_EQ(images.LoadFile(u"Missing"), nullptr);
    EXPECT_EQ(images.LoadFile(u"Missing"), nullptr);
    EXPECT_NE(images.LoadFile(u"TestScheme\\NineGrid.bmp"), nullptr) << "a path is a resource name too";

    // Another INI maps no images: the cached ones are gone with the old INI.
    ASSERT_TRUE(images.LoadIni(u"Xtra.ini"));
    EXPECT_EQ(nCalls, 2);
    EXPECT_EQ(images.LoadFile(u"NineGrid"), nullptr);
    pSink->Delete();
    images.LoadIni(u"TestScheme.ini");
    EXPECT_EQ(nCalls, 2);
}

TEST(ResourceImages, TheProcessWideSetAnswersOnlyOnceAnIniIsNamed)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    ASSERT_TRUE(pImages->GetIniFileName().IsEmpty()) << "started with the module's default INI";
    EXPECT_EQ(GetResourceImagesIniInt(u"Window", u"Count", 3), 3);
    ASSERT_TRUE(pImages->SetModule(Self(), u"TestScheme.ini"));
    EXPECT_EQ(GetResourceImagesIniInt(u"Window", u"Count", 3), 7);
    EXPECT_EQ(GetResourceImagesIniColor(u"Window", u"BorderActive0", 0), RGB(59, 90, 130));
    EXPECT_EQ(GetResourceImagesIniRect(u"Window", u"Margins", CRect()), CRect(1, 2, 3, 4));
    EXPECT_EQ(GetResourceImagesIniSize(u"Window", u"Extent", CSize()), CSize(16, 24));
    EXPECT_EQ(GetResourceImagesIniString(u"Window", u"Caption", u""), CString(u"Test caption"));
    pImages->LoadIni(nullptr);
    EXPECT_EQ(GetResourceImagesIniInt(u"Window", u"Count", 3), 3);
}

TEST(ResourceImageDrawing, NineGridKeepsCornersAndStretchesEdgesAndCentre)
{
    CQVTResourceImages images;
    ASSERT_TRUE(images.SetModule(Self(), u"TestScheme.ini"));
    for (const char16_t* pszName : {u"NineGrid", u"Plain"})
    {
        CQVTResourceImage* pImage = images.LoadFile(pszName);
        ASSERT_NE(pImage, nullptr);
        DibCanvas canvas(70, 100, RGB(1, 2, 3));
        pImage->DrawImage(&canvas.dc, CRect(5, 5, 65, 95), CRect(0, 0, 30, 30), CRect(10, 10, 10, 10));
        const int xs[3] = {10, 35, 60}, ys[3] = {10, 50, 90};
        EXPECT_EQ(PartsAt(canvas, xs, ys), std::vector<COLORREF>(kParts, kParts + 9))
            << (const char*)CStringA(pszName);
        // Corners keep their 10 pixels; the centre fills the rest.
        EXPECT_EQ(canvas.At(14, 14), kParts[0]);
        EXPECT_EQ(canvas.At(15, 15), kParts[4]);
        EXPECT_EQ(canvas.At(54, 84), kParts[4]);
        EXPECT_EQ(canvas.At(55, 85), kParts[8]);
        EXPECT_EQ(canvas.BoundsOfAllBut(RGB(1, 2, 3)), CRect(5, 5, 65, 95));

        // The source's own size is one straight copy, margins or not.
        DibCanvas same(30, 30);
        pImage->DrawImage(&same.dc, CRect(0, 0, 30, 30), CRect(0, 0, 30, 30), CRect(10, 10, 10, 10));
        const int xs2[3] = {5, 15, 25};
        EXPECT_EQ(PartsAt(same, xs2, xs2), std::vector<COLORREF>(kParts, kParts + 9));

        // Smaller than the margins: the corners share the room.
        DibCanvas tiny(12, 12);
        pImage->DrawImage(&tiny.dc, CRect(0, 0, 12, 12), CRect(0, 0, 30, 30), CRect(10, 10, 10, 10));
        EXPECT_EQ(tiny.At(2, 2), kParts[0]);
        EXPECT_EQ(tiny.At(9, 2), kParts[2]);
        EXPECT_EQ(tiny.At(9, 9), kParts[8]);

        // Margins taller than the source, or a source outside the image, draw nothing.
        DibCanvas none(40, 40, RGB(1, 2, 3));
        pImage->DrawImage(&none.dc, CRect(0, 0, 40, 40), CRect(0, 0, 30, 30), CRect(0, 20, 0, 20));
        pImage->DrawImage(&none.dc, CRect(0, 0, 40, 40), CRect(100, 100, 130, 130), CRect(0, 0, 0, 0));
        EXPECT_EQ(none.CountOf(RGB(1, 2, 3)), 40 * 40);
        // A source reaching past the image reads only the image.
        pImage->DrawImageStretched(&none.dc, CRect(0, 0, 30, 30), CRect(-5000, -5000, 30, 30));
        EXPECT_EQ(none.At(3, 3), kParts[0]);
    }
}

TEST(ResourceImageDrawing, MirroredOnRightToLeftDCsWhenAsked)
{
    CQVTResourceImages images;
    ASSERT_TRUE(images.SetModule(Self(), u"TestScheme.ini"));
    CQVTResourceImage* pImage = images.LoadFile(u"NineGrid");
    ASSERT_NE(pImage, nullptr);
    const int xs[3] = {5, 30, 55}, ys[3] = {5, 20, 35};
    const std::vector<COLORREF> upright(kParts, kParts + 9);

    auto draw = [&](BOOL bRtl) {
        DibCanvas canvas(60, 40);
        if (bRtl)
            CQVTDrawHelpers::SetDCLayout(&canvas.dc, LAYOUT_RTL);
        pImage->DrawImage(&canvas.dc, CRect(0, 0, 60, 40), CRect(0, 0, 30, 30), CRect(10, 10, 10, 10));
        return PartsAt(canvas, xs, ys);
    };
    EXPECT_EQ(draw(FALSE), upright);
    EXPECT_EQ(draw(TRUE), upright) << "an alpha image keeps its look on a right-to-left DC";
    pImage->SetMirrorInRtl(TRUE);
    EXPECT_EQ(draw(TRUE), Mirrored(upright)) << "unless it is to be mirrored there";
    EXPECT_EQ(draw(FALSE), upright) << "which is taken back on a left-to-right DC";
    EXPECT_EQ(draw(TRUE), Mirrored(upright));
}

TEST(ResourceImageDrawing, KeyedDrawingLeavesTheKeyTransparent)
{
    CQVTResourceImages images;
    ASSERT_TRUE(images.SetModule(Self(), u"TestScheme.ini"));
    CQVTResourceImage* pKeyed = images.LoadFile(u"Keyed");
    ASSERT_NE(pKeyed, nullptr);
    ASSERT_FALSE(pKeyed->IsAlphaImage());
    const CRect rcSrc(0, 0, 16, 16), rcNone(0, 0, 0, 0);

    DibCanvas plain(32, 32, kGreen);
    pKeyed->DrawImage(&plain.dc, CRect(0, 0, 32, 32), rcSrc);
    EXPECT_EQ(plain.At(1, 1), kMagenta);

    for (DWORD dwFlags : {0u, 1u})
    {
        DibCanvas canvas(32, 32, kGreen);
        pKeyed->DrawImageKeyedAlpha(&canvas.dc, CRect(0, 0, 32, 32), rcSrc, rcNone, kMagenta, dwFlags);
        EXPECT_EQ(canvas.At(1, 1), kGreen) << "flags " << dwFlags;
        EXPECT_EQ(canvas.At(30, 30), kGreen) << "flags " << dwFlags;
        EXPECT_EQ(canvas.At(16, 16), kBlue) << "flags " << dwFlags;
    }

    // A key whose red and blue differ is matched too.
    DibCanvas blueKey(32, 32, kGreen);
    pKeyed->DrawImageKeyedAlpha(&blueKey.dc, CRect(0, 0, 32, 32), rcSrc, rcNone, kBlue, 1);
    EXPECT_EQ(blueKey.At(16, 16), kGreen);
    EXPECT_EQ(blueKey.At(1, 1), kMagenta);

    // No key: everything is opaque.
    DibCanvas noKey(32, 32, kGreen);
    pKeyed->DrawImageKeyedAlpha(&noKey.dc, CRect(0, 0, 32, 32), rcSrc, rcNone, 0xFFFFFFFF, 1);
    EXPECT_EQ(noKey.At(1, 1), kMagenta);
    EXPECT_EQ(noKey.At(16, 16), kBlue);
}
