#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"

#include <afxext.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

IMPLEMENT_DYNAMIC(CQVTShortcutManager, CQVTCmdTarget)

DWORD CQVTShortcutManager::s_dwChordTimeout = 250;

namespace {

// The key-name table, in its order: digits and letters are named by their
// character, the number pad and function keys by rule.
struct KeyNameRow
{
    WORD wKey;
    LPCTSTR lpszName;
};
const KeyNameRow kNamedKeys[] = {
    {0x01, _T("Left Button")},   {0x02, _T("Right Button")}, {0x03, _T("Ctrl+Break")},
    {0x04, _T("Middle Button")}, {0x08, _T("Backspace")},    {0x09, _T("Tab")},
    {0x0C, _T("Clear")},         {0x0D, _T("Enter")},        {0x10, _T("Shift")},
    {0x11, _T("Ctrl")},          {0x12, _T("Alt")},          {0x13, _T("Pause")},
    {0x14, _T("Caps Lock")},     {0x1B, _T("Esc")},          {0x20, _T("Space")},
    {0x21, _T("Page Up")},       {0x22, _T("Page Down")},    {0x23, _T("End")},
    {0x24, _T("Home")},          {0x25, _T("Left Arrow")},   {0x26, _T("Up Arrow")},
    {0x27, _T("Right Arrow")},   {0x28, _T("Down Arrow")},   {0x29, _T("Select")},
    {0x2A, _T("Print")},         {0x2B, _T("Execute")},      {0x2C, _T("Snapshot")},
    {0x2D, _T("Ins")},           {0x2E, _T("Del")},          {0x2F, _T("Help")},
    {0x5B, _T("Win")},           {0x5C, _T("Win")},          {0x5D, _T("Application")},
};
const KeyNameRow kNumPadOperators[] = {
    {0x6A, _T("Num *")}, {0x6B, _T("Num +")}, {0x6C, _T("Separator")},
    {0x6D, _T("Num -")}, {0x6E, _T("Num .")}, {0x6F, _T("Num /")},
};
const KeyNameRow kLockAndOemKeys[] = {
    {0x90, _T("Num Lock")}, {0x91, _T("Scrl Lock")}, {0xF6, _T("Attn")},      {0xF7, _T("Crsel")},
    {0xF8, _T("Exsel")},    {0xF9, _T("Ereof")},     {0xFA, _T("Play")},      {0xFB, _T("Zoom")},
    {0xFC, _T("No Name")},  {0xFD, _T("Pa1")},       {0xFE, _T("Oem Clear")},
};

BOOL IsKeyDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

BOOL IsKeyDownMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

BOOL IsModifierKey(WPARAM wKey)
{
    return wKey == VK_SHIFT || wKey == VK_CONTROL || wKey == VK_MENU;
}

// Whether a stroke is made by a key message in a modifier state.
BOOL StrokeMatches(const QVT_SHORTCUTMANAGER_ACCEL::CKey& stroke, const MSG& msg, BYTE fState)
{
    if (stroke.key == 0 || stroke.key != static_cast<WORD>(msg.wParam))
        return FALSE;
    const BOOL bVirt = (stroke.fVirt & FVIRTKEY) != 0;
    if (bVirt != IsKeyDownMessage(msg.message))
        return FALSE;
    if (bVirt && (stroke.fVirt & (FCONTROL | FSHIFT)) != (fState & (FCONTROL | FSHIFT)))
        return FALSE;
    return (stroke.fVirt & FALT) == (fState & FALT);
}

// Where one stroke's modifier name stands in a text, as "Ctrl+".
BOOL TakeModifier(CString& strStroke, const CString& strName)
{
    if (strName.IsEmpty())
        return FALSE;
    const CString strPrefix = strName + _T("+");
    // The key may itself be named like a modifier ("Ctrl+Shift"): only a
    // name followed by more text is a modifier.
    const int nPos = strStroke.Find(strPrefix);
    if (nPos < 0 || strStroke.GetLength() <= strPrefix.GetLength())
        return FALSE;
    strStroke.Delete(nPos, strPrefix.GetLength());
    return TRUE;
}

BOOL ParseHexKey(const CString& strText, WORD& wKey)
{
    if (strText.GetLength() <= 3 || strText.GetLength() > 6 || strText[0] != _T('0') ||
        (strText[1] != _T('x') && strText[1] != _T('X')))
        return FALSE;
    UINT nValue = 0;
    for (int i = 2; i < strText.GetLength(); ++i)
    {
        const TCHAR ch = strText[i];
        int nDigit = 0;
        if (ch >= _T('0') && ch <= _T('9'))
            nDigit = ch - _T('0');
        else if (ch >= _T('a') && ch <= _T('f'))
            nDigit = ch - _T('a') + 10;
        else if (ch >= _T('A') && ch <= _T('F'))
            nDigit = ch - _T('A') + 10;
        else
            return FALSE;
        nValue = nValue * 16 + static_cast<UINT>(nDigit);
    }
    if (nValue == 0 || nValue > 0xFFFF)
        return FALSE;
    wKey = static_cast<WORD>(nValue);
    return TRUE;
}

// The installed keyboard layouts; the active one when the list is empty.
std::vector<HKL> KeyboardLayouts()
{
    std::vector<HKL> layouts;
    const int nCount = ::GetKeyboardLayoutList(0, nullptr);
    if (nCount > 0 && nCount < 256)
    {
        layouts.resize(static_cast<size_t>(nCount));
        layouts.resize(static_cast<size_t>(::GetKeyboardLayoutList(nCount, layouts.data())));
    }
    if (layouts.empty())
        layouts.push_back(::GetKeyboardLayout(0));
    return layouts;
}

TCHAR UpperChar(TCHAR ch)
{
    TCHAR sz[2] = {ch, 0};
    ::CharUpperBuff(sz, 1);
    return sz[0];
}

// An exchange reference released at the end of a block.
struct PropExchangeRelease
{
    void operator()(CQVTPropExchange* pPX) const
    {
        if (pPX)
            pPX->InternalRelease();
    }
};
using PropExchangePtr = std::unique_ptr<CQVTPropExchange, PropExchangeRelease>;

// Stored counts past this are forged: no keyboard has so many shortcuts.
const DWORD kMaxStoredAccels = 0x10000;

}  // namespace

// One accelerator.

CQVTShortcutManagerAccel::CQVTShortcutManagerAccel(CQVTShortcutManager* pManager,
                                                   const QVT_SHORTCUTMANAGER_ACCEL& accel)
    : m_pManager(pManager)
{
    static_cast<QVT_SHORTCUTMANAGER_ACCEL&>(*this) = accel;
}

CQVTShortcutManagerAccel::CQVTShortcutManagerAccel(CQVTShortcutManager* pManager, const ACCEL& accel)
    : m_pManager(pManager)
{
    cmd = accel.cmd;
    key[0].fVirt = accel.fVirt;
    key[0].reserved = 0;
    key[0].key = accel.key;
    key[1].fVirt = 0;
    key[1].reserved = 0;
    key[1].key = 0;
}

// The table.

void CQVTShortcutManagerAccelTable::Add(const QVT_SHORTCUTMANAGER_ACCEL& accel)
{
    m_arrAccels.push_back(new CQVTShortcutManagerAccel(m_pManager, accel));
}

void CQVTShortcutManagerAccelTable::Add(const ACCEL& accel)
{
    m_arrAccels.push_back(new CQVTShortcutManagerAccel(m_pManager, accel));
}

void CQVTShortcutManagerAccelTable::RemoveAll()
{
    std::vector<CQVTShortcutManagerAccel*> accels;
    accels.swap(m_arrAccels);
    for (CQVTShortcutManagerAccel* pAccel : accels)
        pAccel->InternalRelease();
}

void CQVTShortcutManagerAccelTable::CopyAccelTable(const CQVTShortcutManagerAccelTable* pSource)
{
    if (pSource == this)
        return;
    RemoveAll();
    if (!pSource)
        return;
    for (CQVTShortcutManagerAccel* pAccel : pSource->m_arrAccels)
        Add(static_cast<const QVT_SHORTCUTMANAGER_ACCEL&>(*pAccel));
}

CQVTShortcutManagerAccel* CQVTShortcutManagerAccelTable::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrAccels[static_cast<size_t>(nIndex)];
}

std::vector<BYTE> CQVTShortcutManagerAccelTable::Export() const
{
    std::vector<BYTE> data(m_arrAccels.size() * sizeof(QVT_SHORTCUTMANAGER_ACCEL));
    for (size_t i = 0; i < m_arrAccels.size(); ++i)
    {
        QVT_SHORTCUTMANAGER_ACCEL accel = *m_arrAccels[i];
        accel.key[0].reserved = 0;
        accel.key[1].reserved = 0;
        std::memcpy(&data[i * sizeof(accel)], &accel, sizeof(accel));
    }
    return data;
}

BOOL AFX_CDECL CQVTShortcutManagerAccelTable::IsUsableRecord(const QVT_SHORTCUTMANAGER_ACCEL& accel)
{
    if (accel.cmd == 0 || accel.key[0].key == 0)
        return FALSE;
    if ((accel.key[0].fVirt & ~QVT_FACCEL_MASK) != 0)
        return FALSE;
    return accel.key[1].key == 0 || (accel.key[1].fVirt & ~QVT_FACCEL_MASK) == 0;
}

void CQVTShortcutManagerAccelTable::Import(const BYTE* pData, size_t nBytes)
{
    if (!pData)
        return;
    const size_t nCount = nBytes / sizeof(QVT_SHORTCUTMANAGER_ACCEL);
    for (size_t i = 0; i < nCount; ++i)
    {
        QVT_SHORTCUTMANAGER_ACCEL accel;
        std::memcpy(&accel, pData + i * sizeof(accel), sizeof(accel));
        accel.key[0].reserved = 0;
        accel.key[1].reserved = 0;
        if (accel.key[1].key == 0)
            accel.key[1].fVirt = 0;
        if (IsUsableRecord(accel))
            Add(accel);
    }
}

void CQVTShortcutManagerAccelTable::ImportAccel(const BYTE* pData, size_t nBytes)
{
    if (!pData)
        return;
    const size_t nCount = nBytes / sizeof(ACCEL);
    for (size_t i = 0; i < nCount; ++i)
    {
        ACCEL accel;
        std::memcpy(&accel, pData + i * sizeof(accel), sizeof(accel));
        CQVTShortcutManagerAccel record(m_pManager, accel);
        if (IsUsableRecord(record))
            Add(accel);
    }
}

// Stroke texts.

CQVTShortcutManager::CKeyHelper::CKeyHelper(const QVT_SHORTCUTMANAGER_ACCEL* pAccel,
                                            CQVTShortcutManager* pManager, BOOL bNamesThroughManager)
    : m_pAccel(pAccel), m_pManager(pManager),
      m_bNamesThroughManager(pManager != nullptr && bNamesThroughManager)
{
}

CString CQVTShortcutManager::CKeyHelper::GetName(WORD wKey) const
{
    CString strName;
    if (m_bNamesThroughManager)
        strName = m_pManager->GetKeyName(wKey);
    else if (m_pManager)
        strName = m_pManager->GetKeyNameFromMap(wKey);
    // A key no table names is written as a number, which parses back.
    if (strName.IsEmpty())
        strName.Format(_T("0x%x"), static_cast<UINT>(wKey));
    return strName;
}

CString CQVTShortcutManager::CKeyHelper::FormatStroke(const QVT_SHORTCUTMANAGER_ACCEL::CKey& stroke) const
{
    CString strText;
    if (stroke.key != VK_CANCEL)
    {
        if (stroke.fVirt & FCONTROL)
            strText += GetName(VK_CONTROL) + _T("+");
        if (stroke.fVirt & FSHIFT)
            strText += GetName(VK_SHIFT) + _T("+");
        if (stroke.fVirt & FALT)
            strText += GetName(VK_MENU) + _T("+");
        if (stroke.fVirt & QVT_FWINKEY)
            strText += GetName(VK_LWIN) + _T("+");
    }
    if (stroke.key == 0)
    {
        if (!strText.IsEmpty())
            strText.Delete(strText.GetLength() - 1);
        return strText;
    }
    if (stroke.fVirt & FVIRTKEY)
    {
        strText += GetName(stroke.key);
    }
    else if (stroke.key >= 1 && stroke.key <= 26 && stroke.fVirt == FNOINVERT)
    {
        strText += GetName(VK_CONTROL) + _T("+");
        strText += static_cast<TCHAR>(64 + stroke.key);
    }
    else if (stroke.key != 27 && stroke.key != 9)
    {
        strText += static_cast<TCHAR>(stroke.key);
    }
    return strText;
}

CString CQVTShortcutManager::CKeyHelper::Format() const
{
    if (!m_pAccel)
        return CString();
    CString strText = FormatStroke(m_pAccel->key[0]);
    if (m_pAccel->key[1].key != 0)
    {
        const CString strSecond = FormatStroke(m_pAccel->key[1]);
        if (!strSecond.IsEmpty())
            strText += _T(", ") + strSecond;
    }
    return strText;
}

int CQVTShortcutManager::CKeyHelper::GetPriority() const
{
    const BYTE fVirt = m_pAccel ? m_pAccel->key[0].fVirt : 0;
    if (fVirt & FCONTROL)
        return 3;
    if (fVirt & FALT)
        return 2;
    if (fVirt & FSHIFT)
        return 1;
    return 4;
}

// The manager.

CQVTShortcutManager::CQVTShortcutManager(CQVTCommandBars* pCommandBars)
    : m_bAllowEscapeShortcut(FALSE), m_bUseSystemKeyNameText(FALSE), m_bShowKeyboardTips(TRUE),
      m_bIgnoreWhileCaptured(TRUE), m_nDisableShortcuts(0), m_accels(this), m_pDefaultAccels(nullptr),
      m_pCommandBars(pCommandBars)
{
    m_mapKeyNames.InitHashTable(17);
    LoadKeyNames();
}

CQVTShortcutManager::~CQVTShortcutManager()
{
    m_accels.RemoveAll();
    delete m_pDefaultAccels;
    m_pDefaultAccels = nullptr;
}

void CQVTShortcutManager::LoadKeyNames()
{
    auto add = [this](WORD wKey, const CString& strName) {
        m_mapKeyNames.SetAt(wKey, strName);
        m_arrKeyNameOrder.push_back(wKey);
    };
    for (WORD w = _T('0'); w <= _T('9'); ++w)
        add(w, CString(static_cast<TCHAR>(w)));
    for (WORD w = _T('A'); w <= _T('Z'); ++w)
        add(w, CString(static_cast<TCHAR>(w)));
    for (const KeyNameRow& row : kNamedKeys)
        add(row.wKey, row.lpszName);
    for (const KeyNameRow& row : kNumPadOperators)
        add(row.wKey, row.lpszName);
    for (WORD w = VK_F1; w <= VK_F12; ++w)
    {
        CString strName;
        strName.Format(_T("F%d"), w - VK_F1 + 1);
        add(w, strName);
    }
    for (WORD w = VK_NUMPAD0; w <= VK_NUMPAD9; ++w)
    {
        CString strName;
        strName.Format(_T("Num %d"), w - VK_NUMPAD0);
        add(w, strName);
    }
    for (const KeyNameRow& row : kLockAndOemKeys)
        add(row.wKey, row.lpszName);
}

CString CQVTShortcutManager::GetKeyNameFromMap(WORD wKey) const
{
    CString strName;
    m_mapKeyNames.Lookup(wKey, strName);
    return strName;
}

CString AFX_CDECL CQVTShortcutManager::GetKeyNameFromDriver(UINT uiVirtKey)
{
    if (uiVirtKey == VK_CANCEL)
        return CString();
    LONG lScan = static_cast<LONG>(::MapVirtualKeyEx(uiVirtKey, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0)))
                 << 16;
    if (uiVirtKey >= VK_PRIOR && uiVirtKey <= VK_HELP)
        lScan |= 0x1000000;
    TCHAR szName[51] = {};
    if (::GetKeyNameText(lScan, szName, 50) <= 0)
        return CString();
    CString strName(szName);
    strName.MakeLower();
    for (int i = 0; i < strName.GetLength(); ++i)
    {
        const TCHAR ch = strName[i];
        if (UpperChar(ch) != ch)
        {
            strName.SetAt(i, UpperChar(ch));
            break;
        }
    }
    return strName;
}

CString CQVTShortcutManager::GetKeyName(UINT uiVirtKey)
{
    const CString strMap = GetKeyNameFromMap(static_cast<WORD>(uiVirtKey));
    if (m_bUseSystemKeyNameText)
    {
        const CString strDriver = GetKeyNameFromDriver(uiVirtKey);
        return strDriver.IsEmpty() ? strMap : strDriver;
    }
    return strMap.IsEmpty() ? GetKeyNameFromDriver(uiVirtKey) : strMap;
}

CString CQVTShortcutManager::FormatAccel(const QVT_SHORTCUTMANAGER_ACCEL* pAccel, int* pPriority)
{
    CKeyHelper helper(pAccel, this);
    if (pPriority)
        *pPriority = helper.GetPriority();
    return helper.Format();
}

CString CQVTShortcutManager::FormatAccelForExchange(const QVT_SHORTCUTMANAGER_ACCEL* pAccel)
{
    return CKeyHelper(pAccel, this, FALSE).Format();
}

BOOL CQVTShortcutManager::IsShortcutAllowed(const QVT_SHORTCUTMANAGER_ACCEL* pAccel)
{
    if (!pAccel || m_bAllowEscapeShortcut)
        return TRUE;
    const QVT_SHORTCUTMANAGER_ACCEL::CKey& stroke = pAccel->key[0];
    const BOOL bPlainEscape = (stroke.fVirt & FVIRTKEY) && stroke.key == VK_ESCAPE &&
                              (stroke.fVirt & (FCONTROL | FSHIFT | FALT)) == 0;
    return !bPlainEscape;
}

int CQVTShortcutManager::DisableShortcuts(BOOL bDisable)
{
    if (bDisable)
    {
        ++m_nDisableShortcuts;
        return 1;
    }
    --m_nDisableShortcuts;
    return -1;
}

void CQVTShortcutManager::Reset()
{
    if (m_pDefaultAccels)
        m_accels.CopyAccelTable(m_pDefaultAccels);
}

void CQVTShortcutManager::SetDefaultAccelerators(const QVT_SHORTCUTMANAGER_ACCEL* pAccels, int nCount)
{
    if (!m_pDefaultAccels)
        m_pDefaultAccels = new CQVTShortcutManagerAccelTable(this);
    m_pDefaultAccels->RemoveAll();
    for (int i = 0; pAccels && i < nCount; ++i)
        m_pDefaultAccels->Add(pAccels[i]);
}

void CQVTShortcutManager::CreateDefaultAccelerators()
{
    if (!m_pDefaultAccels)
        m_pDefaultAccels = new CQVTShortcutManagerAccelTable(this);
    m_pDefaultAccels->CopyAccelTable(&m_accels);
}

void CQVTShortcutManager::SetAccelerators(const QVT_SHORTCUTMANAGER_ACCEL* pAccels, int nCount)
{
    m_accels.RemoveAll();
    for (int i = 0; pAccels && i < nCount; ++i)
        m_accels.Add(pAccels[i]);
}

void CQVTShortcutManager::AddAccelerator(int nCommand, BYTE fVirt, WORD wKey, BYTE fVirt2, WORD wKey2)
{
    QVT_SHORTCUTMANAGER_ACCEL accel = {};
    accel.cmd = nCommand;
    accel.key[0].fVirt = fVirt;
    accel.key[0].key = wKey;
    accel.key[1].fVirt = wKey2 ? fVirt2 : 0;
    accel.key[1].key = wKey2;
    m_accels.Add(accel);
}

// Shortcut texts.

BOOL CQVTShortcutManager::FindShortcutText(int nCommand, CString& strShortcut)
{
    // Without a table of its own the manager shows the site frame's.
    CQVTShortcutManagerAccelTable frameAccels(this);
    CQVTShortcutManagerAccelTable* pTable = &m_accels;
    if (m_accels.GetCount() == 0)
    {
        if (m_pDefaultAccels)
        {
            strShortcut.Empty();
            return FALSE;
        }
        CFrameWnd* pFrame = m_pCommandBars ? DYNAMIC_DOWNCAST(CFrameWnd, m_pCommandBars->GetSite()) : nullptr;
        HACCEL hAccel = pFrame && pFrame->GetSafeHwnd() ? pFrame->GetDefaultAccelerator() : nullptr;
        if (hAccel)
        {
            const int nCount = ::CopyAcceleratorTable(hAccel, nullptr, 0);
            if (nCount > 0)
            {
                std::vector<ACCEL> accels(static_cast<size_t>(nCount));
                ::CopyAcceleratorTable(hAccel, accels.data(), nCount);
                for (const ACCEL& accel : accels)
                    frameAccels.Add(accel);
            }
        }
        pTable = &frameAccels;
    }

    CString strBest;
    int nBestPriority = 0;
    BOOL bFound = FALSE;
    BOOL bKeep = FALSE;
    for (int i = 0; i < pTable->GetCount(); ++i)
    {
        CQVTShortcutManagerAccel* pAccel = pTable->GetAt(i);
        if (pAccel->cmd != nCommand)
            continue;
        int nPriority = 0;
        const CString strText = FormatAccel(pAccel, &nPriority);
        if (strText == strShortcut)
            bKeep = TRUE;
        if (!bFound || nPriority > nBestPriority)
        {
            strBest = strText;
            nBestPriority = nPriority;
            bFound = TRUE;
        }
    }
    if (!bFound)
    {
        strShortcut.Empty();
        return FALSE;
    }
    if (!bKeep)
        strShortcut = strBest;
    return TRUE;
}

BOOL CQVTShortcutManager::ParseStroke(CString strStroke, QVT_SHORTCUTMANAGER_ACCEL::CKey& stroke) const
{
    stroke.fVirt = FVIRTKEY;
    stroke.reserved = 0;
    stroke.key = 0;
    strStroke.Trim();
    if (TakeModifier(strStroke, GetKeyNameFromMap(VK_CONTROL)))
        stroke.fVirt |= FCONTROL;
    if (TakeModifier(strStroke, GetKeyNameFromMap(VK_MENU)))
        stroke.fVirt |= FALT;
    if (TakeModifier(strStroke, GetKeyNameFromMap(VK_SHIFT)))
        stroke.fVirt |= FSHIFT;
    // The Windows key is written too; without reading it back such a
    // shortcut would be lost at the next load.
    if (TakeModifier(strStroke, GetKeyNameFromMap(VK_LWIN)))
        stroke.fVirt |= QVT_FWINKEY;
    if (strStroke.IsEmpty())
        return FALSE;
    for (WORD wKey : m_arrKeyNameOrder)
    {
        CString strName;
        if (m_mapKeyNames.Lookup(wKey, strName) && strName.CompareNoCase(strStroke) == 0)
        {
            stroke.key = wKey;
            return TRUE;
        }
    }
    return ParseHexKey(strStroke, stroke.key);
}

BOOL CQVTShortcutManager::ParseShortcut(CString strShortcut, QVT_SHORTCUTMANAGER_ACCEL* pAccel) const
{
    if (!pAccel)
        return FALSE;
    CString strFirst = strShortcut;
    CString strSecond;
    const int nComma = strShortcut.Find(_T(", "));
    if (nComma >= 0)
    {
        strFirst = strShortcut.Left(nComma);
        strSecond = strShortcut.Mid(nComma + 2);
    }
    if (!ParseStroke(strFirst, pAccel->key[0]))
        return FALSE;
    pAccel->key[1].fVirt = 0;
    pAccel->key[1].reserved = 0;
    pAccel->key[1].key = 0;
    if (nComma >= 0 && !ParseStroke(strSecond, pAccel->key[1]))
        return FALSE;
    return TRUE;
}

// Keyboard functions of the bars.

int AFX_CDECL CQVTShortcutManager::FindAccelPos(LPCTSTR lpszText)
{
    if (!lpszText)
        return -1;
    for (int i = 0; lpszText[i] != 0; ++i)
    {
        if (lpszText[i] != _T('&'))
            continue;
        if (lpszText[i + 1] == _T('&'))
        {
            ++i;
            continue;
        }
        // A mark at the very end names no character.
        return lpszText[i + 1] != 0 ? i : -1;
    }
    return -1;
}

BOOL AFX_CDECL CQVTShortcutManager::CompareAccelKey(TCHAR chAccel, UINT wParam)
{
    if (wParam >= VK_NUMPAD0 && wParam <= VK_NUMPAD9)
        return chAccel == static_cast<TCHAR>(wParam - 48);
    if (::MapVirtualKey(wParam, MAPVK_VK_TO_CHAR) == 0)
        return FALSE;
    if (static_cast<UINT>(chAccel) == wParam || static_cast<UINT>(UpperChar(chAccel)) == wParam)
        return TRUE;

    const TCHAR chUpper = UpperChar(chAccel);
    auto matches = [&](const WCHAR* pBuffer, int nResult) {
        return nResult == 1 && (pBuffer[0] == chAccel || UpperChar(pBuffer[0]) == chUpper);
    };
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    const BYTE bShift = state[VK_SHIFT];
    const UINT nScan = ::MapVirtualKey(wParam, MAPVK_VK_TO_VSC);
    BOOL bFound = FALSE;
    for (HKL hLayout : KeyboardLayouts())
    {
        WCHAR szChar[4] = {};
        if (matches(szChar, ::ToUnicodeEx(wParam, nScan, state, szChar, 3, 0, hLayout)))
        {
            bFound = TRUE;
            break;
        }
        state[VK_SHIFT] = 0x81;
        std::memset(szChar, 0, sizeof(szChar));
        const int nResult = ::ToUnicodeEx(wParam, nScan, state, szChar, 3, 0, hLayout);
        state[VK_SHIFT] = bShift;
        if (matches(szChar, nResult))
        {
            bFound = TRUE;
            break;
        }
    }
    return bFound;
}

UINT AFX_CDECL CQVTShortcutManager::CharToVirtualKey(TCHAR chAccel)
{
    for (HKL hLayout : KeyboardLayouts())
    {
        const SHORT nResult = ::VkKeyScanEx(chAccel, hLayout);
        if (nResult != -1 && LOBYTE(nResult) != 0xFF)
            return static_cast<UINT>(UpperChar(static_cast<TCHAR>(LOBYTE(nResult))));
    }
    return 0;
}

BYTE AFX_CDECL CQVTShortcutManager::GetModifierState()
{
    BOOL bCtrl = IsKeyDown(VK_CONTROL);
    BOOL bAlt = IsKeyDown(VK_MENU);
    // AltGr comes as left Ctrl with right Alt: read the other halves.
    if (IsKeyDown(VK_RMENU) && IsKeyDown(VK_LCONTROL))
    {
        bCtrl = IsKeyDown(VK_RCONTROL);
        bAlt = IsKeyDown(VK_LMENU);
    }
    BYTE fState = 0;
    if (bCtrl)
        fState |= FCONTROL;
    if (IsKeyDown(VK_SHIFT))
        fState |= FSHIFT;
    if (bAlt)
        fState |= FALT;
    return fState;
}

// Translation.

void CQVTShortcutManager::FindMatches(const MSG& msg, BYTE fState, CQVTShortcutManagerAccel*& pSingle,
                                      CQVTShortcutManagerAccel*& pChord) const
{
    pSingle = nullptr;
    pChord = nullptr;
    for (int i = 0; i < m_accels.GetCount() && !(pSingle && pChord); ++i)
    {
        CQVTShortcutManagerAccel* pAccel = m_accels.GetAt(i);
        if (pAccel->cmd == 0 || !StrokeMatches(pAccel->key[0], msg, fState))
            continue;
        if (pAccel->IsChord())
        {
            if (!pChord)
                pChord = pAccel;
        }
        else if (!pSingle)
        {
            pSingle = pAccel;
        }
    }
}

CQVTShortcutManagerAccel* CQVTShortcutManager::FindChord(const MSG& msgFirst, BYTE fFirstState,
                                                         const MSG& msgSecond, BYTE fSecondState) const
{
    for (int i = 0; i < m_accels.GetCount(); ++i)
    {
        CQVTShortcutManagerAccel* pAccel = m_accels.GetAt(i);
        if (pAccel->cmd != 0 && pAccel->IsChord() && StrokeMatches(pAccel->key[0], msgFirst, fFirstState) &&
            StrokeMatches(pAccel->key[1], msgSecond, fSecondState))
            return pAccel;
    }
    return nullptr;
}

void CQVTShortcutManager::SetChordStatusText(CWnd* pSite, CQVTShortcutManagerAccel* pChord, BOOL bShow)
{
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pSite);
    if (!pFrame || !pFrame->GetSafeHwnd())
        return;
    if (!bShow)
    {
        pFrame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
        return;
    }
    CString strFormat;
    if (!QVTResourceManager()->LoadString(&strFormat, QVT_IDS_SHORTCUT_SECOND_KEY))
        return;
    QVT_SHORTCUTMANAGER_ACCEL first = *pChord;
    first.key[1].key = 0;
    CString strText;
    strText.Format(strFormat, static_cast<LPCTSTR>(FormatAccel(&first)));
    pFrame->SetMessageText(strText);
}

CQVTShortcutManager::ChordWaitEnd CQVTShortcutManager::WaitForChord(CWnd* pSite, const MSG& msgFirst,
                                                                    BYTE fFirstState,
                                                                    CQVTShortcutManagerAccel** ppChord,
                                                                    MSG* pUnmatched)
{
    *ppChord = nullptr;
    HWND hSite = pSite->GetSafeHwnd();
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        if (::GetCapture() != hSite)
            return chordCancelled;
        // The wait is bounded by the clock, not by the next message: with no
        // further input the single stroke still runs after the timeout.
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed > s_dwChordTimeout)
            return chordTimedOut;
        MSG msg;
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, s_dwChordTimeout - dwElapsed + 1, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return chordCancelled;
        }
        if (IsKeyDownMessage(msg.message))
        {
            if (IsModifierKey(msg.wParam))
                continue;
            *ppChord = FindChord(msgFirst, fFirstState, msg, GetModifierState());
            if (*ppChord)
                return chordCompleted;
            *pUnmatched = msg;
            return chordUnmatched;
        }
        if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && !IsModifierKey(msg.wParam))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        switch (msg.message)
        {
        case WM_COMMAND:
        case WM_SYSCOMMAND:
        case WM_ACTIVATE:
        case WM_LBUTTONDOWN:
        case WM_NCACTIVATE:
        case WM_CLOSE:
            return chordCancelled;
        default:
            break;
        }
    }
}

BOOL CQVTShortcutManager::TranslateAccelerator(LPMSG lpMsg)
{
    if (!m_pCommandBars || m_pCommandBars->IsCustomizeMode() || m_nDisableShortcuts > 0 ||
        m_accels.GetCount() == 0 || !lpMsg)
        return FALSE;
    const UINT message = lpMsg->message;
    if (message != WM_KEYDOWN && message != WM_CHAR && message != WM_SYSKEYDOWN && message != WM_SYSCHAR)
        return FALSE;

    const MSG msgFirst = *lpMsg;
    const BYTE fFirstState = GetModifierState();
    CQVTShortcutManagerAccel* pSingle = nullptr;
    CQVTShortcutManagerAccel* pChord = nullptr;
    FindMatches(msgFirst, fFirstState, pSingle, pChord);
    if (!pSingle && !pChord)
        return FALSE;

    CWnd* pSite = m_pCommandBars->GetSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return FALSE;
    if (!pSite->IsWindowEnabled() || (m_bIgnoreWhileCaptured && ::GetCapture() != nullptr) ||
        pSite->IsIconic())
        return TRUE;

    CQVTObjectRef<CQVTCommandBars> keepAlive(m_pCommandBars);
    InternalAddRef();
    if (!pChord)
    {
        const int nCommand = pSingle->cmd;
        pSite->SendMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(nCommand)), 0);
        InternalRelease();
        return TRUE;
    }

    SetChordStatusText(pSite, pChord, TRUE);
    DisableShortcuts(TRUE);
    pSite->SetCapture();
    MSG msgUnmatched = {};
    CQVTShortcutManagerAccel* pCompleted = nullptr;
    const ChordWaitEnd end = WaitForChord(pSite, msgFirst, fFirstState, &pCompleted, &msgUnmatched);
    const int nCommand = pCompleted ? pCompleted->cmd : 0;
    if (::GetCapture() == pSite->GetSafeHwnd())
        ::ReleaseCapture();
    DisableShortcuts(FALSE);
    SetChordStatusText(pSite, nullptr, FALSE);

    BOOL bHandled = TRUE;
    if (nCommand != 0)
        pSite->SendMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(nCommand)), 0);
    else if (end == chordTimedOut && pSingle)
        pSite->SendMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(pSingle->cmd)), 0);
    else
    {
        // The key that completed nothing goes back to the queue. A click, an
        // activation or a command that ended the wait has been handled: the
        // single stroke no longer stands.
        if (end == chordUnmatched)
            ::PostMessage(msgUnmatched.hwnd, msgUnmatched.message, msgUnmatched.wParam, msgUnmatched.lParam);
        bHandled = FALSE;
    }
    InternalRelease();
    return bHandled;
}

// Persistence.

void CQVTShortcutManager::SaveAccelerators(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (!m_pDefaultAccels || !pApp || !lpszProfileName)
        return;
    std::vector<BYTE> data = m_accels.Export();
    BYTE bEmpty = 0;
    pApp->WriteProfileBinary(lpszProfileName, _T("Accelerators"), data.empty() ? &bEmpty : data.data(),
                             static_cast<UINT>(data.size()));
    pApp->WriteProfileInt(lpszProfileName, _T("AcceleratorsVersion"), 1);
}

void CQVTShortcutManager::LoadAccelerators(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (!m_pDefaultAccels || !pApp || !lpszProfileName)
        return;
    const int nVersion = static_cast<int>(pApp->GetProfileInt(lpszProfileName, _T("AcceleratorsVersion"), 0));
    if (nVersion != 0 && nVersion != 1)
        return;
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    if (!pApp->GetProfileBinary(lpszProfileName, _T("Accelerators"), &pData, &nBytes))
        return;
    std::unique_ptr<BYTE[]> data(pData);
    m_accels.RemoveAll();
    if (nVersion == 1)
        m_accels.Import(data.get(), nBytes);
    else
        m_accels.ImportAccel(data.get(), nBytes);
}

void CQVTShortcutManager::ExchangeShortcutItems(CQVTPropExchange* pPX)
{
    CQVTPropExchangeEnumeratorPtr enumerator(pPX->GetEnumerator(_T("Shortcut")));
    POSITION pos = enumerator->GetPosition(pPX->IsStoring() ? static_cast<DWORD>(m_accels.GetCount()) : 0);
    int nIndex = 0;
    while (pos)
    {
        PropExchangePtr item(enumerator->GetNext(pos));
        if (!item)
            break;
        if (pPX->IsStoring())
        {
            CQVTShortcutManagerAccel* pAccel = m_accels.GetAt(nIndex++);
            if (!pAccel)
                break;
            int nId = pAccel->cmd;
            CString strKey = FormatAccelForExchange(pAccel);
            PropExchangeInt(item.get(), _T("Id"), nId, 0);
            PropExchangeString(item.get(), _T("Key"), strKey, _T(""));
        }
        else
        {
            int nId = 0;
            CString strKey;
            PropExchangeInt(item.get(), _T("Id"), nId, 0);
            PropExchangeString(item.get(), _T("Key"), strKey, _T(""));
            QVT_SHORTCUTMANAGER_ACCEL accel = {};
            accel.cmd = nId;
            if (ParseShortcut(strKey, &accel) && CQVTShortcutManagerAccelTable::IsUsableRecord(accel))
                m_accels.Add(accel);
        }
    }
}

void CQVTShortcutManager::ExchangeLegacyAccelItems(CQVTPropExchange* pPX)
{
    CQVTPropExchangeEnumeratorPtr enumerator(pPX->GetEnumerator(_T("Accel")));
    POSITION pos = enumerator->GetPosition(0);
    while (pos)
    {
        PropExchangePtr item(enumerator->GetNext(pos));
        if (!item)
            break;
        short nId = 0;
        BYTE fVirt = 0;
        short nKey = 0;
        PropExchangeShort(item.get(), _T("Id"), nId, 0);
        PropExchangeByte(item.get(), _T("virt"), fVirt, 0);
        PropExchangeShort(item.get(), _T("key"), nKey, 0);
        ACCEL accel = {fVirt, static_cast<WORD>(nKey), static_cast<WORD>(nId)};
        CQVTShortcutManagerAccel record(this, accel);
        if (CQVTShortcutManagerAccelTable::IsUsableRecord(record))
            m_accels.Add(accel);
    }
}

void CQVTShortcutManager::ExchangeBinaryRecords(CQVTPropExchange* pPX, size_t nRecordSize)
{
    if (pPX->IsStoring())
    {
        std::vector<BYTE> data = m_accels.Export();
        pPX->WriteCount(static_cast<DWORD>(m_accels.GetCount()));
        if (!data.empty())
            pPX->WriteBlock(_T("Data"), data.data(), static_cast<DWORD>(data.size()));
        return;
    }
    DWORD dwCount = pPX->ReadCount();
    if (dwCount > kMaxStoredAccels)
        AfxThrowArchiveException(CArchiveException::badIndex);
    // Read in slices: a count larger than the stream ends at the stream's end
    // instead of allocating for it.
    const DWORD kSlice = 64;
    std::vector<BYTE> slice(kSlice * nRecordSize);
    while (dwCount > 0)
    {
        const DWORD dwRecords = std::min(dwCount, kSlice);
        const DWORD dwWanted = static_cast<DWORD>(dwRecords * nRecordSize);
        const DWORD dwRead = pPX->ReadBlock(_T("Data"), slice.data(), dwWanted);
        if (nRecordSize == sizeof(QVT_SHORTCUTMANAGER_ACCEL))
            m_accels.Import(slice.data(), dwRead);
        else
            m_accels.ImportAccel(slice.data(), dwRead);
        if (dwRead != dwWanted)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        dwCount -= dwRecords;
    }
}

void CQVTShortcutManager::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    pPX->ExchangeSchema();
    if (pPX->IsLoading())
        m_accels.RemoveAll();
    // Only the archive keeps records; the stores with names keep texts.
    const BOOL bBinary = pPX->IsKindOf(RUNTIME_CLASS(CQVTPropExchangeArchive));
    if (pPX->IsStoring() || pPX->GetSchema() >= 33)
    {
        if (bBinary)
            ExchangeBinaryRecords(pPX, sizeof(QVT_SHORTCUTMANAGER_ACCEL));
        else
            ExchangeShortcutItems(pPX);
        return;
    }
    if (bBinary)
        ExchangeBinaryRecords(pPX, sizeof(ACCEL));
    else
        ExchangeLegacyAccelItems(pPX);
}
