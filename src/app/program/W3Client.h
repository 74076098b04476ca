// A small HTTP (and FTP-capable) client over WinINet's ANSI functions: one
// root handle, one connection to one host, one request at a time. The
// request kinds raise plain message strings; the front operations catch
// them, close what the failure left open and answer FALSE or 0.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>
#include <vector>

// The parts of a URL as ParseUrl splits it.
struct W3UrlParts
{
    std::string strScheme;
    std::string strUser;
    std::string strPassword;
    std::string strHost;
    int nPort = 0;
    std::string strPath;
};

class W3Client
{
public:
    enum Scheme : int
    {
        SCHEME_FTP = 0,
        SCHEME_HTTP = 1,
        SCHEME_HTTPS = 2,
    };
    enum Method : int
    {
        METHOD_GET = 0,
        METHOD_POST_URLENCODED = 1,
        METHOD_POST_MULTIPART = 2,
    };

    W3Client() = default;
    virtual ~W3Client();
    W3Client(const W3Client&) = delete;
    W3Client& operator=(const W3Client&) = delete;

    // Port 0 takes the scheme's default.
    virtual BOOL Connect(LPCSTR pszHost, int nPort, LPCSTR pszUser, LPCSTR pszPassword, int nScheme,
                         LPCSTR pszUserAgent);
    BOOL ConnectUrl(LPCSTR pszUrl, LPCSTR pszUser, LPCSTR pszPassword, LPCSTR pszUserAgent);

    BOOL Request(LPCSTR pszPath, int nMethod, LPCSTR pszReferrer, int nRangeStart);
    DWORD Read(BYTE* pBuffer, DWORD dwSize);

    long GetContentLength();
    // One process-wide buffer, overwritten by the next call; null on failure.
    LPCSTR GetContentType();
    DWORD GetRawHeaders(LPSTR pszBuffer, DWORD dwSize);
    // The response's status code; 0 when there is none.
    DWORD GetStatusCode();

    // How long a GET may wait for its answer and each read for data; 0 keeps
    // the connection's time-out. Applies to the requests that follow (WinINet
    // takes it when a request is sent).
    void SetReadTimeout(DWORD dwMilliseconds) { m_dwReadTimeout = dwMilliseconds; }

    // Closes the request, connection and root handles. Safe from another
    // thread while a request is read: a blocked read returns and the reader
    // finds no request afterwards.
    void Close();
    // Closes the request and the connection only (from another thread, to
    // unblock a reader); the root handle stays for Close.
    void Abort();
    bool HasRequest() const;

    // Entries of a POST; a file field's value is the file's path.
    void AddFormField(LPCSTR pszName, LPCSTR pszValue, BOOL bIsFile);
    void AddCookie(LPCSTR pszName, LPCSTR pszValue);

    const std::string& GetCurrentPath() const { return m_strCurrentPath; }
    int GetPort() const { return m_nPort; }
    int GetScheme() const { return m_nScheme; }

    // FALSE for a URL whose parts cannot be valid: a host, user or password
    // beyond WinINet's limits, a path beyond INTERNET_MAX_PATH_LENGTH, a port
    // that is no number from 1 to 65535.
    static BOOL ParseUrl(LPCSTR pszUrl, W3UrlParts& parts);
    // "https" 2, "http" 1, "ftp" 0, -1 for another scheme.
    static int SchemeNumber(const std::string& strScheme);

protected:
    virtual void PostMultipart(LPCSTR pszPath, LPCSTR pszReferrer);
    virtual void PostUrlEncoded(LPCSTR pszPath, LPCSTR pszReferrer);
    virtual void Get(LPCSTR pszPath, LPCSTR pszReferrer, int nRangeStart);

private:
    struct FormField
    {
        std::string strName;
        std::string strValue;
        BOOL bIsFile;
    };
    struct Cookie
    {
        std::string strName;
        std::string strValue;
    };

    HINTERNET OpenPostRequest(LPCSTR pszPath, LPCSTR pszReferrer);
    void SetCookies(LPCSTR pszPath);
    std::string BuildMultipartBody() const;
    void CloseRequest();

    HINTERNET m_hRoot = nullptr;
    HINTERNET m_hConnection = nullptr;
    HINTERNET m_hRequest = nullptr;
    std::string m_strHost;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strCurrentPath;  // path of the last successful request
    int m_nPort = 0;
    int m_nScheme = SCHEME_HTTP;
    DWORD m_dwReadTimeout = 0;
    std::vector<std::unique_ptr<FormField>> m_formFields;
    std::vector<std::unique_ptr<Cookie>> m_cookies;
};
