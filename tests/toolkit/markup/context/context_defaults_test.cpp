// What a context keeps for its elements: its own lifetime tied to theirs,
// the default font, the mask colour's precedence and the DPI switch.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/image/QVTImageManager.h"

namespace {
// Tells when it is deleted.
class CWatchedContext : public CQVTMarkupContext
{
public:
    explicit CWatchedContext(bool* pDeleted) : m_pDeleted(pDeleted) {}

protected:
    ~CWatchedContext() override { *m_pDeleted = true; }

private:
    bool* m_pDeleted;
};
}  // namespace

TEST(MarkupContextDefaults, ObjectsKeepTheirContextAlive)
{
    bool bDeleted = false;
    CWatchedContext* pContext = new CWatchedContext(&bDeleted);
    CQVTMarkupObject* pElement = pContext->CreateMarkupObject(FindMarkupType(u"FrameworkElement"));
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(pElement->GetMarkupContext(), pContext);
    pContext->Release();
    EXPECT_FALSE(bDeleted);
    pElement->InternalRelease();
    EXPECT_TRUE(bDeleted);

    // Types without a creator make nothing and take no reference.
    bDeleted = false;
    pContext = new CWatchedContext(&bDeleted);
    EXPECT_EQ(pContext->CreateMarkupObject(CQVTMarkupDependencyProperty::GetMarkupType()), nullptr);
    EXPECT_EQ(pContext->CreateMarkupObject(nullptr), nullptr);
    pContext->Release();
    EXPECT_TRUE(bDeleted);
}

TEST(MarkupContextDefaults, TheDefaultFontIsTheMessageFontPlain)
{
    CContextHolder context;
    CQVTNonClientMetrics metrics;
    const LOGFONT& lf = context->GetDefaultFont();
    EXPECT_EQ(lf.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(CString(lf.lfFaceName), CString(metrics.lfMessageFont.lfFaceName));
    EXPECT_EQ(lf.lfWeight, 0);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(context->GetDefaultTextColor(), 0u);
}

TEST(MarkupContextDefaults, MaskColourFallsBackThroughTheImageManager)
{
    CContextHolder context;
    CQVTImageManager* pManager = new CQVTImageManager();
    context->SetImageManager(pManager);
    pManager->InternalRelease();
    EXPECT_EQ(context->GetImageManager(), pManager);
    EXPECT_EQ(context->GetMaskColor(), RGB(0, 255, 0));
    pManager->SetMaskColor(RGB(1, 2, 3));
    EXPECT_EQ(context->GetMaskColor(), RGB(1, 2, 3));
    context->SetMaskColor(RGB(9, 9, 9));
    EXPECT_EQ(context->GetMaskColor(), RGB(9, 9, 9));
    context->SetImageManager(nullptr);
    EXPECT_EQ(context->GetImageManager(), QVTImageManager());
}

TEST(MarkupContextDefaults, DpiAwarenessCanBeSwitched)
{
    CContextHolder context;
    EXPECT_FALSE(context->IsDpiAware());
    EXPECT_EQ(context->ScaleX(INT_MAX), INT_MAX);
    context->SetDpiAware(TRUE, nullptr);
    EXPECT_TRUE(context->IsDpiAware());
    // However the screen is set, nothing wraps around.
    EXPECT_GT(context->ScaleX(INT_MAX / 2), 0);
    EXPECT_LT(context->ScaleX(INT_MIN / 2), 0);
    context->SetDpiAware(FALSE, nullptr);
    EXPECT_FALSE(context->IsDpiAware());
}
