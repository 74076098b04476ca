#include "sondrel_gtest.h"

#include "tests/tracelog/trace_test_support.h"
#include "tracelog/P7File.h"

using namespace tracelog;
using namespace tracetest;

namespace {

std::string Named(uint16_t channel, uint16_t id, const char16_t* name, bool withId32 = false,
                  uint32_t id32 = 0)
{
    Encoder e;
    e.U16(channel);
    e.U16(id);
    if (withId32)
        e.U32(id32);
    std::u16string n(name);
    e.Text(n.data(), n.size());
    return e.Data();
}

std::string Line(uint32_t thread, uint16_t channel, uint16_t module, uint16_t line, const char* file,
                 const char* function, const std::u16string& text)
{
    Encoder e;
    e.U64(132000000000000000ull);
    e.U32(thread);
    e.U16(channel);
    e.U16(0);
    e.U16(module);
    e.U16(line);
    e.U8(2);
    e.U8(0);
    e.U16(static_cast<uint16_t>(strlen(file)));
    e.U16(static_cast<uint16_t>(strlen(function)));
    e.U16(0);
    e.U32(static_cast<uint32_t>(text.size()));
    e.Bytes(file, strlen(file));
    e.Bytes(function, strlen(function));
    e.Text(text.data(), text.size());
    return e.Data();
}

std::string SampleFile()
{
    std::string file = EncodeFileHeader(132000000000000000ull, 77, 1);
    AppendRecord(file, kRecordChannel, Named(1, 0, u"Core"));
    AppendRecord(file, kRecordThread, Named(1, 0, u"Main", true, 42));
    AppendRecord(file, kRecordModule, Named(1, 1, u"App"));
    AppendRecord(file, static_cast<RecordType>(99), "future record");
    AppendRecord(file, kRecordLine, Line(42, 1, 1, 593, "app.cpp", "CApp::Run", u"first\r\nline"));
    AppendRecord(file, kRecordLine, Line(43, 1, 0, 7, "b.cpp", "F", u"second"));
    return file;
}

struct Dump
{
    LONG result = -1;
    std::vector<std::string> lines;
    size_t stopAfter = SIZE_MAX;
};

BOOL __cdecl Collect(void* context, const WCHAR* line)
{
    Dump* dump = static_cast<Dump*>(context);
    dump->lines.push_back(Narrow(reinterpret_cast<const char16_t*>(line)));
    return dump->lines.size() < dump->stopAfter;
}

Dump DumpBytes(const std::string& bytes, size_t stopAfter = SIZE_MAX)
{
    ScratchFolder folder("reader");
    std::u16string path = folder.Path() + u"sample.p7d";
    WriteBytes(path, bytes);
    Dump dump;
    dump.stopAfter = stopAfter;
    dump.result = DumpTraceFile(path.c_str(), &Collect, &dump);
    return dump;
}

}  // namespace

TEST(TraceReader, ReadsEveryRecordKind)
{
    Dump dump = DumpBytes(SampleFile());
    ASSERT_EQ(dump.result, P7_DUMP_OK);
    ASSERT_EQ(dump.lines.size(), 6u);
    EXPECT_NE(dump.lines[0].find("process 77, file 1"), std::string::npos);
    EXPECT_EQ(dump.lines[1], "# channel 1: Core");
    EXPECT_EQ(dump.lines[2], "# thread 42: Main (channel Core)");
    EXPECT_EQ(dump.lines[3], "# module 1: App (channel Core)");
    // Names resolved, line breaks escaped, unknown thread shown by number.
    EXPECT_NE(dump.lines[4].find("\tCore\tMain\tApp\tINFO\tapp.cpp:593\tCApp::Run\tfirst\\r\\nline"),
              std::string::npos);
    EXPECT_NE(dump.lines[5].find("\tCore\t43\t-\tINFO\tb.cpp:7\tF\tsecond"), std::string::npos);
}

TEST(TraceReader, DamagedFilesAreReportedNotFatal)
{
    const std::string good = SampleFile();

    // Cut inside the last record: what came before is still dumped.
    Dump cut = DumpBytes(good.substr(0, good.size() - 5));
    EXPECT_EQ(cut.result, P7_DUMP_TRUNCATED);
    ASSERT_EQ(cut.lines.size(), 6u);
    EXPECT_NE(cut.lines[4].find("first"), std::string::npos);
    EXPECT_NE(cut.lines.back().find("# error: truncated record at offset"), std::string::npos);

    // Cut inside a record head.
    EXPECT_EQ(DumpBytes(good.substr(0, kFileHeaderSize + 5)).result, P7_DUMP_TRUNCATED);
    EXPECT_EQ(DumpBytes(good.substr(0, 20)).result, P7_DUMP_TRUNCATED);

    // A flipped byte in a payload fails its checksum.
    std::string flipped = good;
    flipped[flipped.size() - 3] ^= 0x40;
    EXPECT_EQ(DumpBytes(flipped).result, P7_DUMP_CORRUPT);

    // A damaged file header.
    std::string header = good;
    header[10] ^= 1;
    EXPECT_EQ(DumpBytes(header).result, P7_DUMP_CORRUPT);

    // An absurd record size is refused before anything is allocated.
    std::string huge = EncodeFileHeader(1, 1, 1);
    Encoder head;
    head.U16(kRecordLine);
    head.U16(0);
    head.U32(0xFFFFFFF0u);
    head.U32(0);
    huge += head.Data();
    EXPECT_EQ(DumpBytes(huge).result, P7_DUMP_CORRUPT);

    // A line whose inner lengths disagree with its size, checksum intact.
    std::string bad = EncodeFileHeader(1, 1, 1);
    std::string line = Line(1, 1, 0, 1, "f", "g", u"text");
    line[28] = 100;  // text length
    AppendRecord(bad, kRecordLine, line);
    EXPECT_EQ(DumpBytes(bad).result, P7_DUMP_CORRUPT);

    EXPECT_EQ(DumpBytes("").result, P7_DUMP_NOT_A_TRACE_FILE);
    EXPECT_EQ(DumpBytes("this is plain text, not a trace").result, P7_DUMP_NOT_A_TRACE_FILE);
    std::string future = good;
    future[4] = 9;
    EXPECT_EQ(DumpBytes(future).result, P7_DUMP_NOT_A_TRACE_FILE);
}

TEST(TraceReader, ArgumentsAndStopping)
{
    Dump dump;
    EXPECT_EQ(DumpTraceFile(u"C:\\no such folder\\none.p7d", &Collect, &dump), P7_DUMP_CANNOT_OPEN);
    EXPECT_EQ(DumpTraceFile(nullptr, &Collect, &dump), P7_DUMP_BAD_ARGUMENT);
    EXPECT_EQ(DumpTraceFile(u"x.p7d", nullptr, nullptr), P7_DUMP_BAD_ARGUMENT);

    Dump stopped = DumpBytes(SampleFile(), 2);
    EXPECT_EQ(stopped.result, P7_DUMP_STOPPED);
    EXPECT_EQ(stopped.lines.size(), 2u);
}
