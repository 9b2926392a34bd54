// Per-thread state of the window layer: the handle maps, the message being
// handled, and the window creation in progress. Each thread has its own, so
// user-interface threads never see or change each other's maps.
#pragma once
#include "FwDefs.h"
#include <commctrl.h>
#include <unordered_map>

class CWnd;
class CDC;
class CGdiObject;
class CMenu;
class CImageList;
class CWinThread;

// Handle -> object. Permanent entries belong to objects that attached
// themselves; temporary ones are made by FromHandle for handles without an
// object and are deleted (without freeing the handle) when the thread idles.
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
        return it == m_temporary.end() ? nullptr : it->second;
    }
    void SetPermanent(H h, T* p) { m_permanent[h] = p; }
    void SetTemporary(H h, T* p) { m_temporary[h] = p; }
    // Removes h's entry if it belongs to p.
    void RemovePermanent(H h, const T* p)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p)
            m_permanent.erase(it);
    }
    const std::unordered_map<H, T*>& Permanent() const { return m_permanent; }
    // Deletes every temporary object; `release` first clears its handle so
    // the destructor leaves the handle alone.
    template <class Release> void DeleteTemporaries(Release release)
    {
        std::unordered_map<H, T*> temps;
        temps.swap(m_temporary);
        for (auto& entry : temps)
        {
            release(entry.second);
            delete entry.second;
        }
    }

private:
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, T*> m_temporary;
};

struct FwThreadState
{
    FwThreadState();
    ~FwThreadState();

    MSG m_lastSentMsg;            // the message AfxWndProc is handling (Default() reads it)
    MSG m_msgCur;                 // the message the thread's loop last took from the queue
    CWnd* m_pWndInit;             // object waiting for the window CreateEx is making
    HMENU m_hTrackingMenu;        // popup menu last initialised (owner-drawn menu items)
    CWinThread* m_pCurrentThread; // the framework thread object running on this thread

    FwHandleMap<HWND, CWnd> m_windows;
    FwHandleMap<HDC, CDC> m_dcs;
    FwHandleMap<HGDIOBJ, CGdiObject> m_gdiObjects;
    FwHandleMap<HMENU, CMenu> m_menus;
    FwHandleMap<HIMAGELIST, CImageList> m_imageLists;

    void DeleteTemporaries();
};

FwThreadState* FwGetThreadState();
