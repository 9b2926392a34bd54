#pragma once
#include <string>

// The service's name of a byte string: its SHA-1 digest, every four-byte group
// written least significant byte first, as 32 Base32 characters (RFC 4648
// alphabet, upper case, no padding). The client names playlist files the same
// way, so the stand-in can tell whether it holds the file a client asks about.
std::string Sha1Name(const std::string& bytes);
