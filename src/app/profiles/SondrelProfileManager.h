// The recording profiles of every format: one engine profile collection per
// format of the format table, loaded from the user's copy of its ".prop" file
// or else the shipped one, a default profile whenever a collection is empty,
// the current format and the selected profile of each format, and the list of
// Windows Media audio codecs with their formats.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "app/formats/AudioFormats.h"
#include "app/recording/EngineObjects.h"

struct WMFormatInfo
{
    CString strDescription;
    IMediaAudioFormat5* pFormat = nullptr;  // held reference

    ~WMFormatInfo();
};

struct WMCodecInfo
{
    CString strName;
    LONG nCodecId = 0;
    CArray<WMFormatInfo*, WMFormatInfo*> arrFormats;  // owned

    ~WMCodecInfo();
    // The format at an index; outside the array the framework's OLE exception (E_INVALIDARG).
    WMFormatInfo* GetFormat(INT_PTR nIndex) const;
};

class CSondrelProfileManager
{
public:
    // Folders end with a backslash. Without an exe folder the module's own
    // folder is used; without an application-data folder the user's one.
    CSondrelProfileManager(LPCTSTR pszAppFolderName, LPCTSTR pszShippedFolderName,
                           LPCTSTR pszExeFolder = nullptr, LPCTSTR pszAppDataFolder = nullptr);
    ~CSondrelProfileManager();
    CSondrelProfileManager(const CSondrelProfileManager&) = delete;
    CSondrelProfileManager& operator=(const CSondrelProfileManager&) = delete;

    void SetCurrentFormat(int nFormat) { m_nCurrentFormat = nFormat; }
    int GetCurrentFormat() const { return m_nCurrentFormat; }
    int GetCurrentProfileIndex() const;
    void SetCurrentProfileIndex(int nIndex);
    int GetProfileCount() const;
    // A counted reference the caller releases; null when out of range.
    IMediaPropertyBag5* GetProfile(int nIndex = -1) const;
    void SetProfile(IMediaPropertyBag5* pProfile, int nIndex = -1);
    void AddDefaultProfile(int nPosition = -1);
    void RemoveProfile(int nIndex);
    void MoveProfile(int nDestination, int nSource = -1);
    void RestoreProfiles();
    // FALSE when the file could not be written (a read-only folder, a full
    // disk): the edits stay in memory and the engine's reason goes to
    // *pstrError.
    BOOL SaveProfiles(CString* pstrError = nullptr);
    void LoadWMV();

    INT_PTR GetWMCodecCount() const { return m_arrWMCodecs.GetSize(); }
    // Outside the array the framework's OLE exception (E_INVALIDARG).
    WMCodecInfo* GetWMCodec(INT_PTR nIndex) const;

    // Why the current format's user file could not be read at the last load
    // (it is kept as it was); empty when it loaded or did not exist.
    CString GetLoadError() const;

    // The folders the files are read from and written to.
    CString GetShippedFolder() const;
    CString GetUserFolder(BOOL bCreate) const;

private:
    void LoadCurrentFormat();

    CString m_strAppFolderName;
    CString m_strShippedFolderName;
    int m_nCurrentFormat = -1;
    int m_nSelected[AUDIO_FORMAT_COUNT] = {};
    IMediaProfileCollection5* m_pCollections[AUDIO_FORMAT_COUNT] = {};
    CArray<WMCodecInfo*, WMCodecInfo*> m_arrWMCodecs;  // owned
    CString m_strExeFolder;
    CString m_strAppDataFolder;
    CString m_strLoadErrors[AUDIO_FORMAT_COUNT];
};
