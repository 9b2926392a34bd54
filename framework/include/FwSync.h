// Synchronisation objects: each wraps one kernel object (or a critical
// section) and frees it in its destructor. CSingleLock locks one of them for
// a scope and unlocks in its destructor. Creating a kernel object that the
// system refuses throws CResourceException.
#pragma once
#include "FwException.h"

class CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
  public:
    explicit CSyncObject(LPCWSTR pstrName = NULL);
    ~CSyncObject() override;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    operator HANDLE() const { return m_hObject; }
    // Waits for the object; TRUE when it was acquired (or signalled).
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG /*lCount*/, LPLONG /*lpPrevCount*/ = NULL) { return TRUE; }

    HANDLE m_hObject;
};

class CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)
  public:
    CCriticalSection();
    ~CCriticalSection() override;
    operator CRITICAL_SECTION*() { return &m_sect; }
    // The timeout is ignored: a critical section is always waited for.
    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    BOOL Unlock() override;

    CRITICAL_SECTION m_sect;
};

class CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)
  public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCWSTR lpszName = NULL,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

class CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
  public:
    // A named mutex is shared with every process that names it.
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCWSTR lpszName = NULL,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class CSemaphore : public CSyncObject
{
    DECLARE_DYNAMIC(CSemaphore)
  public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCWSTR pstrName = NULL,
                        LPSECURITY_ATTRIBUTES lpsaAttributes = NULL);
    BOOL Unlock() override { return Unlock(1, NULL); }
    BOOL Unlock(LONG lCount, LPLONG lprevCount = NULL) override
    {
        return ::ReleaseSemaphore(m_hObject, lCount, lprevCount);
    }
};

class CSingleLock
{
  public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked() const { return m_bAcquired; }

  protected:
    CSyncObject* m_pObject;
    BOOL m_bAcquired;
};
