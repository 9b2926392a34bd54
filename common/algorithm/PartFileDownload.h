// HTTP GET of one address into one file through WinINet. The bytes go to the
// file's name + ".part" and only a transfer that ends well is moved over the
// file, so a cut-off download never stands in for the file and never
// replaces an earlier good one. The client fetches its update manifest with
// it, the updater its packages.
#pragma once

#include "Framework.h"

#include <functional>

struct PartFileDownload
{
    enum Result
    {
        DONE = 0,
        NO_CONNECTION = 1, // cannot open the address, or an HTTP status other than 200
        TRANSFER_FAILED = 2, // read or write failed, more than allowed, or a length other than announced
        FILE_FAILED = 5,     // the ".part" file cannot be created
    };

    CString url;
    CString path;
    // A body larger than this fails (no limit when below 0).
    long long maxBytes = -1;
    // A missing Content-Length counts as 0, so the body must be announced;
    // otherwise only an announced length is held against the body.
    bool lengthRequired = false;
    // Called once the status is 200, before the file is made, with the
    // announced length (-1 when none), and after every block written.
    std::function<void(long long announced)> onSize;
    // Asked before every block; true ends the transfer as failed.
    std::function<bool()> stopRequested;
    // A first answer 407 sends the request once more with empty proxy
    // credentials.
    bool proxyResend = false;
    std::function<void(long long received)> onBlock;

    // Filled by Run.
    DWORD status = 0;
    long long announced = -1;
    long long received = 0;

    // Runs the transfer on the calling thread (blocks of 8192 bytes).
    Result Run();
};
