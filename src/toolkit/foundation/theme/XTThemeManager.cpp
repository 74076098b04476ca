#include "toolkit/foundation/theme/XTThemeManager.h"
#include "toolkit/foundation/color/QVTColorManager.h"

namespace
{
PROCESS_LOCAL(CXTThemeManager, g_themeManager)
}

CXTThemeManager::CXTThemeManager() : m_mapThemedObjects(10)
{
}

CXTThemeManager::~CXTThemeManager()
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

void CXTThemeManager::SetTheme(int nTheme)
{
    if (nTheme == m_nTheme)
        return;
    m_nTheme = nTheme;
    RefreshColorManagerColors(TRUE);
}

CXTThemeManager* AFXAPI QVTThemeManager()
{
    CXTThemeManager* pManager = g_themeManager.GetData();
    if (!pManager)
        AfxThrowInvalidArgException();
    return pManager;
}
