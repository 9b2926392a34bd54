#pragma once
#include <mutex>
#include <set>
#include <string>

// The song files that buddies may fetch besides those of the cache folder:
// the owner's song library and the songs pushed to buddies. Filled by the
// client on its thread, read by connection threads.
class SharedSongList
{
  public:
    void Add(const std::wstring& path);
    void Remove(const std::wstring& path);
    void Clear();
    // Whether a path, written in any form that names the same file, is shared.
    bool Contains(const std::wstring& path) const;

    // The full path of a file in upper case, the form in which paths are
    // compared; empty when the path cannot be made full.
    static std::wstring Normalize(const std::wstring& path);

  private:
    mutable std::mutex m_lock;
    std::set<std::wstring> m_paths;
};
