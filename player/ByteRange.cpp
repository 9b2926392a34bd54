#include "ByteRange.h"
#include <cctype>

namespace
{
// Reads decimal digits at text[at]; false when there are none or they overflow.
bool ReadNumber(const std::string& text, size_t& at, unsigned long long& value)
{
    size_t begin = at;
    value = 0;
    while (at < text.size() && isdigit(static_cast<unsigned char>(text[at])))
    {
        value = value * 10 + static_cast<unsigned>(text[at] - '0');
        if (value > 0xFFFFFFFFull * 16)
            return false;
        ++at;
    }
    return at > begin;
}
} // namespace

ByteRange::Kind ByteRange::Parse(const std::string& value, unsigned long size, unsigned long& first,
                                 unsigned long& count)
{
    first = 0;
    count = size;
    std::string text;
    for (char c : value)
    {
        if (c != ' ' && c != '\t')
            text += static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    if (text.compare(0, 6, "bytes=") != 0 || text.find(',') != std::string::npos)
        return Kind::Whole;
    size_t at = 6;
    unsigned long long start = 0, end = 0;
    bool hasStart = ReadNumber(text, at, start);
    if (at >= text.size() || text[at] != '-')
        return Kind::Whole;
    ++at;
    bool hasEnd = ReadNumber(text, at, end);
    if (at != text.size() || (!hasStart && !hasEnd) || (hasStart && hasEnd && end < start))
        return Kind::Whole;
    if (!hasStart)
    {
        // The last "end" bytes.
        if (end == 0 || size == 0)
            return Kind::Unsatisfiable;
        start = end >= size ? 0 : size - end;
        end = size - 1;
    }
    else
    {
        if (start >= size)
            return Kind::Unsatisfiable;
        if (!hasEnd || end >= size)
            end = size - 1;
    }
    first = static_cast<unsigned long>(start);
    count = static_cast<unsigned long>(end - start + 1);
    return Kind::Part;
}
