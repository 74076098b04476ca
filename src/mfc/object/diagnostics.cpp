// Assertion reports, TRACE output and the dump context.
#include <afx.h>

#include <cstdio>
#include <cstring>
#include <cstdarg>

CDumpContext afxDump;

void AFXAPI AfxAssertFailedLine(const char* file, int line)
{
    char message[512];
    std::snprintf(message, sizeof message, "Assertion failed: %s(%d)\n", file != nullptr ? file : "?", line);
    OutputDebugStringA(message);
    std::fputs(message, stderr);
    if (IsDebuggerPresent())
        DebugBreak();
}

void AFX_CDECL AfxTraceW(const char16_t* format, ...)
{
    if (format == nullptr)
        return;
    WCHAR buffer[1024];
    va_list args;
    va_start(args, format);
    int written = _vsnwprintf_s(buffer, _countof(buffer), _TRUNCATE, format, args);
    va_end(args);
    if (written < 0)
        buffer[_countof(buffer) - 1] = 0;
    OutputDebugStringW(buffer);
}

namespace {

void Emit(LPCSTR text)
{
    OutputDebugStringA(text);
}

template <class... Args>
void EmitFormatted(const char* format, Args... args)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    Emit(buffer);
}

}  // namespace

CDumpContext& CDumpContext::operator<<(LPCWSTR lpsz)
{
    if (lpsz != nullptr)
        OutputDebugStringW(lpsz);
    else
        Emit("(NULL)");
    return *this;
}

CDumpContext& CDumpContext::operator<<(LPCSTR lpsz)
{
    Emit(lpsz != nullptr ? lpsz : "(NULL)");
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* lp)
{
    EmitFormatted("$%p", lp);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject* pOb)
{
    if (pOb == nullptr)
        Emit("NULL");
    else
        pOb->Dump(*this);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject& ob)
{
    return *this << &ob;
}

CDumpContext& CDumpContext::operator<<(BYTE by)
{
    EmitFormatted("%u", static_cast<unsigned>(by));
    return *this;
}

CDumpContext& CDumpContext::operator<<(WORD w)
{
    EmitFormatted("%u", static_cast<unsigned>(w));
    return *this;
}

CDumpContext& CDumpContext::operator<<(int n)
{
    EmitFormatted("%d", n);
    return *this;
}

CDumpContext& CDumpContext::operator<<(UINT u)
{
    EmitFormatted("%u", u);
    return *this;
}

CDumpContext& CDumpContext::operator<<(LONGLONG n)
{
    EmitFormatted("%lld", static_cast<long long>(n));
    return *this;
}

CDumpContext& CDumpContext::operator<<(ULONGLONG n)
{
    EmitFormatted("%llu", static_cast<unsigned long long>(n));
    return *this;
}

CDumpContext& CDumpContext::operator<<(float f)
{
    EmitFormatted("%g", static_cast<double>(f));
    return *this;
}

CDumpContext& CDumpContext::operator<<(double d)
{
    EmitFormatted("%g", d);
    return *this;
}

void CDumpContext::HexDump(LPCWSTR lpszLine, BYTE* pby, int nBytes, int nWidth)
{
    if (pby == nullptr || nBytes <= 0)
        return;
    if (nWidth <= 0)
        nWidth = 16;
    for (int i = 0; i < nBytes; ++i)
    {
        if (i % nWidth == 0)
        {
            if (i != 0)
                Emit("\n");
            *this << lpszLine;
        }
        EmitFormatted(" %02X", static_cast<unsigned>(pby[i]));
    }
    Emit("\n");
}
