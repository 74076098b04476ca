// A module loaded from another module's DllMain.
#include <windows.h>

extern "C" HMODULE WINAPI SkinHookTestOwnHandle()
{
    return ::GetModuleHandleA("skinhooktestc.dll");
}
