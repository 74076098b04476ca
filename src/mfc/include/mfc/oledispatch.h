// Automation value types: COleVariant, COleDateTime and COleDateTimeSpan.
// Conversions go through oleaut32; COleVariant reports failures by throwing
// COleException (AfxThrowOleException).
//
// long is 64 bits under Winelib and doubles as LONGLONG: COleVariant(long)
// stores VT_I4 when the value fits 32 bits (what Windows code passing a long
// means) and VT_I8 otherwise; COleVariant(int) (LONG) stores VT_I4.
#pragma once

#include <ctime>

class COleDateTime;
class COleDateTimeSpan;

typedef const VARIANT* LPCVARIANT;

class COleVariant : public tagVARIANT
{
public:
    COleVariant() { VariantInit(this); }
    COleVariant(const VARIANT& varSrc);
    COleVariant(LPCVARIANT pSrc);
    COleVariant(const COleVariant& varSrc);
    COleVariant(COleVariant&& varSrc) noexcept;

    COleVariant(LPCTSTR lpszSrc);
    // vtSrc must be VT_BSTR (or VT_BSTRT, the same here).
    COleVariant(LPCTSTR lpszSrc, VARTYPE vtSrc);
    COleVariant(const CString& strSrc);

    COleVariant(BYTE nSrc);
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);  // VT_I2, VT_BOOL
    COleVariant(int lSrc, VARTYPE vtSrc = VT_I4);    // VT_I4, VT_INT, VT_ERROR, VT_BOOL
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);   // VT_I4 (VT_I8 when wide), VT_I8, VT_ERROR, VT_BOOL
    COleVariant(unsigned int nSrc);                  // VT_UI4
    COleVariant(unsigned long nSrc);                 // VT_UI4, VT_UI8 when wide
    COleVariant(long long nSrc) : COleVariant(long(nSrc), VT_I8) {}
    COleVariant(unsigned long long nSrc);  // VT_UI8
    COleVariant(float fltSrc);
    COleVariant(double dblSrc);
    COleVariant(const COleDateTime& timeSrc);
    // VT_CY
    COleVariant(const CY& cySrc);

    ~COleVariant() { VariantClear(this); }

    void Clear() { VariantClear(this); }
    void ChangeType(VARTYPE vartype, LPVARIANT pSrc = NULL);
    void Attach(VARIANT& varSrc);
    VARIANT Detach();
    void SetString(LPCTSTR lpszSrc, VARTYPE vtSrc);  // VT_BSTR or VT_BSTRT

    operator LPVARIANT() { return this; }
    operator LPCVARIANT() const { return this; }

    // Same type and same value (strings by content).
    BOOL operator==(const VARIANT& varSrc) const;
    BOOL operator==(LPCVARIANT pSrc) const;
    BOOL operator!=(const VARIANT& varSrc) const { return !operator==(varSrc); }
    BOOL operator!=(LPCVARIANT pSrc) const { return !operator==(pSrc); }

    const COleVariant& operator=(const VARIANT& varSrc);
    const COleVariant& operator=(LPCVARIANT pSrc);
    const COleVariant& operator=(const COleVariant& varSrc);
    const COleVariant& operator=(COleVariant&& varSrc) noexcept;
    const COleVariant& operator=(LPCTSTR lpszSrc) { return Replace(COleVariant(lpszSrc)); }
    const COleVariant& operator=(const CString& strSrc) { return Replace(COleVariant(strSrc)); }
    const COleVariant& operator=(BYTE nSrc) { return Replace(COleVariant(nSrc)); }
    const COleVariant& operator=(short nSrc) { return Replace(COleVariant(nSrc)); }
    const COleVariant& operator=(int lSrc) { return Replace(COleVariant(lSrc)); }
    const COleVariant& operator=(long lSrc) { return Replace(COleVariant(lSrc)); }
    const COleVariant& operator=(unsigned int nSrc) { return Replace(COleVariant(nSrc)); }
    const COleVariant& operator=(unsigned long nSrc) { return Replace(COleVariant(nSrc)); }
    const COleVariant& operator=(float fltSrc) { return Replace(COleVariant(fltSrc)); }
    const COleVariant& operator=(double dblSrc) { return Replace(COleVariant(dblSrc)); }
    const COleVariant& operator=(const COleDateTime& dateSrc);
    const COleVariant& operator=(const CY& cySrc) { return Replace(COleVariant(cySrc)); }

private:
    const COleVariant& Replace(COleVariant&& other) noexcept;
};

#ifndef VT_BSTRT
#define VT_BSTRT VT_BSTR
#endif

// A time span in days (a DATE difference), with a status.
class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleDateTimeSpan() noexcept : m_span(0), m_status(valid) {}
    COleDateTimeSpan(double dblSpanSrc) noexcept;
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept;

    void SetStatus(DateTimeSpanStatus status) noexcept { m_status = status; }
    DateTimeSpanStatus GetStatus() const noexcept { return m_status; }

    double GetTotalDays() const noexcept { return m_span; }
    double GetTotalHours() const noexcept { return m_span * 24; }
    double GetTotalMinutes() const noexcept { return m_span * 24 * 60; }
    double GetTotalSeconds() const noexcept { return m_span * 24 * 60 * 60; }
    // Parts of the span rounded to the second; all share the span's sign.
    LONG GetDays() const noexcept;
    LONG GetHours() const noexcept;
    LONG GetMinutes() const noexcept;
    LONG GetSeconds() const noexcept;

    operator double() const noexcept { return m_span; }

    COleDateTimeSpan& operator=(double dblSpanSrc) noexcept;
    bool operator==(const COleDateTimeSpan& dateSpan) const noexcept;
    bool operator!=(const COleDateTimeSpan& dateSpan) const noexcept;
    bool operator<(const COleDateTimeSpan& dateSpan) const noexcept;
    bool operator>(const COleDateTimeSpan& dateSpan) const noexcept;
    bool operator<=(const COleDateTimeSpan& dateSpan) const noexcept;
    bool operator>=(const COleDateTimeSpan& dateSpan) const noexcept;

    COleDateTimeSpan operator+(const COleDateTimeSpan& dateSpan) const noexcept;
    COleDateTimeSpan operator-(const COleDateTimeSpan& dateSpan) const noexcept;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan dateSpan) noexcept;
    COleDateTimeSpan& operator-=(const COleDateTimeSpan dateSpan) noexcept;
    COleDateTimeSpan operator-() const noexcept;

    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept;

    // %D days, %H hours, %M minutes, %S seconds, %% a percent sign.
    CString Format(LPCTSTR pFormat) const;
    CString Format(UINT nID) const;

    double m_span;
    DateTimeSpanStatus m_status;
};

// A point in time as an automation DATE: days since 1899-12-30, the
// fraction the time of day. Before the epoch the whole part counts down
// while the fraction still counts forward (-1.25 is 1899-12-29 06:00), so
// comparisons and arithmetic work on the linear value, not on m_dt.
class COleDateTime
{
public:
    enum DateTimeStatus
    {
        error = -1,
        valid = 0,
        invalid = 1,
        null = 2
    };

    static COleDateTime WINAPI GetCurrentTime();

    COleDateTime() noexcept : m_dt(0), m_status(valid) {}
    COleDateTime(const VARIANT& varSrc);
    COleDateTime(DATE dtSrc) noexcept;
    // time_t and FILETIME are converted to local time.
    COleDateTime(time_t timeSrc) noexcept;
    COleDateTime(const SYSTEMTIME& systimeSrc) noexcept;
    COleDateTime(const FILETIME& filetimeSrc) noexcept;
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) noexcept;
    COleDateTime(WORD wDosDate, WORD wDosTime) noexcept;

    bool GetAsSystemTime(SYSTEMTIME& sysTime) const noexcept;
    bool GetAsUDATE(UDATE& udate) const noexcept;

    void SetStatus(DateTimeStatus status) noexcept { m_status = status; }
    DateTimeStatus GetStatus() const noexcept { return m_status; }

    // -1 (AFX_OLE_DATETIME_ERROR) unless valid.
    int GetYear() const noexcept;
    int GetMonth() const noexcept;
    int GetDay() const noexcept;
    int GetHour() const noexcept;
    int GetMinute() const noexcept;
    int GetSecond() const noexcept;
    int GetDayOfWeek() const noexcept;  // 1 = Sunday
    int GetDayOfYear() const noexcept;  // 1 = January 1st

    COleDateTime& operator=(const VARIANT& varSrc);
    COleDateTime& operator=(DATE dtSrc) noexcept;
    COleDateTime& operator=(const time_t& timeSrc) noexcept;
    COleDateTime& operator=(const SYSTEMTIME& systimeSrc) noexcept;
    COleDateTime& operator=(const FILETIME& filetimeSrc) noexcept;
    COleDateTime& operator=(const UDATE& udate) noexcept;

    bool operator==(const COleDateTime& date) const noexcept;
    bool operator!=(const COleDateTime& date) const noexcept;
    bool operator<(const COleDateTime& date) const noexcept;
    bool operator>(const COleDateTime& date) const noexcept;
    bool operator<=(const COleDateTime& date) const noexcept;
    bool operator>=(const COleDateTime& date) const noexcept;

    COleDateTime operator+(COleDateTimeSpan dateSpan) const noexcept;
    COleDateTime operator-(COleDateTimeSpan dateSpan) const noexcept;
    COleDateTime& operator+=(COleDateTimeSpan dateSpan) noexcept;
    COleDateTime& operator-=(COleDateTimeSpan dateSpan) noexcept;
    COleDateTimeSpan operator-(const COleDateTime& date) const noexcept;

    operator DATE() const noexcept { return m_dt; }

    // 0 on success; otherwise the object becomes invalid.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) noexcept;
    int SetDate(int nYear, int nMonth, int nDay) noexcept;
    int SetTime(int nHour, int nMin, int nSec) noexcept;

    // Text through oleaut32 (VarDateFromStr); false and invalid on failure.
    bool ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    // Locale text through VarBstrFromDate (VAR_DATEVALUEONLY, VAR_TIMEVALUEONLY ...).
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    // strftime codes (%Y %m %d %H %M %S %a %A %b %B %j %w %y %p %I %c %x %X
    // %U %W %%, and '#' to drop leading zeros) with the C locale's names.
    CString Format(LPCTSTR lpszFormat) const;
    CString Format(UINT nFormatID) const;

    DATE m_dt;
    DateTimeStatus m_status;
};

#define AFX_OLE_DATETIME_ERROR (-1)

// The framework's archive forms, which stored files depend on:
// a date or span is its status as 4 bytes, then the double; a variant is
// its VARTYPE as a WORD, then the value in its own size (VT_BOOL as a WORD,
// VT_CY as two DWORDs, VT_BSTR as a DWORD byte count and the UTF-16 bytes;
// VT_EMPTY and VT_NULL nothing). Interface variants are not archived
// (CNotSupportedException); an unknown type on load is a CArchiveException.
CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& varSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc);
CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTime& dateSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc);
CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTimeSpan& dateSpanSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleDateTimeSpan& dateSpanSrc);
