// The ".p7d" trace file: a compact binary format of our own.
//
// All numbers are little-endian; text in lines is UTF-16LE, source file and
// function names are narrow (as the compiler gives them).
//
// File header, 32 bytes:
//    0  char[4] magic "P7DT"
//    4  u16     format version (1)
//    6  u16     header size (32)
//    8  u64     creation time (FILETIME, UTC)
//   16  u32     process id
//   20  u32     number of this file in the writer's rolling set (1, 2, ...)
//   24  u32     reserved, 0
//   28  u32     CRC-32 of bytes 0..27
//
// Records follow, each a 12-byte head and a payload:
//    0  u16     type
//    2  u16     reserved, 0
//    4  u32     payload size (at most kMaxPayload)
//    8  u32     CRC-32 of the payload
//
// Payloads by type:
//   1 process   u32 pid, then the program's path (UTF-16, rest of payload)
//   2 channel   u16 channel id, u16 0, then the channel name (UTF-16, rest)
//   3 thread    u16 channel, u16 0, u32 thread id, then its name (UTF-16, rest)
//   4 thread end u16 channel, u16 0, u32 thread id
//   5 module    u16 channel, u16 module id, then its name (UTF-16, rest)
//   6 line      u64 time (FILETIME, UTC), u32 thread id, u16 channel,
//               u16 trace id, u16 module id (0 = none), u16 source line,
//               u8 level, u8 0, u16 file name bytes, u16 function name bytes,
//               u16 0, u32 text length in UTF-16 units; then the file name,
//               the function name and the text.
// Every file repeats the process, channel, thread and module records that
// are still live when it starts, so each file reads on its own. Unknown
// record types are skipped by their size, so the format can grow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tracelog/P7Trace.h"

namespace tracelog {

constexpr char kFileMagic[4] = {'P', '7', 'D', 'T'};
constexpr uint16_t kFormatVersion = 1;
constexpr uint32_t kFileHeaderSize = 32;
constexpr uint32_t kRecordHeadSize = 12;
constexpr uint32_t kMaxPayload = 1u << 20;
constexpr uint32_t kLineFixedSize = 32;
// Longest line text kept, in UTF-16 units; longer text is cut.
constexpr uint32_t kMaxLineText = 65536;

enum RecordType : uint16_t
{
    kRecordProcess = 1,
    kRecordChannel = 2,
    kRecordThread = 3,
    kRecordThreadEnd = 4,
    kRecordModule = 5,
    kRecordLine = 6,
};

uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

// Little-endian writer of payloads.
class Encoder
{
public:
    void U8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void U64(uint64_t v);
    void Bytes(const void* data, size_t size) { bytes_.append(static_cast<const char*>(data), size); }
    void Text(const char16_t* text, size_t units);
    const std::string& Data() const { return bytes_; }
    std::string& Data() { return bytes_; }

private:
    std::string bytes_;
};

std::string EncodeFileHeader(uint64_t created, uint32_t processId, uint32_t fileNumber);
// Appends head and payload of one record.
void AppendRecord(std::string& out, RecordType type, const std::string& payload);

// Reads a .p7d file and calls onLine for each text line of the dump.
LONG DumpTraceFile(const char16_t* path, P7DumpLineProc onLine, void* context);

}  // namespace tracelog
