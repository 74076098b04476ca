// The bars' saved layout: the dock layout through the application profile,
// and the bars' and controls' customization as one archive block, kept in
// the profile or, when large, in a hidden file the profile names.
#include <afxwin.h>
#include <afxext.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBarList.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTDockContext.h"
#include "toolkit/commandbars/bars/QVTDockState.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"

namespace {

// Blocks above this size go to a file of their own.
const UINT kLayoutLargeBlock = 16000;
// A block file larger than this is no layout of ours.
const ULONGLONG kLayoutMaxBlockFile = 64 * 1024 * 1024;
// No dock bar holds this many entries; a forged count reads no further.
const int kLayoutMaxDockEntries = 1024;
const UINT kLayoutDockBarIds[4] = {QVT_ID_DOCKBAR_TOP, QVT_ID_DOCKBAR_BOTTOM, QVT_ID_DOCKBAR_LEFT,
                                   QVT_ID_DOCKBAR_RIGHT};

int LayoutDockPositionOfId(int nId)
{
    for (int i = 0; i < 4; ++i)
        if (static_cast<int>(kLayoutDockBarIds[i]) == nId)
            return i;
    return -1;
}

CQVTStatusBar* LayoutStatusBarOf(CWnd* pSite)
{
    if (!pSite || !pSite->GetSafeHwnd())
        return nullptr;
    HWND hStatus = ::GetDlgItem(pSite->GetSafeHwnd(), AFX_IDW_STATUS_BAR);
    return hStatus ? DYNAMIC_DOWNCAST(CQVTStatusBar, CWnd::FromHandlePermanent(hStatus)) : nullptr;
}

// Writes the bytes to the file through a new file beside it, which then
// takes the old one's place: a failed write leaves the old file whole.
BOOL LayoutWriteBlockFile(const CString& strPath, const std::vector<BYTE>& bytes)
{
    const CString strNew = strPath + _T(".new");
    HANDLE hFile =
        ::CreateFile(strNew, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD nWritten = 0;
    const BOOL bWritten =
        ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr) &&
        nWritten == bytes.size() && ::FlushFileBuffers(hFile);
    ::CloseHandle(hFile);
    if (!bWritten)
    {
        ::DeleteFile(strNew);
        return FALSE;
    }
    ::SetFileAttributes(strPath, FILE_ATTRIBUTE_NORMAL);
    if (!::MoveFileEx(strNew, strPath, MOVEFILE_REPLACE_EXISTING))
    {
        ::DeleteFile(strNew);
        return FALSE;
    }
    ::SetFileAttributes(strPath, FILE_ATTRIBUTE_HIDDEN);
    return TRUE;
}

BOOL LayoutReadBlockFile(const CString& strPath, std::vector<BYTE>& bytes)
{
    HANDLE hFile = ::CreateFile(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size = {};
    BOOL bRead = ::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 &&
                 static_cast<ULONGLONG>(size.QuadPart) <= kLayoutMaxBlockFile;
    if (bRead)
    {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD nRead = 0;
        bRead = ::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nRead, nullptr) &&
                nRead == bytes.size();
    }
    ::CloseHandle(hFile);
    if (!bRead)
        bytes.clear();
    return bRead;
}

}  // namespace

CString CQVTCommandBars::GetCustomizationFileName(LPCTSTR lpszProfileName) const
{
    if (!m_strCustomizationFileName.IsEmpty())
        return m_strCustomizationFileName;
    CString strName(lpszProfileName);
    strName.Replace(_T('\\'), _T('_'));
    CWinApp* pApp = AfxGetApp();
    TCHAR szFolder[MAX_PATH] = {};
    if (pApp && pApp->m_pszAppName &&
        SUCCEEDED(::SHGetFolderPath(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, szFolder)))
    {
        CString strFolder(szFolder);
        strFolder += _T("\\");
        strFolder += pApp->m_pszAppName;
        if (::CreateDirectory(strFolder, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
            return strFolder + _T("\\") + strName;
    }
    TCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileName(nullptr, szModule, MAX_PATH);
    CString strPath;
    strPath.Format(_T("%s-%s"), szModule, static_cast<LPCTSTR>(strName));
    return strPath;
}

// The bar list of a block.

void CQVTCommandBars::GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                             QVT_BARS_EXCHANGE_PARAM* pParam)
{
    const BOOL bOnlyCustomized = pParam && pParam->bSaveOnlyCustomized;
    for (CQVTCommandBar* pBar : m_arrBars)
    {
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
        if (bOnlyCustomized && pToolBar && pToolBar->IsBuiltIn() && !pBar->GetControls()->IsChanged())
            continue;
        pBar->GenerateCommandBarList(nID, pCommandBarList, pParam);
    }
    for (int i = 0; i < m_pContextMenus->GetCount(); ++i)
    {
        CQVTCommandBar* pMenu = m_pContextMenus->GetAt(i);
        if (bOnlyCustomized && !pMenu->GetControls()->IsChanged())
            continue;
        pMenu->GenerateCommandBarList(nID, pCommandBarList, pParam);
    }
}

BOOL CQVTCommandBars::SaveCommandBarList(CQVTPropExchange* pPX, CQVTCommandBarList* pCommandBarList)
{
    try
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("CommandBars")));
        CQVTPropExchangeEnumeratorPtr enumerator(section->GetEnumerator(_T("CommandBar")));
        POSITION pos = enumerator->GetPosition(static_cast<DWORD>(pCommandBarList->GetCount()));
        for (int i = 0; i < pCommandBarList->GetCount() && pos; ++i)
        {
            CQVTCommandBar* pBar = pCommandBarList->GetAt(i);
            CQVTPropExchangeSection barSection(enumerator->GetNext(pos));
            CObject* pObject = pBar;
            if (!barSection->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTCommandBar)))
                return FALSE;
            pBar->DoPropExchange(barSection.GetExchange());
        }
        return TRUE;
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
}

BOOL CQVTCommandBars::LoadCommandBarList(CQVTPropExchange* pPX, CQVTCommandBarList* pCommandBarList)
{
    try
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("CommandBars")));
        CQVTPropExchangeEnumeratorPtr enumerator(section->GetEnumerator(_T("CommandBar")));
        POSITION pos = enumerator->GetPosition(0);
        while (pos)
        {
            CQVTPropExchangeSection barSection(enumerator->GetNext(pos));
            CObject* pObject = nullptr;
            if (!barSection->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTCommandBar)))
                return FALSE;
            CQVTCommandBar* pBar = DYNAMIC_DOWNCAST(CQVTCommandBar, pObject);
            if (!pBar)
            {
                delete pObject;
                return FALSE;
            }
            // The list holds the bar from here on, also when its keys fail.
            pBar->m_pCommandBars = this;
            pCommandBarList->Add(pBar);
            pBar->InternalRelease();
            pBar->DoPropExchange(barSection.GetExchange());
            pBar->OnControlsChanged();
        }
        return TRUE;
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
}

void CQVTCommandBars::RestoreCommandBarList(CQVTCommandBarList* pCommandBarList, BOOL bSilent)
{
    // The popup controls of every loaded bar find their bars by number
    // first, once each, without walking from bar to bar.
    for (int i = 0; i < pCommandBarList->GetCount(); ++i)
        pCommandBarList->GetAt(i)->RestoreCommandBarList(pCommandBarList);

    const int nAnswer = m_bMergeAnswerSet ? (m_nMergeAnswer > 0 ? IDYES : IDNO) : 0;
    for (int i = 0; i < pCommandBarList->GetCount(); ++i)
    {
        CQVTCommandBar* pLoaded = pCommandBarList->GetAt(i);
        CQVTToolBar* pLoadedToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pLoaded);
        if (pLoadedToolBar)
        {
            CQVTToolBar* pExisting = DYNAMIC_DOWNCAST(CQVTToolBar, GetToolBar(pLoaded->GetBarID()));
            if (pExisting)
            {
                pExisting->MergeLoadedBar(pLoadedToolBar, bSilent, nAnswer);
                continue;
            }
            if (pLoaded->GetBarID() == 0 || GetToolBar(pLoaded->GetBarID()))
                continue;
            pLoaded->InternalAddRef();
            pLoaded->m_pCommandBars = this;
            if (!pLoaded->Create(pLoaded->GetPosition()))
            {
                pLoaded->InternalRelease();
                continue;
            }
            m_arrBars.push_back(pLoaded);
            pLoadedToolBar->EnableDocking(pLoaded->GetFlags());
            OnToolBarAdded(pLoaded);
            continue;
        }
        CQVTPopupBar* pLoadedPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pLoaded);
        if (!pLoadedPopup || !pLoadedPopup->IsContextMenu())
            continue;
        CQVTCommandBar* pExisting = m_pContextMenus->FindCommandBar(pLoaded->GetBarID());
        if (pExisting && pExisting != pLoaded)
        {
            CQVTOriginalControls* pOriginals = pExisting->GetControls()->GetOriginalControls();
            if (pOriginals)
                pOriginals->InternalAddRef();
            pExisting->GetControls()->Copy(pLoaded->GetControls());
            pExisting->GetControls()->SetOriginalControls(pOriginals);
            pExisting->OnControlsChanged();
        }
        else if (!pExisting)
        {
            m_pContextMenus->Add(pLoaded);
            if (!pLoaded->GetControls()->GetOriginalControls())
                pLoaded->GetControls()->CreateOriginalControls();
        }
    }
}

// Saving.

void CQVTCommandBars::WriteLayoutState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName)
        return;
    // Visibility is saved as the user sees it.
    HideCommandBars(FALSE);

    CQVTDockState state;
    for (CQVTCommandBar* pBar : m_arrBars)
    {
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pBar);
        if (!pToolBar)
            continue;
        auto pInfo = std::make_unique<CQVTToolBarInfo>();
        pInfo->m_nBarID = static_cast<int>(pBar->GetBarID());
        pInfo->m_bVisible = pBar->IsVisible();
        pInfo->m_nMRUWidth = std::max(0, pBar->GetMRUWidth());
        pInfo->m_bFloating = pBar->GetPosition() == qvtBarFloating;
        CQVTDockContext* pContext = pToolBar->GetDockContext();
        if (pBar->GetSafeHwnd())
        {
            CRect rcWindow;
            pBar->GetWindowRect(&rcWindow);
            if (pToolBar->GetDockBar() && !pInfo->m_bFloating)
                pToolBar->GetDockBar()->ScreenToClient(&rcWindow);
            pInfo->m_pointPos = rcWindow.TopLeft();
        }
        else if (pContext)
            pInfo->m_pointPos = pContext->m_ptMRUFloatPos;
        if (pContext)
        {
            const int nDock = std::max(0, std::min(3, pContext->m_uMRUDockPosition));
            pInfo->m_uMRUDockID = static_cast<int>(kLayoutDockBarIds[nDock]);
            pInfo->m_rectMRUDockPos = pContext->m_rectMRUDockPos;
            pInfo->m_ptMRUFloatPos = pContext->m_ptMRUFloatPos;
        }
        pInfo->m_bDialogBar = pToolBar->GetClientSizes(pInfo->m_szDockingClient, pInfo->m_szFloatingClient);
        if (!pInfo->m_bDialogBar)
        {
            pInfo->m_szDockingClient = CSize(0, 0);
            pInfo->m_szFloatingClient = CSize(0, 0);
        }
        state.m_arrBarInfo.push_back(std::move(pInfo));
    }
    state.SaveState(lpszProfileName);

    for (int i = 0; i < 4; ++i)
    {
        CString strSection;
        strSection.Format(_T("%s-DockBar%d"), lpszProfileName, i);
        pApp->WriteProfileString(strSection, nullptr, nullptr);
        const std::vector<CQVTCommandBar*> rows =
            m_pDocks[i] ? m_pDocks[i]->GetBars() : std::vector<CQVTCommandBar*>();
        if (rows.size() <= 1)
            continue;
        int nEntry = 0;
        for (size_t k = 0; k < rows.size(); ++k)
        {
            if (!rows[k] && k > 0 && !rows[k - 1])
                continue;
            CString strKey;
            strKey.Format(_T("Bar#%d"), nEntry++);
            pApp->WriteProfileInt(strSection, strKey, rows[k] ? static_cast<int>(rows[k]->GetBarID()) : 0);
        }
        pApp->WriteProfileInt(strSection, _T("Bars"), nEntry);
    }
    CQVTStatusBar* pStatusBar = LayoutStatusBarOf(m_pSite);
    if (pStatusBar)
        pStatusBar->SaveState(lpszProfileName);
    else
        pApp->WriteProfileString(lpszProfileName, _T("StatusBar"), nullptr);

    if (m_bCustomizeAvail)
        WriteControlsBlock(lpszProfileName, bOnlyCustomized);

    CQVTMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CQVTMenuBar, GetMenuBar());
    if (pMenuBar)
        pMenuBar->RefreshAfterSave();
    m_pOptions->bDirty = FALSE;
}

BOOL CQVTCommandBars::WriteControlsBlock(LPCTSTR lpszProfileName, BOOL bOnlyCustomized)
{
    CWinApp* pApp = AfxGetApp();
    QVT_BARS_EXCHANGE_PARAM param = {};
    param.bSaveOnlyCustomized = bOnlyCustomized;
    param.bSaveOriginalControls = TRUE;
    param.bSerializeLayout = TRUE;
    param.pCommandBars = this;
    CQVTCommandBarList list;
    DWORD nID = 0x1000000;
    GenerateCommandBarList(nID, &list, &param);

    std::vector<BYTE> bytes;
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store, 4096);
        BOOL bSaved = FALSE;
        try
        {
            CQVTPropExchangeArchive px(ar);
            px.m_pOwner = &param;
            bSaved = SaveCommandBarList(&px, &list);
            ar.Close();
        }
        catch (CException* e)
        {
            e->Delete();
            bSaved = FALSE;
        }
        if (!bSaved)
        {
            ar.Abort();
            // The previous block stays: one failed save must not lose the
            // user's customization.
            return FALSE;
        }
        bytes.resize(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        if (!bytes.empty() && file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size())
            return FALSE;
    }

    CString strSection;
    strSection.Format(_T("%s-Controls"), lpszProfileName);
    const BOOL bWasFile = pApp->GetProfileInt(strSection, _T("LoadFromFile"), 0) != 0;
    const CString strOldFile =
        bWasFile ? pApp->GetProfileString(strSection, _T("Controls"), _T("")) : CString();
    if (bytes.size() > kLayoutLargeBlock)
    {
        const CString strPath = GetCustomizationFileName(lpszProfileName);
        if (!LayoutWriteBlockFile(strPath, bytes))
            return FALSE;
        pApp->WriteProfileString(strSection, _T("Controls"), strPath);
        pApp->WriteProfileInt(strSection, _T("LoadFromFile"), 1);
        return TRUE;
    }
    if (!pApp->WriteProfileBinary(strSection, _T("Controls"), bytes.data(), static_cast<UINT>(bytes.size())))
        return FALSE;
    pApp->WriteProfileInt(strSection, _T("LoadFromFile"), 0);
    if (!strOldFile.IsEmpty())
    {
        ::SetFileAttributes(strOldFile, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFile(strOldFile);
    }
    return TRUE;
}

// Loading.

BOOL CQVTCommandBars::ReadControlsBlock(LPCTSTR lpszProfileName, BOOL bSilent)
{
    CWinApp* pApp = AfxGetApp();
    CString strSection;
    strSection.Format(_T("%s-Controls"), lpszProfileName);
    std::vector<BYTE> bytes;
    if (pApp->GetProfileInt(strSection, _T("LoadFromFile"), 0) != 0)
    {
        const CString strPath = pApp->GetProfileString(strSection, _T("Controls"), _T(""));
        if (strPath.IsEmpty() || !LayoutReadBlockFile(strPath, bytes))
            return FALSE;
    }
    else
    {
        CQVTPropExchangeSection section(TRUE, strSection);
        BYTE* pData = nullptr;
        DWORD nBytes = 0;
        if (!section.GetExchange() || !section->ExchangeBlob(_T("Controls"), pData, nBytes) || !pData)
        {
            std::free(pData);
            return FALSE;
        }
        bytes.assign(pData, pData + nBytes);
        std::free(pData);
    }
    if (bytes.empty())
        return FALSE;

    QVT_BARS_EXCHANGE_PARAM param = {};
    param.bSaveOnlyCustomized = TRUE;
    param.bLoadSilent = bSilent;
    param.bSaveOriginalControls = TRUE;
    param.bSerializeOptions = TRUE;
    param.pCommandBars = this;
    CQVTCommandBarList list;
    BOOL bLoaded = FALSE;
    {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load, 4096);
        try
        {
            CQVTPropExchangeArchive px(ar);
            px.m_pOwner = &param;
            bLoaded = LoadCommandBarList(&px, &list);
        }
        catch (CException* e)
        {
            e->Delete();
            bLoaded = FALSE;
        }
        ar.Abort();
        file.Detach();
    }
    if (bLoaded)
        RestoreCommandBarList(&list, bSilent);
    return bLoaded;
}

void CQVTCommandBars::ReadLayoutState(LPCTSTR lpszProfileName, BOOL bSilent)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName)
        return;
    if (m_bCustomizeAvail)
        ReadControlsBlock(lpszProfileName, bSilent);

    CQVTDockState state;
    state.LoadState(lpszProfileName);

    for (int i = 0; i < 4; ++i)
    {
        CQVTDockBar* pDock = m_pDocks[i];
        CString strSection;
        strSection.Format(_T("%s-DockBar%d"), lpszProfileName, i);
        const int nEntries = static_cast<int>(pApp->GetProfileInt(strSection, _T("Bars"), 0));
        if (!pDock || nEntries <= 1)
            continue;
        for (int k = 0; k < std::min(nEntries, kLayoutMaxDockEntries); ++k)
        {
            CString strKey;
            strKey.Format(_T("Bar#%d"), k);
            const UINT nId = pApp->GetProfileInt(strSection, strKey, 0);
            CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, GetToolBar(nId));
            if (!pToolBar || !pToolBar->GetSafeHwnd())
            {
                pDock->InsertEntry(k, nullptr);
                continue;
            }
            if (pToolBar->GetDockBar())
            {
                // Taken out without a layout: the rows are being rebuilt.
                CQVTDockBar* pPrevious = pToolBar->GetDockBar();
                pPrevious->RemoveEntryOf(pToolBar);
                pToolBar->SetDockBar(nullptr);
            }
            if (pToolBar->GetParent() != pDock)
                pToolBar->CreateToolBarWindow(pDock, FALSE);
            pToolBar->SetDockBar(pDock);
            pToolBar->SetPosition(i);
            pDock->InsertEntry(k, pToolBar);
        }
        pDock->NormalizeRows();
    }
    CQVTStatusBar* pStatusBar = LayoutStatusBarOf(m_pSite);
    if (pStatusBar)
        pStatusBar->LoadState(lpszProfileName);

    for (const std::unique_ptr<CQVTToolBarInfo>& pInfo : state.m_arrBarInfo)
    {
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, GetToolBar(static_cast<UINT>(pInfo->m_nBarID)));
        if (!pToolBar || !pToolBar->GetSafeHwnd())
            continue;
        CQVTObjectRef<CQVTCommandBar> keepAlive(pToolBar);
        CQVTDockContext* pContext = pToolBar->GetDockContext();
        const int nDock = LayoutDockPositionOfId(pInfo->m_uMRUDockID);
        if (pInfo->m_bFloating)
        {
            if (!pToolBar->IsFloating())
                FloatCommandBar(pToolBar);
        }
        else if (!pToolBar->GetDockBar() && GetDockBar(nDock >= 0 ? nDock : qvtBarTop))
            DockCommandBar(pToolBar, nullptr, GetDockBar(nDock >= 0 ? nDock : qvtBarTop));
        pToolBar->SetMRUWidth(pInfo->m_nMRUWidth);
        if (pInfo->m_bDialogBar)
            pToolBar->SetClientSizes(pInfo->m_szDockingClient, pInfo->m_szFloatingClient);
        if (pContext)
        {
            if (nDock >= 0)
                pContext->m_uMRUDockPosition = nDock;
            pContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
            pContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
        }
        const BOOL bFloating = pToolBar->IsFloating();
        if (bFloating || pToolBar->GetDockBar())
        {
            if (!bFloating && pContext && pInfo->m_pointPos != CPoint(-1, -1))
                pContext->m_rectMRUDockPos.OffsetRect(pInfo->m_pointPos -
                                                      pContext->m_rectMRUDockPos.TopLeft());
            pToolBar->SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                       (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        }
        pToolBar->SetVisible(pInfo->m_bVisible);
        if (bFloating)
            pToolBar->OnRecalcLayout();
    }
    RecalcFrameLayout(FALSE);
    m_pOptions->bDirty = FALSE;
}
