#include "toolkit/markup/panels/QVTMarkupViewbox.h"

#include <algorithm>

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupStretch.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupViewbox, CQVTMarkupDecorator, u"Viewbox",
                      &CQVTMarkupViewbox::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPage, CQVTMarkupDecorator, u"Page", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupWindowContainer, CQVTMarkupFrameworkElement, u"WindowContainer", nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupViewbox::m_pStretchProperty = nullptr;

using namespace QVTMarkupAutomation;

namespace {
// a × b ÷ c in whole numbers, truncated, kept within 32 bits.
int MulDivTruncate(int a, int b, int c)
{
    if (c == 0)
        return 0;
    return static_cast<int>(
        std::clamp<__int64>(__int64(a) * b / c, -QVT_MARKUP_UNBOUNDED, QVT_MARKUP_UNBOUNDED));
}

void ReplaceChild(CQVTMarkupDecorator* pDecorator, LPDISPATCH pDispatch)
{
    CQVTMarkupUIElement* pChild = nullptr;
    if (pDispatch != nullptr)
    {
        pChild = MarkupCast<CQVTMarkupUIElement>(CQVTMarkupObject::FromDispatch(pDispatch, FALSE));
        if (pChild == nullptr)
            AfxThrowOleException(E_INVALIDARG);
        pChild->InternalAddRef();
    }
    pDecorator->SetChild(pChild);
    pDecorator->InvalidateMeasure();
}
}  // namespace

// Viewbox

BEGIN_DISPATCH_MAP(CQVTMarkupViewbox, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupViewbox, "Stretch", 501, GetStretchProperty, SetStretchProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupViewbox, "Child", 502, GetChildProperty, SetChildProperty, VT_DISPATCH)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupViewbox::RegisterMarkupProperties()
{
    CQVTMarkupEnum::EnsureMarkupClass();
    m_pStretchProperty = CQVTMarkupDependencyProperty::Register(
        u"Stretch", CQVTMarkupEnum::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtStretchNone), &ConvertMarkupStretch,
                                       QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupViewbox::CQVTMarkupViewbox() : m_fScaleX(0.0f), m_fScaleY(0.0f), m_fOffsetX(0.0f), m_fOffsetY(0.0f)
{
}

SIZE CQVTMarkupViewbox::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    CQVTMarkupUIElement* pChild = GetChild();
    if (pChild == nullptr)
        return SIZE{0, 0};
    pChild->Measure(pDC, szAvailable);
    return pChild->GetDesiredSize();
}

SIZE CQVTMarkupViewbox::ArrangeOverride(SIZE szFinal)
{
    const int W = szFinal.cx, H = szFinal.cy;
    CQVTMarkupUIElement* pChild = GetChild();
    if (pChild == nullptr || W == 0 || H == 0)
        return szFinal;
    SIZE szChild = pChild->GetDesiredSize();
    if (CQVTMarkupFrameworkElement* pFramework = MarkupCast<CQVTMarkupFrameworkElement>(pChild))
    {
        const int nWidth = pFramework->GetLength(m_pWidthProperty, QVT_MARKUP_UNBOUNDED);
        const int nHeight = pFramework->GetLength(m_pHeightProperty, QVT_MARKUP_UNBOUNDED);
        if (nWidth != QVT_MARKUP_UNBOUNDED && nHeight != QVT_MARKUP_UNBOUNDED)
            szChild = {nWidth, nHeight};
    }
    const int cw = szChild.cx, ch = szChild.cy;
    if (cw == 0 || ch == 0)
        return szFinal;

    int tw = 0, th = 0;
    BOOL bClip = FALSE;
    switch (GetMarkupEnumValue(GetValue(m_pStretchProperty), qvtStretchNone))
    {
    case qvtStretchNone:
    {
        tw = cw;
        th = ch;
        const int nWidth = GetLength(m_pWidthProperty, QVT_MARKUP_UNBOUNDED);
        const int nHeight = GetLength(m_pHeightProperty, QVT_MARKUP_UNBOUNDED);
        bClip = nWidth != QVT_MARKUP_UNBOUNDED && nHeight != QVT_MARKUP_UNBOUNDED &&
                (nWidth < cw || nHeight < ch);
        break;
    }
    case qvtStretchFill:
        tw = W;
        th = H;
        break;
    case qvtStretchUniform:
        if (W <= H)
        {
            tw = W;
            th = MulDivTruncate(W, ch, cw);
            if (th > H)
            {
                tw = MulDivTruncate(cw, H, ch);
                th = H;
                if (tw > W)
                {
                    tw = W;
                    th = MulDivTruncate(W, ch, cw);
                }
            }
        }
        else
        {
            tw = MulDivTruncate(cw, H, ch);
            th = H;
            if (tw > W)
            {
                tw = W;
                th = MulDivTruncate(W, ch, cw);
            }
        }
        break;
    case qvtStretchUniformToFill:
        if (W <= H)
        {
            tw = MulDivTruncate(cw, H, ch);
            th = H;
            if (tw < W)
            {
                tw = W;
                th = MulDivTruncate(W, ch, cw);
            }
        }
        else
        {
            tw = W;
            th = MulDivTruncate(W, ch, cw);
            if (th < H)
            {
                tw = MulDivTruncate(cw, H, ch);
                th = H;
            }
        }
        bClip = TRUE;
        break;
    default:
        break;
    }
    m_fScaleX = static_cast<float>(tw) / static_cast<float>(cw);
    m_fScaleY = static_cast<float>(th) / static_cast<float>(ch);
    m_fOffsetX = static_cast<float>(W) * 0.5f - static_cast<float>(tw) * 0.5f;
    m_fOffsetY = static_cast<float>(H) * 0.5f - static_cast<float>(th) * 0.5f;
    SetValue(m_pClipToBoundsProperty, bClip ? CQVTMarkupBool::CreateTrue() : CQVTMarkupBool::CreateFalse());
    pChild->Arrange(RECT{0, 0, cw, ch});
    return szFinal;
}

CQVTMarkupRenderTransformState CQVTMarkupViewbox::PushRenderTransform(CQVTMarkupDrawingContext* pDC)
{
    SetRenderTransformInForce(nullptr);
    std::unique_ptr<CQVTMarkupTransformationMatrix> current(pDC->GetTransform());
    CQVTMarkupGdiPlusTransformationMatrix* pCurrent =
        DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusTransformationMatrix, current.get());
    if (pCurrent == nullptr)
        return {};
    QVTGdiPlus::CGpMatrix matrix = QVTGdiPlus::CloneMatrix(pCurrent->GetMatrix());
    if (!matrix ||
        QVTGdiPlus::GdipTranslateMatrix(matrix, m_fOffsetX, m_fOffsetY, Gdiplus::MatrixOrderPrepend) !=
            Gdiplus::Ok ||
        QVTGdiPlus::GdipScaleMatrix(matrix, m_fScaleX, m_fScaleY, Gdiplus::MatrixOrderPrepend) != Gdiplus::Ok)
        return {};
    CQVTMarkupGdiPlusTransformationMatrix* pCreated =
        new CQVTMarkupGdiPlusTransformationMatrix(matrix.Detach());
    pDC->SetTransform(pCreated);
    SetRenderTransformInForce(pCreated);
    CQVTMarkupRenderTransformState state;
    state.pSavedTransform = current.release();
    state.pCreatedTransform = pCreated;
    return state;
}

long CQVTMarkupViewbox::GetStretchProperty()
{
    return GetInt(this, m_pStretchProperty, qvtStretchNone);
}

void CQVTMarkupViewbox::SetStretchProperty(long nValue)
{
    SetEnum(this, m_pStretchProperty, nValue);
}

LPDISPATCH CQVTMarkupViewbox::GetChildProperty()
{
    return DispatchOf(GetChild());
}

void CQVTMarkupViewbox::SetChildProperty(LPDISPATCH pDispatch)
{
    ReplaceChild(this, pDispatch);
}

// Page

BEGIN_DISPATCH_MAP(CQVTMarkupPage, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupPage, "Content", 500, GetContentProperty, SetContentProperty, VT_DISPATCH)
END_DISPATCH_MAP()

SIZE CQVTMarkupPage::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    CQVTMarkupUIElement* pChild = GetChild();
    if (pChild == nullptr)
        return SIZE{0, 0};
    pChild->Measure(pDC, szAvailable);
    return pChild->GetDesiredSize();
}

SIZE CQVTMarkupPage::ArrangeOverride(SIZE szFinal)
{
    if (CQVTMarkupUIElement* pChild = GetChild())
        pChild->Arrange(RECT{0, 0, szFinal.cx, szFinal.cy});
    return szFinal;
}

LPDISPATCH CQVTMarkupPage::GetContentProperty()
{
    return DispatchOf(GetChild());
}

void CQVTMarkupPage::SetContentProperty(LPDISPATCH pDispatch)
{
    ReplaceChild(this, pDispatch);
}

// Window container

BEGIN_DISPATCH_MAP(CQVTMarkupWindowContainer, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupWindowContainer, "Child", 500, GetChildProperty, SetChildProperty, VT_I4)
END_DISPATCH_MAP()

CQVTMarkupWindowContainer::CQVTMarkupWindowContainer() : m_hWnd(nullptr), m_szWindow{0, 0} {}

void CQVTMarkupWindowContainer::AttachWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    RECT rc = {0, 0, 0, 0};
    if (hWnd != nullptr && ::GetWindowRect(hWnd, &rc))
        m_szWindow = {rc.right - rc.left, rc.bottom - rc.top};
    else
        m_szWindow = {0, 0};
    InvalidateMeasure();
    InvalidateVisual();
}

SIZE CQVTMarkupWindowContainer::MeasureOverride(CQVTMarkupDrawingContext*, SIZE)
{
    return m_szWindow;
}

void CQVTMarkupWindowContainer::OnRender(CQVTMarkupDrawingContext*)
{
    CQVTMarkupContext* pContext = GetMarkupContext();
    if (m_hWnd == nullptr || pContext == nullptr || !::IsWindow(m_hWnd))
        return;
    const CRect rc = pContext->GetElementWindowRect(this, FALSE);
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
}

void CQVTMarkupWindowContainer::HideHostedWindows()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW |
                           SWP_NOOWNERZORDER);
}

long CQVTMarkupWindowContainer::GetChildProperty()
{
    return static_cast<long>(reinterpret_cast<LONG_PTR>(m_hWnd));
}

void CQVTMarkupWindowContainer::SetChildProperty(long nWindow)
{
    // Window handles fit in 32 bits, as the system guarantees for sharing them.
    AttachWindow(reinterpret_cast<HWND>(static_cast<LONG_PTR>(nWindow)));
}
