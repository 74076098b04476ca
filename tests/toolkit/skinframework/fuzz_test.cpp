// A bounded fuzz run of the skin reader, the schema parser and the DIB
// loader: fixed seeds, a fixed number of inputs, no crash and no hang.
// Inputs that once crashed are kept under data/fuzz and read by the files
// test.
#include <random>

#include "skin_test_support.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"

namespace {
// A skin file whose schema text is given line by line; images come from
// the skin folder it was opened on.
class FuzzResourceFile : public CQVTSkinManagerResourceFile
{
public:
    std::vector<CString> lines;
    size_t next = 0;

    BOOL ReadString(CString& str) override
    {
        if (next >= lines.size())
            return FALSE;
        str = lines[next++];
        return TRUE;
    }
};

const char16_t* const kFuzzFragments[] = {u"[",
                                          u"]",
                                          u"(",
                                          u")",
                                          u".",
                                          u":",
                                          u";",
                                          u"=",
                                          u",",
                                          u" ",
                                          u"\t",
                                          u"-",
                                          u"0x",
                                          u"BUTTON",
                                          u"PUSHBUTTON",
                                          u"WINDOW",
                                          u"CLOSEBUTTON",
                                          u"SCROLLBAR",
                                          u"ARROWBTN",
                                          u"HOT",
                                          u"PRESSED",
                                          u"GLOBALS",
                                          u"SYSMETRICS",
                                          u"IMAGEFILE",
                                          u"BLUE\\PUSHBUTTON.BMP",
                                          u"BLUE\\SCROLLARROWS.BMP",
                                          u"BLUE\\CHECKBOX.BMP",
                                          u"IMAGECOUNT",
                                          u"SIZINGMARGINS",
                                          u"SIZINGTYPE",
                                          u"TILE",
                                          u"TRUESIZE",
                                          u"BGTYPE",
                                          u"BORDERFILL",
                                          u"IMAGEFILE1",
                                          u"IMAGESELECTTYPE",
                                          u"SIZE",
                                          u"GLYPHTYPE",
                                          u"IMAGEGLYPH",
                                          u"GLYPHIMAGEFILE",
                                          u"BORDERSIZE",
                                          u"BORDERCOLOR",
                                          u"FILLCOLOR",
                                          u"TEXTCOLOR",
                                          u"TRANSPARENT",
                                          u"TRUE",
                                          u"CAPTIONFONT",
                                          u"CAPTIONBARHEIGHT",
                                          u"CONTENTMARGINS",
                                          u"IMAGELAYOUT",
                                          u"VERTICAL",
                                          u"MIRRORIMAGE",
                                          u"2147483647",
                                          u"-2147483648",
                                          u"99999999999",
                                          u"0",
                                          u"1",
                                          u"5",
                                          u"20",
                                          u"255",
                                          u"-7",
                                          u"TAHOMA",
                                          u"BOLD",
                                          u"\x00e9",
                                          u"\xFFFF",
                                          u"\xD800"};

CString FuzzLine(std::mt19937& rng)
{
    CString line;
    int parts = std::uniform_int_distribution<int>(0, 9)(rng);
    for (int i = 0; i < parts; ++i)
    {
        if (rng() % 12 == 0)
            line += static_cast<WCHAR>(rng() % 0x10000);
        else
            line += kFuzzFragments[rng() % (sizeof kFuzzFragments / sizeof kFuzzFragments[0])];
    }
    return line;
}

void FuzzDrawEverything(CQVTSkinManagerSchema* schema)
{
    DibCanvas canvas(24, 18);
    for (LPCTSTR cls : {u"BUTTON", u"WINDOW", u"SCROLLBAR"})
    {
        CQVTSkinManagerClass* pClass = schema->GetClass(cls);
        if (pClass == nullptr)
            continue;
        for (int part = 0; part < 20; part += 1 + part / 4)
            for (int state = 0; state < 8; state += 3)
            {
                CRect rc(0, 0, 7 + part, 5 + state);
                pClass->DrawThemeBackground(&canvas.dc, part, state, &rc);
                SIZE sz;
                pClass->GetThemePartSize(part, state, &rc, qvtSkinSizeDraw, &sz);
            }
        schema->GetCaptionButtonSize(pClass, 18);
    }
    schema->RefreshMetrics();
}
}  // namespace

TEST(SkinFuzz, ParserTakesAnyLines)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 150; ++round)
    {
        FuzzResourceFile* file = new FuzzResourceFile;
        ASSERT_TRUE(file->Open(SkinDataPath(u"vista"), u"NormalBlue.ini"));
        int count = std::uniform_int_distribution<int>(1, 40)(rng);
        for (int i = 0; i < count; ++i)
            file->lines.push_back(FuzzLine(rng));
        CQVTSkinManagerSchema* schema = file->CreateSchema();
        EXPECT_EQ(S_OK, schema->ReadProperties());
        FuzzDrawEverything(schema);
        schema->InternalRelease();
        file->InternalRelease();
    }
}

TEST(SkinFuzz, DibLoaderTakesAnyBytes)
{
    std::mt19937 rng(7);
    std::vector<std::string> seeds;
    for (int bits : {1, 4, 8, 16, 24, 32})
    {
        BITMAPINFOHEADER h = {sizeof h, 5, 3, 1, static_cast<WORD>(bits)};
        std::string s(reinterpret_cast<const char*>(&h), sizeof h);
        s += std::string(bits <= 8 ? 4u << bits : 12u, '\x40');
        s += std::string(((5 * bits + 31) / 32) * 4 * 3, '\x7F');
        seeds.push_back(s);
    }
    const DWORD edges[] = {0, 1, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 40, 124, 3, 0x10000};
    for (int round = 0; round < 4000; ++round)
    {
        std::string data = seeds[rng() % seeds.size()];
        int edits = 1 + rng() % 4;
        for (int i = 0; i < edits; ++i)
        {
            size_t at = rng() % std::min<size_t>(data.size(), 60);
            if (rng() % 2 && at + 4 <= data.size())
            {
                DWORD v = edges[rng() % (sizeof edges / sizeof edges[0])];
                memcpy(&data[at & ~size_t(3)], &v, 4);
            }
            else
                data[at] = static_cast<char>(rng());
        }
        if (rng() % 4 == 0)
            data.resize(rng() % data.size());
        BOOL alpha = FALSE;
        HBITMAP h = QVTSkinLoadDibFromMemory(reinterpret_cast<const BYTE*>(data.data()),
                                             static_cast<DWORD>(data.size()), &alpha);
        if (h)
            ::DeleteObject(h);
    }
}

TEST(SkinFuzz, ReaderTakesDamagedModules)
{
    HANDLE hFile = ::CreateFileW(SkinDataPath(u"hostile\\hostile.qvstyles"), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    std::string original(::GetFileSize(hFile, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(hFile, &original[0], static_cast<DWORD>(original.size()), &read, nullptr);
    ::CloseHandle(hFile);
    SkinTempFolder folder;
    std::mt19937 rng(35);
    for (int round = 0; round < 120; ++round)
    {
        std::string data = original;
        int edits = 1 + rng() % 6;
        for (int i = 0; i < edits; ++i)
        {
            // The resource directory and its entries lie just after the headers.
            size_t at = 0x200 + rng() % 0x200;
            if (rng() % 5 == 0)
                at = rng() % 0x200;
            data[at] = static_cast<char>(rng());
        }
        if (rng() % 6 == 0)
            data.resize(0x200 + rng() % (data.size() - 0x200));
        CString name;
        name.Format(u"fuzz%d.qvstyles", round);
        folder.WriteBytes(name, data);
        CQVTSkinManagerResourceFile* file = new CQVTSkinManagerResourceFile;
        if (file->Open(folder.Path() + u"\\" + name, u""))
        {
            CQVTSkinManagerSchema* schema = file->CreateSchema();
            schema->ReadProperties();
            FuzzDrawEverything(schema);
            schema->InternalRelease();
        }
        for (LPCTSTR image : {u"Bad\\Small.bmp", u"Bad\\PngGood.bmp", u"Bad\\PngClaims.bmp",
                              u"Bad\\PngPastEnd.bmp", u"Bad\\PngTruncated.bmp", u"Bad\\PngHuge.bmp"})
            delete file->LoadImage(image);
        file->InternalRelease();
    }
}
