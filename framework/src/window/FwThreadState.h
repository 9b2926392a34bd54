// Per-thread state of the window layer: the handle maps, the message being
// handled, and the window creation in progress. Each thread has its own, so
// user-interface threads never see or change each other's maps.
#pragma once
#include "FwDefs.h"
#include <commctrl.h>
#include <atomic>
#include <unordered_map>
#include <vector>

class CWnd;
class CDC;
class CGdiObject;
class CMenu;
class CImageList;
class CWinThread;

// Temporary objects alive in the process (a diagnostic for the clean-up).
extern std::atomic<long> g_fwTempObjects;

// Handle -> object. Permanent entries belong to objects that attached
// themselves; temporary ones are made by FromHandle for handles without an
// object and are deleted (without freeing the handle) when the thread idles.
// Each temporary remembers how many modal loops ran when it was made: a modal
// loop's idle time deletes only those made inside it, so a pointer an outer
// handler holds survives a dialog it runs.
template <class H, class T> class FwHandleMap
{
public:
    T* LookupPermanent(H h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    T* LookupTemporary(H h) const
    {
        auto it = m_temporary.find(h);
        return it == m_temporary.end() ? nullptr : it->second.first;
    }
    void SetPermanent(H h, T* p) { m_permanent[h] = p; }
    void SetTemporary(H h, T* p, int nDepth)
    {
        m_temporary[h] = {p, nDepth};
        ++g_fwTempObjects;
    }
    // Removes h's entry if it belongs to p.
    void RemovePermanent(H h, const T* p)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p)
            m_permanent.erase(it);
    }
    const std::unordered_map<H, T*>& Permanent() const { return m_permanent; }
    // The permanent object of h, else its temporary one; `make` creates the
    // temporary (holding h) when there is none yet.
    template <class Make> T* FromHandle(H h, int nDepth, Make make)
    {
        if (h == NULL)
            return nullptr;
        if (T* p = LookupPermanent(h))
            return p;
        if (T* p = LookupTemporary(h))
            return p;
        T* p = make(h);
        SetTemporary(h, p, nDepth);
        return p;
    }
    // Deletes the temporary objects made at modal depth nMinDepth or deeper;
    // `release` first clears the handle so the destructor leaves it alone.
    template <class Release> void DeleteTemporaries(Release release, int nMinDepth)
    {
        std::vector<T*> doomed;
        for (auto it = m_temporary.begin(); it != m_temporary.end();)
        {
            if (it->second.second >= nMinDepth)
            {
                doomed.push_back(it->second.first);
                it = m_temporary.erase(it);
            }
            else
                ++it;
        }
        for (T* p : doomed)
        {
            release(p);
            delete p;
            --g_fwTempObjects;
        }
    }

private:
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, std::pair<T*, int>> m_temporary;
};

struct FwThreadState
{
    FwThreadState();
    ~FwThreadState();

    MSG m_lastSentMsg;            // the message AfxWndProc is handling (Default() reads it)
    MSG m_msgCur;                 // the message the thread's loop last took from the queue
    CWnd* m_pWndInit;             // object waiting for the window CreateEx is making
    HMENU m_hTrackingMenu;        // popup menu last initialised (owner-drawn menu items)
    int m_nModalDepth;            // modal loops running on this thread

    FwHandleMap<HWND, CWnd> m_windows;
    FwHandleMap<HDC, CDC> m_dcs;
    FwHandleMap<HGDIOBJ, CGdiObject> m_gdiObjects;
    FwHandleMap<HMENU, CMenu> m_menus;
    FwHandleMap<HIMAGELIST, CImageList> m_imageLists;

    // Deletes temporaries made at modal depth nMinDepth or deeper.
    void DeleteTemporaries(int nMinDepth = 0);
};

FwThreadState* FwGetThreadState();
