// A recording stand-in for the messaging library: while one exists, every
// call the client makes through the messaging table is recorded here
// instead of reaching the library.
#pragma once

#include "MessagingLink.h"
#include "Framework.h"

#include <string>
#include <vector>

struct RecordedCall
{
    std::string what; // "push", "accept", "reject", "addFriend", "delFriend", "cancel"
    int code = 0;
    int extra = 0;
    CString s[8]; // the record's slots, or the call's arguments in s[0] and s[1]
    int flag = 0;
};

class RecordingMessaging
{
  public:
    RecordingMessaging();
    ~RecordingMessaging();

    std::vector<RecordedCall> calls;
    // The pushed records of one code.
    std::vector<RecordedCall> Pushed(int code) const;
    std::vector<CString> PushedTo(int code) const; // their s1

    static RecordingMessaging* current;

  private:
    MessagingLink m_saved;
};
