// The recorder's file list: its rows and their items, the stored list, and
// the list's commands and notifications.
#include "app/recorder/SondrelDlg.h"

#include <algorithm>

#include "app/files/FileDesc.h"
#include "app/files/StoredFileList.h"
#include "app/program/MessageBox.h"
#include "app/program/resource.h"
#include "app/program/TextFormat.h"
#include "app/recorder/FileInfo.h"
#include "app/recorder/FileListResource.h"
#include "app/recorder/RenameFile.h"
#include "common/ApplicationBase.h"
#include "common/Logging.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

enum FileListColumn
{
    COLUMN_NUMBER = 0,
    COLUMN_NAME = 1,
    COLUMN_FOLDER = 2,
    COLUMN_DURATION = 3,
    COLUMN_STATE = 4,
};

// Drive and folder of a path, with the closing separator.
CString FolderOfPath(const CString& strPath)
{
    return strPath.Left(strPath.ReverseFind(_T('\\')) + 1);
}

CString NameOfPath(const CString& strPath)
{
    return strPath.Mid(strPath.ReverseFind(_T('\\')) + 1);
}

// By code unit, as the list sorts: no locale, no case folding.
int CompareCodeUnits(const CString& a, const CString& b)
{
    int n = std::min(a.GetLength(), b.GetLength());
    for (int i = 0; i < n; ++i)
    {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return a.GetLength() == b.GetLength() ? 0 : (a.GetLength() < b.GetLength() ? -1 : 1);
}

int AskYesNo(UINT nQuestion)
{
    return ShowMessageBox(nullptr, LoadAppString(nQuestion), LoadAppString(IDS_TITLE_CONFIRMATION),
                          SMB_INFO_YESNO, nullptr);
}

// What a failed move tells the user: the two causes a user can act on by
// name, anything else in the system's words.
CString RenameErrorText(DWORD dwError)
{
    if (dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_LOCK_VIOLATION)
        return LoadAppString(IDS_RENAME_IN_USE);
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND)
        return LoadAppString(IDS_RENAME_GONE);
    CString strText = LoadAppString(IDS_RENAME_FAILED);
    LPTSTR pszSystem = nullptr;
    if (::FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                            FORMAT_MESSAGE_IGNORE_INSERTS,
                        nullptr, dwError, 0, reinterpret_cast<LPTSTR>(&pszSystem), 0, nullptr) != 0 &&
        pszSystem != nullptr)
    {
        strText += _T(" ");
        strText += pszSystem;
        strText.TrimRight();
    }
    if (pszSystem != nullptr)
        ::LocalFree(pszSystem);
    return strText;
}

}  // namespace

CFileDesc* CSondrelDlg::GetRowItem(int nRow) const
{
    if (nRow < 0 || nRow >= m_listFiles.GetItemCount())
        return nullptr;
    return reinterpret_cast<CFileDesc*>(m_listFiles.GetItemData(nRow));
}

int CSondrelDlg::FindItemRow(const CFileDesc* pItem) const
{
    if (!pItem || !m_listFiles.m_hWnd)
        return -1;
    LVFINDINFO find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(pItem);
    return m_listFiles.FindItem(&find, -1);
}

void CSondrelDlg::FillFileRow(int nRow, CFileDesc* pItem)
{
    m_listFiles.SetItemText(nRow, COLUMN_NAME, NameOfPath(pItem->m_strPath));
    m_listFiles.SetItemText(nRow, COLUMN_FOLDER, FolderOfPath(pItem->m_strPath));
    m_listFiles.SetItemText(nRow, COLUMN_DURATION, FormatDuration(pItem->GetAudioDuration(), FALSE, FALSE));
}

int CSondrelDlg::AppendFileRow(CFileDesc* pItem, LPCTSTR pszState)
{
    int nRow = m_listFiles.GetItemCount();
    pItem->m_nRow = nRow;
    CString strNumber;
    strNumber.Format(_T("%d."), nRow + 1);
    nRow = m_listFiles.InsertItem(LVIF_TEXT | LVIF_PARAM, nRow, strNumber, 0, 0, 0,
                                  reinterpret_cast<LPARAM>(pItem));
    if (nRow < 0)
    {
        pItem->Release();
        return -1;
    }
    FillFileRow(nRow, pItem);
    m_listFiles.SetItemText(nRow, COLUMN_STATE, pszState ? pszState : _T(""));
    m_listFiles.SetCheck(nRow, TRUE);
    m_listFiles.EnsureVisible(nRow, FALSE);
    m_nLastSortColumn = -1;
    return nRow;
}

void CSondrelDlg::RenumberRows()
{
    for (int i = 0; i < m_listFiles.GetItemCount(); ++i)
    {
        CString strNumber;
        strNumber.Format(_T("%d."), i + 1);
        m_listFiles.SetItemText(i, COLUMN_NUMBER, strNumber);
        if (CFileDesc* pItem = GetRowItem(i))
            pItem->m_nRow = i;
    }
}

void CSondrelDlg::LoadFileList()
{
    APP_LOG_SCOPE(_T("LoadFileList"));
    if (!m_pParent)
        return;
    CStringArray paths;
    CStoredFileList::Load(m_pParent->GetFileListPath(), paths);
    for (INT_PTR i = 0; i < paths.GetSize(); ++i)
    {
        // Recordings that are gone or unreadable leave the list here, and
        // the file at the next save.
        CFileDesc* pItem = new CFileDesc;
        if (pItem->ReadDescription(paths[i]) != S_OK)
        {
            pItem->Release();
            continue;
        }
        pItem->ResetFont();
        AppendFileRow(pItem, nullptr);
    }
}

void CSondrelDlg::SaveFileList()
{
    APP_LOG_SCOPE(_T("SaveFileList"));
    if (!m_pParent || !m_listFiles.m_hWnd)
        return;
    CStringArray paths;
    for (int i = 0; i < m_listFiles.GetItemCount(); ++i)
    {
        if (CFileDesc* pItem = GetRowItem(i))
            paths.Add(pItem->m_strPath);
    }
    CStoredFileList::Save(m_pParent->GetFileListPath(), paths);
}

void CSondrelDlg::RemoveSelectedRows(BOOL bDeleteFromDisk)
{
    CFileDesc* pPlaying = m_pPlayingItem;
    if (pPlaying)
        pPlaying->AddRef();
    int nPlayingRow = FindItemRow(pPlaying);
    int nSelectAfter = -1;
    BOOL bDeleted = FALSE;
    CString strUndeletable;

    for (int i = 0; i < m_listFiles.GetItemCount();)
    {
        if (!(m_listFiles.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED))
        {
            ++i;
            continue;
        }
        if (i == nPlayingRow)
            StopPlayback();
        CFileDesc* pItem = GetRowItem(i);
        CString strPath = pItem ? pItem->m_strPath : CString();
        if (bDeleteFromDisk && pItem)
        {
            // A file that stays on the disk keeps its row: the list must not
            // claim a deletion that did not happen.
            pItem->CloseFile();
            if (!::DeleteFile(strPath) && ::GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES)
            {
                pItem->ReadDescription(strPath);
                strUndeletable += _T("\n") + strPath;
                ++i;
                continue;
            }
        }
        m_listFiles.DeleteItem(i);
        bDeleted = TRUE;
        if (nPlayingRow > i)
            --nPlayingRow;
        nSelectAfter = i < m_listFiles.GetItemCount() ? i : i - 1;
    }

    if (bDeleted && nSelectAfter >= 0)
        m_listFiles.SetItemState(nSelectAfter, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    RefreshDescInfo();
    if (pPlaying)
        pPlaying->Release();
    if (!strUndeletable.IsEmpty())
        ShowMessageBox(nullptr, LoadAppString(IDS_FILES_NOT_DELETED) + strUndeletable,
                       LoadAppString(IDS_TITLE_ERROR), SMB_ERROR_OK, this);
}

void CSondrelDlg::OnDeleteFiles()
{
    RemoveSelectedRows(FALSE);
}

void CSondrelDlg::OnDeleteAllFiles()
{
    if (AskYesNo(IDS_ASK_DELETE_ALL) != IDYES)
        return;
    StopPlayback();
    m_listFiles.DeleteAllItems();
    RefreshDescInfo();
}

void CSondrelDlg::OnDeleteFilesFromDisk()
{
    if (AskYesNo(IDS_ASK_DELETE_FROM_DISK) != IDYES)
        return;
    RemoveSelectedRows(TRUE);
}

void CSondrelDlg::OnFileInformation()
{
    CFileDesc* pItem = GetRowItem(GetCurrentRow());
    if (!pItem)
        return;
    if (!pItem->m_bRead)
        pItem->ReadDescription(pItem->m_strPath);
    CFileInfo dialog(this);
    dialog.m_pFileDesc = pItem;
    dialog.DoModal();
}

BOOL CSondrelDlg::ApplyNewFileName(CFileDesc* pItem, const CString& strName)
{
    // The list may have changed under the dialog (a recording ended).
    int nRow = FindItemRow(pItem);
    if (nRow < 0)
        return TRUE;
    DWORD dwError = 0;
    switch (TryRenameRow(nRow, strName, dwError))
    {
    case RENAME_DECLINED:
        return FALSE;
    case RENAME_FAILED:
        ShowMessageBox(nullptr, RenameErrorText(dwError), LoadAppString(IDS_TITLE_ERROR), SMB_ERROR_OK,
                       nullptr);
        return FALSE;
    default:
        return TRUE;
    }
}

void CSondrelDlg::OnRenameFile()
{
    int nRow = GetCurrentRow();
    CFileDesc* pItem = GetRowItem(nRow);
    if (!pItem)
        return;
    if (pItem == m_pPlayingItem)
        StopPlayback();
    // The name is tried while the dialog is open, so that a failure leaves
    // the user where the name can be corrected.
    CRenameFile dialog(this);
    dialog.m_strFileName = NameOfPath(pItem->m_strPath);
    dialog.m_fnApply = [this, pItem](const CString& strName) { return ApplyNewFileName(pItem, strName); };
    dialog.DoModal();
}

BOOL CSondrelDlg::RenameRowFile(int nRow, LPCTSTR pszNewName)
{
    DWORD dwError = 0;
    return TryRenameRow(nRow, CString(pszNewName ? pszNewName : _T("")), dwError) == RENAME_DONE;
}

CSondrelDlg::RenameOutcome CSondrelDlg::TryRenameRow(int nRow, const CString& strName, DWORD& dwError)
{
    dwError = 0;
    CFileDesc* pItem = GetRowItem(nRow);
    // A name, not a path: the file stays in its folder.
    if (!pItem || !CRenameFile::IsAcceptableName(strName))
        return RENAME_UNCHANGED;
    CString strOldPath = pItem->m_strPath;
    CString strNewPath = FolderOfPath(strOldPath) + strName;
    // Its own name (a rename onto itself) leaves the file where it is.
    if (strNewPath == strOldPath)
        return RENAME_UNCHANGED;
    BOOL bOnlyCase = strNewPath.CompareNoCase(strOldPath) == 0;
    if (!bOnlyCase && ::GetFileAttributes(strNewPath) != INVALID_FILE_ATTRIBUTES &&
        AskYesNo(IDS_ASK_REPLACE_FILE) != IDYES)
        return RENAME_DECLINED;

    pItem->CloseFile();
    // One step: the file it replaces goes only when the move succeeds.
    BOOL bMoved = ::MoveFileEx(strOldPath, strNewPath, bOnlyCase ? 0 : MOVEFILE_REPLACE_EXISTING);
    if (bMoved)
    {
        pItem->m_strPath = strNewPath;
        m_listFiles.SetItemText(nRow, COLUMN_NAME, NameOfPath(strNewPath));
    }
    else
    {
        dwError = ::GetLastError();
    }
    pItem->ReadDescription(pItem->m_strPath);
    return bMoved ? RENAME_DONE : RENAME_FAILED;
}

void CSondrelDlg::SelectAllRows()
{
    for (int i = 0; i < m_listFiles.GetItemCount(); ++i)
        m_listFiles.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int CALLBACK CSondrelDlg::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CFileDesc* a = reinterpret_cast<const CFileDesc*>(lParam1);
    const CFileDesc* b = reinterpret_cast<const CFileDesc*>(lParam2);
    const FileSortOrder* pOrder = reinterpret_cast<const FileSortOrder*>(lParamSort);
    if (!a || !b || !pOrder)
        return 0;
    int nResult = 0;
    switch (pOrder->nColumn)
    {
    case COLUMN_NAME:
        nResult = CompareCodeUnits(a->m_strPath, b->m_strPath);
        break;
    case COLUMN_FOLDER:
        nResult = CompareCodeUnits(a->m_strTitle, b->m_strTitle);
        break;
    case COLUMN_DURATION:
    {
        double da = a->GetAudioDuration();
        double db = b->GetAudioDuration();
        nResult = da < db ? -1 : (da > db ? 1 : 0);
        break;
    }
    default:
        break;
    }
    return pOrder->bDescending ? -nResult : nResult;
}

void CSondrelDlg::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLISTVIEW* pList = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    if (CFileDesc* pItem = reinterpret_cast<CFileDesc*>(pList->lParam))
        pItem->Release();
    *pResult = 0;
}

void CSondrelDlg::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    int nColumn = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
    *pResult = 0;
    if (nColumn == COLUMN_NUMBER)
    {
        SelectAllRows();
        return;
    }
    if (nColumn < COLUMN_NAME || nColumn > COLUMN_DURATION)
        return;
    // A second click on the same column turns its direction; another column
    // keeps the direction it had.
    if (nColumn == m_nLastSortColumn)
        m_bSortDescending[nColumn] = !m_bSortDescending[nColumn];
    else
        m_nLastSortColumn = nColumn;
    FileSortOrder order = {nColumn, m_bSortDescending[nColumn] != 0};
    m_listFiles.SortItems(&CSondrelDlg::CompareRows, reinterpret_cast<DWORD_PTR>(&order));
    RenumberRows();
}

void CSondrelDlg::OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_listFiles.GetItemCount() == 0)
        return;
    WORD wKey = reinterpret_cast<NMLVKEYDOWN*>(pNMHDR)->wVKey;
    switch (wKey)
    {
    case VK_UP:
    case VK_DOWN:
        // After the list has moved its selection.
        PostMessage(WM_RECORDER_REFRESH_DESC, 0, wKey);
        break;
    case VK_DELETE:
        OnDeleteFiles();
        break;
    case VK_SPACE:
        OnPlayPause();
        break;
    default:
        break;
    }
}

void CSondrelDlg::OnListClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    RefreshDescInfo();
    *pResult = 0;
}

void CSondrelDlg::OnListRightClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_pParent && m_pParent->IsRecording())
        return;
    CMenu menu;
    if (!QVTResourceManager()->LoadMenu(&menu, IDR_FILELIST_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    CPoint pt;
    ::GetCursorPos(&pt);
    CQVTCommandBars::TrackPopupMenu(pPopup, 0, pt.x, pt.y, this);
}
