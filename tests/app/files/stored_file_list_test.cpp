// "filelist.xml" written and read back, and the broken and hostile files a
// user's data folder may hold.
#include "tests/app/recording/recording_test_support.h"

#include <fstream>
#include <sstream>

#include "app/files/StoredFileList.h"

using namespace app_test;

class StoredFileListTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }

    CString Write(const std::string& text)
    {
        std::ofstream(m_folder.unix + "/filelist.xml", std::ios::binary) << text;
        return List();
    }
    CString List() const { return m_folder.windows + _T("filelist.xml"); }
    std::string ReadBack() const
    {
        std::ifstream in(m_folder.unix + "/filelist.xml", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::vector<CString> Loaded(const CString& file)
    {
        CStringArray paths;
        CStoredFileList::Load(file, paths);
        std::vector<CString> out;
        for (INT_PTR i = 0; i < paths.GetSize(); ++i)
            out.push_back(paths[i]);
        return out;
    }

    ScratchFolder m_folder;
};

namespace {

TEST_F(StoredFileListTest, PathsAreStoredInListOrderAndReadBack)
{
    CStringArray paths;
    paths.Add(_T("C:\\Rec\\Record-002.mp3"));
    paths.Add(_T("C:\\Rec\\Record-000.mp3"));
    paths.Add(_T("D:\\Über & <Co>\\take #1.wav"));
    CStoredFileList::Save(List(), paths);

    // Count first, then the entries in list order, each with its path.
    std::string xml = ReadBack();
    std::vector<std::string> order = {"<Count>3</Count>",
                                      "<File-0>",
                                      "<Path>C:\\Rec\\Record-002.mp3</Path>",
                                      "<File-1>",
                                      "<Path>C:\\Rec\\Record-000.mp3</Path>",
                                      "<File-2>",
                                      "<Path>D:\\\xC3\x9C"
                                      "ber &amp; &lt;Co&gt;\\take #1.wav</Path>"};
    size_t at = 0;
    for (const std::string& part : order)
    {
        size_t found = xml.find(part, at);
        ASSERT_NE(std::string::npos, found) << part << " in " << xml;
        at = found + part.size();
    }

    std::vector<CString> back = Loaded(List());
    ASSERT_EQ(3u, back.size());
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_EQ(paths[(INT_PTR)i], back[i]);

    // A shorter list replaces the longer one; its old entries are not read.
    paths.RemoveAt(1, 2);
    CStoredFileList::Save(List(), paths);
    EXPECT_EQ(1u, Loaded(List()).size());
}

TEST_F(StoredFileListTest, MissingAndBrokenFilesGiveNoPaths)
{
    EXPECT_TRUE(Loaded(List()).empty());
    EXPECT_TRUE(Loaded(Write("<Files><Count>3</Count><File-0><Path>C:\\a.mp3</Path>")).empty());
    EXPECT_TRUE(Loaded(Write("")).empty());
    EXPECT_TRUE(
        Loaded(Write("<Files><Count>-4</Count><File-0><Path>C:\\a.mp3</Path></File-0></Files>")).empty());
    EXPECT_TRUE(
        Loaded(Write("<Files><Count>many</Count><File-0><Path>C:\\a.mp3</Path></File-0></Files>")).empty());
    EXPECT_TRUE(
        Loaded(Write("<Other><Count>1</Count><File-0><Path>C:\\a.mp3</Path></File-0></Other>")).empty());

    // Entities that expand a billion times are not expanded.
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE Files [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
    {
        laughs += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            laughs += "&l" + std::to_string(i - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><Files><Count>1</Count><File-0><Path>&l9;</Path></File-0></Files>";
    std::vector<CString> expanded = Loaded(Write(laughs));
    EXPECT_TRUE(expanded.empty() || expanded[0].GetLength() < 1000000);
}

TEST_F(StoredFileListTest, ACountBeyondTheEntriesStopsAtTheEntriesPresent)
{
    // Billions of absent entries would each be looked up in turn.
    std::vector<CString> forged = Loaded(Write("<Files><Count>2147483647</Count>"
                                               "<File-0><Path>C:\\a.mp3</Path></File-0>"
                                               "<File-1><Path>C:\\b.mp3</Path></File-1></Files>"));
    ASSERT_EQ(2u, forged.size());
    EXPECT_EQ(CString(_T("C:\\b.mp3")), forged[1]);

    // One entry numbered near the top of the count: the numbers between are
    // never looked up (the hang watch ends a load that walks them).
    std::vector<CString> distant = Loaded(Write("<Files><Count>2147483647</Count>"
                                                "<File-2000000000><Path>C:\\far.mp3</Path></File-2000000000>"
                                                "</Files>"));
    ASSERT_EQ(1u, distant.size());
    EXPECT_EQ(CString(_T("C:\\far.mp3")), distant[0]);

    // The entries' numbers give the order, whatever the document's order.
    std::vector<CString> shuffled = Loaded(Write("<Files><Count>3</Count>"
                                                 "<File-2><Path>C:\\c.mp3</Path></File-2>"
                                                 "<File-0><Path>C:\\a.mp3</Path></File-0>"
                                                 "<File-1><Path>C:\\b.mp3</Path></File-1></Files>"));
    ASSERT_EQ(3u, shuffled.size());
    EXPECT_EQ(CString(_T("C:\\a.mp3")), shuffled[0]);
    EXPECT_EQ(CString(_T("C:\\c.mp3")), shuffled[2]);

    // Gaps, entries without a path and strangers are passed over; entries
    // beyond the count are not read.
    std::vector<CString> gaps = Loaded(Write("<Files><Count>5</Count>"
                                             "<File-0><Path>C:\\a.mp3</Path></File-0>"
                                             "<File-2><Path>C:\\c.mp3</Path></File-2>"
                                             "<File-3></File-3>"
                                             "<File-x><Path>C:\\x.mp3</Path></File-x>"
                                             "<File-99999999999><Path>C:\\y.mp3</Path></File-99999999999>"
                                             "<File-4><Path>C:\\e.mp3</Path></File-4>"
                                             "<File-5><Path>C:\\f.mp3</Path></File-5></Files>"));
    ASSERT_EQ(3u, gaps.size());
    EXPECT_EQ(CString(_T("C:\\a.mp3")), gaps[0]);
    EXPECT_EQ(CString(_T("C:\\c.mp3")), gaps[1]);
    EXPECT_EQ(CString(_T("C:\\e.mp3")), gaps[2]);
}

}  // namespace
