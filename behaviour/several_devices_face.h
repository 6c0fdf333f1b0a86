#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "behaviour/file_contents.h"

namespace kestrelink {

class SeveralDevicesTable;

// In the dialog's tab order.
enum class SeveralAddressField { Start, Mask, Gateway, DnsServer };
enum class SeveralTextField { Step, NamePattern, Password };
enum class SeveralFileKind { Plan, Record };

// What the "Configure Several Devices" dialog's face shows and reads for SeveralDevicesDialog.
// Texts are UTF-8. Calls come on the user-interface thread.
class SeveralDevicesFace {
public:
    SeveralDevicesFace() = default;
    virtual ~SeveralDevicesFace() = default;
    SeveralDevicesFace(const SeveralDevicesFace&) = delete;
    SeveralDevicesFace& operator=(const SeveralDevicesFace&) = delete;

    // First octet in the most significant byte; nullopt when all four parts are empty.
    virtual std::optional<std::uint32_t> Address(SeveralAddressField field) const = 0;
    virtual std::string Text(SeveralTextField field) const = 0;
    virtual void SetText(SeveralTextField field, std::string_view text) = 0;
    virtual bool UseDhcp() const = 0;
    // Disabled, not cleared.
    virtual void EnableAddresses(bool enabled) = 0;
    virtual void FocusAddress(SeveralAddressField field) = 0;
    virtual void FocusText(SeveralTextField field) = 0;

    // Draws every row of table anew, check boxes and sort arrow included.
    virtual void ShowRows(const SeveralDevicesTable& table) = 0;
    // Redraws one row's Status cell.
    virtual void ShowStatus(std::size_t row, std::string_view status) = 0;
    virtual void ShowSummary(std::string_view summary) = 0;
    virtual void FocusTable() = 0;
    // While a run goes on, Send, Open Plan and the table's check boxes are disabled and Stop
    // enabled; the other way round once it is over.
    virtual void ShowRunning(bool running) = 0;

    // The system's file dialogs; the path chosen, nullopt on Cancel.
    virtual std::optional<std::string> ChooseFileToOpen(SeveralFileKind kind) = 0;
    virtual std::optional<std::string> ChooseFileToSave(SeveralFileKind kind,
                                                        std::string_view suggestedName) = 0;
    virtual FileContents ReadFile(const std::string& path) = 0;
    // Whole or not at all; nullopt on success, else why not.
    virtual std::optional<std::string> ReplaceFile(const std::string& path,
                                                   std::string_view bytes) = 0;
    virtual void SetClipboardText(std::string_view text) = 0;
};

}  // namespace kestrelink
