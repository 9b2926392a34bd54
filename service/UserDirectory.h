#pragma once
#include <map>
#include <mutex>
#include <string>

class DataStore;

// The service's accounts as far as the stand-in needs them: a numeric user id
// per e-mail, kept in "users.txt" of the data folder (one "e-mail<TAB>id"
// line each). An e-mail that is not there yet gets the next free id.
class UserDirectory
{
  public:
    explicit UserDirectory(DataStore& data) : m_data(data) {}
    unsigned UidOf(const std::string& email);
    // The e-mail that holds the id; false when no e-mail has it.
    bool EmailOf(unsigned uid, std::string& email);

  private:
    void LoadOnce();
    void Load();

    DataStore& m_data;
    std::mutex m_lock;
    std::map<std::string, unsigned> m_uids;
    bool m_loaded = false;
};
