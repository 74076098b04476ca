// File-system helpers of the conversion driver. While a file is written the
// engine may keep its data in a "temp_*.tmp" file beside it; the driver lists
// those before and after the start to find the one that grows.
#pragma once

#include <afx.h>
#include <afxcoll.h>

// Appends folder + name for every directory entry matching folder + mask, in
// the order the search returns them ("." and ".." too when they match). The
// folder must end with a path separator.
void ListFiles(CString strFolder, LPCTSTR pszMask, CStringArray& arrFiles);

// Splits a path into drive (up to 2 characters), directory, name and
// extension (each up to 4,095). Any output may be null. An output that is the
// same object as the one before it gets its part appended, so one string for
// both drive and directory gives the folder with its trailing separator.
void SplitPath(LPCTSTR pszPath, CString* pDrive, CString* pDirectory, CString* pName, CString* pExtension);

// Keeps in arrAfter only the names that arrBefore lacks (case-sensitive), in order.
void RemoveListedFiles(CStringArray& arrAfter, const CStringArray& arrBefore);
