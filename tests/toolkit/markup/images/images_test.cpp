// Markup images drawn into DIBs: pictures with alpha, icon files, a JPEG whose
// pure green turns transparent, resources, command ids of the image manager,
// animated GIFs advancing on thread timers, and pictures that are corrupt,
// truncated, enormous or absent. Under GDI every picture is an image-manager
// icon; under GDI+ any format GDI+ decodes.
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/image/QVTMarkupImage.h"
#include "toolkit/markup/values/QVTMarkupString.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

CString DataPath(LPCWSTR lpszName)
{
    WCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CString strPath(szModule);
    return strPath.Left(strPath.ReverseFind(u'\\') + 1) + u"markup_images_data\\" + lpszName;
}

CString TempPath(LPCWSTR lpszName)
{
    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    return CString(szTemp) + lpszName;
}

void WriteBytes(const CString& strPath, const std::vector<BYTE>& bytes)
{
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD nWritten = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
}

std::vector<BYTE> ReadBytes(const CString& strPath)
{
    std::vector<BYTE> bytes;
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(::GetFileSize(hFile, nullptr));
    DWORD nRead = 0;
    ::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nRead, nullptr);
    ::CloseHandle(hFile);
    return bytes;
}

// Runs the thread's messages until the condition holds or the message
// queue has been waited on many times.
template <class TCondition>
BOOL PumpUntil(TCondition condition)
{
    for (int i = 0; i < 400 && !condition(); ++i)
    {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    return condition();
}

}  // namespace

class MarkupImages : public testing::Test
{
protected:
    MarkupImages() : m_pContext(MarkupCreateContext(nullptr, FALSE)), m_canvas(60, 60) {}
    ~MarkupImages() override
    {
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
    }

    CQVTMarkupImage* Load(const CString& strSource, LPCWSTR lpszAttributes = u"")
    {
        MarkupReleaseElement(m_pRoot);
        CString strText;
        strText.Format(u"<Image xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
                       u"HorizontalAlignment='Left' VerticalAlignment='Top' Source='%ls' %ls/>",
                       strSource.GetString(), lpszAttributes);
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, strText, &strError);
        EXPECT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        return MarkupCast<CQVTMarkupImage>(m_pRoot);
    }
    CSize Measure() { return MarkupMeasureElement(m_pRoot, QVT_MARKUP_UNBOUNDED, QVT_MARKUP_UNBOUNDED); }
    void Render(COLORREF clrBackground = kWhite)
    {
        m_canvas.Clear(clrBackground);
        MarkupRenderElement(m_pRoot, m_canvas.dc.m_hDC, CRect(0, 0, 60, 60));
    }

    CQVTMarkupContext* m_pContext;
    CQVTMarkupUIElement* m_pRoot = nullptr;
    DibCanvas m_canvas;
};

TEST_F(MarkupImages, APngKeepsItsAlphaUnderGdiPlusAndGdi)
{
    CQVTMarkupImage* pImage = Load(u"file://" + DataPath(u"alpha.png"));
    EXPECT_EQ(Measure(), CSize(20, 20));
    Render();
    ASSERT_NE(DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusImage, pImage->GetImage()), nullptr);
    EXPECT_EQ(m_canvas.At(2, 2), kRed);
    const COLORREF clrHalf = m_canvas.At(15, 2);
    EXPECT_NEAR(GetRValue(clrHalf), 127, 2);
    EXPECT_EQ(GetBValue(clrHalf), 255);
    EXPECT_EQ(m_canvas.At(15, 15), kWhite);
    EXPECT_EQ(m_canvas.At(25, 5), kWhite);

    // Under GDI the picture is an icon of a private image manager, alpha kept.
    m_pContext->EnableGdiPlus(FALSE);
    pImage = Load(u"file://" + DataPath(u"alpha.png"));
    EXPECT_EQ(Measure(), CSize(20, 20));
    Render();
    EXPECT_NE(DYNAMIC_DOWNCAST(CQVTMarkupGdiImage, pImage->GetImage()), nullptr);
    EXPECT_EQ(m_canvas.At(2, 2), kRed);
    EXPECT_NEAR(GetRValue(m_canvas.At(15, 2)), 127, 2);
    EXPECT_EQ(m_canvas.At(15, 15), kWhite);
}

TEST_F(MarkupImages, IconFilesLoadWhateverTheCaseOfTheirExtension)
{
    for (BOOL bGdiPlus : {TRUE, FALSE})
    {
        SCOPED_TRACE(bGdiPlus);
        m_pContext->EnableGdiPlus(bGdiPlus);
        CQVTMarkupImage* pImage = Load(u"file://" + DataPath(u"square.ICO"));
        EXPECT_EQ(Measure(), CSize(16, 16));
        Render();
        EXPECT_EQ(m_canvas.At(8, 8), kBlue);
        EXPECT_EQ(m_canvas.At(0, 0), kWhite);
        EXPECT_EQ(m_canvas.At(15, 8), kWhite);
        if (!bGdiPlus)
        {
            EXPECT_TRUE(pImage->GetImage()->IsImageManagerImage());
        }
    }
}

TEST_F(MarkupImages, PureGreenOfAPictureWithoutAlphaIsTheMaskColour)
{
    Load(u"file://" + DataPath(u"blocks.jpg"));
    EXPECT_EQ(Measure(), CSize(16, 16));
    Render(kBlue);
    // The green block shows the background through; the red one is drawn.
    EXPECT_EQ(m_canvas.At(3, 3), kBlue);
    const COLORREF clrRed = m_canvas.At(12, 3);
    EXPECT_GT(GetRValue(clrRed), 240);
    EXPECT_LT(GetGValue(clrRed), 16);
    EXPECT_EQ(m_canvas.At(12, 12), kWhite);

    // A context's own mask colour replaces green.
    m_pContext->SetMaskColor(kWhite);
    Load(u"file://" + DataPath(u"blocks.jpg"));
    Render(kBlue);
    EXPECT_EQ(m_canvas.At(3, 3), kGreen);
    EXPECT_EQ(m_canvas.At(12, 12), kBlue);
    // A picture with alpha of its own ignores the mask colour.
    m_pContext->SetMaskColor(kRed);
    Load(u"file://" + DataPath(u"alpha.png"));
    Render(kBlue);
    EXPECT_EQ(m_canvas.At(2, 2), kRed);
}

TEST_F(MarkupImages, ResourcesAndCommandIdsComeThroughTheImageManager)
{
    // A PNG resource GDI+ decodes.
    Load(u"res://./PNG/ALPHA");
    EXPECT_EQ(Measure(), CSize(20, 20));
    Render();
    EXPECT_EQ(m_canvas.At(2, 2), kRed);
    // A bitmap resource GDI+ cannot decode falls back to the image manager,
    // where green is the mask colour.
    CQVTMarkupImage* pImage = Load(u"res://#301");
    EXPECT_EQ(Measure(), CSize(12, 12));
    Render(kBlue);
    EXPECT_TRUE(pImage->GetImage()->IsImageManagerImage());
    EXPECT_EQ(m_canvas.At(6, 6), kRed);
    EXPECT_EQ(m_canvas.At(1, 1), kBlue);
    // Under GDI, "res://" names a bitmap, else an icon resource.
    m_pContext->EnableGdiPlus(FALSE);
    Load(u"res://#302");
    EXPECT_EQ(Measure().cx, 16);
    Render();
    EXPECT_EQ(m_canvas.At(8, 8), kBlue);
    // Resource ids are 16-bit: the largest is found, and a larger number
    // names nothing rather than the id it would wrap to (302, 65535).
    const struct
    {
        LPCWSTR lpszSource;
        SIZE size;
    } ids[] = {{u"res://#65535", {12, 12}}, {u"res://#65838", {0, 0}}, {u"res://#131071", {0, 0}}};
    for (BOOL bGdiPlus : {FALSE, TRUE})
    {
        m_pContext->EnableGdiPlus(bGdiPlus);
        for (const auto& id : ids)
        {
            SCOPED_TRACE(CStringA(id.lpszSource) + (bGdiPlus ? " through GDI+" : " through GDI"));
            Load(id.lpszSource);
            EXPECT_EQ(Measure(), CSize(id.size));
        }
    }

    // Digits are a command id of the context's image manager.
    m_pContext->EnableGdiPlus(TRUE);
    CQVTImageManager* pManager = new CQVTImageManager();
    m_pContext->SetImageManager(pManager);
    pManager->InternalRelease();
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromFile(DataPath(u"alpha.png"), &bAlpha);
    const UINT nCommand = 4711;
    ASSERT_TRUE(pManager->SetIconsFromBitmap(hBitmap, &nCommand, 1, CSize(0, 0), qvtImageNormal, bAlpha));
    ::DeleteObject(hBitmap);
    pImage = Load(u"4711");
    EXPECT_EQ(Measure(), CSize(20, 20));
    Render();
    EXPECT_TRUE(pImage->GetImage()->IsImageManagerImage());
    EXPECT_EQ(m_canvas.At(2, 2), kRed);
    EXPECT_EQ(m_canvas.At(15, 15), kWhite);
    // An id the manager lacks, even one a file is named after, gives nothing.
    WriteBytes(TempPath(u"4712"), ReadBytes(DataPath(u"alpha.png")));
    ::SetCurrentDirectoryW(TempPath(u""));
    Load(u"4712");
    EXPECT_EQ(Measure(), CSize(0, 0));
}

TEST_F(MarkupImages, AnimatedGifsAdvanceOnTimersAndStillOnesDoNot)
{
    CQVTMarkupImage* pImage = Load(u"file://" + DataPath(u"frames.gif"));
    Render();
    CQVTMarkupGdiPlusImage* pGif = DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusImage, pImage->GetImage());
    ASSERT_NE(pGif, nullptr);
    EXPECT_EQ(pGif->GetFrameCount(), 3u);
    EXPECT_TRUE(pGif->IsAnimating());
    EXPECT_EQ(m_canvas.At(4, 4), kRed);
    // Each tick shows the next frame and arms the timer again, round and round.
    EXPECT_EQ(pGif->GetCurrentFrame(), 1u);
    ASSERT_TRUE(PumpUntil([&]() { return pGif->GetCurrentFrame() == 2; }));
    Render();
    EXPECT_EQ(m_canvas.At(4, 4), kGreen);
    ASSERT_TRUE(PumpUntil([&]() { return pGif->GetCurrentFrame() == 0; }));
    Render();
    EXPECT_EQ(m_canvas.At(4, 4), kBlue);
    ASSERT_TRUE(PumpUntil([&]() { return pGif->GetCurrentFrame() == 1; }));
    Render();
    EXPECT_EQ(m_canvas.At(4, 4), kRed);
    EXPECT_EQ(pImage->GetImage(), pGif);

    // Frames without delays advance too.
    pImage = Load(u"file://" + DataPath(u"nodelay.gif"));
    Measure();
    pGif = DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusImage, pImage->GetImage());
    ASSERT_NE(pGif, nullptr);
    EXPECT_TRUE(PumpUntil([&]() { return pGif->GetCurrentFrame() == 2; }));

    // A single frame never starts a timer; a new source stops the old one.
    pImage = Load(u"file://" + DataPath(u"still.gif"));
    Measure();
    pGif = DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusImage, pImage->GetImage());
    ASSERT_NE(pGif, nullptr);
    EXPECT_FALSE(pGif->IsAnimating());
    pImage = Load(u"file://" + DataPath(u"frames.gif"));
    Measure();
    pImage->SetValue(CQVTMarkupImage::m_pSourceProperty,
                     CQVTMarkupString::CreateValue(u"file://" + DataPath(u"still.gif")));
    // The element relays out at once and loads the new picture.
    Render();
    pGif = DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusImage, pImage->GetImage());
    ASSERT_NE(pGif, nullptr);
    EXPECT_FALSE(pGif->IsAnimating());
    EXPECT_EQ(m_canvas.At(4, 4), kRed);
}

TEST_F(MarkupImages, BrokenOrAbsentPicturesGiveNothing)
{
    const std::vector<BYTE> png = ReadBytes(DataPath(u"alpha.png"));
    ASSERT_GT(png.size(), 40u);
    // Truncated in its image data, garbage after a good signature, nothing at all.
    WriteBytes(TempPath(u"cut.png"), std::vector<BYTE>(png.begin(), png.begin() + 40));
    std::vector<BYTE> garbage(png.begin(), png.begin() + 8);
    garbage.resize(500, 0xA5);
    WriteBytes(TempPath(u"garbage.png"), garbage);
    WriteBytes(TempPath(u"empty.png"), std::vector<BYTE>());
    // A header that claims 60000 by 60000 pixels.
    std::vector<BYTE> huge = png;
    huge[16] = 0, huge[17] = 0, huge[18] = 0xEA, huge[19] = 0x60;
    huge[20] = 0, huge[21] = 0, huge[22] = 0xEA, huge[23] = 0x60;
    WriteBytes(TempPath(u"huge.png"), huge);
    for (LPCWSTR lpszName : {u"cut.png", u"garbage.png", u"empty.png", u"huge.png", u"absent.png"})
    {
        SCOPED_TRACE(CStringA(lpszName).GetString());
        for (BOOL bGdiPlus : {TRUE, FALSE})
        {
            m_pContext->EnableGdiPlus(bGdiPlus);
            Load(u"file://" + TempPath(lpszName));
            EXPECT_EQ(Measure(), CSize(0, 0));
            Render();
            EXPECT_EQ(m_canvas.CountOf(kWhite), 60 * 60);
        }
    }
    // Under GDI an icon file that does not load is not taken for an icon.
    WriteBytes(TempPath(u"garbage.ico"), garbage);
    m_pContext->EnableGdiPlus(FALSE);
    for (LPCWSTR lpszName : {u"garbage.ico", u"absent.ico"})
    {
        SCOPED_TRACE(CStringA(lpszName).GetString());
        CQVTMarkupImage* pImage = Load(u"file://" + TempPath(lpszName));
        EXPECT_EQ(Measure(), CSize(0, 0));
        ASSERT_NE(pImage->GetImage(), nullptr);
        EXPECT_FALSE(pImage->GetImage()->IsImageManagerImage());
    }
    m_pContext->EnableGdiPlus(TRUE);
    Load(u"res://./PNG/NOSUCHPICTURE");
    EXPECT_EQ(Measure(), CSize(0, 0));
    Load(u"res://");
    EXPECT_EQ(Measure(), CSize(0, 0));
    Load(u"");
    EXPECT_EQ(Measure(), CSize(0, 0));
}

TEST_F(MarkupImages, StretchScalesTheNaturalSize)
{
    const CString strSource = u"file://" + DataPath(u"alpha.png");
    Load(strSource, u"Stretch='Uniform'");
    // Unbounded width, height 16: scaled by the height alone.
    EXPECT_EQ(MarkupMeasureElement(m_pRoot, QVT_MARKUP_UNBOUNDED, 16), CSize(16, 16));
    EXPECT_EQ(MarkupMeasureElement(m_pRoot, 40, 30), CSize(30, 30));
    CQVTMarkupImage* pImage = Load(strSource, u"Stretch='UniformToFill'");
    MarkupMeasureElement(m_pRoot, 40, 30);
    EXPECT_EQ(CSize(pImage->GetImageSize(SIZE{40, 30})), CSize(40, 40));
    Load(strSource, u"Stretch='Fill'");
    EXPECT_EQ(MarkupMeasureElement(m_pRoot, 40, 30), CSize(40, 30));
    Load(strSource, u"Stretch='None'");
    EXPECT_EQ(MarkupMeasureElement(m_pRoot, 40, 30), CSize(20, 20));
    Load(strSource, u"Stretch='Fill'");
    Render();
    EXPECT_EQ(m_canvas.At(25, 5), kRed);
    EXPECT_EQ(m_canvas.At(31, 5), m_canvas.At(55, 5));
    EXPECT_EQ(m_canvas.At(55, 55), kWhite);
}
