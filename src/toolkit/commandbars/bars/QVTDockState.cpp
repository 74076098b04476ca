#include "toolkit/commandbars/bars/QVTDockState.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

// Stored coordinates are held to this range before any arithmetic: no
// screen is that large, and nothing overflows on the way.
const LONGLONG kDockStateCoordLimit = 1 << 20;
// No site has this many bars; a forged count reads no further.
const int kDockStateMaxRecords = 1024;

int DockStateBounded(LONGLONG nValue)
{
    return static_cast<int>(std::max(-kDockStateCoordLimit, std::min(kDockStateCoordLimit, nValue)));
}

int DockStateReadInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? static_cast<int>(pApp->GetProfileInt(lpszSection, lpszEntry, nDefault)) : nDefault;
}

void DockStateWriteInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp)
        pApp->WriteProfileInt(lpszSection, lpszEntry, nValue);
}

}  // namespace

// One bar's record.

CQVTToolBarInfo::CQVTToolBarInfo()
    : m_nBarID(0), m_bVisible(TRUE), m_bFloating(FALSE), m_pointPos(-1, -1), m_nMRUWidth(32767),
      m_uMRUDockID(0), m_rectMRUDockPos(0, 0, 0, 0), m_ptMRUFloatPos(0, 0), m_pBar(nullptr),
      m_bDialogBar(FALSE), m_szDockingClient(QVTDpiScaler()->ScaleSize(CSize(200, 200))),
      m_szFloatingClient(QVTDpiScaler()->ScaleSize(CSize(200, 200)))
{
}

void CQVTToolBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) const
{
    CString strSection;
    strSection.Format(_T("%s-Bar%d"), lpszProfileName, nIndex);
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    // The whole section goes first: what is not written reads as default.
    pApp->WriteProfileString(strSection, nullptr, nullptr);
    DockStateWriteInt(strSection, _T("BarID"), m_nBarID);
    if (!m_bVisible)
        DockStateWriteInt(strSection, _T("Visible"), 0);
    if (m_bFloating)
        DockStateWriteInt(strSection, _T("Floating"), 1);
    if (m_pointPos.x != -1)
        DockStateWriteInt(strSection, _T("XPos"), m_pointPos.x);
    if (m_pointPos.y != -1)
        DockStateWriteInt(strSection, _T("YPos"), m_pointPos.y);
    if (m_nMRUWidth != 32767)
        DockStateWriteInt(strSection, _T("MRUWidth"), m_nMRUWidth);
    DockStateWriteInt(strSection, _T("MRUDockID"), m_uMRUDockID);
    DockStateWriteInt(strSection, _T("MRUDockLeftPos"), m_rectMRUDockPos.left);
    DockStateWriteInt(strSection, _T("MRUDockTopPos"), m_rectMRUDockPos.top);
    DockStateWriteInt(strSection, _T("MRUDockRightPos"), m_rectMRUDockPos.right);
    DockStateWriteInt(strSection, _T("MRUDockBottomPos"), m_rectMRUDockPos.bottom);
    DockStateWriteInt(strSection, _T("MRUFloatXPos"), m_ptMRUFloatPos.x);
    DockStateWriteInt(strSection, _T("MRUFloatYPos"), m_ptMRUFloatPos.y);
    DockStateWriteInt(strSection, _T("DialogBar"), m_bDialogBar ? 1 : 0);
    if (!m_bDialogBar)
        return;
    DockStateWriteInt(strSection, _T("DialogBarDockingClientCx"), m_szDockingClient.cx);
    DockStateWriteInt(strSection, _T("DialogBarDockingClientCy"), m_szDockingClient.cy);
    DockStateWriteInt(strSection, _T("DialogBarFloatingClientCx"), m_szFloatingClient.cx);
    DockStateWriteInt(strSection, _T("DialogBarFloatingClientCy"), m_szFloatingClient.cy);
}

BOOL CQVTToolBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, const CQVTDockState* pDockState)
{
    CString strSection;
    strSection.Format(_T("%s-Bar%d"), lpszProfileName, nIndex);
    m_nBarID = DockStateReadInt(strSection, _T("BarID"), 0);
    if (m_nBarID == 0)
        return FALSE;
    m_bVisible = DockStateReadInt(strSection, _T("Visible"), TRUE) != 0;
    m_bFloating = DockStateReadInt(strSection, _T("Floating"), FALSE) != 0;
    m_pointPos.x = DockStateBounded(DockStateReadInt(strSection, _T("XPos"), -1));
    m_pointPos.y = DockStateBounded(DockStateReadInt(strSection, _T("YPos"), -1));
    if (m_pointPos != CPoint(-1, -1))
        m_pointPos = pDockState->ScalePoint(m_pointPos);
    m_nMRUWidth = DockStateReadInt(strSection, _T("MRUWidth"), 32767);
    m_uMRUDockID = DockStateReadInt(strSection, _T("MRUDockID"), 0);
    m_rectMRUDockPos.left = DockStateBounded(DockStateReadInt(strSection, _T("MRUDockLeftPos"), 0));
    m_rectMRUDockPos.top = DockStateBounded(DockStateReadInt(strSection, _T("MRUDockTopPos"), 0));
    m_rectMRUDockPos.right = DockStateBounded(DockStateReadInt(strSection, _T("MRUDockRightPos"), 0));
    m_rectMRUDockPos.bottom = DockStateBounded(DockStateReadInt(strSection, _T("MRUDockBottomPos"), 0));
    m_rectMRUDockPos = pDockState->ScaleRectPos(m_rectMRUDockPos);
    m_ptMRUFloatPos.x = DockStateBounded(DockStateReadInt(strSection, _T("MRUFloatXPos"), 0));
    m_ptMRUFloatPos.y = DockStateBounded(DockStateReadInt(strSection, _T("MRUFloatYPos"), 0));
    m_ptMRUFloatPos = pDockState->ScalePoint(m_ptMRUFloatPos);
    m_bDialogBar = DockStateReadInt(strSection, _T("DialogBar"), FALSE) != 0;
    if (m_bDialogBar)
    {
        m_szDockingClient.cx =
            DockStateReadInt(strSection, _T("DialogBarDockingClientCx"), m_szDockingClient.cx);
        m_szDockingClient.cy =
            DockStateReadInt(strSection, _T("DialogBarDockingClientCy"), m_szDockingClient.cy);
        m_szFloatingClient.cx =
            DockStateReadInt(strSection, _T("DialogBarFloatingClientCx"), m_szFloatingClient.cx);
        m_szFloatingClient.cy =
            DockStateReadInt(strSection, _T("DialogBarFloatingClientCy"), m_szFloatingClient.cy);
    }
    return TRUE;
}

// The state.

CQVTDockState::CQVTDockState()
    : m_nVersion(QVT_LAYOUT_SCHEMA), m_bScaling(FALSE),
      m_sizeDevice(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)), m_sizeSaved(0, 0)
{
}

CQVTDockState::~CQVTDockState() = default;

void CQVTDockState::SetScreenSize(CSize sizeSaved)
{
    m_sizeSaved = sizeSaved;
    m_bScaling = sizeSaved != m_sizeDevice && sizeSaved.cx != 0 && sizeSaved.cy != 0;
}

CPoint CQVTDockState::ScalePoint(CPoint point) const
{
    LONGLONG x = point.x;
    LONGLONG y = point.y;
    if (m_bScaling)
    {
        x = x * m_sizeDevice.cx / m_sizeSaved.cx;
        y = y * m_sizeDevice.cy / m_sizeSaved.cy;
    }
    CPoint ptScaled(DockStateBounded(x), DockStateBounded(y));
    const CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(ptScaled);
    ptScaled.x = std::min(static_cast<int>(ptScaled.x),
                          static_cast<int>(rcWork.right) - ::GetSystemMetrics(SM_CXICON));
    ptScaled.y = std::min(static_cast<int>(ptScaled.y),
                          static_cast<int>(rcWork.bottom) - ::GetSystemMetrics(SM_CYICON));
    // A forged far-away point would put a bar where nobody reaches it.
    ptScaled.x = std::max(ptScaled.x, rcWork.left);
    ptScaled.y = std::max(ptScaled.y, rcWork.top);
    return ptScaled;
}

CRect CQVTDockState::ScaleRectPos(const CRect& rect) const
{
    CRect rc = rect;
    if (m_bScaling)
    {
        const LONGLONG x = static_cast<LONGLONG>(rect.left) * m_sizeDevice.cx / m_sizeSaved.cx;
        const LONGLONG y = static_cast<LONGLONG>(rect.top) * m_sizeDevice.cy / m_sizeSaved.cy;
        rc.OffsetRect(static_cast<int>(x - rect.left), static_cast<int>(y - rect.top));
    }
    const CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(rc.TopLeft());
    if (rc.left > rcWork.right)
        rc.OffsetRect(rcWork.right - rc.right, 0);
    if (rc.top > rcWork.bottom)
        rc.OffsetRect(0, rcWork.bottom - rc.bottom);
    return rc;
}

void CQVTDockState::SaveState(LPCTSTR lpszProfileName) const
{
    for (size_t i = 0; i < m_arrBarInfo.size(); ++i)
        m_arrBarInfo[i]->SaveState(lpszProfileName, static_cast<int>(i));
    CString strSection;
    strSection.Format(_T("%s-Summary"), lpszProfileName);
    DockStateWriteInt(strSection, _T("Bars"), static_cast<int>(m_arrBarInfo.size()));
    DockStateWriteInt(strSection, _T("ScreenCX"), m_sizeDevice.cx);
    DockStateWriteInt(strSection, _T("ScreenCY"), m_sizeDevice.cy);
}

void CQVTDockState::LoadState(LPCTSTR lpszProfileName)
{
    CString strSection;
    strSection.Format(_T("%s-Summary"), lpszProfileName);
    const int nBars = DockStateReadInt(strSection, _T("Bars"), 0);
    // Read values are limited to the positive int range.
    const CSize sizeSaved(DockStateReadInt(strSection, _T("ScreenCX"), 0) & 0x7FFFFFFF,
                          DockStateReadInt(strSection, _T("ScreenCY"), 0) & 0x7FFFFFFF);
    SetScreenSize(sizeSaved);
    m_arrBarInfo.clear();
    for (int i = 0; i < std::min(nBars, kDockStateMaxRecords); ++i)
    {
        auto pInfo = std::make_unique<CQVTToolBarInfo>();
        if (!pInfo->LoadState(lpszProfileName, i, this))
            break;
        m_arrBarInfo.push_back(std::move(pInfo));
    }
}
