// CSondrelApp: the settings in the registry (a file of its own beside the
// start-up: the two halves change for different reasons).
#include "app/program/SondrelApp.h"

#include <shlwapi.h>

#include "app/program/SondrelSettings.h"
#include "common/RegistryKey.h"

namespace {

// A number from the user's hive, else from the machine's; all bits set
// counts as missing.
BOOL ReadFallingBack(CRegistryKey& user, CRegistryKey& machine, LPCTSTR pszName, DWORD& dwValue)
{
    DWORD dwRead = 0xFFFFFFFF;
    if ((!user.ReadDword(pszName, dwRead) || dwRead == 0xFFFFFFFF) &&
        (!machine.ReadDword(pszName, dwRead) || dwRead == 0xFFFFFFFF))
        return FALSE;
    dwValue = dwRead;
    return TRUE;
}

}  // namespace

void CSondrelApp::LoadSettings()
{
    CRegistryKey machine;
    CRegistryKey user;
    machine.Open(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_READ);
    user.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ);

    DWORD dwValue = 0;
    m_nLanguageId = ReadFallingBack(user, machine, _T("LangID"), dwValue) ? static_cast<int>(dwValue) : 0;
    m_nRunningCounter = -1;
    if (ReadFallingBack(user, machine, _T("RunningCounter"), dwValue))
        m_nRunningCounter = static_cast<int>(dwValue);

    m_strSkinFile.Empty();
    user.ReadString(_T("Skin"), nullptr, m_strSkinFile, kSettingsTextLimit);
    if (m_strSkinFile.IsEmpty())
        machine.ReadString(_T("Skin"), _T("vista.qvstyles"), m_strSkinFile, kSettingsTextLimit);

    m_nRibbonStyle = 32802;
    if (user.ReadDword(_T("RibbonStyle"), dwValue))
        m_nRibbonStyle = static_cast<int>(dwValue);
    m_nMinimizeToTray = 0;
    if (user.ReadDword(_T("MinimizeToTray"), dwValue))
        m_nMinimizeToTray = static_cast<int>(dwValue);

    CString strFolder;
    if (user.ReadString(_T("DstFolder"), nullptr, strFolder, kSettingsTextLimit) && !strFolder.IsEmpty() &&
        ::PathFileExistsW(strFolder))
        m_strOutputFolder = strFolder;

    // The start counter and version go to the machine's hive when it may be
    // written, else to the user's.
    CRegistryKey writer;
    if (writer.Create(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_WRITE) ||
        writer.Create(HKEY_CURRENT_USER, kSettingsKey, KEY_WRITE))
    {
        if (m_nRunningCounter == -1)
            m_nRunningCounter = 0;
        writer.WriteDword(_T("Version"), kSettingsVersion);
        ++m_nRunningCounter;
        writer.WriteDword(_T("RunningCounter"), static_cast<DWORD>(m_nRunningCounter));
    }
}

void CSondrelApp::SaveSettings()
{
    CRegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, kSettingsKey, KEY_WRITE))
        return;
    key.WriteString(_T("Skin"), m_strSkinFile);
    key.WriteDword(_T("RibbonStyle"), static_cast<DWORD>(m_nRibbonStyle));
    key.WriteDword(_T("MinimizeToTray"), static_cast<DWORD>(m_nMinimizeToTray));
    key.WriteString(_T("DstFolder"), m_strOutputFolder);
}
