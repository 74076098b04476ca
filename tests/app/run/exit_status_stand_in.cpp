// Stands in for the program in the run command's tests: it ends at once with
// the exit status its command line names, or, given "crash", as a faulting
// start ends under the crash report (the process terminated with the
// fault's code).
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpszCommandLine, int)
{
    if (std::strcmp(lpszCommandLine, "crash") == 0)
        ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(EXCEPTION_ACCESS_VIOLATION));
    return std::atoi(lpszCommandLine);
}
