// The run-time's character-type locale: a process-wide name and the ANSI
// code page the formatting functions convert with.
#include <tchar.h>

#include <atomic>
#include <mutex>
#include <string>

namespace {

std::atomic<UINT> g_nCodePage{CP_ACP};
std::mutex g_lock;
std::u16string g_strName = u"C";
// What _wsetlocale hands out: stays valid until the next call.
std::u16string g_strReturned;

std::u16string LocaleInfo(LCID lcid, LCTYPE type)
{
    WCHAR buffer[128] = {};
    int n = GetLocaleInfoW(lcid, type, buffer, 128);
    return n > 1 ? std::u16string(reinterpret_cast<const char16_t*>(buffer), size_t(n - 1))
                 : std::u16string();
}

// A Windows locale name, optionally ".<code page>" after it, into the
// locale's display name and code page; FALSE for a name Windows does not know.
BOOL Resolve(const std::u16string& requested, std::u16string& name, UINT& nCodePage)
{
    if (requested == u"C")
    {
        name = u"C";
        nCodePage = CP_ACP;
        return TRUE;
    }
    std::u16string localeName = requested;
    std::u16string codePage;
    size_t nDot = requested.find(u'.');
    if (nDot != std::u16string::npos)
    {
        localeName = requested.substr(0, nDot);
        codePage = requested.substr(nDot + 1);
    }
    LCID lcid = 0;
    if (localeName.empty())
        lcid = GetUserDefaultLCID();
    else
        lcid = LocaleNameToLCID(reinterpret_cast<LPCWSTR>(localeName.c_str()), LOCALE_ALLOW_NEUTRAL_NAMES);
    if (lcid == 0)
        return FALSE;
    // A neutral name ("ru") stands for its language's main country.
    lcid = ConvertDefaultLocale(lcid);
    if (codePage.empty())
    {
        DWORD dwCodePage = 0;
        GetLocaleInfoW(lcid, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&dwCodePage), sizeof(dwCodePage) / sizeof(WCHAR));
        // Languages written only in Unicode convert through UTF-8.
        nCodePage = dwCodePage != 0 ? dwCodePage : CP_UTF8;
    }
    else
    {
        nCodePage = 0;
        for (char16_t c : codePage)
        {
            if (c < u'0' || c > u'9' || nCodePage > 100000)
                return FALSE;
            nCodePage = nCodePage * 10 + UINT(c - u'0');
        }
        CPINFO info;
        if (!GetCPInfo(nCodePage, &info))
            return FALSE;
    }
    std::u16string number = std::u16string();
    for (UINT n = nCodePage; n != 0 || number.empty(); n /= 10)
        number.insert(number.begin(), char16_t(u'0' + n % 10));
    name = LocaleInfo(lcid, LOCALE_SENGLISHLANGUAGENAME) + u"_" +
           LocaleInfo(lcid, LOCALE_SENGLISHCOUNTRYNAME) + u"." + number;
    return TRUE;
}

}  // namespace

char16_t* _wsetlocale(int category, const char16_t* locale)
{
    if (category != LC_CTYPE && category != LC_ALL)
        return nullptr;
    std::lock_guard<std::mutex> guard(g_lock);
    if (locale != nullptr)
    {
        std::u16string name;
        UINT nCodePage = CP_ACP;
        if (!Resolve(locale, name, nCodePage))
            return nullptr;
        g_strName = name;
        g_nCodePage = nCodePage;
    }
    g_strReturned = g_strName;
    return &g_strReturned[0];
}

UINT _AfxGetCrtCodePage()
{
    return g_nCodePage;
}
