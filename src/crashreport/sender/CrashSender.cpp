// The report sender, started by the crash-report DLL once a report folder
// is written: a consent dialog in the texts of the language INI (English
// where it is missing), then delivery in the installation's order. A report
// that was not delivered stays where it is, and the dialog says where.
#include <windows.h>
#include <tchar.h>

#include <mapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program/W3Client.h"

namespace {

const int kIdHeader = 100, kIdPrivacy = 101, kIdResult = 102;

struct Delivery
{
    std::u16string folder, appName, mailTo, subject, uploadUrl, privacyUrl, languageFile;
    UINT priorities[3] = {};  // upload, mail, MAPI
};

std::u16string IniText(const std::u16string& file, const char16_t* section, const char16_t* key,
                       const char16_t* fallback)
{
    WCHAR text[1024] = {};
    if (!file.empty())
        GetPrivateProfileStringW(section, key, _T(""), text, 1024, file.c_str());
    return text[0] ? std::u16string(text) : std::u16string(fallback);
}

std::u16string Format(const std::u16string& pattern, const std::u16string& value)
{
    std::u16string text = pattern;
    size_t at = text.find(_T("%s"));
    if (at != std::u16string::npos)
        text.replace(at, 2, value);
    return text;
}

// Spaces, CR and LF escaped as a mail program expects them; the folder's
// own characters pass as they are.
std::u16string EncodeMailField(const std::u16string& text)
{
    std::u16string out;
    for (char16_t c : text)
    {
        if (c == _T(' '))
            out += _T("%20");
        else if (c == _T('\r'))
            out += _T("%0d");
        else if (c == _T('\n'))
            out += _T("%0a");
        else if (c == _T('&'))
            out += _T("%26");
        else
            out.push_back(c);
    }
    return out;
}

// The program registered for the link's scheme, started with the link
// (Wine's ShellExecute overflows its stack on a link longer than a path).
bool OpenLink(const std::u16string& url)
{
    size_t colon = url.find(_T(':'));
    if (colon == std::u16string::npos || colon == 0)
        return false;
    std::u16string scheme = url.substr(0, colon);
    WCHAR command[2048] = {};
    DWORD length = 2048;
    if (SUCCEEDED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, scheme.c_str(), _T("open"), command,
                                    &length)) &&
        command[0] != 0)
    {
        std::u16string line = command;
        bool placed = false;
        for (LPCTSTR mark : {_T("%1"), _T("%L"), _T("%l")})
        {
            size_t at;
            while ((at = line.find(mark)) != std::u16string::npos)
            {
                line.replace(at, 2, url);
                placed = true;
            }
        }
        if (!placed)
            line += _T(" \"") + url + _T("\"");
        std::vector<WCHAR> buffer(line.begin(), line.end());
        buffer.push_back(0);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process))
        {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            return true;
        }
        return false;
    }
    if (url.size() >= MAX_PATH)
        return false;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = _T("open");
    info.lpFile = url.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

bool DeliverByMail(const Delivery& delivery)
{
    if (delivery.mailTo.empty())
        return false;
    std::u16string body = _T("The error report is in the folder ") + delivery.folder +
                          _T("\r\nPlease attach its files to this message.");
    return OpenLink(_T("mailto:") + delivery.mailTo + _T("?subject=") + EncodeMailField(delivery.subject) +
                    _T("&body=") + EncodeMailField(body));
}

std::string Ansi(const std::u16string& text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

// Simple MAPI with every file of the folder attached.
bool DeliverByMapi(const Delivery& delivery)
{
    if (delivery.mailTo.empty())
        return false;
    HMODULE mapi = LoadLibraryW(_T("mapi32.dll"));
    if (mapi == nullptr)
        return false;
    auto sendMail =
        reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPISendMail")));
    bool sent = false;
    if (sendMail != nullptr)
    {
        std::vector<std::string> paths, names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((delivery.folder + _T("*")).c_str(), &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                {
                    paths.push_back(Ansi(delivery.folder + data.cFileName));
                    names.push_back(Ansi(data.cFileName));
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        std::vector<MapiFileDesc> files(paths.size());
        for (size_t i = 0; i < paths.size(); ++i)
        {
            files[i] = MapiFileDesc();
            files[i].nPosition = static_cast<ULONG>(-1);
            files[i].lpszPathName = &paths[i][0];
            files[i].lpszFileName = &names[i][0];
        }
        std::string address = "SMTP:" + Ansi(delivery.mailTo), subject = Ansi(delivery.subject);
        MapiRecipDesc recipient = {};
        recipient.ulRecipClass = MAPI_TO;
        recipient.lpszName = &address[0];
        recipient.lpszAddress = &address[0];
        MapiMessage message = {};
        message.lpszSubject = &subject[0];
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
        message.nFileCount = static_cast<ULONG>(files.size());
        message.lpFiles = files.empty() ? nullptr : files.data();
        sent = sendMail(0, 0, &message, 0, 0) == SUCCESS_SUCCESS;
    }
    FreeLibrary(mapi);
    return sent;
}

// Every file of the report in one multipart POST to the upload address;
// delivered when the server answers with success.
bool DeliverByUpload(const Delivery& delivery)
{
    if (delivery.uploadUrl.empty())
        return false;
    W3Client client;
    // The client leaves its handles to its user: closed on every way out.
    struct ClosesClient
    {
        W3Client& client;
        ~ClosesClient() { client.Close(); }
    } closes{client};
    if (!client.ConnectUrl(Ansi(delivery.uploadUrl).c_str(), nullptr, nullptr, "CrashSender"))
        return false;
    const std::string path = client.GetCurrentPath();
    client.AddFormField("appname", Ansi(delivery.appName).c_str(), FALSE);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((delivery.folder + _T("*")).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                client.AddFormField(Ansi(data.cFileName).c_str(),
                                    Ansi(delivery.folder + data.cFileName).c_str(), TRUE);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    if (!client.Request(path.empty() ? "/" : path.c_str(), W3Client::METHOD_POST_MULTIPART, nullptr, 0))
        return false;
    const DWORD status = client.GetStatusCode();
    return status >= 200 && status < 300;
}

// Tries each way the installation asked for, highest priority first; the
// name of the way that delivered, or empty.
std::u16string Deliver(const Delivery& delivery)
{
    std::vector<std::pair<UINT, int>> order;
    for (int i = 0; i < 3; ++i)
        if (delivery.priorities[i] != 0)
            order.emplace_back(delivery.priorities[i], i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& way : order)
    {
        switch (way.second)
        {
        case 0:
            if (DeliverByUpload(delivery))
                return _T("upload");
            break;
        case 1:
            if (DeliverByMail(delivery))
                return _T("mail");
            break;
        case 2:
            if (DeliverByMapi(delivery))
                return _T("MAPI");
            break;
        }
    }
    return std::u16string();
}

struct SenderWindow
{
    Delivery delivery;
    std::u16string ini;
    HWND window = nullptr;
    bool sent = false;
};

SenderWindow* g_sender = nullptr;

HWND AddChild(HWND parent, const char16_t* className, const std::u16string& text, DWORD style, int x, int y,
              int cx, int cy, int id)
{
    HWND child = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, cx, cy,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

void OnSend(HWND window)
{
    SenderWindow& sender = *g_sender;
    EnableWindow(GetDlgItem(window, IDOK), FALSE);
    std::u16string way = Deliver(sender.delivery);
    std::u16string result =
        way.empty()
            ? Format(IniText(sender.ini, _T("Result"), _T("NotSent"),
                             _T("The report could not be delivered. It stays in %s")),
                     sender.delivery.folder)
            : Format(IniText(sender.ini, _T("Result"), _T("Sent"), _T("The report was handed over by %s.")),
                     way);
    SetDlgItemTextW(window, kIdResult, result.c_str());
    SetDlgItemTextW(window, IDCANCEL, IniText(sender.ini, _T("MainDlg"), _T("Close"), _T("Close")).c_str());
    sender.sent = !way.empty();
}

LRESULT CALLBACK SenderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        switch (message)
        {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && IsWindowEnabled(GetDlgItem(window, IDOK)))
                OnSend(window);
            else if (LOWORD(wParam) == IDCANCEL)
                DestroyWindow(window);
            else if (LOWORD(wParam) == kIdPrivacy && HIWORD(wParam) == STN_CLICKED &&
                     !g_sender->delivery.privacyUrl.empty())
                OpenLink(g_sender->delivery.privacyUrl);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
    }
    catch (...)
    {
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::u16string ReadValue(const std::u16string& file, const char16_t* key)
{
    return IniText(file, _T("Delivery"), key, _T(""));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try
    {
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
        if (arguments == nullptr || count < 2)
            return 2;
        SenderWindow sender;
        Delivery& delivery = sender.delivery;
        delivery.folder = arguments[1];
        LocalFree(arguments);
        if (delivery.folder.empty())
            return 2;
        if (delivery.folder.back() != _T('\\'))
            delivery.folder += _T('\\');
        const std::u16string file = delivery.folder + _T("delivery.ini");
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            return 3;
        delivery.appName = ReadValue(file, _T("AppName"));
        delivery.mailTo = ReadValue(file, _T("MailTo"));
        delivery.subject = ReadValue(file, _T("Subject"));
        delivery.uploadUrl = ReadValue(file, _T("UploadUrl"));
        delivery.privacyUrl = ReadValue(file, _T("PrivacyUrl"));
        delivery.languageFile = ReadValue(file, _T("LanguageFile"));
        const char16_t* keys[3] = {_T("PriorityUpload"), _T("PriorityMail"), _T("PriorityMapi")};
        for (int i = 0; i < 3; ++i)
            delivery.priorities[i] = GetPrivateProfileIntW(_T("Delivery"), keys[i], 0, file.c_str());
        // Another language's texts only from a file that is there.
        if (!delivery.languageFile.empty() &&
            GetFileAttributesW(delivery.languageFile.c_str()) != INVALID_FILE_ATTRIBUTES)
            sender.ini = delivery.languageFile;
        g_sender = &sender;

        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = SenderProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = _T("SondrelCrashSender");
        RegisterClassW(&windowClass);
        std::u16string appName =
            delivery.appName.empty() ? std::u16string(_T("The program")) : delivery.appName;
        HWND window = CreateWindowExW(
            WS_EX_DLGMODALFRAME, _T("SondrelCrashSender"),
            Format(IniText(sender.ini, _T("MainDlg"), _T("DlgCaption"), _T("%s Error Report")), appName)
                .c_str(),
            WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 480, 260, nullptr, nullptr, instance, nullptr);
        if (window == nullptr)
            return 4;
        sender.window = window;
        AddChild(
            window, _T("STATIC"),
            Format(
                IniText(sender.ini, _T("MainDlg"), _T("HeaderText"),
                        _T("%s has stopped working. A report of the error was made: you may send it to us.")),
                appName),
            0, 12, 12, 440, 48, kIdHeader);
        AddChild(
            window, _T("STATIC"),
            IniText(sender.ini, _T("MainDlg"), _T("PrivacyPolicy"), _T("What do we do with the report?")),
            SS_NOTIFY, 12, 66, 440, 20, kIdPrivacy);
        AddChild(window, _T("STATIC"), _T(""), 0, 12, 92, 440, 60, kIdResult);
        AddChild(window, _T("BUTTON"),
                 IniText(sender.ini, _T("MainDlg"), _T("SendReport"), _T("Send report")),
                 BS_DEFPUSHBUTTON | WS_TABSTOP, 232, 170, 110, 28, IDOK);
        AddChild(window, _T("BUTTON"),
                 IniText(sender.ini, _T("MainDlg"), _T("CloseTheProgram"), _T("Close the program")),
                 WS_TABSTOP, 350, 170, 110, 28, IDCANCEL);
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(window);
        SetFocus(GetDlgItem(window, IDOK));
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        {
            if (!IsDialogMessageW(window, &msg))
            {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        g_sender = nullptr;
        return sender.sent ? 0 : 1;
    }
    catch (...)
    {
        return 5;
    }
}
