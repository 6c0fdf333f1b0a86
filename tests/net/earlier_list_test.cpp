#include "net/earlier_list.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kestrelink {
namespace {

constexpr auto kCliHeader =
    "ip,mac,product,name,version,serial,family,interface,conflict,outside\n";
constexpr auto kWindowHeader = "ip,mac,product,name,version,serial,family\n";

struct ReadCase {
    const char* name;
    std::string text;
    // Each device as "IP|MAC|NAME|VERSION", or the error as "LINE: MESSAGE".
    std::vector<std::string> read;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadEarlierListTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadEarlierListTest, DevicesOrTheLineThatIsWrong) {
    const EarlierListReading reading = ReadEarlierList(GetParam().text);
    std::vector<std::string> read;
    for (const DeviceRow& row : reading.list.devices) {
        read.push_back(row[0] + "|" + row[1] + "|" + row[3] + "|" + row[4]);
    }
    if (reading.error) {
        read.push_back(std::to_string(reading.error->line) + ": " + reading.error->message);
    }
    EXPECT_EQ(read, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadEarlierListTest,
    ::testing::Values(
        ReadCase{"CommandLineList",
                 std::string(kCliHeader) +
                     "10.0.0.5,02:00:00:00:00:0A,ED-1,hall,1.2,7,32bits,eth0,false,false\n"
                     "10.0.0.6,02:00:00:00:00:0b,ED-1,caf\xC3\xA9,1.3,8,08bits,,false,false\n",
                 {"10.0.0.5|02:00:00:00:00:0a|hall|1.2", "10.0.0.6|02:00:00:00:00:0b|caf\xE9|1.3"}},
        ReadCase{"WindowListUnguarded",
                 "\xEF\xBB\xBF" + std::string(kWindowHeader) +
                     "10.0.0.5,02:00:00:00:00:0a,ED-1,'=cmd,'-1,7,32bits\r\n",
                 {"10.0.0.5|02:00:00:00:00:0a|=cmd|-1"}},
        ReadCase{"CommandLineCellsAsTheyAre",
                 std::string(kCliHeader) +
                     "10.0.0.5,02:00:00:00:00:0a,ED-1,'=cmd,1,7,32bits,,false,false\n",
                 {"10.0.0.5|02:00:00:00:00:0a|'=cmd|1"}},
        ReadCase{"HeaderOnly", kWindowHeader, {}},
        ReadCase{"Empty", "", {"1: the file is empty, not a device list"}},
        ReadCase{"OtherHeader",
                 "\n\nmac,ip,mask,gateway,dns,name,password,dhcp\n",
                 {"3: not a device list: the header is neither the command-line program's nor the "
                  "window's exported list's"}},
        ReadCase{"ShortRecord",
                 std::string(kWindowHeader) + "10.0.0.5,02:00:00:00:00:0a\n",
                 {"2: 2 fields where the header has 7"}},
        ReadCase{"BadMac",
                 std::string(kWindowHeader) + "10.0.0.5,02:00:00:00:0a,a,b,c,1,08bits\n",
                 {"2: \"02:00:00:00:0a\" is not a MAC address"}},
        ReadCase{"MacTwice",
                 std::string(kWindowHeader) + "10.0.0.5,02:00:00:00:00:0a,a,b,c,1,08bits\n" +
                     "10.0.0.6,02:00:00:00:00:0A,a,b,c,1,08bits\n",
                 {"3: 02:00:00:00:00:0a is listed twice, first on line 2"}},
        ReadCase{
            "NotLatin1",
            std::string(kWindowHeader) + "10.0.0.5,02:00:00:00:00:0a,a,\xE2\x82\xAC,c,1,08bits\n",
            {"2: the name holds a character no device can send"}},
        ReadCase{"NotCsv",
                 std::string(kWindowHeader) + "10.0.0.5,\"02:00\n",
                 {"2: a quoted field is never closed"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink
