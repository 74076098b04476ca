// The four colour schemes as the program carries them: each INI holds its 21
// sections in order with CR LF lines and every key the themes, the ribbon,
// the tab manager and the controls read, in a form its reader accepts; its
// [Images] section names exactly the generated images, and each of those
// loads through the resource image set with whole frames that exceed their
// margins, differ from their neighbours, and keep alpha at 0 or 255 and
// magenta out of images that are not keyed.
#include <afxwin.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTGraphicBitmapPng.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

namespace {

struct ImageEntry
{
    const char16_t* pszName;
    int nFrames;
    int cx;
    int cyFrame;
    int l, t, r, b;
    bool bKeyed;
    bool bAlpha;
    bool bFixed;
};

const ImageEntry kImages[] = {
#include "scheme_images.inc"
};

const LPCTSTR kSchemes[] = {_T("Office2007Blue"), _T("Office2007Black"), _T("Office2007Aqua"),
                            _T("Office2007Silver")};

const char* const kSections[] = {
    "Theme",          "Window",      "Workspace",       "StatusBar",       "MessageBar", "Toolbar",
    "Ribbon",         "DockingPane", "TabManager",      "ShortcutBar",     "Controls",   "PopupControl",
    "PropertyGrid",   "ListBox",     "ReportControl",   "CalendarControl", "DatePicker", "ComboBox",
    "RibbonComboBox", "Images",      "Common.ScrollBar"};

enum ValueKind
{
    kindColor,
    kindInt,
    kindSize,
    kindRect,
    kindText
};

struct KeyEntry
{
    const char* pszSection;
    const char* pszKey;
    ValueKind kind;
};

// Every key a reader of the schemes asks for.
const KeyEntry kKeys[] = {
    {"Theme", "Compatibility", kindText},
    {"Window", "ButtonFace", kindColor},
    {"Window", "WindowFrame", kindColor},
    {"Window", "HighlightSelected", kindColor},
    {"Window", "HighlightSelectedBorder", kindColor},
    {"Window", "HighlightPressed", kindColor},
    {"Window", "HighlightPressedBorder", kindColor},
    {"Window", "HighlightChecked", kindColor},
    {"Window", "HighlightCheckedBorder", kindColor},
    {"Window", "HighlightSelectedDark", kindColor},
    {"Window", "HighlightSelectedLight", kindColor},
    {"Window", "HighlightCheckedDark", kindColor},
    {"Window", "HighlightCheckedLight", kindColor},
    {"Window", "HighlightPressedDark", kindColor},
    {"Window", "HighlightPressedLight", kindColor},
    {"Window", "TooltipLight", kindColor},
    {"Window", "TooltipDark", kindColor},
    {"Window", "TooltipBorder", kindColor},
    {"Window", "FlatFrame", kindInt},
    {"Window", "BorderActive0", kindColor},
    {"Window", "BorderActive1", kindColor},
    {"Window", "BorderActive2", kindColor},
    {"Window", "BorderActive3", kindColor},
    {"Window", "BorderInactive0", kindColor},
    {"Window", "BorderInactive1", kindColor},
    {"Window", "BorderInactive2", kindColor},
    {"Window", "BorderInactive3", kindColor},
    {"Window", "CaptionTextActiveTitle", kindColor},
    {"Window", "CaptionTextInActive", kindColor},
    {"Window", "CaptionTextActive", kindColor},
    {"Workspace", "AppWorkspace", kindColor},
    {"Workspace", "WorkspaceClientTop", kindColor},
    {"Workspace", "WorkspaceClientMiddle", kindColor},
    {"Workspace", "WorkspaceClientBottom", kindColor},
    {"StatusBar", "StatusBarShadow", kindColor},
    {"StatusBar", "StatusBarFaceTopDark", kindColor},
    {"StatusBar", "StatusBarFaceTopLight", kindColor},
    {"StatusBar", "StatusBarFaceBottomDark", kindColor},
    {"StatusBar", "StatusBarFaceBottomLight", kindColor},
    {"StatusBar", "StatusBarText", kindColor},
    {"StatusBar", "StatusBarTextGray", kindColor},
    {"StatusBar", "GripperLite", kindColor},
    {"StatusBar", "GripperDark", kindColor},
    {"StatusBar", "TextColor", kindColor},
    {"StatusBar", "TextGrayColor", kindColor},
    {"StatusBar", "BackgroundColor", kindColor},
    {"MessageBar", "MessageBarHeight", kindInt},
    {"MessageBar", "MessageBarDefaultButtonSize", kindSize},
    {"MessageBar", "MessageBarDark", kindColor},
    {"MessageBar", "MessageBarLight", kindColor},
    {"MessageBar", "MessageBarFrame", kindColor},
    {"MessageBar", "MessageBarText", kindColor},
    {"MessageBar", "MessageBar", kindColor},
    {"Toolbar", "DockBarFace", kindColor},
    {"Toolbar", "ToolbarFaceDark", kindColor},
    {"Toolbar", "ToolbarFaceLight", kindColor},
    {"Toolbar", "ToolbarFaceShadow", kindColor},
    {"Toolbar", "ControlToolbarExpandDark", kindColor},
    {"Toolbar", "ControlToolbarExpandLight", kindColor},
    {"Toolbar", "ControlHighlightPopupedDark", kindColor},
    {"Toolbar", "ControlHighlightPopupedLight", kindColor},
    {"Toolbar", "MenuPopupGripperDark", kindColor},
    {"Toolbar", "MenuPopupGripperLight", kindColor},
    {"Toolbar", "MenuPopupExpandedGripperDark", kindColor},
    {"Toolbar", "MenuPopupExpandedGripperLight", kindColor},
    {"Toolbar", "MenuPopupTearOffGripper", kindColor},
    {"Toolbar", "MenuBarText", kindColor},
    {"Toolbar", "MenuPopupBorder", kindColor},
    {"Toolbar", "ToolbarGripper", kindColor},
    {"Toolbar", "FloatingBarGripper", kindColor},
    {"Toolbar", "FloatingBarGripperText", kindColor},
    {"Toolbar", "FloatingBarBorder", kindColor},
    {"Toolbar", "ToolbarFace", kindColor},
    {"Toolbar", "ToolbarSeparator", kindColor},
    {"Toolbar", "ControlDisabledIcon", kindColor},
    {"Toolbar", "ControlDisabledIconDark", kindColor},
    {"Toolbar", "ControlDisabledIconLight", kindColor},
    {"Toolbar", "ControlLabel", kindColor},
    {"Toolbar", "ControlEditBorder", kindColor},
    {"Toolbar", "ControlEditDisabledBorder", kindColor},
    {"Toolbar", "ControlGallerySelected", kindColor},
    {"Toolbar", "ControlGalleryNormal", kindColor},
    {"Toolbar", "ControlGalleryBorder", kindColor},
    {"Ribbon", "RibbonFace", kindColor},
    {"Ribbon", "RibbonInactiveFace", kindColor},
    {"Ribbon", "TabNormalText", kindColor},
    {"Ribbon", "TabHighlightText", kindColor},
    {"Ribbon", "TabSelectedText", kindColor},
    {"Ribbon", "GroupCaptionText", kindColor},
    {"Ribbon", "MinimizedFrameEdgeHighLight", kindColor},
    {"Ribbon", "MinimizedFrameEdgeShadow", kindColor},
    {"Ribbon", "RecentFileListEdgeShadow", kindColor},
    {"Ribbon", "RecentFileListEdgeHighLight", kindColor},
    {"Ribbon", "RecentFileListBackground", kindColor},
    {"Ribbon", "GroupSpacing", kindInt},
    {"Ribbon", "FileButtonText", kindColor},
    {"Ribbon", "FileButtonMargin", kindRect},
    {"Ribbon", "FileButtonImageCount", kindInt},
    {"Ribbon", "GroupClientText", kindColor},
    {"Ribbon", "ControlEditNormal", kindColor},
    {"Ribbon", "ControlEditSelected", kindColor},
    {"Ribbon", "MenuPopupText", kindColor},
    {"Ribbon", "MenuPopupGripper", kindColor},
    {"Ribbon", "MenuPopupExpandedGripperDark", kindColor},
    {"Ribbon", "MenuPopupExpandedGripperLight", kindColor},
    {"Ribbon", "ControlHighlightText", kindColor},
    {"Ribbon", "MenuPopupSeparator", kindColor},
    {"Ribbon", "RibbonText", kindColor},
    {"Ribbon", "RibbonGrayText", kindColor},
    {"Ribbon", "MenuPopupGripperShadow", kindColor},
    {"Ribbon", "BackstageMenuTextColor", kindColor},
    {"TabManager", "FrameBorder", kindColor},
    {"TabManager", "DarkShadow", kindColor},
    {"TabManager", "LightShadow", kindColor},
    {"TabManager", "AccessBorder", kindColor},
    {"TabManager", "AccessHeader", kindColor},
    {"Controls", "GroupBoxFrame", kindColor},
};

// Sizes the drawing code relies on: frames, width, frame height.
struct FixedImage
{
    LPCTSTR pszName;
    int nFrames;
    int cx;
    int cy;
};
const FixedImage kFixed[] = {
    {_T("CONTROLGALLERYUP"), 5, 15, 21},
    {_T("CONTROLGALLERYDOWN"), 5, 15, 19},
    {_T("CONTROLGALLERYSCROLLARROWGLYPHS"), 16, 9, 9},
    {_T("CONTROLGALLERYSCROLLARROWGLYPHSDARK"), 16, 9, 9},
    {_T("CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL"), 1, 8, 8},
    {_T("CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL"), 1, 8, 8},
    {_T("TOOLBARBUTTONCHECKBOX"), 12, 13, 13},
    {_T("TOOLBARBUTTONRADIOBUTTON"), 8, 13, 13},
    {_T("FRAMECAPTIONCLOSE13"), 5, 13, 13},
    {_T("FRAMECAPTIONCLOSE17"), 5, 17, 17},
    {_T("FRAMECAPTIONRESTORE23"), 5, 23, 23},
    {_T("RIBBONTAB"), 6, 0, 0},
    {_T("ACCESSTAB"), 4, 0, 0},
    {_T("PUSHBUTTON"), 5, 0, 0},
    {_T("SLIDERTHUMB"), 3, 0, 0},
};

// The raw bytes of a resource of this program.
std::string ResourceBytes(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HMODULE hModule = ::GetModuleHandleW(nullptr);
    HRSRC hResource = ::FindResourceW(hModule, lpszName, lpszType);
    if (!hResource)
        return std::string();
    const DWORD nSize = ::SizeofResource(hModule, hResource);
    const char* pData = static_cast<const char*>(::LockResource(::LoadResource(hModule, hResource)));
    return pData ? std::string(pData, nSize) : std::string();
}

std::string Narrow(const CString& str)
{
    std::string out;
    for (int i = 0; i < str.GetLength(); ++i)
        out += static_cast<char>(str[i]);
    return out;
}

std::string Trim(const std::string& s)
{
    const size_t a = s.find_first_not_of(" \t");
    const size_t b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The INI as its lines: sections in order, and their key = value pairs.
struct IniText
{
    std::vector<std::string> sections;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> entries;
    bool bCrLfOnly = true;
};

IniText ParseIni(const std::string& text)
{
    IniText ini;
    std::string section;
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t end = text.find('\r', pos);
        if (end == std::string::npos || end + 1 >= text.size() || text[end + 1] != '\n')
        {
            ini.bCrLfOnly = false;
            break;
        }
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 2;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[')
        {
            section = line.substr(1, line.size() - 2);
            ini.sections.push_back(section);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        ini.entries[section].emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
    return ini;
}

// Whole-text numbers separated by single blanks.
bool ParsesAsNumbers(const std::string& value, int nCount, int nMax)
{
    int n = 0;
    size_t pos = 0;
    while (pos <= value.size() && n < nCount)
    {
        size_t next = value.find(' ', pos);
        if (next == std::string::npos)
            next = value.size();
        const std::string part = value.substr(pos, next - pos);
        if (part.empty() || part.find_first_not_of("-0123456789") != std::string::npos)
            return false;
        const int v = atoi(part.c_str());
        if (v < 0 || v > nMax)
            return false;
        ++n;
        pos = next + 1;
    }
    return n == nCount && pos >= value.size();
}

// A set loaded from this program's resources.
class SchemeSet
{
public:
    explicit SchemeSet(LPCTSTR lpszScheme)
    {
        CString strIni(lpszScheme);
        strIni += _T(".ini");
        m_bLoaded = m_images.SetModule(::GetModuleHandleW(nullptr), strIni) != FALSE;
    }
    CQVTResourceImages* operator->() { return &m_images; }
    bool IsLoaded() const { return m_bLoaded; }

private:
    CQVTResourceImages m_images;
    bool m_bLoaded = false;
};

// The decoded pixels of an image resource, alpha as stored.
struct RawImage
{
    int cx = 0;
    int cy = 0;
    BOOL bAlpha = FALSE;
    std::vector<DWORD> pixels;
};

RawImage DecodeImage(const CString& strResource)
{
    RawImage image;
    HMODULE hModule = ::GetModuleHandleW(nullptr);
    HRSRC hResource = ::FindResourceW(hModule, strResource, _T("PNG"));
    CQVTGraphicBitmapPng png;
    if (!hResource || !png.LoadFromResource(hModule, hResource))
        return image;
    BITMAP bm = {};
    png.GetBitmap(&bm);
    image.cx = bm.bmWidth;
    image.cy = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    image.bAlpha = png.IsAlpha();
    image.pixels.resize(static_cast<size_t>(image.cx) * image.cy);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = image.cx;
    bmi.bmiHeader.biHeight = -image.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    ::GetDIBits(hDC, static_cast<HBITMAP>(png.GetSafeHandle()), 0, image.cy, image.pixels.data(), &bmi,
                DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    return image;
}

}  // namespace

TEST(ColorSchemes, EachIniHoldsItsSectionsInOrderAndEveryKeyInReadableForm)
{
    for (LPCTSTR lpszScheme : kSchemes)
    {
        CString strName(lpszScheme);
        strName.MakeUpper();
        strName += _T("_INI");
        SCOPED_TRACE(Narrow(strName));
        const std::string text = ResourceBytes(strName, _T("TEXTFILE"));
        ASSERT_FALSE(text.empty());
        const IniText ini = ParseIni(text);
        // A last line without its CR would be lost to the reader.
        EXPECT_TRUE(ini.bCrLfOnly);
        ASSERT_EQ(std::size(kSections), ini.sections.size());
        for (size_t i = 0; i < ini.sections.size(); ++i)
            EXPECT_EQ(kSections[i], ini.sections[i]);

        std::map<std::string, std::string> values;
        for (const auto& section : ini.entries)
            for (const auto& entry : section.second)
                EXPECT_TRUE(values.emplace(section.first + "/" + entry.first, entry.second).second)
                    << "twice: " << section.first << "/" << entry.first;

        SchemeSet set(lpszScheme);
        ASSERT_TRUE(set.IsLoaded());
        for (const KeyEntry& key : kKeys)
        {
            const std::string strPath = std::string(key.pszSection) + "/" + key.pszKey;
            const auto it = values.find(strPath);
            ASSERT_NE(values.end(), it) << "missing: " << strPath;
            const CString strSection(key.pszSection), strKey(key.pszKey);
            switch (key.kind)
            {
            case kindColor:
            {
                EXPECT_TRUE(ParsesAsNumbers(it->second, 3, 255)) << strPath << " = " << it->second;
                // The reader gives the colour, never its fallback of black or the default.
                const COLORREF clr = set->GetIniColor(strSection, strKey, RGB(1, 2, 3));
                int r = 0, g = 0, b = 0;
                sscanf(it->second.c_str(), "%d %d %d", &r, &g, &b);
                EXPECT_EQ(RGB(r, g, b), clr) << strPath;
                break;
            }
            case kindInt:
                EXPECT_TRUE(ParsesAsNumbers(it->second, 1, 10000)) << strPath;
                EXPECT_EQ(atoi(it->second.c_str()), set->GetIniInt(strSection, strKey, -12345)) << strPath;
                break;
            case kindSize:
                EXPECT_TRUE(ParsesAsNumbers(it->second, 2, 10000)) << strPath;
                EXPECT_NE(CSize(0, 0), set->GetIniSize(strSection, strKey, CSize(0, 0))) << strPath;
                break;
            case kindRect:
                EXPECT_TRUE(ParsesAsNumbers(it->second, 4, 10000)) << strPath;
                break;
            case kindText:
                EXPECT_EQ("Office2007", it->second);
                break;
            }
        }
        // Nothing that would make the images premultiplied.
        EXPECT_FALSE(set->IsPremultiplyImages());
        EXPECT_EQ(values.end(), values.find("Global/PremultiplyImages"));
    }
}

TEST(ColorSchemes, ImagesSectionNamesExactlyTheSchemeImages)
{
    std::set<std::u16string> expected;
    for (const ImageEntry& image : kImages)
        expected.insert(image.pszName);
    ASSERT_EQ(std::size(kImages), expected.size());

    for (LPCTSTR lpszScheme : kSchemes)
    {
        CString strName(lpszScheme);
        strName.MakeUpper();
        const IniText ini = ParseIni(ResourceBytes(strName + _T("_INI"), _T("TEXTFILE")));
        std::set<std::u16string> listed;
        for (const auto& entry : ini.entries.at("Images"))
        {
            CString strKey(entry.first.c_str());
            strKey.MakeUpper();
            listed.insert(std::u16string(strKey.GetString()));
            // The path turns into this program's resource name.
            CString strPath(entry.second.c_str());
            EXPECT_EQ(0, strPath.Find(CString(lpszScheme) + _T("\\"))) << entry.second;
            strPath.Replace(_T("\\"), _T("_"));
            strPath.Replace(_T("."), _T("_"));
            strPath.MakeUpper();
            EXPECT_EQ(strName + _T("_") + strKey + _T("_BMP"), strPath);
        }
        EXPECT_EQ(expected, listed) << Narrow(strName);
    }
}

TEST(ColorSchemes, EveryImageLoadsWithWholeDistinctFramesThatExceedTheirMargins)
{
    for (LPCTSTR lpszScheme : kSchemes)
    {
        SchemeSet set(lpszScheme);
        ASSERT_TRUE(set.IsLoaded());
        CString strPrefix(lpszScheme);
        strPrefix.MakeUpper();
        for (const ImageEntry& entry : kImages)
        {
            const CString strName(entry.pszName);
            SCOPED_TRACE(Narrow(strPrefix + _T(" ") + strName));
            CQVTResourceImage* pImage = set->LoadFile(strName);
            ASSERT_NE(nullptr, pImage);
            ASSERT_EQ(0, pImage->GetHeight() % entry.nFrames);
            const int cyFrame = pImage->GetHeight() / entry.nFrames;
            EXPECT_EQ(entry.cx, pImage->GetWidth());
            EXPECT_EQ(entry.cyFrame, cyFrame);
            EXPECT_GT(pImage->GetWidth(), entry.l + entry.r);
            EXPECT_GT(cyFrame, entry.t + entry.b);
            EXPECT_EQ(entry.bAlpha, pImage->IsAlphaImage() != FALSE);

            const RawImage raw = DecodeImage(strPrefix + _T("_") + strName + _T("_BMP"));
            ASSERT_EQ(pImage->GetWidth(), raw.cx);
            ASSERT_EQ(pImage->GetHeight(), raw.cy);
            EXPECT_EQ(entry.bAlpha, raw.bAlpha != FALSE);
            int nMagenta = 0;
            for (DWORD pixel : raw.pixels)
            {
                const DWORD alpha = pixel >> 24;
                if (raw.bAlpha)
                {
                    EXPECT_TRUE(alpha == 0 || alpha == 255) << std::hex << pixel;
                    // Transparent pixels carry no colour, so blending adds none.
                    if (alpha == 0)
                    {
                        EXPECT_EQ(0u, pixel);
                    }
                }
                if ((pixel & 0xFFFFFF) == 0xFF00FF)
                    ++nMagenta;
            }
            if (!entry.bKeyed)
            {
                EXPECT_EQ(0, nMagenta);
            }
            const size_t nFramePixels = static_cast<size_t>(raw.cx) * cyFrame;
            for (int n = 1; n < entry.nFrames; ++n)
            {
                const DWORD* pPrev = raw.pixels.data() + (n - 1) * nFramePixels;
                EXPECT_FALSE(std::equal(pPrev, pPrev + nFramePixels, pPrev + nFramePixels))
                    << "frames " << n - 1 << " and " << n;
            }
        }
    }
}

TEST(ColorSchemes, ImagesOfFixedSizeHaveTheSizeTheirDrawingAssumes)
{
    for (LPCTSTR lpszScheme : kSchemes)
    {
        SchemeSet set(lpszScheme);
        for (const FixedImage& fixed : kFixed)
        {
            SCOPED_TRACE(Narrow(CString(lpszScheme) + _T(" ") + fixed.pszName));
            CQVTResourceImage* pImage = set->LoadFile(fixed.pszName);
            ASSERT_NE(nullptr, pImage);
            const CRect rcFrame = pImage->GetSource(0, fixed.nFrames);
            EXPECT_EQ(pImage->GetHeight(), rcFrame.Height() * fixed.nFrames);
            if (fixed.cx)
            {
                EXPECT_EQ(CSize(fixed.cx, fixed.cy), rcFrame.Size());
            }
        }
        // An option button fits its 15 x 14 cell; the chunk has room for its end cap.
        const CRect rcOption = set->LoadFile(_T("RIBBONOPTIONBUTTON"))->GetSource(0, 4);
        EXPECT_LE(rcOption.Width(), 15);
        EXPECT_LE(rcOption.Height(), 14);
        EXPECT_GT(set->LoadFile(_T("PROGRESSCHUNK"))->GetWidth(), 4);
        EXPECT_EQ(15, set->LoadFile(_T("CONTROLGALLERYPOPUP"))->GetWidth());
    }
}

TEST(ColorSchemes, BlueSchemeHoldsTheColoursTheBarsAreKnownBy)
{
    SchemeSet set(_T("Office2007Blue"));
    ASSERT_TRUE(set.IsLoaded());
    EXPECT_EQ(RGB(59, 90, 130), set->GetIniColor(_T("Window"), _T("BorderActive0"), 0));
    EXPECT_EQ(RGB(204, 216, 232), set->GetIniColor(_T("Window"), _T("BorderInactive3"), 0));
    EXPECT_EQ(RGB(255, 245, 204), set->GetIniColor(_T("Window"), _T("HighlightSelectedLight"), 0));
    EXPECT_EQ(RGB(255, 189, 105), set->GetIniColor(_T("Window"), _T("HighlightSelectedBorder"), 0));
    EXPECT_EQ(RGB(191, 219, 255), set->GetIniColor(_T("Toolbar"), _T("DockBarFace"), 0));
    EXPECT_EQ(RGB(86, 126, 177), set->GetIniColor(_T("Workspace"), _T("WorkspaceClientMiddle"), 0));
    EXPECT_EQ(40, set->GetIniInt(_T("MessageBar"), _T("MessageBarHeight"), 0));
    EXPECT_EQ(CSize(90, 24), set->GetIniSize(_T("MessageBar"), _T("MessageBarDefaultButtonSize"), CSize()));

    // The other schemes are told apart by their faces, and share the highlights.
    std::set<COLORREF> faces;
    for (LPCTSTR lpszScheme : kSchemes)
    {
        SchemeSet other(lpszScheme);
        faces.insert(other->GetIniColor(_T("Toolbar"), _T("ToolbarFace"), 0));
        EXPECT_EQ(RGB(255, 189, 105), other->GetIniColor(_T("Window"), _T("HighlightSelectedBorder"), 0));
    }
    EXPECT_EQ(std::size(kSchemes), faces.size());
}
