#include "toolkit/commandbars/controls/QVTProgressBase.h"

void CQVTProgressBase::SetRange(int nLower, int nUpper)
{
    if (nLower == m_nLower && nUpper == m_nUpper)
        return;
    m_nLower = nLower;
    m_nUpper = nUpper;
    RedrawProgress();
}

void CQVTProgressBase::SetPos(int nPos)
{
    if (nPos < m_nLower)
        nPos = m_nLower;
    if (nPos > m_nUpper)
        nPos = m_nUpper;
    if (nPos == m_nPos)
        return;
    m_nPos = nPos;
    RedrawProgress();
}
