#include "toolkit/themes/visualstudio/QVTCommandBarsVisualStudio2012Theme.h"

#include "toolkit/themes/visualstudio/QVTFrameThemeVisualStudio2012.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"
#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2012.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsVisualStudio2012Theme, CQVTCommandBarsModernUITheme)

namespace {
// Colour-table entries and the set entries they take.
struct VisualStudio2012TableEntry
{
    int nTable;
    int nSet;
};
const VisualStudio2012TableEntry kVisualStudio2012Table[] = {
    {12, 0}, {15, 1}, {30, 1},  {38, 2},  {46, 3},  {44, 4},  {45, 5},  {43, 6}, {41, 7},
    {32, 8}, {50, 9}, {37, 10}, {31, 12}, {33, 13}, {36, 14}, {53, 34}, {5, 35}};
}  // namespace

CQVTCommandBarsVisualStudio2012Theme::CQVTCommandBarsVisualStudio2012Theme(int nStyle)
    : m_bDark(nStyle == qvtThemeVisualStudio2012Dark)
{
    if (m_bDark)
        m_pColorSet = std::make_unique<CQVTCommandBarsColorSetVisualStudio2012Dark>();
    else
        m_pColorSet = std::make_unique<CQVTCommandBarsColorSetVisualStudio2012Light>();

    SetStatusBarPaintManager(new CQVTStatusBarThemeVisualStudio2012(this));
    delete m_pFramePaintManager;
    if (m_bDark)
        m_pFramePaintManager = new CQVTFrameThemeVisualStudio2012Dark(this);
    else
        m_pFramePaintManager = new CQVTFrameThemeVisualStudio2012Light(this);
    SetScrollBarPaintManager(new CQVTScrollBarThemeVisualStudio2012());

    // The frame finds its style archive and re-reads its caption colours.
    RefreshMetrics();
    m_bBoldCheckMarks = TRUE;
}

CQVTCommandBarsVisualStudio2012Theme::~CQVTCommandBarsVisualStudio2012Theme()
{
    delete m_pFramePaintManager;
    m_pFramePaintManager = nullptr;
}

CQVTFrameThemeVisualStudio2012* CQVTCommandBarsVisualStudio2012Theme::GetFrameTheme() const
{
    return static_cast<CQVTFrameThemeVisualStudio2012*>(m_pFramePaintManager);
}

void CQVTCommandBarsVisualStudio2012Theme::RefreshMetrics()
{
    CQVTCommandBarsModernUITheme::RefreshMetrics();
    // The bases refresh from their constructors, before the set exists.
    if (!m_pColorSet)
        return;
    m_pColorSet->RefreshColors();
    const CQVTCommandBarsColorSet& set = *m_pColorSet;
    for (const VisualStudio2012TableEntry& entry : kVisualStudio2012Table)
        m_arrColor[entry.nTable] = set[entry.nSet];
    m_clrEditText = set[16];
    m_clrEditTextDisabled = set[17];
    m_clrEditTextHighlight = set[18];
}
