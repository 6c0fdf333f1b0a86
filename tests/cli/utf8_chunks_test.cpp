#include "cli/utf8_chunks.h"

#include <gtest/gtest.h>

namespace kestrelink::cli {
namespace {

TEST(WholeUtf8LengthTest, LeavesAnUnfinishedCharacterForTheNextWrite) {
    const struct {
        const char* bytes;
        std::size_t whole;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"Caf\xC3\xA9", 5},       // é whole
        {"Caf\xC3", 3},           // é cut after its lead
        {"\xE2\x82\xAC", 3},      // € whole
        {"x\xE2\x82", 1},         // € cut after two of three
        {"x\xF0\x9F\x98", 1},     // a four-byte character cut after three
        {"\xF0\x9F\x98\x80", 4},  // and whole
        {"\x80\x80\x80\x80", 4},  // no lead at all: nothing to wait for
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WholeUtf8Length(c.bytes), c.whole) << ::testing::PrintToString(c.bytes);
    }
}

}  // namespace
}  // namespace kestrelink::cli
