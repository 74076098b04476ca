#include "sondrel_gtest.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

#include <tchar.h>

// The caches go at the toolkit's shutdown, which happens once per process:
// this program is the one that shuts down.
TEST(GdiCacheShutdown, FontsAndBrushesOutliveTheirCaches)
{
    LOGFONTW lf = {};
    lf.lfHeight = -15;
    ::lstrcpynW(lf.lfFaceName, _T("Arial"), LF_FACESIZE);

    auto* pFont = new CQVTFont;
    auto* pFontShared = new CQVTFont;
    auto* pBrush = new CQVTBrush;
    ASSERT_TRUE(pFont->CreateFontIndirect(&lf));
    ASSERT_TRUE(pFontShared->CreateFontIndirect(&lf));
    ASSERT_TRUE(pBrush->CreateSolidBrush(RGB(1, 2, 3)));
    HGDIOBJ hFont = pFont->GetSafeHandle();
    HGDIOBJ hBrush = pBrush->GetSafeHandle();

    ShutdownApplication();
    EXPECT_THROW(QVTFontCache(), CMemoryException*);
    EXPECT_EQ(nullptr, pFont->GetCachedReference()->GetCache());

    // Still usable, and deleted only by the last holder.
    EXPECT_NE(0u, ::GetObjectType(hFont));
    EXPECT_EQ(hFont, pFontShared->GetSafeHandle());
    delete pFont;
    EXPECT_NE(0u, ::GetObjectType(hFont));
    delete pFontShared;
    EXPECT_EQ(0u, ::GetObjectType(hFont));
    delete pBrush;
    EXPECT_EQ(0u, ::GetObjectType(hBrush));

    // Nothing new can be had from a cache that is gone.
    CQVTFont late;
    EXPECT_FALSE(late.CreateFontIndirect(&lf));
    EXPECT_EQ(nullptr, late.GetSafeHandle());
}
