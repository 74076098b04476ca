#include "app/mainwindow/RibbonLinkControls.h"

#include <shellapi.h>

#include "app/mainwindow/MainDlg.h"
#include "app/program/ProductInfo.h"
#include "app/program/SondrelApp.h"

IMPLEMENT_DYNCREATE(CSiteControlHyperlink, CQVTControlHyperlink)
IMPLEMENT_DYNCREATE(CEmailControlHyperlink, CQVTControlHyperlink)
IMPLEMENT_DYNCREATE(CUpdatesControlHyperlink, CQVTControlHyperlink)
IMPLEMENT_DYNCREATE(CLogoControlBitmap, CQVTControlBitmap)

void AFXAPI OpenMakerSite()
{
    ::ShellExecuteW(nullptr, u"open", ProductInfo::kWebSite, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL AFXAPI StartUpdater(LPCTSTR lpszParameters)
{
    CSondrelApp* pApp = GetSondrelApp();
    if (!pApp)
        return FALSE;
    const CString strUpdater = pApp->m_strExeFolder + _T("Updater.exe");
    if (::GetFileAttributesW(strUpdater) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    ::ShellExecuteW(nullptr, u"open", strUpdater, lpszParameters, u"", SW_SHOWNORMAL);
    return TRUE;
}

void CSiteControlHyperlink::OnClick(BOOL, CPoint)
{
    OpenMakerSite();
}

void CEmailControlHyperlink::OnClick(BOOL, CPoint)
{
    if (CSondrelApp* pApp = GetSondrelApp())
        pApp->OpenSupportMail(0);
}

void CUpdatesControlHyperlink::OnClick(BOOL, CPoint)
{
    StartUpdater(_T("/autocheck"));
}

void CLogoControlBitmap::OnClick(BOOL, CPoint)
{
    OpenMakerSite();
}
