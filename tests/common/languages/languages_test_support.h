// Shared by the language tests: COM for the DOM, the data folders beside
// the test program and a file writer.
#pragma once

#include <windows.h>

#include <string>

#include "test_app.h"
#include "tests/tracelog/trace_test_support.h"

// The folder of this test program, with a trailing backslash.
inline std::u16string ProgramFolder()
{
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string folder(reinterpret_cast<const char16_t*>(path));
    return folder.substr(0, folder.rfind(u'\\') + 1);
}

// The string packs copied beside the program.
inline std::u16string DataFolder()
{
    return ProgramFolder() + u"common_languages_data\\";
}

// A folder that stands for the program's own, with the test language
// modules in its "Localizations" folder.
inline std::u16string LanguageProgramFolder()
{
    return ProgramFolder() + u"language_test_data\\";
}

inline void WriteFileBytes(const std::u16string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(tracetest::W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}
