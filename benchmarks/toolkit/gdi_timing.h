// Wall-clock time of GDI drawing for the toolkit's timing programs.
#pragma once

#include <windows.h>

#include <functional>

// Seconds per run of the body, after one run to warm up; GDI's batch is
// flushed before and after, so that queued drawing counts where it was done.
inline double Seconds(const std::function<void()>& body, int repeats)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    body();  // warm up
    ::GdiFlush();
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < repeats; ++i)
        body();
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / frequency.QuadPart / repeats;
}
