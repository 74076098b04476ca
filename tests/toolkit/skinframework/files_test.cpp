// Skin files: module skins and directory skins, the default schema, the
// line reader and the name tables the sections are read through.
#include "skin_test_support.h"
#include "toolkit/skinframework/images/QVTSkinImage.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchemaNames.h"

namespace {
std::vector<CString> SkinFilesReadAll(CQVTSkinManagerResourceFile& file)
{
    std::vector<CString> lines;
    CString line;
    while (file.ReadString(line) && lines.size() < 100000)
        lines.push_back(line);
    return lines;
}
}  // namespace

TEST(SkinFiles, ModuleSkinOpensEachSchemaAndDefaultsToTheFirstFileSection)
{
    CQVTSkinManagerResourceFile file;
    ASSERT_TRUE(file.Open(SkinModulePath(), u""));
    EXPECT_EQ(CString(u"NormalBlue_ini"), file.GetIniFileName());
    EXPECT_TRUE(reinterpret_cast<ULONG_PTR>(file.GetModuleHandle()) & 1) << "a data-file module";
    std::vector<CString> lines = SkinFilesReadAll(file);
    ASSERT_GT(lines.size(), 100u);
    EXPECT_EQ(0, lines[0].Find(u"; NormalBlue")) << "the byte-order mark is skipped";

    for (LPCTSTR ini : {u"NormalBlue.ini", u"NormalBlack2.ini", u"NormalSilver.ini"})
    {
        auto skin = SkinLoad(SkinModulePath(), ini);
        ASSERT_TRUE(skin->ok) << CStringA(ini).GetString();
        EXPECT_GT(skin->schema->GetPropertyCount(), 300) << CStringA(ini).GetString();
    }
    EXPECT_FALSE(file.Open(SkinModulePath(), u"NoSuch.ini"));
    EXPECT_FALSE(file.Open(u"", u"NormalBlue.ini"));
    EXPECT_FALSE(file.Open(SkinDataPath(u"hostile\\nobracket.qvstyles"), u"")) << "no ']' after \"[File.\"";
}

TEST(SkinFiles, LightOpensWithBlueIniButHasNoDefaultSchema)
{
    CQVTSkinManagerResourceFile file;
    EXPECT_FALSE(file.Open(SkinLightPath(), u""));
    EXPECT_TRUE(file.GetIniFileName().IsEmpty());
    auto skin = SkinLoad(SkinLightPath(), u"Blue.ini");
    ASSERT_TRUE(skin->ok);
    EXPECT_GT(skin->schema->GetPropertyCount(), 1000);
}

TEST(SkinFiles, DirectorySkinReadsWhatTheModuleReads)
{
    auto module = SkinLoad(SkinModulePath(), u"NormalSilver.ini");
    auto folder = SkinLoad(SkinDataPath(u"vista"), u"NormalSilver.ini");
    ASSERT_TRUE(module->ok);
    ASSERT_TRUE(folder->ok);
    EXPECT_TRUE(folder->file->GetModuleHandle() == nullptr);
    EXPECT_EQ(module->schema->GetPropertyCount(), folder->schema->GetPropertyCount());
    CQVTSkinImage* pFromModule = module->Class(u"BUTTON")->GetImage(u"Silver\\PushButton.bmp");
    CQVTSkinImage* pFromFolder = folder->Class(u"BUTTON")->GetImage(u"Silver\\PushButton.bmp");
    ASSERT_TRUE(pFromModule && pFromFolder);
    std::vector<DWORD> a, b;
    ASSERT_TRUE(pFromModule->ReadPixels(a) && pFromFolder->ReadPixels(b));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(folder->Class(u"BUTTON")->GetImage(u"Silver\\NoSuch.bmp") == nullptr);
    EXPECT_TRUE(folder->Class(u"BUTTON")->GetImage(u"Silver") == nullptr) << "a folder is no image";

    // An INI the folder lacks falls through to loading the folder as a module.
    CQVTSkinManagerResourceFile file;
    EXPECT_FALSE(file.Open(SkinDataPath(u"vista"), u"NoSuch.ini"));

    // Image names never reach outside the skin's folder.
    SkinTempFolder outer;
    const std::string bmp = SkinBmp24(2, 2, [](int, int) { return RGB(1, 2, 3); });
    outer.WriteBytes(u"Outside.bmp", bmp);
    outer.WriteBytes(u"Skin\\Inside.bmp", bmp);
    outer.WriteText(u"Skin\\Test.ini", u"[Button]\r\n");
    auto inner = SkinLoad(outer.Path() + u"\\Skin", u"Test.ini");
    ASSERT_TRUE(inner->ok);
    struct
    {
        CString name;
        BOOL loads;
    } names[] = {{u"Inside.bmp", TRUE},
                 {u".\\Inside.bmp", TRUE},
                 {u"..\\Outside.bmp", FALSE},
                 {u"../Outside.bmp", FALSE},
                 {u"Sub\\..\\..\\Outside.bmp", FALSE},
                 {u".. \\Outside.bmp", FALSE},
                 {u"\\" + outer.Path().Mid(2) + u"\\Outside.bmp", FALSE},
                 {outer.Path() + u"\\Outside.bmp", FALSE},
                 {u"\\\\?\\" + outer.Path() + u"\\Outside.bmp", FALSE}};
    for (const auto& n : names)
    {
        std::unique_ptr<CQVTSkinImage> pImage(inner->file->LoadImage(n.name));
        EXPECT_EQ(n.loads, pImage != nullptr) << CStringA(n.name).GetString();
    }
}

TEST(SkinFiles, LastLineWithoutLineEndIsRead)
{
    CQVTSkinManagerResourceFile file;
    ASSERT_TRUE(file.Open(SkinDataPath(u"hostile\\lastline.qvstyles"), u""));
    std::vector<CString> lines = SkinFilesReadAll(file);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(CString(u"TextColor = 1 2 3"), lines[1]);

    auto skin = SkinLoad(SkinDataPath(u"hostile\\lastline.qvstyles"), u"");
    COLORREF clr = 0;
    EXPECT_EQ(S_OK, skin->schema->GetColorProperty(7, 0, 0, 3803, &clr));
    EXPECT_EQ(RGB(1, 2, 3), clr);
}

TEST(SkinFiles, TextReadsStopAtNulsAndAtTheEndOfTheMapping)
{
    // A NUL ends the text.
    CQVTSkinManagerResourceFile file;
    ASSERT_TRUE(file.Open(SkinDataPath(u"hostile\\nuls.qvstyles"), u""));
    std::vector<CString> lines = SkinFilesReadAll(file);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(CString(u"TextColor = 1 2 3"), lines[1]);

    // A schema claiming 2 GB is read to the end of the module's pages.
    ASSERT_TRUE(file.Open(SkinDataPath(u"hostile\\claims.qvstyles"), u""));
    lines = SkinFilesReadAll(file);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(CString(u"TextColor = 1 2 3"), lines[1]);
    DWORD cb = 0;
    const BYTE* p = CQVTSkinManagerResourceFile::LockResourceBounded(file.GetModuleHandle(), u"HOSTILE_INI",
                                                                     u"TEXTFILE", &cb);
    ASSERT_TRUE(p != nullptr);
    EXPECT_LT(cb, 0x10000u);
    MEMORY_BASIC_INFORMATION mbi = {};
    ASSERT_NE(0u, ::VirtualQuery(p + cb - 1, &mbi, sizeof mbi));
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), mbi.State);
}

TEST(SkinFiles, HostileFilesOpenOrFailButNeverCrash)
{
    struct
    {
        LPCTSTR name;
        BOOL opens;
    } cases[] = {{u"hostile\\hostile.qvstyles", TRUE},
                 {u"hostile\\truncated.qvstyles", FALSE},
                 {u"hostile\\notpe.qvstyles", FALSE},
                 {u"hostile\\mzonly.qvstyles", FALSE},
                 {u"hostile\\oddtext.qvstyles", TRUE},
                 {u"hostile\\noends.qvstyles", TRUE},
                 {u"hostile\\longline.qvstyles", TRUE},
                 {u"hostile\\nobracket.qvstyles", FALSE},
                 // Found by the fuzz run: a data entry outside the module.
                 {u"fuzz\\entryoutside.qvstyles", TRUE}};
    for (const auto& c : cases)
    {
        auto skin = SkinLoad(SkinDataPath(c.name), u"");
        EXPECT_EQ(c.opens, skin->ok) << CStringA(c.name).GetString();
        if (!skin->ok)
            continue;
        // Every class draws or refuses; nothing else.
        DibCanvas canvas(60, 40);
        for (LPCTSTR cls : {u"BUTTON", u"SCROLLBAR", u"WINDOW", u"EDIT"})
            for (int part = 0; part < 12; ++part)
                for (int state = 0; state < 6; ++state)
                {
                    CRect rc(0, 0, 60, 40);
                    skin->Class(cls)->DrawThemeBackground(&canvas.dc, part, state, &rc);
                }
    }
    // An odd byte count keeps the whole characters.
    auto odd = SkinLoad(SkinDataPath(u"hostile\\oddtext.qvstyles"), u"");
    COLORREF clr = 0;
    EXPECT_EQ(S_OK, odd->schema->GetColorProperty(7, 0, 0, 3803, &clr));
    // A line of 100,000 characters is one value, and the next section still counts.
    auto longLine = SkinLoad(SkinDataPath(u"hostile\\longline.qvstyles"), u"");
    EXPECT_EQ(100000, longLine->Class(u"BUTTON")->GetThemeString(0, 0, 3001).GetLength());

    // PNG resources are read within the module: the sound one is its colour
    // throughout, every lying one gives no image.
    auto pngs = SkinLoad(SkinDataPath(u"hostile\\hostile.qvstyles"), u"");
    ASSERT_TRUE(pngs->ok);
    struct
    {
        LPCTSTR name;
        BOOL loads;
    } images[] = {{u"Bad\\PngGood.bmp", TRUE},
                  {u"Bad\\PngClaims.bmp", FALSE},
                  {u"Bad\\PngPastEnd.bmp", FALSE},
                  {u"Bad\\PngTruncated.bmp", FALSE},
                  {u"Bad\\PngHuge.bmp", FALSE}};
    for (const auto& image : images)
    {
        std::unique_ptr<CQVTSkinImage> pImage(pngs->file->LoadImage(image.name));
        EXPECT_EQ(image.loads, pImage != nullptr) << CStringA(image.name).GetString();
        std::vector<DWORD> pixels;
        if (pImage && pImage->ReadPixels(pixels))
        {
            EXPECT_EQ(std::vector<DWORD>(6 * 5, 0xFF14C878), pixels);
        }
    }
}

TEST(SkinFiles, SectionNamesGoThroughTheNameTables)
{
    CQVTSkinManagerSchema schema(nullptr);
    EXPECT_EQ(CQVTSkinManagerSchema::MakeSectionCode(7, 1, 2),
              schema.GetSectionCode(u"BUTTON.PUSHBUTTON(HOT)"));
    EXPECT_EQ(CQVTSkinManagerSchema::MakeSectionCode(7, 1, 2),
              schema.GetSectionCode(u" BUTTON . PUSHBUTTON ( HOT )"));
    EXPECT_EQ(CQVTSkinManagerSchema::MakeSectionCode(21, 0, 3), schema.GetSectionCode(u"SCROLLBAR(PRESSED)"));
    EXPECT_EQ(CQVTSkinManagerSchema::MakeSectionCode(6, 37, 0),
              schema.GetSectionCode(u"WINDOW.SMALLFRAMEBOTTOMSIZINGTEMPLATE"));
    EXPECT_EQ(0u, schema.GetSectionCode(u"BUTTON.CAPTION"));
    EXPECT_EQ(0u, schema.GetSectionCode(u"BUTTON.PUSHBUTTON(ACTIVE)"));
    EXPECT_EQ(0u, schema.GetSectionCode(u"BUTTON:VISTA"));
    EXPECT_EQ(0u, schema.GetSectionCode(u"NOSUCHCLASS"));
    EXPECT_EQ(0u, schema.GetSectionCode(u"BUTTON."));
    EXPECT_EQ(0u, schema.GetClassCode(u"BUTTON_PUSHBUTTON")) << "a part row is no class";

    int type = 0;
    EXPECT_EQ(4001u, schema.GetPropertyCode(u"BGTYPE", &type));
    EXPECT_EQ(8, type);
    EXPECT_EQ(5003u, schema.GetPropertyCode(u"BLENDCOLOR", &type));
    EXPECT_EQ(4, type);
    EXPECT_EQ(0u, schema.GetPropertyCode(u"NOSUCHPROPERTY", &type));
    EXPECT_EQ(0, schema.GetEnumCode(u"BGTYPE", u"IMAGEFILE"));
    EXPECT_EQ(13, schema.GetEnumCode(u"OFFSETTYPE", u"BELOWLASTBUTTON"));
    EXPECT_EQ(-1, schema.GetEnumCode(u"BGTYPE", u"NOSUCHVALUE"));

    // Unknown names are remembered, but never more than the bound.
    for (int i = 0; i < 1200; ++i)
    {
        CString name;
        name.Format(u"UNKNOWN%d", i);
        schema.GetClassCode(name);
    }
    EXPECT_EQ(static_cast<int>(CQVTSkinManagerSchemaNames::kMaxMissing),
              QVTSkinManagerSchemaNames()->GetMissingCount(QVTSkinNameTable::Classes));
}
