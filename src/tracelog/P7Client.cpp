#include "tracelog/P7Client.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "tracelog/WideFormat.h"

namespace tracelog {
namespace {

// Every live client, so that a crash can flush them all.
struct ClientRegistry
{
    ClientRegistry() { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    std::vector<Client*> clients;
};

ClientRegistry& Registry()
{
    static ClientRegistry registry;
    return registry;
}

uint64_t Key(RecordType type, uint16_t channel, uint32_t id)
{
    return (uint64_t(type) << 48) | (uint64_t(channel) << 32) | id;
}

uint64_t Now()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::u16string ModulePath()
{
    WCHAR path[2600];
    DWORD n = GetModuleFileNameW(nullptr, path, 2600);
    if (n == 0 || n >= 2600)
        return std::u16string();
    return std::u16string(reinterpret_cast<const char16_t*>(path), n);
}

std::u16string Ascii(const char* text)
{
    std::u16string s;
    while (*text)
        s.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text++)));
    return s;
}

// Creates every missing level of a folder path ending in a separator.
void CreateFolders(const std::u16string& folder)
{
    size_t start = 0;
    if (folder.size() > 2 && (folder[0] == u'\\' || folder[0] == u'/') &&
        (folder[1] == u'\\' || folder[1] == u'/'))
    {
        // \\server\share\ : the share itself cannot be created.
        start = folder.find_first_of(u"\\/", 2);
        if (start != std::u16string::npos)
            start = folder.find_first_of(u"\\/", start + 1);
        if (start == std::u16string::npos)
            return;
    }
    for (size_t i = start + 1; i < folder.size(); ++i)
    {
        if ((folder[i] == u'\\' || folder[i] == u'/') && folder[i - 1] != u':')
        {
            std::u16string part = folder.substr(0, i);
            CreateDirectoryW(reinterpret_cast<LPCWSTR>(part.c_str()), nullptr);
        }
    }
}

bool EndsWithNoCase(const char16_t* name, const char16_t* suffix)
{
    size_t n = 0, m = 0;
    while (name[n])
        ++n;
    while (suffix[m])
        ++m;
    if (n < m)
        return false;
    for (size_t i = 0; i < m; ++i)
    {
        char16_t a = name[n - m + i], b = suffix[i];
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a + 32);
        if (b >= u'A' && b <= u'Z')
            b = static_cast<char16_t>(b + 32);
        if (a != b)
            return false;
    }
    return true;
}

}  // namespace

void FlushAllClientsFromCrash()
{
    ClientRegistry& registry = Registry();
    // The crashed thread may hold the lock; give it a moment, then go on.
    bool locked = false;
    for (int i = 0; i < 100 && !(locked = TryEnterCriticalSection(&registry.lock)); ++i)
        Sleep(1);
    if (!locked)
        return;
    for (Client* client : registry.clients)
        client->FlushFromCrash();
    LeaveCriticalSection(&registry.lock);
}

Client* Client::Create(const char16_t* optionText)
{
    ClientOptions options = ParseClientOptions(optionText);
    if (!options.SinkSupported())
        return nullptr;
    if (options.directory.empty())
    {
        std::u16string exe = ModulePath();
        size_t slash = exe.find_last_of(u"\\/");
        options.directory = slash == std::u16string::npos ? u".\\" : exe.substr(0, slash + 1);
    }
    Client* client = new Client(options);
    if (!client->OpenNextFile())
    {
        client->Release();
        return nullptr;
    }
    client->StartFlusher();
    return client;
}

Client::Client(const ClientOptions& options) : options_(options)
{
    InitializeCriticalSection(&lock_);
    std::u16string exe = ModulePath();
    size_t slash = exe.find_last_of(u"\\/");
    baseName_ = slash == std::u16string::npos ? exe : exe.substr(slash + 1);
    size_t dot = baseName_.find_last_of(u'.');
    if (dot != std::u16string::npos && dot > 0)
        baseName_.resize(dot);
    if (baseName_.empty())
        baseName_ = u"trace";
    buffer_.reserve(options_.poolBytes);

    Encoder process;
    process.U32(GetCurrentProcessId());
    process.Text(exe.data(), exe.size());
    registrations_.push_back({Key(kRecordProcess, 0, 0), kRecordProcess, process.Data()});

    ClientRegistry& registry = Registry();
    EnterCriticalSection(&registry.lock);
    try
    {
        registry.clients.push_back(this);
    }
    catch (...)
    {
        LeaveCriticalSection(&registry.lock);
        DeleteCriticalSection(&lock_);
        throw;
    }
    LeaveCriticalSection(&registry.lock);
}

Client::~Client()
{
    ClientRegistry& registry = Registry();
    EnterCriticalSection(&registry.lock);
    registry.clients.erase(std::remove(registry.clients.begin(), registry.clients.end(), this),
                           registry.clients.end());
    LeaveCriticalSection(&registry.lock);

    if (flusher_)
    {
        stopping_ = true;
        SetEvent(wake_);
        // Bounded: at process exit the thread may already be gone.
        WaitForSingleObject(flusher_, 5000);
        CloseHandle(flusher_);
    }
    if (wake_)
        CloseHandle(wake_);

    // At process exit the flusher may have been cut off while holding the
    // lock: then the file is closed without the last buffer, never hung on.
    bool locked = false;
    for (int i = 0; i < 200 && !(locked = TryEnterCriticalSection(&lock_)); ++i)
        Sleep(1);
    if (locked)
        FlushBuffer();
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (locked)
    {
        LeaveCriticalSection(&lock_);
        DeleteCriticalSection(&lock_);
    }
}

BOOL Client::Flush()
{
    EnterCriticalSection(&lock_);
    FlushBuffer();
    BOOL ok = file_ != INVALID_HANDLE_VALUE;
    LeaveCriticalSection(&lock_);
    return ok;
}

void Client::FlushFromCrash()
{
    bool locked = false;
    for (int i = 0; i < 100 && !(locked = TryEnterCriticalSection(&lock_)); ++i)
        Sleep(1);
    if (!locked)
        return;
    FlushBuffer();
    if (file_ != INVALID_HANDLE_VALUE)
        FlushFileBuffers(file_);
    LeaveCriticalSection(&lock_);
}

void Client::StartFlusher()
{
    wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!wake_)
        return;
    // The thread holds its own reference on this DLL, so it can finish even
    // if a careless caller unloads the library first.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&Client::FlusherMain), &self);
    flusher_ = CreateThread(nullptr, 0, &Client::FlusherMain, this, 0, nullptr);
    if (!flusher_ && self)
        FreeLibrary(self);
}

DWORD WINAPI Client::FlusherMain(void* param)
{
    Client* self = static_cast<Client*>(param);
    try
    {
        while (!self->stopping_)
        {
            WaitForSingleObject(self->wake_, 1000);
            EnterCriticalSection(&self->lock_);
            self->FlushBuffer();
            LeaveCriticalSection(&self->lock_);
        }
    }
    catch (...)
    {
    }
    HMODULE module = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&Client::FlusherMain), &module) &&
        module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

bool Client::WriteOut(const char* data, size_t size)
{
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    size_t done = 0;
    while (done < size)
    {
        DWORD written = 0;
        if (!WriteFile(file_, data + done, static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30)),
                       &written, nullptr) ||
            written == 0)
            break;
        done += written;
    }
    fileSize_ += done;
    // A short write (disk full) leaves a cut record that the reader reports;
    // the lines are dropped rather than the program stopped.
    return done == size;
}

void Client::FlushBuffer()
{
    if (buffer_.empty())
        return;
    WriteOut(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void Client::TrimFolder()
{
    struct Found
    {
        uint64_t written;
        std::u16string name;
    };
    std::vector<Found> files;
    std::u16string pattern = options_.directory + u"*.p7d";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.c_str()), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const char16_t* name = reinterpret_cast<const char16_t*>(data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithNoCase(name, u".p7d"))
            files.push_back(
                {(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime,
                 name});
    } while (FindNextFileW(find, &data));
    FindClose(find);

    // Room for the file about to be made.
    size_t keep = options_.maxFiles - 1;
    if (files.size() <= keep)
        return;
    std::sort(files.begin(), files.end(), [](const Found& a, const Found& b) {
        return a.written != b.written ? a.written < b.written : a.name < b.name;
    });
    size_t excess = files.size() - keep;
    for (size_t i = 0; i < excess; ++i)
    {
        std::u16string path = options_.directory + files[i].name;
        // A file still open in another instance cannot go; it stays.
        DeleteFileW(reinterpret_cast<LPCWSTR>(path.c_str()));
    }
}

bool Client::OpenNextFile()
{
    FlushBuffer();
    if (file_ != INVALID_HANDLE_VALUE)
    {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    CreateFolders(options_.directory);
    TrimFolder();

    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        ++fileNumber_;
        char stamp[96];
        std::snprintf(stamp, sizeof(stamp), "_%04u%02u%02u_%02u%02u%02u_%lu_%03u.p7d", now.wYear, now.wMonth,
                      now.wDay, now.wHour, now.wMinute, now.wSecond,
                      static_cast<unsigned long>(GetCurrentProcessId()), fileNumber_);
        std::u16string path = options_.directory + baseName_ + Ascii(stamp);
        HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path.c_str()), GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
        {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            return false;
        }
        file_ = file;
        currentPath_ = path;
        fileSize_ = 0;
        linesInFile_ = false;
        std::string preamble = EncodeFileHeader(Now(), GetCurrentProcessId(), fileNumber_);
        for (const Registration& r : registrations_)
            AppendRecord(preamble, r.type, r.payload);
        WriteOut(preamble.data(), preamble.size());
        return true;
    }
    return false;
}

void Client::Write(RecordType type, const std::string& payload, uint64_t registrationKey)
{
    std::string record;
    record.reserve(kRecordHeadSize + payload.size());
    AppendRecord(record, type, payload);

    EnterCriticalSection(&lock_);
    try
    {
        if (file_ == INVALID_HANDLE_VALUE ||
            (linesInFile_ && fileSize_ + buffer_.size() + record.size() > options_.rollBytes))
            OpenNextFile();
        if (registrationKey)
        {
            auto it = std::find_if(registrations_.begin(), registrations_.end(),
                                   [&](const Registration& r) { return r.key == registrationKey; });
            if (it != registrations_.end())
                it->payload = payload;
            else
                registrations_.push_back({registrationKey, type, payload});
        }
        if (buffer_.size() + record.size() > options_.poolBytes)
            FlushBuffer();
        if (record.size() > options_.poolBytes)
            WriteOut(record.data(), record.size());
        else
            buffer_ += record;
        if (type == kRecordLine)
            linesInFile_ = true;
    }
    catch (...)
    {
        LeaveCriticalSection(&lock_);
        throw;
    }
    LeaveCriticalSection(&lock_);
}

void Client::Forget(uint64_t registrationKey)
{
    EnterCriticalSection(&lock_);
    registrations_.erase(std::remove_if(registrations_.begin(), registrations_.end(),
                                        [&](const Registration& r) {
                                            if (registrationKey >> 48 == kRecordChannel)
                                                return ((r.key >> 32) & 0xFFFF) ==
                                                           ((registrationKey >> 32) & 0xFFFF) &&
                                                       (r.key >> 48) != kRecordProcess;
                                            return r.key == registrationKey;
                                        }),
                         registrations_.end());
    LeaveCriticalSection(&lock_);
}

TraceChannel* Client::CreateChannel(const char16_t* name)
{
    EnterCriticalSection(&lock_);
    uint16_t id = nextChannel_;
    if (nextChannel_ != 0xFFFF)
        ++nextChannel_;
    LeaveCriticalSection(&lock_);
    return new TraceChannel(this, id, name ? name : u"");
}

TraceChannel::TraceChannel(Client* client, uint16_t id, const char16_t* name) : client_(client), id_(id)
{
    client_->AddRef();
    try
    {
        Encoder e;
        e.U16(id_);
        e.U16(0);
        size_t n = 0;
        while (name[n] && n < 1024)
            ++n;
        e.Text(name, n);
        client_->Write(kRecordChannel, e.Data(), Key(kRecordChannel, id_, 0));
    }
    catch (...)
    {
        client_->Release();
        throw;
    }
}

TraceChannel::~TraceChannel()
{
    client_->Forget(Key(kRecordChannel, id_, 0));
    client_->Release();
}

BOOL TraceChannel::RegisterThread(const WCHAR* name, DWORD threadId)
{
    try
    {
        if (threadId == 0)
            threadId = GetCurrentThreadId();
        const char16_t* text = name ? reinterpret_cast<const char16_t*>(name) : u"";
        size_t n = 0;
        while (text[n] && n < 1024)
            ++n;
        Encoder e;
        e.U16(id_);
        e.U16(0);
        e.U32(threadId);
        e.Text(text, n);
        client_->Write(kRecordThread, e.Data(), Key(kRecordThread, id_, threadId));
        return TRUE;
    }
    catch (...)
    {
        return FALSE;
    }
}

BOOL TraceChannel::UnregisterThread(DWORD threadId)
{
    try
    {
        if (threadId == 0)
            threadId = GetCurrentThreadId();
        client_->Forget(Key(kRecordThread, id_, threadId));
        Encoder e;
        e.U16(id_);
        e.U16(0);
        e.U32(threadId);
        client_->Write(kRecordThreadEnd, e.Data());
        return TRUE;
    }
    catch (...)
    {
        return FALSE;
    }
}

BOOL TraceChannel::RegisterModule(const WCHAR* name, P7ModuleHandle* module)
{
    try
    {
        if (module)
            *module = nullptr;
        const char16_t* text = name ? reinterpret_cast<const char16_t*>(name) : u"";
        size_t n = 0;
        while (text[n] && n < 1024)
            ++n;
        std::u16string moduleName(text, n);

        uint16_t id = 0;
        bool added = false;
        EnterCriticalSection(&client_->Lock());
        try
        {
            auto it = std::find(modules_.begin(), modules_.end(), moduleName);
            if (it != modules_.end())
            {
                id = static_cast<uint16_t>(it - modules_.begin() + 1);
            }
            else if (modules_.size() < 0xFFFF)
            {
                modules_.push_back(moduleName);
                id = static_cast<uint16_t>(modules_.size());
                added = true;
            }
        }
        catch (...)
        {
            LeaveCriticalSection(&client_->Lock());
            throw;
        }
        LeaveCriticalSection(&client_->Lock());
        if (id == 0)
            return FALSE;
        if (added)
        {
            Encoder e;
            e.U16(id_);
            e.U16(id);
            e.Text(moduleName.data(), moduleName.size());
            client_->Write(kRecordModule, e.Data(), Key(kRecordModule, id_, id));
        }
        if (module)
            *module = reinterpret_cast<P7ModuleHandle>(static_cast<uintptr_t>(id));
        return TRUE;
    }
    catch (...)
    {
        return FALSE;
    }
}

BOOL TraceChannel::Trace(WORD traceId, P7TraceLevel level, P7ModuleHandle module, WORD line, const char* file,
                         const char* function, const WCHAR* format, ...)
{
    va_list args;
    va_start(args, format);
    BOOL ok = TraceV(traceId, level, module, line, file, function, format, args);
    va_end(args);
    return ok;
}

BOOL TraceChannel::TraceV(WORD traceId, P7TraceLevel level, P7ModuleHandle module, WORD line,
                          const char* file, const char* function, const WCHAR* format, va_list args)
{
    try
    {
        std::u16string text;
        AppendFormatV(text, reinterpret_cast<const char16_t*>(format), args);
        if (text.size() > kMaxLineText)
            text.resize(kMaxLineText);
        size_t fileBytes = file ? strnlen(file, 4096) : 0;
        size_t functionBytes = function ? strnlen(function, 4096) : 0;
        uintptr_t moduleId = reinterpret_cast<uintptr_t>(module);

        Encoder e;
        e.Data().reserve(kLineFixedSize + fileBytes + functionBytes + text.size() * 2);
        e.U64(Now());
        e.U32(GetCurrentThreadId());
        e.U16(id_);
        e.U16(traceId);
        e.U16(moduleId <= 0xFFFF ? static_cast<uint16_t>(moduleId) : 0);
        e.U16(line);
        e.U8(static_cast<uint8_t>(level));
        e.U8(0);
        e.U16(static_cast<uint16_t>(fileBytes));
        e.U16(static_cast<uint16_t>(functionBytes));
        e.U16(0);
        e.U32(static_cast<uint32_t>(text.size()));
        e.Bytes(file, fileBytes);
        e.Bytes(function, functionBytes);
        e.Text(text.data(), text.size());
        client_->Write(kRecordLine, e.Data());
        return TRUE;
    }
    catch (...)
    {
        return FALSE;
    }
}

BOOL TraceChannel::Flush()
{
    try
    {
        return client_->Flush();
    }
    catch (...)
    {
        return FALSE;
    }
}

}  // namespace tracelog
