#pragma once
#include <windows.h>
#include <wmp.h>

// Creates the library's own media player: an in-process object with the
// interfaces of the platform's player (IWMPPlayer with its controls,
// settings, network and media, and the event connection points in the
// vtable and the dispatch form). It plays local files and http addresses
// (MP3), through the wave-out device when there is one. Its events arrive on
// the thread that created it, from that thread's message loop.
HRESULT CreateStandInMediaPlayer(IWMPPlayer** player);
