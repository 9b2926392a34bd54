#pragma once
#include "ServiceModule.h"
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class MessagingAccounts;
class VosselFrame;
class SocketStream;

// The messaging server behind the Vossel library (listener "messaging"; the
// frames are described in outside/vossel/WIRE.md). It logs users in against
// "accounts.txt" of the data folder, tells buddies about each other's
// presence, routes the commands that go from one user to a buddy (the
// receiver sees the sender's id in s1), turns the song-count, board and
// buddy-list commands into what the receiving client expects, keeps buddy
// requests until their target logs in, and relays song and library
// transfers between two buddies' libraries. A user who logs in has its
// online buddies asked for their song counts (23 "gettotal"); a saved
// profile is announced to them (23 "VCard", then the profile itself). The route
// "/test/messaging/send" lets a test have the server send any command
// record to a user: system messages (36), the rarer errors (25) and records
// no real server would send.
//
// Every connection has its own reading thread and its own writing thread
// with a send queue; routing only appends to the receiver's queue, so a slow
// or vanished peer holds up nobody else. A queue that grows past its limit
// ends that peer's connection.
class MessagingModule : public ServiceModule
{
  public:
    MessagingModule();
    ~MessagingModule() override;
    const char* Name() const override { return "messaging"; }
    void Register(ServiceHost& host) override;
    void Started(ServiceHost& host) override;

    struct Session;
    struct Transfer
    {
        std::string owner, requester;
        std::string tid; // the requester's transfer id, as wire bytes
    };

  private:
    void Serve(SocketStream& stream);
    bool LogIn(const std::shared_ptr<Session>& session, const VosselFrame& login);
    void LogOut(const std::shared_ptr<Session>& session);
    void Handle(const std::shared_ptr<Session>& session, VosselFrame& frame);
    void HandleCommand(const std::string& sender, VosselFrame& frame);
    void HandleFile(const std::string& sender, VosselFrame& frame);
    void Answer(const std::string& sender, const std::string& requester, bool accept);
    void Broadcast(const std::string& user, int presence, const char* live);
    // Sends 23 with the sub-command name and s1 = user to every online buddy
    // of the user (called with m_lock held).
    void AskBuddies(const std::string& user, const wchar_t* subCommand);
    // The test route: one command record, as the form gives it, to a user.
    void SendFromForm(const std::string& form, std::string& answer);

    // Sends to a user's current connection; false when the user is offline.
    bool SendTo(const std::string& email, const VosselFrame& frame);
    bool IsCurrent(const std::shared_ptr<Session>& session);

    ServiceHost* m_host = nullptr;
    std::unique_ptr<MessagingAccounts> m_accounts;
    std::mutex m_lock; // guards everything below
    std::map<std::string, std::shared_ptr<Session>> m_online;
    std::map<std::string, std::map<std::string, std::string>> m_requests; // target -> requester -> text
    std::vector<Transfer> m_transfers;
};
