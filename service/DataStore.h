#pragma once
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The data folder of the stand-in service: the record log "log.txt", one
// file per received upload or body below "received\", static web files below
// "www\", and whatever state the modules keep. Every record is one line of
// tab-separated fields: sequence number, source, event, then key=value pairs
// whose values escape '%', tabs, line breaks and other control bytes as %XX,
// and last "ms", the milliseconds since the service started.
class DataStore
{
  public:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    bool Open(const std::wstring& folder);
    const std::wstring& Folder() const { return m_folder; }
    // Full Windows path of a path relative to the data folder ('/' or '\').
    std::wstring PathOf(const std::string& relative) const;

    void Log(const std::string& source, const std::string& event, const Fields& fields);
    // Saves bytes as "received\<sequence>-<tag>.bin"; returns that relative name.
    std::string SaveReceived(const std::string& tag, const std::string& bytes);

    bool ReadFile(const std::string& relative, std::string& bytes) const;
    bool WriteFile(const std::string& relative, const std::string& bytes);
    bool FileExists(const std::string& relative) const;

    static std::string Escape(const std::string& value);

  private:
    void MakeFolders(const std::wstring& path);

    std::wstring m_folder;
    std::mutex m_lock;
    unsigned m_sequence = 0;
    unsigned long m_started = 0; // tick count at Open
};
