#include "toolkit/markup/controls/QVTMarkupScrollViewer.h"

#include <algorithm>

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/controls/QVTMarkupScrollBar.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupScrollViewer, CQVTMarkupContentControl, u"ScrollViewer",
                      &CQVTMarkupScrollViewer::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupScrollViewer::m_pVerticalScrollBarVisibilityProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupScrollViewer::m_pHorizontalScrollBarVisibilityProperty = nullptr;

BEGIN_DISPATCH_MAP(CQVTMarkupScrollViewer, CQVTMarkupContentControl)
    DISP_PROPERTY_EX_ID(CQVTMarkupScrollViewer, "VerticalOffset", 700, GetVerticalOffsetProperty,
                        SetVerticalOffsetProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupScrollViewer, "HorizontalOffset", 701, GetHorizontalOffsetProperty,
                        SetHorizontalOffsetProperty, VT_I4)
END_DISPATCH_MAP()

namespace {
const int kLineStep = 16;
const int kWheelStep = 48;

CQVTMarkupObject* AFX_CDECL ConvertScrollBarVisibility(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                       CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    if (pString->IsEqualNoCase(u"Disabled"))
        return new CQVTMarkupEnum(qvtScrollBarDisabled);
    if (pString->IsEqualNoCase(u"Auto"))
        return new CQVTMarkupEnum(qvtScrollBarAuto);
    if (pString->IsEqualNoCase(u"Visible"))
        return new CQVTMarkupEnum(qvtScrollBarVisible);
    return nullptr;
}

BOOL IsBounded(int nSize)
{
    return nSize < QVT_MARKUP_UNBOUNDED_LIMIT;
}
}  // namespace

void AFX_CDECL CQVTMarkupScrollViewer::RegisterMarkupProperties()
{
    CQVTMarkupScrollBar::EnsureMarkupClass();
    CQVTMarkupScrollBarGripper::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pVerticalScrollBarVisibilityProperty = CQVTMarkupDependencyProperty::Register(
        u"VerticalScrollBarVisibility", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtScrollBarVisible), &ConvertScrollBarVisibility,
                                       QVT_MARKUP_AFFECTS_MEASURE));
    m_pHorizontalScrollBarVisibilityProperty = CQVTMarkupDependencyProperty::Register(
        u"HorizontalScrollBarVisibility", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtScrollBarDisabled), &ConvertScrollBarVisibility,
                                       QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupScrollViewer::CQVTMarkupScrollViewer()
    : m_pVerticalBar(nullptr), m_pHorizontalBar(nullptr), m_pGripper(nullptr), m_nHorizontalOffset(0),
      m_nVerticalOffset(0), m_bArranged(FALSE)
{
    EnsureMarkupClass();
    SetValue(m_pClipToBoundsProperty, CQVTMarkupBool::CreateTrue());
}

CQVTMarkupScrollViewer::~CQVTMarkupScrollViewer()
{
    RemoveBar(TRUE);
    RemoveBar(FALSE);
}

int CQVTMarkupScrollViewer::GetVisualChildrenCount()
{
    return (GetContent() != nullptr ? 1 : 0) + (m_pVerticalBar != nullptr ? 1 : 0) +
           (m_pHorizontalBar != nullptr ? 1 : 0) + (m_pGripper != nullptr ? 1 : 0);
}

CQVTMarkupVisual* CQVTMarkupScrollViewer::GetVisualChild(int nIndex)
{
    CQVTMarkupVisual* children[] = {GetContent(), m_pVerticalBar, m_pHorizontalBar, m_pGripper};
    for (CQVTMarkupVisual* pChild : children)
    {
        if (pChild == nullptr)
            continue;
        if (nIndex-- == 0)
            return pChild;
    }
    return nullptr;
}

QVTMarkupScrollBarVisibility CQVTMarkupScrollViewer::GetVisibilitySetting(BOOL bVertical)
{
    return static_cast<QVTMarkupScrollBarVisibility>(
        GetMarkupEnumValue(GetValue(bVertical ? m_pVerticalScrollBarVisibilityProperty
                                              : m_pHorizontalScrollBarVisibilityProperty),
                           bVertical ? qvtScrollBarVisible : qvtScrollBarDisabled));
}

CQVTMarkupScrollBar* CQVTMarkupScrollViewer::EnsureBar(BOOL bVertical)
{
    CQVTMarkupScrollBar*& pBar = bVertical ? m_pVerticalBar : m_pHorizontalBar;
    if (pBar == nullptr)
    {
        CQVTMarkupContext* pContext = GetMarkupContext();
        CQVTMarkupObject* pObject = pContext != nullptr
                                        ? pContext->CreateMarkupObject(CQVTMarkupScrollBar::GetMarkupType())
                                        : CQVTMarkupScrollBar::GetMarkupType()->CreateObject(nullptr);
        pBar = static_cast<CQVTMarkupScrollBar*>(pObject);
        pBar->SetOrientation(bVertical ? 1 : 0);
        pBar->SetLogicalParent(this);
    }
    return pBar;
}

void CQVTMarkupScrollViewer::RemoveBar(BOOL bVertical)
{
    CQVTMarkupScrollBar*& pBar = bVertical ? m_pVerticalBar : m_pHorizontalBar;
    (bVertical ? m_nVerticalOffset : m_nHorizontalOffset) = 0;
    if (pBar != nullptr)
    {
        CQVTMarkupScrollBar* pOld = pBar;
        pBar = nullptr;
        pOld->SetLogicalParent(nullptr);
        pOld->InternalRelease();
    }
    if (m_pGripper != nullptr)
    {
        CQVTMarkupScrollBarGripper* pOld = m_pGripper;
        m_pGripper = nullptr;
        pOld->SetLogicalParent(nullptr);
        pOld->InternalRelease();
    }
}

SIZE CQVTMarkupScrollViewer::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    CQVTMarkupUIElement* pContent = GetContent();
    if (pContent == nullptr)
        return SIZE{0, 0};
    int nVertical = GetVisibilitySetting(TRUE);
    int nHorizontal = GetVisibilitySetting(FALSE);
    SIZE szContent = {nHorizontal != qvtScrollBarDisabled ? QVT_MARKUP_UNBOUNDED : szAvailable.cx,
                      QVT_MARKUP_UNBOUNDED};
    int nBarWidth = 0, nBarHeight = 0;

    if (nVertical == qvtScrollBarDisabled)
        szContent.cy = szAvailable.cy;
    if (nVertical == qvtScrollBarAuto)
    {
        pContent->Measure(pDC, SIZE{szContent.cx, QVT_MARKUP_UNBOUNDED});
        nVertical =
            pContent->GetDesiredSize().cy > szAvailable.cy ? qvtScrollBarVisible : qvtScrollBarDisabled;
    }
    if (nVertical == qvtScrollBarVisible)
    {
        CQVTMarkupScrollBar* pBar = EnsureBar(TRUE);
        pBar->Measure(pDC, szAvailable);
        nBarWidth = pBar->GetDesiredSize().cx;
        if (IsBounded(szContent.cx))
            szContent.cx = std::max<LONG>(szContent.cx - nBarWidth, 0);
    }
    else
    {
        RemoveBar(TRUE);
    }

    if (nHorizontal == qvtScrollBarAuto)
    {
        pContent->Measure(pDC, szContent);
        nHorizontal = __int64(pContent->GetDesiredSize().cx) > __int64(szAvailable.cx) - nBarWidth
                          ? qvtScrollBarVisible
                          : qvtScrollBarDisabled;
    }
    if (nHorizontal == qvtScrollBarVisible)
    {
        CQVTMarkupScrollBar* pBar = EnsureBar(FALSE);
        pBar->Measure(pDC, szAvailable);
        nBarHeight = pBar->GetDesiredSize().cy;
        if (IsBounded(szContent.cy))
            szContent.cy = std::max<LONG>(szContent.cy - nBarHeight, 0);
    }
    else
    {
        RemoveBar(FALSE);
    }

    if (m_pVerticalBar != nullptr && m_pHorizontalBar != nullptr && m_pGripper == nullptr)
    {
        CQVTMarkupContext* pContext = GetMarkupContext();
        m_pGripper = static_cast<CQVTMarkupScrollBarGripper*>(
            pContext != nullptr ? pContext->CreateMarkupObject(CQVTMarkupScrollBarGripper::GetMarkupType())
                                : CQVTMarkupScrollBarGripper::GetMarkupType()->CreateObject(nullptr));
        m_pGripper->SetLogicalParent(this);
    }
    if (m_pGripper != nullptr)
        m_pGripper->Measure(pDC, SIZE{nBarWidth, nBarHeight});

    pContent->Measure(pDC, szContent);
    const SIZE szDesired = pContent->GetDesiredSize();
    return SIZE{static_cast<LONG>(std::min<__int64>(szAvailable.cx, __int64(nBarWidth) + szDesired.cx)),
                static_cast<LONG>(std::min<__int64>(szAvailable.cy, __int64(nBarHeight) + szDesired.cy))};
}

void CQVTMarkupScrollViewer::ArrangeBar(BOOL bVertical, SIZE szFinal, SIZE szViewport, int nContent)
{
    CQVTMarkupScrollBar* pBar = GetScrollBar(bVertical);
    if (pBar == nullptr)
        return;
    int& nOffset = bVertical ? m_nVerticalOffset : m_nHorizontalOffset;
    const int nViewport = bVertical ? szViewport.cy : szViewport.cx;
    // Content that shrank pulls the offset back so its end meets the viewport's.
    if (nOffset > 0 && __int64(nOffset) + nViewport > nContent)
        nOffset = std::max(nContent - nViewport, 0);
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL};
    si.nMin = 0;
    si.nMax = nContent - 1;
    si.nPage = static_cast<UINT>(std::max(nViewport, 0));
    si.nPos = nOffset;
    pBar->SetScrollInfo(si);
    const SIZE szBar = pBar->GetDesiredSize();
    if (bVertical)
        pBar->Arrange(RECT{szFinal.cx - szBar.cx, 0, szFinal.cx, szViewport.cy});
    else
        pBar->Arrange(RECT{0, szFinal.cy - szBar.cy, szViewport.cx, szFinal.cy});
}

SIZE CQVTMarkupScrollViewer::ArrangeOverride(SIZE szFinal)
{
    m_bArranged = TRUE;
    CQVTMarkupUIElement* pContent = GetContent();
    const int nBarWidth = m_pVerticalBar != nullptr ? m_pVerticalBar->GetDesiredSize().cx : 0;
    const int nBarHeight = m_pHorizontalBar != nullptr ? m_pHorizontalBar->GetDesiredSize().cy : 0;
    const SIZE szViewport = {szFinal.cx - nBarWidth, szFinal.cy - nBarHeight};
    const SIZE szContent = pContent != nullptr ? pContent->GetDesiredSize() : SIZE{0, 0};
    ArrangeBar(TRUE, szFinal, szViewport, szContent.cy);
    ArrangeBar(FALSE, szFinal, szViewport, szContent.cx);
    if (m_pGripper != nullptr)
        m_pGripper->Arrange(RECT{szFinal.cx - nBarWidth, szFinal.cy - nBarHeight, szFinal.cx, szFinal.cy});
    if (pContent != nullptr)
    {
        const int cx = std::max(szContent.cx, szViewport.cx);
        const int cy = std::max(szContent.cy, szViewport.cy);
        pContent->Arrange(RECT{-m_nHorizontalOffset, -m_nVerticalOffset,
                               MarkupSaturate(__int64(cx) - m_nHorizontalOffset),
                               MarkupSaturate(__int64(cy) - m_nVerticalOffset)});
    }
    return szFinal;
}

void CQVTMarkupScrollViewer::OnMouseWheel(CQVTMarkupMouseWheelEventArgs* pArgs)
{
    const int nStep = pArgs->GetDelta() < 0 ? kWheelStep : -kWheelStep;
    ScrollToPosition(TRUE, MarkupSaturate(__int64(m_nVerticalOffset) + nStep));
    pArgs->SetHandled(TRUE);
}

int CQVTMarkupScrollViewer::GetScrollMaximum(BOOL bVertical)
{
    CQVTMarkupScrollBar* pBar = GetScrollBar(bVertical);
    if (pBar == nullptr)
        return 0;
    SCROLLINFO si = {};
    pBar->GetScrollInfo(&si);
    const __int64 nMaximum = __int64(si.nMax) - std::max<__int64>(__int64(si.nPage) - 1, 0);
    return static_cast<int>(std::clamp<__int64>(nMaximum, 0, INT_MAX));
}

void CQVTMarkupScrollViewer::ScrollToPosition(BOOL bVertical, int nValue)
{
    if (m_bArranged && !IsArrangeDirty())
        nValue = std::min(nValue, GetScrollMaximum(bVertical));
    if (nValue < 0)
        nValue = 0;
    int& nOffset = bVertical ? m_nVerticalOffset : m_nHorizontalOffset;
    if (nOffset == nValue)
        return;
    nOffset = nValue;
    InvalidateArrange();
}

void CQVTMarkupScrollViewer::OnScrollCommand(BOOL bVertical, int nCommand, int nPosition)
{
    CQVTMarkupScrollBar* pBar = GetScrollBar(bVertical);
    if (pBar == nullptr)
        return;
    SCROLLINFO si = {};
    pBar->GetScrollInfo(&si);
    const __int64 nPos = si.nPos;
    const __int64 nMaximum =
        std::max<__int64>(__int64(si.nMax) - std::max<__int64>(__int64(si.nPage) - 1, 0), 0);
    __int64 nNew = nPos;
    switch (nCommand)
    {
    case SB_LINEUP:
        nNew = nPos - kLineStep < 1 ? 0 : nPos - kLineStep;
        break;
    case SB_LINEDOWN:
        nNew = std::min(nMaximum, nPos + kLineStep);
        break;
    case SB_PAGEUP:
        nNew = nPos - __int64(si.nPage) < 1 ? 0 : nPos - __int64(si.nPage);
        break;
    case SB_PAGEDOWN:
        nNew = std::min(nMaximum, nPos + __int64(si.nPage));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nNew = nPosition;
        break;
    case SB_TOP:
        nNew = 0;
        break;
    case SB_BOTTOM:
        nNew = nMaximum;
        break;
    default:
        break;
    }
    ScrollToPosition(bVertical, MarkupSaturate(nNew));
}

long CQVTMarkupScrollViewer::GetVerticalOffsetProperty()
{
    return m_nVerticalOffset;
}

void CQVTMarkupScrollViewer::SetVerticalOffsetProperty(long nValue)
{
    ScrollToPosition(TRUE, MarkupSaturate(nValue));
}

long CQVTMarkupScrollViewer::GetHorizontalOffsetProperty()
{
    return m_nHorizontalOffset;
}

void CQVTMarkupScrollViewer::SetHorizontalOffsetProperty(long nValue)
{
    ScrollToPosition(FALSE, MarkupSaturate(nValue));
}
