#pragma once
#include <string>

// The one byte range that a "Range: bytes=..." header asks of a whole file.
class ByteRange
{
  public:
    enum class Kind
    {
        // No range, or one the server does not serve (several ranges, other
        // units, broken syntax): the whole file is sent.
        Whole,
        // The bytes first .. first + count - 1.
        Part,
        // A range that starts past the end of the file.
        Unsatisfiable
    };

    // Reads the value of a Range header against a file of the given size.
    static Kind Parse(const std::string& value, unsigned long size, unsigned long& first, unsigned long& count);
};
