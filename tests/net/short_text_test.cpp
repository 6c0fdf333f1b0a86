#include "net/short_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrelink {
namespace {

TEST(ShortTextTest, KeepsUpToCapacityCharacters) {
    EXPECT_EQ(ShortText().View(), "");
    EXPECT_EQ(ShortText("192.168.1.10").View(), "192.168.1.10");
    const std::string full(ShortText::kCapacity, 'x');
    EXPECT_EQ(ShortText(full).View(), full);
    EXPECT_EQ(ShortText(full + "yz").View(), full);
}

TEST(ShortTextTest, AssignReplacesTheWholeText) {
    ShortText text("a much longer text than the next");
    text.Assign("short");
    EXPECT_EQ(text.View(), "short");
    text.Assign("");
    EXPECT_EQ(text.View(), "");
}

}  // namespace
}  // namespace kestrelink
