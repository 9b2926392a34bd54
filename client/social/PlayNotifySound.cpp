#include "Framework.h"
#include "PlayNotifySound.h"
#include "resource.h"

#include <cstdlib>
#include <mmsystem.h>

UINT NotifySoundResource(int type, int roll)
{
    switch (type)
    {
    case 2:
        return IDW_BUDDY_ONLINE_1 + (UINT)(roll % 8);
    case 3:
        return IDW_SONG_COLLECTED;
    case 4:
        return IDW_SONG_PUSHED;
    case 5:
        return IDW_BUDDY_LISTENING;
    default:
        return 0;
    }
}

BOOL PlayNotifySound(int type)
{
    UINT resource = NotifySoundResource(type, rand());
    if (!resource)
        return FALSE;
    return ::PlaySoundW(MAKEINTRESOURCEW(resource), AfxGetResourceHandle(), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}
