// The display's resource files as the X library reads them once the
// program's start-up step has run: the user's own resources are still seen,
// and with none at all the library reads its files once, not at every
// lookup.
#include "sondrel_gtest.h"

#include <dlfcn.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/program/DisplayResources.h"

namespace {

// Sets or clears a variable of the process's native environment for one
// test and puts the old value back.
class ScopedVariable
{
public:
    explicit ScopedVariable(const char* name) : m_name(name)
    {
        const char* value = std::getenv(name);
        m_had = value != nullptr;
        if (m_had)
            m_old = value;
    }
    ~ScopedVariable() { Set(m_had ? m_old.c_str() : nullptr); }
    void Set(const char* value)
    {
        if (value)
            setenv(m_name, value, 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

// The native X library, as Wine's display driver uses it: a display of its
// own for each connection, whose resource database is built at its first
// lookup.
class XLibrary
{
public:
    XLibrary() : m_handle(dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle)
            return;
        m_open = reinterpret_cast<void* (*)(const char*)>(dlsym(m_handle, "XOpenDisplay"));
        m_close = reinterpret_cast<int (*)(void*)>(dlsym(m_handle, "XCloseDisplay"));
        m_default =
            reinterpret_cast<char* (*)(void*, const char*, const char*)>(dlsym(m_handle, "XGetDefault"));
        m_server = reinterpret_cast<char* (*)(void*)>(dlsym(m_handle, "XResourceManagerString"));
    }
    ~XLibrary()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    bool IsLoaded() const { return m_open && m_close && m_default && m_server; }
    void* Open() const { return m_open(nullptr); }
    void Close(void* display) const { m_close(display); }
    // A resource of "Xft", or "" when the library has none.
    std::string Get(void* display, const char* name) const
    {
        const char* value = m_default(display, "Xft", name);
        return value ? value : "";
    }
    bool ServerHasResources(void* display) const { return m_server(display) != nullptr; }

private:
    void* m_handle;
    void* (*m_open)(const char*) = nullptr;
    int (*m_close)(void*) = nullptr;
    char* (*m_default)(void*, const char*, const char*) = nullptr;
    char* (*m_server)(void*) = nullptr;
};

void WriteText(const std::string& path, const char* text)
{
    std::remove(path.c_str());
    if (!text)
        return;
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(text, file);
    std::fclose(file);
}

}  // namespace

TEST(DisplayResources, TheUsersResourcesAreSeenAndTheFilesReadOnce)
{
    XLibrary x;
    ASSERT_TRUE(x.IsLoaded());
    char folder[] = "/tmp/sondrel-home-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    struct utsname name;
    ASSERT_EQ(uname(&name), 0);
    // The files the library reads: ~/.Xdefaults, then $XENVIRONMENT or, when
    // that is unset, the host file.
    const std::string home = std::string(folder) + "/.Xdefaults";
    const std::string host = home + "-" + name.nodename;
    const std::string own = std::string(folder) + "/own resources";

    struct Row
    {
        const char* label;
        const char* home;  // the files' texts; null: no file
        const char* host;
        const char* own;  // named by XENVIRONMENT; null: the variable unset
        const char* expected;
    };
    const Row rows[] = {
        {"nothing of the user's", nullptr, nullptr, nullptr, ""},
        {"the host file", nullptr, "Xft.antialias: host\n", nullptr, "host"},
        {"the home folder's file", "Xft.antialias: home\n", nullptr, nullptr, "home"},
        {"the user's own variable", nullptr, "Xft.antialias: host\n", "Xft.antialias: own\n", "own"},
    };
    ScopedVariable homeVariable("HOME");
    ScopedVariable xenvironment("XENVIRONMENT");
    homeVariable.Set(folder);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.label);
        WriteText(home, row.home);
        WriteText(host, row.host);
        WriteText(own, row.own);
        xenvironment.Set(row.own ? own.c_str() : nullptr);

        ReadDisplayResourcesOnce();

        void* display = x.Open();
        ASSERT_NE(display, nullptr);
        ASSERT_FALSE(x.ServerHasResources(display)) << "the display's own resources would hide the files";
        EXPECT_EQ(x.Get(display, "antialias"), row.expected);
        // Read once: a file that appears after the first lookup is not read.
        WriteText(home, "Xft.rgba: late\n");
        EXPECT_EQ(x.Get(display, "rgba"), "");
        x.Close(display);
    }
    for (const std::string& path : {home, host, own})
        std::remove(path.c_str());
    rmdir(folder);
}
