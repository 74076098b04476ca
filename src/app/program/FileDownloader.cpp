#include "app/program/FileDownloader.h"

#include <objbase.h>
#include <stdlib.h>

#include <string>

namespace {

const char kUserAgent[] = "Mozilla/5.0 (compatible; )";
const DWORD kStopWait = 5000;
// A read waits this long for data before the stall wait of the transfer
// takes over: a stall longer than that wait ends the transfer instead of
// hanging it, and a stop is seen within this time. WinINet applies it to the
// answer's headers as well.
const DWORD kReadTimeout = 500;
const int kStallSleeps = 40;
const DWORD kStallSleep = 50;
const DWORD kPieceSize = 1024;

BOOL CALLBACK SystemConnectedState(DWORD* pdwFlags)
{
    return InternetGetConnectedState(pdwFlags, 0);
}

InternetConnectedStateQuery g_pfnConnectedState = nullptr;

std::string Narrow(const CString& text)
{
    return std::string(CT2A(text));
}

LONG LocalFileSize(const CString& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesEx(strPath, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return -1;
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFFF)
        return -1;
    return static_cast<LONG>(data.nFileSizeLow);
}

// The start of the response's Content-Range in bytes; -1 when it has none
// or it cannot be read. Its unit scales the number.
long ContentRangeStart(W3Client& client)
{
    char szHeaders[1025] = {};
    DWORD dwLength = client.GetRawHeaders(szHeaders, sizeof szHeaders - 1);
    if (dwLength == 0)
        return -1;
    std::string headers(szHeaders, strnlen(szHeaders, sizeof szHeaders));
    for (char& c : headers)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    size_t nAt = headers.find("content-range:");
    if (nAt == std::string::npos)
        return -1;
    nAt += 14;
    size_t nEnd = headers.find("\r\n", nAt);
    std::string value = headers.substr(nAt, nEnd == std::string::npos ? std::string::npos : nEnd - nAt);
    long nMultiplier = 1;
    static const struct
    {
        const char* pszUnit;
        long nMultiplier;
    } kUnits[] = {{"bytes", 1}, {"dword", 4}, {"qword", 8}, {"word", 2}};
    for (const auto& unit : kUnits)
    {
        size_t nUnit = value.find(unit.pszUnit);
        if (nUnit != std::string::npos)
        {
            value.erase(nUnit, strlen(unit.pszUnit));
            nMultiplier = unit.nMultiplier;
            break;
        }
    }
    size_t nDash = value.find('-');
    if (nDash == std::string::npos)
        return -1;
    std::string number = value.substr(0, nDash);
    size_t nFirst = number.find_first_not_of(" \t");
    size_t nLast = number.find_last_not_of(" \t");
    if (nFirst == std::string::npos)
        return -1;
    number = number.substr(nFirst, nLast - nFirst + 1);
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return atol(number.c_str()) * nMultiplier;
}

}  // namespace

BOOL AFXAPI QueryInternetConnectedState(DWORD* pdwFlags)
{
    DWORD dwFlags = 0;
    InternetConnectedStateQuery pfnQuery = g_pfnConnectedState;
    BOOL bConnected = pfnQuery != nullptr ? pfnQuery(&dwFlags) : SystemConnectedState(&dwFlags);
    if (pdwFlags != nullptr)
        *pdwFlags = dwFlags;
    return bConnected;
}

void AFXAPI SetInternetConnectedStateQuery(InternetConnectedStateQuery pfnQuery)
{
    g_pfnConnectedState = pfnQuery;
}

CFileDownloader::CFileDownloader() = default;

CFileDownloader::~CFileDownloader()
{
    Stop();
}

bool CFileDownloader::IsRunning() const
{
    return m_hThread != nullptr && WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

bool CFileDownloader::ConnectionLost(const W3Client& client) const
{
    return !QueryInternetConnectedState(nullptr) || !client.HasRequest();
}

void CFileDownloader::PostProgress(LPARAM lParam)
{
    if (m_hNotifyWnd != nullptr)
        ::PostMessage(m_hNotifyWnd, WM_DOWNLOAD_PROGRESS, reinterpret_cast<WPARAM>(this), lParam);
}

BOOL CFileDownloader::QueryRemoteSize(LPCTSTR pszUrl)
{
    std::string url = Narrow(pszUrl);
    W3UrlParts parts;
    if (!W3Client::ParseUrl(url.c_str(), parts))
        return FALSE;
    W3Client client;
    if (!client.ConnectUrl(url.c_str(), nullptr, nullptr, kUserAgent))
        return FALSE;
    if (!client.Request(parts.strPath.c_str(), W3Client::METHOD_GET, nullptr, 0))
    {
        client.Close();
        return FALSE;
    }
    // An error page's length is not the file's size.
    if (client.GetStatusCode() != HTTP_STATUS_OK)
    {
        client.Close();
        return FALSE;
    }
    m_nExpectedSize = client.GetContentLength();
    if (m_nExpectedSize == 0)
    {
        Sleep(500);
        m_nExpectedSize = client.GetContentLength();
    }
    BOOL bResult = m_nStop == 0 && QueryInternetConnectedState(nullptr) && client.HasRequest();
    client.Close();
    return bResult;
}

void CFileDownloader::Start(HWND hNotifyWnd, BOOL bResume)
{
    m_hNotifyWnd = hNotifyWnd;
    LONG nSize = bResume ? LocalFileSize(m_strLocalPath) : -1;
    m_nResumeStart = nSize > 0 ? nSize : 0;
    m_nStop = 0;
    m_bSucceeded = FALSE;
    if (m_hThread != nullptr)
        return;
    m_nResult = DOWNLOAD_RUNNING;
    m_hThread = CreateThread(nullptr, 0, &CFileDownloader::WorkerProc, this, 0, nullptr);
    if (m_hThread == nullptr)
    {
        m_nResult = DOWNLOAD_NO_CONNECTION;
        PostProgress(DOWNLOAD_PROGRESS_LOOP_ENDED);
        PostProgress(DOWNLOAD_PROGRESS_FINISHED);
    }
}

void CFileDownloader::Stop()
{
    m_nStop = 1;
    if (m_hThread != nullptr)
    {
        // Closing the worker's handles returns a read blocked in WinINet at
        // once; the worker then closes its file and ends by itself.
        {
            CSingleLock lock(&m_clientLock, TRUE);
            if (m_pActiveClient != nullptr)
                m_pActiveClient->Abort();
        }
        if (WaitForSingleObject(m_hThread, kStopWait) == WAIT_TIMEOUT)
        {
            DWORD dwExitCode = 0;
            GetExitCodeThread(m_hThread, &dwExitCode);
            SuspendThread(m_hThread);
            TerminateThread(m_hThread, dwExitCode);
            if (m_hOutputFile != INVALID_HANDLE_VALUE)
            {
                CloseHandle(m_hOutputFile);
                m_hOutputFile = INVALID_HANDLE_VALUE;
            }
        }
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    m_nStop = 0;
}

DWORD WINAPI CFileDownloader::WorkerProc(LPVOID pParam)
{
    auto* pThis = static_cast<CFileDownloader*>(pParam);
    HRESULT hrCom = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int nResult = DOWNLOAD_NO_CONNECTION;
    try
    {
        nResult = pThis->Transfer(pThis->m_strUrl, pThis->m_strLocalPath, pThis->m_nResumeStart);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    pThis->m_nResult = nResult;
    pThis->m_bSucceeded = nResult == DOWNLOAD_COMPLETE;
    if (pThis->m_nStop == 0)
        pThis->PostProgress(DOWNLOAD_PROGRESS_FINISHED);
    if (SUCCEEDED(hrCom))
        CoUninitialize();
    return static_cast<DWORD>(nResult);
}

int CFileDownloader::ConnectAndGet(W3Client& client, const std::string& url, LONG nRangeStart)
{
    W3UrlParts parts;
    if (!W3Client::ParseUrl(url.c_str(), parts))
        return DOWNLOAD_BAD_URL;
    if (m_nStop != 0 || !client.ConnectUrl(url.c_str(), nullptr, nullptr, kUserAgent))
        return DOWNLOAD_NO_CONNECTION;
    if (!client.Request(parts.strPath.c_str(), W3Client::METHOD_GET, nullptr, nRangeStart))
    {
        client.Close();
        return DOWNLOAD_NO_CONNECTION;
    }
    return DOWNLOAD_COMPLETE;
}

// A fresh download takes only the file itself (200): an error page would
// replace what lies there. A resumed download continues the local file only
// when the server sent the rest of it: a 206 whose range starts where the
// file ends and whose length completes it. A server that ignores the range,
// or answers another range, would otherwise have its bytes written at the
// wrong place.
bool CFileDownloader::AcceptResponse(W3Client& client, LONG nResumeStart, long nContentLength)
{
    if (nResumeStart <= 0)
        return client.GetStatusCode() == HTTP_STATUS_OK;
    if (client.GetStatusCode() != HTTP_STATUS_PARTIAL_CONTENT)
        return false;
    if (ContentRangeStart(client) != nResumeStart)
        return false;
    if (m_nExpectedSize > 0 && nResumeStart + nContentLength != m_nExpectedSize)
        return false;
    return LocalFileSize(m_strLocalPath) >= nResumeStart;
}

int CFileDownloader::Transfer(const CString& strUrl, const CString& strLocalPath, LONG nResumeStart)
{
    m_hOutputFile = INVALID_HANDLE_VALUE;
    std::string url = Narrow(strUrl);
    W3UrlParts parts;
    if (!W3Client::ParseUrl(url.c_str(), parts))
        return DOWNLOAD_BAD_URL;

    W3Client client;
    client.SetReadTimeout(kReadTimeout);
    {
        CSingleLock lock(&m_clientLock, TRUE);
        m_pActiveClient = &client;
    }
    struct ClientRegistration
    {
        CFileDownloader* pThis;
        ~ClientRegistration()
        {
            CSingleLock lock(&pThis->m_clientLock, TRUE);
            pThis->m_pActiveClient = nullptr;
        }
    } registration{this};

    long nContentLength = 0;
    for (;;)
    {
        int nConnect = ConnectAndGet(client, url, nResumeStart);
        if (nConnect != DOWNLOAD_COMPLETE)
            return m_nStop != 0 ? DOWNLOAD_STOPPED : nConnect;
        nContentLength = client.GetContentLength();
        if (AcceptResponse(client, nResumeStart, nContentLength))
            break;
        client.Close();
        if (nResumeStart <= 0)
            return DOWNLOAD_NO_CONNECTION;
        nResumeStart = 0;
    }

    LPCSTR pszType = client.GetContentType();
    if (pszType != nullptr)
    {
        std::string type(pszType);
        for (char& c : type)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (type.find("text") != std::string::npos && type.find("html") != std::string::npos)
        {
            client.Close();
            return DOWNLOAD_WEB_PAGE;
        }
    }

    bool bFileError = false;
    bool bFilePrepared = false;
    LPARAM nLastProgress = -1;
    m_nReceived = 0;
    BYTE buffer[2048] = {};
    DWORD dwRead = client.Read(buffer, kPieceSize);
    while (dwRead > 0)
    {
        if (!bFilePrepared)
        {
            bFilePrepared = true;
            if (nResumeStart > 0)
            {
                m_nDone = nResumeStart;
                m_hOutputFile = CreateFile(strLocalPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                if (m_hOutputFile != INVALID_HANDLE_VALUE &&
                    SetFilePointer(m_hOutputFile, nResumeStart, nullptr, FILE_BEGIN) ==
                        INVALID_SET_FILE_POINTER)
                {
                    CloseHandle(m_hOutputFile);
                    m_hOutputFile = INVALID_HANDLE_VALUE;
                }
            }
            else
            {
                m_nDone = 0;
                m_hOutputFile = CreateFile(strLocalPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            }
            // Not the stop flag, which is the user's: the worker must still
            // post that it finished, or its window never learns the failure.
            if (m_hOutputFile == INVALID_HANDLE_VALUE)
            {
                bFileError = true;
                break;
            }
        }
        m_nDone += static_cast<LONG>(dwRead);
        DWORD dwWritten = 0;
        if (!WriteFile(m_hOutputFile, buffer, dwRead, &dwWritten, nullptr) || dwWritten != dwRead)
        {
            bFileError = true;
            break;
        }
        m_nReceived += static_cast<LONG>(dwRead);
        if (m_hNotifyWnd != nullptr)
        {
            LONG nExpected = m_nExpectedSize;
            LPARAM nProgress = nExpected > 0 ? static_cast<LPARAM>(m_nDone * 10000.0 / nExpected) : 0;
            if (nProgress != nLastProgress)
            {
                nLastProgress = nProgress;
                PostProgress(nProgress);
            }
        }
        if (m_nStop != 0)
            break;

        dwRead = client.Read(buffer, kPieceSize);
        if (dwRead > 0)
            continue;
        if (nResumeStart + nContentLength == m_nDone || nContentLength == m_nDone)
            break;
        // A stall: wait a little for the connection to deliver again.
        for (int nSleep = 1; nSleep <= kStallSleeps; ++nSleep)
        {
            Sleep(kStallSleep);
            if (nSleep % (kStallSleeps / 2) == 0)
            {
                dwRead = client.Read(buffer, kPieceSize);
                if (dwRead > 0)
                    break;
            }
            if (!QueryInternetConnectedState(nullptr) || !client.HasRequest() || m_nStop != 0)
                break;
        }
    }

    bool bConnectionLost = ConnectionLost(client);
    if (m_hOutputFile != INVALID_HANDLE_VALUE)
    {
        CloseHandle(m_hOutputFile);
        m_hOutputFile = INVALID_HANDLE_VALUE;
    }
    client.Close();
    PostProgress(DOWNLOAD_PROGRESS_LOOP_ENDED);

    if (bFileError)
        return DOWNLOAD_FILE_ERROR;
    if (nContentLength != 0 && m_nReceived != nContentLength)
        return DOWNLOAD_LENGTH_MISMATCH;
    if (bConnectionLost)
        return DOWNLOAD_CONNECTION_LOST;
    if (m_nStop != 0)
        return DOWNLOAD_STOPPED;
    return DOWNLOAD_COMPLETE;
}
