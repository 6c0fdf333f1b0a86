#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "provisioning/device_request.h"

namespace kestrelink {

// The columns of the "Configure Several Devices" table, left to right.
enum class SeveralColumn {
    Mac,
    SerialNo,
    ProductName,
    Arch,
    Ip,
    GivenName,
    NewIp,
    NewName,
    Status
};
inline constexpr std::size_t kSeveralColumnCount = 9;
inline constexpr std::array<std::string_view, kSeveralColumnCount> kSeveralColumnHeaders = {
    "MAC", "Serial No", "Product Name", "arch", "IP", "Given Name", "New IP", "New Name", "Status"};

// A device as the main list showed it when the dialog opened: its cells, UTF-8.
struct SeveralDevice {
    std::string mac;
    std::string serialNo;
    std::string productName;
    std::string arch;
    std::string ip;
    std::string givenName;
    std::string heardOn;  // the interface it was last heard on; empty when not known
};

// The dialog's fields as the rows' new settings are drawn from them; texts UTF-8.
struct NumberingFields {
    std::uint32_t start = 0;
    std::uint32_t step = 1;
    std::optional<std::uint32_t> mask;
    std::optional<std::uint32_t> gateway;
    std::optional<std::uint32_t> dns;
    std::string namePattern;  // empty keeps each device's name
    std::string password;     // for the rows whose plan gives none
    bool dhcp = false;
};

struct SeveralRow {
    SeveralDevice device;
    bool found = true;  // false: a plan's row for a device the list does not show
    bool checked = true;
    std::optional<provisioning::RequestFields> plan;
    // What the row is to become, as its own cells show it.
    std::string newIp;
    std::string newName;
    std::string status;
    // The request drawn for a checked, found row, unchecked as yet; nullopt for the others.
    std::optional<provisioning::RequestFields> request;
};

// "08bits": a family whose request carries neither a name nor a DNS server.
bool TakesNoName(const SeveralDevice& device);

// Each run of '#' in pattern as counter, zero-padded to the run's length ("cam-###", 2 gives
// "cam-002"); a counter longer than its run is written whole.
std::string ExpandNamePattern(std::string_view pattern, std::size_t counter);

// The rows of the dialog in the order shown, and what each is to become.
class SeveralDevicesTable final {
public:
    explicit SeveralDevicesTable(std::vector<SeveralDevice> devices);

    std::span<const SeveralRow> Rows() const { return m_rows; }
    std::string Cell(std::size_t row, SeveralColumn column) const;

    void SetChecked(std::size_t row, bool checked);
    void SetStatus(std::size_t row, std::string status);
    void ClearStatuses();

    // Orders the rows by column, ascending, or descending when it was already ordered by it
    // ascending. Addresses and serial numbers go by value, texts by their characters; ties
    // keep their order.
    void SortBy(SeveralColumn column);
    std::optional<SeveralColumn> SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_ascending; }

    // Fills the rows by MAC: a listed device the plan leaves out is unchecked, a plan's device
    // the list does not show becomes a row of its own, "not found".
    void ApplyPlan(std::span<const provisioning::RequestFields> plan);

    // Gives the checked rows their new settings: a plan's row its own, the others the start
    // address and then the next by step, in the table's order, and the name pattern's counter.
    // Without fieldsComplete (no start address, or no step) only the plan's rows get theirs.
    void Number(const NumberingFields& fields, bool fieldsComplete);

    // The rows given, in the table's order, as tab-separated lines under the header.
    std::string CopyText(std::span<const std::size_t> rows) const;

private:
    std::vector<SeveralRow> m_rows;
    std::optional<SeveralColumn> m_sortColumn;
    bool m_ascending = true;
};

}  // namespace kestrelink
