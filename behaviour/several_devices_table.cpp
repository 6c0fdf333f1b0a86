#include "behaviour/several_devices_table.h"

#include <algorithm>
#include <unordered_map>

#include "net/text_forms.h"

namespace kestrelink {
namespace {

constexpr std::string_view kNotFound = "not found";
constexpr std::string_view kNoNameTaken = "(08bits take no name)";
constexpr std::string_view kDhcp = "DHCP";

std::string Address(std::uint32_t value) {
    return std::string(FormatDottedQuad(value).View());
}

// Addresses by value before anything that is not one, serial numbers likewise.
std::optional<unsigned long long> NumericKey(SeveralColumn column, const std::string& text) {
    if (column == SeveralColumn::Ip || column == SeveralColumn::NewIp) {
        if (const std::optional<std::uint32_t> value = ParseDottedQuad(text)) {
            return *value;
        }
        return std::nullopt;
    }
    if (column == SeveralColumn::SerialNo && !text.empty() &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        text.size() < 20) {
        return std::stoull(text);
    }
    return std::nullopt;
}

bool Before(SeveralColumn column, const std::string& left, const std::string& right) {
    const auto leftKey = NumericKey(column, left);
    const auto rightKey = NumericKey(column, right);
    if (leftKey && rightKey) {
        return *leftKey < *rightKey;
    }
    if (leftKey || rightKey) {
        return leftKey.has_value();
    }
    return left < right;
}

}  // namespace

bool TakesNoName(const SeveralDevice& device) {
    return device.arch == "08bits";
}

std::string ExpandNamePattern(std::string_view pattern, std::size_t counter) {
    const std::string number = std::to_string(counter);
    std::string name;
    for (std::size_t at = 0; at < pattern.size();) {
        if (pattern[at] != '#') {
            name += pattern[at++];
            continue;
        }
        const std::size_t run = pattern.find_first_not_of('#', at);
        const std::size_t length = (run == std::string_view::npos ? pattern.size() : run) - at;
        if (number.size() < length) {
            name.append(length - number.size(), '0');
        }
        name += number;
        at += length;
    }
    return name;
}

SeveralDevicesTable::SeveralDevicesTable(std::vector<SeveralDevice> devices) {
    for (SeveralDevice& device : devices) {
        SeveralRow row;
        row.device = std::move(device);
        m_rows.push_back(std::move(row));
    }
}

std::string SeveralDevicesTable::Cell(std::size_t row, SeveralColumn column) const {
    const SeveralRow& shown = m_rows[row];
    switch (column) {
        case SeveralColumn::Mac:
            return shown.device.mac;
        case SeveralColumn::SerialNo:
            return shown.device.serialNo;
        case SeveralColumn::ProductName:
            return shown.device.productName;
        case SeveralColumn::Arch:
            return shown.device.arch;
        case SeveralColumn::Ip:
            return shown.device.ip;
        case SeveralColumn::GivenName:
            return shown.device.givenName;
        case SeveralColumn::NewIp:
            return shown.newIp;
        case SeveralColumn::NewName:
            return shown.newName;
        case SeveralColumn::Status:
            return shown.status;
    }
    return {};
}

void SeveralDevicesTable::SetChecked(std::size_t row, bool checked) {
    m_rows[row].checked = checked && m_rows[row].found;
}

void SeveralDevicesTable::SetStatus(std::size_t row, std::string status) {
    m_rows[row].status = std::move(status);
}

void SeveralDevicesTable::ClearStatuses() {
    for (SeveralRow& row : m_rows) {
        row.status = row.found ? std::string() : std::string(kNotFound);
    }
}

void SeveralDevicesTable::SortBy(SeveralColumn column) {
    m_ascending = !(m_sortColumn == column && m_ascending);
    m_sortColumn = column;
    std::vector<std::string> keys;
    std::vector<std::size_t> order(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        keys.push_back(Cell(row, column));
        order[row] = row;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
        return m_ascending ? Before(column, keys[left], keys[right])
                           : Before(column, keys[right], keys[left]);
    });
    std::vector<SeveralRow> sorted;
    for (const std::size_t row : order) {
        sorted.push_back(std::move(m_rows[row]));
    }
    m_rows = std::move(sorted);
}

void SeveralDevicesTable::ApplyPlan(std::span<const provisioning::RequestFields> plan) {
    std::unordered_map<std::string, std::size_t> rowOfMac;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].found) {
            rowOfMac.emplace(m_rows[row].device.mac, row);
        }
    }
    std::erase_if(m_rows, [](const SeveralRow& row) { return !row.found; });
    for (SeveralRow& row : m_rows) {
        row.plan.reset();
        row.checked = false;
    }
    for (const provisioning::RequestFields& settings : plan) {
        const auto listed = rowOfMac.find(settings.mac);
        if (listed != rowOfMac.end()) {
            m_rows[listed->second].plan = settings;
            m_rows[listed->second].checked = true;
            continue;
        }
        SeveralRow missing;
        missing.device.mac = settings.mac;
        missing.found = false;
        missing.checked = false;
        missing.plan = settings;
        missing.status = kNotFound;
        m_rows.push_back(std::move(missing));
    }
}

void SeveralDevicesTable::Number(const NumberingFields& fields, bool fieldsComplete) {
    const auto address = [](std::optional<std::uint32_t> value) {
        return value ? Address(*value) : std::string();
    };
    std::size_t position = 0;
    for (SeveralRow& row : m_rows) {
        row.request.reset();
        std::optional<provisioning::RequestFields> drawn = row.plan;
        if (!drawn && row.checked && fieldsComplete) {
            drawn.emplace();
            drawn->mac = row.device.mac;
            drawn->dhcp = fields.dhcp;
            if (!fields.dhcp) {
                drawn->ip =
                    Address(fields.start + static_cast<std::uint32_t>(position) * fields.step);
                drawn->mask = address(fields.mask);
                drawn->gateway = address(fields.gateway);
                drawn->dns = address(fields.dns);
            }
            drawn->nameGiven = !fields.namePattern.empty();
            if (drawn->nameGiven) {
                drawn->name = ExpandNamePattern(fields.namePattern, position + 1);
            }
            ++position;
        }
        if (!drawn) {
            row.newIp.clear();
            row.newName.clear();
            continue;
        }
        if (drawn->password.empty()) {
            drawn->password = fields.password;
        }
        row.newIp = drawn->dhcp ? std::string(kDhcp) : drawn->ip;
        if (TakesNoName(row.device)) {
            drawn->nameGiven = false;
            drawn->name.clear();
            drawn->dns.clear();
            row.newName = kNoNameTaken;
        } else {
            row.newName = drawn->nameGiven ? drawn->name : row.device.givenName;
        }
        if (row.checked) {
            row.request = std::move(drawn);
        }
    }
}

std::string SeveralDevicesTable::CopyText(std::span<const std::size_t> rows) const {
    std::vector<std::size_t> ordered(rows.begin(), rows.end());
    std::sort(ordered.begin(), ordered.end());
    std::string text;
    const auto line = [&text](auto cell) {
        for (std::size_t column = 0; column < kSeveralColumnCount; ++column) {
            if (column > 0) {
                text += '\t';
            }
            text += cell(static_cast<SeveralColumn>(column));
        }
        text += '\n';
    };
    line([](SeveralColumn column) {
        return std::string(kSeveralColumnHeaders[static_cast<std::size_t>(column)]);
    });
    for (const std::size_t row : ordered) {
        line([&](SeveralColumn column) { return Cell(row, column); });
    }
    return text;
}

}  // namespace kestrelink
