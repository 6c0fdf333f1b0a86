#include "behaviour/main_window_behaviour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "behaviour/list_menu.h"
#include "net/device_list.h"
#include "tests/behaviour/support/recording_face.h"

using namespace kestrelink;
using namespace kestrelink::testing;

namespace {

constexpr auto kNoSelection = "warning|Select IP address to open web page for.";
constexpr auto kNotAnAddress =
    "warning|The device's IP address is not valid, so its web page cannot be opened.";

using Cells = std::array<std::string, kColumnCount>;

// No test here opens the endpoint: what goes on the wire is the end-to-end tests' business.
struct Window {
    RecordingFace face;
    RecordingBrowser browser;
    DeviceList list;
    MainWindowBehaviour behaviour{face, face, list, browser};

    // Rows listed top to bottom as given; selected: the position to select, or -1.
    void List(const std::vector<Cells>& rows, int selected) {
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            RowCells cells;
            std::copy(row->begin(), row->end(), cells.begin());
            list.InsertRow(cells);
        }
        list.SelectRow(selected);
    }
};

Cells Row(std::string ip, std::string givenName = "gate") {
    return {std::move(ip), "00:11:22:33:44:55", "Camera", std::move(givenName), "1.0", "1234",
            "32bits"};
}

struct WebCase {
    const char* name;
    std::string ip;  // the selected row's IP cell; the row below it is 10.9.9.9
    bool selected;
    bool forceIeOnly;
    std::string launch;  // empty: none
    std::string box;     // empty: none
};

class WebTest : public ::testing::TestWithParam<WebCase> {};

TEST_P(WebTest, OpensTheSelectedRowsAddress) {
    const WebCase& web = GetParam();
    Window window;
    window.List({Row(web.ip), Row("10.9.9.9")}, web.selected ? 0 : -1);
    window.behaviour.OnForceIeClicked(web.forceIeOnly);

    window.behaviour.OnWeb();

    EXPECT_EQ(window.browser.launches,
              web.launch.empty() ? std::vector<std::string>() : std::vector{web.launch});
    EXPECT_EQ(window.face.boxes,
              web.box.empty() ? std::vector<std::string>() : std::vector{web.box});
}

WebCase Refused(const char* name, std::string ip, bool forceIeOnly = false) {
    return {name, std::move(ip), true, forceIeOnly, "", kNotAnAddress};
}

// The IP cell of a 32-bit device is whatever text the device sent.
INSTANTIATE_TEST_SUITE_P(
    Web, WebTest,
    ::testing::Values(
        WebCase{"DefaultHandler", "10.1.2.3", true, false, "default|http://10.1.2.3", ""},
        WebCase{"ForcedBrowser", "10.1.2.3", true, true, "IExplore|http://10.1.2.3", ""},
        WebCase{"AllZero", "0.0.0.0", true, false, "default|http://0.0.0.0", ""},
        WebCase{"All255", "255.255.255.255", true, false, "default|http://255.255.255.255", ""},
        WebCase{"NoneSelected", "10.0.0.1", false, true, "", kNoSelection},
        Refused("HostAndPath", "evil.example/x"), Refused("AddressAndPort", "10.0.0.1:8080"),
        Refused("AddressAndPath", "10.0.0.1/../"), Refused("OctetOver255", "10.0.0.256"),
        Refused("TrailingNewline", "10.0.0.1\n"), Refused("LeadingSpace", " 10.0.0.1"),
        Refused("ScriptForcedBrowser", "javascript:alert(1)", true), Refused("Empty", ""),
        Refused("ThreeParts", "1.2.3"), Refused("EmptyPart", "1..2.3"),
        Refused("HexOctet", "0x7f.0.0.1"), Refused("LeadingZeroReadAsOctal", "010.0.0.1"),
        Refused("OneNumber", "167772161")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindowBehaviourTest, DoubleClickOpensWebOnlyOnASelectedRow) {
    Window window;
    window.List({Row("10.0.0.1")}, -1);
    EXPECT_FALSE(window.behaviour.ShouldDoubleClickOpenWeb());
    window.list.SelectRow(0);
    EXPECT_TRUE(window.behaviour.ShouldDoubleClickOpenWeb());
}

TEST(MainWindowBehaviourTest, ConfigureIpAsksForTheSelectedRow) {
    Window window;
    window.behaviour.OnConfigureIp();
    EXPECT_EQ(window.face.boxes,
              std::vector<std::string>{"warning|Select current IP address of device to config."});
    EXPECT_TRUE(window.face.ipDialogHostNames.empty());
}

// The given name arrives as the device's single-byte text and opens the dialog cut to what a host
// name can hold; Cancel sends nothing and says nothing.
TEST(MainWindowBehaviourTest, ConfigureIpPrefillsTheGivenNameAndCancelDoesNothing) {
    Window window;
    const std::string longName = "caf\xe9-" + std::string(40, 'x');
    window.List({Row("10.0.0.1", "lobby"), Row("10.0.0.2", longName)}, 1);

    window.behaviour.OnConfigureIp();

    EXPECT_EQ(window.face.ipDialogHostNames,
              std::vector<std::string>{"caf\xc3\xa9-" + std::string(26, 'x')});
    EXPECT_TRUE(window.face.boxes.empty());
}

// An endpoint that never opened cannot send, and Retry would not help.
TEST(MainWindowBehaviourTest, ConfigureIpWithThePortNeverOpenedOffersNoRetry) {
    Window window;
    window.List({Row("10.0.0.1")}, 0);
    window.face.ipSettings = IpSettings{};
    window.face.retryAnswers = {true};

    window.behaviour.OnConfigureIp();

    EXPECT_EQ(window.face.boxes,
              std::vector<std::string>{
                  "warning|Nothing was sent: the program's UDP port could not be opened at "
                  "start-up.\nCheck if another copy of the application is running."});
}

TEST(MainWindowBehaviourTest, MenuCopiesTheSelectedRowsCellsJoinedByTabs) {
    Window window;
    window.behaviour.OnListMenu(ListMenuAction::CopyRow, {});
    EXPECT_EQ(window.face.clipboard, "before");

    window.List({Row("10.0.0.1", "caf\xe9"), Row("10.0.0.2")}, 0);
    const std::pair<ListMenuAction, std::string> copies[] = {
        {ListMenuAction::CopyIpAddress, "10.0.0.1"},
        {ListMenuAction::CopyMacAddress, "00:11:22:33:44:55"},
        {ListMenuAction::CopyRow,
         "10.0.0.1\t00:11:22:33:44:55\tCamera\tcaf\xc3\xa9\t1.0\t1234\t32bits"}};
    for (const auto& [action, text] : copies) {
        window.behaviour.OnListMenu(action, {});
        EXPECT_EQ(window.face.clipboard, text);
    }
}

TEST(MainWindowBehaviourTest, ExportWritesTheRowsShownOrSaysWhyNot) {
    Window window;
    window.List(
        {Row("10.0.0.1", "caf\xe9"), Row("10.0.0.2", "unit \"7\", east"), Row("10.0.0.3", "+gate")},
        -1);
    const std::vector<int> shown = {2, 0};

    window.behaviour.OnExportList(shown);  // cancelled in the file dialog
    window.face.exportPath = "/home/user/devices.csv";
    window.behaviour.OnExportList(shown);
    window.face.writeFailure = "No space left on device";
    window.behaviour.OnExportList(shown);

    const std::pair<std::string, std::string> written = {
        "/home/user/devices.csv",
        // For spreadsheets: a byte-order mark, and a formula-like text behind an apostrophe.
        "\xef\xbb\xbfip,mac,product,name,version,serial,family\n"
        "10.0.0.3,00:11:22:33:44:55,Camera,'+gate,1.0,1234,32bits\n"
        "10.0.0.1,00:11:22:33:44:55,Camera,caf\xc3\xa9,1.0,1234,32bits\n"};
    EXPECT_EQ(window.face.writtenFiles, std::vector{written});
    EXPECT_EQ(window.face.boxes,
              std::vector<std::string>{"warning|Failed to save the list to "
                                       "/home/user/devices.csv:\nNo space left on device"});
}

}  // namespace

namespace {

TEST(KeepWatchingTest, TheMenuItemTogglesRoundsOfFifteenSeconds) {
    Window window;
    EXPECT_FALSE(window.behaviour.IsMenuItemChecked(ListMenuAction::KeepWatching));

    window.behaviour.OnListMenu(ListMenuAction::KeepWatching, {});
    EXPECT_TRUE(window.behaviour.IsMenuItemChecked(ListMenuAction::KeepWatching));
    EXPECT_EQ(window.face.roundInterval, std::chrono::milliseconds(15000));
    EXPECT_TRUE(window.face.EndRound());

    window.behaviour.OnListMenu(ListMenuAction::KeepWatching, {});
    EXPECT_FALSE(window.behaviour.IsMenuItemChecked(ListMenuAction::KeepWatching));
    EXPECT_EQ(window.face.roundInterval, std::nullopt);
}

struct CompareCase {
    const char* name;
    std::optional<std::string> path;
    FileContents file;
    std::vector<std::string> boxes;
    bool comparing;
};

class CompareWithListTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareWithListTest, ComparesOrSaysWhyNot) {
    Window window;
    window.face.comparePath = GetParam().path;
    window.face.compareFile = GetParam().file;

    window.behaviour.OnListMenu(ListMenuAction::CompareWithList, {});

    EXPECT_EQ(window.face.boxes, GetParam().boxes);
    EXPECT_EQ(window.behaviour.IsMenuItemAvailable(ListMenuAction::ClearComparison),
              GetParam().comparing);
    window.behaviour.OnDiscover();
    EXPECT_FALSE(window.behaviour.IsMenuItemAvailable(ListMenuAction::ClearComparison));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowBehaviour, CompareWithListTest,
    ::testing::Values(
        CompareCase{"Cancelled", std::nullopt, {}, {}, false},
        CompareCase{"Unreadable",
                    "old.csv",
                    {std::nullopt, "Access is denied."},
                    {"warning|Failed to read old.csv:\nAccess is denied."},
                    false},
        CompareCase{"NotAList",
                    "old.csv",
                    {"ip,mac\n", ""},
                    {"warning|old.csv, line 1: not a device list: the header is neither the "
                     "command-line program's nor the window's exported list's"},
                    false},
        CompareCase{
            "Compared", "old.csv", {"ip,mac,product,name,version,serial,family\n", ""}, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
