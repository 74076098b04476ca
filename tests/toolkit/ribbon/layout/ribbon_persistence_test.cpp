// The ribbon's state through the property exchange: a customizable bar
// saves its tabs and groups and reads them back into another bar, the
// schema decides which keys are read, a bar that is not customizable saves
// only its own keys, and a group of a class that cannot be made stops the
// load with the bad-class archive error, the groups read before it kept.
#include <afxext.h>

#include <string>

#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

namespace {

std::u16string TempFile(const char16_t* name)
{
    WCHAR szFolder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szFolder);
    return std::u16string(szFolder) + name;
}

std::string ReadText(const std::u16string& path)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string text;
    if (hFile == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD nRead = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead)
        text.append(buffer, nRead);
    ::CloseHandle(hFile);
    return text;
}

void WriteText(const std::u16string& path, const std::string& text)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD nWritten = 0;
    ::WriteFile(hFile, text.data(), static_cast<DWORD>(text.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
}

class RibbonPersistence : public CRibbonHostSuite<RibbonPersistence>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(980, 40, 1260, 380)); }

protected:
    void SetUp() override
    {
        s_pHost->Reset();
        m_pRibbon = s_pHost->GetRibbon();
        ASSERT_NE(nullptr, m_pRibbon);
        m_path = TempFile(u"ribbon-persistence.xml");
    }
    void TearDown() override { ::DeleteFileW(m_path.c_str()); }

    void Save(UINT nSchema = 0)
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, u"Ribbon");
        if (nSchema)
            px.SetSchema(nSchema);
        px.m_pOwner = s_pHost->GetCommandBars();
        m_pRibbon->DoPropExchange(&px);
        ASSERT_TRUE(px.SaveToFile(m_path.c_str()));
    }
    // Loads into a new bar of the site; the exception of a failed load is
    // handed back.
    CArchiveException* Load(UINT nSchema = 0)
    {
        s_pHost->Reset();
        m_pRibbon = s_pHost->GetRibbon();
        m_pRibbon->SetCustomizable(TRUE);
        CQVTPropExchangeXMLNode px(TRUE, nullptr, u"Ribbon");
        EXPECT_TRUE(px.LoadFromFile(m_path.c_str()));
        if (nSchema)
            px.SetSchema(nSchema);
        px.m_pOwner = s_pHost->GetCommandBars();
        try
        {
            m_pRibbon->DoPropExchange(&px);
        }
        catch (CArchiveException* e)
        {
            return e;
        }
        return nullptr;
    }

    std::u16string m_path;
};

}  // namespace

TEST_F(RibbonPersistence, ACustomizableBarReadsBackItsTabsGroupsAndState)
{
    m_pRibbon->SetCustomizable(TRUE);
    m_pRibbon->ShowQuickAccessBelowRibbon(TRUE);
    m_pRibbon->GetTab(1)->SetContextColor(3);
    m_pRibbon->GetTab(1)->SetContextCaption(_T("Tools"));
    m_pRibbon->GetTab(1)->SetCustomizeCaption(_T("Options tab"));
    m_pRibbon->GetTab(2)->SetVisible(FALSE);
    m_pRibbon->SetCurrentTab(1);
    Save();

    ASSERT_EQ(nullptr, Load());
    ASSERT_EQ(3, m_pRibbon->GetTabCount());
    EXPECT_TRUE(m_pRibbon->IsQuickAccessBelowRibbon());
    EXPECT_TRUE(m_pRibbon->IsCustomizable());
    EXPECT_EQ(CString(_T("Options")), m_pRibbon->GetTab(1)->GetCaption());
    EXPECT_EQ(CString(_T("Settings of the recorder")), m_pRibbon->GetTab(1)->GetTooltip());
    EXPECT_EQ(IDS_RIBBON_OPTIONS, m_pRibbon->GetTab(1)->GetID());
    EXPECT_EQ(3, m_pRibbon->GetTab(1)->GetContextColor());
    EXPECT_EQ(CString(_T("Tools")), m_pRibbon->GetTab(1)->GetContextCaption());
    EXPECT_EQ(CString(_T("Options tab")), m_pRibbon->GetTab(1)->GetCustomizeCaption());
    EXPECT_FALSE(m_pRibbon->GetTab(2)->IsVisible());
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());

    CQVTRibbonGroups* pGroups = m_pRibbon->GetTab(0)->GetGroups();
    ASSERT_EQ(3, pGroups->GetCount());
    EXPECT_EQ(CString(_T("Record")), pGroups->GetAt(0)->GetCaption());
    EXPECT_EQ(IDS_RIBBON_GROUP_RECORD, pGroups->GetAt(0)->GetID());
    EXPECT_EQ(CString(_T("Files")), pGroups->GetAt(2)->GetCaption());
    EXPECT_TRUE(pGroups->GetAt(2)->IsOptionButtonVisible());
    EXPECT_EQ(m_pRibbon->GetTab(0), pGroups->GetAt(2)->GetParentTab());
    // The loaded groups' own buttons joined the bar.
    EXPECT_EQ(m_pRibbon->GetControls(), pGroups->GetAt(2)->GetControlGroupOption()->GetControls());
}

TEST_F(RibbonPersistence, TheSchemaDecidesWhichKeysAreRead)
{
    m_pRibbon->SetCustomizable(TRUE);
    m_pRibbon->SetRibbonMinimized(TRUE);
    m_pRibbon->GetTab(0)->SetCustomizeCaption(_T("Start"));
    Save();
    const std::string text = ReadText(m_path);
    EXPECT_NE(std::string::npos, text.find("CustomizeCaption")) << text;

    // Schema 18 knows no minimized state.
    ASSERT_EQ(nullptr, Load(18));
    EXPECT_FALSE(m_pRibbon->IsRibbonMinimized());
    // From 19 the state is read.
    ASSERT_EQ(nullptr, Load(19));
    EXPECT_TRUE(m_pRibbon->IsRibbonMinimized());
    // The customize caption only from 42.
    ASSERT_EQ(nullptr, Load(41));
    EXPECT_EQ(CString(), m_pRibbon->GetTab(0)->GetCustomizeCaption());
    ASSERT_EQ(nullptr, Load(42));
    EXPECT_EQ(CString(_T("Start")), m_pRibbon->GetTab(0)->GetCustomizeCaption());

    // Up to 23 "Customizable" is not read: the bar keeps what it had.
    m_pRibbon->SetCustomizable(FALSE);
    Save();
    ASSERT_EQ(nullptr, Load(23));
    EXPECT_TRUE(m_pRibbon->IsCustomizable());
    ASSERT_EQ(nullptr, Load(24));
    EXPECT_FALSE(m_pRibbon->IsCustomizable());
}

TEST_F(RibbonPersistence, ABarThatIsNotCustomizableSavesOnlyItsOwnKeys)
{
    Save(41);
    const std::string text = ReadText(m_path);
    EXPECT_EQ(std::string::npos, text.find("<Tabs")) << text;
    EXPECT_EQ(std::string::npos, text.find("Group")) << text;
    EXPECT_EQ(std::string::npos, text.find("SystemButton")) << text;
    EXPECT_EQ(std::string::npos, text.find("Minimized")) << text;
}

TEST_F(RibbonPersistence, AGroupOfAClassThatCannotBeMadeStopsTheLoad)
{
    m_pRibbon->SetCustomizable(TRUE);
    Save();
    std::string text = ReadText(m_path);
    // The second group's stored class becomes one nobody knows (groups of
    // the base class store none).
    const std::string strGroup = "<Group ";
    size_t at = text.find(strGroup);
    ASSERT_NE(std::string::npos, at) << text;
    at = text.find(strGroup, at + 1);
    ASSERT_NE(std::string::npos, at) << text;
    text.insert(at + strGroup.size(), "Class=\"CNoSuchRibbonGroup\" ");
    WriteText(m_path, text);

    CArchiveException* e = Load();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(CArchiveException::badClass, e->m_cause);
    e->Delete();
    ASSERT_GE(m_pRibbon->GetTabCount(), 1);
    CQVTRibbonGroups* pGroups = m_pRibbon->GetTab(0)->GetGroups();
    ASSERT_EQ(1, pGroups->GetCount());
    EXPECT_EQ(CString(_T("Record")), pGroups->GetAt(0)->GetCaption());
}

// The second process of the registry round trip: it reads the key the first
// one wrote into a bar of its own.
TEST_F(RibbonPersistence, ASecondProcessReadsTheRegistryBack)
{
    const std::u16string strKey = commontest::Environment(u"SONDREL_RIBBON_KEY");
    if (strKey.empty())
        GTEST_SKIP() << "run by ARibbonSavedToTheRegistryIsReadByASecondProcess";
    m_pRibbon->SetCustomizable(TRUE);
    {
        CQVTPropExchangeRegistry px(TRUE, HKEY_CURRENT_USER, strKey.c_str());
        px.m_pOwner = s_pHost->GetCommandBars();
        m_pRibbon->DoPropExchange(&px);
    }
    EXPECT_TRUE(m_pRibbon->IsRibbonMinimized());
    EXPECT_TRUE(m_pRibbon->IsQuickAccessBelowRibbon());
    ASSERT_EQ(3, m_pRibbon->GetTabCount());
    EXPECT_EQ(CString(_T("Help")), m_pRibbon->GetTab(2)->GetCaption());
    EXPECT_EQ(qvtRibbonTabContextRed, m_pRibbon->GetTab(2)->GetContextColor());
    ASSERT_EQ(3, m_pRibbon->GetTab(0)->GetGroups()->GetCount());
    EXPECT_EQ(CString(_T("Playback")), m_pRibbon->GetTab(0)->GetGroups()->GetAt(1)->GetCaption());
    EXPECT_EQ(4002, m_pRibbon->GetTab(0)->GetGroups()->GetAt(1)->GetID());
}

TEST_F(RibbonPersistence, ARibbonSavedToTheRegistryIsReadByASecondProcess)
{
    CString strKey;
    strKey.Format(_T("Software\\Quorvane\\SondrelTests\\Ribbon%lu"), ::GetCurrentProcessId());
    m_pRibbon->SetCustomizable(TRUE);
    m_pRibbon->ShowQuickAccessBelowRibbon(TRUE);
    m_pRibbon->SetRibbonMinimized(TRUE);
    m_pRibbon->GetTab(2)->SetContextColor(qvtRibbonTabContextRed);
    m_pRibbon->GetTab(2)->SetContextCaption(_T("Support"));
    {
        CQVTPropExchangeRegistry px(FALSE, HKEY_CURRENT_USER, strKey);
        px.m_pOwner = s_pHost->GetCommandBars();
        m_pRibbon->DoPropExchange(&px);
    }
    const DWORD dwCode = commontest::RunSelf("RibbonPersistence.ASecondProcessReadsTheRegistryBack",
                                             u"SONDREL_RIBBON_KEY", std::u16string(strKey.GetString()));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, strKey);
    EXPECT_EQ(0u, dwCode);
}
