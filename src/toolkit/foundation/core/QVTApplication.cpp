#include "toolkit/foundation/core/QVTApplication.h"

IMPLEMENT_DYNAMIC(CQVTApplication, CObject)

namespace {
// Set at program start so the object exists before any singleton; cleared by
// the shutdown.
CQVTApplication* g_pStartupApplication = QVTApplication();

CQVTApplication& ApplicationInstance()
{
    static CQVTApplication application;
    return application;
}

BYTE AddClamped(int channel, int delta)
{
    return static_cast<BYTE>(std::clamp(channel + delta, 0, 255));
}
}  // namespace

CQVTApplication::CQVTApplication() : m_pModuleState(AfxGetModuleState())
{
    for (COleVariant& property : m_ambient)
    {
        property.Clear();
        property.vt = VT_I4;
        property.lVal = -1;
    }
}

CQVTApplication::~CQVTApplication()
{
    ShutdownApplication();
}

void CQVTApplication::Shutdown()
{
    if (m_bShutDown)
        return;
    NotifyObservers([this](IQVTApplicationEvents* p) { p->OnShutdownBegin(this); });
    NotifyObservers([this](IQVTApplicationEvents* p) { p->OnShutdown(this); });
    NotifyObservers([this](IQVTApplicationEvents* p) { p->OnShutdownEnd(this); });
    m_bShutDown = TRUE;
}

COleVariant& CQVTApplication::GetAmbientProperty(int nIndex)
{
    if (nIndex < 0 || nIndex > 1)
        AfxThrowInvalidArgException();
    return m_ambient[nIndex];
}

void CQVTApplication::SetAmbientProperty(int nIndex, const VARIANT& value)
{
    GetAmbientProperty(nIndex) = value;
    NotifyObservers([this, nIndex](IQVTApplicationEvents* pObserver) {
        pObserver->OnAmbientPropertyChanged(this, nIndex);
    });
}

COLORREF CQVTApplication::GetAmbientColor(int nKind)
{
    const COLORREF c = static_cast<COLORREF>(m_ambient[0].lVal);
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    switch (nKind)
    {
    case 1:
        return RGB(AddClamped(r, -16), AddClamped(g, -16), AddClamped(b, -16));
    case 2:
        return RGB(AddClamped(r, -32), AddClamped(g, -32), AddClamped(b, -32));
    case 3:
        return RGB(AddClamped(r, 16), AddClamped(g, 16), AddClamped(b, 16));
    case 4:
    case 5:
    case 6:
        return (0.299 * r + 0.587 * g + 0.114 * b) / 255.0 > 0.5 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    default:
        return c;
    }
}

CQVTApplication* AFXAPI QVTApplication()
{
    CQVTApplication& application = ApplicationInstance();
    if (application.IsShutDown())
        AfxThrowOleException(E_FAIL);
    return &application;
}

void AFXAPI ShutdownApplication()
{
    static CQVTApplication* pApplication = QVTApplication();
    if (pApplication)
    {
        CQVTApplication* p = pApplication;
        pApplication = nullptr;
        p->Shutdown();
        g_pStartupApplication = nullptr;
    }
}
