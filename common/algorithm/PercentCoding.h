#pragma once
#include <cstddef>
#include <string>

// Decoding of "%XX" escapes and hex digits, shared by the client's page
// commands, the player library's request paths and the stand-in service.
class PercentCoding
{
  public:
    // How an escape that is not "%" and two hex digits is read.
    enum class Escapes
    {
        // Copied as it stands (what web servers do).
        Strict,
        // Always one byte: a non-digit first character counts as F, a
        // non-digit second one makes the byte FF; characters missing at the
        // end of the text count as non-digits.
        Lenient
    };

    // 0-15 for a hex digit of either case, -1 for any other character.
    static int HexDigit(char c);
    // The byte of two hex digits under the lenient rule.
    static unsigned char HexPair(char high, char low);
    // "%XX" to its byte and, when asked, "+" to a blank; every other byte is
    // copied. Nothing past length is read.
    static std::string Decode(const char* bytes, size_t length, bool plusIsSpace, Escapes escapes);
    static std::string Decode(const std::string& text, bool plusIsSpace, Escapes escapes)
    {
        return Decode(text.data(), text.size(), plusIsSpace, escapes);
    }
};
