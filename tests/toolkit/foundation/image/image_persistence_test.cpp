// Image sets saved through every property-exchange back end and read back
// here and by a second process; the icon record's older schemas, its empty
// slots, refused DIB records and a wrong check string.
#include <afxwin.h>

#include <vector>

#include "image_test_support.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/support/child_process.h"
#include "tests/toolkit/foundation/propexchange/store_exchange.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

namespace {
const char16_t kChildVariable[] = u"SONDREL_IMAGE_PERSISTENCE_CHILD";
const char16_t kRegistryRoot[] = u"Software\\SondrelTests\\Images";

std::u16string Where(Store store)
{
    return StorePlace(store, u"sondrel-images", u"RoundTrip").GetString();
}

template <class TBody>
void Exchange(Store store, BOOL bLoading, const std::u16string& where, TBody body)
{
    ExchangeThroughStore(store, bLoading, where.c_str(), kRegistryRoot, u"Images", body);
}

// Id 7: a vector icon at 24 beside raster icons at 16 (masked, with a hot
// image) and 32 (alpha, with a disabled image); id 8: an alpha icon with a
// pressed image.
void FillSample(CQVTImageManager& manager)
{
    ASSERT_TRUE(manager.SetVectorIconFromResource(GetModuleHandleW(nullptr), u"VECTOR", u"RT_XAML", 7, 24,
                                                  qvtImageNormal));
    ASSERT_TRUE(manager.SetVectorIconFromResource(GetModuleHandleW(nullptr), u"VECTOR", u"RT_XAML", 7, 24,
                                                  qvtImageHot));
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeMaskedIcon(
        16, 16, [](int x, int y) { return RGB(x * 16, y * 16, 200); }, [](int x, int y) { return x == y; }));
    ASSERT_TRUE(manager.SetIcon(handle, 7, CSize(16, 16)));
    handle.AttachIcon(MakeSolidIcon(16, 16, RGB(0, 255, 0)));
    ASSERT_TRUE(manager.SetIcon(handle, 7, CSize(16, 16), qvtImageHot));
    handle.AttachBitmap(MakeAlphaBitmap(32, 32, [](int x, int y) {
        return (static_cast<DWORD>(x * 8) << 24) | (static_cast<DWORD>(y * 8) << 8) | 0xFF;
    }));
    ASSERT_TRUE(manager.SetIcon(handle, 7, CSize(32, 32)));
    handle.AttachBitmap(MakeAlphaBitmap(32, 32, [](int, int) { return 0x80808080u; }));
    ASSERT_TRUE(manager.SetIcon(handle, 7, CSize(32, 32), qvtImageDisabled));
    handle.AttachBitmap(
        MakeAlphaBitmap(16, 16, [](int x, int) { return x < 8 ? 0xFFFF0000u : 0x40004000u; }));
    ASSERT_TRUE(manager.SetIcon(handle, 8, CSize(16, 16)));
    handle.AttachIcon(MakeSolidIcon(16, 16, RGB(9, 9, 9)));
    ASSERT_TRUE(manager.SetIcon(handle, 8, CSize(16, 16), qvtImagePressed));
}

std::vector<DWORD> Drawn(CQVTImageManagerIcon* pIcon, int nState)
{
    DibCanvas canvas(32, 32, RGB(10, 20, 30));
    pIcon->DrawInState(&canvas.dc, CPoint(0, 0), nState);
    return std::vector<DWORD>(canvas.Pixels(), canvas.Pixels() + 32 * 32);
}

std::string VectorBytes(CQVTImageManagerIcon* pIcon, int nState)
{
    DWORD nSize = 0;
    const BYTE* pData = pIcon->GetVectorImage(nState).GetData(nSize);
    return pData ? std::string(reinterpret_cast<const char*>(pData), nSize) : std::string();
}

void ExpectSameImages(CQVTImageManager& expected, CQVTImageManager& actual)
{
    for (UINT id : {7u, 8u})
    {
        CQVTImageManagerIconSet* pExpected = expected.GetIconSet(id);
        CQVTImageManagerIconSet* pActual = actual.GetIconSet(id);
        ASSERT_NE(pActual, nullptr) << id;
        ASSERT_EQ(IconWidths(pActual), IconWidths(pExpected)) << id;
        for (UINT nWidth : IconWidths(pExpected))
        {
            CQVTImageManagerIcon* pWant = pExpected->GetIcon(static_cast<int>(nWidth), FALSE);
            CQVTImageManagerIcon* pGot = pActual->GetIcon(static_cast<int>(nWidth), FALSE);
            ASSERT_NE(pGot, nullptr) << id << " width " << nWidth;
            ASSERT_EQ(pGot->GetKind(), pWant->GetKind()) << id << " width " << nWidth;
            if (pWant->IsVectorIcon())
            {
                EXPECT_EQ(VectorBytes(pGot, qvtImageNormal), VectorBytes(pWant, qvtImageNormal));
                EXPECT_EQ(VectorBytes(pGot, qvtImageNormal),
                          ReadBytesFromFile(ImageDataPath(u"vector.xaml")));
                EXPECT_TRUE(pGot->GetVectorSlot(CQVTImageManagerIcon::vectorHot).HasImage());
                EXPECT_FALSE(pGot->GetVectorSlot(CQVTImageManagerIcon::vectorPressed).HasImage());
                // The loaded documents are parsed again: they draw.
                DibCanvas canvas(32, 32, RGB(10, 20, 30));
                pGot->DrawInStateSized(&canvas.dc, CPoint(0, 0), CSize(24, 24), qvtImageHot);
                EXPECT_EQ(canvas.At(8, 8), RGB(255, 0, 0)) << id;
                continue;
            }
            EXPECT_EQ(pGot->GetExtent(), pWant->GetExtent());
            EXPECT_EQ(pGot->IsAlpha(), pWant->IsAlpha());
            for (int nState = 0; nState <= qvtImagePressed; ++nState)
                EXPECT_EQ(Drawn(pGot, nState), Drawn(pWant, nState))
                    << id << " width " << nWidth << " state " << nState;
        }
    }
}

// A DIB record as the icon record stores one: header block, pixel block.
void WriteDibRecord(CArchive& ar, int cx, int cy, const std::vector<DWORD>& pixels, DWORD nHeaderBytes = 52,
                    DWORD dwHeaderSize = 40)
{
    std::vector<BYTE> header(nHeaderBytes, 0);
    BITMAPINFOHEADER bih = {};
    bih.biSize = dwHeaderSize;
    bih.biWidth = cx;
    bih.biHeight = cy;
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    memcpy(header.data(), &bih, std::min<size_t>(nHeaderBytes, sizeof bih));
    ar.WriteCount(nHeaderBytes);
    ar.Write(header.data(), nHeaderBytes);
    ar.WriteCount(pixels.size() * 4);
    ar.Write(pixels.data(), static_cast<UINT>(pixels.size() * 4));
}

void WriteEmptySlot(CArchive& ar)
{
    ar.WriteCount(0);
    ar.WriteCount(0);
}

const UINT kSentinel = 0xC0FFEE;

// Loads one icon record from bytes and checks that it was read to its end.
void LoadRecord(CQVTImageManagerIcon& icon, CMemFile& file)
{
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    icon.Serialize(ar);
    UINT nAfter = 0;
    ar >> nAfter;
    EXPECT_EQ(nAfter, kSentinel) << "the record was not read to its end";
}

COLORREF DrawnOverBlack(CQVTImageManagerIcon& icon, int nState)
{
    DibCanvas canvas(16, 16, RGB(0, 0, 0));
    icon.DrawInState(&canvas.dc, CPoint(0, 0), nState);
    return canvas.At(4, 4);
}

}  // namespace

class ImagePersistenceRoundTrip : public testing::TestWithParam<Store>
{
protected:
    ComScope m_com;
};

TEST_P(ImagePersistenceRoundTrip, EverySetComesBackHereAndInAnotherProcess)
{
    Store store = GetParam();
    std::u16string where = Where(store);
    CQVTImageManager saved;
    FillSample(saved);
    Exchange(store, FALSE, where, [&](CQVTPropExchange* pPX) { saved.DoPropExchange(pPX); });

    CQVTImageManager loaded;
    Exchange(store, TRUE, where, [&](CQVTPropExchange* pPX) { loaded.DoPropExchange(pPX); });
    ExpectSameImages(saved, loaded);

    std::u16string marker = ImageTempPath(u"sondrel-images-child.ok");
    DeleteFileW(marker.c_str());
    std::u16string value =
        std::u16string(1, static_cast<char16_t>(u'0' + static_cast<int>(store))) + u"|" + where;
    EXPECT_EQ(RunTestInChildProcess(u"ImagePersistenceChild.ReadsWhatTheParentWrote", kChildVariable, value),
              0u);
    EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the child did not run its test";
    DeleteFileW(marker.c_str());
}

INSTANTIATE_TEST_SUITE_P(Stores, ImagePersistenceRoundTrip,
                         testing::Values(Store::Xml, Store::Archive, Store::Registry, Store::Ini));

// Runs only in the second process that the round trip starts.
TEST(ImagePersistenceChild, ReadsWhatTheParentWrote)
{
    std::u16string value = ChildProcessValue(kChildVariable);
    if (value.empty())
        GTEST_SKIP() << "runs only as the second process of a round trip";
    ComScope com;
    Store store = static_cast<Store>(value[0] - u'0');
    CQVTImageManager expected;
    FillSample(expected);
    CQVTImageManager loaded;
    Exchange(store, TRUE, value.substr(2), [&](CQVTPropExchange* pPX) { loaded.DoPropExchange(pPX); });
    ExpectSameImages(expected, loaded);
    if (!HasFailure())
        WriteBytesToFile(ImageTempPath(u"sondrel-images-child.ok"), "ok");
}

TEST(ImagePersistence, TheManagersOwnSerializeRoundTrips)
{
    CQVTImageManager saved;
    FillSample(saved);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        saved.Serialize(ar);
    }
    file.SeekToBegin();
    CQVTImageManager loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    ExpectSameImages(saved, loaded);
}

TEST(ImagePersistence, WrongCheckStringStopsTheLoadAndKeepsEarlierSets)
{
    ComScope com;
    CQVTImageManager source;
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeSolidIcon(16, 16, RGB(255, 0, 0)));
    ASSERT_TRUE(source.SetIcon(handle, 0x20001, CSize(16, 16)));
    ASSERT_TRUE(source.SetIcon(handle, 0x20003, CSize(16, 16)));

    std::u16string where = ImageTempPath(u"sondrel-images-checksum.xml");
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, u"Images");
        CQVTPropExchangeEnumeratorPtr pEnumerator(px.GetEnumerator(u"IconSet"));
        POSITION pos = pEnumerator->GetPosition(3);
        const UINT ids[] = {0x20001, 0x20002, 0x20003};
        for (UINT id : ids)
        {
            CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
            int nID = static_cast<int>(id);
            PropExchangeIntNoDefault(&section, u"Id", nID);
            if (id == 0x20002)
            {
                CString strOther = u"CQVTImageManagerIconz";
                PropExchangeString(&section, u"CheckSum", strOther, u"CQVTImageManagerIcons");
            }
            else
            {
                source.DoPropExchangeIconSet(id, &section);
            }
        }
        ASSERT_TRUE(px.SaveToFile(where.c_str()));
    }

    CQVTImageManager loaded;
    CQVTPropExchangeXMLNode px(TRUE, nullptr, u"Images");
    ASSERT_TRUE(px.LoadFromFile(where.c_str()));
    try
    {
        loaded.DoPropExchange(&px);
        ADD_FAILURE() << "a wrong check string was accepted";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::badClass);
        e->Delete();
    }
    ASSERT_NE(loaded.GetImage(0x20001, 16), nullptr) << "the set before it stays";
    EXPECT_EQ(DrawnPixel(loaded.GetImage(0x20001, 16), 0, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(loaded.GetIconSet(0x20002), nullptr);
    EXPECT_EQ(loaded.GetIconSet(0x20003), nullptr);
    EXPECT_EQ(loaded.GetHighestCommand(), 0x20002u);
    DeleteFileW(where.c_str());
}

TEST(ImagePersistence, OlderSchemasLoadTheirSlots)
{
    // Schema 7: normal, disabled and hot only; alpha pixels unmultiplied.
    const std::vector<DWORD> straight(16 * 16, 0x80FF0000);
    const std::vector<DWORD> premultiplied(16 * 16, 0x80800000);
    const std::vector<DWORD> green(16 * 16, 0xFF00FF00);
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << 16u << 7u;
            WriteDibRecord(ar, 16, 16, straight);
            ar.WriteCount(0);
            WriteEmptySlot(ar);
            WriteDibRecord(ar, 16, 16, green);
            ar.WriteCount(0);
            ar << kSentinel;
        }
        CQVTImageManagerIcon icon(1, 16, 15);
        LoadRecord(icon, file);
        EXPECT_FALSE(icon.GetNormalImage().IsEmpty());
        EXPECT_TRUE(icon.GetRasterSlot(CQVTImageManagerIcon::slotChecked).IsEmpty());
        EXPECT_TRUE(icon.GetRasterSlot(CQVTImageManagerIcon::slotPressed).IsEmpty());
        EXPECT_EQ(DrawnOverBlack(icon, qvtImageNormal), RGB(128, 0, 0)) << "premultiplied when first drawn";
        EXPECT_EQ(DrawnOverBlack(icon, qvtImageChecked), RGB(0, 255, 0)) << "checked falls back to hot";
    }
    // Schema 24 holds unmultiplied pixels too, with checked and pressed slots.
    for (UINT nSchema : {24u, 43u})
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << 16u << nSchema;
            WriteDibRecord(ar, 16, 16, nSchema == 24 ? straight : premultiplied);
            ar.WriteCount(0);
            WriteEmptySlot(ar);
            WriteEmptySlot(ar);
            WriteEmptySlot(ar);
            WriteDibRecord(ar, 16, 16, green);
            ar.WriteCount(0);
            ar << kSentinel;
        }
        CQVTImageManagerIcon icon(1, 16, 15);
        LoadRecord(icon, file);
        EXPECT_EQ(icon.GetNormalImage().IsPremultiplied(), nSchema == 43u);
        EXPECT_EQ(DrawnOverBlack(icon, qvtImageNormal), RGB(128, 0, 0)) << "schema " << nSchema;
        EXPECT_EQ(DrawnOverBlack(icon, qvtImagePressed), RGB(0, 255, 0)) << "schema " << nSchema;
    }
}

TEST(ImagePersistence, ADamagedHeightDoesNotStretchTheImage)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 0x7FFFFFF0u << 43u;
        WriteDibRecord(ar, 16, 16, std::vector<DWORD>(16 * 16, 0xFF0000FF));
        ar.WriteCount(0);
        for (int i = 0; i < 4; ++i)
            WriteEmptySlot(ar);
        ar << kSentinel;
    }
    CQVTImageManagerIcon icon(1, 16, 15);
    LoadRecord(icon, file);
    EXPECT_EQ(icon.GetExtent(), CSize(16, 16)) << "the image's own size";
    DibCanvas canvas(16, 40, RGB(255, 255, 255));
    icon.Draw(&canvas.dc, CPoint(0, 0));
    EXPECT_EQ(canvas.BoundsOfAllBut(RGB(255, 255, 255)), CRect(0, 0, 16, 16));
}

TEST(ImagePersistence, DibRecordsThatLieLeaveTheirSlotEmpty)
{
    const std::vector<DWORD> red(16 * 16, 0xFFFF0000);
    const std::vector<DWORD> green(16 * 16, 0xFF00FF00);
    struct Lie
    {
        const char* what;
        DWORD nHeaderBytes;
        DWORD dwHeaderSize;
        size_t nPixels;
    } lies[] = {
        {"header block shorter than a header", 20, 40, 256},
        {"header larger than its block", 52, 200, 256},
        {"pixels short of the rows", 52, 40, 100},
    };
    for (const Lie& lie : lies)
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << 16u << 43u;
            WriteDibRecord(ar, 16, 16, std::vector<DWORD>(red.begin(), red.begin() + lie.nPixels),
                           lie.nHeaderBytes, lie.dwHeaderSize);
            ar.WriteCount(0);
            WriteEmptySlot(ar);
            WriteDibRecord(ar, 16, 16, green);
            ar.WriteCount(0);
            WriteEmptySlot(ar);
            WriteEmptySlot(ar);
            ar << kSentinel;
        }
        CQVTImageManagerIcon icon(1, 16, 15);
        LoadRecord(icon, file);
        EXPECT_TRUE(icon.GetNormalImage().IsEmpty()) << lie.what;
        EXPECT_FALSE(icon.GetRasterSlot(CQVTImageManagerIcon::slotHot).IsEmpty())
            << lie.what << ": the next slot";
    }

    // A count beyond what the archive holds is a short stream.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 16u << 43u;
        ar.WriteCount(0x7FFFFFF0);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CQVTImageManagerIcon icon(1, 16, 15);
    try
    {
        icon.Serialize(ar);
        ADD_FAILURE() << "a count past the end was read";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
}

TEST(ImagePersistence, EmptySlotsCostTwoCountsEach)
{
    CQVTImageManagerIcon icon(1, 16, 15);
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachBitmap(MakeAlphaBitmap(16, 16, [](int, int) { return 0xFF102030u; }));
    ASSERT_TRUE(icon.SetNormalImage(handle));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        icon.Serialize(ar);
    }
    const size_t nSize = static_cast<size_t>(file.GetLength());
    std::vector<BYTE> bytes(nSize);
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(nSize));
    // Height, schema; normal: header and pixel blocks, then no mask; four
    // empty slots of two 16-bit zero counts.
    ASSERT_EQ(nSize, 8u + (2 + 52 + 2 + 1024) + 2 + 4 * 4);
    EXPECT_EQ(bytes[0], 16);
    EXPECT_EQ(bytes[4], 43);
    for (size_t i = nSize - 18; i < nSize; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
}
