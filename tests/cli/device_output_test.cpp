#include "cli/device_output.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/discovered_device.h"

namespace kestrelink::cli {
namespace {

// Texts as any host on the segment may send them (0x9B is a one-byte CSI to terminals that take
// C1 controls), heard on an interface whose name is not UTF-8.
DiscoveredDevice Hostile() {
    return {.ip = "10.213.1.2",
            .mac = "02:6b:6c:00:00:02",
            .productName = "DevSim\r\n08",
            .givenName = "\x1B]0;owned\x07\xE9",
            .version = "1.0\x9B",
            .serialNumber = 70001,
            .family = DeviceFamily::Bits08,
            .interfaceName = "eth\xFF",
            .outside = true};
}

std::string Written(OutputFormat format, const std::vector<DiscoveredDevice>& devices) {
    std::ostringstream out;
    WriteDevices(out, format, devices);
    return out.str();
}

TEST(DeviceOutputTest, TableShowsControlCharactersEscapedAndFlagsAsWords) {
    EXPECT_EQ(Written(OutputFormat::Table, {Hostile()}),
              "IP          MAC                Product Name      Given Name         Version  "
              "Serial No  arch    Interface  Conflict  Outside\n"
              "10.213.1.2  02:6b:6c:00:00:02  DevSim\\x0d\\x0a08  \\x1b]0;owned\\x07\xC3\xA9  "
              "1.0\\x9b  70001      08bits  eth\\xff    no        yes\n");
}

TEST(DeviceOutputTest, JsonKeepsTheListWhenAnInterfaceNameIsNotUtf8) {
    const std::string json = Written(OutputFormat::Json, {Hostile()});
    EXPECT_NE(json.find("\"interface\": \"eth\xEF\xBF\xBD\","), std::string::npos) << json;
    EXPECT_NE(json.find("\"outside\": true\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrelink::cli
