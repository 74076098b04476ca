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
class HandleMap {
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
        if (it != table.wrappers.end()) {
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
        std::swap(temps, Temporaries());
        for (auto& entry : temps.wrappers) {
            release_(entry.second);
            delete entry.second;
        }
        // A retired wrapper that took on another handle since is left
        // alone: its destructor would destroy that handle.
        for (Wrapper* wrapper : temps.retired) {
            if (handleOf_(wrapper) == nullptr)
                delete wrapper;
        }
    }

private:
    struct Table {
        std::unordered_map<Handle, Wrapper*> wrappers;
        std::vector<Wrapper*> retired;
    };

    Table& Temporaries()
    {
        auto* table = static_cast<Table*>(::FlsGetValue(slot_));
        if (table == nullptr) {
            table = new Table;
            ::FlsSetValue(slot_, table);
        }
        return *table;
    }

    // Wrappers left at thread exit are only forgotten: their destructors
    // could release handles that other code still uses.
    static void WINAPI FreeTemporaries(void* data)
    {
        delete static_cast<Table*>(data);
    }

    HandleOf handleOf_;
    Release release_;
    DWORD slot_;
    std::mutex mutex_;
    std::unordered_map<Handle, Wrapper*> permanent_;
};

}  // namespace sondrel::mfc
