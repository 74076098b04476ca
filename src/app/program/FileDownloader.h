// Downloads one file over HTTP on a worker thread of its own: resumes a
// partial file with a byte range, bridges a short stall, posts its progress
// to a window and stops on request from the UI thread.
#pragma once

#include <afxwin.h>

#include <atomic>

#include "app/program/W3Client.h"
#include "common/BaseUnknown.h"

// Posted to the notify window: wParam the downloader, lParam the progress in
// ten-thousandths or one of the DOWNLOAD_PROGRESS_ values.
#define WM_DOWNLOAD_PROGRESS (WM_USER + 182)

enum : LPARAM
{
    DOWNLOAD_PROGRESS_LOOP_ENDED = -1,
    DOWNLOAD_PROGRESS_FINISHED = -2,  // the worker ended without a stop
};

enum DownloadResult : int
{
    DOWNLOAD_RUNNING = -1,  // no result yet: the worker has not ended by itself
    DOWNLOAD_COMPLETE = 0,
    DOWNLOAD_BAD_URL = 1,
    DOWNLOAD_NO_CONNECTION = 2,
    DOWNLOAD_WEB_PAGE = 3,
    DOWNLOAD_FILE_ERROR = 4,
    DOWNLOAD_LENGTH_MISMATCH = 5,
    DOWNLOAD_CONNECTION_LOST = 7,
    DOWNLOAD_STOPPED = 8,
};

// Whether the system reports an Internet connection, and its flags. The
// downloader and the installer ask through here, so that a test can stand
// for a machine that is offline.
typedef BOOL(CALLBACK* InternetConnectedStateQuery)(DWORD* pdwFlags);
BOOL AFXAPI QueryInternetConnectedState(DWORD* pdwFlags);
// Null brings back the system's answer.
void AFXAPI SetInternetConnectedStateQuery(InternetConnectedStateQuery pfnQuery);

class CFileDownloader : public MyMem::IBaseUnknown
{
public:
    CFileDownloader();
    ~CFileDownloader() override;

    BOOL QueryRemoteSize(LPCTSTR pszUrl);
    void Start(HWND hNotifyWnd, BOOL bResume);
    void Stop();

    CString m_strUrl;
    CString m_strLocalPath;

    LONG GetExpectedSize() const { return m_nExpectedSize; }
    LONG GetDone() const { return m_nDone; }
    LONG GetReceived() const { return m_nReceived; }
    BOOL Succeeded() const { return m_bSucceeded; }
    // The last transfer's result; DOWNLOAD_COMPLETE before any transfer.
    int GetResult() const { return m_nResult; }
    bool IsRunning() const;

private:
    static DWORD WINAPI WorkerProc(LPVOID pParam);
    int Transfer(const CString& strUrl, const CString& strLocalPath, LONG nResumeStart);
    int ConnectAndGet(W3Client& client, const std::string& url, LONG nRangeStart);
    bool AcceptResponse(W3Client& client, LONG nResumeStart, long nContentLength);
    bool ConnectionLost(const W3Client& client) const;
    void PostProgress(LPARAM lParam);

    HWND m_hNotifyWnd = nullptr;
    std::atomic<LONG> m_nStop{0};
    std::atomic<LONG> m_nReceived{0};   // bytes received in the current transfer
    volatile LONG m_nExpectedSize = 0;  // the whole file's size; 0 until known
    volatile LONG m_nDone = 0;          // bytes present locally
    HANDLE m_hOutputFile = INVALID_HANDLE_VALUE;
    HANDLE m_hThread = nullptr;
    volatile BOOL m_bSucceeded = TRUE;
    LONG m_nResumeStart = 0;
    volatile int m_nResult = DOWNLOAD_COMPLETE;
    // The worker's client, so that Stop can close its handles.
    W3Client* volatile m_pActiveClient = nullptr;
    CCriticalSection m_clientLock;
};
