// Stream locations, read-only streams over files, memory and resources, and
// text decoding by byte-order mark.
#include <afxwin.h>

#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/stream/QVTStreams.h"
#include "toolkit/foundation/stream/QVTTextDecoder.h"

namespace {
typedef std::vector<BYTE> Bytes;

CString ProgramFile()
{
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    return CString(szPath);
}

CString ProgramFolder()
{
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecW(szPath);
    return CString(szPath);
}

Bytes ReadAll(IStream* pStream)
{
    Bytes bytes;
    BYTE buffer[256];
    ULONG nRead = 0;
    while (SUCCEEDED(pStream->Read(buffer, sizeof(buffer), &nRead)) && nRead > 0)
        bytes.insert(bytes.end(), buffer, buffer + nRead);
    return bytes;
}

Bytes ResourceBytes(LPCWSTR lpszName, LPCWSTR lpszType)
{
    HMODULE hModule = ::GetModuleHandleW(nullptr);
    HRSRC hResource = ::FindResourceW(hModule, lpszName, lpszType);
    if (hResource == nullptr)
        return Bytes();
    const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hResource)));
    return Bytes(p, p + ::SizeofResource(hModule, hResource));
}

Bytes OpenLocation(LPCWSTR lpszText, LPCWSTR lpszType = nullptr, HRESULT* phr = nullptr)
{
    QVTStreamLocation location;
    HRESULT hr = ParseStreamUrl(lpszText, &location, lpszType);
    IStream* pStream = nullptr;
    if (SUCCEEDED(hr))
        hr = CreateStreamFromLocation(&location, &pStream);
    if (phr != nullptr)
        *phr = hr;
    if (FAILED(hr))
        return Bytes();
    Bytes bytes = ReadAll(pStream);
    pStream->Release();
    return bytes;
}

CString Decode(const Bytes& bytes, DWORD nBuffer = 64, BOOL* pbResult = nullptr)
{
    std::vector<WCHAR> buffer(nBuffer + 1, u'#');
    DWORD nLength = nBuffer;
    static const BYTE kNothing = 0;
    const BYTE* pBytes = bytes.empty() ? &kNothing : bytes.data();
    BOOL bResult = DecodeTextToWide(pBytes, static_cast<DWORD>(bytes.size()), buffer.data(), &nLength);
    // The unit after the buffer it was given stays untouched.
    EXPECT_EQ(buffer[nBuffer], u'#');
    if (pbResult != nullptr)
        *pbResult = bResult;
    if (!bResult)
        return CString(u"<failed>");
    EXPECT_EQ(buffer[nLength], 0);
    return CString(buffer.data(), static_cast<int>(nLength));
}
}  // namespace

TEST(StreamLocation, ParsesResourceAndFileLocations)
{
    QVTStreamLocation location;
    ASSERT_EQ(ParseStreamUrl(u"res://./PNG/LOGO", &location), S_OK);
    EXPECT_EQ(location.nKind, QVTStreamLocation::kindResource);
    EXPECT_EQ(CString(location.szPath), ProgramFile());
    EXPECT_EQ(CString(location.lpszType), CString(u"PNG"));
    EXPECT_EQ(CString(location.lpszName), CString(u"LOGO"));

    ASSERT_EQ(ParseStreamUrl(u"res://LOGO.png", &location), S_OK);
    EXPECT_EQ(CString(location.lpszType), CString(u"PNG"));
    EXPECT_EQ(CString(location.szPath), ProgramFile());
    ASSERT_EQ(ParseStreamUrl(u"res://page.htm", &location), S_OK);
    EXPECT_EQ(location.lpszType, MAKEINTRESOURCEW(23));

    ASSERT_EQ(ParseStreamUrl(u"res://#120", &location, u"PNG"), S_OK);
    EXPECT_EQ(location.lpszName, MAKEINTRESOURCEW(120));
    EXPECT_EQ(CString(location.lpszType), CString(u"PNG"));

    // Module, numeric type and name; a relative module lies beside the program.
    ASSERT_EQ(ParseStreamUrl(u"res://lang.dll/2/7", &location), S_OK);
    EXPECT_EQ(CString(location.szPath), ProgramFolder() + u"\\lang.dll");
    EXPECT_EQ(location.lpszType, MAKEINTRESOURCEW(2));
    EXPECT_EQ(location.lpszName, MAKEINTRESOURCEW(7));

    // A number from 1 to 65535 is an integer id, any other is a text name;
    // after '#' a number outside that range names nothing.
    const struct
    {
        LPCWSTR lpszText;
        HRESULT hr;
        LPCWSTR lpszType;  // an id when below 0x10000
        LPCWSTR lpszName;
    } numbers[] = {
        {u"res://./PNG/65535", S_OK, u"PNG", MAKEINTRESOURCEW(65535)},
        {u"res://./PNG/65536", S_OK, u"PNG", u"65536"},
        {u"res://./PNG/1", S_OK, u"PNG", MAKEINTRESOURCEW(1)},
        {u"res://./PNG/0", S_OK, u"PNG", u"0"},
        {u"res://./65535/N", S_OK, MAKEINTRESOURCEW(65535), u"N"},
        {u"res://./65536/N", S_OK, u"65536", u"N"},
        {u"res://./0/N", S_OK, u"0", u"N"},
        {u"res://#65535", S_OK, u"PNG", MAKEINTRESOURCEW(65535)},
        {u"res://#65536", HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND)},
        {u"res://#0", HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND)},
    };
    auto same = [](LPCWSTR a, LPCWSTR b) {
        return IS_INTRESOURCE(a) || IS_INTRESOURCE(b) ? a == b : CString(a) == b;
    };
    for (const auto& c : numbers)
    {
        SCOPED_TRACE(CStringA(c.lpszText).GetString());
        location = QVTStreamLocation();
        ASSERT_EQ(ParseStreamUrl(c.lpszText, &location, u"PNG"), c.hr);
        if (FAILED(c.hr))
            continue;
        EXPECT_TRUE(same(location.lpszType, c.lpszType));
        EXPECT_TRUE(same(location.lpszName, c.lpszName))
            << (IS_INTRESOURCE(location.lpszName) ? "an id" : "a text name");
    }

    // A copy points into its own buffers.
    ASSERT_EQ(ParseStreamUrl(u"res://./PNG/LOGO", &location), S_OK);
    QVTStreamLocation copy = location;
    location = QVTStreamLocation();
    EXPECT_EQ(copy.lpszName, copy.szName);
    EXPECT_EQ(CString(copy.lpszName), CString(u"LOGO"));

    ASSERT_EQ(ParseStreamUrl(u"images\\a.png", &location), S_OK);
    EXPECT_EQ(location.nKind, QVTStreamLocation::kindFile);
    EXPECT_EQ(CString(location.szPath), ProgramFolder() + u"\\images\\a.png");
    ASSERT_EQ(ParseStreamUrl(u"file://C:\\data\\b.png", &location), S_OK);
    EXPECT_EQ(CString(location.szPath), CString(u"C:\\data\\b.png"));
}

TEST(StreamLocation, RefusesMalformedLocations)
{
    QVTStreamLocation location;
    EXPECT_EQ(ParseStreamUrl(nullptr, &location), E_POINTER);
    EXPECT_EQ(ParseStreamUrl(u"res://x", nullptr), E_POINTER);
    EXPECT_EQ(ParseStreamUrl(u"res://dir\\name", &location), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    CString strLong(u'n', 50);
    EXPECT_EQ(ParseStreamUrl(u"res://" + strLong, &location), HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(ParseStreamUrl(u"res://./" + strLong + u"/NAME", &location),
              HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW));
    CString strPath(u'p', 300);
    EXPECT_EQ(ParseStreamUrl(strPath, &location), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(ParseStreamUrl(u"res://" + strPath + u"/PNG/LOGO", &location),
              HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW));
    location.nKind = 7;
    IStream* pStream = nullptr;
    EXPECT_EQ(CreateStreamFromLocation(&location, &pStream), E_INVALIDARG);
}

TEST(Streams, ResourceLocationsReadTheResourceBytes)
{
    const Bytes logo = ResourceBytes(u"LOGO", u"PNG");
    ASSERT_EQ(logo.size(), 71u);
    EXPECT_EQ(OpenLocation(u"res://./PNG/LOGO"), logo);
    EXPECT_EQ(OpenLocation(u"res://LOGO.png"), logo);
    EXPECT_EQ(OpenLocation(u"res://#120", u"PNG"), logo);
    EXPECT_EQ(OpenLocation(u"res://./PNG/65535"), logo);
    // Without a type the module's types are searched for the name.
    EXPECT_EQ(OpenLocation(u"res://" + ProgramFile() + u"/NOTYPE"), logo);

    HRESULT hr = S_OK;
    EXPECT_TRUE(OpenLocation(u"res://./PNG/MISSING", nullptr, &hr).empty());
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_TRUE(OpenLocation(u"res://missing.dll/PNG/LOGO", nullptr, &hr).empty());
    EXPECT_TRUE(FAILED(hr));
}

TEST(Streams, StreamsAreReadOnly)
{
    const Bytes data = {1, 2, 3, 4, 5};
    for (BOOL bCopy : {FALSE, TRUE})
    {
        IStream* pStream = nullptr;
        ASSERT_EQ(CreateStreamOnMemory(data.data(), 5, bCopy, &pStream), S_OK);
        ULONG nWritten = 99;
        EXPECT_EQ(pStream->Write("xx", 2, &nWritten), E_ACCESSDENIED);
        EXPECT_EQ(nWritten, 0u);
        ULARGE_INTEGER size;
        size.QuadPart = 1;
        EXPECT_EQ(pStream->SetSize(size), E_ACCESSDENIED);
        EXPECT_EQ(pStream->Commit(0), E_ACCESSDENIED);
        EXPECT_EQ(pStream->Revert(), E_ACCESSDENIED);
        EXPECT_EQ(ReadAll(pStream), data);

        IStream* pSame = nullptr;
        ASSERT_EQ(pStream->QueryInterface(IID_IStream, reinterpret_cast<void**>(&pSame)), S_OK);
        EXPECT_EQ(pSame, pStream);
        pSame->Release();

        // A clone is wrapped too (the shell's memory stream cannot clone).
        LARGE_INTEGER zero = {};
        pStream->Seek(zero, STREAM_SEEK_SET, nullptr);
        IStream* pClone = nullptr;
        HRESULT hr = pStream->Clone(&pClone);
        if (bCopy)
        {
            ASSERT_EQ(hr, S_OK);
        }
        if (SUCCEEDED(hr))
        {
            EXPECT_EQ(pClone->Write("xx", 2, nullptr), E_ACCESSDENIED);
            EXPECT_EQ(ReadAll(pClone), data);
            pClone->Release();
        }
        STATSTG stat = {};
        ASSERT_EQ(pStream->Stat(&stat, STATFLAG_NONAME), S_OK);
        EXPECT_EQ(stat.cbSize.QuadPart, 5u);
        EXPECT_EQ(pStream->Release(), 0u);
    }
}

TEST(Streams, FileStreamsReadTheFile)
{
    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strPath = CString(szTemp) + u"sondrel_stream_test.bin";
    const Bytes data = {'s', 'o', 'n', 'd', 'r', 'e', 'l'};
    {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        file.Write(data.data(), static_cast<UINT>(data.size()));
    }
    EXPECT_EQ(OpenLocation(u"file://" + strPath), data);
    IStream* pStream = nullptr;
    ASSERT_EQ(CreateStreamOnFile(strPath, &pStream), S_OK);
    EXPECT_EQ(pStream->Write("x", 1, nullptr), E_ACCESSDENIED);
    pStream->Release();
    ::DeleteFileW(strPath);
    HRESULT hr = S_OK;
    EXPECT_TRUE(OpenLocation(strPath, nullptr, &hr).empty());
    EXPECT_TRUE(FAILED(hr));
}

TEST(TextDecoder, HonoursByteOrderMarksAndFallsBackToAnsi)
{
    EXPECT_EQ(Decode({0xEF, 0xBB, 0xBF, 'A', 'B'}), CString(u"AB"));
    EXPECT_EQ(Decode({0xEF, 0xBB, 0xBF, 0xD0, 0x96, 0, 'x'}), CString(u"Ж"));
    EXPECT_EQ(Decode({0xFF, 0xFE, 'A', 0}), CString(u"A"));
    EXPECT_EQ(Decode({0xFF, 0xFE, 'A', 0, 0, 0, 'B', 0}), CString(u"A"));
    EXPECT_EQ(Decode({'p', 'l', 'a', 'i', 'n'}), CString(u"plain"));
    EXPECT_EQ(Decode({}), CString());

    BOOL bResult = FALSE;
    // The marks' shortest forms: three bytes for UTF-16 (half a unit after the
    // mark is nothing), four for UTF-8.
    EXPECT_EQ(Decode({0xFF, 0xFE, 'A'}, 64, &bResult), CString());
    EXPECT_TRUE(bResult);
    EXPECT_EQ(Decode({0xEF, 0xBB, 0xBF, 'A'}), CString(u"A"));

    // Five characters need a buffer of six.
    Decode({'p', 'l', 'a', 'i', 'n'}, 5, &bResult);
    EXPECT_FALSE(bResult);
    EXPECT_EQ(Decode({'p', 'l', 'a', 'i', 'n'}, 6), CString(u"plain"));
    // The same for UTF-16: two characters and the terminator need three.
    Decode({0xFF, 0xFE, 'A', 0, 'B', 0}, 2, &bResult);
    EXPECT_FALSE(bResult);
    EXPECT_EQ(Decode({0xFF, 0xFE, 'A', 0, 'B', 0}, 3), CString(u"AB"));
    Decode({0xEF, 0xBB, 0xBF, 0}, 8, &bResult);
    EXPECT_FALSE(bResult);
    DWORD nLength = 4;
    WCHAR szBuffer[4];
    EXPECT_FALSE(DecodeTextToWide(nullptr, 3, szBuffer, &nLength));
    EXPECT_FALSE(DecodeTextToWide("abc", 3, nullptr, &nLength));
    EXPECT_FALSE(DecodeTextToWide("abc", 3, szBuffer, nullptr));
}
