#include "toolkit/foundation/stream/QVTSoundPlayer.h"

#include <mmsystem.h>

#include "toolkit/foundation/core/QVTSingletonPointer.h"

QVT_IMPLEMENT_SINGLETON(CQVTSoundPlayer, QVTSoundPlayer, nullptr)

CQVTSoundPlayer::CQVTSoundPlayer()
    : m_bSystemSounds(TRUE), m_bMenuSounds(TRUE), m_hThread(nullptr), m_hStartEvent(nullptr), m_dwThreadId(0)
{
}

CQVTSoundPlayer::~CQVTSoundPlayer()
{
    Stop();
}

void CQVTSoundPlayer::PlaySystemSound(int nSound)
{
    if (!m_bSystemSounds || !m_bMenuSounds)
        return;
    if (m_hThread == nullptr)
        Start();
    if (m_dwThreadId != 0)
        ::PostThreadMessageW(m_dwThreadId, WM_USER, static_cast<WPARAM>(nSound), 0);
}

void CQVTSoundPlayer::Start()
{
    m_hStartEvent = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (m_hStartEvent == nullptr)
        return;
    m_hThread =
        ::CreateThread(nullptr, 0, &CQVTSoundPlayer::ThreadProc, this, CREATE_SUSPENDED, &m_dwThreadId);
    if (m_hThread != nullptr)
    {
        ::SetThreadPriority(m_hThread, THREAD_PRIORITY_BELOW_NORMAL);
        ::ResumeThread(m_hThread);
        // The thread has a message queue once it sets the event.
        ::WaitForSingleObject(m_hStartEvent, INFINITE);
    }
    else
    {
        m_dwThreadId = 0;
    }
    ::CloseHandle(m_hStartEvent);
    m_hStartEvent = nullptr;
}

void CQVTSoundPlayer::PlayAlias(LPCWSTR lpszAlias)
{
    ::PlaySoundW(lpszAlias, nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

DWORD WINAPI CQVTSoundPlayer::ThreadProc(LPVOID pParam)
{
    CQVTSoundPlayer* pPlayer = static_cast<CQVTSoundPlayer*>(pParam);
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::SetEvent(pPlayer->m_hStartEvent);
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (msg.message != WM_USER)
            continue;
        LPCWSTR lpszAlias = msg.wParam == soundMenuCommand ? u"MenuCommand"
                            : msg.wParam == soundMenuPopup ? u"MenuPopup"
                                                           : nullptr;
        if (lpszAlias == nullptr)
            continue;
        try
        {
            pPlayer->PlayAlias(lpszAlias);
        }
        catch (...)
        {
            // A sound that fails is not worth the thread.
        }
    }
    ::PlaySoundW(nullptr, nullptr, SND_PURGE);
    return 0;
}

void CQVTSoundPlayer::Stop()
{
    if (m_hThread == nullptr)
        return;
    ::PostThreadMessageW(m_dwThreadId, WM_QUIT, 0, 0);
    ::WaitForSingleObject(m_hThread, INFINITE);
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_dwThreadId = 0;
}
