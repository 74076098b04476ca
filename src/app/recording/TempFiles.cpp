#include "app/recording/TempFiles.h"

void ListFiles(CString strFolder, LPCTSTR pszMask, CStringArray& arrFiles)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + pszMask, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        arrFiles.Add(strFolder + data.cFileName);
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
}

namespace {

constexpr int MAX_PART = 4095;

void StorePart(CString* pOut, const CString* pPrevious, const CString& strPart)
{
    if (!pOut)
        return;
    if (pOut == pPrevious)
        *pOut += strPart;
    else
        *pOut = strPart;
}

}  // namespace

void SplitPath(LPCTSTR pszPath, CString* pDrive, CString* pDirectory, CString* pName, CString* pExtension)
{
    CString strPath(pszPath ? pszPath : _T(""));
    int nPos = 0;
    CString strDrive;
    if (strPath.GetLength() >= 2 && strPath[1] == _T(':'))
    {
        strDrive = strPath.Left(2);
        nPos = 2;
    }
    int nLastSeparator = -1;
    for (int i = nPos; i < strPath.GetLength(); ++i)
    {
        if (strPath[i] == _T('\\') || strPath[i] == _T('/'))
            nLastSeparator = i;
    }
    CString strDirectory;
    if (nLastSeparator >= nPos)
    {
        strDirectory = strPath.Mid(nPos, nLastSeparator + 1 - nPos);
        nPos = nLastSeparator + 1;
    }
    CString strRest = strPath.Mid(nPos);
    int nDot = strRest.ReverseFind(_T('.'));
    CString strName = nDot >= 0 ? strRest.Left(nDot) : strRest;
    CString strExtension = nDot >= 0 ? strRest.Mid(nDot) : CString();

    StorePart(pDrive, nullptr, strDrive);
    StorePart(pDirectory, pDrive, strDirectory.Left(MAX_PART));
    StorePart(pName, pDirectory, strName.Left(MAX_PART));
    StorePart(pExtension, pName, strExtension.Left(MAX_PART));
}

void RemoveListedFiles(CStringArray& arrAfter, const CStringArray& arrBefore)
{
    for (INT_PTR i = arrAfter.GetSize() - 1; i >= 0; --i)
    {
        for (INT_PTR j = 0; j < arrBefore.GetSize(); ++j)
        {
            if (arrAfter[i].Compare(arrBefore[j]) == 0)
            {
                arrAfter.RemoveAt(i);
                break;
            }
        }
    }
}
