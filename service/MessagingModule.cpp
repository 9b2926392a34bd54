#include "MessagingModule.h"
#include "MessagingAccounts.h"
#include "ServiceHost.h"
#include "SocketStream.h"
#include "TextUtil.h"
#include "VosselFrame.h"
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <thread>

namespace
{
// A connection whose unsent frames pass this many bytes is not reading; it is
// ended rather than let to hold the server's memory.
const size_t QueueLimit = 8 * 1024 * 1024;
// A new connection must log in within this time.
const DWORD LoginWaitMs = 30000;
const DWORD SendWaitMs = 30000;

std::string Email(const VosselFrame& frame, size_t i)
{
    return text::Lower(text::Trim(text::Narrow(frame.Text(i))));
}

std::wstring Wide(const std::string& utf8)
{
    return text::Widen(utf8);
}

// A command record with s1 and s4 set, the other slots empty.
VosselFrame Command(int code, const std::string& s1, int extra = 0, const std::wstring& s4 = std::wstring())
{
    VosselFrame f(FrameCommand, code, extra);
    f.Add(Wide(s1)).Add(L"").Add(L"").Add(s4);
    for (int i = 0; i < 4; ++i)
        f.Add(L"");
    return f;
}

// The profile record (21) of an account, as a user who asks for it gets it.
VosselFrame ProfileRecord(const MessagingAccount& a)
{
    VosselFrame reply(FrameCommand, 21, a.age);
    reply.Add(Wide(a.email)).Add(Wide(a.nick)).Add(Wide(a.number)).Add(Wide(a.signature));
    reply.Add(Wide(a.profile1 + "0$0" + a.profile2)).Add(L"").Add(L"").Add(Wide(a.flags));
    return reply;
}

// Reads the next frame; false when the connection closed or broke, or when
// `stop` turns true (checked between waits, since a local shutdown does not
// always wake a blocked receive).
template <typename Stop> bool ReadFrame(SocketStream& stream, VosselFrameReader& reader, VosselFrame& frame, Stop stop)
{
    char buf[64 * 1024];
    for (;;)
    {
        int got = reader.Next(frame);
        if (got == 1)
            return true;
        if (got < 0 || stop())
            return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(stream.Handle(), &readable);
        timeval wait = {0, 200 * 1000};
        int ready = ::select(0, &readable, nullptr, nullptr, &wait);
        if (ready < 0)
            return false;
        if (ready == 0)
            continue;
        int n = stream.ReceiveSome(buf, sizeof buf);
        if (n <= 0)
            return false;
        reader.Append(buf, n);
    }
}
} // namespace

// One connection: its user once logged in, presence, and the send queue that
// its writing thread empties.
struct MessagingModule::Session
{
    explicit Session(SocketStream& stream) : stream(stream) {}

    void Enqueue(const VosselFrame& frame)
    {
        std::string bytes = frame.Encode();
        std::lock_guard<std::mutex> hold(lock);
        if (closing)
            return;
        if (queued + bytes.size() > QueueLimit)
        {
            closing = true; // the peer stopped reading
            ::shutdown(stream.Handle(), SD_BOTH);
        }
        else
        {
            queued += bytes.size();
            queue.push_back(std::move(bytes));
        }
        wake.notify_one();
    }
    // Sends what is queued, then ends the connection.
    void CloseAfterQueue()
    {
        std::lock_guard<std::mutex> hold(lock);
        closeWhenEmpty = true;
        wake.notify_one();
    }
    bool IsClosing()
    {
        std::lock_guard<std::mutex> hold(lock);
        return closing;
    }
    void Stop()
    {
        std::lock_guard<std::mutex> hold(lock);
        closing = true;
        wake.notify_one();
    }
    void WriteLoop()
    {
        for (;;)
        {
            std::string bytes;
            {
                std::unique_lock<std::mutex> hold(lock);
                wake.wait(hold, [&] { return closing || closeWhenEmpty || !queue.empty(); });
                if (closing || queue.empty())
                    break;
                bytes = std::move(queue.front());
                queue.pop_front();
                queued -= bytes.size();
            }
            if (!stream.SendAll(bytes))
                break;
        }
        std::lock_guard<std::mutex> hold(lock);
        closing = true; // the reading thread stops too
        ::shutdown(stream.Handle(), SD_BOTH);
    }

    SocketStream& stream;
    std::string email;
    int presence = 0;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::string> queue;
    size_t queued = 0;
    bool closing = false, closeWhenEmpty = false;
};

MessagingModule::MessagingModule() = default;
MessagingModule::~MessagingModule() = default;

void MessagingModule::Register(ServiceHost& host)
{
    m_host = &host;
    m_accounts.reset(new MessagingAccounts(host.Data()));
    // A fresh data folder gets two accounts that are buddies, so that the demo
    // can log in; tests and people replace the file at will.
    if (!host.Data().FileExists("accounts.txt"))
        host.Data().WriteFile("accounts.txt", "# e-mail\tpassword\tnick\tbuddies\n"
                                              "demo@yeb360.com\tdemo123\tDemo\tbuddy@yeb360.com\n"
                                              "buddy@yeb360.com\tbuddy123\tBuddy\n");
    host.AddListener("messaging", [this](SocketStream& stream) { Serve(stream); });
    host.Web().Route("POST", "/test/messaging/send", [this](const HttpRequest& request, HttpResponse& response) {
        SendFromForm(request.body, response.body);
    });
}

// Form fields: to (the user), code, extra, s1 to s8 (UTF-8, URL-encoded).
// The answer is "OK", or "OFFLINE" when the user has no connection.
void MessagingModule::SendFromForm(const std::string& form, std::string& answer)
{
    std::string to = text::Lower(text::Trim(text::FormValue(form, "to")));
    int code = std::atoi(text::FormValue(form, "code").c_str());
    VosselFrame record(FrameCommand, code, std::atoi(text::FormValue(form, "extra").c_str()));
    for (int i = 1; i <= 8; ++i)
        record.Add(Wide(text::FormValue(form, "s" + std::to_string(i))));
    bool sent;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        sent = SendTo(to, record);
    }
    answer = sent ? "OK" : "OFFLINE";
    m_host->Data().Log("messaging", "sent", {{"user", to}, {"code", std::to_string(code)}, {"result", answer}});
}

void MessagingModule::Started(ServiceHost& host)
{
    // The messaging server is the configuration's server of type "0"; the
    // library connects to its address, which carries the port.
    std::string port = std::to_string(host.Port("messaging"));
    host.AddServerEntry({"0", "im.yeb360", std::string(host.LoopbackHost()) + ":" + port, port, "1000", "0", "0",
                         "messaging"});
    host.SetClientSetting("MessagingHost", host.LoopbackHost());
    host.SetClientSetting("MessagingPort", port);
}

void MessagingModule::Serve(SocketStream& stream)
{
    // A connection must log in in time, and a send that a peer does not take
    // fails after a while instead of holding its writing thread for ever.
    DWORD start = ::GetTickCount(), sendWait = SendWaitMs;
    ::setsockopt(stream.Handle(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendWait), sizeof sendWait);
    VosselFrameReader reader;
    VosselFrame frame;
    if (!ReadFrame(stream, reader, frame, [&] { return ::GetTickCount() - start > LoginWaitMs; }) ||
        frame.kind != FrameLogin)
        return;
    auto session = std::make_shared<Session>(stream);
    std::thread writer(&Session::WriteLoop, session.get());
    if (LogIn(session, frame))
    {
        while (ReadFrame(stream, reader, frame, [&] { return session->IsClosing(); }) && frame.kind != FrameBye)
            if (IsCurrent(session))
                Handle(session, frame);
        LogOut(session);
        session->Stop();
    }
    writer.join(); // a refused login's answer is sent first
}

bool MessagingModule::IsCurrent(const std::shared_ptr<Session>& session)
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_online.find(session->email);
    return it != m_online.end() && it->second == session;
}

bool MessagingModule::SendTo(const std::string& email, const VosselFrame& frame)
{
    auto it = m_online.find(email);
    if (it == m_online.end())
        return false;
    it->second->Enqueue(frame);
    return true;
}

bool MessagingModule::LogIn(const std::shared_ptr<Session>& session, const VosselFrame& login)
{
    std::string email = Email(login, 0);
    MessagingAccount account;
    if (!m_accounts->CheckPassword(email, text::Narrow(login.Text(1))) || !m_accounts->Find(email, account))
    {
        m_host->Data().Log("messaging", "login", {{"user", email}, {"result", "UNAUTHORIZED"}});
        session->Enqueue(Command(25, "", 0, L"UNAUTHORIZED"));
        session->CloseAfterQueue();
        return false;
    }
    session->email = email;
    std::lock_guard<std::mutex> hold(m_lock);
    auto old = m_online.find(email);
    if (old != m_online.end())
    {
        // A second login takes over; the first connection is told and ended.
        old->second->Enqueue(Command(25, "", 0, L"CONFLICT"));
        old->second->CloseAfterQueue();
    }
    m_online[email] = session;
    // The buddies first, then login complete, then who of them is online.
    for (const std::string& buddy : account.buddies)
        session->Enqueue(Command(26, buddy));
    session->Enqueue(Command(1, ""));
    for (const std::string& buddy : account.buddies)
    {
        auto online = m_online.find(buddy);
        if (online != m_online.end() && online->second->presence < 3)
            session->Enqueue(Command(6, buddy, online->second->presence, L"1"));
    }
    for (const auto& request : m_requests[email])
    {
        VosselFrame ask = Command(2, request.first);
        ask.fields[1] = VosselFrame::ToWire(Wide(request.second));
        session->Enqueue(ask);
    }
    Broadcast(email, 0, "0");
    // The buddies answer with their song counts (38), which reach this user
    // as library updates.
    AskBuddies(email, L"gettotal");
    m_host->Data().Log("messaging", "login", {{"user", email}, {"result", "ok"}});
    return true;
}

void MessagingModule::LogOut(const std::shared_ptr<Session>& session)
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_online.find(session->email);
    if (it == m_online.end() || it->second != session)
        return; // replaced by a newer login, which keeps the presence
    m_online.erase(it);
    Broadcast(session->email, 3, "0");
    // Transfers through the leaving user end for the other side.
    for (auto t = m_transfers.begin(); t != m_transfers.end();)
    {
        if (t->owner == session->email)
        {
            VosselFrame end(FrameFileEnd, 0, FilePeerAbsent);
            end.Add(Wide(t->owner)).AddBytes(t->tid);
            SendTo(t->requester, end);
        }
        else if (t->requester == session->email)
            SendTo(t->owner, VosselFrame(FrameFileCancel).Add(Wide(t->requester)).AddBytes(t->tid));
        else
        {
            ++t;
            continue;
        }
        t = m_transfers.erase(t);
    }
    m_host->Data().Log("messaging", "logout", {{"user", session->email}});
}

void MessagingModule::AskBuddies(const std::string& user, const wchar_t* subCommand)
{
    MessagingAccount account;
    if (!m_accounts->Find(user, account))
        return;
    for (const std::string& buddy : account.buddies)
    {
        auto online = m_online.find(buddy);
        if (online == m_online.end() || online->second->presence >= 3)
            continue;
        online->second->Enqueue(Command(23, user, 0, subCommand));
    }
}

// Tells the user's online buddies its presence (called with m_lock held).
void MessagingModule::Broadcast(const std::string& user, int presence, const char* live)
{
    MessagingAccount account;
    if (!m_accounts->Find(user, account))
        return;
    for (const std::string& buddy : account.buddies)
        SendTo(buddy, Command(6, user, presence, Wide(live)));
}

void MessagingModule::Handle(const std::shared_ptr<Session>& session, VosselFrame& frame)
{
    const std::string& sender = session->email;
    switch (frame.kind)
    {
    case FrameCommand:
        if (frame.code == 24 || frame.code == 15)
        {
            std::lock_guard<std::mutex> hold(m_lock);
            session->presence = frame.extra >= 0 && frame.extra <= 4 ? frame.extra : 0;
            Broadcast(sender, session->presence, "0");
        }
        else
            HandleCommand(sender, frame);
        break;
    case FrameChat:
    {
        std::string to = Email(frame, 0);
        if (!m_accounts->AreBuddies(sender, to))
            break;
        std::lock_guard<std::mutex> hold(m_lock);
        SendTo(to, Command(8, sender, 0, frame.Text(1)));
        break;
    }
    case FrameAddFriend:
    {
        std::string target = Email(frame, 0);
        MessagingAccount account;
        if (target == sender || !m_accounts->Find(target, account) || m_accounts->AreBuddies(sender, target))
            break;
        std::string note = text::Narrow(frame.Text(1));
        std::lock_guard<std::mutex> hold(m_lock);
        m_requests[target][sender] = note; // kept until answered; told again at each login
        VosselFrame ask = Command(2, sender);
        ask.fields[1] = VosselFrame::ToWire(frame.Text(1));
        SendTo(target, ask);
        break;
    }
    case FrameAccept:
        Answer(sender, Email(frame, 0), frame.extra != 0);
        break;
    case FrameReject:
        Answer(sender, Email(frame, 0), false);
        break;
    case FrameDelFriend:
    {
        std::string buddy = Email(frame, 0);
        if (!m_accounts->AreBuddies(sender, buddy))
            break;
        m_accounts->RemoveBuddies(sender, buddy);
        std::lock_guard<std::mutex> hold(m_lock);
        SendTo(buddy, Command(6, sender, 3, L"0")); // no longer seen online
        break;
    }
    default:
        HandleFile(sender, frame);
        break;
    }
}

void MessagingModule::Answer(const std::string& sender, const std::string& requester, bool accept)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        auto asked = m_requests.find(sender);
        if (asked == m_requests.end() || !asked->second.erase(requester))
            return; // no open request (an answer to an answer ends here)
    }
    if (accept)
        m_accounts->MakeBuddies(sender, requester);
    std::lock_guard<std::mutex> hold(m_lock);
    if (accept)
    {
        SendTo(sender, Command(26, requester));
        SendTo(sender, Command(3, requester, 0, L"1"));
        SendTo(requester, Command(26, sender));
    }
    SendTo(requester, Command(3, sender, 0, accept ? L"1" : L"0"));
}

void MessagingModule::HandleCommand(const std::string& sender, VosselFrame& frame)
{
    frame.fields.resize(8);
    std::string target = Email(frame, 0);
    switch (frame.code)
    {
    case 21: // a user's profile
    {
        MessagingAccount a;
        if (!m_accounts->Find(target, a))
            return;
        std::lock_guard<std::mutex> hold(m_lock);
        SendTo(sender, ProfileRecord(a));
        return;
    }
    case 22: // the sender's own profile
    {
        MessagingAccount a;
        a.email = sender;
        a.profile1 = text::Narrow(frame.Text(0));
        a.nick = text::Narrow(frame.Text(1));
        a.number = text::Narrow(frame.Text(2));
        a.signature = text::Narrow(frame.Text(3));
        a.profile2 = text::Narrow(frame.Text(4));
        a.flags = text::Narrow(frame.Text(7));
        a.age = frame.extra;
        m_accounts->SetProfile(a);
        MessagingAccount saved;
        if (!m_accounts->Find(sender, saved))
            return;
        // The online buddies see the new profile at once.
        std::lock_guard<std::mutex> hold(m_lock);
        AskBuddies(sender, L"VCard");
        for (const std::string& buddy : saved.buddies)
            SendTo(buddy, ProfileRecord(saved));
        return;
    }
    case 11: case 12: case 13: case 14: case 37: case 42: case 43:
        break; // delivered as sent, s1 naming the sender
    case 32: // a buddy list: the answer to code 37 arrives marked in s8
        frame.fields[7] = frame.fields[3];
        frame.fields[3].clear();
        break;
    case 38: // the sender's song count reaches the buddy as a library update
    case 40: // a board of the owner's song was opened: the owner is asked for it
    case 41: // the owner's answer: the board itself
    {
        static const wchar_t* const names[] = {L"UpdatePlaylist", L"getboard", L"board"};
        VosselFrame sub(FrameCommand, 23, 0);
        sub.fields.resize(8);
        sub.fields[2] = frame.fields[2];
        sub.fields[3] = VosselFrame::ToWire(names[frame.code == 38 ? 0 : frame.code == 40 ? 1 : 2]);
        if (frame.code != 40)
            sub.fields[4] = frame.fields[4];
        frame = sub;
        break;
    }
    default:
        return; // not a command that goes from user to user
    }
    if (!m_accounts->AreBuddies(sender, target))
        return;
    frame.fields[0] = VosselFrame::ToWire(Wide(sender));
    std::lock_guard<std::mutex> hold(m_lock);
    SendTo(target, frame);
}

void MessagingModule::HandleFile(const std::string& sender, VosselFrame& frame)
{
    if (frame.kind < FrameFileRequest || frame.kind > FrameFileCancel || frame.fields.size() < 2)
        return;
    std::string peer = Email(frame, 0);
    const std::string& tid = frame.fields[1];
    bool fromOwner = frame.kind == FrameFileBegin || frame.kind == FrameFileData || frame.kind == FrameFileEnd;
    std::string owner = fromOwner ? sender : peer, requester = fromOwner ? peer : sender;
    bool buddies = m_accounts->AreBuddies(sender, peer);
    std::lock_guard<std::mutex> hold(m_lock);
    auto known = m_transfers.end();
    for (auto t = m_transfers.begin(); t != m_transfers.end(); ++t)
        if (t->owner == owner && t->requester == requester && t->tid == tid)
            known = t;
    if (frame.kind == FrameFileRequest)
    {
        if (!buddies || !m_online.count(owner))
        {
            // Nobody to ask: the requester hears at once that the owner is absent.
            VosselFrame end(FrameFileEnd, 0, FilePeerAbsent);
            end.Add(Wide(owner)).AddBytes(tid);
            SendTo(sender, end);
            return;
        }
        if (known == m_transfers.end())
            m_transfers.push_back({owner, requester, tid});
        // Recorded so that a test can count the transfers a client asked for.
        m_host->Data().Log("messaging", "file-request", {{"owner", owner}, {"requester", requester}});
    }
    else if (known == m_transfers.end())
        return; // only pieces of a transfer that was asked for pass
    else if (frame.kind == FrameFileEnd || frame.kind == FrameFileCancel)
        m_transfers.erase(known);
    frame.fields[0] = VosselFrame::ToWire(Wide(sender));
    SendTo(peer, frame);
}
