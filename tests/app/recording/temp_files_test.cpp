// The driver's folder listing and path splitting, and how it finds the
// temporary file the engine may be writing.
#include "recording_test_support.h"

#include "app/recording/TempFiles.h"

using namespace app_test;

namespace {

void Touch(const std::string& unixPath)
{
    FILE* f = fopen(unixPath.c_str(), "w");
    if (f)
        fclose(f);
}

TEST(TempFiles, OnlyTemporaryFilesThatAppearedAfterTheStartAreNew)
{
    ScratchFolder folder;
    Touch(folder.unix + "/temp_old.tmp");
    Touch(folder.unix + "/Record-000.wav");
    CStringArray before;
    ListFiles(folder.windows, _T("temp_*.tmp"), before);
    ASSERT_EQ(1, before.GetSize());
    EXPECT_EQ(folder.windows + _T("temp_old.tmp"), before[0]);

    Touch(folder.unix + "/temp_new.tmp");
    CStringArray after;
    ListFiles(folder.windows, _T("temp_*.tmp"), after);
    EXPECT_EQ(2, after.GetSize());
    RemoveListedFiles(after, before);
    ASSERT_EQ(1, after.GetSize());
    EXPECT_EQ(folder.windows + _T("temp_new.tmp"), after[0]);

    CStringArray none;
    ListFiles(folder.windows, _T("nothing_*.tmp"), none);
    EXPECT_EQ(0, none.GetSize());
}

TEST(TempFiles, SplitPathGivesItsPartsAndAppendsIntoARepeatedString)
{
    CString drive, dir, name, ext;
    SplitPath(_T("C:\\Music\\Rec\\Record-000.mp3"), &drive, &dir, &name, &ext);
    EXPECT_EQ(CString(_T("C:")), drive);
    EXPECT_EQ(CString(_T("\\Music\\Rec\\")), dir);
    EXPECT_EQ(CString(_T("Record-000")), name);
    EXPECT_EQ(CString(_T(".mp3")), ext);

    CString folder(_T("stale"));
    SplitPath(_T("C:\\Music\\Rec\\Record-000.mp3"), &folder, &folder, nullptr, nullptr);
    EXPECT_EQ(CString(_T("C:\\Music\\Rec\\")), folder);

    CString onlyFolder;
    SplitPath(_T("Record-000.mp3"), &onlyFolder, &onlyFolder, &name, nullptr);
    EXPECT_TRUE(onlyFolder.IsEmpty());
    EXPECT_EQ(CString(_T("Record-000")), name);
}

}  // namespace
