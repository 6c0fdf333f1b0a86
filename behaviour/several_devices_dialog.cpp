#include "behaviour/several_devices_dialog.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "behaviour/dialog_face.h"
#include "behaviour/several_devices_face.h"
#include "behaviour/several_devices_sender.h"
#include "net/csv.h"
#include "net/latin1_text.h"
#include "net/text_forms.h"
#include "provisioning/listed_device.h"
#include "provisioning/move_order.h"
#include "provisioning/plan_checks.h"
#include "provisioning/plan_file.h"
#include "provisioning/result_words.h"

namespace kestrelink {
namespace {

constexpr auto kNoStart = "Enter the start address, or tick Use DHCP.";
constexpr auto kBadStep = "The step must be a whole number from 1 to 65535.";
constexpr auto kNoneChecked = "Tick at least one device to configure.";
constexpr auto kStopAndClose = "Devices are still being configured. Stop and close?";
constexpr auto kNothingRecorded = "Nothing has been sent yet: Send first, then save the record.";
constexpr auto kPlanName = "plan.csv";
constexpr auto kRecordName = "as-built.csv";
// A checked row's Status from Send until its outcome is known.
constexpr std::string_view kWaitingStatus = "waiting";
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

std::string Address(std::uint32_t value) {
    return std::string(FormatDottedQuad(value).View());
}

// What the checks need of a device the dialog shows: its own single-byte texts.
provisioning::ListedDevice Listed(const SeveralDevice& device) {
    const auto latin1 = [](const std::string& text) {
        return Utf8ToLatin1(text, ControlCharacters::Send).value_or(std::string());
    };
    return {device.mac, latin1(device.ip), latin1(device.givenName),
            TakesNoName(device) ? DeviceFamily::Bits08 : DeviceFamily::Bits32};
}

provisioning::RecordEntry RecordOf(const SeveralDevice& device) {
    const provisioning::ListedDevice listed = Listed(device);
    provisioning::RecordEntry entry;
    entry.mac = device.mac;
    std::uint32_t serial = 0;
    std::from_chars(device.serialNo.data(), device.serialNo.data() + device.serialNo.size(),
                    serial);
    entry.serialNumber = serial;
    entry.productName = Utf8ToLatin1(device.productName, ControlCharacters::Send).value_or("");
    entry.family = listed.family;
    entry.oldIp = listed.ip;
    entry.oldName = listed.givenName;
    return entry;
}

// A plan's request as the texts the dialog's rows hold, so that every row takes the same checks.
provisioning::RequestFields FieldsOf(const provisioning::DeviceRequest& request) {
    provisioning::RequestFields fields;
    fields.mac = request.mac;
    fields.dhcp = request.settings.useDhcp;
    if (!fields.dhcp) {
        fields.ip = Address(request.settings.ipAddress);
        fields.mask = Address(request.settings.subnetMask);
        fields.gateway = Address(request.settings.gateway);
        if (request.dnsGiven) {
            fields.dns = Address(request.settings.dnsServer);
        }
    }
    fields.nameGiven = !request.keepName;
    if (fields.nameGiven) {
        fields.name = Latin1ToUtf8(request.settings.hostName);
    }
    fields.password = Latin1ToUtf8(request.settings.password);
    return fields;
}

}  // namespace

SeveralDevicesDialog::SeveralDevicesDialog(SeveralDevicesFace& face, DialogFace& boxes,
                                           SeveralDevicesSender& sender,
                                           std::chrono::milliseconds wait,
                                           std::vector<SeveralDevice> shown,
                                           std::vector<SeveralDevice> listed)
    : m_face(face),
      m_boxes(boxes),
      m_sender(sender),
      m_wait(wait),
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
    fields.mask = m_face.Address(SeveralAddressField::Mask);
    fields.gateway = m_face.Address(SeveralAddressField::Gateway);
    fields.dns = m_face.Address(SeveralAddressField::DnsServer);
    fields.namePattern = m_face.Text(SeveralTextField::NamePattern);
    fields.password = m_face.Text(SeveralTextField::Password);
    return fields;
}

void SeveralDevicesDialog::Renumber() {
    std::optional<NumberingFields> fields = ReadFields();
    if (!fields) {
        // Without a start address or step, the plan's rows still take the dialog's password.
        fields.emplace();
        fields->password = m_face.Text(SeveralTextField::Password);
        m_table.Number(*fields, false);
    } else {
        m_table.Number(*fields, true);
    }
    m_face.ShowRows(m_table);
}

void SeveralDevicesDialog::OnSend() {
    if (m_running) {
        return;
    }
    const bool needsFields =
        std::any_of(m_table.Rows().begin(), m_table.Rows().end(),
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
    const std::span<const SeveralRow> rows = m_table.Rows();
    const provisioning::FieldLabels& labels = provisioning::kPlanColumns;

    // A row that fails a check is not sent; the others are checked against each other only.
    std::vector<std::string> problems(rows.size());
    std::vector<provisioning::PlanEntry> entries;
    std::vector<std::size_t> rowOfEntry;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!rows[row].request) {
            continue;
        }
        provisioning::CheckedRequest checked = provisioning::CheckRequestFields(
            *rows[row].request, labels, provisioning::AddressPolicy::RefuseUnworkable);
        if (!checked.request) {
            // The dialog has no way to send an unworkable address anyway.
            std::string problem = checked.problems.front();
            if (problem.ends_with(provisioning::kForceHint)) {
                problem.resize(problem.size() - provisioning::kForceHint.size());
            }
            problems[row] = std::move(problem);
            continue;
        }
        entries.push_back({row, std::move(*checked.request)});
        rowOfEntry.push_back(row);
    }
    if (entries.empty() &&
        std::none_of(rows.begin(), rows.end(), [](const SeveralRow& row) { return row.request; })) {
        m_boxes.ShowMessage(kNoneChecked);
        return;
    }
    std::map<std::uint32_t, std::vector<std::size_t>> entriesOfAddress;
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
        const IpSettings& settings = entries[entry].request.settings;
        if (!settings.useDhcp) {
            entriesOfAddress[settings.ipAddress].push_back(entry);
        }
    }
    for (const auto& [address, sharing] : entriesOfAddress) {
        for (std::size_t index = 0; sharing.size() > 1 && index < sharing.size(); ++index) {
            const std::size_t other = sharing[index == 0 ? 1 : 0];
            problems[rowOfEntry[sharing[index]]] = std::string(labels.ip) + " " + Address(address) +
                                                   " is planned for " + entries[other].request.mac +
                                                   " too";
        }
    }
    std::vector<provisioning::ListedDevice> listed;
    for (const SeveralDevice& device : m_listed) {
        listed.push_back(Listed(device));
    }
    for (const provisioning::EntryProblem& problem :
         provisioning::CheckAgainstListed(entries, listed, labels)) {
        std::string& text = problems[rowOfEntry[problem.entry]];
        if (text.empty() && problem.kind != provisioning::EntryProblem::Kind::NotListed) {
            text = problem.text;
        }
    }

    std::vector<SeveralTarget> targets;
    m_rowOfTarget.clear();
    std::vector<std::optional<IpSettings>> settingsOfRow(rows.size());
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
        const std::size_t row = rowOfEntry[entry];
        const SeveralDevice& device = rows[row].device;
        const provisioning::ListedDevice before = Listed(device);
        settingsOfRow[row] = provisioning::SettingsFor(entries[entry].request, before);
        if (!problems[row].empty()) {
            continue;
        }
        SeveralTarget target;
        target.device = {device.mac, device.arch, device.heardOn};
        target.settings = *settingsOfRow[row];
        target.step = provisioning::StepOf(before, target.settings);
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
                "MACs " + macs + " " + std::string(provisioning::kCycleWords);
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

    m_tally = {};
    m_record.clear();
    m_recordOfTarget.clear();
    std::size_t target = 0;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (target < m_rowOfTarget.size() && m_rowOfTarget[target] == row) {
            provisioning::RecordEntry entry = RecordOf(rows[row].device);
            entry.settings = targets[target++].settings;
            m_recordOfTarget.push_back(m_record.size());
            m_record.push_back(std::move(entry));
        } else if (!problems[row].empty()) {
            const std::string status = "not sent: " + problems[row];
            m_table.SetStatus(row, status);
            // Refused, which is a failure of the plan: the technician must see it in the sum.
            ++m_tally.failed;
            provisioning::RecordEntry entry = RecordOf(rows[row].device);
            entry.settings = settingsOfRow[row].value_or(IpSettings{});
            entry.outcome = provisioning::Outcome::StoppedUnsent;
            entry.reason = status;
            m_record.push_back(std::move(entry));
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
    m_face.ShowRunning(true);
    m_sender.Start(std::move(targets), std::move(order.waitsFor),
                   {[this](std::size_t target, const provisioning::StepResult& result) {
                        Finished(target, result);
                    },
                    [this] { Over(); }});
}

void SeveralDevicesDialog::Finished(std::size_t target, const provisioning::StepResult& result) {
    provisioning::WordsContext context;
    context.wait = m_wait;
    if (result.blocker) {
        context.blockerMac = m_steps[*result.blocker].mac;
    }
    const std::string reason = provisioning::ResultReason(m_steps[target], result, context);
    const std::string words =
        result.outcome == provisioning::Outcome::Confirmed ? "configured: " + reason : reason;
    m_tally.Count(result.outcome);
    provisioning::RecordEntry& entry = m_record[m_recordOfTarget[target]];
    entry.requests = result.requests;
    entry.outcome = result.outcome;
    entry.reason = reason;
    if (result.sentAt) {
        entry.sentAt = provisioning::WallClockOf(*result.sentAt);
    }
    if (result.confirmedAt) {
        entry.confirmedAt = provisioning::WallClockOf(*result.confirmedAt);
    }
    const std::size_t row = m_rowOfTarget[target];
    m_table.SetStatus(row, words);
    m_face.ShowStatus(row, words);
}

void SeveralDevicesDialog::Over() {
    m_running = false;
    m_face.ShowRunning(false);
    m_face.ShowSummary(m_tally.Summary(true));
}

void SeveralDevicesDialog::OnStop() {
    if (m_running) {
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

void SeveralDevicesDialog::OnOpenPlan() {
    if (m_running) {
        return;
    }
    const std::optional<std::string> path = m_face.ChooseFileToOpen(SeveralFileKind::Plan);
    if (!path) {
        return;
    }
    const FileContents contents = m_face.ReadFile(*path);
    if (!contents.bytes) {
        m_boxes.ShowMessage("Failed to read the plan " + *path + ":\n" + contents.failure);
        return;
    }
    const provisioning::Plan plan = provisioning::ReadPlan(*contents.bytes, *path);
    if (!plan.problems.empty()) {
        std::string text = "The plan cannot be used:";
        for (const std::string& problem : plan.problems) {
            text += "\n" + problem;
        }
        m_boxes.ShowMessage(text);
        return;
    }
    std::vector<provisioning::RequestFields> requests;
    for (const provisioning::PlanEntry& entry : plan.entries) {
        requests.push_back(FieldsOf(entry.request));
    }
    m_table.ApplyPlan(requests);
    m_table.ClearStatuses();
    Renumber();
}

void SeveralDevicesDialog::OnSaveRecord() {
    if (m_record.empty()) {
        m_boxes.ShowMessage(kNothingRecorded);
        return;
    }
    const std::optional<std::string> path =
        m_face.ChooseFileToSave(SeveralFileKind::Record, kRecordName);
    if (!path) {
        return;
    }
    if (const auto failure = m_face.ReplaceFile(*path, provisioning::FormatRecord(m_record))) {
        m_boxes.ShowMessage("Failed to save the record to " + *path + ":\n" + *failure);
    }
}

void SeveralDevicesDialog::OnSavePlan() {
    const std::optional<std::string> path =
        m_face.ChooseFileToSave(SeveralFileKind::Plan, kPlanName);
    if (!path) {
        return;
    }
    const std::string_view header[] = {"mac", "ip",   "mask",     "gateway",
                                       "dns", "name", "password", "dhcp"};
    std::string csv = FormatCsvRecord(header);
    for (const SeveralRow& row : m_table.Rows()) {
        if (!row.request) {
            continue;
        }
        const provisioning::RequestFields& request = *row.request;
        const std::string_view fields[] = {
            request.mac,  request.ip,
            request.mask, request.gateway,
            request.dns,  request.nameGiven ? std::string_view(request.name) : "",
            "",           request.dhcp ? "yes" : "no"};
        csv += FormatCsvRecord(fields);
    }
    if (const auto failure = m_face.ReplaceFile(*path, csv)) {
        m_boxes.ShowMessage("Failed to save the plan to " + *path + ":\n" + *failure);
    }
}

}  // namespace kestrelink
