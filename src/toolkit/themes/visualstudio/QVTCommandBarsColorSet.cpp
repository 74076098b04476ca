#include "toolkit/themes/visualstudio/QVTCommandBarsColorSet.h"

namespace {
const COLORREF kVisualStudio2012SetNone = CQVTPaintManagerColor::noColor;

const COLORREF kVisualStudio2012Light[CQVTCommandBarsColorSet::colorCount] = {
    RGB(239, 239, 242), RGB(239, 239, 242), RGB(153, 153, 153), RGB(30, 30, 30), RGB(30, 30, 30),
    RGB(30, 30, 30), RGB(204, 206, 219), RGB(231, 232, 236), RGB(254, 254, 254), RGB(0, 122, 204),
    RGB(50, 153, 255), RGB(0, 122, 204), RGB(254, 254, 254), RGB(0, 122, 204), RGB(240, 239, 241),
    RGB(0, 122, 204),
    // 16 to 20: the edit text colours stay unset in the light look.
    kVisualStudio2012SetNone, kVisualStudio2012SetNone, kVisualStudio2012SetNone, kVisualStudio2012SetNone,
    kVisualStudio2012SetNone,
    // 21 to 28: popup check frames and fills.
    RGB(113, 113, 113), RGB(30, 30, 30), RGB(30, 30, 30), RGB(198, 198, 198), RGB(239, 239, 242),
    RGB(254, 254, 254), RGB(254, 254, 254), RGB(239, 239, 242),
    // 29 to 48: combo boxes, disabled, normal, selected, dropped.
    RGB(198, 198, 198), RGB(239, 239, 242), RGB(239, 239, 242), RGB(239, 239, 242), RGB(198, 198, 198),
    RGB(219, 221, 230), RGB(252, 252, 252), RGB(252, 252, 252), RGB(252, 252, 252), RGB(113, 113, 113),
    RGB(219, 221, 230), RGB(255, 255, 255), RGB(0, 122, 204), RGB(222, 223, 232), RGB(0, 122, 204),
    RGB(219, 221, 230), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 122, 204), RGB(255, 255, 255),
    // 49 to 53: separator lines and glyphs.
    RGB(205, 208, 214), RGB(247, 246, 248), RGB(113, 113, 113), RGB(255, 255, 255), RGB(0, 122, 204)};

const COLORREF kVisualStudio2012Dark[CQVTCommandBarsColorSet::colorCount] = {
    RGB(45, 45, 48), RGB(45, 45, 48), RGB(70, 70, 74), RGB(241, 241, 241), RGB(241, 241, 241),
    RGB(241, 241, 241), RGB(51, 51, 55), RGB(27, 27, 28), RGB(62, 62, 64), RGB(0, 122, 204),
    RGB(50, 153, 255), RGB(0, 122, 204), RGB(62, 62, 64), RGB(1, 120, 208), RGB(45, 45, 48), RGB(0, 122, 204),
    // 16 to 18: edit text, disabled edit text, highlighted edit text.
    RGB(255, 255, 255), RGB(153, 153, 153), RGB(255, 255, 255), kVisualStudio2012SetNone,
    kVisualStudio2012SetNone, RGB(153, 153, 153), RGB(241, 241, 241), RGB(241, 241, 241), RGB(67, 67, 70),
    RGB(45, 45, 48), RGB(62, 62, 64), RGB(62, 62, 64), RGB(45, 45, 48), RGB(67, 67, 70), RGB(45, 45, 48),
    RGB(45, 45, 48), RGB(45, 45, 48), RGB(67, 67, 70), RGB(67, 67, 70), RGB(51, 51, 55), RGB(51, 51, 51),
    RGB(51, 51, 51), RGB(153, 153, 153), RGB(67, 67, 70), RGB(63, 63, 70), RGB(0, 122, 204), RGB(31, 31, 32),
    RGB(0, 122, 204), RGB(67, 67, 70), RGB(63, 63, 70), RGB(63, 63, 70), RGB(0, 122, 204), RGB(255, 255, 255),
    RGB(35, 34, 36), RGB(72, 71, 73), RGB(153, 153, 153), RGB(255, 255, 255), RGB(0, 122, 204)};
}  // namespace

void CQVTCommandBarsColorSet::SetCustomValues(const COLORREF (&values)[colorCount])
{
    for (int i = 0; i < colorCount; ++i)
        m_arrColor[i].SetCustomValue(values[i]);
}

void CQVTCommandBarsColorSetVisualStudio2012Light::RefreshColors()
{
    SetCustomValues(kVisualStudio2012Light);
}

void CQVTCommandBarsColorSetVisualStudio2012Dark::RefreshColors()
{
    SetCustomValues(kVisualStudio2012Dark);
}
