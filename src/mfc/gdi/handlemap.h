// Handle-to-wrapper maps behind FromHandle for GDI objects, DCs, menus and
// image lists.
#pragma once

#include <mutex>
#include <unordered_map>
#include <vector>

namespace sondrel::mfc {

// Permanent entries are process-wide: a wrapper that owns a handle can be
// found from any thread. Temporary wrappers belong to the thread that made
// them and are deleted together when that thread goes idle.
template <class Wrapper, class Handle>
class HandleMap {
public:
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
        std::unordered_map<Handle, Wrapper*> temps;
        temps.swap(Temporaries());
        for (auto& entry : temps) {
            release(entry.second);
            delete entry.second;
        }
    }

private:
    static std::unordered_map<Handle, Wrapper*>& Temporaries()
    {
        static thread_local std::unordered_map<Handle, Wrapper*> temps;
        return temps;
    }

    std::mutex mutex_;
    std::unordered_map<Handle, Wrapper*> permanent_;
};

}  // namespace sondrel::mfc
