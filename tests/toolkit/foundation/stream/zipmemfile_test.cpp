// The zip memory file with the framework's archive, and ZIP archives read
// from memory, damaged ones included.
#include <afxwin.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/stream/QVTZipMemFile.h"

#include "zip_bytes.h"

namespace {
using zipbytes::Bytes;
using zipbytes::MakeZip;
using zipbytes::ZipEntry;

std::string ReadEntry(HQVTZIPARCHIVE hArchive, const char* pszName, BOOL* pbResult = nullptr)
{
    BYTE* pData = nullptr;
    DWORD nSize = 0;
    BOOL bResult = QVTZipReadEntry(hArchive, pszName, &pData, &nSize);
    if (pbResult != nullptr)
        *pbResult = bResult;
    if (!bResult)
    {
        EXPECT_EQ(pData, nullptr);
        return std::string();
    }
    EXPECT_EQ(pData[nSize], 0);  // one zero byte after the entry
    std::string str(reinterpret_cast<char*>(pData), nSize);
    std::free(pData);
    return str;
}
}  // namespace

TEST(ZipMemFile, ArchivesRoundTripThroughDetachedBuffers)
{
    CQVTZipMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << CString(u"layout") << 42;
        ar.Close();
    }
    BYTE* pBuffer = nullptr;
    DWORD nLength = 0;
    file.DetachBuffer(pBuffer, nLength);
    ASSERT_NE(pBuffer, nullptr);
    EXPECT_GT(nLength, 0u);
    EXPECT_EQ(file.GetLength(), 0u);

    {
        CQVTZipMemFile reader(pBuffer, nLength);
        CArchive ar(&reader, CArchive::load);
        CString str;
        int n = 0;
        ar >> str >> n;
        EXPECT_EQ(str, CString(u"layout"));
        EXPECT_EQ(n, 42);
    }
    // The reader did not own the buffer: it is still ours to free.
    std::free(pBuffer);

    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strPath = CString(szTemp) + u"sondrel_zipmem.bin";
    {
        CFile out(strPath, CFile::modeCreate | CFile::modeWrite);
        out.Write("abcdef", 6);
    }
    CQVTZipMemFile loaded;
    ASSERT_TRUE(loaded.LoadFile(strPath));
    EXPECT_EQ(loaded.GetLength(), 6u);
    char szRead[7] = {};
    EXPECT_EQ(loaded.Read(szRead, 6), 6u);
    EXPECT_STREQ(szRead, "abcdef");
    ::DeleteFileW(strPath);
    EXPECT_FALSE(loaded.LoadFile(strPath));

    loaded.SetFilePath(u"layout.bin");
    EXPECT_EQ(loaded.GetFilePath(), CString(u"layout.bin"));
    bool bThrown = false;
    try
    {
        loaded.SetFilePath(nullptr);
    }
    catch (CInvalidArgException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(ZipArchive, ReadsStoredAndDeflatedEntriesByNameIgnoringCase)
{
    const std::string strMarkup(5000, 'x');
    Bytes zip = MakeZip({{"Frame/BorderLeft.xaml", "<Border/>", false},
                         {"Frame/ButtonClose.xaml", strMarkup, true},
                         {"empty.txt", "", false}});
    HQVTZIPARCHIVE hArchive = QVTZipOpenArchive(zip.data(), static_cast<DWORD>(zip.size()));
    ASSERT_NE(hArchive, nullptr);
    EXPECT_EQ(ReadEntry(hArchive, "frame/borderleft.XAML"), "<Border/>");
    EXPECT_EQ(ReadEntry(hArchive, "Frame/ButtonClose.xaml"), strMarkup);
    BOOL bResult = FALSE;
    EXPECT_EQ(ReadEntry(hArchive, "empty.txt", &bResult), "");
    EXPECT_TRUE(bResult);
    ReadEntry(hArchive, "Frame/Missing.xaml", &bResult);
    EXPECT_FALSE(bResult);
    QVTZipCloseArchive(hArchive);
}

TEST(ZipArchive, DamagedArchivesAndEntriesAreRefused)
{
    EXPECT_EQ(QVTZipOpenArchive(nullptr, 10), nullptr);
    const char garbage[] = "this is no zip archive at all";
    EXPECT_EQ(QVTZipOpenArchive(garbage, sizeof(garbage)), nullptr);
    Bytes good = MakeZip({{"a.txt", "hello", true}});
    // Without its end record.
    EXPECT_EQ(QVTZipOpenArchive(good.data(), static_cast<DWORD>(good.size() - 25)), nullptr);

    ZipEntry badCrc{"crc.txt", "hello hello", true};
    badCrc.bBadCrc = true;
    ZipEntry bomb{"bomb.txt", std::string(1000, 'z'), true};
    bomb.nClaimedSize = 0x7FFFFFFF;
    ZipEntry longer{"long.txt", "abcdef", false};
    longer.nClaimedSize = 3;
    ZipEntry shorter{"short.txt", "abc", true};
    shorter.nClaimedSize = 300;
    Bytes zip = MakeZip({badCrc, bomb, longer, shorter});
    HQVTZIPARCHIVE hArchive = QVTZipOpenArchive(zip.data(), static_cast<DWORD>(zip.size()));
    ASSERT_NE(hArchive, nullptr);
    for (const char* pszName : {"crc.txt", "bomb.txt", "long.txt", "short.txt"})
    {
        BOOL bResult = TRUE;
        ReadEntry(hArchive, pszName, &bResult);
        EXPECT_FALSE(bResult) << pszName;
    }
    QVTZipCloseArchive(hArchive);
    QVTZipCloseArchive(nullptr);
}
