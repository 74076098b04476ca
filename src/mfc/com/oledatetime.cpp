// COleDateTime and COleDateTimeSpan over automation DATE values.
#include <afxdisp.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// 0100-01-01 00:00 and the first moment after 9999-12-31 23:59:59.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDateExclusive = 2958466.0;
constexpr long kSecondsPerDay = 86400;
constexpr long kEpochToUnixDays = 25569;  // 1899-12-30 to 1970-01-01

bool InRange(DATE dt)
{
    return dt > kMinDate - 1.0 && dt < kMaxDateExclusive;
}

// DATE to a value that grows with time: before the epoch the fraction of
// -1.25 (1899-12-29 06:00) counts forward, so it becomes -0.75.
double LinearFromDate(DATE dt)
{
    if (dt >= 0)
        return dt;
    double whole = std::ceil(dt);
    return whole - (dt - whole);
}

DATE DateFromLinear(double linear)
{
    if (linear >= 0)
        return linear;
    double whole = std::floor(linear);
    return whole + (whole - linear);
}

long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + long(doe) - 719468;  // days since 1970-01-01
}

void CivilFromDays(long z, int& year, int& month, int& day)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(long(yoe) + era * 400 + (month <= 2));
}

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

struct DateParts
{
    int year, month, day, hour, minute, second;
    int dayOfWeek;  // 1 = Sunday
    int dayOfYear;  // 1 = January 1st
};

// Rounded to the nearest second, as dates are shown.
bool Breakdown(DATE dt, DateParts& parts)
{
    if (!InRange(dt))
        return false;
    long seconds = std::lround(LinearFromDate(dt) * kSecondsPerDay);
    long days = seconds / kSecondsPerDay;
    long inDay = seconds % kSecondsPerDay;
    if (inDay < 0)
    {
        inDay += kSecondsPerDay;
        --days;
    }
    CivilFromDays(days - kEpochToUnixDays, parts.year, parts.month, parts.day);
    if (parts.year > 9999)
        return false;  // rounded past the last second
    parts.hour = int(inDay / 3600);
    parts.minute = int(inDay / 60 % 60);
    parts.second = int(inDay % 60);
    // 1899-12-30 was a Saturday.
    parts.dayOfWeek = int(((days % 7 + 7) % 7 + 6) % 7) + 1;
    parts.dayOfYear = int(days - kEpochToUnixDays - DaysFromCivil(parts.year, 1, 1)) + 1;
    return true;
}

bool Compose(int year, int month, int day, int hour, int minute, int second, DATE& dt)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    long days = DaysFromCivil(year, unsigned(month), unsigned(day)) + kEpochToUnixDays;
    long seconds = days * kSecondsPerDay + hour * 3600L + minute * 60L + second;
    dt = DateFromLinear(double(seconds) / kSecondsPerDay);
    return true;
}

const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void AppendAscii(CString& out, const char* text)
{
    while (*text)
        out += TCHAR(static_cast<unsigned char>(*text++));
}

void AppendNumber(CString& out, long value, int width, bool dropZeros)
{
    char text[32];
    snprintf(text, sizeof text, "%0*ld", dropZeros ? 1 : width, value);
    AppendAscii(out, text);
}

CString FromBstr(BSTR text)
{
    CString result(text ? text : u"", int(SysStringLen(text)));
    SysFreeString(text);
    return result;
}

}  // namespace

// ---- COleDateTimeSpan -------------------------------------------------------

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) noexcept
    : m_span(dblSpanSrc), m_status(std::isfinite(dblSpanSrc) ? valid : invalid)
{
}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept
{
    m_span = lDays + nHours / 24.0 + nMins / 1440.0 + nSecs / 86400.0;
    m_status = valid;
}

namespace {
long TotalSeconds(double span)
{
    return std::lround(span * kSecondsPerDay);
}
}  // namespace

LONG COleDateTimeSpan::GetDays() const noexcept
{
    return LONG(TotalSeconds(m_span) / kSecondsPerDay);
}

LONG COleDateTimeSpan::GetHours() const noexcept
{
    return LONG(TotalSeconds(m_span) / 3600 % 24);
}

LONG COleDateTimeSpan::GetMinutes() const noexcept
{
    return LONG(TotalSeconds(m_span) / 60 % 60);
}

LONG COleDateTimeSpan::GetSeconds() const noexcept
{
    return LONG(TotalSeconds(m_span) % 60);
}

COleDateTimeSpan& COleDateTimeSpan::operator=(double dblSpanSrc) noexcept
{
    return *this = COleDateTimeSpan(dblSpanSrc);
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const noexcept
{
    return m_status == other.m_status && (m_status != valid || m_span == other.m_span);
}

bool COleDateTimeSpan::operator!=(const COleDateTimeSpan& other) const noexcept
{
    return !(*this == other);
}

bool COleDateTimeSpan::operator<(const COleDateTimeSpan& other) const noexcept
{
    return m_span < other.m_span;
}

bool COleDateTimeSpan::operator>(const COleDateTimeSpan& other) const noexcept
{
    return m_span > other.m_span;
}

bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& other) const noexcept
{
    return m_span <= other.m_span;
}

bool COleDateTimeSpan::operator>=(const COleDateTimeSpan& other) const noexcept
{
    return m_span >= other.m_span;
}

namespace {
// Invalid wins over null, null over valid.
int CombinedStatus(int a, int b)
{
    if (a == 1 || b == 1)
        return 1;
    if (a == 2 || b == 2)
        return 2;
    return 0;
}
}  // namespace

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const noexcept
{
    COleDateTimeSpan result(m_span + other.m_span);
    int status = CombinedStatus(m_status, other.m_status);
    if (status != valid)
        result.m_status = DateTimeSpanStatus(status);
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const noexcept
{
    return *this + (-other);
}

COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan other) noexcept
{
    return *this = *this + other;
}

COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan other) noexcept
{
    return *this = *this - other;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const noexcept
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}

CString COleDateTimeSpan::Format(LPCTSTR pFormat) const
{
    CString out;
    if (m_status == null)
        return out;
    if (m_status != valid || !pFormat)
    {
        out = _T("Invalid DateTimeSpan");
        return out;
    }
    for (const TCHAR* p = pFormat; *p; ++p)
    {
        if (*p != u'%' || !p[1])
        {
            out += *p;
            continue;
        }
        switch (*++p)
        {
        case u'D':
            AppendNumber(out, GetDays(), 1, true);
            break;
        case u'H':
            AppendNumber(out, std::labs(GetHours()), 2, false);
            break;
        case u'M':
            AppendNumber(out, std::labs(GetMinutes()), 2, false);
            break;
        case u'S':
            AppendNumber(out, std::labs(GetSeconds()), 2, false);
            break;
        case u'%':
            out += u'%';
            break;
        default:
            out += u'%';
            out += *p;
        }
    }
    return out;
}

CString COleDateTimeSpan::Format(UINT nID) const
{
    CString format;
    format.LoadString(nID);
    return Format(static_cast<LPCTSTR>(format));
}

// ---- COleDateTime -----------------------------------------------------------

COleDateTime WINAPI COleDateTime::GetCurrentTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return COleDateTime(now);
}

COleDateTime::COleDateTime(const VARIANT& varSrc) : m_dt(0), m_status(valid)
{
    *this = varSrc;
}

COleDateTime::COleDateTime(DATE dtSrc) noexcept : m_dt(0), m_status(valid)
{
    *this = dtSrc;
}

COleDateTime::COleDateTime(time_t timeSrc) noexcept : m_dt(0), m_status(valid)
{
    *this = timeSrc;
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc) noexcept : m_dt(0), m_status(valid)
{
    *this = systimeSrc;
}

COleDateTime::COleDateTime(const FILETIME& filetimeSrc) noexcept : m_dt(0), m_status(valid)
{
    *this = filetimeSrc;
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) noexcept
    : m_dt(0), m_status(valid)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(WORD wDosDate, WORD wDosTime) noexcept : m_dt(0), m_status(valid)
{
    m_status = DosDateTimeToVariantTime(wDosDate, wDosTime, &m_dt) ? valid : invalid;
    if (m_status != valid)
        m_dt = 0;
}

COleDateTime& COleDateTime::operator=(const VARIANT& varSrc)
{
    if (varSrc.vt == VT_DATE)
    {
        return *this = varSrc.date;
    }
    if (varSrc.vt == VT_NULL)
    {
        m_dt = 0;
        m_status = null;
        return *this;
    }
    VARIANT converted;
    VariantInit(&converted);
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&varSrc), 0, VT_DATE)))
    {
        *this = converted.date;
    }
    else
    {
        m_dt = 0;
        m_status = invalid;
    }
    VariantClear(&converted);
    return *this;
}

COleDateTime& COleDateTime::operator=(DATE dtSrc) noexcept
{
    m_dt = dtSrc;
    m_status = InRange(dtSrc) ? valid : invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(const time_t& timeSrc) noexcept
{
    // Seconds since 1970 in UTC to a FILETIME, then to local time.
    constexpr long long kUnixToFileTime = 11644473600LL;
    if (timeSrc < -kUnixToFileTime || timeSrc > 253402300799LL)
    {
        m_dt = 0;
        m_status = invalid;
        return *this;
    }
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (ULONGLONG)(timeSrc + kUnixToFileTime) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = ticks.LowPart;
    ft.dwHighDateTime = ticks.HighPart;
    return *this = ft;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& st) noexcept
{
    SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& filetimeSrc) noexcept
{
    // Daylight saving as it was on that date, not as it is today.
    SYSTEMTIME utc, local;
    if (FileTimeToSystemTime(&filetimeSrc, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return *this = local;
    m_dt = 0;
    m_status = invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(const UDATE& udate) noexcept
{
    m_status = SUCCEEDED(VarDateFromUdate(const_cast<UDATE*>(&udate), 0, &m_dt)) ? valid : invalid;
    if (m_status != valid)
        m_dt = 0;
    return *this;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const noexcept
{
    DateParts parts;
    if (m_status != valid || !Breakdown(m_dt, parts))
        return false;
    st.wYear = WORD(parts.year);
    st.wMonth = WORD(parts.month);
    st.wDay = WORD(parts.day);
    st.wHour = WORD(parts.hour);
    st.wMinute = WORD(parts.minute);
    st.wSecond = WORD(parts.second);
    st.wMilliseconds = 0;
    st.wDayOfWeek = WORD(parts.dayOfWeek - 1);
    return true;
}

bool COleDateTime::GetAsUDATE(UDATE& udate) const noexcept
{
    return m_status == valid && SUCCEEDED(VarUdateFromDate(m_dt, 0, &udate));
}

#define SONDREL_DATE_PART(name, field)                                                                       \
    int COleDateTime::name() const noexcept                                                                  \
    {                                                                                                        \
        DateParts parts;                                                                                     \
        return m_status == valid && Breakdown(m_dt, parts) ? parts.field : AFX_OLE_DATETIME_ERROR;           \
    }
SONDREL_DATE_PART(GetYear, year)
SONDREL_DATE_PART(GetMonth, month)
SONDREL_DATE_PART(GetDay, day)
SONDREL_DATE_PART(GetHour, hour)
SONDREL_DATE_PART(GetMinute, minute)
SONDREL_DATE_PART(GetSecond, second)
SONDREL_DATE_PART(GetDayOfWeek, dayOfWeek)
SONDREL_DATE_PART(GetDayOfYear, dayOfYear)
#undef SONDREL_DATE_PART

bool COleDateTime::operator==(const COleDateTime& other) const noexcept
{
    return m_status == other.m_status &&
           (m_status != valid || LinearFromDate(m_dt) == LinearFromDate(other.m_dt));
}

bool COleDateTime::operator!=(const COleDateTime& other) const noexcept
{
    return !(*this == other);
}

bool COleDateTime::operator<(const COleDateTime& other) const noexcept
{
    return LinearFromDate(m_dt) < LinearFromDate(other.m_dt);
}

bool COleDateTime::operator>(const COleDateTime& other) const noexcept
{
    return LinearFromDate(m_dt) > LinearFromDate(other.m_dt);
}

bool COleDateTime::operator<=(const COleDateTime& other) const noexcept
{
    return LinearFromDate(m_dt) <= LinearFromDate(other.m_dt);
}

bool COleDateTime::operator>=(const COleDateTime& other) const noexcept
{
    return LinearFromDate(m_dt) >= LinearFromDate(other.m_dt);
}

COleDateTime COleDateTime::operator+(COleDateTimeSpan span) const noexcept
{
    COleDateTime result;
    int status = CombinedStatus(m_status, span.m_status);
    if (status != valid)
    {
        result.m_status = DateTimeStatus(status);
        return result;
    }
    result = DateFromLinear(LinearFromDate(m_dt) + span.m_span);
    return result;
}

COleDateTime COleDateTime::operator-(COleDateTimeSpan span) const noexcept
{
    return *this + (-span);
}

COleDateTime& COleDateTime::operator+=(COleDateTimeSpan span) noexcept
{
    return *this = *this + span;
}

COleDateTime& COleDateTime::operator-=(COleDateTimeSpan span) noexcept
{
    return *this = *this - span;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const noexcept
{
    COleDateTimeSpan result(LinearFromDate(m_dt) - LinearFromDate(other.m_dt));
    int status = CombinedStatus(m_status, other.m_status);
    if (status != valid)
    {
        result.m_span = 0;
        result.m_status = COleDateTimeSpan::DateTimeSpanStatus(status);
    }
    return result;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) noexcept
{
    DATE dt;
    if (Compose(nYear, nMonth, nDay, nHour, nMin, nSec, dt))
    {
        m_dt = dt;
        m_status = valid;
    }
    else
    {
        m_dt = 0;
        m_status = invalid;
    }
    return m_status == valid ? 0 : 1;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay) noexcept
{
    return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec) noexcept
{
    // The time alone is a time on the epoch's day.
    return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

bool COleDateTime::ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    DATE dt = 0;
    if (!lpszDate || FAILED(VarDateFromStr(const_cast<LPOLESTR>(lpszDate), lcid, dwFlags, &dt)))
    {
        m_dt = 0;
        m_status = invalid;
        return false;
    }
    *this = dt;
    return m_status == valid;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    if (m_status == null)
        return CString();
    if (m_status != valid)
        return CString(_T("Invalid DateTime"));
    BSTR text = nullptr;
    if (FAILED(VarBstrFromDate(m_dt, lcid, dwFlags, &text)))
        return CString(_T("Invalid DateTime"));
    return FromBstr(text);
}

CString COleDateTime::Format(LPCTSTR lpszFormat) const
{
    CString out;
    if (m_status == null)
        return out;
    DateParts parts;
    if (m_status != valid || !lpszFormat || !Breakdown(m_dt, parts))
    {
        out = _T("Invalid DateTime");
        return out;
    }
    const int weekday = parts.dayOfWeek - 1;  // 0 = Sunday
    const int yday = parts.dayOfYear - 1;
    for (const TCHAR* p = lpszFormat; *p; ++p)
    {
        if (*p != u'%' || !p[1])
        {
            out += *p;
            continue;
        }
        ++p;
        bool alternate = false;
        if (*p == u'#' && p[1])
        {
            alternate = true;
            ++p;
        }
        switch (*p)
        {
        case u'a':
        {
            char shortName[4] = {kDayNames[weekday][0], kDayNames[weekday][1], kDayNames[weekday][2], 0};
            AppendAscii(out, shortName);
            break;
        }
        case u'A':
            AppendAscii(out, kDayNames[weekday]);
            break;
        case u'b':
        {
            const char* m = kMonthNames[parts.month - 1];
            char shortName[4] = {m[0], m[1], m[2], 0};
            AppendAscii(out, shortName);
            break;
        }
        case u'B':
            AppendAscii(out, kMonthNames[parts.month - 1]);
            break;
        case u'c':
            out += Format(alternate ? _T("%A, %B %#d, %Y %H:%M:%S") : _T("%m/%d/%y %H:%M:%S"));
            break;
        case u'x':
            out += Format(alternate ? _T("%A, %B %#d, %Y") : _T("%m/%d/%y"));
            break;
        case u'X':
            out += Format(_T("%H:%M:%S"));
            break;
        case u'd':
            AppendNumber(out, parts.day, 2, alternate);
            break;
        case u'H':
            AppendNumber(out, parts.hour, 2, alternate);
            break;
        case u'I':
            AppendNumber(out, parts.hour % 12 == 0 ? 12 : parts.hour % 12, 2, alternate);
            break;
        case u'j':
            AppendNumber(out, parts.dayOfYear, 3, alternate);
            break;
        case u'm':
            AppendNumber(out, parts.month, 2, alternate);
            break;
        case u'M':
            AppendNumber(out, parts.minute, 2, alternate);
            break;
        case u'S':
            AppendNumber(out, parts.second, 2, alternate);
            break;
        case u'p':
            AppendAscii(out, parts.hour < 12 ? "AM" : "PM");
            break;
        case u'U':
            AppendNumber(out, (yday + 7 - weekday) / 7, 2, alternate);
            break;
        case u'W':
            AppendNumber(out, (yday + 7 - (weekday + 6) % 7) / 7, 2, alternate);
            break;
        case u'w':
            AppendNumber(out, weekday, 1, alternate);
            break;
        case u'y':
            AppendNumber(out, parts.year % 100, 2, alternate);
            break;
        case u'Y':
            AppendNumber(out, parts.year, 1, alternate);
            break;
        case u'z':
        case u'Z':
            break;  // no zone: dates here carry none
        case u'%':
            out += u'%';
            break;
        default:
            out += u'%';
            out += *p;
        }
    }
    return out;
}

CString COleDateTime::Format(UINT nFormatID) const
{
    CString format;
    format.LoadString(nFormatID);
    return Format(static_cast<LPCTSTR>(format));
}
