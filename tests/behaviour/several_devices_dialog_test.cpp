#include "behaviour/several_devices_dialog.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "behaviour/dialog_face.h"
#include "behaviour/several_devices_face.h"
#include "behaviour/several_devices_sender.h"

using namespace kestrelink;
using provisioning::Outcome;

namespace {

// The dialog as the user filled it in, its boxes and the files it offers.
class FakeDialog final : public SeveralDevicesFace, public DialogFace {
public:
    std::map<SeveralAddressField, std::uint32_t> addresses = {
        {SeveralAddressField::Start, 0x0A000064},  // 10.0.0.100
        {SeveralAddressField::Mask, 0xFFFFFF00},
        {SeveralAddressField::Gateway, 0x0A000001}};
    std::map<SeveralTextField, std::string> texts = {{SeveralTextField::Password, "secret"}};
    bool useDhcp = false;
    bool yes = false;
    std::vector<std::string> events;  // boxes and focus moves, in order
    std::vector<std::string> statuses;
    std::string summary;
    bool running = false;
    std::string planText;
    std::string written;

    void ShowMessage(std::string_view text) override {
        events.push_back("warning|" + std::string(text));
    }
    bool AskRetry(std::string_view) override { return false; }
    bool AskYesNo(std::string_view text) override {
        events.push_back("question|" + std::string(text));
        return yes;
    }
    bool OpenHelpPage(int) override { return false; }
    std::optional<std::uint32_t> Address(SeveralAddressField field) const override {
        if (!addresses.contains(field)) {
            return std::nullopt;
        }
        return addresses.at(field);
    }
    std::string Text(SeveralTextField field) const override {
        return texts.contains(field) ? texts.at(field) : std::string();
    }
    void SetText(SeveralTextField field, std::string_view text) override { texts[field] = text; }
    bool UseDhcp() const override { return useDhcp; }
    void EnableAddresses(bool) override {}
    void FocusAddress(SeveralAddressField field) override {
        events.push_back(field == SeveralAddressField::Start ? "focus|start" : "focus|address");
    }
    void FocusText(SeveralTextField field) override {
        events.push_back(field == SeveralTextField::Step ? "focus|step" : "focus|text");
    }
    void ShowRows(const SeveralDevicesTable& table) override {
        statuses.clear();
        for (std::size_t row = 0; row < table.Rows().size(); ++row) {
            statuses.push_back(table.Cell(row, SeveralColumn::Status));
        }
    }
    void ShowStatus(std::size_t row, std::string_view status) override {
        statuses.at(row) = status;
    }
    void ShowSummary(std::string_view text) override { summary = text; }
    void FocusTable() override { events.push_back("focus|table"); }
    void ShowRunning(bool value) override { running = value; }
    std::optional<std::string> ChooseFileToOpen(SeveralFileKind) override { return "site.csv"; }
    std::optional<std::string> ChooseFileToSave(SeveralFileKind, std::string_view) override {
        return "out.csv";
    }
    FileContents ReadFile(const std::string&) override { return {planText, {}}; }
    std::optional<std::string> ReplaceFile(const std::string&, std::string_view bytes) override {
        written = bytes;
        return std::nullopt;
    }
    void SetClipboardText(std::string_view) override {}
};

// Keeps what a run is handed; the test plays the engine's part.
class FakeSender final : public SeveralDevicesSender {
public:
    std::vector<SeveralTarget> targets;
    std::vector<std::vector<std::size_t>> waitsFor;
    SeveralRunReports reports;
    bool stopped = false;

    void Start(std::vector<SeveralTarget> given, std::vector<std::vector<std::size_t>> waits,
               SeveralRunReports handed) override {
        targets = std::move(given);
        waitsFor = std::move(waits);
        reports = std::move(handed);
    }
    void Stop() override { stopped = true; }
};

std::vector<SeveralDevice> Shown() {
    return {{"02:00:00:00:00:01", "1", "Kestrel Cam", "32bits", "10.0.0.11", "lobby", "eth0"},
            {"02:00:00:00:00:02", "2", "Kestrel Relay", "08bits", "10.0.0.12", "relay", ""},
            {"02:00:00:00:00:03", "3", "Kestrel Cam", "32bits", "10.0.0.13", "yard", ""}};
}

std::vector<SeveralDevice> Listed() {
    std::vector<SeveralDevice> listed = Shown();
    // Left out by the filter, and holding the address the third row would take.
    listed.push_back({"02:00:00:00:00:09", "9", "Kestrel Cam", "32bits", "10.0.0.102", "hall", ""});
    return listed;
}

provisioning::StepResult Result(Outcome outcome,
                                std::optional<provisioning::Appearance> seen = std::nullopt) {
    provisioning::StepResult result;
    result.outcome = outcome;
    result.lastSeen = std::move(seen);
    result.requests = 1;
    return result;
}

struct Harness {
    FakeDialog face;
    FakeSender sender;
    SeveralDevicesDialog dialog{face,    face,    sender, std::chrono::milliseconds(2000),
                                Shown(), Listed()};
};

TEST(SeveralDevicesDialogTest, OpensWithStepOneAndTheFocusInTheStartAddress) {
    Harness h;
    h.dialog.Attach();
    EXPECT_EQ(h.face.texts[SeveralTextField::Step], "1");
    EXPECT_EQ(h.face.events, (std::vector<std::string>{"focus|start"}));
}

struct RefusalCase {
    const char* name;
    void (*fill)(FakeDialog&);
    std::vector<std::string> events;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, FieldsEveryRowNeedsAreRefusedBeforeAnyRowIsChecked) {
    Harness h;
    h.dialog.Attach();
    h.face.events.clear();
    GetParam().fill(h.face);
    h.dialog.OnSend();
    EXPECT_EQ(h.face.events, GetParam().events);
    EXPECT_TRUE(h.sender.targets.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RefusalTest,
    ::testing::Values(
        RefusalCase{"NoStart",
                    [](FakeDialog& f) { f.addresses.erase(SeveralAddressField::Start); },
                    {"warning|Enter the start address, or tick Use DHCP.", "focus|start"}},
        RefusalCase{"StepZero",
                    [](FakeDialog& f) { f.texts[SeveralTextField::Step] = "0"; },
                    {"warning|The step must be a whole number from 1 to 65535.", "focus|step"}},
        RefusalCase{"StepText",
                    [](FakeDialog& f) { f.texts[SeveralTextField::Step] = "2x"; },
                    {"warning|The step must be a whole number from 1 to 65535.", "focus|step"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SeveralDevicesDialogTest, ARowThatFailsAShowsWhyAndTheOthersGo) {
    Harness h;
    h.dialog.Attach();
    h.face.texts[SeveralTextField::NamePattern] = "cam-#";
    h.dialog.OnSend();
    // The third row's 10.0.0.102 is announced by a device the dialog does not configure.
    ASSERT_EQ(h.sender.targets.size(), 2u);
    EXPECT_EQ(h.face.statuses,
              (std::vector<std::string>{
                  "waiting", "waiting",
                  "not sent: ip 10.0.0.102 is in use by 02:00:00:00:00:09 ('hall'), which the "
                  "plan leaves out"}));
    EXPECT_EQ(h.sender.targets[0].device.macText, "02:00:00:00:00:01");
    EXPECT_EQ(h.sender.targets[0].device.heardOn, "eth0");
    EXPECT_EQ(h.sender.targets[0].settings.ipAddress, 0x0A000064u);
    EXPECT_EQ(h.sender.targets[0].settings.hostName, "cam-1");
    EXPECT_EQ(h.sender.targets[0].settings.password, "secret");
    EXPECT_EQ(h.sender.targets[1].settings.ipAddress, 0x0A000065u);
    // An 08bits device keeps its name: its request has no room for one.
    EXPECT_FALSE(h.sender.targets[1].step.newName);
    EXPECT_EQ(h.sender.targets[1].step.before.ip, "10.0.0.12");
    EXPECT_EQ(h.face.events, (std::vector<std::string>{"focus|start", "focus|table"}));
    EXPECT_TRUE(h.face.running);
}

TEST(SeveralDevicesDialogTest, UnsoundAndSharedAddressesAreRefusedPerRow) {
    Harness h;
    h.dialog.Attach();
    h.face.addresses[SeveralAddressField::Start] = 0x0A0000FE;  // 10.0.0.254, .255, 10.0.1.0
    h.dialog.OnSend();
    ASSERT_EQ(h.sender.targets.size(), 1u);
    EXPECT_EQ(h.face.statuses,
              (std::vector<std::string>{
                  "waiting", "not sent: ip 10.0.0.255 is the broadcast address of 10.0.0.0/24",
                  "not sent: ip 10.0.1.0 is the network address of 10.0.1.0/24"}));
}

TEST(SeveralDevicesDialogTest, TwoRowsWithOneNewAddressAreBothRefused) {
    Harness h;
    h.face.planText =
        "mac,ip,mask,gateway,dns,name,password,dhcp\n"
        "02:00:00:00:00:01,10.0.5.3,255.255.255.0,10.0.5.1,,,,no\n";
    h.dialog.Attach();
    h.dialog.OnOpenPlan();
    h.dialog.OnChecked(2, true);
    h.face.addresses[SeveralAddressField::Start] = 0x0A000503;  // 10.0.5.3, as the plan's row
    h.face.addresses[SeveralAddressField::Gateway] = 0x0A000501;
    h.dialog.OnSend();
    EXPECT_TRUE(h.sender.targets.empty());
    EXPECT_EQ(h.face.statuses, (std::vector<std::string>{
                                   "not sent: ip 10.0.5.3 is planned for 02:00:00:00:00:03 too", "",
                                   "not sent: ip 10.0.5.3 is planned for 02:00:00:00:00:01 too"}));
    EXPECT_EQ(h.face.summary, "0 configured, 0 not confirmable, 2 failed");
}

TEST(SeveralDevicesDialogTest, EachOutcomeInTheCommandLineWordsThenTheSummary) {
    Harness h;
    h.dialog.Attach();
    h.face.addresses[SeveralAddressField::Start] = 0x0A000014;  // 10.0.0.20, .21, .22
    h.dialog.OnSend();
    ASSERT_EQ(h.sender.targets.size(), 3u);
    h.sender.reports.finished(2, Result(Outcome::Silent));
    EXPECT_EQ(h.face.statuses[2], "not confirmed within 2000 ms: it did not answer again");
    h.sender.reports.finished(0, Result(Outcome::Confirmed, {{"10.0.0.20", "lobby"}}));
    h.sender.reports.finished(1, Result(Outcome::AnswersAsBefore, {{"10.0.0.12", "relay"}}));
    EXPECT_EQ(h.face.summary, "");
    h.sender.reports.over();
    EXPECT_EQ(h.face.statuses,
              (std::vector<std::string>{
                  "configured: answers at 10.0.0.20 as 'lobby'",
                  "not confirmed within 2000 ms: it answers as before, at 10.0.0.12 as 'relay'",
                  "not confirmed within 2000 ms: it did not answer again"}));
    EXPECT_EQ(h.face.summary, "1 configured, 0 not confirmable, 2 failed");
    EXPECT_FALSE(h.face.running);
}

TEST(SeveralDevicesDialogTest, ClosingDuringARunAsksAndStopsOnlyOnYes) {
    Harness h;
    h.dialog.Attach();
    h.face.addresses[SeveralAddressField::Start] = 0x0A000014;
    h.dialog.OnSend();
    h.face.events.clear();
    EXPECT_FALSE(h.dialog.OnClose());
    EXPECT_FALSE(h.sender.stopped);
    h.face.yes = true;
    EXPECT_TRUE(h.dialog.OnClose());
    EXPECT_TRUE(h.sender.stopped);
    const std::string question = "question|Devices are still being configured. Stop and close?";
    EXPECT_EQ(h.face.events, (std::vector<std::string>{question, question}));
    h.sender.reports.finished(0, Result(Outcome::StoppedUnsent));
    EXPECT_EQ(h.face.statuses[0], "not sent: stopped");
    h.sender.reports.over();
    EXPECT_EQ(h.face.summary, "0 configured, 0 not confirmable, 0 failed, 1 not sent");
}

TEST(SeveralDevicesDialogTest, APlanFillsTheRowsAndSavingWritesThemWithoutPasswords) {
    Harness h;
    h.dialog.Attach();
    h.face.planText =
        "mac,ip,mask,gateway,dns,name,password,dhcp\n"
        "02:00:00:00:00:03,10.0.5.3,255.255.255.0,10.0.5.1,,gate,planpw,no\n"
        "02:00:00:00:00:77,10.0.5.7,255.255.255.0,10.0.5.1,,,,no\n";
    h.dialog.OnOpenPlan();
    EXPECT_EQ(h.face.statuses, (std::vector<std::string>{"", "", "", "not found"}));
    h.dialog.OnSend();
    ASSERT_EQ(h.sender.targets.size(), 1u);
    EXPECT_EQ(h.sender.targets[0].settings.password, "planpw");
    EXPECT_EQ(h.sender.targets[0].settings.hostName, "gate");
    h.dialog.OnSavePlan();
    EXPECT_EQ(h.face.written,
              "mac,ip,mask,gateway,dns,name,password,dhcp\n"
              "02:00:00:00:00:03,10.0.5.3,255.255.255.0,10.0.5.1,,gate,,no\n");
}

}  // namespace

namespace {

TEST(SeveralDevicesDialogTest, TheRecordHoldsTheSentAndTheRefusedRows) {
    Harness h;
    h.dialog.Attach();
    h.face.addresses[SeveralAddressField::Start] = 0x0A000065;  // 10.0.0.101, .102 (held), .103
    h.dialog.OnSaveRecord();
    h.dialog.OnSend();
    h.sender.reports.finished(0, Result(Outcome::Confirmed, {{"10.0.0.101", "lobby"}}));
    h.sender.reports.finished(1, Result(Outcome::Silent));
    h.sender.reports.over();
    h.dialog.OnSaveRecord();
    EXPECT_EQ(h.face.events[1],
              "warning|Nothing has been sent yet: Send first, then save the record.");
    EXPECT_EQ(h.face.written,
              "mac,serial,product,family,old_ip,new_ip,old_name,new_name,mask,gateway,dns,dhcp,"
              "requests,outcome,reason,sent_at,confirmed_at\n"
              "02:00:00:00:00:01,1,Kestrel Cam,32bits,10.0.0.11,10.0.0.101,lobby,lobby,"
              "255.255.255.0,10.0.0.1,0.0.0.0,no,1,configured,answers at 10.0.0.101 as 'lobby',,\n"
              "02:00:00:00:00:02,2,Kestrel Relay,08bits,10.0.0.12,10.0.0.102,relay,,255.255.255.0,"
              "10.0.0.1,,no,0,not sent,\"not sent: ip 10.0.0.102 is in use by 02:00:00:00:00:09 "
              "('hall'), which the plan leaves out\",,\n"
              "02:00:00:00:00:03,3,Kestrel Cam,32bits,10.0.0.13,10.0.0.103,yard,yard,"
              "255.255.255.0,10.0.0.1,0.0.0.0,no,1,failed,not confirmed within 2000 ms: it did not "
              "answer again,,\n");
}

}  // namespace
