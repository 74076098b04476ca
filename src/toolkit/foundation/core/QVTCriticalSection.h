// A plain critical section and its scope lock.
#pragma once

#include <afx.h>

class CQVTCriticalSection
{
public:
    CQVTCriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CQVTCriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CQVTCriticalSection(const CQVTCriticalSection&) = delete;
    CQVTCriticalSection& operator=(const CQVTCriticalSection&) = delete;

    void EnterCritical() { ::EnterCriticalSection(&m_cs); }
    void LeaveCritical() { ::LeaveCriticalSection(&m_cs); }
    operator CRITICAL_SECTION&() { return m_cs; }

private:
    CRITICAL_SECTION m_cs;
};

class CQVTCriticalSectionLock
{
public:
    explicit CQVTCriticalSectionLock(CQVTCriticalSection& cs) : m_cs(cs) { m_cs.EnterCritical(); }
    ~CQVTCriticalSectionLock() { m_cs.LeaveCritical(); }
    CQVTCriticalSectionLock(const CQVTCriticalSectionLock&) = delete;
    CQVTCriticalSectionLock& operator=(const CQVTCriticalSectionLock&) = delete;

private:
    CQVTCriticalSection& m_cs;
};
