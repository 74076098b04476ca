// The application frame: what it finds at construction, folders and their
// fallbacks, the skin list, the modal run's catch-all, and COM balanced.
#include "sondrel_gtest.h"

#include <shlobj.h>

#include <stdexcept>

#include "common/ApplicationBase.h"
#include "tests/common/common_test_support.h"
#include "tests/tracelog/trace_test_support.h"

using namespace commontest;
using namespace tracetest;

namespace {

const char16_t kMutex[] = u"{8a132ab5-e9e9-4fd8-80a1-5f1a06bc892e} test";

class TestApp : public CApplicationBase
{
public:
    TestApp() : CApplicationBase(kMutex, _T("Sondrel")) {}
};

bool Exists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::u16string& path)
{
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

class ThrowingDialog : public CDialog
{
public:
    explicit ThrowingDialog(int kind) : m_kind(kind) {}
    INT_PTR DoModal() override
    {
        if (m_kind == 0)
            AfxThrowMemoryException();
        if (m_kind == 1)
            throw std::runtime_error("main window failed");
        throw 7;
    }
    int m_kind;
};

class EndingDialog : public CDialog
{
public:
    INT_PTR DoModal() override { return 42; }
};

}  // namespace

TEST(ApplicationBase, WhatConstructionFinds)
{
    EXPECT_EQ(CApplicationBase::GetInstance(), nullptr);
    {
        TestApp app;
        EXPECT_EQ(CApplicationBase::GetInstance(), &app);
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(app.m_strAppName, CString(_T("Sondrel")));

        WCHAR module[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, module, MAX_PATH);
        EXPECT_EQ(app.m_strExePath, CString(module));
        EXPECT_EQ(app.m_strExeFolder, app.m_strExePath.Left(app.m_strExePath.ReverseFind(_T('\\')) + 1));
        EXPECT_EQ(app.m_strDriveRoot, app.m_strExePath.Left(3));
        EXPECT_TRUE(app.m_strCommandLine.IsEmpty());

        EXPECT_TRUE(app.m_bOSVersionExFound);
        EXPECT_TRUE(app.m_bOSVersionFound);
        EXPECT_EQ(app.m_osVersion.dwOSVersionInfoSize, 284u);
        EXPECT_GE(app.m_osVersion.dwMajorVersion, 6u);
        EXPECT_GE(app.m_systemInfo.dwNumberOfProcessors, 1u);
        EXPECT_EQ(app.m_systemInfo.dwPageSize, 4096u);

        WCHAR common[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES_COMMON, nullptr, 0, common);
        EXPECT_EQ(app.m_strCommonFolder, CString(common) + _T("\\"));

        // The mutex is held while the application lives, and a second
        // instance starts all the same.
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, Wc(kMutex));
        EXPECT_NE(mutex, nullptr);
        CloseHandle(mutex);
        {
            // (The framework's application pointer follows the newest.)
            TestApp second;
            EXPECT_EQ(CApplicationBase::GetInstance(), &second);
        }
    }
    EXPECT_EQ(CApplicationBase::GetInstance(), nullptr);
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, Wc(kMutex)), nullptr);
}

TEST(ApplicationBase, FoldersAndTheirFallbacks)
{
    ScratchFolder scratch("application folders");
    CString path;
    TestApp::AppendPathPart(path, _T(""), FALSE);
    EXPECT_TRUE(path.IsEmpty());
    path = W(scratch.Path() + u"Quorvane");
    TestApp::AppendPathPart(path, nullptr, FALSE);
    EXPECT_EQ(path, CString(W(scratch.Path() + u"Quorvane\\")));
    EXPECT_FALSE(Exists(path));
    TestApp::AppendPathPart(path, _T("Sondrel"), TRUE);
    EXPECT_EQ(path, CString(W(scratch.Path() + u"Quorvane\\Sondrel\\")));
    EXPECT_FALSE(Exists(path));  // one level only: the parent was never made
    path = W(scratch.Path());
    TestApp::AppendPathPart(path, _T("Quorvane"), TRUE);
    TestApp::AppendPathPart(path, _T("Sondrel"), TRUE);
    TestApp::AppendPathPart(path, nullptr, TRUE);  // an existing folder is fine
    EXPECT_TRUE(Exists(path));

    TestApp app;
    app.m_strExeFolder = W(scratch.Path());
    EXPECT_TRUE(app.GetSpecialFolder(CSIDL_APPDATA, path, FALSE, nullptr));
    EXPECT_EQ(path.Right(1), CString(_T("\\")));
    EXPECT_TRUE(Exists(path));

    // A shell folder that cannot be had.
    RegistryRedirect hives;
    hives.SetShellFolder(u"AppData", u"\\\\?\\no such device\\AppData");
    path = _T("untouched");
    EXPECT_FALSE(app.GetSpecialFolder(CSIDL_APPDATA, path, FALSE, nullptr));
    EXPECT_EQ(path, CString(_T("untouched")));
    EXPECT_FALSE(app.GetSpecialFolder(CSIDL_APPDATA, path, TRUE, nullptr));
    EXPECT_EQ(path, CString(W(scratch.Path())));
    EXPECT_EQ(scratch.Files(u"*").size(), 0u);
    EXPECT_FALSE(app.GetSpecialFolder(CSIDL_APPDATA, path, TRUE, _T("My Projects")));
    EXPECT_EQ(path, CString(W(scratch.Path() + u"My Projects\\")));
    EXPECT_TRUE(Exists(path));
}

TEST(ApplicationBase, SkinListQvstylesFirst)
{
    ScratchFolder scratch("application skins");
    Touch(scratch.Path() + u"a.msstyles");
    Touch(scratch.Path() + u"b.qvstyles");
    Touch(scratch.Path() + u"notes.txt");
    CreateDirectoryW(W(scratch.Path() + u"folder.qvstyles"), nullptr);

    TestApp app;
    EXPECT_TRUE(app.GetSkinPath(0).IsEmpty());
    app.ScanSkins(W(scratch.Path()));
    ASSERT_EQ(app.m_skinFiles.GetSize(), 2);
    EXPECT_EQ(app.m_skinFiles[0], CString(_T("b.qvstyles")));
    EXPECT_EQ(app.m_skinFiles[1], CString(_T("a.msstyles")));
    EXPECT_EQ(app.FindSkin(_T("A.MSSTYLES")), 1);
    EXPECT_EQ(app.FindSkin(_T("vista.qvstyles")), -1);
    EXPECT_EQ(app.GetSkinPath(1), CString(W(scratch.Path() + u"a.msstyles")));
    EXPECT_EQ(app.GetSkinPath(-1), CString(W(scratch.Path() + u"b.qvstyles")));
    EXPECT_EQ(app.GetSkinPath(2), CString(W(scratch.Path() + u"b.qvstyles")));

    // A new scan starts a new list.
    app.ScanSkins(W(scratch.Path() + u"folder.qvstyles\\"));
    EXPECT_EQ(app.m_skinFiles.GetSize(), 0);
    EXPECT_TRUE(app.GetSkinPath(-1).IsEmpty());
}

TEST(ApplicationBase, TheModalRunSwallowsWhatEndsIt)
{
    TestApp app;
    INT_PTR result = 5;
    EXPECT_FALSE(app.RunMainDialog(result));
    for (int kind : {0, 1, 2})
    {
        app.SetMainDialog(new ThrowingDialog(kind));
        EXPECT_FALSE(app.RunMainDialog(result)) << kind;
        EXPECT_EQ(result, 5) << kind;
    }
    app.SetMainDialog(new EndingDialog);
    EXPECT_TRUE(app.RunMainDialog(result));
    EXPECT_EQ(result, 42);
    // A dialog still held goes with the application.
}

TEST(ApplicationBase, ComAndTheFrameworkStartAndEnd)
{
    {
        TestApp app;
        EXPECT_TRUE(app.InitCOM(0, TRUE, FALSE));
        EXPECT_TRUE(app.m_bComInitialized);
        EXPECT_FALSE(app.m_bOleInitialized);
        // Already started on this thread: another start only counts up.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        CoUninitialize();

        EXPECT_TRUE(app.InitMfc(_T("Quorvane")));
        EXPECT_EQ(CString(app.m_pszRegistryKey), CString(_T("Quorvane")));
        EXPECT_EQ(CString(app.m_pszProfileName), CString(_T("Sondrel")));
        EXPECT_TRUE(app.InitMfc(nullptr));
        EXPECT_EQ(CString(app.m_pszRegistryKey), CString(_T("Local AppWizard-Generated Applications")));
    }
    // The application's end ended COM on this thread.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
}
