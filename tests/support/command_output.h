// What a Linux command prints, for tests that read the files they wrote
// with native tools (ffprobe) or change the sound server (pactl); and what
// a Linux file holds.
#pragma once

#include <cstdio>
#include <string>

// The command's standard output, run by the shell; empty when it cannot
// be started.
inline std::string CommandOutput(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadUnixFile(const std::string& path)
{
    std::string data;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return data;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        data.append(buffer, n);
    fclose(file);
    return data;
}
