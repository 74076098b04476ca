// Shared by the program's tests: the program's folders under test, and an
// application whose main window the test chooses.
#pragma once

#include <shlobj.h>

#include <functional>
#include <string>

#include "app/program/SondrelApp.h"
#include "tests/common/common_test_support.h"
#include "tests/tracelog/trace_test_support.h"

// Where the program keeps its settings.
const char16_t kProgramKey[] = u"Software\\Quorvane\\Sondrel";

// The folder of this test program, with a trailing backslash.
inline std::u16string ProgramFolder()
{
    std::u16string image = commontest::ProgramImage();
    return image.substr(0, image.rfind(u'\\') + 1);
}

inline std::u16string ShellFolder(int csidl)
{
    WCHAR path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return std::u16string(reinterpret_cast<const char16_t*>(path)) + u"\\";
}

inline bool FolderExists(const std::u16string& path)
{
    DWORD attributes = GetFileAttributesW(tracetest::W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool FileExists(const std::u16string& path)
{
    DWORD attributes = GetFileAttributesW(tracetest::W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::u16string U16(const CString& text)
{
    return reinterpret_cast<const char16_t*>(text.GetString());
}

// A number from a key of the real registry; fallback when absent.
inline DWORD RegistryNumber(HKEY root, const std::u16string& path, const char16_t* name,
                            DWORD fallback = 0xDEAD)
{
    DWORD value = fallback, size = sizeof(value), type = 0;
    if (RegGetValueW(root, tracetest::W(path), tracetest::W(name), RRF_RT_REG_DWORD, &type, &value, &size) !=
        ERROR_SUCCESS)
        return fallback;
    return value;
}

inline std::u16string RegistryText(HKEY root, const std::u16string& path, const char16_t* name)
{
    WCHAR text[2048] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(root, tracetest::W(path), tracetest::W(name), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return u"<absent>";
    return reinterpret_cast<const char16_t*>(text);
}

// The program's application class with the main window a test gives it.
class TestSondrelApp : public CSondrelApp
{
public:
    std::function<CDialog*(TestSondrelApp&)> m_makeMainDialog;

protected:
    CDialog* CreateMainDialog() override
    {
        return m_makeMainDialog ? m_makeMainDialog(*this) : CSondrelApp::CreateMainDialog();
    }
};
