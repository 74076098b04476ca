// The display's resource files: read once when the user has none, and the
// user's own left as they are.
#include "sondrel_gtest.h"

#include <sys/stat.h>
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
    ~ScopedVariable()
    {
        if (m_had)
            setenv(m_name, m_old.c_str(), 1);
        else
            unsetenv(m_name);
    }
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

}  // namespace

TEST(DisplayResources, AnEmptyFileStandsInOnlyForAHostFileThatIsMissing)
{
    char folder[] = "/tmp/sondrel-home-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    struct utsname name;
    ASSERT_EQ(uname(&name), 0);
    const std::string hostFile = std::string(folder) + "/.Xdefaults-" + name.nodename;

    struct Case
    {
        const char* label;
        const char* home;          // nullptr: unset
        const char* xenvironment;  // before; nullptr: unset
        bool hostFile;
        const char* expected;  // after; nullptr: unset
    };
    const Case cases[] = {
        {"nothing of the user's", folder, nullptr, false, "/dev/null"},
        {"the user's own variable", folder, "/home/someone/resources", false, "/home/someone/resources"},
        {"an empty variable is the user's too", folder, "", false, ""},
        {"the host file the library reads", folder, nullptr, true, nullptr},
        {"no home folder", nullptr, nullptr, false, nullptr},
    };
    ScopedVariable home("HOME");
    ScopedVariable xenvironment("XENVIRONMENT");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        home.Set(c.home);
        xenvironment.Set(c.xenvironment);
        if (c.hostFile)
        {
            FILE* file = std::fopen(hostFile.c_str(), "w");
            ASSERT_NE(file, nullptr);
            std::fputs("Xft.antialias: true\n", file);
            std::fclose(file);
        }
        else
            std::remove(hostFile.c_str());

        ReadDisplayResourcesOnce();

        const char* after = std::getenv("XENVIRONMENT");
        if (c.expected == nullptr)
            EXPECT_EQ(after, nullptr);
        else
        {
            ASSERT_NE(after, nullptr);
            EXPECT_STREQ(after, c.expected);
        }
    }
    std::remove(hostFile.c_str());
    rmdir(folder);
}
