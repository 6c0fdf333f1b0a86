#include "cli/device_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrelink::cli {
namespace {

TEST(DeviceTextTest, EveryPrintableLatin1CharacterSurvivesTheWayOutAndBack) {
    EXPECT_EQ(Latin1ToUtf8("caf\xE9 \xA0\xFF"), "caf\xC3\xA9 \xC2\xA0\xC3\xBF");
    for (unsigned byte = 0; byte <= 0xFF; ++byte) {
        SCOPED_TRACE(byte);
        const std::string latin1(1, static_cast<char>(byte));
        const bool control = byte < 0x20 || (byte >= 0x7F && byte < 0xA0);
        EXPECT_EQ(Utf8ToDeviceText(Latin1ToUtf8(latin1)),
                  control ? std::nullopt : std::optional(latin1));
    }
}

}  // namespace
}  // namespace kestrelink::cli
