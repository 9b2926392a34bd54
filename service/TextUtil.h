#pragma once
#include <string>
#include <vector>

// Small text helpers of the stand-in service. Texts are UTF-8 in memory;
// file names go to Windows as UTF-16.
namespace text
{
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
std::string Lower(std::string s);
std::string Trim(const std::string& s);
bool StartsWith(const std::string& s, const std::string& prefix);
// Decodes %XX escapes (and '+' as a blank when plusIsSpace).
std::string PercentDecode(const std::string& s, bool plusIsSpace);
// Splits "a=1&b=2" into pairs, each side percent-decoded.
std::vector<std::pair<std::string, std::string>> ParseForm(const std::string& body);
std::string FormValue(const std::string& body, const std::string& key);
std::string XmlEscape(const std::string& s);
std::string Base64Decode(const std::string& in);
// A body "<prefix><Base64 with every '+' written %2B>" decoded to its text;
// "" when the body does not start with the prefix.
std::string DecodeFieldBody(const std::string& body, const std::string& prefix);
} // namespace text
