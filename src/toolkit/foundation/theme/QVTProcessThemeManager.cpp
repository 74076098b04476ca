#include "toolkit/foundation/theme/QVTProcessThemeManager.h"
#include "toolkit/foundation/color/QVTColorManager.h"

namespace {
PROCESS_LOCAL(CQVTProcessThemeManager, g_themeManager)
}

CQVTProcessThemeManager::CQVTProcessThemeManager() : m_mapThemedObjects(10) {}

CQVTProcessThemeManager::~CQVTProcessThemeManager()
{
    POSITION pos = m_mapThemedObjects.GetStartPosition();
    while (pos)
    {
        void* pKey = nullptr;
        void* pValue = nullptr;
        m_mapThemedObjects.GetNextAssoc(pos, pKey, pValue);
        delete static_cast<CObject*>(pValue);
    }
    m_mapThemedObjects.RemoveAll();
}

void CQVTProcessThemeManager::SetTheme(int nTheme)
{
    if (nTheme == m_nTheme)
        return;
    m_nTheme = nTheme;
    RefreshColorManagerColors(TRUE);
}

CQVTProcessThemeManager* AFXAPI QVTThemeManager()
{
    CQVTProcessThemeManager* pManager = g_themeManager.GetData();
    if (!pManager)
        AfxThrowInvalidArgException();
    return pManager;
}
