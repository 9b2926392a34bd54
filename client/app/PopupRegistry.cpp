#include "PopupRegistry.h"

#include <vector>

CPopupRegistry* CPopupRegistry::s_instance = nullptr;

CPopupRegistry* CPopupRegistry::GetInstance()
{
    if (!s_instance)
        s_instance = new CPopupRegistry;
    return s_instance;
}

void CPopupRegistry::DestroyIfAlive(CWnd* window)
{
    if (window && ::IsWindow(window->GetSafeHwnd()))
        window->DestroyWindow();
}

int CPopupRegistry::Add(CWnd* window)
{
    return m_windows.insert(window).second ? 1 : 0;
}

int CPopupRegistry::Remove(CWnd* window)
{
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return 0;
    // Forget it first: a window that deletes itself on destruction must not
    // be reached through the registry afterwards.
    m_windows.erase(it);
    DestroyIfAlive(window);
    return 1;
}

void CPopupRegistry::CloseAll()
{
    CPopupRegistry* registry = s_instance;
    if (!registry)
        return;
    // Take the windows out first: a window being destroyed may ask the
    // registry to remove it, which then finds nothing to do.
    std::vector<CWnd*> windows(registry->m_windows.begin(), registry->m_windows.end());
    registry->m_windows.clear();
    for (CWnd* window : windows)
        DestroyIfAlive(window);
    s_instance = nullptr;
    delete registry;
}
