#include "behaviour/several_devices_dialog.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "behaviour/dialog_face.h"
#include "behaviour/several_devices_face.h"
#include "behaviour/several_devices_sender.h"
#include "behaviour/several_devices_words.h"
#include "net/csv.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"
#include "provisioning/move_order.h"

namespace kestrelink {
namespace {

constexpr auto kNoStart = "Enter the start address, or tick Use DHCP.";
constexpr auto kBadStep = "The step must be a whole number from 1 to 65535.";
constexpr auto kNoneChecked = "Tick at least one device to configure.";
constexpr auto kStopAndClose = "Devices are still being configured. Stop and close?";
constexpr auto kPlanName = "plan.csv";
constexpr std::uint32_t kLargestStep = 65535;

std::optional<std::uint32_t> ParseStep(std::string_view text) {
    std::uint32_t step = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), step);
    if (error != std::errc() || end != text.data() + text.size() || step == 0 ||
        step > kLargestStep) {
        return std::nullopt;
    }
    return step;
}

std::string Latin1(std::string_view utf8) {
    return Utf8ToLatin1(utf8, ControlCharacters::Refuse).value_or(std::string());
}

std::string Address(std::uint32_t value) {
    return std::string(FormatDottedQuad(value).View());
}

// Why the row's texts cannot go in a request; empty when they can.
std::string TextProblem(const PlannedSettings& settings, const std::string& password) {
    const auto latin1Password = Utf8ToLatin1(password, ControlCharacters::Refuse);
    if (!latin1Password) {
        return "the password has characters a device cannot take";
    }
    if (latin1Password->size() > kPasswordMaxLength) {
        return "the password is longer than " + std::to_string(kPasswordMaxLength) +
               " characters";
    }
    if (settings.name) {
        const auto name = Utf8ToLatin1(*settings.name, ControlCharacters::Refuse);
        if (!name) {
            return "the new name has characters a device cannot take";
        }
        if (name->size() > kHostNameMaxLength) {
            return "the new name is longer than " + std::to_string(kHostNameMaxLength) +
                   " characters";
        }
    }
    return {};
}

}  // namespace

SeveralDevicesDialog::SeveralDevicesDialog(SeveralDevicesFace& face, DialogFace& boxes,
                                           SeveralDevicesSender& sender,
                                           std::vector<ListedDevice> shown,
                                           std::vector<ListedDevice> listed)
    : m_face(face),
      m_boxes(boxes),
      m_sender(sender),
      m_table(std::move(shown)),
      m_listed(std::move(listed)) {}

void SeveralDevicesDialog::Attach() {
    m_face.SetText(SeveralTextField::Step, "1");
    Renumber();
    m_face.FocusAddress(SeveralAddressField::Start);
}

void SeveralDevicesDialog::OnFieldsChanged() {
    if (!m_running) {
        Renumber();
    }
}

void SeveralDevicesDialog::OnUseDhcpClicked() {
    m_face.EnableAddresses(!m_face.UseDhcp());
    OnFieldsChanged();
}

void SeveralDevicesDialog::OnChecked(std::size_t row, bool checked) {
    if (m_running) {
        return;
    }
    m_table.SetChecked(row, checked);
    Renumber();
}

void SeveralDevicesDialog::OnHeaderClicked(SeveralColumn column) {
    if (m_running) {
        return;
    }
    m_table.SortBy(column);
    Renumber();
}

void SeveralDevicesDialog::OnCopy(std::span<const std::size_t> rows) {
    if (!rows.empty()) {
        m_face.SetClipboardText(m_table.CopyText(rows));
    }
}

std::optional<NumberingFields> SeveralDevicesDialog::ReadFields() {
    NumberingFields fields;
    fields.dhcp = m_face.UseDhcp();
    const auto start = m_face.Address(SeveralAddressField::Start);
    const auto step = ParseStep(m_face.Text(SeveralTextField::Step));
    if ((!start && !fields.dhcp) || !step) {
        return std::nullopt;
    }
    fields.start = start.value_or(0);
    fields.step = *step;
    fields.mask = m_face.Address(SeveralAddressField::Mask).value_or(0);
    fields.gateway = m_face.Address(SeveralAddressField::Gateway).value_or(0);
    fields.dns = m_face.Address(SeveralAddressField::DnsServer).value_or(0);
    fields.namePattern = m_face.Text(SeveralTextField::NamePattern);
    return fields;
}

void SeveralDevicesDialog::Renumber() {
    const std::optional<NumberingFields> fields = ReadFields();
    m_table.Number(fields.value_or(NumberingFields{}), fields.has_value());
    m_face.ShowRows(m_table);
}

void SeveralDevicesDialog::OnSend() {
    if (m_running) {
        return;
    }
    const bool needsFields = std::any_of(m_table.Rows().begin(), m_table.Rows().end(),
                                         [](const SeveralRow& row) { return row.checked && !row.plan; });
    if (needsFields) {
        if (!m_face.UseDhcp() && !m_face.Address(SeveralAddressField::Start)) {
            m_boxes.ShowMessage(kNoStart);
            m_face.FocusAddress(SeveralAddressField::Start);
            return;
        }
        if (!ParseStep(m_face.Text(SeveralTextField::Step))) {
            m_boxes.ShowMessage(kBadStep);
            m_face.FocusText(SeveralTextField::Step);
            return;
        }
    }
    Renumber();
    m_table.ClearStatuses();
    const std::string dialogPassword = m_face.Text(SeveralTextField::Password);
    const std::span<const SeveralRow> rows = m_table.Rows();

    // A row that fails a check is not sent; the others are checked against each other only.
    std::vector<std::string> problems(rows.size());
    std::map<std::uint32_t, std::vector<std::size_t>> rowsOfAddress;
    bool anyChecked = false;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!rows[row].settings) {
            continue;
        }
        anyChecked = true;
        const PlannedSettings& settings = *rows[row].settings;
        const std::string& password =
            settings.password.empty() ? dialogPassword : settings.password;
        problems[row] = TextProblem(settings, password);
        if (!settings.dhcp) {
            rowsOfAddress[settings.ip].push_back(row);
        }
    }
    if (!anyChecked) {
        m_boxes.ShowMessage(kNoneChecked);
        return;
    }
    for (const auto& [address, sharing] : rowsOfAddress) {
        if (sharing.size() > 1) {
            for (const std::size_t row : sharing) {
                for (const std::size_t other : sharing) {
                    if (other != row && problems[row].empty()) {
                        problems[row] = "ip " + Address(address) + " is planned for " +
                                        rows[other].device.mac + " too";
                    }
                }
            }
        }
    }
    std::map<std::string, bool> beingSent;
    for (const SeveralRow& row : rows) {
        if (row.settings) {
            beingSent[row.device.mac] = true;
        }
    }
    for (const auto& [address, sharing] : rowsOfAddress) {
        for (const ListedDevice& device : m_listed) {
            if (device.ip != Address(address) || beingSent.contains(device.mac)) {
                continue;
            }
            for (const std::size_t row : sharing) {
                if (problems[row].empty()) {
                    problems[row] = "ip " + device.ip + " is in use by " + device.mac + " ('" +
                                    device.givenName + "'), which is not being configured";
                }
            }
        }
    }

    std::vector<SeveralTarget> targets;
    m_rowOfTarget.clear();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!rows[row].settings || !problems[row].empty()) {
            continue;
        }
        const SeveralRow& shown = rows[row];
        const PlannedSettings& planned = *shown.settings;
        SeveralTarget target;
        target.device = {shown.device.mac, shown.device.arch, shown.device.heardOn};
        target.settings.useDhcp = planned.dhcp;
        if (!planned.dhcp) {
            target.settings.ipAddress = planned.ip;
            target.settings.subnetMask = planned.mask;
            target.settings.gateway = planned.gateway;
            target.settings.dnsServer = planned.dns;
        }
        target.settings.password =
            Latin1(planned.password.empty() ? dialogPassword : planned.password);
        const std::string givenName = Latin1(shown.device.givenName);
        target.settings.hostName = planned.name ? Latin1(*planned.name)
                                                : givenName.substr(0, kHostNameMaxLength);
        target.step.mac = shown.device.mac;
        target.step.before = {Latin1(shown.device.ip), givenName};
        if (!planned.dhcp) {
            target.step.newIp = Address(planned.ip);
        }
        if (!TakesNoName(shown.device)) {
            target.step.newName = target.settings.hostName;
        }
        targets.push_back(std::move(target));
        m_rowOfTarget.push_back(row);
    }
    m_steps.clear();
    for (const SeveralTarget& target : targets) {
        m_steps.push_back(target.step);
    }
    provisioning::MoveOrder order = provisioning::OrderMoves(m_steps);
    if (!order.cycle.empty()) {
        std::string macs;
        for (const std::size_t target : order.cycle) {
            macs += (macs.empty() ? "" : ", ") + targets[target].device.macText;
        }
        for (const std::size_t target : order.cycle) {
            problems[m_rowOfTarget[target]] =
                "moves in a cycle (" + macs +
                "), each onto the address the next holds; send one to a free address first";
        }
        std::vector<SeveralTarget> acyclic;
        std::vector<std::size_t> rowOfTarget;
        for (std::size_t target = 0; target < targets.size(); ++target) {
            if (problems[m_rowOfTarget[target]].empty()) {
                acyclic.push_back(std::move(targets[target]));
                rowOfTarget.push_back(m_rowOfTarget[target]);
            }
        }
        targets = std::move(acyclic);
        m_rowOfTarget = std::move(rowOfTarget);
        m_steps.clear();
        for (const SeveralTarget& target : targets) {
            m_steps.push_back(target.step);
        }
        order = provisioning::OrderMoves(m_steps);
    }

    m_configured = m_notConfirmable = m_failed = 0;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!problems[row].empty()) {
            m_table.SetStatus(row, "not sent: " + problems[row]);
            ++m_failed;
        }
    }
    m_face.ShowRows(m_table);
    m_face.ShowSummary({});
    m_face.FocusTable();
    if (targets.empty()) {
        Over();
        return;
    }
    for (const std::size_t row : m_rowOfTarget) {
        m_table.SetStatus(row, std::string(kWaitingStatus));
        m_face.ShowStatus(row, kWaitingStatus);
    }
    m_running = true;
    m_stopped = false;
    m_face.ShowRunning(true);
    m_sender.Start(std::move(targets), std::move(order.waitsFor),
                   {[this](std::size_t target, const provisioning::StepResult& result) {
                        Finished(target, result);
                    },
                    [this] { Over(); }});
}

void SeveralDevicesDialog::Finished(std::size_t target, const provisioning::StepResult& result) {
    const std::size_t row = m_rowOfTarget[target];
    std::string words = m_stopped && result.outcome == provisioning::Outcome::Blocked &&
                                !result.blocker
                            ? std::string(kStoppedStatus)
                            : ResultWords(m_steps, target, result);
    if (provisioning::IsFailure(result.outcome)) {
        ++m_failed;
    } else if (result.outcome == provisioning::Outcome::Confirmed) {
        ++m_configured;
    } else {
        ++m_notConfirmable;
    }
    m_table.SetStatus(row, words);
    m_face.ShowStatus(row, words);
}

void SeveralDevicesDialog::Over() {
    m_running = false;
    m_face.ShowRunning(false);
    m_face.ShowSummary(std::to_string(m_configured) + " configured, " +
                       std::to_string(m_notConfirmable) + " not confirmable, " +
                       std::to_string(m_failed) + " failed");
}

void SeveralDevicesDialog::OnStop() {
    if (m_running) {
        m_stopped = true;
        m_sender.Stop();
    }
}

bool SeveralDevicesDialog::OnClose() {
    if (!m_running) {
        return true;
    }
    if (!m_boxes.AskYesNo(kStopAndClose)) {
        return false;
    }
    OnStop();
    return true;
}

void SeveralDevicesDialog::OnOpenPlan() {}

void SeveralDevicesDialog::OnSavePlan() {
    const std::optional<std::string> path =
        m_face.ChooseFileToSave(SeveralFileKind::Plan, kPlanName);
    if (!path) {
        return;
    }
    std::string csv;
    const std::string_view header[] = {"mac", "ip",   "mask",     "gateway",
                                       "dns", "name", "password", "dhcp"};
    csv += FormatCsvRecord(header);
    for (const SeveralRow& row : m_table.Rows()) {
        if (!row.settings) {
            continue;
        }
        const PlannedSettings& planned = *row.settings;
        const std::string ip = planned.dhcp ? std::string() : Address(planned.ip);
        const std::string mask = planned.dhcp ? std::string() : Address(planned.mask);
        const std::string gateway = planned.dhcp ? std::string() : Address(planned.gateway);
        const std::string dns =
            planned.dhcp || TakesNoName(row.device) ? std::string() : Address(planned.dns);
        const std::string name = planned.name.value_or(std::string());
        const std::string_view fields[] = {row.device.mac, ip,   mask, gateway, dns,
                                           name,           "",   planned.dhcp ? "yes" : "no"};
        csv += FormatCsvRecord(fields);
    }
    if (const auto failure = m_face.ReplaceFile(*path, csv)) {
        m_boxes.ShowMessage("Failed to save the plan to " + *path + ":\n" + *failure);
    }
}

}  // namespace kestrelink
