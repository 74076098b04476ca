// The local HTTP server the download tests talk to, started per test from
// tests/support/http_test_server.py on 127.0.0.1 at a free port, with its
// files in a folder of its own under /tmp (Z: for this process).
#pragma once

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/command_output.h"

namespace downloadtest {

inline bool WriteUnixFile(const std::string& path, const std::string& data)
{
    FILE* pFile = fopen(path.c_str(), "wb");
    if (pFile == nullptr)
        return false;
    bool bOk = fwrite(data.data(), 1, data.size(), pFile) == data.size();
    return fclose(pFile) == 0 && bOk;
}

// The SHA-256 of a file by a native tool: the oracle for what arrived.
inline std::string Sha256Of(const std::string& unixPath)
{
    std::string out = CommandOutput("sha256sum '" + unixPath + "'");
    return out.substr(0, out.find(' '));
}

// Bytes that differ at every position of a few kilobytes, so that a piece
// written at a wrong offset changes the digest.
inline std::string MakePayload(size_t nSize, unsigned nSeed)
{
    std::string data(nSize, '\0');
    unsigned x = nSeed * 2654435761u + 1;
    for (size_t i = 0; i < nSize; ++i)
    {
        x = x * 1103515245u + 12345u;
        data[i] = static_cast<char>(x >> 16);
    }
    return data;
}

class TestServer
{
public:
    // The payload is written into the server's folder; the installer is
    // served from the given file (the payload when empty).
    explicit TestServer(const std::string& payload, const std::string& installerFile = std::string())
    {
        char szTemplate[] = "/tmp/sondrel_download_XXXXXX";
        m_folder = mkdtemp(szTemplate);
        WriteUnixFile(m_folder + "/payload.bin", payload);
        std::string installer =
            installerFile.empty() ? m_folder + "/payload.bin" : m_folder + "/served-installer.exe";
        if (!installerFile.empty())
            WriteUnixFile(installer, ReadUnixFile(installerFile));
        std::string command = "python3 '" SONDREL_SOURCE_DIR
                              "/tests/support/http_test_server.py' --payload '" +
                              m_folder + "/payload.bin' --installer '" + installer + "' --upload-dir '" +
                              m_folder + "' --log '" + m_folder + "/requests.log' --port-file '" + m_folder +
                              "/port' --parent " + std::to_string(getpid()) + " >/dev/null 2>&1 &";
        system(command.c_str());
        for (int i = 0; i < 200 && m_nPort == 0; ++i)
        {
            std::string port = ReadUnixFile(m_folder + "/port");
            if (!port.empty())
                m_nPort = atoi(port.c_str());
            else
                usleep(50000);
        }
    }
    ~TestServer()
    {
        if (m_nPort != 0)
            CommandOutput("python3 -c \"import urllib.request; urllib.request.urlopen('" + Url("/quit") +
                          "', timeout=5)\" >/dev/null 2>&1");
        // The server removes its port file once it no longer listens.
        for (int i = 0; i < 100 && !ReadUnixFile(m_folder + "/port").empty(); ++i)
            usleep(50000);
        CommandOutput("rm -rf '" + m_folder + "'");
    }

    int Port() const { return m_nPort; }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_nPort) + path;
    }
    const std::string& Folder() const { return m_folder; }
    // The folder as this Wine process names it.
    std::string WindowsFolder() const
    {
        std::string folder = "Z:" + m_folder;
        for (char& c : folder)
            if (c == '/')
                c = '\\';
        return folder;
    }
    std::string PayloadDigest() const { return Sha256Of(m_folder + "/payload.bin"); }

    // The Range header of every GET of a file, in order ("" for none).
    std::vector<std::string> FileRequestRanges() const
    {
        std::vector<std::string> ranges;
        std::string log = ReadUnixFile(m_folder + "/requests.log");
        size_t p = 0;
        while ((p = log.find("\"method\": \"GET\"", p)) != std::string::npos)
        {
            size_t nEnd = log.find('\n', p);
            std::string line = log.substr(p, nEnd - p);
            p = nEnd;
            if (line.find("/quit") != std::string::npos)
                continue;
            size_t r = line.find("\"range\": ");
            std::string value = line.substr(r + 9);
            ranges.push_back(value.compare(0, 4, "null") == 0 ? std::string()
                                                              : value.substr(1, value.find('"', 1) - 1));
        }
        return ranges;
    }

private:
    std::string m_folder;
    int m_nPort = 0;
};

}  // namespace downloadtest
