#include "app/program/W3Client.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

namespace {

const char kMultipartBoundary[] = "--MULTI-PARTS-FORM-DATA-BOUNDARY";

bool IsHandlePresent(HINTERNET h)
{
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

// Takes the handle out of its slot before closing it, so that two threads
// closing at once close it once.
void CloseHandleSlot(HINTERNET& slot)
{
    HINTERNET h =
        static_cast<HINTERNET>(InterlockedExchangePointer(reinterpret_cast<PVOID*>(&slot), nullptr));
    if (IsHandlePresent(h))
        InternetCloseHandle(h);
}

HINTERNET LoadHandle(HINTERNET const& slot)
{
    return static_cast<HINTERNET>(InterlockedCompareExchangePointer(
        const_cast<PVOID*>(reinterpret_cast<PVOID const*>(&slot)), nullptr, nullptr));
}

int DefaultPort(int nScheme)
{
    switch (nScheme)
    {
    case W3Client::SCHEME_FTP:
        return INTERNET_DEFAULT_FTP_PORT;
    case W3Client::SCHEME_HTTPS:
        return INTERNET_DEFAULT_HTTPS_PORT;
    default:
        return INTERNET_DEFAULT_HTTP_PORT;
    }
}

}  // namespace

W3Client::~W3Client()
{
    m_formFields.clear();
    m_cookies.clear();
}

BOOL W3Client::Connect(LPCSTR pszHost, int nPort, LPCSTR pszUser, LPCSTR pszPassword, int nScheme,
                       LPCSTR pszUserAgent)
{
    Close();
    try
    {
        HINTERNET hRoot = InternetOpenA(pszUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        if (!IsHandlePresent(hRoot))
            throw "open internet failed...";
        m_hRoot = hRoot;
        DWORD dwConnect = 120000, dwSend = 60000, dwReceive = 60000;
        InternetSetOptionA(hRoot, INTERNET_OPTION_CONNECT_TIMEOUT, &dwConnect, sizeof dwConnect);
        InternetSetOptionA(hRoot, INTERNET_OPTION_SEND_TIMEOUT, &dwSend, sizeof dwSend);
        InternetSetOptionA(hRoot, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwReceive, sizeof dwReceive);

        DWORD dwService = INTERNET_SERVICE_HTTP;
        DWORD dwFlags = 0;
        switch (nScheme)
        {
        case SCHEME_FTP:
            dwService = INTERNET_SERVICE_FTP;
            dwFlags = INTERNET_FLAG_PASSIVE;
            break;
        case SCHEME_HTTP:
        case SCHEME_HTTPS:
            break;
        default:
            throw "connect failed...";
        }
        int nPortInUse = nPort != 0 ? nPort : DefaultPort(nScheme);
        LPCSTR pszConnectUser = pszUser != nullptr && *pszUser != 0 ? pszUser : nullptr;
        LPCSTR pszConnectPassword = pszPassword != nullptr && *pszPassword != 0 ? pszPassword : nullptr;
        HINTERNET hConnection = InternetConnectA(hRoot, pszHost, static_cast<INTERNET_PORT>(nPortInUse),
                                                 pszConnectUser, pszConnectPassword, dwService, dwFlags, 0);
        if (!IsHandlePresent(hConnection))
            throw "connect failed...";
        m_hConnection = hConnection;
        if (InternetAttemptConnect(0) != ERROR_SUCCESS)
            throw "connect failed...";

        m_strHost = pszHost != nullptr ? pszHost : "";
        m_nPort = nPortInUse;
        m_nScheme = nScheme;
        if (pszUser != nullptr)
            m_strUser = pszUser;
        if (pszPassword != nullptr)
            m_strPassword = pszPassword;
        m_cookies.clear();
        m_formFields.clear();
        return TRUE;
    }
    catch (...)
    {
        CloseHandleSlot(m_hConnection);
        CloseHandleSlot(m_hRoot);
        return FALSE;
    }
}

int W3Client::SchemeNumber(const std::string& strScheme)
{
    if (lstrcmpiA(strScheme.c_str(), "https") == 0)
        return SCHEME_HTTPS;
    if (lstrcmpiA(strScheme.c_str(), "http") == 0)
        return SCHEME_HTTP;
    if (lstrcmpiA(strScheme.c_str(), "ftp") == 0)
        return SCHEME_FTP;
    return -1;
}

BOOL W3Client::ConnectUrl(LPCSTR pszUrl, LPCSTR pszUser, LPCSTR pszPassword, LPCSTR pszUserAgent)
{
    W3UrlParts parts;
    if (!ParseUrl(pszUrl, parts))
        return FALSE;
    int nScheme = SchemeNumber(parts.strScheme);
    if (nScheme < 0)
        return FALSE;
    LPCSTR pszConnectUser = pszUser != nullptr && *pszUser != 0 ? pszUser : parts.strUser.c_str();
    LPCSTR pszConnectPassword =
        pszPassword != nullptr && *pszPassword != 0 ? pszPassword : parts.strPassword.c_str();
    if (!Connect(parts.strHost.c_str(), parts.nPort, pszConnectUser, pszConnectPassword, nScheme,
                 pszUserAgent))
        return FALSE;
    m_strCurrentPath = parts.strPath;
    return TRUE;
}

BOOL W3Client::ParseUrl(LPCSTR pszUrl, W3UrlParts& parts)
{
    parts = W3UrlParts();
    if (pszUrl == nullptr)
        return FALSE;
    std::string url(pszUrl);
    size_t nRest = 0;
    size_t nColon = url.find(':');
    if (nColon != std::string::npos && nColon + 1 < url.size() && url[nColon + 1] == '/')
    {
        parts.strScheme = url.substr(0, nColon);
        nRest = nColon + 1;
        while (nRest < url.size() && url[nRest] == '/' && nRest < nColon + 3)
            ++nRest;
    }
    else
        parts.strScheme = "http";

    size_t nHostEnd = url.find('/', nRest);
    size_t nAt = url.find('@', nRest);
    if (nAt != std::string::npos && (nHostEnd == std::string::npos || nAt < nHostEnd))
    {
        std::string userInfo = url.substr(nRest, nAt - nRest);
        size_t nSplit = userInfo.find(':');
        if (nSplit != std::string::npos)
        {
            parts.strUser = userInfo.substr(0, nSplit);
            parts.strPassword = userInfo.substr(nSplit + 1);
        }
        nRest = nAt + 1;
    }

    std::string hostPart =
        url.substr(nRest, nHostEnd == std::string::npos ? std::string::npos : nHostEnd - nRest);
    size_t nPortColon = hostPart.find(':');
    if (nPortColon != std::string::npos)
    {
        parts.strHost = hostPart.substr(0, nPortColon);
        std::string port = hostPart.substr(nPortColon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
            return FALSE;
        parts.nPort = atoi(port.c_str());
        if (parts.nPort < 1 || parts.nPort > 65535)
            return FALSE;
    }
    else
    {
        parts.strHost = hostPart;
        if (lstrcmpiA(parts.strScheme.c_str(), "https") == 0)
            parts.nPort = INTERNET_DEFAULT_HTTPS_PORT;
        else if (lstrcmpiA(parts.strScheme.c_str(), "ftp") == 0)
            parts.nPort = INTERNET_DEFAULT_FTP_PORT;
        else
            parts.nPort = INTERNET_DEFAULT_HTTP_PORT;
    }
    parts.strPath = nHostEnd == std::string::npos ? std::string("/") : url.substr(nHostEnd);

    return !parts.strHost.empty() && parts.strHost.size() < INTERNET_MAX_HOST_NAME_LENGTH &&
           parts.strScheme.size() <= INTERNET_MAX_SCHEME_LENGTH &&
           parts.strUser.size() < INTERNET_MAX_USER_NAME_LENGTH &&
           parts.strPassword.size() < INTERNET_MAX_PASSWORD_LENGTH &&
           parts.strPath.size() < INTERNET_MAX_PATH_LENGTH;
}

BOOL W3Client::Request(LPCSTR pszPath, int nMethod, LPCSTR pszReferrer, int nRangeStart)
{
    try
    {
        switch (nMethod)
        {
        case METHOD_GET:
            Get(pszPath, pszReferrer, nRangeStart);
            break;
        case METHOD_POST_URLENCODED:
            PostUrlEncoded(pszPath, pszReferrer);
            break;
        case METHOD_POST_MULTIPART:
            PostMultipart(pszPath, pszReferrer);
            break;
        default:
            CloseRequest();
            return FALSE;
        }
        m_strCurrentPath = pszPath != nullptr ? pszPath : "";
        return TRUE;
    }
    catch (...)
    {
        CloseRequest();
        return FALSE;
    }
}

void W3Client::SetCookies(LPCSTR pszPath)
{
    if (m_cookies.empty())
        return;
    bool bSecure = m_nScheme == SCHEME_HTTPS;
    std::string url = bSecure ? "https://" : "http://";
    url += m_strHost;
    if (m_nPort != (bSecure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT))
        url += ":" + std::to_string(m_nPort);
    url += pszPath != nullptr ? pszPath : "";
    for (const auto& cookie : m_cookies)
    {
        if (!InternetSetCookieA(url.c_str(), cookie->strName.c_str(), cookie->strValue.c_str()))
            throw "add cookie failed...";
    }
}

void W3Client::Get(LPCSTR pszPath, LPCSTR pszReferrer, int nRangeStart)
{
    HINTERNET hConnection = LoadHandle(m_hConnection);
    if (!IsHandlePresent(hConnection))
        throw "handle not opened...";
    CloseRequest();
    LPCSTR acceptTypes[] = {"*/*", nullptr};
    DWORD dwFlags = INTERNET_FLAG_NO_CACHE_WRITE;
    if (m_nScheme == SCHEME_HTTPS)
        dwFlags |= INTERNET_FLAG_SECURE;
    HINTERNET hRequest =
        HttpOpenRequestA(hConnection, "GET", pszPath, "HTTP/1.0", pszReferrer, acceptTypes, dwFlags, 0);
    if (!IsHandlePresent(hRequest))
        throw "request failed...";
    m_hRequest = hRequest;
    if (!HttpAddRequestHeadersA(hRequest, "Accept: */*\r\n", static_cast<DWORD>(-1),
                                HTTP_ADDREQ_FLAG_REPLACE))
        throw "additional header failed...";
    if (m_dwReadTimeout != 0)
        InternetSetOptionA(hRequest, INTERNET_OPTION_RECEIVE_TIMEOUT, &m_dwReadTimeout,
                           sizeof m_dwReadTimeout);
    if (nRangeStart > 0)
    {
        char szRange[64];
        sprintf(szRange, "Range: bytes=%i-\r\n", nRangeStart);
        if (!HttpAddRequestHeadersA(hRequest, szRange, static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_ADD_IF_NEW))
            throw "additional header failed...";
    }
    SetCookies(pszPath);
    if (!HttpSendRequestA(hRequest, nullptr, 0, nullptr, 0))
        throw "request failed...";
}

HINTERNET W3Client::OpenPostRequest(LPCSTR pszPath, LPCSTR pszReferrer)
{
    HINTERNET hConnection = LoadHandle(m_hConnection);
    if (!IsHandlePresent(hConnection))
        throw "handle not opened...";
    CloseRequest();
    LPCSTR acceptTypes[] = {"*/*", nullptr};
    DWORD dwFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_FORMS_SUBMIT;
    if (m_nScheme == SCHEME_HTTPS)
        dwFlags |= INTERNET_FLAG_SECURE;
    HINTERNET hRequest =
        HttpOpenRequestA(hConnection, "POST", pszPath, "HTTP/1.0", pszReferrer, acceptTypes, dwFlags, 0);
    if (!IsHandlePresent(hRequest))
        throw "request failed...";
    m_hRequest = hRequest;
    if (!HttpAddRequestHeadersA(hRequest, "Accept: */*\r\n", static_cast<DWORD>(-1),
                                HTTP_ADDREQ_FLAG_REPLACE))
        throw "additional header failed...";
    return hRequest;
}

void W3Client::PostUrlEncoded(LPCSTR pszPath, LPCSTR pszReferrer)
{
    HINTERNET hRequest = OpenPostRequest(pszPath, pszReferrer);
    SetCookies(pszPath);
    std::string body;
    for (const auto& field : m_formFields)
    {
        if (!body.empty())
            body += '&';
        body += field->strName + "=" + field->strValue;
    }
    static const char kHeader[] = "Content-Type: application/x-www-form-urlencoded\r\n";
    if (!HttpSendRequestA(hRequest, kHeader, static_cast<DWORD>(-1), body.empty() ? nullptr : &body[0],
                          static_cast<DWORD>(body.size())) &&
        GetLastError() != ERROR_HTTP_REDIRECT_NEEDS_CONFIRMATION)
        throw "request failed...";
}

// Sized by what it holds: a file part carries the whole file, however large.
std::string W3Client::BuildMultipartBody() const
{
    std::string body;
    for (const auto& field : m_formFields)
    {
        body += "--";
        body += kMultipartBoundary;
        body += "\r\nContent-Disposition: form-data; name=\"" + field->strName + "\"";
        if (!field->bIsFile)
        {
            body += "\r\n\r\n" + field->strValue + "\r\n";
            continue;
        }
        body += "; filename=\"" + field->strValue + "\"\r\n\r\n";
        HANDLE hFile = CreateFileA(field->strValue.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            throw "request failed";
        char buffer[1024];
        DWORD dwRead = 0;
        BOOL bRead = TRUE;
        while ((bRead = ReadFile(hFile, buffer, sizeof buffer, &dwRead, nullptr)) && dwRead > 0)
            body.append(buffer, dwRead);
        CloseHandle(hFile);
        if (!bRead)
            throw "request failed";
        body += "\r\n";
    }
    body += "--";
    body += kMultipartBoundary;
    body += "--\r\n";
    return body;
}

void W3Client::PostMultipart(LPCSTR pszPath, LPCSTR pszReferrer)
{
    HINTERNET hRequest = OpenPostRequest(pszPath, pszReferrer);
    std::string contentType =
        std::string("Content-Type: multipart/form-data; boundary=") + kMultipartBoundary + "\r\n";
    if (!HttpAddRequestHeadersA(hRequest, contentType.c_str(), static_cast<DWORD>(-1),
                                HTTP_ADDREQ_FLAG_ADD_IF_NEW))
        throw "additional header failed...";
    SetCookies(pszPath);
    std::string body = BuildMultipartBody();
    char szLength[64];
    sprintf(szLength, "Content-Length: %d\r\n", static_cast<int>(body.size()));
    if (!HttpAddRequestHeadersA(hRequest, szLength, static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_ADD_IF_NEW))
        throw "additional header failed...";
    INTERNET_BUFFERSA buffers = {};
    buffers.dwStructSize = sizeof buffers;
    if (!HttpSendRequestExA(hRequest, &buffers, nullptr, 0, 0))
        throw "request failed";
    size_t nWritten = 0;
    while (nWritten < body.size())
    {
        DWORD dwChunk = static_cast<DWORD>(std::min<size_t>(body.size() - nWritten, 65536));
        DWORD dwDone = 0;
        if (!InternetWriteFile(hRequest, body.data() + nWritten, dwChunk, &dwDone) || dwDone == 0)
            throw "request failed";
        nWritten += dwDone;
    }
    if (!HttpEndRequestA(hRequest, nullptr, 0, 0))
        throw "request failed";
}

DWORD W3Client::Read(BYTE* pBuffer, DWORD dwSize)
{
    try
    {
        HINTERNET hRequest = LoadHandle(m_hRequest);
        if (!IsHandlePresent(hRequest))
            throw "connection failed...";
        // A read of more than has arrived waits for the rest: in a stall it
        // would hold back the bytes already there. Ask what is there first.
        DWORD dwAvailable = 0;
        if (!InternetQueryDataAvailable(hRequest, &dwAvailable, 0, 0) || dwAvailable == 0)
            return 0;
        DWORD dwRead = 0;
        if (!InternetReadFile(hRequest, pBuffer, std::min(dwSize, dwAvailable), &dwRead))
            return 0;
        return dwRead;
    }
    catch (...)
    {
        CloseRequest();
        return 0;
    }
}

long W3Client::GetContentLength()
{
    char szBuffer[1024] = {};
    DWORD dwSize = sizeof szBuffer;
    HINTERNET hRequest = LoadHandle(m_hRequest);
    if (!IsHandlePresent(hRequest) ||
        !HttpQueryInfoA(hRequest, HTTP_QUERY_CONTENT_LENGTH, szBuffer, &dwSize, nullptr))
        return 0;
    return atol(szBuffer);
}

LPCSTR W3Client::GetContentType()
{
    static char s_szContentType[1024];
    memset(s_szContentType, 0, sizeof s_szContentType);
    DWORD dwSize = sizeof s_szContentType - 1;
    HINTERNET hRequest = LoadHandle(m_hRequest);
    if (!IsHandlePresent(hRequest) ||
        !HttpQueryInfoA(hRequest, HTTP_QUERY_CONTENT_TYPE, s_szContentType, &dwSize, nullptr))
        return nullptr;
    return s_szContentType;
}

DWORD W3Client::GetRawHeaders(LPSTR pszBuffer, DWORD dwSize)
{
    HINTERNET hRequest = LoadHandle(m_hRequest);
    if (pszBuffer == nullptr || dwSize == 0 || !IsHandlePresent(hRequest))
        return 0;
    DWORD dwLength = dwSize;
    if (!HttpQueryInfoA(hRequest, HTTP_QUERY_RAW_HEADERS_CRLF, pszBuffer, &dwLength, nullptr))
        return 0;
    return dwLength;
}

DWORD W3Client::GetStatusCode()
{
    DWORD dwStatus = 0;
    DWORD dwSize = sizeof dwStatus;
    HINTERNET hRequest = LoadHandle(m_hRequest);
    if (!IsHandlePresent(hRequest) ||
        !HttpQueryInfoA(hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &dwStatus, &dwSize,
                        nullptr))
        return 0;
    return dwStatus;
}

void W3Client::CloseRequest()
{
    CloseHandleSlot(m_hRequest);
}

void W3Client::Abort()
{
    CloseHandleSlot(m_hRequest);
    CloseHandleSlot(m_hConnection);
}

void W3Client::Close()
{
    CloseHandleSlot(m_hRequest);
    CloseHandleSlot(m_hConnection);
    CloseHandleSlot(m_hRoot);
}

bool W3Client::HasRequest() const
{
    return IsHandlePresent(LoadHandle(m_hRequest));
}

void W3Client::AddFormField(LPCSTR pszName, LPCSTR pszValue, BOOL bIsFile)
{
    m_formFields.push_back(std::unique_ptr<FormField>(
        new FormField{pszName != nullptr ? pszName : "", pszValue != nullptr ? pszValue : "", bIsFile}));
}

void W3Client::AddCookie(LPCSTR pszName, LPCSTR pszValue)
{
    m_cookies.push_back(std::unique_ptr<Cookie>(
        new Cookie{pszName != nullptr ? pszName : "", pszValue != nullptr ? pszValue : ""}));
}
