// Handle-to-wrapper maps behind FromHandle for GDI objects, DCs, menus and
// image lists.
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace sondrel::mfc {

// Permanent entries are process-wide: a wrapper that owns a handle can be
// found from any thread. Temporary wrappers belong to the thread that made
// them and are deleted together when that thread goes idle.
template <class Wrapper, class Handle>
class HandleMap
{
public:
    using HandleOf = Handle (*)(const Wrapper*);
    using Release = void (*)(Wrapper*);

    // handleOf tells which handle a wrapper holds; release makes a
    // temporary wrapper let go of its handle without destroying it.
    //
    // The per-thread table lives in a fiber-local slot rather than a C++
    // thread_local, whose access faulted inside this module's WINAPI
    // functions. The slot's callback frees the table at thread exit.
    HandleMap(HandleOf handleOf, Release release)
        : handleOf_(handleOf), release_(release), slot_(::FlsAlloc(&HandleMap::FreeTemporaries))
    {
    }

    void SetPermanent(Handle handle, Wrapper* wrapper)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        permanent_[handle] = wrapper;
    }

    // Removes the entry only when it still belongs to this wrapper.
    void RemovePermanent(Handle handle, Wrapper* wrapper)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = permanent_.find(handle);
        if (it != permanent_.end() && it->second == wrapper)
            permanent_.erase(it);
    }

    Wrapper* LookupPermanent(Handle handle)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = permanent_.find(handle);
        return it == permanent_.end() ? nullptr : it->second;
    }

    // The permanent wrapper, else a temporary one made by make(handle). A
    // temporary whose handle was deleted or detached through it is retired
    // (callers may hold it until idle time) and a fresh one made.
    template <class Make>
    Wrapper* FromHandle(Handle handle, Make make)
    {
        if (handle == nullptr)
            return nullptr;
        if (Wrapper* wrapper = LookupPermanent(handle))
            return wrapper;
        Table& table = Temporaries();
        auto it = table.wrappers.find(handle);
        if (it != table.wrappers.end())
        {
            if (handleOf_(it->second) == handle)
                return it->second;
            table.retired.push_back(it->second);
            table.wrappers.erase(it);
        }
        Wrapper* wrapper = make(handle);
        table.wrappers.emplace(handle, wrapper);
        return wrapper;
    }

    void DeleteTemporaries()
    {
        Table temps;
        std::swap(temps.wrappers, Temporaries().wrappers);
        std::swap(temps.retired, Temporaries().retired);
        Delete(temps);
    }

private:
    struct Table
    {
        HandleMap* owner = nullptr;
        std::unordered_map<Handle, Wrapper*> wrappers;
        std::vector<Wrapper*> retired;
    };

    void Delete(Table& table)
    {
        for (auto& entry : table.wrappers)
        {
            release_(entry.second);
            delete entry.second;
        }
        // A retired wrapper that took on another handle since is left
        // alone: its destructor would destroy that handle.
        for (Wrapper* wrapper : table.retired)
        {
            if (handleOf_(wrapper) == nullptr)
                delete wrapper;
        }
        table.wrappers.clear();
        table.retired.clear();
    }

    Table& Temporaries()
    {
        auto* table = static_cast<Table*>(::FlsGetValue(slot_));
        if (table == nullptr)
        {
            table = new Table;
            table->owner = this;
            ::FlsSetValue(slot_, table);
        }
        return *table;
    }

    // At thread exit the thread's temporaries go as they would at idle
    // time; a C++ exception must not leave this callback.
    static void WINAPI FreeTemporaries(void* data)
    {
        auto* table = static_cast<Table*>(data);
        try
        {
            table->owner->Delete(*table);
        }
        catch (...)
        {
        }
        delete table;
    }

    HandleOf handleOf_;
    Release release_;
    DWORD slot_;
    std::mutex mutex_;
    std::unordered_map<Handle, Wrapper*> permanent_;
};

}  // namespace sondrel::mfc
