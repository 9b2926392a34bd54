#include "MessagingLink.h"

MessagingLink LibraryMessagingLink()
{
    return MessagingLink{&yebJinPushCommand, &yebJinAccept,   &yebJinReject,
                         &yebJinAddFriend,   &yebJinDelFriend, &yebJinCancelOldSession};
}

MessagingLink& Messaging()
{
    static MessagingLink link = LibraryMessagingLink();
    return link;
}
