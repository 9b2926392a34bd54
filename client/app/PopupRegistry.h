// The registry of open pop-up windows (the web song browser windows): one
// per process, made on first use; the main window closes them all when it is
// destroyed. Used on the user-interface thread only.
#pragma once

#include "Framework.h"

#include <set>

class CPopupRegistry
{
  public:
    static CPopupRegistry* GetInstance();

    // 1 when added, 0 when the window was already registered.
    int Add(CWnd* window);
    // 0 when not registered; else destroys the window when it still exists,
    // forgets it and returns 1.
    int Remove(CWnd* window);
    // Destroys every registered window that still exists, then frees the
    // registry (the next GetInstance makes a new one).
    static void CloseAll();

    int GetCount() const { return static_cast<int>(m_windows.size()); }

  private:
    CPopupRegistry() {}
    static void DestroyIfAlive(CWnd* window);

    std::set<CWnd*> m_windows; // keyed by the object's address
    static CPopupRegistry* s_instance;
};
