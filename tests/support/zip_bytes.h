// ZIP archives written byte by byte for the readers' tests, with headers
// that may lie about sizes and checksums.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/foundation/stream/QVTNativeHeadersBegin.h"
#include <zlib.h>
#include "toolkit/foundation/stream/QVTNativeHeadersEnd.h"

namespace zipbytes {
typedef std::vector<BYTE> Bytes;

struct ZipEntry
{
    std::string strName;
    std::string strData;
    bool bDeflate;
    // Header lies for the damage cases.
    long nClaimedSize = -1;
    bool bBadCrc = false;
};

inline void Put16(Bytes& out, DWORD n)
{
    out.push_back(BYTE(n));
    out.push_back(BYTE(n >> 8));
}

inline void Put32(Bytes& out, DWORD n)
{
    Put16(out, n & 0xFFFF);
    Put16(out, n >> 16);
}

inline Bytes RawDeflate(const std::string& data)
{
    z_stream stream = {};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, data.size()) + 16);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

inline Bytes MakeZip(const std::vector<ZipEntry>& entries)
{
    Bytes out, central;
    for (const ZipEntry& entry : entries)
    {
        Bytes packed =
            entry.bDeflate ? RawDeflate(entry.strData) : Bytes(entry.strData.begin(), entry.strData.end());
        DWORD crc = crc32(0, reinterpret_cast<const Bytef*>(entry.strData.data()),
                          static_cast<uInt>(entry.strData.size()));
        if (entry.bBadCrc)
            crc ^= 0x5A5A5A5A;
        DWORD nSize = entry.nClaimedSize >= 0 ? static_cast<DWORD>(entry.nClaimedSize)
                                              : static_cast<DWORD>(entry.strData.size());
        DWORD nOffset = static_cast<DWORD>(out.size());
        Put32(out, 0x04034B50);
        Put16(out, 20);
        Put16(out, 0);
        Put16(out, entry.bDeflate ? 8 : 0);
        Put32(out, 0);
        Put32(out, crc);
        Put32(out, static_cast<DWORD>(packed.size()));
        Put32(out, nSize);
        Put16(out, static_cast<DWORD>(entry.strName.size()));
        Put16(out, 0);
        out.insert(out.end(), entry.strName.begin(), entry.strName.end());
        out.insert(out.end(), packed.begin(), packed.end());

        Put32(central, 0x02014B50);
        Put16(central, 20);
        Put16(central, 20);
        Put16(central, 0);
        Put16(central, entry.bDeflate ? 8 : 0);
        Put32(central, 0);
        Put32(central, crc);
        Put32(central, static_cast<DWORD>(packed.size()));
        Put32(central, nSize);
        Put16(central, static_cast<DWORD>(entry.strName.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, nOffset);
        central.insert(central.end(), entry.strName.begin(), entry.strName.end());
    }
    DWORD nCentral = static_cast<DWORD>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<DWORD>(entries.size()));
    Put16(out, static_cast<DWORD>(entries.size()));
    Put32(out, static_cast<DWORD>(central.size()));
    Put32(out, nCentral);
    Put16(out, 0);
    return out;
}

}  // namespace zipbytes
