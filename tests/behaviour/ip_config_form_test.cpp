#include "behaviour/ip_config_form.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "behaviour/dialog_face.h"
#include "behaviour/ip_config_face.h"

using namespace kestrelink;

namespace {

constexpr auto kBlank = "warning|One of the fields is blank";
constexpr auto kEmptyPassword = "question|Password is empty, continue?";

// The dialog, and its boxes, as the user left it: every address filled, a password typed.
class FakeDialog final : public IpConfigFace, public DialogFace {
public:
    std::map<IpTextField, std::string> texts = {{IpTextField::Password, "secret"}};
    std::map<IpTextField, int> maxLengths;
    bool useDhcp = false;
    std::map<IpAddressField, std::uint32_t> addresses = {{IpAddressField::IpAddress, 0x0A000005},
                                                         {IpAddressField::SubnetMask, 0xFFFFFF00},
                                                         {IpAddressField::Gateway, 0x0A000001},
                                                         {IpAddressField::DnsServer, 0x0A000002}};
    bool addressesEnabled = true;
    bool yesAnswer = false;
    std::vector<std::string> boxes;  // "warning|text", "question|text", "focus|host name"...

    void ShowMessage(std::string_view text) override {
        boxes.push_back("warning|" + std::string(text));
    }
    bool AskRetry(std::string_view) override { return false; }
    bool AskYesNo(std::string_view text) override {
        boxes.push_back("question|" + std::string(text));
        return yesAnswer;
    }
    bool OpenHelpPage(int) override { return false; }
    std::string Text(IpTextField field) const override { return texts.at(field); }
    void SetText(IpTextField field, std::string_view text, int maxLength) override {
        texts[field] = text;
        maxLengths[field] = maxLength;
    }
    void FocusAndSelectAll(IpTextField field) override {
        boxes.push_back(field == IpTextField::Password ? "focus|password" : "focus|host name");
    }
    bool UseDhcp() const override { return useDhcp; }
    void SetUseDhcp(bool value) override { useDhcp = value; }
    bool IsBlank(IpAddressField field) const override { return !addresses.contains(field); }
    std::uint32_t Address(IpAddressField field) const override {
        return addresses.contains(field) ? addresses.at(field) : 0;
    }
    void EnableAddresses(bool enabled) override { addressesEnabled = enabled; }
};

struct SendCase {
    const char* name;
    void (*fill)(FakeDialog&);
    std::vector<std::string> boxes;
    bool sent;
};

class SendTest : public ::testing::TestWithParam<SendCase> {};

TEST_P(SendTest, ChecksInTheDialogsOrder) {
    FakeDialog dialog;
    IpConfigForm form(dialog, dialog);
    form.Attach();
    dialog.texts[IpTextField::Password] = "secret";
    form.SetHostName("gate");
    GetParam().fill(dialog);
    EXPECT_EQ(form.OnSend(), GetParam().sent);
    EXPECT_EQ(dialog.boxes, GetParam().boxes);
}

const std::string kTooLong15 = "warning|Please enter no more than 15 characters.";
const std::string kTooLong31 = "warning|Please enter no more than 31 characters.";
const std::string kNotLatin1 =
    " contains characters that cannot be sent.\nUse only Latin-1 (Western European) characters.";

INSTANTIATE_TEST_SUITE_P(
    Send, SendTest,
    ::testing::Values(
        SendCase{"AllFilled", [](FakeDialog&) {}, {}, true},
        SendCase{"GatewayBlank",
                 [](FakeDialog& d) { d.addresses.erase(IpAddressField::Gateway); },
                 {kBlank},
                 false},
        SendCase{"DnsMayStayBlank",
                 [](FakeDialog& d) { d.addresses.erase(IpAddressField::DnsServer); },
                 {},
                 true},
        SendCase{"DhcpWithAllBlank",
                 [](FakeDialog& d) {
                     d.addresses.clear();
                     d.useDhcp = true;
                 },
                 {},
                 true},
        SendCase{"EmptyPasswordYes",
                 [](FakeDialog& d) {
                     d.texts[IpTextField::Password].clear();
                     d.yesAnswer = true;
                 },
                 {kEmptyPassword},
                 true},
        SendCase{"EmptyPasswordNo",
                 [](FakeDialog& d) { d.texts[IpTextField::Password].clear(); },
                 {kEmptyPassword},
                 false},
        SendCase{"BlankBeforeEmptyPassword",
                 [](FakeDialog& d) {
                     d.texts[IpTextField::Password].clear();
                     d.addresses.erase(IpAddressField::IpAddress);
                 },
                 {kBlank},
                 false},
        SendCase{"PasswordOf16",
                 [](FakeDialog& d) { d.texts[IpTextField::Password] = std::string(16, 'p'); },
                 {kTooLong15, "focus|password", kTooLong15, "focus|password"},
                 false},
        SendCase{"HostNameOf32Latin1",
                 [](FakeDialog& d) {
                     d.texts[IpTextField::HostName] = std::string(31, 'h') + "\xc3\xa9";
                 },
                 {kTooLong31, "focus|host name", kTooLong31, "focus|host name"},
                 false},
        SendCase{"OverLongHostNameLeavesTheOtherChecksToRun",
                 [](FakeDialog& d) {
                     d.texts[IpTextField::HostName] = std::string(40, 'h');
                     d.addresses.erase(IpAddressField::Gateway);
                 },
                 {kTooLong31, "focus|host name", kBlank},
                 false},
        SendCase{"OverLongHostNameStillTakesDhcp",
                 [](FakeDialog& d) {
                     d.texts[IpTextField::HostName] = std::string(40, 'h');
                     d.texts[IpTextField::Password].clear();
                     d.addresses.clear();
                     d.useDhcp = true;
                     d.yesAnswer = true;
                 },
                 {kTooLong31, "focus|host name", kEmptyPassword, kTooLong31, "focus|host name"},
                 false},
        SendCase{"HostNameOf31Latin1",
                 [](FakeDialog& d) {
                     d.texts[IpTextField::HostName] = std::string(30, 'h') + "\xc3\xa9";
                 },
                 {},
                 true},
        SendCase{"PasswordOutsideLatin1",
                 [](FakeDialog& d) { d.texts[IpTextField::Password] = "\xe2\x82\xac"; },
                 {"warning|The password" + kNotLatin1, "focus|password"},
                 false},
        SendCase{"HostNameOutsideLatin1",
                 [](FakeDialog& d) { d.texts[IpTextField::HostName] = "\xd0\x96"; },
                 {"warning|The host name" + kNotLatin1, "focus|host name"},
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

// What the device is sent: the texts as single bytes, the addresses as the controls hold them.
TEST(IpConfigFormTest, SettingsAreSingleByte) {
    FakeDialog dialog;
    IpConfigForm form(dialog, dialog);
    form.Attach();
    form.SetHostName("caf\xc3\xa9");
    dialog.texts[IpTextField::Password] = "p\xc3\xa4ss";
    ASSERT_TRUE(form.OnSend());
    const IpSettings settings = form.Settings();
    EXPECT_EQ(settings.hostName, "caf\xe9");
    EXPECT_EQ(settings.password, "p\xe4ss");
    EXPECT_EQ(settings.ipAddress, 0x0A000005u);
    EXPECT_EQ(settings.subnetMask, 0xFFFFFF00u);
    EXPECT_EQ(settings.gateway, 0x0A000001u);
    EXPECT_EQ(settings.dnsServer, 0x0A000002u);
    EXPECT_FALSE(settings.useDhcp);
}

// A name longer than a host name can be is shown whole, so that Send refuses it visibly.
TEST(IpConfigFormTest, TypingLimitsShowALongerTextWhole) {
    FakeDialog dialog;
    IpConfigForm form(dialog, dialog);
    form.Attach();
    EXPECT_EQ(dialog.maxLengths.at(IpTextField::Password), 15);
    EXPECT_EQ(dialog.maxLengths.at(IpTextField::HostName), 31);
    form.SetHostName(std::string(40, 'h'));
    EXPECT_EQ(dialog.maxLengths.at(IpTextField::HostName), 40);
    EXPECT_EQ(IpConfigForm::TypingLimit(IpTextField::HostName, 35), 35);
    EXPECT_EQ(IpConfigForm::TypingLimit(IpTextField::Password, 3), 15);
}

TEST(IpConfigFormTest, DhcpDisablesTheAddressesAndBringsThemBack) {
    FakeDialog dialog;
    IpConfigForm form(dialog, dialog);
    form.Attach();
    dialog.useDhcp = true;
    form.OnUseDhcpClicked();
    EXPECT_FALSE(dialog.addressesEnabled);
    dialog.useDhcp = false;
    form.OnUseDhcpClicked();
    EXPECT_TRUE(dialog.addressesEnabled);
    EXPECT_EQ(dialog.addresses.size(), 4u);
}

TEST(IpConfigFormTest, DhcpIsTakenBesideAnOverLongHostName) {
    FakeDialog dialog;
    IpConfigForm form(dialog, dialog);
    form.Attach();
    dialog.texts[IpTextField::HostName] = std::string(40, 'h');
    dialog.useDhcp = true;
    form.OnUseDhcpClicked();
    EXPECT_FALSE(dialog.addressesEnabled);
    EXPECT_EQ(dialog.boxes, (std::vector<std::string>{kTooLong31, "focus|host name"}));
}

}  // namespace
