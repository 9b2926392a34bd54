// The critical section of the skinning framework and its scoped lock. Every
// lock of the framework is taken through CCritSecLock, so none is ever held
// across a return to the caller.
#pragma once
#include <FwDefs.h>

class CCritSec
{
public:
    CCritSec() { ::InitializeCriticalSection(&m_sect); }
    ~CCritSec() { ::DeleteCriticalSection(&m_sect); }
    CCritSec(const CCritSec&) = delete;
    CCritSec& operator=(const CCritSec&) = delete;

    operator CRITICAL_SECTION*() { return &m_sect; }

private:
    CRITICAL_SECTION m_sect;
};

class CCritSecLock
{
public:
    explicit CCritSecLock(CCritSec& sec) : m_pSect(sec) { ::EnterCriticalSection(m_pSect); }
    explicit CCritSecLock(CRITICAL_SECTION* pSect) : m_pSect(pSect) { ::EnterCriticalSection(m_pSect); }
    ~CCritSecLock() { ::LeaveCriticalSection(m_pSect); }
    CCritSecLock(const CCritSecLock&) = delete;
    CCritSecLock& operator=(const CCritSecLock&) = delete;

private:
    CRITICAL_SECTION* m_pSect;
};
