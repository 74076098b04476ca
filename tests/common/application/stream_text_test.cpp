// Streams read whole as text in each code page rule, and resources as
// streams.
#include "sondrel_gtest.h"

#include <string>

#include "common/StreamText.h"
#include "tests/common/common_test_support.h"

namespace {

// A stream over a copy of the bytes; released by the caller.
IStream* StreamOf(const std::string& bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
    void* p = GlobalLock(memory);
    memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(memory, TRUE, &stream);
    ULARGE_INTEGER size;
    size.QuadPart = bytes.size();
    stream->SetSize(size);
    return stream;
}

CString Read(const std::string& bytes, UINT codePage = STREAM_TEXT_DETECT, HRESULT* pResult = nullptr)
{
    IStream* stream = StreamOf(bytes);
    CString text = _T("<untouched>");
    HRESULT hr = ReadStreamText(stream, codePage, text);
    stream->Release();
    if (pResult)
        *pResult = hr;
    return text;
}

// The bytes as the system's ANSI code page reads them.
CString Ansi(const char* bytes)
{
    WCHAR text[64] = {};
    MultiByteToWideChar(CP_ACP, 0, bytes, -1, text, 64);
    return text;
}

// A stream that claims more bytes than it gives.
class ShortStream : public IStream
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        ULONG n = cb < 3 ? cb : 3;
        memset(pv, 'a', n);
        *pcbRead = n;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        memset(stat, 0, sizeof(*stat));
        stat->cbSize.QuadPart = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }
    ULONGLONG size = 10;
};

}  // namespace

TEST(StreamText, CodePagesAndByteOrderMarks)
{
    // The mark decides, on an even count for UTF-16.
    EXPECT_EQ(Read(std::string("\xFF\xFE"
                               "A\0",
                               4)),
              CString(_T("A")));
    EXPECT_EQ(Read(std::string("\xFF\xFE"
                               "A",
                               3)),
              CString(_T("\x00FF\x00FE"
                         "A")));
    EXPECT_EQ(Read("\xEF\xBB\xBF"
                   "caf\xC3\xA9"),
              CString(_T("caf\x00E9")));
    EXPECT_EQ(Read("caf\xE9"), Ansi("caf\xE9"));
    // Code pages given by the caller.
    EXPECT_EQ(Read("caf\xE9", 0), Ansi("caf\xE9"));
    EXPECT_EQ(Read("caf\xE9", 1), Ansi("caf\xE9"));
    EXPECT_EQ(Read(std::string("h\0i\0", 4), 1200), CString(_T("hi")));
    EXPECT_EQ(Read("\xCF\xF0\xE8", 1251), CString(_T("\x041F\x0440\x0438")));
    EXPECT_EQ(Read("\xC3\xA9", CP_UTF8), CString(_T("\x00E9")));
    // The text ends at its first zero; an empty stream is an empty text.
    EXPECT_EQ(Read(std::string("ab\0cd", 5), 1252), CString(_T("ab")));
    HRESULT hr = E_FAIL;
    EXPECT_EQ(Read("", STREAM_TEXT_DETECT, &hr), CString());
    EXPECT_EQ(hr, S_OK);
}

TEST(StreamText, StreamsThatFailAreRefused)
{
    CString text = _T("kept");
    EXPECT_EQ(ReadStreamText(nullptr, text), E_FAIL);
    ShortStream shortStream;
    EXPECT_EQ(ReadStreamText(&shortStream, text), E_FAIL);
    shortStream.size = 0x7FFFFFFFFFFFull;  // far more than any text
    EXPECT_EQ(ReadStreamText(&shortStream, text), E_FAIL);
    EXPECT_EQ(text, CString(_T("kept")));
}

TEST(StreamText, ResourcesAsStreams)
{
    IStream* stream = nullptr;
    ASSERT_EQ(LoadResourceStream(nullptr, MAKEINTRESOURCE(101), _T("TEXTFILE"), &stream), S_OK);
    CString text;
    EXPECT_EQ(ReadStreamText(stream, CP_UTF8, text), S_OK);
    EXPECT_EQ(text, CString(_T("Hello \x00E9 from a resource")));
    stream->Release();
    EXPECT_EQ(LoadResourceStream(nullptr, MAKEINTRESOURCE(102), _T("TEXTFILE"), &stream), E_FAIL);
    EXPECT_EQ(stream, nullptr);
}
