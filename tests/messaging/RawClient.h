#pragma once
// A bare connection to the messaging server that speaks the wire directly,
// for tests that need a peer misbehaving in ways the library never would.
#include <winsock2.h>
#include "VosselFrame.h"
#include <string>

class RawClient
{
  public:
    RawClient();
    ~RawClient();
    bool Connect(int port);
    bool Send(const VosselFrame& frame);
    bool SendBytes(const std::string& bytes);
    // Waits up to timeoutMs for the next frame.
    bool Read(VosselFrame& frame, DWORD timeoutMs);
    // Waits for a frame of this kind (and command code, when not 0), skipping others.
    bool ReadUntil(VosselFrame& frame, int kind, int code, DWORD timeoutMs);
    // True when the server has closed the connection (read returns its end).
    bool WaitClosed(DWORD timeoutMs);
    void Close();

  private:
    SOCKET m_socket = INVALID_SOCKET;
    VosselFrameReader m_reader;
};
