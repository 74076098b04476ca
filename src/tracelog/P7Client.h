// The client and trace channel objects behind the DLL's entry points.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/RefCount.h"
#include "tracelog/P7File.h"
#include "tracelog/P7Options.h"
#include "tracelog/P7Trace.h"

namespace tracelog {

class TraceChannel;

// A trace object that counts its references and deletes itself with the last.
template <class Interface>
class CountedObject : public Interface
{
public:
    LONG AddRef() override { return static_cast<LONG>(m_refs.Add()); }
    LONG Release() override
    {
        const LONG left = static_cast<LONG>(m_refs.Drop());
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~CountedObject() = default;

private:
    engine::RefCount m_refs;
};

// One rolling set of files. Its lock guards the buffer, the file and the
// registrations; the flusher thread writes the buffer out at least once a
// second so that a killed process loses at most that much.
class Client final : public CountedObject<IP7Client>
{
public:
    // Null when the options name an unknown sink or no file can be created.
    static Client* Create(const char16_t* options);

    BOOL Flush() override;

    // Flush without waiting for a lock another thread may hold forever
    // (used when the process is crashing).
    void FlushFromCrash();

    TraceChannel* CreateChannel(const char16_t* name);

    // Appends one record; registrations are remembered so that every new
    // file repeats them. key identifies a registration that a later record
    // replaces (0: none).
    void Write(RecordType type, const std::string& payload, uint64_t registrationKey = 0);
    void Forget(uint64_t registrationKey);

    CRITICAL_SECTION& Lock() { return lock_; }
    const std::u16string& CurrentFile() const { return currentPath_; }

private:
    explicit Client(const ClientOptions& options);
    ~Client() override;

    bool OpenNextFile();
    void TrimFolder();
    bool WriteOut(const char* data, size_t size);
    void FlushBuffer();
    void StartFlusher();
    static DWORD WINAPI FlusherMain(void* self);

    struct Registration
    {
        uint64_t key;
        RecordType type;
        std::string payload;
    };

    CRITICAL_SECTION lock_;
    ClientOptions options_;
    std::u16string baseName_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::u16string currentPath_;
    uint64_t fileSize_ = 0;
    uint32_t fileNumber_ = 0;
    bool linesInFile_ = false;
    std::string buffer_;
    std::vector<Registration> registrations_;
    uint16_t nextChannel_ = 1;

    HANDLE flusher_ = nullptr;
    HANDLE wake_ = nullptr;
    std::atomic<bool> stopping_{false};
};

class TraceChannel final : public CountedObject<IP7Trace>
{
public:
    TraceChannel(Client* client, uint16_t id, const char16_t* name);

    BOOL RegisterThread(const WCHAR* name, DWORD threadId) override;
    BOOL UnregisterThread(DWORD threadId) override;
    BOOL RegisterModule(const WCHAR* name, P7ModuleHandle* module) override;
    BOOL Trace(WORD traceId, P7TraceLevel level, P7ModuleHandle module, WORD line, const char* file,
               const char* function, const WCHAR* format, ...) override;
    BOOL TraceV(WORD traceId, P7TraceLevel level, P7ModuleHandle module, WORD line, const char* file,
                const char* function, const WCHAR* format, va_list args) override;
    BOOL Flush() override;

private:
    ~TraceChannel() override;

    Client* client_;
    uint16_t id_;
    std::vector<std::u16string> modules_;  // index + 1 is the module id
};

}  // namespace tracelog
