#include "toolkit/commandbars/bars/QVTCommandBarScrollBarCtrl.h"

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNCREATE(CQVTCommandBarScrollBarCtrl, CQVTScrollBarCtrl)

CQVTCommandBarScrollBarCtrl::CQVTCommandBarScrollBarCtrl() : m_pCommandBars(nullptr)
{
    // The paint manager outlives every control that may draw through it.
    CQVTPaintManager::AddRefInstance();
}

CQVTCommandBarScrollBarCtrl::~CQVTCommandBarScrollBarCtrl()
{
    DestroyWindow();
    CQVTPaintManager::ReleaseInstance();
}

CQVTScrollBarPaintManager* CQVTCommandBarScrollBarCtrl::GetScrollBarPaintManager() const
{
    CQVTPaintManager* pPaintManager = m_pCommandBars ? m_pCommandBars->GetPaintManager() : QVTPaintManager();
    return pPaintManager ? pPaintManager->GetScrollBarPaintManager() : nullptr;
}
