#include "GrowthWait.h"

GrowthWait::GrowthWait(const std::wstring& filePath)
{
    size_t slash = filePath.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        m_folder = filePath.substr(0, slash + 1);
}

GrowthWait::~GrowthWait()
{
    if (m_change != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(m_change);
}

HANDLE GrowthWait::Handle()
{
    // The folder is watched only once a wait is needed: most files are whole.
    if (!m_tried && !m_folder.empty())
    {
        m_tried = true;
        m_change = FindFirstChangeNotificationW(
            m_folder.c_str(), FALSE,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    }
    return m_change == INVALID_HANDLE_VALUE ? nullptr : m_change;
}

DWORD GrowthWait::NextPause()
{
    DWORD pause = m_pause;
    m_pause = m_pause * 2 > kLongestPause ? kLongestPause : m_pause * 2;
    return pause;
}

void GrowthWait::Rearm()
{
    if (m_change != INVALID_HANDLE_VALUE && !FindNextChangeNotification(m_change))
    {
        FindCloseChangeNotification(m_change);
        m_change = INVALID_HANDLE_VALUE;
    }
}
