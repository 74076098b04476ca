#include "toolkit/foundation/color/QVTColorManager.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"

QVT_IMPLEMENT_SINGLETON(CQVTColorManager, QVTColorManager, nullptr)
QVT_IMPLEMENT_SINGLETON(CQVTSystemMetrics, QVTSystemMetrics, nullptr)

namespace {

// The screen's bits per pixel; 0 until asked.
std::atomic<int> g_nScreenBitsPerPixel{0};

// Brightness-weighted RGB: green counts twice as much as red, blue a third.
struct WeightedColor
{
    double r, g, b;
};

WeightedColor ToWeighted(COLORREF clr)
{
    return {GetRValue(clr) * 195.0 / 255.0, GetGValue(clr) * 390.0 / 255.0, GetBValue(clr) * 65.0 / 255.0};
}

int ToChannel(double value, double limit, double factor)
{
    value = std::min(std::max(value, 0.0), limit);
    int n = static_cast<int>(value * factor + 0.5);
    return std::min(std::max(n, 0), 255);
}

COLORREF FromWeighted(const WeightedColor& c)
{
    return RGB(ToChannel(c.r, 195.0, 1.3076923076923077), ToChannel(c.g, 390.0, 0.6538461538461539),
               ToChannel(c.b, 65.0, 3.923076923076923));
}

double Length(const WeightedColor& c)
{
    return std::sqrt(c.r * c.r + c.g * c.g + c.b * c.b);
}

double SquaredDistance(const WeightedColor& a, const WeightedColor& b)
{
    double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

WeightedColor Inverted(const WeightedColor& c)
{
    return {195.0 - c.r, 390.0 - c.g, 65.0 - c.b};
}

// Dark colours need a larger distance to stand apart: up to twice the amount.
float ScaledThreshold(COLORREF clr, float fAmount)
{
    int nLength = std::min(static_cast<int>(Length(ToWeighted(clr))), 220);
    return (2.0f - static_cast<float>(nLength) / 220.0f) * static_cast<float>(static_cast<int>(fAmount));
}

int MaxChannel(COLORREF clr)
{
    return std::max(std::max(GetRValue(clr), GetGValue(clr)), GetBValue(clr));
}

const int kThemeColorIndexes[14] = {38, 39, 40, 41, 43, 31, 32, 50, 37, 33, 36, 30, 47, 59};

const COLORREF kThemeColorsBlue[14] = {0x764127, 0xCB8C6A, 0xD0966D, 0xF6F6F6, 0x962D00, 0xC2EEFF, 0x800000,
                                       0x800000, 0x800000, 0x3E80FE, 0x6FC0FF, 0xF5BE9E, 0x000000, 0x361E16};
const COLORREF kThemeColorsOlive[14] = {0x335E51, 0x588060, 0x7AAE9F, 0xEEF4F4, 0x5E8D75, 0xC2EEFF, 0x385D3F,
                                        0x385D3F, 0x385D3F, 0x3E80FE, 0x6FC0FF, 0xA7D9D9, 0x000000, 0x19221F};
const COLORREF kThemeColorsSilver[14] = {0x755454, 0x8F6D6E, 0xBEA7A8, 0xFFFAFD, 0x947C7C,
                                         0xC2EEFF, 0x6F4B4B, 0x6F4B4B, 0x6F4B4B, 0x3E80FE,
                                         0x6FC0FF, 0xE5D7D7, 0x000000, 0x292024};

struct GradientValues
{
    COLORREF clrFirst;
    COLORREF clrSecond;
    float fFactor;
};

const GradientValues kGradientsBlue[7] = {{0xD68759, 0x962D00, 0.5f}, {0xF5BE9E, 0xFADAC4, 0.5f},
                                          {0xD68759, 0x962D00, 0.5f}, {0xFEECDD, 0xE2A981, 0.75f},
                                          {0xFFEFE3, 0xE4AD87, 0.5f}, {0xF6DDCB, 0xDCA179, 0.5f},
                                          {0xFFEFE3, 0xE7B593, 0.5f}};
const GradientValues kGradientsOlive[7] = {{0x82C0AF, 0x447A63, 0.5f}, {0xA7D9D9, 0xE4F1F2, 0.5f},
                                           {0x6F8E78, 0x435B49, 0.5f}, {0xDEF7F4, 0x91C6B7, 0.3f},
                                           {0xEDFFFF, 0x92C7B8, 0.3f}, {0xD1E6E6, 0x78B4A4, 0.3f},
                                           {0xD5F0EC, 0x9FCEC2, 0.5f}};
const GradientValues kGradientsSilver[7] = {{0xBFA7A8, 0x916F70, 0.5f},  {0xE5D7D7, 0xF7F3F3, 0.5f},
                                            {0xBFA7A8, 0x977677, 0.5f},  {0xFFF9F9, 0xB79B9C, 0.75f},
                                            {0xFFF9F9, 0xB99D9F, 0.75f}, {0xE2D7D7, 0x9E7E80, 0.75f},
                                            {0xF1E7E9, 0xCDB9BA, 0.5f}};

BOOL Contains(const CString& text, LPCTSTR pszPart)
{
    return text.Find(pszPart) >= 0;
}

}  // namespace

CQVTColorManager::CQVTColorManager()
{
    std::fill(std::begin(m_clrStandard), std::end(m_clrStandard), 0);
    std::fill(std::begin(m_clrCustom), std::end(m_clrCustom), noColor);
    std::fill(std::begin(m_clrTheme), std::end(m_clrTheme), noColor);

    RefreshColors(TRUE);

    m_gradients[7].SetStandardValues(0x8CD5FF, 0x55ADFF, 0.5f);
    m_gradients[8].SetStandardValues(0x4B8EFE, 0x8BCFFF, 0.5f);
    m_gradients[9].SetStandardValues(0xC8F2FF, 0x97D4FF, 0.5f);
}

CQVTColorManager::~CQVTColorManager() {}

COLORREF CQVTColorManager::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex >= colorCount)
        return static_cast<COLORREF>(nIndex);
    return m_clrCustom[nIndex] != noColor ? m_clrCustom[nIndex] : m_clrStandard[nIndex];
}

void CQVTColorManager::SetColor(int nIndex, COLORREF clrCustom)
{
    if (nIndex >= 0 && nIndex < colorCount)
        m_clrCustom[nIndex] = clrCustom;
}

COLORREF CQVTColorManager::GetStandardColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < colorCount ? m_clrStandard[nIndex] : noColor;
}

COLORREF CQVTColorManager::GetThemeColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < colorCount ? m_clrTheme[nIndex] : noColor;
}

const CQVTPaintManagerColorGradient& CQVTColorManager::GetGradientColor(int nIndex) const
{
    return m_gradients[std::min(std::max(nIndex, 0), static_cast<int>(gradientCount) - 1)];
}

void CQVTColorManager::ResetCustomColors()
{
    std::fill(std::begin(m_clrCustom), std::end(m_clrCustom), noColor);
}

int CQVTColorManager::GetCurrentSystemTheme() const
{
    if (m_nSelectedTheme == qvtSystemThemeAuto || m_nSelectedTheme == qvtSystemThemeDefault)
        return m_nDetectedTheme;
    return m_nSelectedTheme;
}

int CQVTColorManager::ThemeForColors() const
{
    return m_bThemeColorsDisabled ? qvtSystemThemeUnknown : GetCurrentSystemTheme();
}

BOOL AFXAPI CQVTColorManager::IsLowColorDisplay(HDC hDC)
{
    if (hDC)
    {
        int nBits = ::GetDeviceCaps(hDC, BITSPIXEL);
        return nBits >= 1 && nBits <= 8;
    }
    int nBits = g_nScreenBitsPerPixel.load();
    if (nBits <= 0)
    {
        HWND hDesktop = ::GetDesktopWindow();
        HDC hScreen = ::GetDC(hDesktop);
        if (!hScreen)
            return FALSE;
        nBits = ::GetDeviceCaps(hScreen, BITSPIXEL);
        ::ReleaseDC(hDesktop, hScreen);
        // A change that came in while asking wins over this answer.
        int nUnknown = 0;
        g_nScreenBitsPerPixel.compare_exchange_strong(nUnknown, nBits);
    }
    return nBits >= 1 && nBits <= 8;
}

void AFXAPI CQVTColorManager::OnDisplayChange(int nBitsPerPixel)
{
    g_nScreenBitsPerPixel.store(nBitsPerPixel > 0 ? nBitsPerPixel : 0);
}

COLORREF AFXAPI CQVTColorManager::BlendColors(COLORREF clr1, COLORREF clr2, int nWeight)
{
    const int nDivisor = nWeight < 100 ? 100 : 1000;
    auto blend = [&](int c1, int c2) {
        int n = (c1 * nWeight + c2 * (nDivisor - nWeight) + nDivisor / 2) / nDivisor;
        return std::min(std::max(n, 0), 255);
    };
    return RGB(blend(GetRValue(clr1), GetRValue(clr2)), blend(GetGValue(clr1), GetGValue(clr2)),
               blend(GetBValue(clr1), GetBValue(clr2)));
}

BOOL AFXAPI CQVTColorManager::IsColorDistanceAbove(COLORREF clr1, COLORREF clr2, BOOL bScaled,
                                                   float fThreshold)
{
    if (bScaled)
        fThreshold = ScaledThreshold(clr1, fThreshold);
    double dThreshold = fThreshold;
    return SquaredDistance(ToWeighted(clr1), ToWeighted(clr2)) > dThreshold * dThreshold;
}

COLORREF AFXAPI CQVTColorManager::MoveColorCloser(COLORREF clr1, COLORREF clr2, float fAmount)
{
    WeightedColor a = ToWeighted(clr1), b = ToWeighted(clr2);
    double dDistance = std::sqrt(SquaredDistance(a, b));
    // Equal colours have no direction to move along.
    if (dDistance <= 0.0)
        return clr2;
    double dScaled = ScaledThreshold(clr1, fAmount);
    double f = (dDistance - dScaled) / dDistance;
    return FromWeighted({b.r + f * (a.r - b.r), b.g + f * (a.g - b.g), b.b + f * (a.b - b.b)});
}

COLORREF AFXAPI CQVTColorManager::EnsureColorContrast(COLORREF clr1, COLORREF clr2, float fAmount)
{
    const double s = ScaledThreshold(clr1, fAmount);
    WeightedColor a = ToWeighted(clr1), b = ToWeighted(clr2);
    const double len1 = Length(a), len2 = Length(b);
    const bool bInverted = (len2 > len1 && len1 <= 442.0 - s) || (len2 <= len1 && len1 <= s);
    if (bInverted)
    {
        a = Inverted(a);
        b = Inverted(b);
    }
    const double lenB = std::max(Length(b), 0.001);
    const double dot = a.r * b.r + a.g * b.g + a.b * b.b;
    const double p = dot / lenB;
    const double t = dot / (lenB * lenB);
    WeightedColor perp = {t * b.r - a.r, t * b.g - a.g, t * b.b - a.b};
    const double perp2 = perp.r * perp.r + perp.g * perp.g + perp.b * perp.b;
    // When the line passes farther than s from clr1 no point on it is at
    // that distance: the nearest point is the best there is.
    const double k = p - std::sqrt(std::max(s * s - perp2, 0.0));
    WeightedColor result = {k * b.r / lenB, k * b.g / lenB, k * b.b / lenB};
    if (bInverted)
        result = Inverted(result);
    return FromWeighted(result);
}

int CQVTColorManager::DetectSystemTheme()
{
    CQVTWinThemeWrapper wrapper;
    return DetectSystemTheme(wrapper);
}

int CQVTColorManager::DetectSystemTheme(CQVTWinThemeWrapper& wrapper)
{
    if (!wrapper.IsThemeActive() || IsLowColorScreen())
        return qvtSystemThemeUnknown;

    WCHAR szFile[MAX_PATH] = {}, szColor[MAX_PATH] = {}, szSize[MAX_PATH] = {};
    if (FAILED(wrapper.GetCurrentThemeName(szFile, MAX_PATH, szColor, MAX_PATH, szSize, MAX_PATH)))
        return qvtSystemThemeUnknown;
    szFile[MAX_PATH - 1] = 0;
    szColor[MAX_PATH - 1] = 0;
    ::CharLowerW(szFile);
    ::CharLowerW(szColor);
    CString strFile(szFile), strColor(szColor);

    if (Contains(strFile, _T("luna.msstyles")) || Contains(strFile, _T("winxp.luna.qvstyles")))
    {
        if (strColor == _T("normalcolor"))
            return qvtSystemThemeBlue;
        if (strColor == _T("homestead"))
            return qvtSystemThemeOlive;
        if (strColor == _T("metallic"))
            return qvtSystemThemeSilver;
    }
    if (m_bDetectRoyale &&
        (Contains(strFile, _T("royale.msstyles")) || Contains(strFile, _T("winxp.royale.qvstyles"))))
        return qvtSystemThemeRoyale;
    if (m_bDetectAero && Contains(strFile, _T("aero.msstyles")))
        return qvtSystemThemeAero;
    return qvtSystemThemeUnknown;
}

void CQVTColorManager::RefreshThemeColors()
{
    std::fill(std::begin(m_clrTheme), std::end(m_clrTheme), noColor);
    const COLORREF* pValues = nullptr;
    switch (ThemeForColors())
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        pValues = kThemeColorsBlue;
        break;
    case qvtSystemThemeOlive:
        pValues = kThemeColorsOlive;
        break;
    case qvtSystemThemeSilver:
        pValues = kThemeColorsSilver;
        break;
    default:
        return;
    }
    for (int i = 0; i < 14; ++i)
        m_clrTheme[kThemeColorIndexes[i]] = pValues[i];
}

void CQVTColorManager::RefreshThemeGradients()
{
    const GradientValues* pValues = nullptr;
    COLORREF clrBorder = 0;
    switch (ThemeForColors())
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        pValues = kGradientsBlue;
        clrBorder = 0x962D00;
        break;
    case qvtSystemThemeOlive:
        pValues = kGradientsOlive;
        clrBorder = 0x588060;
        break;
    case qvtSystemThemeSilver:
        pValues = kGradientsSilver;
        clrBorder = 0x947C7C;
        break;
    default:
        break;
    }

    if (pValues)
    {
        for (int i = 0; i < 7; ++i)
            m_gradients[i].SetStandardValues(pValues[i].clrFirst, pValues[i].clrSecond, pValues[i].fFactor);
        SetStandard(54, clrBorder);
    }
    else
    {
        const COLORREF c5 = GetColor(COLOR_WINDOW), c15 = GetColor(COLOR_BTNFACE),
                       c16 = GetColor(COLOR_BTNSHADOW);
        m_gradients[0].SetStandardValues(c16, c16);
        m_gradients[1].SetStandardValues(c15, BlendColors(c15, c5, 215));
        m_gradients[2].SetStandardValues(c15, c16);
        m_gradients[3].SetStandardValues(BlendColors(c15, c5, 205), c15);
        m_gradients[4].SetStandardValues(BlendColors(c15, c5, 145), BlendColors(c15, c5, 93));
        m_gradients[5].SetStandardValues(BlendColors(c15, c5, 40), BlendColors(c15, c16, 95));
        m_gradients[6].SetStandardValues(BlendColors(c15, c5, 165), BlendColors(c15, c5, 42));
    }

    if (IsLowColorScreen())
    {
        m_gradients[1].SetStandardValue(GetColor(COLOR_BTNFACE));
        m_gradients[3].SetStandardValue(GetColor(COLOR_BTNFACE));
    }
}

BOOL CQVTColorManager::IsLowColorScreen() const
{
    return m_nRefreshLowColor >= 0 ? m_nRefreshLowColor != 0 : IsLowColorDisplay(nullptr);
}

void CQVTColorManager::RefreshColors(BOOL bResetCustomColors)
{
    const BOOL bLowColor = IsLowColorDisplay(nullptr);
    m_nRefreshLowColor = bLowColor ? 1 : 0;
    struct LowColorReset
    {
        int& nValue;
        ~LowColorReset() { nValue = -1; }
    } lowColorReset{m_nRefreshLowColor};
    m_nDetectedTheme = DetectSystemTheme();
    if (bResetCustomColors)
        ResetCustomColors();

    std::fill(std::begin(m_clrStandard), std::end(m_clrStandard), 0);
    for (int i = 1; i <= 29; ++i)
        m_clrStandard[i] = m_pfnGetSysColor ? m_pfnGetSysColor(i) : ::GetSysColor(i);

    static const int kInitial[][2] = {{30, 15}, {31, 5},  {32, 13}, {33, 13}, {34, 16}, {35, 17}, {36, 5},
                                      {37, 13}, {38, 16}, {39, 16}, {40, 16}, {41, 5},  {42, 16}, {43, 16},
                                      {44, 8},  {45, 7},  {46, 18}, {47, 14}, {48, 16}, {49, 14}, {50, 13},
                                      {51, 15}, {52, 16}, {53, 15}, {54, 16}, {55, 15}, {56, 15}, {57, 16},
                                      {58, 17}, {60, 16}, {61, 16}};
    for (const auto& entry : kInitial)
        SetStandard(entry[0], GetColor(entry[1]));
    SetStandard(59, 0);

    RefreshThemeColors();

    if (bLowColor)
    {
        RefreshThemeGradients();
        return;
    }

    const COLORREF clrFace = GetColor(15), clrText = GetColor(18);
    const BOOL bHighContrast = (clrFace == RGB(0, 0, 0) && clrText == RGB(255, 255, 255)) ||
                               (clrFace == RGB(255, 255, 255) && clrText == RGB(0, 0, 0));
    RefreshBlendedColors(bHighContrast);
    RefreshShadedColors();
    RefreshThemeGradients();
    RefreshTreeViewBorderColor();
}

// The toolbar colours blended from the system's (copied in high contrast),
// then pulled apart where they stand too close.
void CQVTColorManager::RefreshBlendedColors(BOOL bHighContrast)
{
    if (bHighContrast)
    {
        static const int kCopies[][2] = {{31, 13}, {36, 13}, {45, 14}, {32, 18},
                                         {37, 18}, {50, 13}, {43, 18}, {38, 18}};
        for (const auto& entry : kCopies)
            SetStandard(entry[0], GetColor(entry[1]));
    }
    else
    {
        static const int kBlends[][4] = {{30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50}, {41, 15, 5, 143},
                                         {35, 17, 5, 70},  {38, 16, 5, 75}, {39, 16, 5, 70}, {43, 46, 16, 20},
                                         {61, 46, 16, 15}, {40, 16, 5, 90}, {42, 15, 16, 90}};
        for (const auto& entry : kBlends)
            SetStandard(entry[0], BlendColors(GetColor(entry[1]), GetColor(entry[2]), entry[3]));
    }

    if (IsColorDistanceAbove(GetColor(15), GetColor(30), TRUE, 35))
        SetStandard(30, MoveColorCloser(GetColor(15), GetColor(30), 35));

    static const int kContrast[][4] = {
        {31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80},  {37, 33, 37, 100},
        {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 41, 43, 100}, {61, 30, 61, 100}, {40, 30, 40, 80},
        {44, 41, 44, 180}, {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180}};
    for (const auto& rule : kContrast)
    {
        const COLORREF a = GetColor(rule[1]), b = GetColor(rule[2]);
        if (!IsColorDistanceAbove(a, b, TRUE, static_cast<float>(rule[3])))
        {
            SetStandard(rule[0], EnsureColorContrast(a, b, static_cast<float>(rule[3])));
            ::Sleep(0);
        }
    }

    if (IsColorDistanceAbove(GetColor(41), GetColor(35), TRUE, 145))
        SetStandard(35, MoveColorCloser(GetColor(41), GetColor(35), 145));

    if (!bHighContrast)
    {
        const COLORREF c30 = GetColor(30), c5 = GetColor(5), c13 = GetColor(13);
        auto mix = [](int a, int b, int c) { return a * 50 / 100 + b * 40 / 100 + c * 10 / 100; };
        SetStandard(36, RGB(mix(GetRValue(c30), GetRValue(c5), GetRValue(c13)),
                            mix(GetGValue(c30), GetGValue(c5), GetGValue(c13)),
                            mix(GetBValue(c30), GetBValue(c5), GetBValue(c13))));
    }
}

// Lighter and darker shades of the face and shadow colours.
void CQVTColorManager::RefreshShadedColors()
{
    {
        const COLORREF c15 = GetColor(15);
        const int m = MaxChannel(c15);
        if (m == 0)
            SetStandard(48, 0x232323);
        else
        {
            const int n = m + std::min(255 - m, 35);
            SetStandard(48, RGB(GetRValue(c15) * n / m, GetGValue(c15) * n / m, GetBValue(c15) * n / m));
        }
    }
    {
        if (GetColor(15) == RGB(0, 0, 0))
            SetStandard(49, 0x7F7F7F);
        else
        {
            const COLORREF c16 = GetColor(16);
            const int m = MaxChannel(c16);
            if (m == 0)
                SetStandard(49, 0);
            else
            {
                const int n = std::max(m - 43, 0);
                SetStandard(49, RGB(GetRValue(c16) * n / m, GetGValue(c16) * n / m, GetBValue(c16) * n / m));
            }
        }
    }
    {
        const COLORREF c31 = m_clrStandard[31];
        SetStandard(34, RGB(static_cast<int>(GetRValue(c31) * 0.75), static_cast<int>(GetGValue(c31) * 0.75),
                            static_cast<int>(GetBValue(c31) * 0.75)));
        const COLORREF c15 = GetColor(15);
        SetStandard(22, RGB(std::min(GetRValue(c15) + 15, 255), std::min(GetGValue(c15) + 15, 255),
                            std::min(GetBValue(c15) + 15, 255)));
        SetStandard(53, GetColor(30));
        SetStandard(58, GetColor(40));
        SetStandard(60, m_clrStandard[40]);
    }
}

// Under a visual style, the tree view's border colour.
void CQVTColorManager::RefreshTreeViewBorderColor()
{
    CQVTWinThemeWrapper wrapper;
    wrapper.OpenThemeData(nullptr, _T("TREEVIEW"));
    if (wrapper.IsAppThemeActive())
    {
        COLORREF clrBorder = 0;
        if (SUCCEEDED(wrapper.GetThemeColor(0, 0, 3801, &clrBorder)))
            SetStandard(57, clrBorder);
    }
}

COLORREF AFXAPI GetColorByIndex(int nIndex)
{
    return QVTColorManager()->GetColor(nIndex);
}

void AFXAPI RefreshColorManagerColors(BOOL bResetCustomColors)
{
    QVTColorManager()->RefreshColors(bResetCustomColors);
}

CQVTSystemMetrics::CQVTSystemMetrics()
    : m_nBorderY(::GetSystemMetrics(SM_CYBORDER)), m_nCaptionY(::GetSystemMetrics(SM_CYCAPTION)),
      m_nFrameY(::GetSystemMetrics(SM_CYFRAME)), m_nSmallIconX(::GetSystemMetrics(SM_CXSMICON)),
      m_nSmallIconY(::GetSystemMetrics(SM_CYSMICON)), m_nIconX(::GetSystemMetrics(SM_CXICON)),
      m_nIconY(::GetSystemMetrics(SM_CYICON))
{
}
