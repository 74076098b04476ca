// The product's name, version and addresses: the one place the about box,
// the support mail, the message box footer and crash reporting take them
// from.
#pragma once

#include <tchar.h>

namespace ProductInfo {

const TCHAR kName[] = _T("Sondrel");
// The resource version; shown and reported with its commas as points.
const TCHAR kVersion[] = _T("1,2,6,196");
const TCHAR kMaker[] = _T("Quorvane");

const TCHAR kWebDomain[] = _T("www.quorvane.example");
const TCHAR kWebSite[] = _T("https://www.quorvane.example/");
const TCHAR kDonationPage[] = _T("https://www.quorvane.example/donate/");
const TCHAR kSupportMail[] = _T("support@quorvane.example");
const TCHAR kCrashReportMail[] = _T("crashreport@quorvane.example");
const TCHAR kCrashReportServer[] = _T("https://crash.quorvane.example");
const TCHAR kPrivacyPage[] = _T("https://www.quorvane.example/services/redirect.aspx");

// The Windows Media Format redistributable and the SHA-256 digest it must
// have: a download with another digest is deleted, never run. The digest
// changes with every file published at that address.
const TCHAR kWMInstallerUrl[] = _T("https://www.quorvane.example/downloads/WMFdist.exe");
const TCHAR kWMInstallerSha256[] = _T("5b3e9c0a7d2f41e68c1b0a9f3d7e6c5b4a3928170f6e5d4c3b2a190817263544");

const TCHAR kLegalNotice[] = _T("Copyright (C) 2026 Quorvane. All rights reserved.");

}  // namespace ProductInfo
