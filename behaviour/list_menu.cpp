#include "behaviour/list_menu.h"

#include "net/device_row.h"

namespace kestrelink {
namespace {

constexpr std::array<int, 1> kIp = {kColumnIp};
constexpr std::array<int, 1> kMac = {kColumnMac};
constexpr std::array<int, kColumnCount> kRow = {
    kColumnIp,      kColumnMac,      kColumnProductName, kColumnGivenName,
    kColumnVersion, kColumnSerialNo, kColumnArch};

}  // namespace

std::span<const int> CopiedColumns(ListMenuAction action) {
    switch (action) {
        case ListMenuAction::CopyIpAddress:
            return kIp;
        case ListMenuAction::CopyMacAddress:
            return kMac;
        case ListMenuAction::CopyRow:
            return kRow;
        default:
            return {};
    }
}

bool IsCheckItem(ListMenuAction action) {
    return action == ListMenuAction::KeepWatching;
}

}  // namespace kestrelink
