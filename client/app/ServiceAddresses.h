#pragma once
#include "FwString.h"

// Where the service lives: every host and port the client talks to, in one
// table. The service's own addresses are the defaults; a "Service.ini" beside
// the program (section [Service]) overrides any of them, so that the client
// can be pointed at another installation, such as the stand-in service on
// loopback. Keys: WebHost, WebPort, ImageHost, ImageWebPort, ImageTcpPort,
// UploadHost, UploadPort, PassportHost, PassportPort, MessagingHost,
// MessagingPort, CommunityHost, CommunityPort.
class CServiceAddresses
{
  public:
    CServiceAddresses();

    // The process-wide table; "Service.ini" beside the program is read the
    // first time it is asked for.
    static CServiceAddresses& Get();

    // Back to the defaults, then the keys of the file that are set.
    void Load(LPCWSTR iniPath);
    void Reset();

    // "http://host[:port]" + path (the port is left out when it is 80).
    CString WebUrl(LPCWSTR path) const;
    CString ImageWebUrl(LPCWSTR path) const;
    CString PassportUrl(LPCWSTR path) const;
    // The community server: site login, home page and user pages.
    CString CommunityUrl(LPCWSTR path) const;

    CString m_webHost;
    int m_webPort;
    CString m_imageHost;
    int m_imageWebPort;
    int m_imageTcpPort;
    CString m_uploadHost;
    int m_uploadPort;
    CString m_passportHost;
    int m_passportPort;
    CString m_messagingHost;
    int m_messagingPort;
    CString m_communityHost;
    int m_communityPort;
};
