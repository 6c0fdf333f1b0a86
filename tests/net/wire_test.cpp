#include "net/wire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrelink::wire {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ReadU32leTest, LeastSignificantByteFirst) {
    const Bytes bytes{0xAA, 0x2C, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ReadU32le(bytes, 1), 300u);
    EXPECT_EQ(ReadU32le(bytes, 5), 4294967295u);
    EXPECT_EQ(ReadU32le(Bytes{0x01, 0x02, 0x03, 0x04}, 0), 0x04030201u);
}

TEST(ReadU32leTest, FieldPastTheEndReadsZero) {
    const Bytes bytes{0x01, 0x02, 0x03, 0x04, 0x05};
    EXPECT_EQ(ReadU32le(bytes, 2), 0u);
    EXPECT_EQ(ReadU32le(bytes, 5), 0u);
    EXPECT_EQ(ReadU32le(bytes, 1000), 0u);
    EXPECT_EQ(ReadU32le({}, 0), 0u);
}

struct ReadTextCase {
    const char* name;
    std::string bytes;
    std::size_t offset;
    std::size_t width;
    std::string text;
};

class ReadTextTest : public ::testing::TestWithParam<ReadTextCase> {};

TEST_P(ReadTextTest, EndsAtNulWidthOrSpanEnd) {
    const auto& c = GetParam();
    const Bytes bytes(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(ReadText(bytes, c.offset, c.width), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadTextTest,
    ::testing::Values(ReadTextCase{"EndsAtNul", std::string("ab\0cd", 5), 0, 5, "ab"},
                      ReadTextCase{"EndsAtWidth", "abcdef", 1, 3, "bcd"},
                      ReadTextCase{"EndsAtSpanEnd", "abcdef", 2, 10, "cdef"},
                      ReadTextCase{"LeadingNulIsEmpty", std::string("\0abc", 4), 0, 4, ""},
                      ReadTextCase{"OffsetAtEndIsEmpty", "abc", 3, 4, ""},
                      ReadTextCase{"OffsetPastEndIsEmpty", "abc", 9, 4, ""},
                      ReadTextCase{"ZeroWidthIsEmpty", "abc", 0, 0, ""}),
    [](const auto& info) { return info.param.name; });

TEST(WriteU32leTest, LeastSignificantByteFirstAndBounded) {
    Bytes bytes(6, 0xEE);
    WriteU32le(bytes, 1, 0x04030201);
    EXPECT_EQ(bytes, (Bytes{0xEE, 0x01, 0x02, 0x03, 0x04, 0xEE}));
    WriteU32le(bytes, 3, 0);  // does not fit: nothing written
    EXPECT_EQ(bytes, (Bytes{0xEE, 0x01, 0x02, 0x03, 0x04, 0xEE}));
}

TEST(WriteTextTest, WritesAtMostMaxLengthAndStaysInTheSpan) {
    Bytes bytes(8, 0);
    WriteText(bytes, 1, 3, "abcdef");
    EXPECT_EQ(bytes, (Bytes{0, 'a', 'b', 'c', 0, 0, 0, 0}));
    WriteText(bytes, 6, 5, "xyz");
    EXPECT_EQ(bytes, (Bytes{0, 'a', 'b', 'c', 0, 0, 'x', 'y'}));
    WriteText(bytes, 8, 5, "q");
    EXPECT_EQ(bytes, (Bytes{0, 'a', 'b', 'c', 0, 0, 'x', 'y'}));
}

TEST(WriteBytesTest, WholeSourceOrNothing) {
    Bytes bytes(5, 0);
    const Bytes source{1, 2, 3};
    WriteBytes(bytes, 2, source);
    EXPECT_EQ(bytes, (Bytes{0, 0, 1, 2, 3}));
    WriteBytes(bytes, 3, Bytes{9, 9, 9});
    EXPECT_EQ(bytes, (Bytes{0, 0, 1, 2, 3}));
}

}  // namespace
}  // namespace kestrelink::wire
