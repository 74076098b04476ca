#include "toolkit/markup/values/QVTMarkupFont.h"

#include "toolkit/markup/context/QVTMarkupContext.h"

CQVTMarkupFont::CQVTMarkupFont(CQVTMarkupContext* pOwner, const LOGFONT* pLogFont)
    : CQVTMarkupObject(flagNoComInit), m_pNextFont(nullptr), m_lf(*pLogFont), m_pOwner(pOwner)
{
    m_font.CreateFontIndirect(pLogFont);
}

CQVTMarkupFont::~CQVTMarkupFont()
{
    if (m_pOwner != nullptr)
        m_pOwner->OnFontReleased(this);
}

BOOL CQVTMarkupFont::Matches(const LOGFONT* pLogFont) const
{
    return m_lf.lfHeight == pLogFont->lfHeight && m_lf.lfEscapement == pLogFont->lfEscapement &&
           m_lf.lfOrientation == pLogFont->lfOrientation && m_lf.lfWeight == pLogFont->lfWeight &&
           m_lf.lfItalic == pLogFont->lfItalic && m_lf.lfUnderline == pLogFont->lfUnderline &&
           m_lf.lfStrikeOut == pLogFont->lfStrikeOut && m_lf.lfCharSet == pLogFont->lfCharSet &&
           m_lf.lfQuality == pLogFont->lfQuality && m_lf.lfPitchAndFamily == pLogFont->lfPitchAndFamily &&
           _tcsncmp(m_lf.lfFaceName, pLogFont->lfFaceName, LF_FACESIZE) == 0;
}
