#include "toolkit/themes/windows10/QVTAmbientAccent.h"

namespace QVTAmbientAccent {

CQVTApplication* GetApplication()
{
    try
    {
        return QVTApplication();
    }
    catch (CException* e)
    {
        e->Delete();
        return nullptr;
    }
}

COLORREF Read()
{
    CQVTApplication* pApplication = GetApplication();
    if (!pApplication)
        return static_cast<COLORREF>(-1);
    const COleVariant& value = pApplication->GetAmbientProperty(1);
    if (value.vt == VT_EMPTY || value.vt == VT_NULL)
        return static_cast<COLORREF>(-1);
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(static_cast<const VARIANT*>(&value)), 0,
                                   VT_I4)))
        return static_cast<COLORREF>(-1);
    return static_cast<COLORREF>(converted.lVal);
}

void Observe(IQVTApplicationEvents* pObserver)
{
    CQVTApplication* pApplication = GetApplication();
    if (pApplication && !pApplication->HasObserver(pObserver))
        pApplication->AddObserver(pObserver);
}

void StopObserving(IQVTApplicationEvents* pObserver)
{
    if (CQVTApplication* pApplication = GetApplication())
        pApplication->RemoveObserver(pObserver);
}

}  // namespace QVTAmbientAccent
