#pragma once
#include "ServerEntry.h"
#include <map>
#include <vector>

class CXmlElement;

// The service's server list, the document "/configure.php" on the web host:
// root "UR"; "SS" elements holding "SR" servers (T, D, I, P, M, C, S, N),
// filed by type in document order; "UP" elements holding "UL" update
// locations (D, V). Element names are compared without regard to case;
// unknown elements and missing attributes are no errors.
class CServerConfig
{
  public:
    CServerConfig();
    ~CServerConfig();

    // Fetches and parses the document; 1 when the fetch gave 200 to 299 and
    // the text parsed as XML. A successful load replaces what an earlier one
    // brought (the login loads before every attempt, and servers that were
    // taken off the list must not stay choosable); a failed load leaves the
    // object as it was.
    BOOL Load();
    // The same from a document's text.
    BOOL LoadFromText(LPCWSTR text);

    // A copy of one server of the type that is open (S exactly "0") and not
    // over its limit (C not above M, as decimal numbers; empty counts as 0),
    // taken in a random rotation; 0 and out untouched when there is none.
    BOOL PickServer(LPCWSTR type, ServerEntry& out) const;

    int GetServerCount(LPCWSTR type) const;
    const std::vector<UpdateLocation>& GetUpdateLocations() const { return m_updates; }

  private:
    CServerConfig(const CServerConfig&) = delete;
    CServerConfig& operator=(const CServerConfig&) = delete;

    std::map<CString, std::vector<ServerEntry>> m_groups;
    std::vector<UpdateLocation> m_updates;
};
