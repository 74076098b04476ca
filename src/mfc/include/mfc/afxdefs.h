// Basic definitions shared by every part of the MFC layer.
#pragma once

#include <cstddef>
#include <cstdint>

#define AFXAPI
#define AFX_CDECL
#define AFX_INLINE inline
#define AFX_STATIC static
#define AFX_STATIC_DATA static
#define AFX_DATA
#define AFX_CORE_DATA
#define AFX_DATADEF
#define AFX_NOVTABLE
#define AFX_EXT_CLASS
#define AFX_IMPORT_DATA
#define afx_msg
#define DEBUG_NEW new
#define AFX_MANAGE_STATE(p) ((void)0)

#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif
#ifndef _AFX_FUNCNAME
#define _AFX_FUNCNAME(_Name) __FUNCTION__
#endif

// Assertions break into the debugger in debug builds only, as in MFC;
// VERIFY always evaluates its expression.
void AFXAPI AfxAssertFailedLine(const char* file, int line);
#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define ASSERT_VALID(p) ((p) == nullptr ? AfxAssertFailedLine(__FILE__, __LINE__) : (p)->AssertValid())
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(p) ((void)0)
#endif
#define ASSERT_POINTER(p, type) ASSERT((p) != nullptr)
#define ASSERT_NULL_OR_POINTER(p, type) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))

// TRACE goes to the debugger output; it costs nothing when no one listens.
void AFX_CDECL AfxTraceW(const char16_t* format, ...);
#ifdef _DEBUG
#define TRACE(...) AfxTraceW(__VA_ARGS__)
#else
#define TRACE(...) ((void)0)
#endif
#define TRACE0(s) TRACE(s)
#define TRACE1(s, a) TRACE(s, a)
#define TRACE2(s, a, b) TRACE(s, a, b)
#define TRACE3(s, a, b, c) TRACE(s, a, b, c)

// Argument checks that stay in release builds, as MFC's do: a failed check
// throws CInvalidArgException (mfc/exceptions.h).
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
#define ENSURE_THROW(cond, exception)                                                                        \
    do                                                                                                       \
    {                                                                                                        \
        if (!(cond))                                                                                         \
        {                                                                                                    \
            ASSERT(cond);                                                                                    \
            exception;                                                                                       \
        }                                                                                                    \
    } while (0)
#define ENSURE(cond) ENSURE_THROW(cond, ::AfxThrowInvalidArgException())
#define ENSURE_ARG(cond) ENSURE_THROW(cond, ::AfxThrowInvalidArgException())
#define ENSURE_VALID(pOb)                                                                                    \
    do                                                                                                       \
    {                                                                                                        \
        if ((pOb) == nullptr)                                                                                \
            ::AfxThrowInvalidArgException();                                                                 \
        ASSERT_VALID(pOb);                                                                                   \
    } while (0)
