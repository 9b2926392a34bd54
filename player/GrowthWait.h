#pragma once
#include <windows.h>
#include <string>

// How a connection waits for a cache file to appear or to grow: a change
// notification on the file's folder wakes it as soon as the writer appends,
// and a pause that doubles while nothing arrives (up to a bound) covers
// writers whose changes are not notified. Waiting streams cost next to no
// processor time and still see new bytes at once.
class GrowthWait
{
  public:
    static const DWORD kFirstPause = 1;
    static const DWORD kLongestPause = 500;

    explicit GrowthWait(const std::wstring& filePath);
    ~GrowthWait();
    GrowthWait(const GrowthWait&) = delete;
    GrowthWait& operator=(const GrowthWait&) = delete;

    // The notification handle to wait on beside the others, or null when the
    // folder cannot be watched.
    HANDLE Handle();
    // The pause of the next wait; each call doubles the one after it.
    DWORD NextPause();
    // New bytes arrived: the next pause is short again.
    void Reset() { m_pause = kFirstPause; }
    // The notification fired: watch for the next change.
    void Rearm();

  private:
    std::wstring m_folder;
    HANDLE m_change = INVALID_HANDLE_VALUE;
    bool m_tried = false;
    DWORD m_pause = kFirstPause;
};
