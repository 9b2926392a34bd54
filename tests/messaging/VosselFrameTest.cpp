// The wire codec refuses every frame whose lengths do not add up.
#include "VosselFrame.h"
#include <gtest/gtest.h>

namespace
{
std::string U32(uint32_t v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}
std::string Header(uint16_t kind, uint16_t count)
{
    return std::string{char(kind & 0xFF), char(kind >> 8), char(count & 0xFF), char(count >> 8)} + U32(7) + U32(9);
}
} // namespace

TEST(VosselFrameTest, RoundTripKeepsKindNumbersTextsAndBytes)
{
    VosselFrame f(FrameFileData, -5, 1000);
    f.Add(L"bob@yeb.test").Add(L"\x4F60\x597D").AddBytes(std::string("\0\xFF\x01", 3)).Add(L"");
    std::string wire = f.Encode();
    VosselFrameReader reader;
    reader.Append(wire.data(), wire.size() - 1);
    VosselFrame g;
    EXPECT_EQ(0, reader.Next(g)); // one byte short: wait for more
    reader.Append(wire.data() + wire.size() - 1, 1);
    ASSERT_EQ(1, reader.Next(g));
    EXPECT_EQ(FrameFileData, g.kind);
    EXPECT_EQ(-5, g.code);
    EXPECT_EQ(1000, g.extra);
    ASSERT_EQ(4u, g.fields.size());
    EXPECT_EQ(L"bob@yeb.test", g.Text(0));
    EXPECT_EQ(L"\x4F60\x597D", g.Text(1));
    EXPECT_EQ(std::string("\0\xFF\x01", 3), g.Bytes(2));
    EXPECT_EQ(L"", g.Text(3));
    EXPECT_EQ(L"", g.Text(9)); // a missing field reads as empty
}

TEST(VosselFrameTest, MalformedBodiesAreRefused)
{
    struct
    {
        const char* what;
        std::string body;
    } cases[] = {
        {"shorter than the header", std::string(11, '\0')},
        {"field length past the end", Header(2, 1) + U32(5) + "abcd"},
        {"field length word cut", Header(2, 1) + std::string("\x01\x00", 2)},
        {"huge field length", Header(2, 1) + U32(0xFFFFFFF0u) + "ab"},
        {"bytes after the last field", Header(2, 1) + U32(1) + "ab"},
        {"more than sixteen fields", Header(2, 17) + std::string(17 * 4, '\0')},
    };
    for (auto& c : cases)
    {
        VosselFrame f;
        EXPECT_FALSE(f.Decode(c.body.data(), c.body.size())) << c.what;
        VosselFrameReader reader;
        std::string wire = U32(static_cast<uint32_t>(c.body.size())) + c.body;
        reader.Append(wire.data(), wire.size());
        EXPECT_EQ(-1, reader.Next(f)) << c.what;
    }
    // A length word above the limit breaks the stream before any body arrives.
    VosselFrameReader reader;
    std::string big = U32(VosselFrame::MaxBody + 1);
    reader.Append(big.data(), big.size());
    VosselFrame f;
    EXPECT_EQ(-1, reader.Next(f));
}
