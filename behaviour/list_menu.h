#pragma once

#include <array>
#include <span>
#include <string_view>

namespace kestrelink {

enum class ListMenuAction {
    ConfigureIp,
    ConfigureSeveral,
    OpenWebPage,
    CopyIpAddress,
    CopyMacAddress,
    CopyRow,
    ExportList,
    CompareWithList,
    ClearComparison,
    KeepWatching
};

struct ListMenuItem {
    ListMenuAction action;
    // With the mnemonic after '&', as both toolkits read it.
    std::string_view text;
    // Disabled when the menu opens on empty space, or from the keyboard with no row selected.
    bool needsRow;
    // Disabled while the list shows no row.
    bool needsShownRows;
    bool separatorBefore;
};

// The device list's context menu, top to bottom. Ctrl+C, anywhere in the window but a text field,
// is Copy Row.
inline constexpr std::array<ListMenuItem, 10> kListMenu = {{
    {ListMenuAction::ConfigureIp, "&Configure IP...", true, false, false},
    {ListMenuAction::ConfigureSeveral, "Configure &Several...", false, true, false},
    {ListMenuAction::OpenWebPage, "Open &Web Page", true, false, false},
    {ListMenuAction::CopyIpAddress, "Copy &IP Address", true, false, true},
    {ListMenuAction::CopyMacAddress, "Copy &MAC Address", true, false, false},
    {ListMenuAction::CopyRow, "Copy &Row", true, false, false},
    {ListMenuAction::ExportList, "&Export List...", false, false, true},
    {ListMenuAction::CompareWithList, "Compare With &List...", false, false, true},
    {ListMenuAction::ClearComparison, "Clear Com&parison", false, false, false},
    {ListMenuAction::KeepWatching, "&Keep Watching", false, false, false},
}};

// An item drawn with a tick that shows whether it is on.
bool IsCheckItem(ListMenuAction action);

// The columns a copy takes from the selected row, in their order; empty for the other actions.
std::span<const int> CopiedColumns(ListMenuAction action);

}  // namespace kestrelink
