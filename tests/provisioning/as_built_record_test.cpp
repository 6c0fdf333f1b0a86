#include "provisioning/as_built_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kestrelink::provisioning {
namespace {

using std::chrono::milliseconds;

constexpr auto kHeader =
    "mac,serial,product,family,old_ip,new_ip,old_name,new_name,mask,gateway,dns,dhcp,requests,"
    "outcome,reason,sent_at,confirmed_at\n";

const std::chrono::system_clock::time_point kSent =
    std::chrono::sys_days{std::chrono::year{2026} / 12 / 9} + std::chrono::hours(17) +
    std::chrono::minutes(30) + milliseconds(5250);

TEST(AsBuiltRecordTest, OneLineADeviceWithoutPasswordAndWithGuardedTexts) {
    RecordEntry configured{"02:00:00:00:00:07",
                           4242,
                           "=cmd|' /C calc'!A0",
                           DeviceFamily::Bits32,
                           "10.0.0.7",
                           "caf\xe9",
                           {0x0A000009, 0xFFFFFF00, 0x0A000001, 0x0A000002, false, "s3cret", "-3"},
                           2,
                           Outcome::Confirmed,
                           "answers at 10.0.0.9 as '-3'",
                           kSent,
                           kSent + milliseconds(2500)};
    RecordEntry refused{"02:00:00:00:00:08",
                        7,
                        "Cam",
                        DeviceFamily::Bits08,
                        "10.0.0.8",
                        "b",
                        {0, 0, 0, 0, true, "pw", "b"},
                        3,
                        Outcome::AnswersAsBefore,
                        "not confirmed within 2000 ms: it answers as before, at 10.0.0.8 as 'b'",
                        kSent,
                        std::nullopt};
    const RecordEntry entries[] = {configured, refused};
    EXPECT_EQ(FormatRecord(entries),
              std::string(kHeader) +
                  "02:00:00:00:00:07,4242,'=cmd|' /C calc'!A0,32bits,10.0.0.7,10.0.0.9,caf\xc3\xa9,"
                  "'-3,255.255.255.0,10.0.0.1,10.0.0.2,no,2,configured,answers at 10.0.0.9 as "
                  "'-3',2026-12-09T17:30:05.250Z,2026-12-09T17:30:07.750Z\n"
                  "02:00:00:00:00:08,7,Cam,08bits,10.0.0.8,,b,,,,,yes,3,failed,"
                  "\"not confirmed within 2000 ms: it answers as before, at 10.0.0.8 as 'b'\","
                  "2026-12-09T17:30:05.250Z,\n");
}

TEST(AsBuiltRecordTest, ReplacesTheFileWholeAndLeavesNoTemporary) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kestrelink_as_built_record_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "site.csv").string();
    std::ofstream(path) << "old content that is longer than the new\n";
    EXPECT_EQ(ReplaceFileWhole(path, "new\n"), std::nullopt);
    {
        std::ifstream file(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "new\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    EXPECT_NE(ReplaceFileWhole((folder / "missing" / "site.csv").string(), "x"), std::nullopt);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kestrelink::provisioning
