// What a Linux command prints, for tests that read the files they wrote
// with native tools (ffprobe) or change the sound server (pactl); and what
// a Linux file holds.
#pragma once

#include <cstdio>
#include <string>

// Everything the stream gives until its end.
inline std::string ReadToEnd(FILE* stream)
{
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, stream)) > 0)
        data.append(buffer, n);
    return data;
}

// The command's standard output, run by the shell; empty when it cannot
// be started.
inline std::string CommandOutput(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::string();
    std::string out = ReadToEnd(pipe);
    pclose(pipe);
    return out;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadUnixFile(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return std::string();
    std::string data = ReadToEnd(file);
    fclose(file);
    return data;
}
