// Menu sounds played on a worker thread so that the user interface never
// waits for the sound system.
#pragma once

#include <afx.h>

class CQVTSoundPlayer
{
public:
    enum SystemSound
    {
        soundMenuCommand = 1,
        soundMenuPopup = 2
    };

    CQVTSoundPlayer();
    virtual ~CQVTSoundPlayer();

    // Posts the sound to the thread, started on first use; returns at once.
    void PlaySystemSound(int nSound);
    void Stop();

    void EnableSystemSounds(BOOL bEnable) { m_bSystemSounds = bEnable; }
    void EnableMenuSounds(BOOL bEnable) { m_bMenuSounds = bEnable; }
    BOOL IsRunning() const { return m_hThread != nullptr; }
    DWORD GetThreadId() const { return m_dwThreadId; }

protected:
    void Start();
    // Plays one system sound alias; runs on the worker thread.
    virtual void PlayAlias(LPCWSTR lpszAlias);

    static DWORD WINAPI ThreadProc(LPVOID pParam);

    BOOL m_bSystemSounds;
    BOOL m_bMenuSounds;
    HANDLE m_hThread;
    HANDLE m_hStartEvent;
    DWORD m_dwThreadId;
};

CQVTSoundPlayer* AFXAPI QVTSoundPlayer();
