#include "mainroad_support.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "real_input.h"
#include "run_command.h"
#include "sondrel_gtest.h"

namespace mainroad {

namespace {

struct Search
{
    DWORD process;
    const char16_t* caption;
    HWND exclude;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindows(HWND hWnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != search->process || !::IsWindowVisible(hWnd) || hWnd == search->exclude)
        return TRUE;
    if (search->caption && Text(hWnd) != search->caption)
        return TRUE;
    search->found.push_back(hWnd);
    return TRUE;
}

struct ChildSearch
{
    int id;
    const char16_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChildren(HWND hWnd, LPARAM lParam)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(lParam);
    if (search->className)
    {
        WCHAR name[64] = {};
        ::GetClassNameW(hWnd, name, 64);
        if (std::u16string(reinterpret_cast<const char16_t*>(name)) == search->className &&
            ::IsWindowVisible(hWnd))
            search->found.push_back(hWnd);
    }
    else if (::GetDlgCtrlID(hWnd) == search->id)
        search->found.push_back(hWnd);
    return TRUE;
}

}  // namespace

std::u16string BinFolder()
{
    WCHAR path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string image(reinterpret_cast<const char16_t*>(path));
    return image.substr(0, image.rfind(u'\\') + 1);
}

SondrelProcess::~SondrelProcess()
{
    Kill();
}

bool SondrelProcess::Start()
{
    return runcommand::StartProgram(&m_process);
}

bool SondrelProcess::Running() const
{
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool SondrelProcess::WaitForExit(DWORD dwMilliseconds)
{
    if (!m_process.hProcess)
        return true;
    const DWORD dwStart = ::GetTickCount();
    while (Running())
    {
        if (::GetTickCount() - dwStart > dwMilliseconds)
            return false;
        Wait(50);
    }
    return true;
}

void SondrelProcess::Kill()
{
    if (!m_process.hProcess)
        return;
    if (Running())
    {
        ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, 10000);
    }
    if (m_process.hThread)
        ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
    m_process = PROCESS_INFORMATION();
}

HWND ShowMainWindow(const SondrelProcess& program)
{
    HWND hMain = WaitForWindow(program.Id(), u"Sondrel", 60000);
    if (!hMain)
        return nullptr;
    Wait(1500);
    ::SetForegroundWindow(hMain);
    return hMain;
}

void AltF4(HWND hMain)
{
    ::SetForegroundWindow(hMain);
    Wait(100);
    KeyChord(VK_MENU, VK_F4);
}

std::vector<HWND> VisibleWindows(DWORD dwProcess)
{
    Search search = {dwProcess, nullptr, nullptr, {}};
    ::EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD dwProcess, const char16_t* pszCaption, DWORD dwTimeout, HWND hExclude)
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            Search search = {dwProcess, pszCaption, hExclude, {}};
            ::EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&search));
            hFound = search.found.empty() ? nullptr : search.found.front();
            return hFound != nullptr;
        },
        dwTimeout);
    return hFound;
}

HWND ChildById(HWND hParent, int nId)
{
    ChildSearch search = {nId, nullptr, {}};
    ::EnumChildWindows(hParent, &CollectChildren, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> Descendants(HWND hParent, const char16_t* pszClass)
{
    ChildSearch search = {0, pszClass, {}};
    ::EnumChildWindows(hParent, &CollectChildren, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::u16string Text(HWND hWnd)
{
    WCHAR text[1024] = {};
    // WM_GETTEXT crosses processes; GetWindowText would not ask a control
    // of another process.
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    return reinterpret_cast<const char16_t*>(text);
}

std::u16string ClassName(HWND hWnd)
{
    WCHAR name[64] = {};
    ::GetClassNameW(hWnd, name, 64);
    return reinterpret_cast<const char16_t*>(name);
}

std::vector<HWND> VisibleWindowsOfClass(DWORD dwProcess, const char16_t* pszClass)
{
    std::vector<HWND> found;
    for (HWND hWnd : VisibleWindows(dwProcess))
        if (ClassName(hWnd) == pszClass)
            found.push_back(hWnd);
    return found;
}

std::u16string OtherWindows(DWORD dwProcess, HWND hMain)
{
    std::u16string others;
    for (HWND hWnd : VisibleWindows(dwProcess))
    {
        const std::u16string strClass = ClassName(hWnd);
        if (hWnd != hMain && strClass.rfind(u"QVTToolTip", 0) != 0 && strClass != u"QVTPopupBar")
            others += Text(hWnd) + u" (" + strClass + u") ";
    }
    return others;
}

std::string Narrow(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

std::vector<std::vector<std::u16string>> ListRows(HWND hList, int nColumns)
{
    std::vector<std::vector<std::u16string>> rows;
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hList, &dwProcess);
    HANDLE hProcess =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcess);
    if (!hProcess)
        return rows;
    // The item record and its text buffer live in the list's process.
    const SIZE_T nText = 512;
    BYTE* pRemote = static_cast<BYTE*>(::VirtualAllocEx(
        hProcess, nullptr, sizeof(LVITEMW) + nText * sizeof(WCHAR), MEM_COMMIT, PAGE_READWRITE));
    if (pRemote)
    {
        const LRESULT nCount = ::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < nCount; ++i)
        {
            std::vector<std::u16string> row;
            for (int c = 0; c < nColumns; ++c)
            {
                LVITEMW item = {};
                item.mask = LVIF_TEXT;
                item.iItem = i;
                item.iSubItem = c;
                item.pszText = reinterpret_cast<LPWSTR>(pRemote + sizeof(LVITEMW));
                item.cchTextMax = static_cast<int>(nText);
                ::WriteProcessMemory(hProcess, pRemote, &item, sizeof item, nullptr);
                ::SendMessageW(hList, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(pRemote));
                WCHAR text[512] = {};
                ::ReadProcessMemory(hProcess, pRemote + sizeof(LVITEMW), text, sizeof text - sizeof(WCHAR),
                                    nullptr);
                row.push_back(reinterpret_cast<const char16_t*>(text));
            }
            rows.push_back(row);
        }
        ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    }
    ::CloseHandle(hProcess);
    return rows;
}

int ListCount(HWND hList)
{
    return static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
}

std::unique_ptr<DibCanvas> Shot(HWND hWnd, CRect* prcScreen)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    if (prcScreen)
        *prcScreen = rc;
    auto canvas = std::make_unique<DibCanvas>(rc.Width(), rc.Height());
    HDC hScreen = ::GetDC(nullptr);
    ::BitBlt(canvas->dc.m_hDC, 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
    return canvas;
}

std::unique_ptr<DibCanvas> ScreenPicture(const CRect& rcScreen)
{
    const int cx = rcScreen.Width(), cy = rcScreen.Height();
    auto canvas = std::make_unique<DibCanvas>(cx, cy, RGB(0, 0, 0));
    const std::string command = "import -silent -window root -crop " + std::to_string(cx) + "x" +
                                std::to_string(cy) + "+" + std::to_string(rcScreen.left) + "+" +
                                std::to_string(rcScreen.top) + " +repage -depth 8 rgb:- 2>/dev/null";
    const std::string rgb = CommandOutput(command);
    if (rgb.size() != static_cast<size_t>(cx) * cy * 3)
    {
        ADD_FAILURE() << "read " << rgb.size() << " bytes of the screen: " << command;
        return canvas;
    }
    DWORD* pPixels = canvas->Pixels();
    for (size_t i = 0; i < static_cast<size_t>(cx) * cy; ++i)
        pPixels[i] = DibCanvas::ToPixel(RGB(static_cast<BYTE>(rgb[3 * i]), static_cast<BYTE>(rgb[3 * i + 1]),
                                            static_cast<BYTE>(rgb[3 * i + 2])));
    return canvas;
}

bool FindColour(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nTolerance, int nMinimum,
                CPoint* pCentre, int* pCount)
{
    long sx = 0, sy = 0;
    int n = 0;
    const CRect rc(std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
                   std::min<LONG>(area.right, canvas.Width()), std::min<LONG>(area.bottom, canvas.Height()));
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            const COLORREF c = canvas.At(x, y);
            if (std::abs(GetRValue(c) - GetRValue(clr)) <= nTolerance &&
                std::abs(GetGValue(c) - GetGValue(clr)) <= nTolerance &&
                std::abs(GetBValue(c) - GetBValue(clr)) <= nTolerance)
            {
                sx += x;
                sy += y;
                ++n;
            }
        }
    if (pCount)
        *pCount = n;
    if (n < nMinimum || n == 0)
        return false;
    if (pCentre)
        *pCentre = CPoint(static_cast<int>(sx / n), static_cast<int>(sy / n));
    return true;
}

std::vector<ColourPatch> ColourPatches(const DibCanvas& canvas, const CRect& area, COLORREF clr,
                                       int nTolerance, Neighbours neighbours)
{
    std::vector<ColourPatch> patches;
    const CRect rc(std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
                   std::min<LONG>(area.right, canvas.Width()), std::min<LONG>(area.bottom, canvas.Height()));
    if (rc.IsRectEmpty())
        return patches;
    const int w = rc.Width(), h = rc.Height();
    std::vector<char> match(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const COLORREF c = canvas.At(rc.left + x, rc.top + y);
            match[static_cast<size_t>(y) * w + x] = std::abs(GetRValue(c) - GetRValue(clr)) <= nTolerance &&
                                                    std::abs(GetGValue(c) - GetGValue(clr)) <= nTolerance &&
                                                    std::abs(GetBValue(c) - GetBValue(clr)) <= nTolerance;
        }
    const bool bCorners = neighbours == Neighbours::SidesAndCorners;
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start)
    {
        if (match[start] != 1)
            continue;
        long sx = 0, sy = 0;
        int n = 0;
        CRect bounds(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        match[start] = 2;
        stack.assign(1, start);
        while (!stack.empty())
        {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % w, y = i / w;
            sx += x;
            sy += y;
            ++n;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    const int nx = x + dx, ny = y + dy;
                    if ((dx != 0 && dy != 0 && !bCorners) || nx < 0 || ny < 0 || nx >= w || ny >= h ||
                        match[ny * w + nx] != 1)
                        continue;
                    match[ny * w + nx] = 2;
                    stack.push_back(ny * w + nx);
                }
        }
        ColourPatch patch;
        patch.bounds = bounds + rc.TopLeft();
        patch.centre = CPoint(rc.left + static_cast<int>(sx / n), rc.top + static_cast<int>(sy / n));
        patch.nPixels = n;
        patches.push_back(patch);
    }
    return patches;
}

bool FindColourPatch(const DibCanvas& canvas, const CRect& area, COLORREF clr, int nTolerance, int nMinimum,
                     CPoint* pCentre, CRect* pBounds, Neighbours neighbours)
{
    const ColourPatch* pBest = nullptr;
    const std::vector<ColourPatch> patches = ColourPatches(canvas, area, clr, nTolerance, neighbours);
    for (const ColourPatch& patch : patches)
        if (!pBest || patch.nPixels > pBest->nPixels)
            pBest = &patch;
    if (!pBest || pBest->nPixels < std::max(nMinimum, 1))
        return false;
    if (pCentre)
        *pCentre = pBest->centre;
    if (pBounds)
        *pBounds = pBest->bounds;
    return true;
}

void ClickAt(POINT ptScreen)
{
    MouseMoveTo(ptScreen);
    Wait(120);
    MouseLeftDown();
    Wait(40);
    MouseLeftUp();
    Wait(150);
}

void ClickChild(HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ClickAt(rc.CenterPoint());
}

void KeyChord(WORD wModifier, WORD wKey)
{
    SendKey(wModifier, false);
    SendKey(wKey, false);
    SendKey(wKey, true);
    SendKey(wModifier, true);
    Wait(150);
}

void Key(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
    Wait(150);
}

std::string UnixPath(const std::u16string& windowsPath)
{
    char* unix = wine_get_unix_file_name(W(windowsPath));
    std::string path(unix ? unix : "");
    if (unix)
        ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

namespace {

// A block of memory in another window's process, for the messages whose
// records must lie there.
class RemoteBlock
{
public:
    RemoteBlock(HWND hWnd, SIZE_T nSize) : m_nSize(nSize)
    {
        DWORD dwProcess = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcess);
        m_hProcess =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcess);
        if (m_hProcess)
            m_pBlock = ::VirtualAllocEx(m_hProcess, nullptr, nSize, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (m_pBlock)
            ::VirtualFreeEx(m_hProcess, m_pBlock, 0, MEM_RELEASE);
        if (m_hProcess)
            ::CloseHandle(m_hProcess);
    }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_pBlock); }
    bool Write(const void* pData, SIZE_T nSize)
    {
        return m_pBlock && nSize <= m_nSize &&
               ::WriteProcessMemory(m_hProcess, m_pBlock, pData, nSize, nullptr);
    }
    bool Read(void* pData, SIZE_T nSize) const
    {
        return m_pBlock && nSize <= m_nSize &&
               ::ReadProcessMemory(m_hProcess, m_pBlock, pData, nSize, nullptr);
    }

private:
    HANDLE m_hProcess = nullptr;
    void* m_pBlock = nullptr;
    SIZE_T m_nSize;
};

}  // namespace

void ResetProgramSettings(const std::u16string& outputFolder, bool bStartedBefore)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, W(kSettingsKey));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, W(kSettingsKey));
    CommandOutput("rm -rf '" + UnixPath(outputFolder) + "'");
    ::CreateDirectoryW(W(outputFolder), nullptr);
    // The shell's folder browser finds a folder only after its first read.
    ::GetFileAttributesW(W(outputFolder));
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, W(kSettingsKey), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey,
                          nullptr) == ERROR_SUCCESS)
    {
        ::RegSetValueExW(hKey, u"DstFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(outputFolder.c_str()),
                         static_cast<DWORD>((outputFolder.size() + 1) * sizeof(char16_t)));
        ::RegCloseKey(hKey);
    }
    if (bStartedBefore && ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, W(kSettingsKey), 0, nullptr, 0, KEY_WRITE,
                                            nullptr, &hKey, nullptr) == ERROR_SUCCESS)
    {
        const DWORD dwStarts = 10;
        ::RegSetValueExW(hKey, u"RunningCounter", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwStarts),
                         sizeof dwStarts);
        ::RegCloseKey(hKey);
    }
}

CRect ListRowRect(HWND hList, int nRow)
{
    CRect rc(LVIR_BOUNDS, 0, 0, 0);
    RemoteBlock block(hList, sizeof(RECT));
    if (!block.Write(&rc, sizeof(RECT)) || !::SendMessageW(hList, LVM_GETITEMRECT, nRow, block.Address()) ||
        !block.Read(&rc, sizeof(RECT)))
        return CRect();
    ::MapWindowPoints(hList, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::u16string ListItemText(HWND hList, int nRow, int nColumn)
{
    const int nText = 512;
    RemoteBlock block(hList, sizeof(LVITEMW) + nText * sizeof(WCHAR));
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nRow;
    item.iSubItem = nColumn;
    item.pszText = reinterpret_cast<LPWSTR>(block.Address() + sizeof(LVITEMW));
    item.cchTextMax = nText;
    WCHAR record[sizeof(LVITEMW) / sizeof(WCHAR) + nText] = {};
    if (!block.Write(&item, sizeof item) ||
        ::SendMessageW(hList, LVM_GETITEMTEXTW, nRow, block.Address()) < 0 ||
        !block.Read(record, sizeof record - sizeof(WCHAR)))
        return std::u16string();
    return reinterpret_cast<const char16_t*>(record + sizeof(LVITEMW) / sizeof(WCHAR));
}

std::vector<std::u16string> ComboItems(HWND hCombo)
{
    // Wine carries a combo box's texts across processes itself, as it does
    // WM_GETTEXT's.
    std::vector<std::u16string> items;
    const LRESULT nCount = ::SendMessageW(hCombo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < nCount; ++i)
    {
        const LRESULT nLength = ::SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0);
        std::u16string text(nLength > 0 ? nLength + 1 : 1, u'\0');
        if (nLength <= 0 ||
            ::SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0])) == CB_ERR)
            text.clear();
        text.resize(std::char_traits<char16_t>::length(text.c_str()));
        items.push_back(text);
    }
    return items;
}

bool FindRibbonIcon(HWND hMain, COLORREF clr, CPoint* pScreen, CRect* prcScreen, int nMinimum,
                    Neighbours neighbours)
{
    CRect rcWindow;
    auto shot = Shot(hMain, &rcWindow);
    // The ribbon fills the window's top.
    CPoint pt;
    CRect rcPatch;
    if (!FindColourPatch(*shot, CRect(0, 0, shot->Width(), std::min(shot->Height(), 220)), clr, 6, nMinimum,
                         &pt, &rcPatch, neighbours))
        return false;
    *pScreen = pt + rcWindow.TopLeft();
    if (prcScreen)
        *prcScreen = rcPatch + rcWindow.TopLeft();
    return true;
}

std::u16string LastRowText(HWND hList, int nColumn)
{
    const int nCount = hList ? ListCount(hList) : 0;
    return nCount > 0 ? ListItemText(hList, nCount - 1, nColumn) : std::u16string();
}

std::vector<std::vector<std::u16string>> FileListRows(HWND hMain)
{
    HWND hList = ChildById(hMain, kFileList);
    return hList ? ListRows(hList, 5) : std::vector<std::vector<std::u16string>>();
}

void ChooseDevice(HWND hDevices, const std::u16string& strDevice)
{
    const std::vector<std::u16string> devices = ComboItems(hDevices);
    const auto found = std::find(devices.begin(), devices.end(), strDevice);
    ASSERT_NE(devices.end(), found) << Narrow(strDevice);
    const int nDevice = static_cast<int>(found - devices.begin());
    ClickChild(hDevices);
    Key(VK_HOME);
    for (int i = 0; i < nDevice; ++i)
        Key(VK_DOWN);
    Key(VK_RETURN);
    Wait(300);
    ASSERT_EQ(nDevice, ::SendMessageW(hDevices, CB_GETCURSEL, 0, 0));
}

std::string ProbeFile(const std::u16string& strPath, const std::string& strEntries)
{
    return CommandOutput("ffprobe -v error -show_entries " + strEntries +
                         " -of default=noprint_wrappers=1 '" + UnixPath(strPath) + "' 2>&1");
}

std::string ProbeValue(const std::string& strProbe, const std::string& strKey)
{
    const size_t at = strProbe.find(strKey + "=");
    if (at == std::string::npos)
        return std::string();
    const size_t from = at + strKey.size() + 1;
    return strProbe.substr(from, strProbe.find('\n', from) - from);
}

double ProbedSeconds(const std::string& strProbe)
{
    const size_t at = strProbe.find("duration=");
    return at == std::string::npos ? -1 : std::atof(strProbe.c_str() + at + 9);
}

void Wait(DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    do
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - dwStart < dwMilliseconds);
}

}  // namespace mainroad
