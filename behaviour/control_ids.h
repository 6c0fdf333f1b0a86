#pragma once

// Ids of the controls in the dialog layouts under res/dialogs/, for the code that wires them
// and the tests that find them.
namespace kestrelink {

namespace main_window {
inline constexpr int kTemplateId = 102;
inline constexpr int kCloseId = 1;
inline constexpr int kWebId = 1000;
inline constexpr int kDiscoverId = 1001;
inline constexpr int kListId = 1002;
inline constexpr int kConfigureIpId = 1003;
inline constexpr int kForceIeId = 1011;
inline constexpr int kFilterId = 1012;
inline constexpr int kDeviceCountId = 1013;
}  // namespace main_window

namespace ip_config {
inline constexpr int kTemplateId = 129;
inline constexpr int kSendId = 1;
inline constexpr int kCancelId = 2;
inline constexpr int kIpAddressId = 1003;
inline constexpr int kSubnetMaskId = 1004;
inline constexpr int kUseDhcpId = 1005;
inline constexpr int kGatewayId = 1006;
inline constexpr int kPasswordId = 1007;
inline constexpr int kDnsServerId = 1009;
inline constexpr int kHostNameId = 1011;
}  // namespace ip_config

namespace several_devices {
inline constexpr int kTemplateId = 140;
inline constexpr int kSendId = 1;
inline constexpr int kCloseId = 2;
inline constexpr int kStartId = 1101;
inline constexpr int kStepId = 1102;
inline constexpr int kMaskId = 1103;
inline constexpr int kGatewayId = 1104;
inline constexpr int kDnsServerId = 1105;
inline constexpr int kNamePatternId = 1106;
inline constexpr int kPasswordId = 1107;
inline constexpr int kUseDhcpId = 1108;
inline constexpr int kTableId = 1109;
inline constexpr int kSummaryId = 1110;
inline constexpr int kOpenPlanId = 1111;
inline constexpr int kSavePlanId = 1112;
inline constexpr int kSaveRecordId = 1113;
inline constexpr int kStopId = 1114;
}  // namespace several_devices

}  // namespace kestrelink
