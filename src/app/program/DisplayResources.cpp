#include "app/program/DisplayResources.h"

#include <windows.h>

#include <sys/stat.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <string>

void ReadDisplayResourcesOnce()
{
    if (std::getenv("XENVIRONMENT") != nullptr)
        return;
    const char* pszHome = std::getenv("HOME");
    struct utsname name;
    if (pszHome == nullptr || uname(&name) != 0)
        return;
    // The name the library reads when the variable is unset.
    const std::string hostFile = std::string(pszHome) + "/.Xdefaults-" + name.nodename;
    struct stat status;
    if (stat(hostFile.c_str(), &status) == 0)
        return;
    setenv("XENVIRONMENT", "/dev/null", 0);
}

void SetUpInputMethodWhileSingleThreaded()
{
    // The driver's keyboard map opens the thread's display connection, and
    // the input method with it; the answer itself is not needed.
    ::MapVirtualKeyW(VK_SHIFT, MAPVK_VK_TO_VSC);
}
