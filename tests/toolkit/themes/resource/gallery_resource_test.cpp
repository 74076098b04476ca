// Galleries in the resource look, in each colour scheme: the scroll column
// of a gallery that opens a popup shows the frames of its up, down and popup
// images by state, its face takes the gallery colours of the scheme, and
// without a valid set the base look draws.
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTControlGalleryResourceTheme.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"

namespace {

const LPCTSTR kGallerySchemes[] = {_T("Office2007Blue.ini"), _T("Office2007Black.ini"),
                                   _T("Office2007Aqua.ini"), _T("Office2007Silver.ini")};
const COLORREF kGalleryBack = RGB(1, 2, 3);

// The centre pixel of an image's frame, read from the image drawn keyed at
// its own size.
COLORREF FrameCentre(LPCTSTR lpszName, int nFrame, int nFrames)
{
    CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszName);
    if (!pImage)
        return CLR_INVALID;
    const CRect rcFrame = pImage->GetSource(nFrame, nFrames);
    DibCanvas canvas(rcFrame.Width(), rcFrame.Height(), kGalleryBack);
    pImage->DrawImageColorKeyed(&canvas.dc, CRect(0, 0, rcFrame.Width(), rcFrame.Height()), rcFrame,
                                CRect(2, 2, 2, 2), RGB(255, 0, 255));
    return canvas.At(rcFrame.Width() / 2, rcFrame.Height() / 2);
}

// A gallery that opens a popup, on a bar that is never shown.
class GalleryOnBar
{
public:
    GalleryOnBar()
    {
        m_site.CreateEx(0, AfxRegisterWndClass(0), _T("Site"), WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0);
        m_pBar = new CTestBar();
        m_pBar->m_pParentWnd = &m_site;
        m_pBar->Create(qvtBarTop);
        m_pBar->MoveWindow(0, 0, 300, 200);
        m_pItems = new CQVTControlGalleryItems();
        m_pItems->SetItemSize(CSize(20, 20));
        for (int i = 0; i < 30; ++i)
            m_pItems->AddItem(i + 1);
        m_pGallery =
            static_cast<CQVTControlGallery*>(m_pBar->GetControls()->AddByType(qvtControlGallery, 100));
        m_pGallery->SetItems(m_pItems);
        CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(nullptr);
        m_pGallery->SetCommandBar(pPopup);
        pPopup->InternalRelease();
        m_pGallery->SetRect(CRect(10, 10, 10 + 100 + 15, 10 + 60));
    }
    ~GalleryOnBar()
    {
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        m_pItems->InternalRelease();
        m_site.DestroyWindow();
    }
    void Draw(DibCanvas& canvas)
    {
        canvas.Clear(kGalleryBack);
        m_pGallery->Draw(&canvas.dc);
    }

    CWnd m_site;
    CTestBar* m_pBar = nullptr;
    CQVTControlGalleryItems* m_pItems = nullptr;
    CQVTControlGallery* m_pGallery = nullptr;
};

}  // namespace

TEST(ResourceGallery, ColumnShowsTheFramesOfItsButtonsByState)
{
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        CQVTControlGalleryResourceTheme* pGalleryTheme =
            DYNAMIC_DOWNCAST(CQVTControlGalleryResourceTheme, pTheme->GetGalleryPaintManager());
        ASSERT_NE(nullptr, pGalleryTheme);
        EXPECT_EQ(ThemeTest::Y(21), pGalleryTheme->m_cyUpButton);
        EXPECT_EQ(ThemeTest::Y(19), pGalleryTheme->m_cyDownButton);

        GalleryOnBar gallery;
        CRect rcScroll;
        gallery.m_pGallery->GetScrollBarRect(rcScroll);
        const int x = rcScroll.right - CQVTPaintManager::DpiX(15) / 2 - 1;
        const int yUp = rcScroll.top + pGalleryTheme->m_cyUpButton / 2;
        const int yDown = rcScroll.top + pGalleryTheme->m_cyUpButton + pGalleryTheme->m_cyDownButton / 2;
        const int yPopup =
            (rcScroll.top + pGalleryTheme->m_cyUpButton + pGalleryTheme->m_cyDownButton + rcScroll.bottom) /
            2;
        DibCanvas canvas(300, 200, kGalleryBack);

        // At the top the up button is disabled (frame 4); nothing is hot.
        gallery.Draw(canvas);
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYUP"), 4, 5), canvas.At(x, yUp));
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYDOWN"), 0, 5), canvas.At(x, yDown));
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYPOPUP"), 0, 5), canvas.At(x, yPopup));

        // Scrolled down and the down button hot: up is enabled and shows that
        // another part is hot (frame 1), down is hot (frame 2).
        gallery.m_pGallery->SetScrollPos(20);
        gallery.m_pGallery->OnMouseMove(CPoint(x, yDown));
        ASSERT_EQ(qvtScrollHitDownArrow, gallery.m_pGallery->GetHotScrollPart());
        gallery.Draw(canvas);
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYUP"), 1, 5), canvas.At(x, yUp));
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYDOWN"), 2, 5), canvas.At(x, yDown));
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYPOPUP"), 1, 5), canvas.At(x, yPopup));

        // At the bottom the down button is disabled; a disabled gallery
        // disables all three.
        gallery.m_pGallery->SetScrollPos(100000);
        gallery.Draw(canvas);
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYDOWN"), 4, 5), canvas.At(x, yDown));
        gallery.m_pGallery->SetEnabled(FALSE);
        gallery.Draw(canvas);
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYUP"), 4, 5), canvas.At(x, yUp));
        EXPECT_EQ(FrameCentre(_T("CONTROLGALLERYPOPUP"), 4, 5), canvas.At(x, yPopup));

        // The face between the items is the scheme's gallery colour.
        gallery.m_pGallery->SetEnabled(TRUE);
        gallery.m_pItems->RemoveAll();
        gallery.Draw(canvas);
        EXPECT_EQ(QVTResourceImages()->GetIniColor(_T("Toolbar"), _T("ControlGalleryNormal"), CLR_INVALID),
                  canvas.At(30, 30));
        CStringArray missing;
        QVTResourceImages()->GetMissingImages(missing);
        EXPECT_EQ(0, missing.GetSize()) << "the scheme has every image the gallery asks for";
    }
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
}

TEST(ResourceGallery, WithoutAValidSetTheBaseLookDraws)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("NoSuchScheme.ini"));
    CQVTControlGalleryPaintManager* pGalleryTheme = pTheme->GetGalleryPaintManager();
    EXPECT_EQ(CQVTPaintManager::DpiY(19), pGalleryTheme->m_cyUpButton);

    GalleryOnBar gallery;
    DibCanvas canvas(300, 200, kGalleryBack);
    gallery.Draw(canvas);
    CRect rcScroll;
    gallery.m_pGallery->GetScrollBarRect(rcScroll);
    // The base fills the column in colour 30 before its buttons.
    EXPECT_EQ(pTheme->GetColor(30), canvas.At(rcScroll.left, rcScroll.bottom - 1));
    EXPECT_EQ(pTheme->GetColor(41), canvas.At(100, 30)) << "face beside the items";
    CQVTPaintManager::SetTheme(qvtThemeOffice2000);
}
