// The keyboard shortcuts of one set of command bars: a table of accelerators
// of one or two strokes (a chord: a first stroke, then a second), translated
// from the site's key messages into WM_COMMAND, shown as text next to
// commands, parsed back from such texts, and saved to the profile and the
// property exchanges. It also holds the keyboard functions the bars use to
// match mnemonic characters against keys.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBars;
class CQVTPropExchange;
class CQVTShortcutManager;

// Modifier flags of a stroke beyond the system's ACCEL flags.
const BYTE QVT_FWINKEY = 0x20;
// Every flag a stored stroke may carry.
const BYTE QVT_FACCEL_MASK = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT | QVT_FWINKEY;

// One accelerator as it is stored: 12 bytes, little-endian.
#pragma pack(push, 1)
struct QVT_SHORTCUTMANAGER_ACCEL
{
    struct CKey
    {
        BYTE fVirt;     // ACCEL flags, plus QVT_FWINKEY
        BYTE reserved;  // always 0
        WORD key;       // a virtual key with FVIRTKEY, else a character
    };
    int cmd;
    CKey key[2];  // a second stroke with key 0 makes a single-stroke accelerator
};
#pragma pack(pop)
static_assert(sizeof(QVT_SHORTCUTMANAGER_ACCEL) == 12, "stored accelerator records are 12 bytes");

class CQVTShortcutManagerAccel : public CQVTCmdTarget, public QVT_SHORTCUTMANAGER_ACCEL
{
public:
    CQVTShortcutManagerAccel(CQVTShortcutManager* pManager, const QVT_SHORTCUTMANAGER_ACCEL& accel);
    CQVTShortcutManagerAccel(CQVTShortcutManager* pManager, const ACCEL& accel);

    BOOL IsChord() const { return key[1].key != 0; }
    CQVTShortcutManager* GetManager() const { return m_pManager; }

private:
    CQVTShortcutManager* m_pManager;
};

// The accelerators of a manager, one reference each.
class CQVTShortcutManagerAccelTable
{
public:
    explicit CQVTShortcutManagerAccelTable(CQVTShortcutManager* pManager) : m_pManager(pManager) {}
    ~CQVTShortcutManagerAccelTable() { RemoveAll(); }
    CQVTShortcutManagerAccelTable(const CQVTShortcutManagerAccelTable&) = delete;
    CQVTShortcutManagerAccelTable& operator=(const CQVTShortcutManagerAccelTable&) = delete;

    void Add(const QVT_SHORTCUTMANAGER_ACCEL& accel);
    void Add(const ACCEL& accel);
    void RemoveAll();
    void CopyAccelTable(const CQVTShortcutManagerAccelTable* pSource);
    int GetCount() const { return static_cast<int>(m_arrAccels.size()); }
    CQVTShortcutManagerAccel* GetAt(int nIndex) const;

    // The 12-byte records of the table.
    std::vector<BYTE> Export() const;
    // Whole records only; records no translation could use (command 0, no
    // first key, flags the table does not know) are left out.
    void Import(const BYTE* pData, size_t nBytes);
    // 6-byte ACCEL records, each a single stroke.
    void ImportAccel(const BYTE* pData, size_t nBytes);

    static BOOL AFX_CDECL IsUsableRecord(const QVT_SHORTCUTMANAGER_ACCEL& accel);

private:
    CQVTShortcutManager* m_pManager;
    std::vector<CQVTShortcutManagerAccel*> m_arrAccels;
};

class CQVTShortcutManager : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTShortcutManager)

public:
    // Formats the strokes of one accelerator.
    class CKeyHelper
    {
    public:
        // Without names through the manager, keys take the key-name table's
        // names, else their number: texts that always parse back.
        CKeyHelper(const QVT_SHORTCUTMANAGER_ACCEL* pAccel, CQVTShortcutManager* pManager = nullptr,
                   BOOL bNamesThroughManager = TRUE);
        virtual ~CKeyHelper() {}

        CString Format() const;
        CString FormatStroke(const QVT_SHORTCUTMANAGER_ACCEL::CKey& stroke) const;
        // 3 with Ctrl, else 2 with Alt, else 1 with Shift, else 4.
        int GetPriority() const;

    protected:
        CString GetName(WORD wKey) const;

        const QVT_SHORTCUTMANAGER_ACCEL* m_pAccel;
        CQVTShortcutManager* m_pManager;
        BOOL m_bNamesThroughManager;
    };

    explicit CQVTShortcutManager(CQVTCommandBars* pCommandBars);
    ~CQVTShortcutManager() override;

    virtual BOOL FindShortcutText(int nCommand, CString& strShortcut);
    virtual CString FormatAccel(const QVT_SHORTCUTMANAGER_ACCEL* pAccel, int* pPriority = nullptr);
    // The text a store keeps: the key driver's names would not parse back.
    CString FormatAccelForExchange(const QVT_SHORTCUTMANAGER_ACCEL* pAccel);
    virtual CString GetKeyName(UINT uiVirtKey);
    virtual BOOL IsShortcutAllowed(const QVT_SHORTCUTMANAGER_ACCEL* pAccel);
    virtual int OnBeforeAdd(const QVT_SHORTCUTMANAGER_ACCEL*) { return 0; }
    virtual int OnPreviewEditKey(const QVT_SHORTCUTMANAGER_ACCEL*) { return 0; }
    // TRUE adds one to the disable count and answers 1, FALSE takes one away
    // and answers -1.
    virtual int DisableShortcuts(BOOL bDisable);
    virtual BOOL TranslateAccelerator(LPMSG lpMsg);
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    virtual CQVTShortcutManagerAccelTable* GetAccelTable() { return &m_accels; }
    virtual void Reset();

    // The profile form: "Accelerators" (12-byte records) and
    // "AcceleratorsVersion" 1 in the profile section. Only with a default
    // table: without one nothing was customized.
    void SaveAccelerators(LPCTSTR lpszProfileName);
    void LoadAccelerators(LPCTSTR lpszProfileName);

    // The table the application defines; reset goes back to it.
    void SetDefaultAccelerators(const QVT_SHORTCUTMANAGER_ACCEL* pAccels, int nCount);
    void CreateDefaultAccelerators();
    CQVTShortcutManagerAccelTable* GetDefaultAccelTable() const { return m_pDefaultAccels; }
    void SetAccelerators(const QVT_SHORTCUTMANAGER_ACCEL* pAccels, int nCount);
    void AddAccelerator(int nCommand, BYTE fVirt, WORD wKey, BYTE fVirt2 = 0, WORD wKey2 = 0);

    // "Ctrl+K, Ctrl+C" into its strokes; FALSE when a stroke has no key.
    BOOL ParseShortcut(CString strShortcut, QVT_SHORTCUTMANAGER_ACCEL* pAccel) const;
    // One stroke; FALSE when it names no key.
    BOOL ParseStroke(CString strStroke, QVT_SHORTCUTMANAGER_ACCEL::CKey& stroke) const;
    // The name the key-name table gives, empty when it has none.
    CString GetKeyNameFromMap(WORD wKey) const;
    // The keyboard driver's name of a key, as "Ctrl" rather than "CTRL".
    static CString AFX_CDECL GetKeyNameFromDriver(UINT uiVirtKey);

    int GetDisableCount() const { return m_nDisableShortcuts; }
    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }

    // Index of the first '&' that is not one of a "&&" pair and marks a
    // character; -1 when there is none.
    static int AFX_CDECL FindAccelPos(LPCTSTR lpszText);
    // Whether a mnemonic character is made by the key.
    static BOOL AFX_CDECL CompareAccelKey(TCHAR chAccel, UINT wParam);
    // The key that makes a character on an installed layout, 0 when none.
    static UINT AFX_CDECL CharToVirtualKey(TCHAR chAccel);
    // The modifier state (FCONTROL, FSHIFT, FALT) as the keyboard has it now.
    static BYTE AFX_CDECL GetModifierState();

    // How long a chord waits for its second key.
    static DWORD s_dwChordTimeout;

    BOOL m_bAllowEscapeShortcut;   // a plain Escape may be a shortcut
    BOOL m_bUseSystemKeyNameText;  // the driver's key names before the table's
    BOOL m_bShowKeyboardTips;      // kept with the settings; not read here
    BOOL m_bIgnoreWhileCaptured;   // eat keys without a command while a window holds the mouse

protected:
    // The first single-stroke and the first chord match of a message.
    void FindMatches(const MSG& msg, BYTE fState, CQVTShortcutManagerAccel*& pSingle,
                     CQVTShortcutManagerAccel*& pChord) const;
    CQVTShortcutManagerAccel* FindChord(const MSG& msgFirst, BYTE fFirstState, const MSG& msgSecond,
                                        BYTE fSecondState) const;
    // How a chord's wait for its second key ended.
    enum ChordWaitEnd
    {
        chordCompleted,  // the second key completed a chord
        chordUnmatched,  // a key that completes nothing
        chordTimedOut,   // no key in time: the single stroke stands
        chordCancelled   // a click, activation, command, close, quit or lost capture
    };
    // Waits for the second key of a chord: the completed chord in ppChord, a
    // key that completes nothing in pUnmatched.
    ChordWaitEnd WaitForChord(CWnd* pSite, const MSG& msgFirst, BYTE fFirstState,
                              CQVTShortcutManagerAccel** ppChord, MSG* pUnmatched);
    void SetChordStatusText(CWnd* pSite, CQVTShortcutManagerAccel* pChord, BOOL bShow);
    void LoadKeyNames();

    // The text collection form of exchanges with names.
    void ExchangeShortcutItems(CQVTPropExchange* pPX);
    void ExchangeLegacyAccelItems(CQVTPropExchange* pPX);
    void ExchangeBinaryRecords(CQVTPropExchange* pPX, size_t nRecordSize);

    int m_nDisableShortcuts;  // translation is off while above 0
    CQVTShortcutManagerAccelTable m_accels;
    CQVTShortcutManagerAccelTable* m_pDefaultAccels;  // owned; null until the application gives one
    CQVTCommandBars* m_pCommandBars;
    CMap<WORD, WORD, CString, LPCTSTR> m_mapKeyNames;
    std::vector<WORD> m_arrKeyNameOrder;  // the table's order, for parsing names back
};
