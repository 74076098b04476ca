#include "image_test_support.h"

#include <algorithm>

HICON MakeMaskedIcon(int cx, int cy, const std::function<COLORREF(int x, int y)>& colour,
                     const std::function<bool(int x, int y)>& transparent)
{
    HDC hScreen = GetDC(nullptr);
    HBITMAP hColour = CreateCompatibleBitmap(hScreen, cx, cy);
    ReleaseDC(nullptr, hScreen);
    HBITMAP hMask = CreateBitmap(cx, cy, 1, 1, nullptr);
    HDC hColourDC = CreateCompatibleDC(nullptr);
    HDC hMaskDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldColour = SelectObject(hColourDC, hColour);
    HGDIOBJ hOldMask = SelectObject(hMaskDC, hMask);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
        {
            bool bTransparent = transparent && transparent(x, y);
            SetPixel(hColourDC, x, y, bTransparent ? RGB(0, 0, 0) : colour(x, y));
            SetPixel(hMaskDC, x, y, bTransparent ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
    SelectObject(hColourDC, hOldColour);
    SelectObject(hMaskDC, hOldMask);
    DeleteDC(hColourDC);
    DeleteDC(hMaskDC);
    ICONINFO info = {TRUE, 0, 0, hMask, hColour};
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hColour);
    DeleteObject(hMask);
    return hIcon;
}

HBITMAP MakeAlphaBitmap(int cx, int cy, const std::function<DWORD(int x, int y)>& pixel)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    DWORD* pPixels = static_cast<DWORD*>(pBits);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pPixels[y * cx + x] = pixel(x, y);
    return hBitmap;
}

HBITMAP MakeOpaqueBitmap(int cx, int cy, const std::function<COLORREF(int x, int y)>& colour)
{
    HDC hScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    ReleaseDC(nullptr, hScreen);
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            SetPixel(hDC, x, y, colour(x, y));
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    return hBitmap;
}

std::vector<UINT> IconWidths(CQVTImageManagerIconSet* pSet)
{
    std::vector<UINT> widths;
    if (!pSet)
        return widths;
    POSITION pos = pSet->GetIcons()->GetStartPosition();
    while (pos)
    {
        UINT nWidth = 0;
        CQVTImageManagerIcon* pIcon = nullptr;
        pSet->GetIcons()->GetNextAssoc(pos, nWidth, pIcon);
        widths.push_back(nWidth);
    }
    std::sort(widths.begin(), widths.end());
    return widths;
}

std::u16string ImageDataPath(const char16_t* pszName)
{
    WCHAR szModule[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    std::u16string path(szModule);
    path = path.substr(0, path.find_last_of(u"\\/") + 1);
    return path + u"foundation_image_data\\" + pszName;
}

std::u16string ImageTempPath(const char16_t* pszName)
{
    WCHAR szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    return std::u16string(szTemp) + pszName;
}

void WriteBytesToFile(const std::u16string& path, const std::string& bytes)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD nWritten = 0;
    WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr);
    CloseHandle(hFile);
}

std::string ReadBytesFromFile(const std::u16string& path)
{
    std::string bytes;
    HANDLE hFile =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD nSize = GetFileSize(hFile, nullptr);
    bytes.resize(nSize);
    DWORD nRead = 0;
    ReadFile(hFile, &bytes[0], nSize, &nRead, nullptr);
    CloseHandle(hFile);
    bytes.resize(nRead);
    return bytes;
}

COLORREF DrawnPixel(CQVTImageManagerIcon* pIcon, int nState, int x, int y, COLORREF background)
{
    DibCanvas canvas(48, 48, background);
    CDC* pDC = &canvas.dc;
    pIcon->DrawInState(pDC, CPoint(0, 0), nState);
    return canvas.At(x, y);
}
