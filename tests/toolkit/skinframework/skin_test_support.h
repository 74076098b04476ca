// What the skin framework's tests share: where the test skins lie, skins
// written on the spot as directories, a manager site with a colour filter,
// and a skin opened and parsed in one step.
#pragma once

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSite.h"

// bin\Skins\vista.qvstyles, the build's module skin.
CString SkinModulePath();
// A file or folder of bin\skinframework_data ("vista", "hostile\\x.qvstyles").
CString SkinDataPath(LPCTSTR lpszName);
// Wine's own module skin in the prefix.
CString SkinLightPath();

// A new empty folder under the temporary folder, removed by the destructor.
class SkinTempFolder
{
public:
    SkinTempFolder();
    ~SkinTempFolder();
    const CString& Path() const { return path_; }
    // Writes a UTF-16 text (with its byte-order mark) under the folder.
    void WriteText(LPCTSTR lpszName, const std::u16string& text) const;
    void WriteBytes(LPCTSTR lpszName, const std::string& bytes) const;

private:
    CString path_;
};

// A 24-bit BMP file of w by h pixels; pixel(x, y) from the top.
template <class F>
std::string SkinBmp24(int w, int h, F pixel)
{
    int stride = (w * 3 + 3) & ~3;
    std::string data(54 + stride * h, '\0');
    auto put32 = [&](int at, unsigned v) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<unsigned>(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(w));
    put32(22, static_cast<unsigned>(h));
    data[26] = 1;
    data[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            COLORREF c = pixel(x, y);
            size_t at = 54 + static_cast<size_t>(h - 1 - y) * stride + x * 3;
            data[at] = static_cast<char>(GetBValue(c));
            data[at + 1] = static_cast<char>(GetGValue(c));
            data[at + 2] = static_cast<char>(GetRValue(c));
        }
    return data;
}

// A site whose filter swaps red and blue, counting its calls.
class SkinTestSite : public CQVTSkinManagerSite
{
public:
    void ApplyColorFilter(COLORREF* pColor) override
    {
        ++calls;
        if (filter)
            *pColor = RGB(GetBValue(*pColor), GetGValue(*pColor), GetRValue(*pColor));
    }
    BOOL HasColorFilters() override { return filter; }
    UINT GetApplyOptions() override { return options; }

    BOOL filter = FALSE;
    UINT options = 15;
    int calls = 0;
};

// A skin file opened and its schema parsed; the schema holds the file.
struct SkinLoaded
{
    ~SkinLoaded();
    BOOL ok = FALSE;
    CQVTSkinManagerResourceFile* file = nullptr;
    CQVTSkinManagerSchema* schema = nullptr;

    CQVTSkinManagerClass* Class(LPCTSTR lpszName) { return schema->GetClass(lpszName); }
};
std::unique_ptr<SkinLoaded> SkinLoad(LPCTSTR lpszPath, LPCTSTR lpszIni, CQVTSkinManagerSite* pSite = nullptr);
// A directory skin whose schema is the given lines.
std::unique_ptr<SkinLoaded> SkinLoadLines(const SkinTempFolder& folder,
                                          const std::vector<std::u16string>& lines,
                                          CQVTSkinManagerSite* pSite = nullptr);
