// p7dump <file.p7d>...: prints trace files as UTF-8 text, one line per
// record. Exit code 0 when every file read cleanly, otherwise the reader's
// result for the last file that did not (2 not a trace file, 3 truncated,
// 4 corrupt, 1 cannot open); 64 for bad usage, 65 when the library is missing.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tracelog/P7Trace.h"

namespace {

std::string Utf8(const WCHAR* text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return std::string();
    std::string out(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    return out;
}

BOOL __cdecl PrintLine(void*, const WCHAR* line)
{
    std::string text = Utf8(line);
    text.push_back('\n');
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

}  // namespace

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
    {
        std::fputs("usage: p7dump <file.p7d>...\n", stderr);
        return 64;
    }
    HMODULE library = LoadLibraryW(P7_LIBRARY_NAME);
    auto dump = library ? reinterpret_cast<P7_Dump_File_Proc>(
                              reinterpret_cast<void*>(GetProcAddress(library, "P7_Dump_File")))
                        : nullptr;
    if (!dump)
    {
        std::fputs("p7dump: P7x64.dll or its reader is missing\n", stderr);
        return 65;
    }
    int exitCode = 0;
    for (int i = 1; i < argc; ++i)
    {
        if (argc > 2)
            std::printf("== %s\n", Utf8(argv[i]).c_str());
        LONG result = dump(argv[i], &PrintLine, nullptr);
        if (result != P7_DUMP_OK)
        {
            std::fprintf(stderr, "p7dump: %s: %s\n", Utf8(argv[i]).c_str(),
                         result == P7_DUMP_CANNOT_OPEN        ? "cannot open"
                         : result == P7_DUMP_NOT_A_TRACE_FILE ? "not a trace file"
                         : result == P7_DUMP_TRUNCATED        ? "truncated"
                         : result == P7_DUMP_CORRUPT          ? "corrupt"
                                                              : "not read");
            exitCode = static_cast<int>(result);
        }
    }
    std::fflush(stdout);
    FreeLibrary(library);
    LocalFree(argv);
    return exitCode;
}
