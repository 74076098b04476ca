// CFile, CMemFile, CStdioFile and CFileFind on real files in a scratch folder.
#include <afx.h>
#include <algorithm>
#include <string>
#include <vector>
#include "sondrel_gtest.h"

namespace {

std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out.push_back(text[i] < 0x80 ? static_cast<char>(text[i]) : '?');
    return out;
}

std::vector<BYTE> ReadAll(LPCTSTR path)
{
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

void WriteAll(LPCTSTR path, const std::string& bytes)
{
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

std::vector<BYTE> BytesOf(const std::string& text)
{
    return std::vector<BYTE>(text.begin(), text.end());
}

}  // namespace

// A fresh folder under the temporary folder, removed afterwards.
class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TCHAR temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        m_dir.Format(_T("%ssondrel_files_%lu_%lu"), temp, ::GetCurrentProcessId(), ::GetTickCount());
        ASSERT_TRUE(::CreateDirectoryW(m_dir, nullptr));
    }
    void TearDown() override
    {
        CFileFind finder;
        BOOL more = finder.FindFile(m_dir + _T("\\*"));
        while (more)
        {
            more = finder.FindNextFile();
            if (finder.IsDots())
                continue;
            if (finder.IsDirectory())
                ::RemoveDirectoryW(finder.GetFilePath());
            else
            {
                ::SetFileAttributesW(finder.GetFilePath(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(finder.GetFilePath());
            }
        }
        finder.Close();
        ::RemoveDirectoryW(m_dir);
    }
    CString Path(LPCTSTR name) const { return m_dir + _T("\\") + name; }

    CString m_dir;
};

TEST_F(FilesTest, FileOpenReadWriteSeekAndLength)
{
    CString path = Path(_T("data.bin"));
    {
        CFile file;
        CFileException error;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite, &error));
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetLength(), 10u);
        EXPECT_EQ(file.GetPosition(), 10u);
        EXPECT_EQ(file.Seek(-4, CFile::current), 6u);
        char buffer[8] = {};
        EXPECT_EQ(file.Read(buffer, 8), 4u);
        EXPECT_EQ(std::string(buffer, 4), "6789");
        EXPECT_EQ(file.Read(buffer, 8), 0u);
        file.SeekToBegin();
        EXPECT_EQ(file.SeekToEnd(), 10u);
        file.SetLength(4);
        EXPECT_EQ(file.GetLength(), 4u);
        EXPECT_EQ(Narrow(file.GetFileName()), "data.bin");
        EXPECT_EQ(Narrow(file.GetFileTitle()), "data");
        EXPECT_TRUE(file.GetFilePath().CompareNoCase(path) == 0) << Narrow(file.GetFilePath());
        CFileStatus status;
        EXPECT_TRUE(file.GetStatus(status));
        EXPECT_EQ(status.m_size, 4u);
        EXPECT_GT(status.m_mtime.GetTime(), 0);
        try
        {
            file.Seek(-100, CFile::begin);
            ADD_FAILURE() << "negative seek accepted";
        }
        catch (CFileException* e)
        {
            EXPECT_EQ(e->m_cause, CFileException::badSeek);
            e->Delete();
        }
        file.Close();
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    }
    EXPECT_EQ(ReadAll(path), BytesOf("0123"));

    // modeNoTruncate keeps the content; modeCreate alone empties the file.
    {
        CFile file(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.SeekToEnd();
        file.Write("45", 2);
    }
    EXPECT_EQ(ReadAll(path), BytesOf("012345"));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_TRUE(ReadAll(path).empty());
}

TEST_F(FilesTest, FailuresReportTheirCause)
{
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(Path(_T("missing.txt")), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Narrow(error.m_strFileName), Narrow(Path(_T("missing.txt"))));
    EXPECT_FALSE(file.Open(Path(_T("no\\such\\dir.txt")), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open(Path(_T("x")), CFile::modeRead, nullptr));

    try
    {
        CFile thrown(Path(_T("missing.txt")), CFile::modeRead);
        ADD_FAILURE() << "opened a missing file";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }

    // A file held with shareDenyWrite cannot be opened for writing again.
    CString shared = Path(_T("shared.txt"));
    WriteAll(shared, "abc");
    CFile reader(shared, CFile::modeRead | CFile::shareDenyWrite);
    EXPECT_FALSE(file.Open(shared, CFile::modeWrite | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    reader.Close();
    EXPECT_TRUE(file.Open(shared, CFile::modeWrite | CFile::shareDenyNone, &error));
    file.Close();

    try
    {
        CFile::Remove(Path(_T("missing.txt")));
        ADD_FAILURE() << "removed a missing file";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }
}

TEST_F(FilesTest, StaticRenameRemoveAndStatus)
{
    CString from = Path(_T("a.txt"));
    CString to = Path(_T("b.txt"));
    WriteAll(from, "hello");
    CFile::Rename(from, to);
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus(from, status));
    ASSERT_TRUE(CFile::GetStatus(to, status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_EQ(status.m_attribute & CFile::directory, 0);
    EXPECT_TRUE(CString(status.m_szFullName).CompareNoCase(to) == 0);

    CTime stamp(2021, 5, 6, 7, 8, 10);
    status.m_mtime = stamp;
    status.m_attribute = CFile::readOnly;
    CFile::SetStatus(to, status);
    CFileStatus after;
    ASSERT_TRUE(CFile::GetStatus(to, after));
    EXPECT_EQ(after.m_mtime, stamp);
    EXPECT_TRUE(after.m_attribute & CFile::readOnly);
    status.m_attribute = CFile::normal;
    CFile::SetStatus(to, status);
    CFile::Remove(to);
    EXPECT_FALSE(CFile::GetStatus(to, status));

    ASSERT_TRUE(CFile::GetStatus(m_dir, status));
    EXPECT_TRUE(status.m_attribute & CFile::directory);
}

TEST(MemFileTest, GrowthSeekingAndFixedBuffers)
{
    CMemFile file(16);
    for (int i = 0; i < 100; ++i)
    {
        BYTE b = static_cast<BYTE>(i);
        file.Write(&b, 1);
    }
    EXPECT_EQ(file.GetLength(), 100u);
    file.Seek(50, CFile::begin);
    BYTE buffer[100];
    EXPECT_EQ(file.Read(buffer, 100), 50u);
    EXPECT_EQ(buffer[0], 50);
    EXPECT_EQ(buffer[49], 99);

    // Seeking past the end and writing leaves zeros in the gap.
    file.Seek(10, CFile::end);
    file.Write("x", 1);
    EXPECT_EQ(file.GetLength(), 111u);
    file.Seek(100, CFile::begin);
    EXPECT_EQ(file.Read(buffer, 20), 11u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[9], 0);
    EXPECT_EQ(buffer[10], 'x');
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.GetPosition(), 5u);
    try
    {
        file.Seek(-6, CFile::current);
        ADD_FAILURE() << "negative seek accepted";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }
    BYTE* owned = file.Detach();
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(owned[4], 4);
    free(owned);
    EXPECT_EQ(file.GetLength(), 0u);

    // A caller's fixed buffer is the whole file and cannot grow.
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile over(fixed, sizeof fixed);
    EXPECT_EQ(over.GetLength(), 4u);
    over.Write("\x09", 1);
    EXPECT_EQ(fixed[0], 9);
    over.SeekToEnd();
    try
    {
        over.Write("z", 1);
        ADD_FAILURE() << "fixed buffer grew";
    }
    catch (CMemoryException* e)
    {
        e->Delete();
    }
    EXPECT_EQ(over.Detach(), fixed);

    // Direct buffer access, as archives may use it.
    CMemFile direct;
    EXPECT_EQ(direct.GetBufferPtr(CFile::bufferCheck), static_cast<UINT>(CFile::bufferDirect));
    void* start = nullptr;
    void* end = nullptr;
    EXPECT_EQ(direct.GetBufferPtr(CFile::bufferWrite, 8, &start, &end), 8u);
    std::memcpy(start, "abcdefgh", 8);
    direct.GetBufferPtr(CFile::bufferCommit, 8);
    EXPECT_EQ(direct.GetLength(), 8u);
    direct.SeekToBegin();
    EXPECT_EQ(direct.GetBufferPtr(CFile::bufferRead, 100, &start, &end), 8u);
    EXPECT_EQ(std::string(static_cast<char*>(start), 8), "abcdefgh");
}

TEST_F(FilesTest, StdioTextModesAndLines)
{
    // Text mode: ANSI bytes, LF written as CR LF.
    CString ansiPath = Path(_T("ansi.txt"));
    {
        CStdioFile file(ansiPath, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        file.WriteString(_T("one\ntwo\n"));
        file.WriteString(_T("three"));
    }
    EXPECT_EQ(ReadAll(ansiPath), BytesOf("one\r\ntwo\r\nthree"));
    {
        CStdioFile file(ansiPath, CFile::modeRead | CFile::typeText);
        CString line;
        std::vector<std::string> lines;
        while (file.ReadString(line))
            lines.push_back(Narrow(line));
        EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three"}));
    }

    // Characters of the ANSI code page survive the round trip.
    CString accented(_T("caf\u00e9 \u00fc"));
    {
        CStdioFile file(ansiPath, CFile::modeCreate | CFile::modeWrite);
        file.WriteString(accented + _T("\n"));
    }
    {
        char expected[32];
        int count =
            ::WideCharToMultiByte(CP_ACP, 0, accented, accented.GetLength(), expected, 32, nullptr, nullptr);
        std::string bytes(expected, static_cast<size_t>(count));
        EXPECT_EQ(ReadAll(ansiPath), BytesOf(bytes + "\r\n"));
        CStdioFile file(ansiPath, CFile::modeRead);
        CString line;
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_TRUE(line == accented);
        EXPECT_FALSE(file.ReadString(line));
    }

    // Lone carriage returns stay; CR CR LF is a CR and a line end; Ctrl+Z ends text.
    WriteAll(ansiPath, std::string("a\rb\r\r\nc\n\nd\x1A"
                                   "ignored"));
    {
        CStdioFile file(ansiPath, CFile::modeRead);
        CString line;
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(Narrow(line), "a\rb\r");
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(Narrow(line), "c");
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(Narrow(line), "");
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(Narrow(line), "d");
        EXPECT_FALSE(file.ReadString(line));
    }

    // The buffer form keeps the line feed and splits long lines.
    WriteAll(ansiPath, "abcdef\r\ngh");
    {
        CStdioFile file(ansiPath, CFile::modeRead);
        TCHAR buffer[5];
        ASSERT_NE(file.ReadString(buffer, 5), nullptr);
        EXPECT_EQ(Narrow(buffer), "abcd");
        ASSERT_NE(file.ReadString(buffer, 5), nullptr);
        EXPECT_EQ(Narrow(buffer), "ef\n");
        EXPECT_EQ(file.GetPosition(), 8u);
        ASSERT_NE(file.ReadString(buffer, 5), nullptr);
        EXPECT_EQ(Narrow(buffer), "gh");
        EXPECT_EQ(file.ReadString(buffer, 5), nullptr);
    }

    // Unicode text: a byte-order mark, UTF-16 characters, CR LF line ends.
    CString unicodePath = Path(_T("unicode.txt"));
    {
        CStdioFile file(unicodePath, CFile::modeCreate | CFile::modeWrite | CFile::typeUnicode);
        file.WriteString(_T("\u263A\n"));
    }
    EXPECT_EQ(ReadAll(unicodePath), (std::vector<BYTE>{0xFF, 0xFE, 0x3A, 0x26, '\r', 0, '\n', 0}));
    {
        CStdioFile file(unicodePath, CFile::modeRead | CFile::typeUnicode);
        CString line;
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_TRUE(line == CString(_T("\u263A")));
        EXPECT_FALSE(file.ReadString(line));
    }

    // Unicode text marked as UTF-8 is read as UTF-8.
    WriteAll(unicodePath, "\xEF\xBB\xBF"
                          "gr\xC3\xBC\xC3\x9F\r\n\xF0\x9F\x8E\xA4");
    {
        CStdioFile file(unicodePath, CFile::modeRead | CFile::typeUnicode);
        CString line;
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_TRUE(line == CString(_T("gr\u00fc\u00df")));
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_TRUE(line == CString(_T("\U0001F3A4")));
        EXPECT_FALSE(file.ReadString(line));
    }

    // Binary: UTF-16 as it is, no translation and no mark.
    CString binaryPath = Path(_T("binary.txt"));
    {
        CStdioFile file(binaryPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString(_T("x\r\ny\n"));
    }
    EXPECT_EQ(ReadAll(binaryPath), (std::vector<BYTE>{'x', 0, '\r', 0, '\n', 0, 'y', 0, '\n', 0}));
    {
        CStdioFile file(binaryPath, CFile::modeRead | CFile::typeBinary);
        CString line;
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_EQ(Narrow(line), "x\r");
        // Raw reads continue where the lines stopped.
        WCHAR ch[2] = {};
        EXPECT_EQ(file.Read(ch, 2), 2u);
        EXPECT_EQ(ch[0], 'y');
    }
}

TEST_F(FilesTest, FindFileWalksMatches)
{
    WriteAll(Path(_T("one.txt")), "1");
    WriteAll(Path(_T("two.txt")), "22");
    WriteAll(Path(_T("other.dat")), "333");
    ASSERT_TRUE(::CreateDirectoryW(Path(_T("sub")), nullptr));

    CFileFind finder;
    std::vector<std::string> names;
    BOOL more = finder.FindFile(m_dir + _T("\\*.txt"));
    EXPECT_TRUE(more);
    while (more)
    {
        more = finder.FindNextFile();
        names.push_back(Narrow(finder.GetFileName()));
        EXPECT_FALSE(finder.IsDirectory());
        EXPECT_TRUE(finder.GetFilePath().CompareNoCase(m_dir + _T("\\") + finder.GetFileName()) == 0);
        EXPECT_TRUE(finder.GetRoot().CompareNoCase(m_dir) == 0) << Narrow(finder.GetRoot());
        EXPECT_EQ(finder.GetLength(), finder.GetFileName() == _T("one.txt") ? 1u : 2u);
        CTime written;
        EXPECT_TRUE(finder.GetLastWriteTime(written));
        EXPECT_GT(written.GetTime(), 0);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"one.txt", "two.txt"}));
    // The last file stays current after FindNextFile said there is no more.
    EXPECT_FALSE(finder.GetFileName().IsEmpty());
    EXPECT_FALSE(finder.FindNextFile());

    int dots = 0;
    int directories = 0;
    more = finder.FindFile(m_dir + _T("\\*"));
    while (more)
    {
        more = finder.FindNextFile();
        if (finder.IsDots())
            ++dots;
        else if (finder.IsDirectory())
            ++directories;
    }
    EXPECT_EQ(dots, 2);
    EXPECT_EQ(directories, 1);

    more = finder.FindFile(m_dir + _T("\\other.dat"));
    ASSERT_TRUE(more);
    finder.FindNextFile();
    EXPECT_EQ(Narrow(finder.GetFileTitle()), "other");
    EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_ARCHIVE) || finder.MatchesMask(FILE_ATTRIBUTE_NORMAL));

    EXPECT_FALSE(finder.FindFile(m_dir + _T("\\*.none")));
    EXPECT_FALSE(finder.FindNextFile());
}
