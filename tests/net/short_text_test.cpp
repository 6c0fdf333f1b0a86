#include "net/short_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrelink {
namespace {

TEST(ShortTextTest, KeepsUpTo31Characters) {
    EXPECT_EQ(ShortText().View(), "");
    EXPECT_EQ(ShortText("192.168.1.10").View(), "192.168.1.10");
    const std::string full(31, 'x');
    EXPECT_EQ(ShortText(full).View(), full);
    ShortText text(full + "yz");
    EXPECT_EQ(text.View(), full);
    text.Assign("short");
    EXPECT_EQ(text.View(), "short");
    EXPECT_STREQ(text.CString(), "short");
}

}  // namespace
}  // namespace kestrelink
