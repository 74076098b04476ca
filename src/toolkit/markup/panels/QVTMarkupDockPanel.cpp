#include "toolkit/markup/panels/QVTMarkupDockPanel.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupDockPanel, CQVTMarkupPanel, u"DockPanel",
                      &CQVTMarkupDockPanel::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupDockPanel::m_pLastChildFillProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupDockPanel::m_pDockProperty = nullptr;

namespace {
const QVTMARKUPKEYWORD kDocks[] = {
    {u"Left", qvtDockLeft}, {u"Top", qvtDockTop}, {u"Right", qvtDockRight}, {u"Bottom", qvtDockBottom}};

CQVTMarkupObject* AFX_CDECL ConvertDock(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                        CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kDocks);
}

}  // namespace

void AFX_CDECL CQVTMarkupDockPanel::RegisterMarkupProperties()
{
    CQVTMarkupBool::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pLastChildFillProperty = CQVTMarkupDependencyProperty::Register(
        u"LastChildFill", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateTrue(), QVT_MARKUP_AFFECTS_ARRANGE));
    m_pDockProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Dock", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtDockLeft), &ConvertDock, &OnDockChanged, 0));
}

void AFX_CDECL CQVTMarkupDockPanel::OnDockChanged(CQVTMarkupObject* pObject,
                                                  CQVTMarkupPropertyChangedEventArgs*)
{
    CQVTMarkupVisual* pVisual = MarkupCast<CQVTMarkupVisual>(pObject);
    if (pVisual == nullptr)
        return;
    if (CQVTMarkupDockPanel* pPanel = MarkupCast<CQVTMarkupDockPanel>(pVisual->GetVisualParent()))
        pPanel->InvalidateMeasure();
}

BOOL CQVTMarkupDockPanel::GetLastChildFill()
{
    CQVTMarkupBool* pValue = MarkupCast<CQVTMarkupBool>(GetValue(m_pLastChildFillProperty));
    return pValue == nullptr || pValue->GetValue();
}

void CQVTMarkupDockPanel::SetLastChildFill(BOOL bFill)
{
    SetValue(m_pLastChildFillProperty, new CQVTMarkupBool(bFill));
}

QVTMarkupDock AFX_CDECL CQVTMarkupDockPanel::GetDock(CQVTMarkupObject* pElement)
{
    if (pElement == nullptr)
        return qvtDockLeft;
    return static_cast<QVTMarkupDock>(GetMarkupEnumValue(pElement->GetValue(m_pDockProperty), qvtDockLeft));
}

void AFX_CDECL CQVTMarkupDockPanel::SetDock(CQVTMarkupObject* pElement, QVTMarkupDock dock)
{
    if (pElement != nullptr)
        pElement->SetValue(m_pDockProperty, new CQVTMarkupEnum(dock));
}

SIZE CQVTMarkupDockPanel::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    __int64 nUsedWidth = 0, nUsedHeight = 0, nNeedWidth = 0, nNeedHeight = 0;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        pChild->Measure(pDC, SIZE{MarkupSaturate(std::max<__int64>(0, szAvailable.cx - nUsedWidth)),
                                  MarkupSaturate(std::max<__int64>(0, szAvailable.cy - nUsedHeight))});
        const SIZE szChild = pChild->GetDesiredSize();
        const QVTMarkupDock dock = GetDock(pChild);
        if (dock == qvtDockLeft || dock == qvtDockRight)
        {
            nNeedHeight = std::max(nNeedHeight, nUsedHeight + szChild.cy);
            nUsedWidth += szChild.cx;
        }
        else
        {
            nNeedWidth = std::max(nNeedWidth, nUsedWidth + szChild.cx);
            nUsedHeight += szChild.cy;
        }
    }
    return SIZE{MarkupSaturate(std::max(nUsedWidth, nNeedWidth)),
                MarkupSaturate(std::max(nUsedHeight, nNeedHeight))};
}

SIZE CQVTMarkupDockPanel::ArrangeOverride(SIZE szFinal)
{
    const int nCount = GetChildCount();
    const int nFillFrom = GetLastChildFill() ? nCount - 1 : nCount;
    __int64 nLeft = 0, nTop = 0, nRight = 0, nBottom = 0;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        const SIZE szChild = pChild->GetDesiredSize();
        __int64 l = nLeft, t = nTop;
        __int64 r = std::max(nLeft, __int64(szFinal.cx) - nRight);
        __int64 b = std::max(nTop, __int64(szFinal.cy) - nBottom);
        if (i < nFillFrom)
        {
            switch (GetDock(pChild))
            {
            case qvtDockTop:
                b = nTop + szChild.cy;
                nTop += szChild.cy;
                break;
            case qvtDockRight:
            {
                nRight += szChild.cx;
                const __int64 x = std::max<__int64>(0, __int64(szFinal.cx) - nRight);
                l = x;
                r = x + szChild.cx;
                break;
            }
            case qvtDockBottom:
            {
                const __int64 y = std::max<__int64>(0, __int64(szFinal.cy) - nBottom - szChild.cy);
                nBottom += szChild.cy;
                t = y;
                b = y + szChild.cy;
                break;
            }
            default:
                r = nLeft + szChild.cx;
                nLeft += szChild.cx;
                break;
            }
        }
        pChild->Arrange(RECT{MarkupSaturate(l), MarkupSaturate(t), MarkupSaturate(r), MarkupSaturate(b)});
    }
    return szFinal;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupDockPanel, CQVTMarkupPanel)
    DISP_PROPERTY_EX_ID(CQVTMarkupDockPanel, "LastChildFill", 600, GetLastChildFillProperty,
                        SetLastChildFillProperty, VT_BOOL)
    DISP_FUNCTION_ID(CQVTMarkupDockPanel, "GetDock", 601, GetDockMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupDockPanel, "SetDock", 602, SetDockMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
END_DISPATCH_MAP()

BOOL CQVTMarkupDockPanel::GetLastChildFillProperty()
{
    return QVTMarkupAutomation::GetBool(this, m_pLastChildFillProperty, TRUE);
}

void CQVTMarkupDockPanel::SetLastChildFillProperty(BOOL bValue)
{
    QVTMarkupAutomation::SetBool(this, m_pLastChildFillProperty, bValue);
}

long CQVTMarkupDockPanel::GetDockMethod(LPDISPATCH pElement)
{
    return GetDock(CQVTMarkupObject::FromDispatch(pElement, FALSE));
}

void CQVTMarkupDockPanel::SetDockMethod(LPDISPATCH pElement, long nValue)
{
    SetDock(CQVTMarkupObject::FromDispatch(pElement, FALSE), static_cast<QVTMarkupDock>(nValue));
}
