// Path splitting and joining, full paths and file search.
#include <tchar.h>
#include <set>
#include <string>
#include "sondrel_gtest.h"

TEST(Utf16Paths, SplitAndMakeRoundTrip)
{
    char16_t drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    EXPECT_EQ(_tsplitpath_s(u"C:\\Rec\\2024.01\\take one.final.wav", drive, dir, fname, ext), 0);
    EXPECT_EQ(std::u16string(drive), u"C:");
    EXPECT_EQ(std::u16string(dir), u"\\Rec\\2024.01\\");
    EXPECT_EQ(std::u16string(fname), u"take one.final");
    EXPECT_EQ(std::u16string(ext), u".wav");

    EXPECT_EQ(_tsplitpath_s(u"rel/dir.d/noext", drive, dir, fname, ext), 0);
    EXPECT_EQ(std::u16string(drive), u"");
    EXPECT_EQ(std::u16string(dir), u"rel/dir.d/");
    EXPECT_EQ(std::u16string(fname), u"noext");
    EXPECT_EQ(std::u16string(ext), u"");

    // Outputs the caller does not want may be null with size 0.
    EXPECT_EQ(_tsplitpath_s(u"x.\u00e9t\u00e9", nullptr, 0, nullptr, 0, fname, _MAX_FNAME, ext, _MAX_EXT), 0);
    EXPECT_EQ(std::u16string(ext), u".\u00e9t\u00e9");
    char16_t tiny[3];
    EXPECT_EQ(_tsplitpath_s(u"C:\\a\\long.txt", drive, _MAX_DRIVE, dir, _MAX_DIR, tiny, 3, ext, _MAX_EXT),
              ERANGE);
    EXPECT_EQ(dir[0], 0);

    char16_t path[_MAX_PATH];
    EXPECT_EQ(_tmakepath_s(path, u"D", u"\\Music", u"song", u"mp3"), 0);
    EXPECT_EQ(std::u16string(path), u"D:\\Music\\song.mp3");
    EXPECT_EQ(_tmakepath_s(path, u"", u"a/", u"b", u".c"), 0);
    EXPECT_EQ(std::u16string(path), u"a/b.c");
    char16_t shortPath[8];
    EXPECT_EQ(_tmakepath_s(shortPath, u"C:", u"\\dir", u"file", u"ext"), ERANGE);
    EXPECT_EQ(shortPath[0], 0);
}

TEST(Utf16Paths, FullPathAndFileSearch)
{
    char16_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    std::u16string dir = std::u16string(temp) + u"sondrel_find_\u00e9";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::set<std::u16string> made = {u"a.wav", u"b.wav", u"\u00fcber.wav", u"c.txt"};
    for (const auto& name : made)
    {
        HANDLE h =
            CreateFileW((dir + u"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, "1234", 4, &written, nullptr);
        CloseHandle(h);
    }

    std::set<std::u16string> found;
    _tfinddata_t data;
    intptr_t h = _tfindfirst((dir + u"\\*.wav").c_str(), &data);
    ASSERT_NE(h, -1);
    do
    {
        found.insert(data.name);
        EXPECT_EQ(data.size, 4u);
        EXPECT_EQ(data.attrib & _A_SUBDIR, 0u);
        EXPECT_GT(data.time_write, 0);
    } while (_tfindnext(h, &data) == 0);
    EXPECT_EQ(_findclose(h), 0);
    EXPECT_EQ(found, (std::set<std::u16string>{u"a.wav", u"b.wav", u"\u00fcber.wav"}));
    EXPECT_EQ(_tfindfirst((dir + u"\\*.none").c_str(), &data), -1);
    EXPECT_EQ(errno, ENOENT);

    char16_t full[MAX_PATH];
    SetCurrentDirectoryW(dir.c_str());
    ASSERT_NE(_tfullpath(full, u"sub\\..\\a.wav", MAX_PATH), nullptr);
    EXPECT_EQ(std::u16string(full), dir + u"\\a.wav");
    EXPECT_EQ(_tfullpath(full, u"a.wav", 4), nullptr);
    char16_t* allocated = _tfullpath(nullptr, u"c.txt", 0);
    ASSERT_NE(allocated, nullptr);
    EXPECT_EQ(std::u16string(allocated), dir + u"\\c.txt");
    free(allocated);
    SetCurrentDirectoryW(temp);

    for (const auto& name : made)
        DeleteFileW((dir + u"\\" + name).c_str());
    RemoveDirectoryW(dir.c_str());
}
