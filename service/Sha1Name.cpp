#include "Sha1Name.h"
#include <windows.h>
#include <wincrypt.h>

std::string Sha1Name(const std::string& bytes)
{
    BYTE digest[20] = {};
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    DWORD length = sizeof digest;
    bool ok = CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
              CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash) &&
              CryptHashData(hash, (const BYTE*)bytes.data(), (DWORD)bytes.size(), 0) &&
              CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0);
    if (hash)
        CryptDestroyHash(hash);
    if (provider)
        CryptReleaseContext(provider, 0);
    if (!ok)
        return std::string();
    BYTE ordered[20];
    for (int word = 0; word < 5; ++word)
        for (int i = 0; i < 4; ++i)
            ordered[word * 4 + i] = digest[word * 4 + 3 - i];
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    std::string name;
    unsigned buffer = 0;
    int bits = 0;
    for (BYTE b : ordered)
    {
        buffer = (buffer << 8) | b;
        bits += 8;
        while (bits >= 5)
        {
            name += alphabet[(buffer >> (bits - 5)) & 31];
            bits -= 5;
        }
    }
    return name;
}
