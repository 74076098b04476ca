#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

IMPLEMENT_DYNAMIC(CQVTSkinObjectControl, CQVTSkinObjectFrame)

BEGIN_MESSAGE_MAP(CQVTSkinObjectControl, CQVTSkinObjectFrame)
END_MESSAGE_MAP()

BOOL CQVTSkinObjectControl::IsPartSkinned(int nPart)
{
    if (!IsSkinEnabled() || !IsDrawingEnabled(FALSE))
        return FALSE;
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return FALSE;
    return pClass->GetProperty(qvtSkinTypeEnum, nPart, 0, qvtSkinPropBgType) != nullptr ||
           pClass->GetProperty(qvtSkinTypeString, nPart, 0, qvtSkinPropImageFile) != nullptr;
}

void CQVTSkinObjectControl::OnDraw(CDC*) {}

BOOL CQVTSkinObjectControl::EraseUnlessSkinned(CDC* pDC, int nPart)
{
    if (IsPartSkinned(nPart))
        return TRUE;
    return static_cast<BOOL>(EraseWithClassBrush(pDC->GetSafeHdc()));
}

void CQVTSkinObjectControl::PaintSkinned(int nPart, BOOL bBuffer)
{
    if (!IsPartSkinned(nPart))
    {
        Default();
        return;
    }
    CQVTSkinObjectPaintDC dc(this);
    if (!bBuffer)
    {
        OnDraw(&dc);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    CQVTBufferDC memDC(dc.GetSafeHdc(), rc);
    OnDraw(&memDC);
}

LRESULT CQVTSkinObjectControl::PrintSkinned(WPARAM wParam, LPARAM lParam, int nPart)
{
    if ((lParam & PRF_CLIENT) && IsPartSkinned(nPart) && wParam != 0)
    {
        OnDraw(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return 1;
    }
    return Default();
}

LRESULT CQVTSkinObjectControl::DefaultInvalidate()
{
    const LRESULT lResult = Default();
    InvalidateClient();
    return lResult;
}

HBRUSH CQVTSkinObjectControl::GetParentBrush(UINT nMessage, HDC hDC)
{
    HWND hParent = ::GetParent(m_hWnd);
    HBRUSH hBrush = nullptr;
    if (hParent != nullptr)
        hBrush = reinterpret_cast<HBRUSH>(::SendMessageW(hParent, nMessage, reinterpret_cast<WPARAM>(hDC),
                                                         reinterpret_cast<LPARAM>(m_hWnd)));
    if (hBrush == nullptr)
    {
        CQVTSkinManagerMetrics* pMetrics = GetMetrics();
        hBrush = pMetrics != nullptr ? pMetrics->GetBrush(COLOR_BTNFACE) : ::GetSysColorBrush(COLOR_BTNFACE);
    }
    return hBrush;
}

LRESULT CQVTSkinObjectControl::EraseWithClassBrush(HDC hDC)
{
    const ULONG_PTR nBrush = ::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND);
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (IsSkinEnabled() && pMetrics != nullptr && nBrush >= 1 && nBrush <= 31)
    {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        ::FillRect(hDC, &rc, pMetrics->GetBrush(static_cast<int>(nBrush) - 1));
        return 1;
    }
    return Default();
}

BOOL CQVTSkinObjectControl::RequestLeaveNotice()
{
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    return ::TrackMouseEvent(&tme);
}

int CQVTSkinObjectControl::ScaleX(int nValue)
{
    CQVTDpiScaler scaler(m_hWnd);
    return scaler.ScaleX(nValue);
}

int CQVTSkinObjectControl::ScaleY(int nValue)
{
    CQVTDpiScaler scaler(m_hWnd);
    return scaler.ScaleY(nValue);
}
