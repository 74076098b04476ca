// Generated damage for the archive, INI and XML readers: a bounded number of
// cases from fixed seeds, each of which must end in a result or a clear
// failure. Inputs that once broke a reader are kept as regression cases.
#include <afxwin.h>

#include <random>

#include "propexchange_sample.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeIniFile.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

namespace {
std::string Mutate(const std::string& base, std::mt19937& rng)
{
    std::string s = base;
    auto pick = [&](size_t n) { return n == 0 ? size_t(0) : static_cast<size_t>(rng() % n); };
    switch (rng() % 6)
    {
    case 0:  // flip a few bytes
        for (int i = 0, n = 1 + rng() % 8; i < n && !s.empty(); ++i)
            s[pick(s.size())] ^= static_cast<char>(1 + rng() % 255);
        break;
    case 1:  // cut anywhere
        s.resize(pick(s.size() + 1));
        break;
    case 2:
    {  // a huge count or length somewhere
        static const char* kForged[] = {"\xFF\xFF\xFF\x7F", "\xFF\xFF\xFF\xFF", "\xFE\xFF\xFF\xFF",
                                        "\x00\x00\x00\x80"};
        std::string forged(kForged[rng() % 4], 4);
        size_t at = pick(s.size());
        s.replace(at, std::min<size_t>(4, s.size() - at), forged);
        break;
    }
    case 3:  // a run of 0xFF, the escape of every count and length
        s.insert(pick(s.size() + 1), std::string(1 + rng() % 12, '\xFF'));
        break;
    case 4:
    {  // a slice repeated elsewhere
        size_t from = pick(s.size());
        size_t len = std::min<size_t>(s.size() - from, 1 + rng() % 64);
        s.insert(pick(s.size() + 1), s.substr(from, len));
        break;
    }
    default:  // random bytes
        for (int i = 0, n = 1 + rng() % 32; i < n; ++i)
            s.insert(pick(s.size() + 1), 1, static_cast<char>(rng()));
        break;
    }
    return s;
}

std::string SavedArchive()
{
    return SaveArchive([](CQVTPropExchange* px) {
        Sample sample = Sample::Filled(Store::Archive);
        ExchangeSample(px, Store::Archive, sample);
    });
}

int g_nCompleteLoads = 0;

// TRUE when the load ended in a result or an archive exception.
bool LoadArchiveBytes(const std::string& bytes)
{
    try
    {
        CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                      static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        CQVTPropExchangeArchive px(ar);
        LoadAnything(&px, Store::Archive);
        ++g_nCompleteLoads;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
        return false;
    }
    return true;
}

}  // namespace

TEST(PropExchangeFuzz, ArchiveReaderSurvivesDamagedStreams)
{
    std::string base = SavedArchive();
    ASSERT_TRUE(LoadArchiveBytes(base));
    ASSERT_EQ(g_nCompleteLoads, 1) << "the undamaged stream loads whole";
    std::mt19937 rng(20240305);
    for (int nCase = 0; nCase < 3000; ++nCase)
    {
        std::string bytes = Mutate(base, rng);
        ASSERT_TRUE(LoadArchiveBytes(bytes)) << "case " << nCase;
    }
    // Damage past the values read leaves loads that finish.
    EXPECT_GT(g_nCompleteLoads, 1);
    // Pure noise, of every short length.
    for (int nCase = 0; nCase < 500; ++nCase)
    {
        std::string bytes;
        for (int i = 0, n = nCase % 64; i < n; ++i)
            bytes += static_cast<char>(rng());
        ASSERT_TRUE(LoadArchiveBytes(bytes)) << "noise " << nCase;
    }
}

TEST(PropExchangeFuzz, IniReaderSurvivesDamagedFiles)
{
    std::u16string path = TempPath(u"propexchange-fuzz.ini");
    static const char* kSections[] = {"[Settings]",
                                      "[Settings\\Child]",
                                      "[Settings\\Child\\Item0]",
                                      "[Settings\\Child\\Item1]",
                                      "[Settings\\Shape]",
                                      "[",
                                      "[]]",
                                      "[Settings"};
    static const char* kKeys[] = {"Schema", "Enabled", "Width", "Scale", "When", "Extra", "Title", "Bounds",
                                  "Extent", "Data",    "Kind",  "Count", "Text", "Class", "=",     ""};
    static const char* kValues[] = {"",
                                    "1",
                                    "-1",
                                    "65535",
                                    "4294967296",
                                    "1e308",
                                    "nan",
                                    "2024-31-02T99:99:99",
                                    "1, 2, 3",
                                    "1, 2, 3, 4, 5",
                                    "CBLKAA",
                                    "CBL",
                                    "ZZZZ",
                                    "\\",
                                    "\\\\n",
                                    "CTestIntruder",
                                    "CTestCircle",
                                    "CObject",
                                    "\"quoted",
                                    "12:",
                                    "2000"};
    std::mt19937 rng(1899);
    for (int nCase = 0; nCase < 300; ++nCase)
    {
        std::string text;
        if (rng() % 4 == 0)
            text += "\xFF\xFE";  // a byte-order mark over 8-bit text
        for (int nLine = 0, n = rng() % 40; nLine < n; ++nLine)
        {
            switch (rng() % 5)
            {
            case 0:
                text += kSections[rng() % 8];
                break;
            case 1:
                text += std::string(rng() % 3 ? 300 : 40000, 'A' + rng() % 16);
                break;
            case 2:
                for (int i = 0, m = rng() % 40; i < m; ++i)
                    text += static_cast<char>(rng());
                break;
            default:
                text += kKeys[rng() % 16];
                text += "=";
                text += kValues[rng() % 21];
                break;
            }
            text += rng() % 8 ? "\r\n" : "\n";
        }
        WriteFileBytes(path, text);
        CQVTPropExchangeIniFile px(TRUE, nullptr, u"Settings");
        px.SetIniFileName(path.c_str());
        LoadAnything(&px, Store::Ini);
        ASSERT_FALSE(HasFatalFailure()) << "case " << nCase;
    }
    DeleteFileW(path.c_str());
}

TEST(PropExchangeFuzz, XmlReaderRefusesOrReadsDamagedDocuments)
{
    ComScope com;
    std::u16string path = TempPath(u"propexchange-fuzz.xml");
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, u"Settings");
        Sample sample = Sample::Filled(Store::Xml);
        ExchangeSample(&px, Store::Xml, sample);
        ASSERT_TRUE(px.SaveToFile(path.c_str()));
    }
    std::string base = ReadFileBytes(path);
    ASSERT_FALSE(base.empty());

    std::vector<std::string> cases;
    // Deep nesting, entity expansion, a document type and an enormous attribute.
    cases.push_back(std::string(100000, '<').replace(0, 0, "") + "");
    {
        std::string deep;
        for (int i = 0; i < 20000; ++i)
            deep += "<Settings>";
        cases.push_back(deep);
        for (int i = 0; i < 20000; ++i)
            deep += "</Settings>";
        cases.push_back(deep);
    }
    cases.push_back(
        "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
        "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
        "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>"
        "<Settings CompactMode=\"1\" Title=\"&h;\"/>");
    cases.push_back("<!DOCTYPE x SYSTEM \"file:///etc/passwd\"><Settings CompactMode=\"1\" Title=\"x\"/>");
    cases.push_back("<Settings CompactMode=\"1\" Title=\"" + std::string(2000000, 'x') + "\"/>");
    cases.push_back("<Settings CompactMode=\"1\"><Child Count=\"2147483647\"/></Settings>");
    cases.push_back("<Settings><Child><Count>-5</Count><Item0/></Child><Data>CBL</Data></Settings>");
    std::mt19937 rng(30121899);
    for (int nCase = 0; nCase < 300; ++nCase)
        cases.push_back(Mutate(base, rng));

    for (size_t nCase = 0; nCase < cases.size(); ++nCase)
    {
        WriteFileBytes(path, cases[nCase]);
        CQVTPropExchangeXMLNode px(TRUE, nullptr, u"Settings");
        if (px.LoadFromFile(path.c_str()))
            LoadAnything(&px, Store::Xml);
        ASSERT_FALSE(HasFatalFailure()) << "case " << nCase;
    }
    DeleteFileW(path.c_str());
}
