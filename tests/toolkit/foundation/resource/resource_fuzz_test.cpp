// Hostile and damaged XML language files: generated mutations of a good file
// and the kept regression inputs load, or are refused, without a crash, a
// hang or an unbounded allocation; whatever loads still serves resources.
#include <afxwin.h>

#include <random>
#include <string>

#include "quiet_dialog.h"
#include "resource_test_ids.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/foundation/resource/QVTResourceManagerXML.h"

namespace {
CString DataFolder()
{
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    ::PathRemoveFileSpecW(szPath);
    return CString(szPath) + u"\\foundation_resource_data";
}

std::string ReadFile(const CString& strPath)
{
    std::string bytes;
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD nRead = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        bytes.append(buffer, nRead);
    ::CloseHandle(hFile);
    return bytes;
}

void WriteFile(const CString& strPath, const std::string& bytes)
{
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    DWORD nWritten = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
}

// Loads the file as the language source and uses everything it may serve;
// TRUE when the file was taken.
BOOL Exercise(const CString& strPath)
{
    QVTResourceManager()->SetResourceFile(strPath);
    CQVTResourceManager* pManager = QVTResourceManager();
    BOOL bTaken = dynamic_cast<CQVTResourceManagerXML*>(pManager) != nullptr;
    CString str;
    pManager->LoadString(&str, IDS_LANG_HELLO);
    pManager->LoadString(&str, IDS_BLOCK_FOURTH);
    CMenu menu;
    if (pManager->LoadMenu(&menu, IDR_LANGMENU))
        menu.DestroyMenu();
    for (UINT nID : {IDD_LANGTEST, IDD_DEFAULTS})
    {
        LPCDLGTEMPLATE pTemplate = pManager->LoadDialogTemplate(nID);
        if (pTemplate == nullptr)
            continue;
        WORD nItems = 0;
        memcpy(&nItems, reinterpret_cast<const BYTE*>(pTemplate) + 16, sizeof(nItems));
        // Windows with thousands of controls only cost time.
        if (nItems > 64)
            continue;
        HWND hDlg = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), pTemplate, nullptr,
                                                 &QuietDialogProc, 0);
        if (hDlg != nullptr)
            ::DestroyWindow(hDlg);
    }
    QVTResourceManager()->SetResourceFile(u"");
    return bTaken;
}

const char* const kFragments[] = {
    "<menuitem id=\"7\" caption=\"x\"><menuitem><menuitem><menuitem "
    "id=\"0\"/></menuitem></menuitem></menuitem>",
    "<control class=\"BUTTON\" position=\"-5, 70000, 1, 2\" resource=\"12\"/>",
    "<control style=\"0xFFFFFFFF\" styleex=\"-1\" class=\"\" caption=\"\"/>",
    "Count=\"4000000000\" ",
    "position=\"1,2,3,4,5,6\" ",
    "<!-- comment -->",
    "<![CDATA[<resource>]]>",
    "&#0;",
    "\xC3\x28\xFF\xFE",
    "<string id=\"500\"/>",
    "<dialog id=\"300\"><control/><control/></dialog>",
    "<menu id=\"400\"></menu>",
    "LANGID=\"-1\" ",
    "</resource>",
    "<resource>",
};

// Text put at the start of an attribute value.
const char* const kValues[] = {
    "-",     "99999999999", "0x",  "-2147483648", "4294967296", ", ", "1, 2",
    "&amp;", "&#x10FFFF;",  "\\n", "65535",       "-1",         "  ", "x",
};
}  // namespace

TEST(XmlLanguageFuzz, GeneratedMutationsLoadOrAreRefused)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string seed = ReadFile(DataFolder() + u"\\german.xml");
    ASSERT_FALSE(seed.empty());
    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const CString strCase = CString(szTemp) + u"sondrel_language_fuzz.xml";

    std::mt19937 random(20261207);
    const int kCases = 600;
    int nTaken = 0;
    for (int nCase = 0; nCase < kCases; ++nCase)
    {
        std::string bytes = seed;
        int nMutations = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < nMutations && !bytes.empty(); ++i)
        {
            size_t nAt = random() % bytes.size();
            // Most mutations keep the document well formed, so that the
            // builders behind the parser get the hostile values.
            size_t nTag = bytes.find('>', nAt);
            size_t nQuote = bytes.find('"', nAt);
            switch (random() % 10)
            {
            case 0:
                bytes[nAt] = static_cast<char>(random() & 0xFF);
                break;
            case 1:
                bytes.resize(nAt);
                break;
            case 2:
                bytes.erase(nAt, 1 + random() % 16);
                break;
            case 3:
            case 4:
            case 5:
                if (nTag != std::string::npos)
                    bytes.insert(nTag + 1,
                                 kFragments[random() % (sizeof(kFragments) / sizeof(kFragments[0]))]);
                break;
            case 6:
            case 7:
                if (nQuote != std::string::npos)
                    bytes.insert(nQuote + 1, kValues[random() % (sizeof(kValues) / sizeof(kValues[0]))]);
                break;
            default:
            {
                // Repeat an element: many controls, items or strings.
                size_t nOpen = bytes.rfind('<', nAt);
                size_t nClose = nOpen != std::string::npos ? bytes.find("/>", nOpen) : std::string::npos;
                if (nClose == std::string::npos || nClose - nOpen > 400)
                    break;
                std::string element = bytes.substr(nOpen, nClose + 2 - nOpen);
                for (int n = static_cast<int>(random() % 200); n > 0; --n)
                    bytes.insert(nOpen, element);
            }
            }
        }
        WriteFile(strCase, bytes);
        SCOPED_TRACE(nCase);
        if (Exercise(strCase))
            ++nTaken;
    }
    // Enough of the mutations parse for the builders to be reached.
    EXPECT_GT(nTaken, kCases / 10);
    ::DeleteFileW(strCase);
    ::CoUninitialize();
}

TEST(XmlLanguageFuzz, KeptHostileInputsAreRefusedOrBounded)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(DataFolder() + u"\\fuzz\\*.xml", &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    int nFiles = 0;
    do
    {
        SCOPED_TRACE(CStringA(found.cFileName).GetString());
        Exercise(DataFolder() + u"\\fuzz\\" + found.cFileName);
        ++nFiles;
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    EXPECT_GE(nFiles, 5);

    // What is past the bounds falls back to the program: too deep a menu and
    // too many controls.
    QVTResourceManager()->SetResourceFile(DataFolder() + u"\\fuzz\\deep_menu.xml");
    CMenu menu;
    ASSERT_TRUE(QVTResourceManager()->LoadMenu(&menu, IDR_LANGMENU));
    WCHAR szText[32] = {};
    ::GetMenuStringW(menu.GetSafeHmenu(), 0, szText, 32, MF_BYPOSITION);
    EXPECT_EQ(CString(szText), CString(u"&File"));
    QVTResourceManager()->SetResourceFile(DataFolder() + u"\\fuzz\\many_controls.xml");
    EXPECT_EQ(QVTResourceManager()->LoadDialogTemplate(IDD_LANGTEST),
              CQVTResourceManager().LoadDialogTemplate(IDD_LANGTEST));
    // A counted collection in the file does not make the reader count.
    QVTResourceManager()->SetResourceFile(DataFolder() + u"\\fuzz\\count_attributes.xml");
    CMenu counted;
    ASSERT_TRUE(QVTResourceManager()->LoadMenu(&counted, IDR_LANGMENU));
    EXPECT_EQ(::GetMenuItemCount(counted.GetSafeHmenu()), 1);
    QVTResourceManager()->SetResourceFile(u"");
    ::CoUninitialize();
}
