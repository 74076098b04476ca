#include "tracelog/P7File.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "tracelog/WideFormat.h"

namespace tracelog {

uint32_t Crc32(const void* data, size_t size, uint32_t crc)
{
    static const auto table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t i = 0; i < 256; ++i)
        {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    const unsigned char* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Encoder::U16(uint16_t v)
{
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
}

void Encoder::U32(uint32_t v)
{
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
}

void Encoder::U64(uint64_t v)
{
    U32(static_cast<uint32_t>(v));
    U32(static_cast<uint32_t>(v >> 32));
}

void Encoder::Text(const char16_t* text, size_t units)
{
    for (size_t i = 0; i < units; ++i)
        U16(static_cast<uint16_t>(text[i]));
}

std::string EncodeFileHeader(uint64_t created, uint32_t processId, uint32_t fileNumber)
{
    Encoder e;
    e.Bytes(kFileMagic, 4);
    e.U16(kFormatVersion);
    e.U16(static_cast<uint16_t>(kFileHeaderSize));
    e.U64(created);
    e.U32(processId);
    e.U32(fileNumber);
    e.U32(0);
    e.U32(Crc32(e.Data().data(), e.Data().size()));
    return e.Data();
}

void AppendRecord(std::string& out, RecordType type, const std::string& payload)
{
    Encoder head;
    head.U16(type);
    head.U16(0);
    head.U32(static_cast<uint32_t>(payload.size()));
    head.U32(Crc32(payload.data(), payload.size()));
    out += head.Data();
    out += payload;
}

namespace {

uint16_t Get16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const unsigned char* p)
{
    return Get16(p) | (static_cast<uint32_t>(Get16(p + 2)) << 16);
}
uint64_t Get64(const unsigned char* p)
{
    return Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}

std::u16string GetText(const unsigned char* p, size_t units)
{
    std::u16string s(units, u'\0');
    for (size_t i = 0; i < units; ++i)
        s[i] = static_cast<char16_t>(Get16(p + 2 * i));
    return s;
}

std::u16string Ascii(const char* text)
{
    std::u16string s;
    while (*text)
        s.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text++)));
    return s;
}

std::u16string Number(unsigned long long v)
{
    char buf[32];
    std::snprintf(buf, sizeof(buf), "%llu", v);
    return Ascii(buf);
}

std::u16string Time(uint64_t fileTime)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(fileTime);
    ft.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&ft, &st))
        return u"(bad time)";
    char buf[48];
    std::snprintf(buf, sizeof(buf), "%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay,
                  st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    return Ascii(buf);
}

// Line breaks inside a text would split a dump line.
std::u16string OneLine(const std::u16string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text)
    {
        if (c == u'\r')
            out += u"\\r";
        else if (c == u'\n')
            out += u"\\n";
        else if (c == 0)
            out += u"\\0";
        else
            out.push_back(c);
    }
    return out;
}

const char16_t* LevelName(uint8_t level)
{
    static const char16_t* const names[] = {u"TRACE", u"DEBUG", u"INFO", u"WARNING", u"ERROR", u"CRITICAL"};
    return level < 6 ? names[level] : u"LEVEL?";
}

class Reader
{
public:
    Reader(P7DumpLineProc onLine, void* context) : onLine_(onLine), context_(context) {}

    LONG Run(const char16_t* path)
    {
        HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
        {
            Emit(u"# error: cannot open the file");
            return P7_DUMP_CANNOT_OPEN;
        }
        LONG result = ReadAll(file);
        CloseHandle(file);
        return result;
    }

private:
    bool Emit(const std::u16string& line)
    {
        if (stopped_)
            return false;
        if (!onLine_(context_, reinterpret_cast<const WCHAR*>(line.c_str())))
            stopped_ = true;
        return !stopped_;
    }

    // Reads exactly size bytes; returns how many were there.
    size_t Read(HANDLE file, void* buffer, size_t size)
    {
        size_t total = 0;
        while (total < size)
        {
            DWORD got = 0;
            if (!ReadFile(file, static_cast<char*>(buffer) + total, static_cast<DWORD>(size - total), &got,
                          nullptr) ||
                got == 0)
                break;
            total += got;
        }
        offset_ += total;
        return total;
    }

    LONG Fail(LONG code, const char* what, unsigned long long at)
    {
        char buf[160];
        std::snprintf(buf, sizeof(buf), "# error: %s at offset %llu", what, at);
        Emit(Ascii(buf));
        return stopped_ ? P7_DUMP_STOPPED : code;
    }

    LONG ReadAll(HANDLE file)
    {
        unsigned char header[kFileHeaderSize];
        size_t got = Read(file, header, sizeof(header));
        if (got < 8 || std::memcmp(header, kFileMagic, 4) != 0)
            return Fail(P7_DUMP_NOT_A_TRACE_FILE, "not a trace file", 0);
        if (Get16(header + 4) != kFormatVersion)
            return Fail(P7_DUMP_NOT_A_TRACE_FILE, "unsupported format version", 4);
        if (got < sizeof(header))
            return Fail(P7_DUMP_TRUNCATED, "truncated file header", got);
        if (Get16(header + 6) != kFileHeaderSize || Crc32(header, 28) != Get32(header + 28))
            return Fail(P7_DUMP_CORRUPT, "damaged file header", 0);
        char buf[160];
        std::snprintf(buf, sizeof(buf), "# trace file, format %u, process %u, file %u, created ",
                      Get16(header + 4), Get32(header + 16), Get32(header + 20));
        if (!Emit(Ascii(buf) + Time(Get64(header + 8)) + u" UTC"))
            return P7_DUMP_STOPPED;

        std::vector<unsigned char> payload;
        for (;;)
        {
            unsigned long long recordOffset = offset_;
            unsigned char head[kRecordHeadSize];
            got = Read(file, head, sizeof(head));
            if (got == 0)
                return P7_DUMP_OK;
            if (got < sizeof(head))
                return Fail(P7_DUMP_TRUNCATED, "truncated record", recordOffset);
            uint16_t type = Get16(head);
            uint32_t size = Get32(head + 4);
            if (size > kMaxPayload)
                return Fail(P7_DUMP_CORRUPT, "impossible record size", recordOffset);
            payload.resize(size);
            if (Read(file, payload.data(), size) < size)
                return Fail(P7_DUMP_TRUNCATED, "truncated record", recordOffset);
            if (Crc32(payload.data(), size) != Get32(head + 8))
                return Fail(P7_DUMP_CORRUPT, "damaged record (checksum)", recordOffset);
            if (!Decode(type, payload.data(), size))
                return stopped_ ? P7_DUMP_STOPPED : Fail(P7_DUMP_CORRUPT, "malformed record", recordOffset);
        }
    }

    std::u16string ChannelName(uint16_t channel) const
    {
        auto it = channels_.find(channel);
        return it != channels_.end() ? it->second : u"#" + Number(channel);
    }

    bool Decode(uint16_t type, const unsigned char* p, uint32_t size)
    {
        switch (type)
        {
        case kRecordProcess:
            if (size < 4 || (size - 4) % 2)
                return false;
            return Emit(u"# process " + Number(Get32(p)) + u": " + GetText(p + 4, (size - 4) / 2));
        case kRecordChannel:
        {
            if (size < 4 || (size - 4) % 2)
                return false;
            uint16_t id = Get16(p);
            channels_[id] = GetText(p + 4, (size - 4) / 2);
            return Emit(u"# channel " + Number(id) + u": " + channels_[id]);
        }
        case kRecordThread:
        {
            if (size < 8 || (size - 8) % 2)
                return false;
            uint16_t channel = Get16(p);
            uint32_t id = Get32(p + 4);
            threads_[{channel, id}] = GetText(p + 8, (size - 8) / 2);
            return Emit(u"# thread " + Number(id) + u": " + threads_[{channel, id}] + u" (channel " +
                        ChannelName(channel) + u")");
        }
        case kRecordThreadEnd:
        {
            if (size < 8)
                return false;
            uint16_t channel = Get16(p);
            uint32_t id = Get32(p + 4);
            threads_.erase({channel, id});
            return Emit(u"# thread " + Number(id) + u" ended (channel " + ChannelName(channel) + u")");
        }
        case kRecordModule:
        {
            if (size < 4 || (size - 4) % 2)
                return false;
            uint16_t channel = Get16(p);
            uint16_t id = Get16(p + 2);
            modules_[{channel, id}] = GetText(p + 4, (size - 4) / 2);
            return Emit(u"# module " + Number(id) + u": " + modules_[{channel, id}] + u" (channel " +
                        ChannelName(channel) + u")");
        }
        case kRecordLine:
            return DecodeLine(p, size);
        default:
            return true;  // a newer record kind: skipped
        }
    }

    bool DecodeLine(const unsigned char* p, uint32_t size)
    {
        if (size < kLineFixedSize)
            return false;
        uint64_t time = Get64(p);
        uint32_t thread = Get32(p + 8);
        uint16_t channel = Get16(p + 12);
        uint16_t module = Get16(p + 16);
        uint16_t line = Get16(p + 18);
        uint8_t level = p[20];
        uint16_t fileBytes = Get16(p + 22);
        uint16_t functionBytes = Get16(p + 24);
        uint32_t textUnits = Get32(p + 28);
        uint64_t need = uint64_t(kLineFixedSize) + fileBytes + functionBytes + uint64_t(textUnits) * 2;
        if (need != size)
            return false;
        const unsigned char* s = p + kLineFixedSize;
        std::u16string file = FromUtf8(reinterpret_cast<const char*>(s), fileBytes);
        std::u16string function = FromUtf8(reinterpret_cast<const char*>(s + fileBytes), functionBytes);
        std::u16string text = GetText(s + fileBytes + functionBytes, textUnits);

        auto t = threads_.find({channel, thread});
        std::u16string threadName = t != threads_.end() ? t->second : Number(thread);
        std::u16string moduleName = u"-";
        if (module)
        {
            auto m = modules_.find({channel, module});
            moduleName = m != modules_.end() ? m->second : u"#" + Number(module);
        }
        std::u16string out = Time(time);
        out += u"\t" + ChannelName(channel) + u"\t" + threadName + u"\t" + moduleName + u"\t" +
               LevelName(level) + u"\t" + file + u":" + Number(line) + u"\t" + function + u"\t" +
               OneLine(text);
        return Emit(out);
    }

    P7DumpLineProc onLine_;
    void* context_;
    bool stopped_ = false;
    unsigned long long offset_ = 0;
    std::map<uint16_t, std::u16string> channels_;
    std::map<std::pair<uint16_t, uint32_t>, std::u16string> threads_;
    std::map<std::pair<uint16_t, uint16_t>, std::u16string> modules_;
};

}  // namespace

LONG DumpTraceFile(const char16_t* path, P7DumpLineProc onLine, void* context)
{
    if (!path || !onLine)
        return P7_DUMP_BAD_ARGUMENT;
    Reader reader(onLine, context);
    return reader.Run(path);
}

}  // namespace tracelog
