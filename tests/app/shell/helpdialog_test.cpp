// The about box as a user meets it: the description first, the licence and
// back by real clicks, the version and legal lines, the bold markup Donate
// button, the two links and Donate handing their addresses to the link
// handler (the support link only on its text), and the texts of a language
// resource in place of the program's own.
#include "sondrel_gtest.h"

#include "app/program/HelpDialog.h"
#include "app/program/ShellResource.h"
#include "app/program/SondrelApp.h"
#include "shell_test_support.h"
#include "tests/common/screen_test_support.h"
#include "tests/support/url_catcher.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

using namespace shelltest;

namespace {

// A point on a static's text (its left end) or beside it (its right end).
POINT OnText(HWND hStatic)
{
    RECT rc;
    ::GetWindowRect(hStatic, &rc);
    return {rc.left + 4, (rc.top + rc.bottom) / 2};
}
POINT BesideText(HWND hStatic)
{
    RECT rc;
    ::GetWindowRect(hStatic, &rc);
    return {rc.right - 4, (rc.top + rc.bottom) / 2};
}

class CTestHelpDialog : public CHelpDialog
{
public:
    // The support link's address, which its tip shows.
    CString SupportTip() { return m_wndSupportLink.GetURL(); }
};

}  // namespace

TEST(AboutBox, ShowsTheDescriptionFirstAndTheLicenceOnRequest)
{
    CSondrelApp app;
    CTestHelpDialog dlg;
    CString strCaption, strVersion, strLegal, strFirst, strLicense, strBack, strDonate, strSupport, strSite;
    LRESULT nSelection = -1;
    ModalScript script({[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
                        [&] {
                            strCaption = WindowText(dlg.m_hWnd);
                            strVersion = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_VERSION));
                            strLegal = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_LEGAL));
                            strDonate = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_DONATE));
                            strSupport = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_SUPPORT_LINK));
                            strSite = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_SITE_LINK));
                            strFirst = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_TEXT));
                            nSelection =
                                ::SendMessageW(::GetDlgItem(dlg.m_hWnd, IDC_HELP_TEXT), EM_GETSEL, 0, 0);
                            ::SetForegroundWindow(dlg.m_hWnd);
                            QueueClickAt(WindowCentre(::GetDlgItem(dlg.m_hWnd, IDC_HELP_LICENSE)));
                            return true;
                        },
                        [&] {
                            strLicense = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_TEXT));
                            QueueClickAt(WindowCentre(::GetDlgItem(dlg.m_hWnd, IDC_HELP_CREDITS)));
                            return true;
                        },
                        [&] {
                            strBack = WindowText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_TEXT));
                            QueueClickAt(WindowCentre(::GetDlgItem(dlg.m_hWnd, IDC_HELP_CLOSE)));
                            return true;
                        }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(strCaption, CString(_T("About Sondrel")));
    EXPECT_EQ(strVersion, CString(_T("Version 1.2.6.196")));
    EXPECT_FALSE(strLegal.IsEmpty());
    EXPECT_EQ(strDonate, CString(_T("<TextBlock><Run FontWeight='Bold'>Donate...</Run></TextBlock>")));
    EXPECT_EQ(strSupport, CString(_T("support@quorvane.example")));
    EXPECT_EQ(strSite, CString(_T("www.quorvane.example")));
    // The marks are read, not shown: UTF-8 for the description, UTF-16 for
    // the licence.
    EXPECT_EQ(strFirst.Left(36), CString(_T("Sondrel records sound from your comp")));
    // Shown from its start, nothing selected.
    EXPECT_EQ(nSelection, 0);
    EXPECT_EQ(strLicense.Left(25), CString(_T("Sondrel licence agreement")));
    EXPECT_GE(strLicense.Find(_T("\r\n1. You may install")), 0);
    EXPECT_EQ(strBack, strFirst);
    EXPECT_EQ(dlg.SupportTip(), CString(_T("Send a letter to support")));
}

TEST(AboutBox, LinksAndDonateHandTheirAddressesToTheShell)
{
    CSondrelApp app;
    std::u16string log = urlcatcher::RegisterUrlCatcher(u"C:\\aboutbox_urls.log");
    CTestHelpDialog dlg;
    size_t nAfterBeside = 99;
    DWORD dwBesideAt = 0;
    ModalScript script({[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
                        [&] {
                            ::SetForegroundWindow(dlg.m_hWnd);
                            // Beside the support link's text a click sends nothing.
                            QueueClickAt(BesideText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_SUPPORT_LINK)));
                            dwBesideAt = ::GetTickCount();
                            return true;
                        },
                        [&] {
                            if (::GetTickCount() - dwBesideAt < 1500)
                                return false;
                            nAfterBeside = urlcatcher::CaughtUrls(log).size();
                            QueueClickAt(OnText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_SUPPORT_LINK)));
                            return true;
                        },
                        [&] { return urlcatcher::CaughtUrls(log).size() >= 1; },
                        [&] {
                            QueueClickAt(OnText(::GetDlgItem(dlg.m_hWnd, IDC_HELP_SITE_LINK)));
                            return true;
                        },
                        [&] { return urlcatcher::CaughtUrls(log).size() >= 2; },
                        [&] {
                            QueueClickAt(WindowCentre(::GetDlgItem(dlg.m_hWnd, IDC_HELP_DONATE)));
                            return true;
                        },
                        [&] { return urlcatcher::CaughtUrls(log).size() >= 3; },
                        [&] {
                            QueueKey(VK_ESCAPE);
                            return true;
                        }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(nAfterBeside, 0u);
    std::vector<std::string> urls = urlcatcher::CaughtUrls(log);
    ASSERT_EQ(urls.size(), 3u);
    EXPECT_EQ(urls[0].rfind("mailto:support@quorvane.example?subject=", 0), 0u) << urls[0];
    EXPECT_EQ(urlcatcher::MailField(urls[0], "subject"), "Support Sondrel -- www.quorvane.example");
    EXPECT_NE(urlcatcher::MailField(urls[0], "body").find("OS version info: Windows 7 "), std::string::npos);
    EXPECT_EQ(urls[1], "https://www.quorvane.example/");
    EXPECT_EQ(urls[2], "https://www.quorvane.example/donate/");
}

TEST(AboutBox, ALanguageResourceGivesItsOwnTextsAndLacksFallBackToTheProgram)
{
    const CString strOwnDescription = CHelpDialog::LoadTextResource(IDT_DESCRIPTION);
    const CString strOwnLicense = CHelpDialog::LoadTextResource(IDT_LICENSE);
    ASSERT_FALSE(strOwnDescription.IsEmpty());
    ASSERT_FALSE(strOwnLicense.IsEmpty());
    EXPECT_NE(strOwnDescription[0], static_cast<WCHAR>(0xFEFF));
    EXPECT_NE(strOwnLicense[0], static_cast<WCHAR>(0xFEFF));

    const std::u16string folder = urlcatcher::ModuleFolder() + u"language_test_data\\Localizations\\";
    HMODULE hRussian = ::LoadLibraryExW(reinterpret_cast<LPCWSTR>((folder + u"russian.dll").c_str()), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE);
    HMODULE hChinese = ::LoadLibraryExW(
        reinterpret_cast<LPCWSTR>((folder + u"Chinese (Simplified), Simplified.dll").c_str()), nullptr,
        LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hRussian != nullptr && hChinese != nullptr);
    HMODULE hBefore = CQVTResourceManager::GetResourceHandle();

    QVTResourceManager()->SetResourceHandle(hRussian);
    const CString strDescription = CHelpDialog::LoadTextResource(IDT_DESCRIPTION);
    const CString strLicense = CHelpDialog::LoadTextResource(IDT_LICENSE);
    QVTResourceManager()->SetResourceHandle(hChinese);
    const CString strFallback = CHelpDialog::LoadTextResource(IDT_DESCRIPTION);
    QVTResourceManager()->SetResourceHandle(hBefore);
    ::FreeLibrary(hRussian);
    ::FreeLibrary(hChinese);

    EXPECT_EQ(strDescription,
              CString(_T("Сондрел записывает звук с устройств записи вашего компьютера.\r\n")));
    EXPECT_EQ(
        strLicense,
        CString(_T("Лицензионное соглашение Сондрел\r\n\r\nПрограмма предоставляется «как есть».\r\n")));
    EXPECT_EQ(strFallback, strOwnDescription);
    // Neither module has a text of this id.
    EXPECT_EQ(CHelpDialog::LoadTextResource(4321), CString());
}

// The legal notice as the screen shows it: its static holds the whole text
// in the dialog's font (on one line or wrapped), overlaps no other control,
// and shows as much ink as the whole text drawn apart in that font.
TEST(AboutBox, TheLegalNoticeShowsWholeInTheDialogsFont)
{
    CSondrelApp app;
    CTestHelpDialog dlg;
    CString strLegal;
    CRect rcLegal, rcClient;
    std::vector<CRect> others;
    CSize szText(0, 0);
    CRect rcWrapped;
    int nShownInk = -1, nWholeInk = -1;
    ModalScript script(
        {[&] { return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd); },
         [&] {
             HWND hLegal = ::GetDlgItem(dlg.m_hWnd, IDC_HELP_LEGAL);
             strLegal = WindowText(hLegal);
             ::GetWindowRect(hLegal, &rcLegal);
             ::GetClientRect(dlg.m_hWnd, &rcClient);
             ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&rcLegal), 2);
             for (HWND h = ::GetWindow(dlg.m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
             {
                 CRect rc;
                 ::GetWindowRect(h, &rc);
                 ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
                 if (h != hLegal && ::IsWindowVisible(h))
                     others.push_back(rc);
             }
             HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hLegal, WM_GETFONT, 0, 0));
             const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
             auto shown = screentest::Capture(hLegal);
             nShownInk = screentest::InkIn(*shown, CRect(0, 0, shown->Width(), shown->Height()), clrFace);
             // The whole text in the same font, wrapped at the static's width,
             // on a canvas high enough for every line.
             DibCanvas whole(rcLegal.Width(), rcLegal.Height() * 4 + 40, clrFace);
             HGDIOBJ hOld = ::SelectObject(whole.dc.m_hDC, hFont);
             ::GetTextExtentPoint32W(whole.dc.m_hDC, strLegal, strLegal.GetLength(), &szText);
             rcWrapped.SetRect(0, 0, rcLegal.Width(), 0);
             ::DrawTextW(whole.dc.m_hDC, strLegal, -1, &rcWrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
             ::SetTextColor(whole.dc.m_hDC, ::GetSysColor(COLOR_WINDOWTEXT));
             ::SetBkMode(whole.dc.m_hDC, TRANSPARENT);
             CRect rcDraw(0, 0, rcLegal.Width(), whole.Height());
             ::DrawTextW(whole.dc.m_hDC, strLegal, -1, &rcDraw, DT_WORDBREAK | DT_NOPREFIX);
             ::SelectObject(whole.dc.m_hDC, hOld);
             nWholeInk = screentest::InkIn(whole, CRect(0, 0, whole.Width(), whole.Height()), clrFace);
             QueueKey(VK_ESCAPE);
             return true;
         }});
    dlg.DoModal();
    EXPECT_FALSE(script.Stalled());
    ASSERT_EQ(strLegal, CString(_T("Copyright (C) 2026 Quorvane. All rights reserved.")));
    ASSERT_GT(szText.cx, 0);
    // One line as wide as the text, or the lines it wraps to in full.
    if (rcLegal.Width() < szText.cx)
    {
        EXPECT_GE(rcLegal.Height(), rcWrapped.Height()) << "the wrapped notice is cut";
    }
    EXPECT_TRUE(rcClient.left <= rcLegal.left && rcLegal.right <= rcClient.right &&
                rcLegal.bottom <= rcClient.bottom);
    for (const CRect& rc : others)
    {
        CRect rcCommon;
        EXPECT_FALSE(rcCommon.IntersectRect(rc, rcLegal))
            << "the notice overlaps a control at " << rc.left << "," << rc.top;
    }
    ASSERT_GT(nWholeInk, 0);
    EXPECT_GE(nShownInk * 100, nWholeInk * 95) << "shown " << nShownInk << " of " << nWholeInk;
}
