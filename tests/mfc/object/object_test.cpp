// Run-time classes, exceptions and the TRY/CATCH macros, and CTime.
#include <afx.h>
#include <string>
#include "sondrel_gtest.h"

namespace {

std::string Narrow(LPCTSTR text)
{
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
    return out;
}

std::string Narrow(const CString& text)
{
    return Narrow(static_cast<LPCTSTR>(text));
}

}  // namespace

class CAnimal : public CObject
{
    DECLARE_DYNAMIC(CAnimal)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)

class CDog : public CAnimal
{
    DECLARE_DYNCREATE(CDog)
public:
    int m_nBarks = 3;
};
IMPLEMENT_DYNCREATE(CDog, CAnimal)

class CPuppy : public CDog
{
    DECLARE_SERIAL(CPuppy)
};
IMPLEMENT_SERIAL(CPuppy, CDog, 1)

class CRock : public CObject
{
    DECLARE_DYNCREATE(CRock)
};
IMPLEMENT_DYNCREATE(CRock, CObject)

static int g_liveTrackers = 0;

class CTrackedException : public CException
{
    DECLARE_DYNAMIC(CTrackedException)
public:
    CTrackedException() { ++g_liveTrackers; }
    ~CTrackedException() override { --g_liveTrackers; }
};
IMPLEMENT_DYNAMIC(CTrackedException, CException)

TEST(RuntimeClassTest, HierarchyKindsAndNames)
{
    CPuppy puppy;
    EXPECT_STREQ(puppy.GetRuntimeClass()->m_lpszClassName, "CPuppy");
    EXPECT_TRUE(puppy.IsKindOf(RUNTIME_CLASS(CDog)));
    EXPECT_TRUE(puppy.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(puppy.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(puppy.IsKindOf(RUNTIME_CLASS(CRock)));
    EXPECT_FALSE(RUNTIME_CLASS(CAnimal)->IsDerivedFrom(RUNTIME_CLASS(CDog)));
    EXPECT_FALSE(RUNTIME_CLASS(CAnimal)->IsDerivedFrom(nullptr));
    EXPECT_EQ(RUNTIME_CLASS(CPuppy)->GetBaseClass(), RUNTIME_CLASS(CDog));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->GetBaseClass(), nullptr);

    EXPECT_TRUE(puppy.IsSerializable());
    CDog dog;
    EXPECT_FALSE(dog.IsSerializable());
    EXPECT_EQ(RUNTIME_CLASS(CPuppy)->m_wSchema, 1u);
    EXPECT_EQ(RUNTIME_CLASS(CDog)->m_wSchema, 0xFFFFu);
    EXPECT_EQ(RUNTIME_CLASS(CDog)->m_nObjectSize, static_cast<int>(sizeof(CDog)));
}

TEST(RuntimeClassTest, CreationAndLookupByName)
{
    EXPECT_EQ(RUNTIME_CLASS(CAnimal)->CreateObject(), nullptr);

    CObject* created = RUNTIME_CLASS(CDog)->CreateObject();
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CDog)));
    EXPECT_EQ(static_cast<CDog*>(created)->m_nBarks, 3);
    delete created;

    EXPECT_EQ(CRuntimeClass::FromName("CPuppy"), RUNTIME_CLASS(CPuppy));
    EXPECT_EQ(CRuntimeClass::FromName(_T("CPuppy")), RUNTIME_CLASS(CPuppy));
    EXPECT_EQ(CRuntimeClass::FromName("CAnimal"), RUNTIME_CLASS(CAnimal));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("CFileException"), RUNTIME_CLASS(CFileException));
    EXPECT_EQ(CRuntimeClass::FromName("CPupp"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(_T("CPuppyX")), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(_T("CPupp\u00e9")), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)), nullptr);

    CObject* byName = CRuntimeClass::CreateObject(_T("CRock"));
    ASSERT_NE(byName, nullptr);
    EXPECT_TRUE(byName->IsKindOf(RUNTIME_CLASS(CRock)));
    delete byName;
    EXPECT_EQ(CRuntimeClass::CreateObject("CAnimal"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
}

TEST(RuntimeClassTest, DowncastsCheckTheClass)
{
    CPuppy puppy;
    CObject* object = &puppy;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, object), &puppy);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CRock, object), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, static_cast<CObject*>(nullptr)), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CAnimal, object), &puppy);
}

TEST(ExceptionTest, ThrownPointersCarryTheirCause)
{
    try
    {
        AfxThrowFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, _T("C:\\data\\a.wav"));
    }
    catch (CException* e)
    {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
        auto* fileError = static_cast<CFileException*>(e);
        EXPECT_EQ(fileError->m_cause, CFileException::accessDenied);
        EXPECT_EQ(fileError->m_lOsError, ERROR_ACCESS_DENIED);
        TCHAR message[256];
        UINT help = 99;
        EXPECT_TRUE(e->GetErrorMessage(message, 256, &help));
        EXPECT_EQ(Narrow(message), "Access to C:\\data\\a.wav was denied.");
        // A small buffer gets a truncated, terminated message.
        TCHAR shortBuffer[7];
        EXPECT_TRUE(e->GetErrorMessage(shortBuffer, 7));
        EXPECT_EQ(Narrow(shortBuffer), "Access");
        e->Delete();
    }

    try
    {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::badSchema);
        TCHAR message[256];
        EXPECT_TRUE(e->GetErrorMessage(message, 256));
        EXPECT_EQ(Narrow(message), "an unnamed file contains an incorrect schema.");
        e->Delete();
    }

    TCHAR message[64] = {'x', 0};
    CException plain;
    EXPECT_FALSE(plain.GetErrorMessage(message, 64));
    EXPECT_EQ(message[0], 0);
}

TEST(ExceptionTest, OsErrorsMapToCauses)
{
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_FILE_NOT_FOUND), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_PATH_NOT_FOUND), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_DISK_FULL), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_HANDLE_EOF), CFileException::endOfFile);
    EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);
    EXPECT_EQ(CFileException::OsErrorToException(0), CFileException::none);
    try
    {
        CFileException::ThrowOsError(ERROR_LOCK_VIOLATION, _T("x"));
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::lockViolation);
        EXPECT_EQ(Narrow(e->m_strFileName), "x");
        e->Delete();
    }
}

TEST(ExceptionTest, SimpleExceptionsAndOleCodes)
{
    auto caught = [](void (*thrower)()) -> CException* {
        try
        {
            thrower();
        }
        catch (CException* e)
        {
            return e;
        }
        return nullptr;
    };
    CException* memory = caught([] { AfxThrowMemoryException(); });
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(memory->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    EXPECT_EQ(COleException::Process(memory), E_OUTOFMEMORY);
    // The memory exception is preallocated: Delete leaves it usable.
    memory->Delete();
    EXPECT_EQ(caught([] { AfxThrowMemoryException(); }), memory);

    CException* notSupported = caught([] { AfxThrowNotSupportedException(); });
    EXPECT_EQ(COleException::Process(notSupported), E_NOTIMPL);
    TCHAR text[128];
    EXPECT_TRUE(notSupported->GetErrorMessage(text, 128));
    EXPECT_FALSE(Narrow(text).empty());
    notSupported->Delete();

    CException* ole = caught([] { AfxThrowOleException(DISP_E_TYPEMISMATCH); });
    EXPECT_EQ(COleException::Process(ole), DISP_E_TYPEMISMATCH);
    ole->Delete();

    CException* user = caught([] { AfxThrowUserException(); });
    EXPECT_TRUE(user->IsKindOf(RUNTIME_CLASS(CUserException)));
    EXPECT_EQ(COleException::Process(user), E_UNEXPECTED);
    user->Delete();

    CException* dispatch = caught([] { AfxThrowOleDispatchException(7, _T("Bad profile"), 42); });
    auto* dispatchError = static_cast<COleDispatchException*>(dispatch);
    EXPECT_EQ(dispatchError->m_wCode, 7);
    EXPECT_EQ(Narrow(dispatchError->m_strDescription), "Bad profile");
    EXPECT_EQ(dispatchError->m_dwHelpContext, 42u);
    EXCEPINFO info;
    COleDispatchException::Process(&info, dispatch);
    EXPECT_EQ(info.wCode, 7);
    ASSERT_NE(info.bstrDescription, nullptr);
    EXPECT_EQ(Narrow(info.bstrDescription), "Bad profile");
    ::SysFreeString(info.bstrDescription);
    dispatch->Delete();
}

TEST(ExceptionTest, CatchMacrosDeleteUnlessRethrown)
{
    g_liveTrackers = 0;
    bool handled = false;
    TRY
    {
        throw new CTrackedException;
    }
    CATCH(CFileException, e)
    {
        FAIL() << "wrong handler";
    }
    AND_CATCH(CTrackedException, e)
    {
        handled = true;
        EXPECT_EQ(g_liveTrackers, 1);
    }
    END_CATCH
    EXPECT_TRUE(handled);
    EXPECT_EQ(g_liveTrackers, 0);

    // THROW_LAST passes the same object on, still alive.
    CException* outer = nullptr;
    try
    {
        TRY
        {
            THROW(new CTrackedException);
        }
        CATCH_ALL(e)
        {
            THROW_LAST();
        }
        END_CATCH_ALL
    }
    catch (CException* e)
    {
        outer = e;
    }
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(g_liveTrackers, 1);
    outer->Delete();
    EXPECT_EQ(g_liveTrackers, 0);

    // Deleting inside a CATCH handler does not free the object twice.
    TRY
    {
        throw new CTrackedException;
    }
    CATCH(CTrackedException, e)
    {
        e->Delete();
        EXPECT_EQ(g_liveTrackers, 1);
    }
    END_CATCH
    EXPECT_EQ(g_liveTrackers, 0);

    // THROW(e) of the caught object hands it on as well.
    outer = nullptr;
    try
    {
        TRY
        {
            throw new CTrackedException;
        }
        CATCH(CTrackedException, e)
        {
            THROW(e);
        }
        END_CATCH
    }
    catch (CTrackedException* e)
    {
        outer = e;
    }
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(g_liveTrackers, 1);
    outer->Delete();
    EXPECT_EQ(g_liveTrackers, 0);
}

TEST(ExceptionTest, EnsureThrowsInvalidArgument)
{
    auto check = [](const void* p) {
        ENSURE_ARG(p != nullptr);
        return true;
    };
    int value = 0;
    EXPECT_TRUE(check(&value));
    try
    {
        check(nullptr);
        FAIL() << "no exception";
    }
    catch (CException* e)
    {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
        e->Delete();
    }
}

TEST(TimeTest, ComponentsAndConversions)
{
    CTime local(2024, 2, 29, 13, 45, 30);
    EXPECT_EQ(local.GetYear(), 2024);
    EXPECT_EQ(local.GetMonth(), 2);
    EXPECT_EQ(local.GetDay(), 29);
    EXPECT_EQ(local.GetHour(), 13);
    EXPECT_EQ(local.GetMinute(), 45);
    EXPECT_EQ(local.GetSecond(), 30);
    EXPECT_EQ(local.GetDayOfWeek(), 5);  // Thursday

    SYSTEMTIME st;
    ASSERT_TRUE(local.GetAsSystemTime(st));
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wDay, 29);
    EXPECT_EQ(CTime(st), local);

    // FILETIME is UTC: 1700000000 seconds after 1970.
    ULONGLONG ticks = 1700000000ULL * 10000000ULL + 116444736000000000ULL;
    FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    EXPECT_EQ(CTime(ft).GetTime(), 1700000000);
    FILETIME tooEarly = {0, 0};
    EXPECT_FALSE(CTime::IsValidFILETIME(tooEarly));

    CTime dos(static_cast<WORD>(((2020 - 1980) << 9) | (6 << 5) | 15),
              static_cast<WORD>((8 << 11) | (30 << 5) | 5));
    EXPECT_EQ(dos, CTime(2020, 6, 15, 8, 30, 10));

    for (auto bad : {0, 1, 2})
    {
        try
        {
            if (bad == 0)
                CTime(2024, 13, 1, 0, 0, 0);
            else if (bad == 1)
                CTime(1899, 1, 1, 0, 0, 0);
            else
                CTime(2024, 1, 1, 24, 0, 0);
            ADD_FAILURE() << "accepted case " << bad;
        }
        catch (CException* e)
        {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
            e->Delete();
        }
    }
    EXPECT_GT(CTime::GetCurrentTime().GetTime(), 1700000000);
}

TEST(TimeTest, FormattingAndSpans)
{
    CTime t(static_cast<__time64_t>(1700000000));  // Tuesday 2023-11-14 22:13:20 UTC
    EXPECT_EQ(Narrow(t.FormatGmt(_T("%Y-%m-%d %H:%M:%S"))), "2023-11-14 22:13:20");
    EXPECT_EQ(Narrow(t.FormatGmt(_T("%a %A %b %B %j %y %p %I %%"))),
              "Tue Tuesday Nov November 318 23 PM 10 %");
    EXPECT_EQ(Narrow(t.FormatGmt(_T("%c|%x|%X"))), "11/14/23 22:13:20|11/14/23|22:13:20");
    EXPECT_EQ(Narrow(t.FormatGmt(_T("%#x"))), "Tuesday, November 14, 2023");
    EXPECT_EQ(Narrow(t.FormatGmt(_T("%U %W %V %w %u"))), "46 46 46 2 2");
    EXPECT_EQ(Narrow(CTime(static_cast<__time64_t>(1704067200)).FormatGmt(_T("%#d.%#m. %V %G"))),
              "1.1. 01 2024");
    EXPECT_EQ(Narrow(CTime(static_cast<__time64_t>(1609459200)).FormatGmt(_T("%V %G %g"))), "53 2020 20");
    EXPECT_EQ(Narrow(t.FormatGmt(_T("%z %Z"))), "+0000 UTC");

    CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalMinutes(), 1563);
    EXPECT_EQ(Narrow(span.Format(_T("%D days %H:%M:%S %%"))), "1 days 02:03:04 %");

    CTime later = t + span;
    EXPECT_EQ(later - t, span);
    EXPECT_EQ(later - span, t);
    later -= CTimeSpan(0, 0, 0, 4);
    EXPECT_EQ((later - t).GetTotalSeconds(), 93780);
    EXPECT_TRUE(t < later);
}
