// Threads for tests. Under Wine a thread must be created by Wine
// (CreateThread): a bare std::thread or pthread has no Windows thread
// environment, and the first Win32 call on it fails or crashes.
#pragma once

#include <windows.h>
#include <functional>
#include <memory>
#include <utility>

class WinThread
{
public:
    WinThread() = default;
    explicit WinThread(std::function<void()> body)
        : m_body(std::make_unique<std::function<void()>>(std::move(body)))
    {
        m_handle = CreateThread(nullptr, 0, &WinThread::Entry, m_body.get(), 0, nullptr);
    }
    WinThread(WinThread&& other) noexcept
        : m_body(std::move(other.m_body)), m_handle(std::exchange(other.m_handle, nullptr))
    {
    }
    WinThread& operator=(WinThread&& other) noexcept
    {
        join();
        m_body = std::move(other.m_body);
        m_handle = std::exchange(other.m_handle, nullptr);
        return *this;
    }
    ~WinThread() { join(); }

    bool joinable() const { return m_handle != nullptr; }
    void join()
    {
        if (!m_handle)
            return;
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    static DWORD WINAPI Entry(void* param)
    {
        try
        {
            (*static_cast<std::function<void()>*>(param))();
        }
        catch (...)
        {
        }
        return 0;
    }

    std::unique_ptr<std::function<void()>> m_body;
    HANDLE m_handle = nullptr;
};
