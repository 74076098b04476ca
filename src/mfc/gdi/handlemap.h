// Handle-to-wrapper maps behind FromHandle for GDI objects, DCs, menus and
// image lists.
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>

namespace sondrel::mfc {

// Permanent entries are process-wide: a wrapper that owns a handle can be
// found from any thread. Temporary wrappers belong to the thread that made
// them and are deleted together when that thread goes idle.
template <class Wrapper, class Handle>
class HandleMap {
public:
    // The per-thread table lives in a fiber-local slot rather than a C++
    // thread_local: the module is loaded at run time, where static TLS
    // does not work. The slot's callback frees the table at thread exit.
    HandleMap() : slot_(::FlsAlloc(&HandleMap::FreeTemporaries)) {}

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

    Wrapper* LookupTemporary(Handle handle)
    {
        auto& temps = Temporaries();
        auto it = temps.find(handle);
        return it == temps.end() ? nullptr : it->second;
    }

    // The permanent wrapper, else a temporary one made by make(handle).
    template <class Make>
    Wrapper* FromHandle(Handle handle, Make make)
    {
        if (handle == nullptr)
            return nullptr;
        if (Wrapper* wrapper = LookupPermanent(handle))
            return wrapper;
        auto& temps = Temporaries();
        auto it = temps.find(handle);
        if (it != temps.end())
            return it->second;
        Wrapper* wrapper = make(handle);
        temps.emplace(handle, wrapper);
        return wrapper;
    }

    // release(wrapper) must let go of the handle without destroying it.
    template <class Release>
    void DeleteTemporaries(Release release)
    {
        Table temps;
        temps.swap(Temporaries());
        for (auto& entry : temps) {
            release(entry.second);
            delete entry.second;
        }
    }

private:
    using Table = std::unordered_map<Handle, Wrapper*>;

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

    DWORD slot_;
    std::mutex mutex_;
    std::unordered_map<Handle, Wrapper*> permanent_;
};

}  // namespace sondrel::mfc
