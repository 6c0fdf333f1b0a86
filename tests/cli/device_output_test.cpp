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

DiscoveredDevice Plain(const char* ip, const char* mac, const char* name) {
    return {.ip = ip,
            .mac = mac,
            .productName = "ED 1",
            .givenName = name,
            .version = "1.0",
            .serialNumber = 7,
            .family = DeviceFamily::Bits32,
            .interfaceName = "klp0"};
}

std::vector<ComparedDevice> Comparison() {
    ComparedDevice changed{Plain("10.0.0.2", "02:00:00:00:00:02", "b"), DeviceChange::Changed,
                           "10.0.0.9", "old", "1.0"};
    return {{Plain("10.0.0.1", "02:00:00:00:00:01", "a"), DeviceChange::Same, "", "", ""},
            changed,
            {Plain("10.0.0.3", "02:00:00:00:00:03", "c"), DeviceChange::New, "", "", ""},
            {Plain("10.0.0.4", "02:00:00:00:00:04", "d"), DeviceChange::Missing, "", "", ""}};
}

std::string Compared(OutputFormat format) {
    std::ostringstream out;
    WriteComparedDevices(out, format, Comparison());
    return out.str();
}

TEST(DeviceOutputTest, ComparedTableNamesWhatAChangedDeviceWas) {
    EXPECT_EQ(Compared(OutputFormat::Table),
              "IP        MAC                Product Name  Given Name  Version  Serial No  arch    "
              "Interface  Conflict  Outside  Change\n"
              "10.0.0.1  02:00:00:00:00:01  ED 1          a           1.0      7          32bits  "
              "klp0       no        no       same\n"
              "10.0.0.2  02:00:00:00:00:02  ED 1          b           1.0      7          32bits  "
              "klp0       no        no       changed (was ip 10.0.0.9, name old)\n"
              "10.0.0.3  02:00:00:00:00:03  ED 1          c           1.0      7          32bits  "
              "klp0       no        no       new\n"
              "10.0.0.4  02:00:00:00:00:04  ED 1          d           1.0      7          32bits  "
              "klp0       no        no       missing\n");
}

TEST(DeviceOutputTest, ComparedCsvCarriesTheEarlierValuesOfChangedDevicesOnly) {
    EXPECT_EQ(Compared(OutputFormat::Csv),
              "ip,mac,product,name,version,serial,family,interface,conflict,outside,change,was_ip,"
              "was_name,was_version\n"
              "10.0.0.1,02:00:00:00:00:01,ED 1,a,1.0,7,32bits,klp0,false,false,same,,,\n"
              "10.0.0.2,02:00:00:00:00:02,ED 1,b,1.0,7,32bits,klp0,false,false,changed,10.0.0.9,"
              "old,1.0\n"
              "10.0.0.3,02:00:00:00:00:03,ED 1,c,1.0,7,32bits,klp0,false,false,new,,,\n"
              "10.0.0.4,02:00:00:00:00:04,ED 1,d,1.0,7,32bits,klp0,false,false,missing,,,\n");
}

struct EventCase {
    const char* name;
    OutputFormat format;
    WatchEventKind kind;
    std::string written;
};

void PrintTo(const EventCase& c, std::ostream* os) {
    *os << c.name;
}

class EventWriterTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventWriterTest, OneLinePerEvent) {
    DeviceEvent event{GetParam().kind,
                      std::chrono::system_clock::time_point(std::chrono::seconds(1796837405)),
                      Plain("10.0.0.2", "02:00:00:00:00:02", "hall \"3\""),
                      "10.0.0.9",
                      "b",
                      "0.9"};
    event.device.conflict = true;
    std::ostringstream out;
    EventWriter writer(out, GetParam().format);
    writer.Write(event);
    EXPECT_EQ(out.str(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EventWriterTest,
    ::testing::Values(
        EventCase{
            "TableChanged", OutputFormat::Table, WatchEventKind::Changed,
            "2026-12-09T17:30:05Z changed 02:00:00:00:00:02 ip=10.0.0.2 name=\"hall \\\"3\\\"\" "
            "version=\"1.0\" product=\"ED 1\" serial=7 family=32bits interface=\"klp0\" "
            "conflict was ip=10.0.0.9 name=\"b\" version=\"0.9\"\n"},
        EventCase{"JsonReturned", OutputFormat::Json, WatchEventKind::Returned,
                  "{\"event\":\"returned\",\"time\":\"2026-12-09T17:30:05Z\",\"ip\":\"10.0.0.2\","
                  "\"mac\":\"02:00:00:00:00:02\",\"product\":\"ED 1\",\"name\":\"hall \\\"3\\\"\","
                  "\"version\":\"1.0\",\"serial\":7,\"family\":\"32bits\",\"interface\":\"klp0\","
                  "\"conflict\":true,\"outside\":false,\"was_ip\":\"10.0.0.9\",\"was_name\":\"b\","
                  "\"was_version\":\"0.9\"}\n"},
        EventCase{
            "CsvAppeared", OutputFormat::Csv, WatchEventKind::Appeared,
            "event,time,ip,mac,product,name,version,serial,family,interface,conflict,outside,"
            "was_ip,was_name,was_version\n"
            "appeared,2026-12-09T17:30:05Z,10.0.0.2,02:00:00:00:00:02,ED 1,\"hall \"\"3\"\"\","
            "1.0,7,32bits,klp0,true,false,,,\n"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::cli
