#pragma once
#include "FwString.h"

// One server of the service's configuration list, eight texts named by the
// attributes that fill them: T type (its group), D carried along, I host,
// P port, M maximum load, C current load, S state ("0": may be chosen),
// N carried along. A missing attribute gives "".
struct ServerEntry
{
    CString T, D, I, P, M, C, S, N;

    void Clear()
    {
        T.Empty(), D.Empty(), I.Empty(), P.Empty(), M.Empty(), C.Empty(), S.Empty(), N.Empty();
    }
};

// One update location of the configuration ("UL"): D and V (V is the address
// of the update manifest).
struct UpdateLocation
{
    CString D, V;
};
