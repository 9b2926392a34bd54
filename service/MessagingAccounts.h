#pragma once
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class DataStore;

// One account of the messaging server. Texts are UTF-8; e-mails lower case.
struct MessagingAccount
{
    std::string email, password, nick, signature, profile1, profile2;
    std::string number = "0", flags = "0";
    int age = 18;
    std::set<std::string> buddies;
};

// The messaging server's accounts, kept in "accounts.txt" of the data folder:
// one line per account with the tab-separated fields e-mail, password, nick,
// buddies (comma-separated e-mails), signature, first and second profile
// text, profile number, flags and age; only the first two are required.
// Lines starting with "#" are comments; "\t", "\n" and "\\" escape those
// characters inside a field. Buddies are kept mutual. The file is read again
// whenever it changed on disk (a test or a person may edit it while the
// service runs) and written back after every change the server makes.
class MessagingAccounts
{
  public:
    explicit MessagingAccounts(DataStore& data) : m_data(data) {}

    bool Find(const std::string& email, MessagingAccount& account);
    // The client sends the password followed by its first three characters.
    bool CheckPassword(const std::string& email, const std::string& sent);
    bool AreBuddies(const std::string& a, const std::string& b);
    void MakeBuddies(const std::string& a, const std::string& b);
    void RemoveBuddies(const std::string& a, const std::string& b);
    void SetProfile(const MessagingAccount& profile);

    static std::string Escape(const std::string& field);
    static std::string Unescape(const std::string& field);

  private:
    void Refresh();
    void Save();

    DataStore& m_data;
    std::mutex m_lock;
    std::map<std::string, MessagingAccount> m_accounts;
    unsigned long long m_stamp = ~0ULL; // last write time of the file as last read or written
};
