// The ribbon's state through the property exchange: a customizable bar
// saves its tabs, groups, group controls and free controls and reads them
// back into another bar, through XML, the registry (read by a second
// process) and the layout's archive; the quick-access controls go with
// every bar; the schema decides which keys are read; a bar that is not
// customizable saves only its own keys; a group or control of a class that
// cannot be made stops the load with the bad-class archive error, what was
// read before it kept.
#include <afxext.h>

#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
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

const int kFreeControlId = 4100;

// What the host's ribbon gets beyond the program's: two quick-access
// controls and a button of its own beside the tabs.
void AddUserControls(CQVTRibbonBar* pRibbon)
{
    pRibbon->GetQuickAccessControls()->Add(new CQVTControlButton(), ID_RIBBON_RECORD);
    pRibbon->GetQuickAccessControls()->Add(new CQVTControlButton(), ID_RIBBON_PLAY);
    CQVTControl* pFree = pRibbon->GetControls()->Add(new CQVTControlButton(), kFreeControlId);
    pFree->SetCaption(_T("Feedback"));
    pFree->SetFlags(pFree->GetFlags() | 1);
}

int CountById(CQVTRibbonBar* pRibbon, int nId)
{
    int nCount = 0;
    for (int i = 0; i < pRibbon->GetControlCount(); ++i)
        if (pRibbon->GetControl(i)->GetID() == nId)
            ++nCount;
    return nCount;
}

// The program's groups came back with their controls, in the bar's list
// directly before each group's option button, and the user's controls once.
void ExpectUserLayout(CQVTRibbonBar* pRibbon)
{
    ASSERT_EQ(3, pRibbon->GetTabCount());
    CQVTRibbonGroups* pGroups = pRibbon->GetTab(0)->GetGroups();
    ASSERT_EQ(3, pGroups->GetCount());
    const int arrIds[3][3] = {{ID_RIBBON_RECORD, ID_RIBBON_PAUSE, ID_RIBBON_STOP},
                              {ID_RIBBON_PLAY, ID_RIBBON_NEXT, ID_RIBBON_PREVIOUS},
                              {ID_RIBBON_RENAME, ID_RIBBON_DELETE, ID_RIBBON_INFO}};
    for (int g = 0; g < 3; ++g)
    {
        CQVTRibbonGroup* pGroup = pGroups->GetAt(g);
        ASSERT_EQ(3, pGroup->GetCount()) << g;
        const int nOption = pGroup->GetControlGroupOption()->GetIndex();
        for (int i = 0; i < 3; ++i)
        {
            CQVTControl* pControl = pGroup->GetAt(i);
            EXPECT_EQ(arrIds[g][i], pControl->GetID()) << g << " " << i;
            EXPECT_EQ(pGroup, pControl->GetRibbonGroup());
            EXPECT_EQ(nOption - 3 + i, pControl->GetIndex()) << g << " " << i;
            EXPECT_EQ(pRibbon->GetControls(), pControl->GetControls());
        }
    }
    EXPECT_EQ(CString(_T("Pause")), pGroups->GetAt(0)->GetAt(1)->GetCaption());
    EXPECT_EQ(CString(_T("Files")), pGroups->GetAt(2)->GetControlGroupPopup()->GetCaption());
    EXPECT_EQ(4003, pGroups->GetAt(2)->GetControlGroupOption()->GetID());
    EXPECT_FALSE(pGroups->GetAt(2)->GetControlGroupOption()->GetHideFlags() & qvtHideGeneric);
    EXPECT_TRUE(pGroups->GetAt(1)->GetControlGroupOption()->GetHideFlags() & qvtHideGeneric);
    EXPECT_EQ(ID_RIBBON_FOLDER, pRibbon->GetTab(1)->GetGroups()->GetAt(0)->GetAt(0)->GetID());
    // Group controls are hidden unless on the current tab.
    for (int t = 0; t < 3; ++t)
    {
        CQVTControl* pFirst = pRibbon->GetTab(t)->GetGroups()->GetAt(0)->GetAt(0);
        const BOOL bShown = !pRibbon->IsRibbonMinimized() && pRibbon->GetCurrentTab() == pRibbon->GetTab(t);
        EXPECT_EQ(!bShown, (pFirst->GetHideFlags() & QVT_RIBBON_HIDE_GROUP) != 0) << t;
    }

    // The record button is in its group and on the quick-access toolbar, the
    // play button too, the free button once.
    EXPECT_EQ(2, CountById(pRibbon, ID_RIBBON_RECORD));
    EXPECT_EQ(2, CountById(pRibbon, ID_RIBBON_PLAY));
    EXPECT_EQ(1, CountById(pRibbon, kFreeControlId));
    CQVTControls* pQuickAccess = pRibbon->GetQuickAccessControls();
    ASSERT_EQ(2, pQuickAccess->GetCount());
    EXPECT_EQ(ID_RIBBON_RECORD, pQuickAccess->GetAt(0)->GetID());
    EXPECT_EQ(ID_RIBBON_PLAY, pQuickAccess->GetAt(1)->GetID());
    EXPECT_TRUE(pRibbon->IsQuickAccessControl(pQuickAccess->GetAt(1)));
    EXPECT_EQ(pRibbon->GetControls(), pQuickAccess->GetAt(1)->GetControls());
    CQVTControl* pFree = pRibbon->GetControls()->FindControl(kFreeControlId);
    ASSERT_NE(nullptr, pFree);
    EXPECT_EQ(CString(_T("Feedback")), pFree->GetCaption());
    EXPECT_EQ(1u, pFree->GetFlags() & 1);
    EXPECT_EQ(nullptr, pFree->GetRibbonGroup());
    // The ribbon's own controls are there once each.
    ASSERT_NE(nullptr, pRibbon->GetControlTab());
    EXPECT_EQ(1, CountById(pRibbon, pRibbon->GetControlTab()->GetID()));
}

}  // namespace

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

    // The record the bars hand every bar and control of their layout.
    QVT_BARS_EXCHANGE_PARAM* Param()
    {
        m_param = QVT_BARS_EXCHANGE_PARAM();
        m_param.bSaveOriginalControls = TRUE;
        m_param.pCommandBars = s_pHost->GetCommandBars();
        return &m_param;
    }
    // Forges the nth (from 0) stored class of the tag in the saved file.
    void ForgeClass(const std::string& strTag, int nNth)
    {
        std::string text = ReadText(m_path);
        size_t at = std::string::npos;
        for (int i = 0; i <= nNth; ++i)
        {
            at = text.find(strTag, at == std::string::npos ? 0 : at + 1);
            ASSERT_NE(std::string::npos, at) << text;
        }
        const size_t end = text.find('>', at);
        const size_t cls = text.find("Class=\"", at);
        if (cls != std::string::npos && cls < end)
            text.erase(cls, text.find('"', cls + 7) + 2 - cls);
        text.insert(at + strTag.size(), "Class=\"CNoSuchClass\" ");
        WriteText(m_path, text);
    }

    QVT_BARS_EXCHANGE_PARAM m_param = {};

    void Save(UINT nSchema = 0)
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, u"Ribbon");
        if (nSchema)
            px.SetSchema(nSchema);
        px.m_pOwner = Param();
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
        px.m_pOwner = Param();
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

TEST_F(RibbonPersistence, ACustomizableBarReadsBackItsTabsGroupsAndState)
{
    m_pRibbon->SetCustomizable(TRUE);
    AddUserControls(m_pRibbon);
    const int nControls = m_pRibbon->GetControlCount();
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
    ExpectUserLayout(m_pRibbon);
    EXPECT_EQ(nControls, m_pRibbon->GetControlCount());
}

TEST_F(RibbonPersistence, TheSystemButtonIsReadBackAtTheFront)
{
    m_pRibbon->SetCustomizable(TRUE);
    m_pRibbon->AddSystemButton(57600)->SetCaption(_T("&File"));
    Save();

    // The loaded button replaces the bar's own, at the front.
    ASSERT_EQ(nullptr, Load());
    ASSERT_NE(nullptr, m_pRibbon->GetSystemButton());
    EXPECT_EQ(0, m_pRibbon->GetSystemButton()->GetIndex());
    EXPECT_EQ(CString(_T("&File")), m_pRibbon->GetSystemButton()->GetCaption());
    int nButtons = 0;
    for (int i = 0; i < m_pRibbon->GetControlCount(); ++i)
        nButtons += m_pRibbon->GetControl(i)->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemButton)) ? 1 : 0;
    EXPECT_EQ(1, nButtons);

    // A bar saved without a button leaves the loading bar without one.
    m_pRibbon->GetControls()->Remove(m_pRibbon->GetSystemButton());
    Save();
    ASSERT_EQ(nullptr, Load());
    EXPECT_EQ(nullptr, m_pRibbon->GetSystemButton());
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
    m_pRibbon->GetQuickAccessControls()->Add(new CQVTControlButton(), ID_RIBBON_STOP);
    Save(41);
    const std::string text = ReadText(m_path);
    EXPECT_EQ(std::string::npos, text.find("<Tabs")) << text;
    EXPECT_EQ(std::string::npos, text.find("Group")) << text;
    EXPECT_EQ(std::string::npos, text.find("SystemButton")) << text;
    EXPECT_EQ(std::string::npos, text.find("Minimized")) << text;
    EXPECT_EQ(std::string::npos, text.find("BarID")) << text;
    EXPECT_NE(std::string::npos, text.find("QuickAccessControls")) << text;

    // Its quick-access controls come back; the program's tabs and groups
    // stay as they were made.
    ASSERT_EQ(nullptr, Load());
    EXPECT_FALSE(m_pRibbon->IsCustomizable());
    ASSERT_EQ(1, m_pRibbon->GetQuickAccessControls()->GetCount());
    EXPECT_EQ(ID_RIBBON_STOP, m_pRibbon->GetQuickAccessControls()->GetAt(0)->GetID());
    EXPECT_EQ(2, CountById(m_pRibbon, ID_RIBBON_STOP));
    ASSERT_EQ(3, m_pRibbon->GetTabCount());
    EXPECT_EQ(3, m_pRibbon->GetTab(0)->GetGroups()->GetAt(0)->GetCount());
}

TEST_F(RibbonPersistence, AGroupOfAClassThatCannotBeMadeStopsTheLoad)
{
    m_pRibbon->SetCustomizable(TRUE);
    Save();
    // The second group's stored class becomes one nobody knows.
    ForgeClass("<Group ", 1);

    CArchiveException* e = Load();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(CArchiveException::badClass, e->m_cause);
    e->Delete();
    ASSERT_GE(m_pRibbon->GetTabCount(), 1);
    CQVTRibbonGroups* pGroups = m_pRibbon->GetTab(0)->GetGroups();
    ASSERT_EQ(1, pGroups->GetCount());
    EXPECT_EQ(CString(_T("Record")), pGroups->GetAt(0)->GetCaption());
}

TEST_F(RibbonPersistence, AControlOfAClassThatCannotBeMadeStopsTheLoad)
{
    m_pRibbon->SetCustomizable(TRUE);
    Save();
    // The second control of the second group.
    ForgeClass("<Control ", 4);

    CArchiveException* e = Load();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(CArchiveException::badClass, e->m_cause);
    e->Delete();
    ASSERT_GE(m_pRibbon->GetTabCount(), 1);
    // The first group stays whole; the second, read in part, is gone with
    // every control it had read.
    CQVTRibbonGroups* pGroups = m_pRibbon->GetTab(0)->GetGroups();
    ASSERT_EQ(1, pGroups->GetCount());
    CQVTRibbonGroup* pGroup = pGroups->GetAt(0);
    ASSERT_EQ(3, pGroup->GetCount());
    EXPECT_EQ(ID_RIBBON_STOP, pGroup->GetAt(2)->GetID());
    EXPECT_EQ(pGroup->GetControlGroupOption()->GetIndex() - 1, pGroup->GetAt(2)->GetIndex());
    EXPECT_EQ(0, CountById(m_pRibbon, ID_RIBBON_PLAY));
    EXPECT_EQ(0, CountById(m_pRibbon, 4002));
    // The bar still lays out and draws.
    s_pHost->GetCommandBars()->RecalcFrameLayout();
    m_pRibbon->RedrawWindow();
    PumpHost(20);
}

// The layout's own store is read in the order it was written: the ribbon's
// keys, the bar's, the tabs and the quick-access toolbar.
TEST_F(RibbonPersistence, TheLayoutArchiveReadsBackInOrder)
{
    m_pRibbon->SetCustomizable(TRUE);
    AddUserControls(m_pRibbon);
    m_pRibbon->SetTitle(_T("Recorder ribbon"));
    m_pRibbon->SetCurrentTab(2);
    std::vector<BYTE> bytes;
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            CQVTPropExchangeArchive px(ar);
            px.m_pOwner = Param();
            try
            {
                m_pRibbon->DoPropExchange(&px);
            }
            catch (CException* e)
            {
                TCHAR szCause[256] = {};
                e->GetErrorMessage(szCause, 256);
                e->Delete();
                FAIL() << "save: " << CStringA(szCause).GetString();
            }
            ar.Close();
        }
        bytes.resize(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    }

    s_pHost->Reset();
    m_pRibbon = s_pHost->GetRibbon();
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CQVTPropExchangeArchive px(ar);
    px.m_pOwner = Param();
    try
    {
        m_pRibbon->DoPropExchange(&px);
    }
    catch (CException* e)
    {
        TCHAR szCause[256] = {};
        e->GetErrorMessage(szCause, 256);
        e->Delete();
        ADD_FAILURE() << "load: " << CStringA(szCause).GetString();
    }
    ar.Abort();
    file.Detach();

    EXPECT_TRUE(m_pRibbon->IsCustomizable());
    EXPECT_EQ(CString(_T("Recorder ribbon")), m_pRibbon->GetTitle());
    EXPECT_EQ(m_pRibbon->GetTab(2), m_pRibbon->GetCurrentTab());
    ExpectUserLayout(m_pRibbon);
}

// The layout merges a loaded bar into the program's by copying it: the
// program's tab strip and buttons stay, the loaded tabs, groups and
// controls replace its own.
TEST_F(RibbonPersistence, ACopyOfACustomizableBarKeepsItsOwnControls)
{
    m_pRibbon->SetCustomizable(TRUE);
    AddUserControls(m_pRibbon);
    m_pRibbon->GetTab(0)->GetGroups()->GetAt(0)->GetAt(1)->SetCaption(_T("Hold"));
    const int nControls = m_pRibbon->GetControlCount();
    CQVTRibbonBar* pCopy = m_pRibbon->CreateCopy();
    ASSERT_NE(nullptr, pCopy);
    EXPECT_EQ(nControls, pCopy->GetControlCount());
    ASSERT_EQ(3, pCopy->GetTabCount());
    EXPECT_EQ(CString(_T("Hold")), pCopy->GetTab(0)->GetGroups()->GetAt(0)->GetAt(1)->GetCaption());
    EXPECT_EQ(1, CountById(pCopy, kFreeControlId));
    EXPECT_EQ(2, CountById(pCopy, ID_RIBBON_PLAY));
    ASSERT_NE(nullptr, pCopy->GetControlTab());
    EXPECT_EQ(pCopy->GetControls(), pCopy->GetControlTab()->GetControls());
    pCopy->InternalRelease();
}

// The second process of the registry round trip: it reads the key the first
// one wrote into a bar of its own.
TEST_F(RibbonPersistence, ASecondProcessReadsTheRegistryBack)
{
    const std::u16string strKey = commontest::Environment(u"SONDREL_RIBBON_KEY");
    if (strKey.empty())
        GTEST_SKIP() << "run by ARibbonSavedToTheRegistryIsReadByASecondProcess";
    m_pRibbon->SetCustomizable(FALSE);
    {
        CQVTPropExchangeRegistry px(TRUE, HKEY_CURRENT_USER, strKey.c_str());
        px.m_pOwner = Param();
        m_pRibbon->DoPropExchange(&px);
    }
    // The stored state made it customizable again.
    EXPECT_TRUE(m_pRibbon->IsCustomizable());
    EXPECT_TRUE(m_pRibbon->IsRibbonMinimized());
    EXPECT_TRUE(m_pRibbon->IsQuickAccessBelowRibbon());
    ASSERT_EQ(3, m_pRibbon->GetTabCount());
    EXPECT_EQ(CString(_T("Help")), m_pRibbon->GetTab(2)->GetCaption());
    EXPECT_EQ(qvtRibbonTabContextRed, m_pRibbon->GetTab(2)->GetContextColor());
    ASSERT_EQ(3, m_pRibbon->GetTab(0)->GetGroups()->GetCount());
    EXPECT_EQ(CString(_T("Playback")), m_pRibbon->GetTab(0)->GetGroups()->GetAt(1)->GetCaption());
    EXPECT_EQ(4002, m_pRibbon->GetTab(0)->GetGroups()->GetAt(1)->GetID());
    ExpectUserLayout(m_pRibbon);
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
    AddUserControls(m_pRibbon);
    {
        CQVTPropExchangeRegistry px(FALSE, HKEY_CURRENT_USER, strKey);
        px.m_pOwner = Param();
        m_pRibbon->DoPropExchange(&px);
    }
    const DWORD dwCode = commontest::RunSelf("RibbonPersistence.ASecondProcessReadsTheRegistryBack",
                                             u"SONDREL_RIBBON_KEY", std::u16string(strKey.GetString()));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, strKey);
    EXPECT_EQ(0u, dwCode);
}
