// The option string of a trace client, e.g.
//   /P7.Dir=C:\Users\Ann Lee\Logs\ /P7.Sink=FileBin /P7.Pool=32768 /P7.Files=5 /P7.Roll=50mb
//
// Syntax, chosen to survive what callers actually pass:
// - an option is "P7.<Key>=<value>", with or without a leading '/' or '-',
//   at the start of the string or after white space; keys ignore case;
// - a value runs up to the next option, so a folder may hold spaces; a value
//   in double quotes runs to the closing quote; every other value is its
//   first word;
// - an empty or malformed value, an unknown key and stray words are ignored
//   (the default stays); a repeated key takes its last value.
// Keys: Dir (folder of the files; default the program's folder), Sink (only
// "FileBin"; any other name makes the client fail), Pool (bytes buffered in
// memory, 4 KB to 16 MB), Files (files kept in the folder, 1 to 4096),
// Roll (size at which a new file starts: a number with b, kb, mb or gb,
// 4 KB to 2 GB). "On" is accepted and has no effect: this library always writes.
#pragma once

#include <cstdint>
#include <string>

namespace tracelog {

struct ClientOptions
{
    static constexpr uint32_t kDefaultPool = 32768;
    static constexpr uint32_t kDefaultFiles = 10;
    static constexpr uint64_t kDefaultRoll = 50ull * 1024 * 1024;

    std::u16string directory;  // empty: the program's folder
    std::u16string sink = u"FileBin";
    uint32_t poolBytes = kDefaultPool;
    uint32_t maxFiles = kDefaultFiles;
    uint64_t rollBytes = kDefaultRoll;

    bool SinkSupported() const;
};

ClientOptions ParseClientOptions(const char16_t* text);

// "50mb" -> 52428800; false for anything that is not a number with an
// optional unit, or that overflows.
bool ParseByteSize(const std::u16string& text, uint64_t& bytes);

}  // namespace tracelog
