// Theme parts read from zipped markup: entries found without regard to
// case, decoded as the stream layer decodes text, measured and rendered;
// missing entries, damaged entries and markup that does not parse give a
// clear failure and an empty part.
#include <afxwin.h>

#include <string>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/markup/QVTMarkupThemePart.h"
#include "zip_bytes.h"

namespace {

const char kRedBox[] =
    "<Border xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' Width='40' Height='20' "
    "Background='Red'/>";

}  // namespace

class MarkupThemePart : public ::testing::Test
{
protected:
    void SetUp() override { m_pContext = MarkupCreateContext(nullptr, FALSE); }
    void TearDown() override
    {
        if (m_hArchive)
            QVTZipCloseArchive(m_hArchive);
        MarkupReleaseContext(m_pContext);
    }
    void Open(const std::vector<zipbytes::ZipEntry>& entries)
    {
        m_bytes = zipbytes::MakeZip(entries);
        m_hArchive = QVTZipOpenArchive(m_bytes.data(), static_cast<DWORD>(m_bytes.size()));
        ASSERT_NE(nullptr, m_hArchive);
    }

    CQVTMarkupContext* m_pContext = nullptr;
    zipbytes::Bytes m_bytes;
    HQVTZIPARCHIVE m_hArchive = nullptr;
};

namespace {

TEST_F(MarkupThemePart, EntriesParseMeasureAndRenderWhateverTheirEncoding)
{
    const std::string utf8Bom = std::string("\xEF\xBB\xBF") + kRedBox;
    std::string utf16 = "\xFF\xFE";
    for (const char* p = kRedBox; *p; ++p)
        utf16 += std::string(1, *p) + std::string(1, '\0');
    Open({{"Frame/Caption.xaml", kRedBox, true}, {"bom.xaml", utf8Bom, false}, {"wide.xaml", utf16, true}});

    for (const char* pszName : {"frame/CAPTION.XAML", "bom.xaml", "wide.xaml"})
    {
        CQVTMarkupThemePart part;
        ASSERT_TRUE(part.LoadPart(m_hArchive, pszName, m_pContext)) << pszName;
        EXPECT_EQ(CSize(40, 20), part.Measure(INT_MAX, INT_MAX)) << pszName;
        DibCanvas canvas(60, 40);
        part.Render(&canvas.dc, CRect(10, 10, 50, 30));
        EXPECT_EQ(RGB(255, 0, 0), canvas.At(30, 20)) << pszName;
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(5, 5)) << pszName;
        part.Render(nullptr, CRect(0, 0, 10, 10));
    }
}

TEST_F(MarkupThemePart, MissingDamagedAndBrokenEntriesFailClearly)
{
    zipbytes::ZipEntry forged{"forged.xaml", kRedBox, true};
    forged.nClaimedSize = 0x7FFFFFF0;
    zipbytes::ZipEntry badCrc{"crc.xaml", kRedBox, false};
    badCrc.bBadCrc = true;
    Open({{"good.xaml", kRedBox, true},
          forged,
          badCrc,
          {"broken.xaml", "<Border Width='40'", true},
          {"unknown.xaml",
           "<NoSuchElement xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation'/>", true},
          {"empty.xaml", "", false},
          {"text.xaml", "just text", false}});

    CQVTMarkupThemePart part;
    EXPECT_FALSE(part.LoadPart(m_hArchive, "absent.xaml", m_pContext));
    EXPECT_EQ(CSize(0, 0), part.Measure(100, 100)) << "a missing entry leaves the part empty";
    DibCanvas canvas(20, 20);
    part.Render(&canvas.dc, CRect(0, 0, 20, 20));
    EXPECT_EQ(20 * 20, canvas.CountOf(RGB(255, 255, 255)));

    ASSERT_TRUE(part.LoadPart(m_hArchive, "good.xaml", m_pContext));
    EXPECT_FALSE(part.LoadPart(m_hArchive, "absent.xaml", m_pContext));
    EXPECT_EQ(CSize(40, 20), part.Measure(INT_MAX, INT_MAX)) << "and keeps what it had";

    for (const char* pszName :
         {"forged.xaml", "crc.xaml", "broken.xaml", "unknown.xaml", "empty.xaml", "text.xaml"})
    {
        CQVTMarkupThemePart bad;
        ASSERT_TRUE(bad.LoadPart(m_hArchive, "good.xaml", m_pContext));
        EXPECT_FALSE(bad.LoadPart(m_hArchive, pszName, m_pContext)) << pszName;
        if (std::string(pszName) != "forged.xaml" && std::string(pszName) != "crc.xaml")
        {
            EXPECT_EQ(nullptr, bad.GetElement()) << pszName << ": what did not parse replaces nothing";
        }
    }
    EXPECT_FALSE(part.LoadPart(nullptr, "good.xaml", m_pContext));
    EXPECT_FALSE(part.LoadPart(m_hArchive, nullptr, m_pContext));
}

}  // namespace
