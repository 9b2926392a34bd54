// The sounds of the notifications, played asynchronously from the
// program's own WAVE resources: 2 a buddy came online (one of eight chimes
// at random), 3 a buddy collected a song, 4 a pushed song, 5 the playing
// tip. Any other type is silent (0). The caller checks the settings flag.
#pragma once
#include <winsock2.h>
#include <windows.h>

// The WAVE resource of a type (0 for none); roll picks the online chime.
UINT NotifySoundResource(int type, int roll);
BOOL PlayNotifySound(int type);
