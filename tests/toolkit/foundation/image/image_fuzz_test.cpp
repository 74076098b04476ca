// Damaged icon files, icon images and icon records: a bounded number of
// mutations of good ones must load or fail, never crash or read past their
// bytes. Inputs that once crashed stay here as fixed cases.
#include <afxwin.h>

#include <random>
#include <string>
#include <vector>

#include "image_test_support.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTImageManager.h"

namespace {
std::string Mutate(const std::string& good, std::mt19937& random)
{
    std::string bytes = good;
    switch (random() % 4)
    {
    case 0:  // flip a few bytes
        for (int i = 0, n = 1 + random() % 8; i < n && !bytes.empty(); ++i)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        break;
    case 1:  // cut short
        bytes.resize(random() % (bytes.size() + 1));
        break;
    case 2:  // a large value over a header field
    {
        static const DWORD values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 256, 32};
        if (bytes.size() >= 4)
        {
            DWORD v = values[random() % 8];
            size_t at = random() % std::min<size_t>(bytes.size() - 3, 80);
            memcpy(&bytes[at], &v, 4);
        }
        break;
    }
    default:  // garbage appended or put in the middle
        bytes.insert(random() % (bytes.size() + 1),
                     std::string(1 + random() % 64, static_cast<char>(random())));
        break;
    }
    return bytes;
}

// Draws whatever loaded, so that a bad image that got in shows up.
void DrawEverything(CQVTImageManager& manager, UINT nCommand)
{
    CQVTImageManagerIconSet* pSet = manager.GetIconSet(nCommand);
    if (!pSet)
        return;
    POSITION pos = pSet->GetIcons()->GetStartPosition();
    while (pos)
    {
        UINT nWidth = 0;
        CQVTImageManagerIcon* pIcon = nullptr;
        pSet->GetIcons()->GetNextAssoc(pos, nWidth, pIcon);
        DibCanvas canvas(64, 64);
        for (int nState = 0; nState <= qvtImagePressed; ++nState)
            pIcon->DrawInState(&canvas.dc, CPoint(0, 0), nState);
    }
}
}  // namespace

TEST(ImageFuzz, DamagedIcoFilesLoadOrFailCleanly)
{
    const std::string good = ReadBytesFromFile(ImageDataPath(u"icons.ico"));
    ASSERT_GT(good.size(), 100u);
    std::u16string path = ImageTempPath(u"sondrel-fuzz.ico");
    std::mt19937 random(20240601);
    CQVTImageManager manager;
    int nLoaded = 0;
    for (int i = 0; i < 300; ++i)
    {
        WriteBytesToFile(path, Mutate(good, random));
        if (manager.SetIconFromIcoFile(path.c_str(), 1))
            ++nLoaded;
        DrawEverything(manager, 1);
    }
    EXPECT_GT(nLoaded, 0) << "some mutations leave a good entry";
    DeleteFileW(path.c_str());
}

TEST(ImageFuzz, DamagedIconImagesLoadOrFailCleanly)
{
    const std::string file = ReadBytesFromFile(ImageDataPath(u"icons.ico"));
    std::vector<std::string> images;
    for (int i = 0; i < 3; ++i)
    {
        DWORD nBytes = 0, nOffset = 0;
        memcpy(&nBytes, &file[6 + 16 * i + 8], 4);
        memcpy(&nOffset, &file[6 + 16 * i + 12], 4);
        images.push_back(file.substr(nOffset, nBytes));
    }
    std::mt19937 random(7);
    CQVTImageManager manager;
    for (int i = 0; i < 600; ++i)
    {
        std::string bytes = Mutate(images[i % 3], random);
        CQVTImageManagerRasterImageHandle handle;
        if (handle.LoadIconImage(reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size()), CSize(0, 0)))
        {
            EXPECT_FALSE(handle.IsEmpty());
            manager.SetIcon(handle, 2);
            DrawEverything(manager, 2);
        }
    }
}

TEST(ImageFuzz, DamagedIconRecordsLoadOrRaiseArchiveErrors)
{
    CQVTImageManagerIcon source(1, 16, 15);
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachBitmap(MakeAlphaBitmap(16, 16, [](int x, int y) { return 0x80000000u | (x << 16) | y; }));
    source.SetNormalImage(handle);
    handle.AttachIcon(MakeSolidIcon(16, 16, RGB(1, 200, 3)));
    source.SetHotImage(handle);
    CMemFile stored;
    {
        CArchive ar(&stored, CArchive::store);
        source.Serialize(ar);
    }
    std::string good(static_cast<size_t>(stored.GetLength()), '\0');
    stored.SeekToBegin();
    stored.Read(&good[0], static_cast<UINT>(good.size()));

    std::mt19937 random(43);
    int nFailed = 0;
    for (int i = 0; i < 400; ++i)
    {
        std::string bytes = Mutate(good, random);
        CMemFile file(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        CQVTImageManagerIcon icon(1, 16, 15);
        try
        {
            icon.Serialize(ar);
            DibCanvas canvas(32, 32);
            for (int nState = 0; nState <= qvtImagePressed; ++nState)
                icon.DrawInState(&canvas.dc, CPoint(0, 0), nState);
        }
        catch (CArchiveException* e)
        {
            ++nFailed;
            e->Delete();
        }
    }
    EXPECT_GT(nFailed, 0);
}
