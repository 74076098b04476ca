// Hands a written report to the sender process: the crashed process does
// nothing more than write the folder and start it.
#include <windows.h>

#include <vector>

#include "crashreport/CrashReporter.h"

namespace crashreport {

namespace {

std::u16string Number(UINT value)
{
    std::u16string text;
    do
    {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

bool Exists(const std::u16string& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool StartSender(const ReporterState& state, const std::u16string& folder)
{
    const std::u16string file = folder + u"delivery.ini";
    // A byte-order mark first: the profile functions then write UTF-16, and
    // a path in any script survives.
    HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const BYTE mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    const bool marked = WriteFile(handle, mark, 2, &written, nullptr) && written == 2;
    if (!CloseHandle(handle) || !marked)
        return false;
    const std::pair<const char16_t*, std::u16string> values[] = {
        {u"AppName", state.appName},
        {u"MailTo", state.mailTo},
        {u"Subject", state.mailSubject},
        {u"UploadUrl", state.uploadUrl},
        {u"PrivacyUrl", state.privacyUrl},
        {u"LanguageFile", state.languageFile},
        {u"PriorityUpload", Number(state.priorities[0])},
        {u"PriorityMail", Number(state.priorities[1])},
        {u"PriorityMapi", Number(state.priorities[2])},
    };
    for (const auto& value : values)
        if (!WritePrivateProfileStringW(u"Delivery", value.first, value.second.c_str(), file.c_str()))
            return false;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());

    // Beside the program: a Winelib build keeps the code in the ".exe.so".
    WCHAR module[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    std::u16string image = module;
    image = image.substr(0, image.find_last_of(u"\\/") + 1) + u"CrashSender.exe";
    if (Exists(image + u".so"))
        image += u".so";
    else if (!Exists(image))
        return false;
    std::u16string line = u"\"" + image + u"\" \"" + folder.substr(0, folder.size() - 1) + u"\"";
    std::vector<WCHAR> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace crashreport
