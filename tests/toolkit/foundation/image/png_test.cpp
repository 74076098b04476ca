// PNG decoding into 32-bit DIB sections against known pixels, and refusal of
// damaged and hostile images (including a bounded fuzz run).
#include <afxwin.h>

#include <random>
#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTGraphicBitmapPng.h"

#include "toolkit/foundation/stream/QVTNativeHeadersBegin.h"
#include <png.h>
#include <zlib.h>
#include "toolkit/foundation/stream/QVTNativeHeadersEnd.h"

namespace {
typedef std::vector<BYTE> Bytes;

struct PngRecipe
{
    png_uint_32 nWidth;
    png_uint_32 nHeight;
    int nColorType;
    int nBitDepth;
    std::vector<Bytes> rows;  // packed as libpng expects them
    std::vector<png_color> palette;
    Bytes transparency;
};

void WriteToBytes(png_structp pPng, png_bytep pData, size_t nLength)
{
    Bytes* pOut = static_cast<Bytes*>(png_get_io_ptr(pPng));
    pOut->insert(pOut->end(), pData, pData + nLength);
}

void FlushNothing(png_structp) {}

Bytes Encode(const PngRecipe& recipe)
{
    Bytes out;
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = png_create_info_struct(pPng);
    if (setjmp(png_jmpbuf(pPng)))
    {
        png_destroy_write_struct(&pPng, &pInfo);
        return Bytes();
    }
    png_set_write_fn(pPng, &out, &WriteToBytes, &FlushNothing);
    png_set_IHDR(pPng, pInfo, recipe.nWidth, recipe.nHeight, recipe.nBitDepth, recipe.nColorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty())
        png_set_PLTE(pPng, pInfo, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
    if (!recipe.transparency.empty())
        png_set_tRNS(pPng, pInfo, recipe.transparency.data(), static_cast<int>(recipe.transparency.size()),
                     nullptr);
    png_write_info(pPng, pInfo);
    if (recipe.nBitDepth == 16)
        png_set_swap(pPng);  // rows below are little-endian samples
    for (const Bytes& row : recipe.rows)
        png_write_row(pPng, row.data());
    png_write_end(pPng, pInfo);
    png_destroy_write_struct(&pPng, &pInfo);
    return out;
}

// Decodes from memory; the DIB's pixels as BGRA quadruples, row by row.
BOOL Decode(const Bytes& png, CQVTGraphicBitmapPng& bitmap, Bytes* pPixels = nullptr)
{
    CMemFile file(const_cast<BYTE*>(png.data()), static_cast<UINT>(png.size()));
    if (!bitmap.LoadFromStream(&file))
        return FALSE;
    DIBSECTION dib = {};
    EXPECT_EQ(::GetObjectW(bitmap.GetSafeHandle(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    if (pPixels != nullptr && dib.dsBm.bmBits != nullptr)
    {
        const BYTE* p = static_cast<const BYTE*>(dib.dsBm.bmBits);
        pPixels->assign(p, p + dib.dsBm.bmWidth * dib.dsBm.bmHeight * 4);
    }
    return TRUE;
}

Bytes Chunk(const char* pszType, const Bytes& data)
{
    Bytes out;
    DWORD nLength = static_cast<DWORD>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<BYTE>(nLength >> shift));
    out.insert(out.end(), pszType, pszType + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(pszType), 4);
    crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<BYTE>(crc >> shift));
    return out;
}

Bytes BigEndian(DWORD n)
{
    return Bytes{static_cast<BYTE>(n >> 24), static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 8),
                 static_cast<BYTE>(n)};
}

// A hand-made image whose header claims the given size.
Bytes ClaimedSize(DWORD nWidth, DWORD nHeight)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header = BigEndian(nWidth);
    Bytes height = BigEndian(nHeight);
    header.insert(header.end(), height.begin(), height.end());
    header.insert(header.end(), {8, 6, 0, 0, 0});
    Bytes ihdr = Chunk("IHDR", header);
    out.insert(out.end(), ihdr.begin(), ihdr.end());
    Bytes raw(64, 0);
    Bytes compressed(128);
    uLongf nCompressed = compressed.size();
    compress(compressed.data(), &nCompressed, raw.data(), raw.size());
    compressed.resize(nCompressed);
    Bytes idat = Chunk("IDAT", compressed);
    out.insert(out.end(), idat.begin(), idat.end());
    Bytes iend = Chunk("IEND", Bytes());
    out.insert(out.end(), iend.begin(), iend.end());
    return out;
}

PngRecipe Rgba16x16()
{
    PngRecipe recipe{16, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, {}, {}, {}};
    for (int y = 0; y < 16; ++y)
    {
        Bytes row;
        for (int x = 0; x < 16; ++x)
            row.insert(row.end(), {BYTE(x * 16), BYTE(y * 16), BYTE(x ^ y), BYTE(255 - x)});
        recipe.rows.push_back(row);
    }
    return recipe;
}
}  // namespace

TEST(PngLoader, RgbaKeepsColoursAndAlphaTopDown)
{
    PngRecipe recipe{
        3,
        2,
        PNG_COLOR_TYPE_RGB_ALPHA,
        8,
        {{255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0}, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}},
        {},
        {}};
    CQVTGraphicBitmapPng bitmap;
    Bytes pixels;
    ASSERT_TRUE(Decode(Encode(recipe), bitmap, &pixels));
    EXPECT_TRUE(bitmap.IsAlpha());
    const Bytes expected = {0,  0,  255, 255, 0,  255, 0,  128, 255, 0,   0,  0,
                            30, 20, 10,  40,  70, 60,  50, 80,  110, 100, 90, 120};
    EXPECT_EQ(pixels, expected);
}

TEST(PngLoader, PaletteWithTransparencyGetsAlpha)
{
    PngRecipe recipe{2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}, {{1, 2, 3}, {200, 100, 50}}, {0}};
    CQVTGraphicBitmapPng bitmap;
    Bytes pixels;
    ASSERT_TRUE(Decode(Encode(recipe), bitmap, &pixels));
    EXPECT_TRUE(bitmap.IsAlpha());
    EXPECT_EQ(pixels, (Bytes{3, 2, 1, 0, 50, 100, 200, 255}));
}

TEST(PngLoader, SixteenBitAndGrayImagesBecomeRgbWithoutAlpha)
{
    // 16-bit samples keep their high byte.
    PngRecipe deep{1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A}}, {}, {}};
    CQVTGraphicBitmapPng bitmap;
    Bytes pixels;
    ASSERT_TRUE(Decode(Encode(deep), bitmap, &pixels));
    EXPECT_FALSE(bitmap.IsAlpha());
    EXPECT_EQ(pixels, (Bytes{0x9A, 0x56, 0x12, 0}));

    PngRecipe gray{2, 1, PNG_COLOR_TYPE_GRAY, 8, {{7, 200}}, {}, {}};
    ASSERT_TRUE(Decode(Encode(gray), bitmap, &pixels));
    EXPECT_FALSE(bitmap.IsAlpha());
    EXPECT_EQ(pixels, (Bytes{7, 7, 7, 0, 200, 200, 200, 0}));

    // One bit per pixel: 1 0 1.
    PngRecipe bits{3, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}}, {}, {}};
    ASSERT_TRUE(Decode(Encode(bits), bitmap, &pixels));
    EXPECT_EQ(pixels, (Bytes{255, 255, 255, 0, 0, 0, 0, 0, 255, 255, 255, 0}));
}

TEST(PngLoader, LoadsFromResourcesAndFiles)
{
    HMODULE hProgram = ::GetModuleHandleW(nullptr);
    CQVTGraphicBitmapPng bitmap;
    ASSERT_TRUE(bitmap.LoadFromResource(hProgram, ::FindResourceW(hProgram, u"LOGO", u"PNG")));
    BITMAP bm = {};
    ::GetObjectW(bitmap.GetSafeHandle(), sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_TRUE(bitmap.IsAlpha());

    // Too short to be an image: refused, and the old bitmap is gone.
    EXPECT_FALSE(bitmap.LoadFromResource(hProgram, ::FindResourceW(hProgram, u"TINY", u"PNG")));
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    EXPECT_FALSE(bitmap.IsAlpha());
    EXPECT_FALSE(bitmap.LoadFromResource(hProgram, nullptr));

    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strPath = CString(szTemp) + u"sondrel_png_test.png";
    Bytes png = Encode(Rgba16x16());
    {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        file.Write(png.data(), static_cast<UINT>(png.size()));
    }
    EXPECT_TRUE(bitmap.LoadFromFile(strPath));
    ::DeleteFileW(strPath);
    EXPECT_FALSE(bitmap.LoadFromFile(strPath));
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    EXPECT_FALSE(bitmap.LoadFromStream(nullptr));
}

TEST(PngLoader, DamagedAndHostileImagesAreRefused)
{
    const Bytes good = Encode(Rgba16x16());
    CQVTGraphicBitmapPng bitmap;
    ASSERT_TRUE(Decode(good, bitmap));

    Bytes wrongSignature = good;
    wrongSignature[1] = 'X';
    Bytes truncated(good.begin(), good.begin() + good.size() / 2);
    Bytes badCrc = good;
    badCrc[8 + 8 + 13 + 1] ^= 0xFF;  // the header chunk's checksum
    Bytes hugeChunk = good;
    hugeChunk[8 + 25] = 0x7F;  // the data chunk's length
    const Bytes cases[] = {wrongSignature,
                           truncated,
                           badCrc,
                           hugeChunk,
                           ClaimedSize(100000, 100000),
                           ClaimedSize(30000, 30000),
                           ClaimedSize(0, 5),
                           Bytes(good.begin(), good.begin() + 8)};
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
    {
        EXPECT_FALSE(Decode(cases[i], bitmap)) << "case " << i;
        EXPECT_EQ(bitmap.GetSafeHandle(), nullptr) << "case " << i;
        EXPECT_FALSE(bitmap.IsAlpha()) << "case " << i;
    }
}

TEST(PngLoader, FuzzedImagesDecodeOrFailCleanly)
{
    const Bytes good = Encode(Rgba16x16());
    std::mt19937 random(7122026);
    const int kCases = 2000;
    int nDecoded = 0;
    for (int nCase = 0; nCase < kCases; ++nCase)
    {
        Bytes bytes = good;
        int nMutations = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < nMutations; ++i)
        {
            size_t nAt = 8 + random() % (bytes.size() - 8);
            switch (random() % 4)
            {
            case 0:
                bytes[nAt] = static_cast<BYTE>(random());
                break;
            case 1:
                bytes.resize(nAt);
                break;
            case 2:
                bytes.insert(bytes.begin() + nAt, static_cast<BYTE>(random()));
                break;
            default:
                bytes[nAt] ^= static_cast<BYTE>(1u << (random() % 8));
                break;
            }
            if (bytes.size() <= 9)
                break;
        }
        // Most cases get their checksums made right again, so that the
        // damage reaches the decoder instead of the checksum test.
        if (random() % 4 != 0)
        {
            size_t nPos = 8;
            while (nPos + 12 <= bytes.size())
            {
                DWORD nLength = (DWORD(bytes[nPos]) << 24) | (bytes[nPos + 1] << 16) |
                                (bytes[nPos + 2] << 8) | bytes[nPos + 3];
                if (nLength > bytes.size() - nPos - 12)
                    break;
                uLong crc = crc32(0, bytes.data() + nPos + 4, nLength + 4);
                for (int k = 0; k < 4; ++k)
                    bytes[nPos + 8 + nLength + k] = static_cast<BYTE>(crc >> (24 - 8 * k));
                nPos += 12 + nLength;
            }
        }
        CQVTGraphicBitmapPng bitmap;
        if (Decode(bytes, bitmap))
        {
            ++nDecoded;
            EXPECT_NE(bitmap.GetSafeHandle(), nullptr);
        }
        else
        {
            EXPECT_EQ(bitmap.GetSafeHandle(), nullptr) << "case " << nCase;
        }
    }
    RecordProperty("decoded", nDecoded);
    EXPECT_GT(nDecoded, 0);
    EXPECT_LT(nDecoded, kCases);
}
