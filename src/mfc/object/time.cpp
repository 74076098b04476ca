// CTime and CTimeSpan: conversions, components and strftime-style formatting.
#include <afx.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
const LONGLONG kEpochDifference = 116444736000000000LL;
const LONGLONG kTicksPerSecond = 10000000LL;

const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void Append(std::u16string& out, const char* text)
{
    for (; *text != 0; ++text)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
}

void AppendNumber(std::u16string& out, long long value, int width, bool trimZeros)
{
    char buffer[32];
    if (trimZeros)
        std::snprintf(buffer, sizeof buffer, "%lld", value);
    else
        std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    Append(out, buffer);
}

void AppendAbbreviation(std::u16string& out, const char* name)
{
    char buffer[4] = {name[0], name[1], name[2], 0};
    Append(out, buffer);
}

// Week of the year with weeks starting on firstDay (0 Sunday, 1 Monday).
int WeekNumber(const struct tm& t, int firstDay)
{
    int weekday = (t.tm_wday + 7 - firstDay) % 7;
    return (t.tm_yday + 7 - weekday) / 7;
}

// ISO 8601 week number and its year.
void IsoWeek(const struct tm& t, int& week, int& year)
{
    year = t.tm_year + 1900;
    int wday = (t.tm_wday + 6) % 7;  // Monday 0
    int yday = t.tm_yday;
    auto isLeap = [](int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
    week = (yday - wday + 10) / 7;
    if (week < 1)
    {
        --year;
        int prevDays = isLeap(year) ? 366 : 365;
        week = (yday + prevDays - wday + 10) / 7;
    }
    else
    {
        int days = isLeap(year) ? 366 : 365;
        if (yday - wday + 3 >= days)  // Thursday of this week is next year
        {
            week = 1;
            ++year;
        }
    }
}

long TimeZoneOffsetMinutes(const struct tm& t, bool utc)
{
    if (utc)
        return 0;
    return t.tm_gmtoff / 60;
}

void FormatTm(std::u16string& out, const char16_t* format, const struct tm& t, bool utc)
{
    for (const char16_t* p = format; *p != 0; ++p)
    {
        if (*p != u'%')
        {
            out.push_back(*p);
            continue;
        }
        ++p;
        bool alternate = false;
        if (*p == u'#')
        {
            alternate = true;
            ++p;
        }
        switch (*p)
        {
        case 0:
            return;
        case u'a':
            AppendAbbreviation(out, kDayNames[t.tm_wday % 7]);
            break;
        case u'A':
            Append(out, kDayNames[t.tm_wday % 7]);
            break;
        case u'b':
        case u'h':
            AppendAbbreviation(out, kMonthNames[t.tm_mon % 12]);
            break;
        case u'B':
            Append(out, kMonthNames[t.tm_mon % 12]);
            break;
        case u'c':
            if (alternate)
            {
                FormatTm(out, u"%A, %B %#d, %Y %H:%M:%S", t, utc);
            }
            else
            {
                FormatTm(out, u"%m/%d/%y %H:%M:%S", t, utc);
            }
            break;
        case u'C':
            AppendNumber(out, (t.tm_year + 1900) / 100, 2, alternate);
            break;
        case u'd':
            AppendNumber(out, t.tm_mday, 2, alternate);
            break;
        case u'D':
            FormatTm(out, u"%m/%d/%y", t, utc);
            break;
        case u'e':
        {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, alternate ? "%d" : "%2d", t.tm_mday);
            Append(out, buffer);
            break;
        }
        case u'F':
            FormatTm(out, u"%Y-%m-%d", t, utc);
            break;
        case u'g':
        {
            int week, year;
            IsoWeek(t, week, year);
            AppendNumber(out, year % 100, 2, alternate);
            break;
        }
        case u'G':
        {
            int week, year;
            IsoWeek(t, week, year);
            AppendNumber(out, year, 4, alternate);
            break;
        }
        case u'H':
            AppendNumber(out, t.tm_hour, 2, alternate);
            break;
        case u'I':
            AppendNumber(out, t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12, 2, alternate);
            break;
        case u'j':
            AppendNumber(out, t.tm_yday + 1, 3, alternate);
            break;
        case u'm':
            AppendNumber(out, t.tm_mon + 1, 2, alternate);
            break;
        case u'M':
            AppendNumber(out, t.tm_min, 2, alternate);
            break;
        case u'n':
            out.push_back(u'\n');
            break;
        case u'p':
            Append(out, t.tm_hour < 12 ? "AM" : "PM");
            break;
        case u'r':
            FormatTm(out, u"%I:%M:%S %p", t, utc);
            break;
        case u'R':
            FormatTm(out, u"%H:%M", t, utc);
            break;
        case u'S':
            AppendNumber(out, t.tm_sec, 2, alternate);
            break;
        case u't':
            out.push_back(u'\t');
            break;
        case u'T':
            FormatTm(out, u"%H:%M:%S", t, utc);
            break;
        case u'u':
            AppendNumber(out, t.tm_wday == 0 ? 7 : t.tm_wday, 1, alternate);
            break;
        case u'U':
            AppendNumber(out, WeekNumber(t, 0), 2, alternate);
            break;
        case u'V':
        {
            int week, year;
            IsoWeek(t, week, year);
            AppendNumber(out, week, 2, alternate);
            break;
        }
        case u'w':
            AppendNumber(out, t.tm_wday, 1, alternate);
            break;
        case u'W':
            AppendNumber(out, WeekNumber(t, 1), 2, alternate);
            break;
        case u'x':
            if (alternate)
                FormatTm(out, u"%A, %B %#d, %Y", t, utc);
            else
                FormatTm(out, u"%m/%d/%y", t, utc);
            break;
        case u'X':
            FormatTm(out, u"%H:%M:%S", t, utc);
            break;
        case u'y':
            AppendNumber(out, (t.tm_year + 1900) % 100, 2, alternate);
            break;
        case u'Y':
            AppendNumber(out, t.tm_year + 1900, 4, alternate);
            break;
        case u'z':
        {
            long minutes = TimeZoneOffsetMinutes(t, utc);
            char buffer[48];
            std::snprintf(buffer, sizeof buffer, "%c%02ld%02ld", minutes < 0 ? '-' : '+',
                          (minutes < 0 ? -minutes : minutes) / 60, (minutes < 0 ? -minutes : minutes) % 60);
            Append(out, buffer);
            break;
        }
        case u'Z':
            Append(out, utc ? "UTC" : (t.tm_zone != nullptr ? t.tm_zone : ""));
            break;
        case u'%':
            out.push_back(u'%');
            break;
        default:
            // Unknown codes are kept as written.
            out.push_back(u'%');
            out.push_back(*p);
            break;
        }
    }
}

CString ToCString(const std::u16string& text)
{
    return CString(text.data(), static_cast<int>(text.size()));
}

CString LoadFormat(UINT nFormatID)
{
    CString format;
    format.LoadString(nFormatID);
    return format;
}

}  // namespace

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept
    : m_timeSpan(nSecs +
                 60 * (static_cast<__time64_t>(nMins) + 60 * (nHours + static_cast<__time64_t>(24) * lDays)))
{
}

CString CTimeSpan::Format(LPCTSTR pFormat) const
{
    std::u16string out;
    if (pFormat == nullptr)
        return CString();
    for (const char16_t* p = pFormat; *p != 0; ++p)
    {
        if (*p != u'%')
        {
            out.push_back(*p);
            continue;
        }
        ++p;
        switch (*p)
        {
        case 0:
            return ToCString(out);
        case u'D':
            AppendNumber(out, GetDays(), 1, true);
            break;
        case u'H':
            AppendNumber(out, GetHours(), 2, false);
            break;
        case u'M':
            AppendNumber(out, GetMinutes(), 2, false);
            break;
        case u'S':
            AppendNumber(out, GetSeconds(), 2, false);
            break;
        case u'%':
            out.push_back(u'%');
            break;
        default:
            out.push_back(u'%');
            out.push_back(*p);
            break;
        }
    }
    return ToCString(out);
}

CString CTimeSpan::Format(UINT nFormatID) const
{
    return Format(LoadFormat(nFormatID));
}

CTime WINAPI CTime::GetCurrentTime() noexcept
{
    return CTime(static_cast<__time64_t>(std::time(nullptr)));
}

BOOL WINAPI CTime::IsValidFILETIME(const FILETIME& ft) noexcept
{
    ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks >= static_cast<ULONGLONG>(kEpochDifference);
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    // Out-of-range components are refused, as the framework does.
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 ||
        nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        AfxThrowInvalidArgException();
    struct tm t = {};
    t.tm_year = nYear - 1900;
    t.tm_mon = nMonth - 1;
    t.tm_mday = nDay;
    t.tm_hour = nHour;
    t.tm_min = nMin;
    t.tm_sec = nSec;
    t.tm_isdst = nDST;
    time_t value = std::mktime(&t);
    if (value == static_cast<time_t>(-1))
        AfxThrowInvalidArgException();
    m_time = value;
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime(1980 + (wDosDate >> 9), (wDosDate >> 5) & 0x0F, wDosDate & 0x1F, wDosTime >> 11,
            (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST)
{
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{
}

CTime::CTime(const FILETIME& ft, int)
{
    // A FILETIME is UTC already; no round trip through local time needed.
    if (!IsValidFILETIME(ft))
        AfxThrowInvalidArgException();
    ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    m_time = static_cast<__time64_t>((ticks - kEpochDifference) / kTicksPerSecond);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (ptm == nullptr)
        return nullptr;
    time_t value = static_cast<time_t>(m_time);
    return gmtime_r(&value, ptm);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (ptm == nullptr)
        return nullptr;
    time_t value = static_cast<time_t>(m_time);
    return localtime_r(&value, ptm);
}

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (GetLocalTm(&t) == nullptr)
        return false;
    st.wYear = static_cast<WORD>(t.tm_year + 1900);
    st.wMonth = static_cast<WORD>(t.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st.wDay = static_cast<WORD>(t.tm_mday);
    st.wHour = static_cast<WORD>(t.tm_hour);
    st.wMinute = static_cast<WORD>(t.tm_min);
    st.wSecond = static_cast<WORD>(t.tm_sec);
    st.wMilliseconds = 0;
    return true;
}

namespace {

struct tm LocalParts(__time64_t value)
{
    struct tm t = {};
    time_t v = static_cast<time_t>(value);
    localtime_r(&v, &t);
    return t;
}

}  // namespace

int CTime::GetYear() const
{
    return LocalParts(m_time).tm_year + 1900;
}
int CTime::GetMonth() const
{
    return LocalParts(m_time).tm_mon + 1;
}
int CTime::GetDay() const
{
    return LocalParts(m_time).tm_mday;
}
int CTime::GetHour() const
{
    return LocalParts(m_time).tm_hour;
}
int CTime::GetMinute() const
{
    return LocalParts(m_time).tm_min;
}
int CTime::GetSecond() const
{
    return LocalParts(m_time).tm_sec;
}
int CTime::GetDayOfWeek() const
{
    return LocalParts(m_time).tm_wday + 1;
}

CString CTime::Format(LPCTSTR pszFormat) const
{
    if (pszFormat == nullptr)
        return CString();
    struct tm t;
    if (GetLocalTm(&t) == nullptr)
        return CString();
    std::u16string out;
    FormatTm(out, pszFormat, t, false);
    return ToCString(out);
}

CString CTime::FormatGmt(LPCTSTR pszFormat) const
{
    if (pszFormat == nullptr)
        return CString();
    struct tm t;
    if (GetGmtTm(&t) == nullptr)
        return CString();
    std::u16string out;
    FormatTm(out, pszFormat, t, true);
    return ToCString(out);
}

CString CTime::Format(UINT nFormatID) const
{
    return Format(LoadFormat(nFormatID));
}

CString CTime::FormatGmt(UINT nFormatID) const
{
    return FormatGmt(LoadFormat(nFormatID));
}
