// The recorder's file list as a user meets it: rows read back from
// "filelist.xml", sorting by the headers, the delete commands with their
// questions answered by real clicks, renaming, and the context menu.
#include "recorder_test_support.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "app/files/FileDesc.h"
#include "real_input.h"
#include "tests/app/shell/shell_test_support.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"

using namespace recordertest;

class FileListTest : public RecorderTest
{
protected:
    std::string StoredXml() const
    {
        std::ifstream in(m_folder.unix + "/filelist.xml");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool Exists(const std::string& name) const
    {
        struct stat st;
        return stat((m_folder.unix + "/" + name).c_str(), &st) == 0;
    }
    CListCtrl& List() { return m_pRecorder->m_listFiles; }
    std::string Cell(int nRow, int nColumn) { return Narrow(List().GetItemText(nRow, nColumn)); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < List().GetItemCount(); ++i)
            names.push_back(Cell(i, 1));
        return names;
    }
    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (int i = 0; i < List().GetItemCount(); ++i)
            if (List().GetItemState(i, LVIS_SELECTED))
                rows.push_back(i);
        return rows;
    }
    POINT RowPoint(int nRow)
    {
        CRect rc;
        List().GetItemRect(nRow, &rc, LVIR_LABEL);
        List().ClientToScreen(&rc);
        return POINT{rc.left + 8, rc.CenterPoint().y};
    }
    void ClickRow(int nRow)
    {
        MouseClickAt(RowPoint(nRow));
        PumpTranslated(30);
        // Past the double-click time: the next click is a click of its own.
        PumpTranslated(::GetDoubleClickTime() + 50);
    }
    void ClickHeader(int nColumn)
    {
        CHeaderCtrl* pHeader = List().GetHeaderCtrl();
        CRect rc;
        pHeader->GetItemRect(nColumn, &rc);
        pHeader->ClientToScreen(&rc);
        MouseClickAt(rc.CenterPoint());
        PumpTranslated(::GetDoubleClickTime() + 50);
    }
    // Shift+Down: the selection takes the next row too.
    void ExtendSelectionDown()
    {
        SendKey(VK_SHIFT, false);
        SendKey(VK_DOWN, false);
        SendKey(VK_DOWN, true);
        SendKey(VK_SHIFT, true);
        PumpTranslated(100);
    }
    // Opened by this process without leave to delete: as a file another
    // program holds open, it can be neither deleted nor moved.
    HANDLE HoldOpen(const CString& path)
    {
        return ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    // Clicks a control whose handler asks; the box's button is clicked once
    // it is up. False when no box came.
    bool ClickAnswering(UINT nControl, int nAnswer)
    {
        bool bAsked = false;
        shelltest::ModalScript script({[&] {
            CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
            if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, nAnswer)))
                return false;
            bAsked = true;
            ::SetForegroundWindow(pBox->m_hWnd);
            shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, nAnswer)));
            return true;
        }});
        ClickControl(*m_pRecorder, nControl);
        PumpTranslated(100);
        EXPECT_FALSE(script.Stalled());
        return bAsked;
    }
};

namespace {

TEST_F(FileListTest, StoredRowsComeBackAndUnreadableOnesLeaveAtTheNextSave)
{
    CString a = MakeSound("a.mp3", 3);
    CString b = MakeSound("b.wav", 1);
    ASSERT_EQ(0, mkfifo((m_folder.unix + "/pipe.mp3").c_str(), 0600));
    StoreList({a, m_folder.windows + _T("missing.mp3"), b, m_folder.windows + _T("pipe.mp3")});
    OpenRecorder();

    ASSERT_EQ(2, List().GetItemCount());
    const char* expected[2][5] = {{"1.", "a.mp3", "", "00:03", ""}, {"2.", "b.wav", "", "00:01", ""}};
    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < 5; ++column)
        {
            if (column == 2)
                EXPECT_EQ(Narrow(m_folder.windows), Cell(row, column));
            else
                EXPECT_EQ(expected[row][column], Cell(row, column)) << row << "," << column;
        }
        CFileDesc* pItem = m_pRecorder->GetRowItem(row);
        ASSERT_TRUE(pItem != nullptr);
        EXPECT_EQ(row, pItem->m_nRow);
        EXPECT_FALSE(pItem->m_bFontSet);
    }
    EXPECT_EQ(-1, m_pRecorder->m_nLastSortColumn);

    // Sorted by duration before closing, the list is stored in that order.
    ClickHeader(3);
    EXPECT_EQ((std::vector<std::string>{"b.wav", "a.mp3"}), Names());
    m_pRecorder->SaveFileList();
    std::string xml = StoredXml();
    size_t count = xml.find("<Count>2</Count>");
    size_t first = xml.find(Narrow(b));
    size_t second = xml.find(Narrow(a));
    EXPECT_NE(std::string::npos, count) << xml;
    EXPECT_NE(std::string::npos, first) << xml;
    EXPECT_LT(first, second) << xml;
    EXPECT_EQ(std::string::npos, xml.find("missing")) << xml;
}

TEST_F(FileListTest, HeadersSortTurnAndSelect)
{
    CString two = MakeSound("c-two.wav", 2);
    CString one = MakeSound("a-one.wav", 1);
    CString three = MakeSound("b-three.wav", 3);
    StoreList({two, one, three});
    OpenRecorder();
    ASSERT_EQ(3, List().GetItemCount());

    ClickHeader(3);
    EXPECT_EQ((std::vector<std::string>{"a-one.wav", "c-two.wav", "b-three.wav"}), Names());
    EXPECT_EQ("1.", Cell(0, 0));
    EXPECT_EQ("3.", Cell(2, 0));
    ClickHeader(3);
    EXPECT_EQ((std::vector<std::string>{"b-three.wav", "c-two.wav", "a-one.wav"}), Names());
    // Another column keeps its own direction: ascending the first time.
    ClickHeader(1);
    EXPECT_EQ((std::vector<std::string>{"a-one.wav", "b-three.wav", "c-two.wav"}), Names());
    ClickHeader(1);
    EXPECT_EQ((std::vector<std::string>{"c-two.wav", "b-three.wav", "a-one.wav"}), Names());
    ClickHeader(3);
    EXPECT_EQ((std::vector<std::string>{"b-three.wav", "c-two.wav", "a-one.wav"}), Names());
    EXPECT_EQ("1.", Cell(0, 0));
    EXPECT_EQ(0, m_pRecorder->GetRowItem(0)->m_nRow);

    // "State" does nothing; "#" selects every row.
    ClickHeader(4);
    EXPECT_EQ((std::vector<std::string>{"b-three.wav", "c-two.wav", "a-one.wav"}), Names());
    EXPECT_TRUE(SelectedRows().empty());
    ClickHeader(0);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), SelectedRows());
}

TEST_F(FileListTest, DeletingRowsSelectsTheRowThatTakesTheirPlace)
{
    std::vector<CString> paths;
    for (int i = 0; i < 5; ++i)
        paths.push_back(MakeSound("take" + std::to_string(i) + ".wav", 1));
    StoreList(paths);
    OpenRecorder();
    ASSERT_EQ(5, List().GetItemCount());

    ClickRow(1);
    ExtendSelectionDown();
    ASSERT_EQ((std::vector<int>{1, 2}), SelectedRows());
    KeyPress(VK_DELETE);
    PumpTranslated(100);
    EXPECT_EQ((std::vector<std::string>{"take0.wav", "take3.wav", "take4.wav"}), Names());
    EXPECT_EQ((std::vector<int>{1}), SelectedRows());
    EXPECT_EQ("2.", Cell(1, 0));
    EXPECT_TRUE(Exists("take1.wav") && Exists("take2.wav"));

    ClickRow(2);
    ClickControl(*m_pRecorder, IDC_DELETE_FILES);
    EXPECT_EQ((std::vector<std::string>{"take0.wav", "take3.wav"}), Names());
    EXPECT_EQ((std::vector<int>{1}), SelectedRows());

    ClickRow(0);
    ExtendSelectionDown();
    KeyPress(VK_DELETE);
    PumpTranslated(100);
    EXPECT_EQ(0, List().GetItemCount());
    EXPECT_EQ(-1, m_pRecorder->GetCurrentRow());
}

TEST_F(FileListTest, DeleteAllAsksAndLeavesTheFiles)
{
    StoreList({MakeSound("one.wav", 1), MakeSound("two.wav", 1)});
    OpenRecorder();
    ASSERT_EQ(2, List().GetItemCount());

    EXPECT_TRUE(ClickAnswering(IDC_DELETE_ALL_FILES, IDNO));
    EXPECT_EQ(2, List().GetItemCount());
    EXPECT_TRUE(ClickAnswering(IDC_DELETE_ALL_FILES, IDYES));
    EXPECT_EQ(0, List().GetItemCount());
    EXPECT_TRUE(Exists("one.wav") && Exists("two.wav"));
}

TEST_F(FileListTest, FilesThatCannotBeDeletedFromDiskKeepTheirRows)
{
    CString kept = MakeSound("kept.wav", 1);
    StoreList({MakeSound("gone.wav", 1), kept, MakeSound("stays.wav", 1)});
    OpenRecorder();
    ASSERT_EQ(3, List().GetItemCount());
    HANDLE hHeld = HoldOpen(kept);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);

    ClickRow(0);
    ExtendSelectionDown();
    ASSERT_EQ((std::vector<int>{0, 1}), SelectedRows());
    EXPECT_TRUE(ClickAnswering(IDC_DELETE_FROM_DISK, IDNO));
    EXPECT_EQ(3, List().GetItemCount());
    EXPECT_TRUE(Exists("gone.wav"));

    // Yes, then the box that names the file left behind.
    bool bTold = false;
    shelltest::ModalScript script(
        {[&] {
             CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
             if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, IDYES)))
                 return false;
             ::SetForegroundWindow(pBox->m_hWnd);
             shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, IDYES)));
             return true;
         },
         [&] {
             CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
             if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, IDOK)))
                 return false;
             bTold = true;
             ::SetForegroundWindow(pBox->m_hWnd);
             shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, IDOK)));
             return true;
         }});
    ClickControl(*m_pRecorder, IDC_DELETE_FROM_DISK);
    PumpTranslated(100);
    EXPECT_FALSE(script.Stalled());
    EXPECT_TRUE(bTold);
    ::CloseHandle(hHeld);

    EXPECT_FALSE(Exists("gone.wav"));
    EXPECT_TRUE(Exists("kept.wav"));
    EXPECT_TRUE(Exists("stays.wav"));
    EXPECT_EQ((std::vector<std::string>{"kept.wav", "stays.wav"}), Names());
    EXPECT_EQ("00:01", Cell(0, 3));
}

TEST_F(FileListTest, RenamingReplacesInOneStepAndLeavesASameNameRenameAlone)
{
    CString a = MakeSound("a.wav", 2);
    MakeSound("b.wav", 1);
    StoreList({a});
    OpenRecorder();
    ASSERT_EQ(1, List().GetItemCount());
    CSondrelDlg& dlg = *m_pRecorder;

    // Onto itself: nothing moves, nothing is lost.
    EXPECT_FALSE(dlg.RenameRowFile(0, _T("a.wav")));
    EXPECT_TRUE(Exists("a.wav"));
    // Names are names: no way out of the folder.
    EXPECT_FALSE(dlg.RenameRowFile(0, _T("..\\a.wav")));
    EXPECT_FALSE(dlg.RenameRowFile(0, _T("")));
    EXPECT_TRUE(Exists("a.wav"));

    // A failed move keeps both files: the one it would replace too.
    HANDLE hHeld = HoldOpen(a);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    bool bAsked = false;
    {
        shelltest::ModalScript script({[&] {
            CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
            if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, IDYES)))
                return false;
            bAsked = true;
            ::SetForegroundWindow(pBox->m_hWnd);
            shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, IDYES)));
            return true;
        }});
        EXPECT_FALSE(dlg.RenameRowFile(0, _T("b.wav")));
        EXPECT_FALSE(script.Stalled());
    }
    ::CloseHandle(hHeld);
    EXPECT_TRUE(bAsked);
    EXPECT_TRUE(Exists("a.wav") && Exists("b.wav"));
    EXPECT_EQ("a.wav", Cell(0, 1));
    EXPECT_EQ("00:02", Cell(0, 3));

    // Declined: nothing changes.
    {
        shelltest::ModalScript script({[&] {
            CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
            if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, IDNO)))
                return false;
            shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, IDNO)));
            return true;
        }});
        EXPECT_FALSE(dlg.RenameRowFile(0, _T("b.wav")));
    }
    EXPECT_TRUE(Exists("a.wav") && Exists("b.wav"));

    // Accepted: the two-second file takes the name, read again.
    {
        shelltest::ModalScript script({[&] {
            CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
            if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, IDYES)))
                return false;
            shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, IDYES)));
            return true;
        }});
        EXPECT_TRUE(dlg.RenameRowFile(0, _T("b.wav")));
    }
    EXPECT_FALSE(Exists("a.wav"));
    EXPECT_TRUE(Exists("b.wav"));
    EXPECT_EQ("b.wav", Cell(0, 1));
    CFileDesc* pItem = dlg.GetRowItem(0);
    EXPECT_EQ(Narrow(m_folder.windows + _T("b.wav")), Narrow(pItem->m_strPath));
    EXPECT_TRUE(pItem->m_bRead);
    EXPECT_NEAR(2000, pItem->GetAudioDuration(), 50);
}

TEST_F(FileListTest, TheContextMenuOpensOnlyWhileNotRecordingAndDeletes)
{
    StoreList({MakeSound("one.wav", 1), MakeSound("two.wav", 1)});
    OpenRecorder();
    ClickRow(0);

    bool bShown = false;
    {
        shelltest::ModalScript script({[&] {
            CQVTPopupBar* pPopup = shelltest::FindThreadWindow<CQVTPopupBar>();
            if (!pPopup)
                return false;
            bShown = true;
            // The first item is Delete File.
            shelltest::QueueKey(VK_DOWN);
            shelltest::QueueKey(VK_RETURN);
            return true;
        }});
        MouseMoveTo(RowPoint(0));
        SendMouse(MOUSEEVENTF_RIGHTDOWN);
        SendMouse(MOUSEEVENTF_RIGHTUP);
        PumpTranslated(300);
        EXPECT_FALSE(script.Stalled());
    }
    EXPECT_TRUE(bShown);
    EXPECT_EQ((std::vector<std::string>{"two.wav"}), Names());

    m_pHost->m_bRecording = TRUE;
    MouseMoveTo(RowPoint(0));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    PumpTranslated(300);
    EXPECT_TRUE(shelltest::FindThreadWindow<CQVTPopupBar>() == nullptr);
    m_pHost->m_bRecording = FALSE;

    // The popup's sound started the toolkit's sound thread. The program
    // ends it in its toolkit shut-down; a test program would end it only in
    // its static destructors, where waiting for a thread's end never returns.
    QVTSoundPlayer()->Stop();
}

}  // namespace
