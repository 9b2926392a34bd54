#pragma once
#include "SonatrelEvents.h"
#include <windows.h>
#include <wmp.h>

class PlayerEventSink;

// Owns the invisible media player object that plays every song and connects
// the event sink to it. Where the platform's player is missing or cannot run
// invisibly (it must take the invisible mode and report its play state), the
// library's own player takes its place.
class PlayerHost
{
  public:
    PlayerHost();
    virtual ~PlayerHost();

    // Creates the player and connects the sink; a negative status on failure.
    HRESULT Initialise();
    // Disconnects the sink and releases the player; 0.
    HRESULT Release();
    void SetCallback(SonatrelCallback callback) { m_callback = callback; }
    // Called by the sink on the player's thread.
    void Notify(long event, long value);

    IWMPPlayer* Player() const { return m_player; }
    IWMPControls* Controls() const { return m_controls; }
    IWMPSettings* Settings() const { return m_settings; }
    IWMPNetwork* Network() const { return m_network; }
    DWORD Cookie() const { return m_cookie; }
    bool IsOwnPlayer() const { return m_ownPlayer; }

    // Whether the platform's player can serve: it must accept the invisible
    // mode and answer its play state.
    static bool ProbePlatformPlayer(IWMPPlayer* player);

  private:
    PlayerHost(const PlayerHost&) = delete;
    PlayerHost& operator=(const PlayerHost&) = delete;

    IWMPPlayer* m_player = nullptr;
    IConnectionPoint* m_connectionPoint = nullptr;
    DWORD m_cookie = 0;
    IWMPControls* m_controls = nullptr;
    IWMPSettings* m_settings = nullptr;
    IWMPNetwork* m_network = nullptr;
    SonatrelCallback m_callback = nullptr;
    PlayerEventSink* m_sink = nullptr;
    bool m_ownPlayer = false;
};
