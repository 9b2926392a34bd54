// The one decoder of "%XX" escapes: the strict reading of web servers and
// the lenient one of page commands and request paths.
#include "PercentCoding.h"
#include <gtest/gtest.h>

TEST(PercentCoding, StrictAndLenientEscapes)
{
    using E = PercentCoding::Escapes;
    struct Case
    {
        std::string in;
        bool plus;
        E escapes;
        std::string out;
    } cases[] = {
        {"a%41b%4a", true, E::Strict, "aAbJ"},
        {"a+b", true, E::Strict, "a b"},
        {"a+b", false, E::Strict, "a+b"},
        {"%zz%4%", true, E::Strict, "%zz%4%"}, // broken escapes stand as written
        {std::string("%00x", 4), true, E::Strict, std::string("\0x", 2)},
        {"a%41+", true, E::Lenient, "aA "},
        {"%zz", true, E::Lenient, "\xFF"},
        {"%z1", true, E::Lenient, "\xF1"},
        {"x%4", true, E::Lenient, "x\xFF"},
        {"x%", true, E::Lenient, "x\xFF"},
        {"", true, E::Lenient, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, PercentCoding::Decode(c.in, c.plus, c.escapes)) << c.in;
    // Nothing past the given length is read: the escape is cut off there.
    EXPECT_EQ("\xFF", PercentCoding::Decode("%41", 2, true, E::Lenient));
    EXPECT_EQ("%4", PercentCoding::Decode("%41", 2, true, E::Strict));
    EXPECT_EQ("", PercentCoding::Decode(nullptr, 5, true, E::Strict));
}
