#include "behaviour/main_window_behaviour.h"

#include <chrono>
#include <numeric>
#include <string>
#include <vector>

#include "behaviour/browser_starter.h"
#include "behaviour/dialog_face.h"
#include "behaviour/discover_round.h"
#include "behaviour/empty_round.h"
#include "behaviour/list_export.h"
#include "behaviour/list_menu.h"
#include "behaviour/several_devices_opening.h"
#include "behaviour/several_devices_run.h"
#include "behaviour/several_devices_sightings.h"
#include "behaviour/window_face.h"
#include "behaviour/window_hand_over.h"
#include "net/config_sender.h"
#include "net/device_list.h"
#include "net/endpoint.h"
#include "net/firewall_rules.h"
#include "net/interfaces.h"
#include "net/latin1_text.h"
#include "net/protocol.h"
#include "net/short_text.h"
#include "net/text_forms.h"

namespace kestrelink {
namespace {

constexpr auto kNothingSelected = "Select current IP address of device to config.";
constexpr auto kChangesSent = "Changes sent.  Press Discover button in a short time to refresh.";
constexpr auto kSendFailed =
    "Failed to send the changes. Check the network connection and try again.";
constexpr auto kPortNotOpen =
    "Nothing was sent: the program's UDP port could not be opened at start-up.\n"
    "Check if another copy of the application is running.";
constexpr auto kNothingSelectedForWeb = "Select IP address to open web page for.";
constexpr auto kInvalidWebAddress =
    "The device's IP address is not valid, so its web page cannot be opened.";
constexpr auto kExportName = "devices.csv";
constexpr auto kRoundInterval = std::chrono::seconds(15);
// A device may take a few seconds to apply its settings before it announces them.
constexpr std::chrono::milliseconds kSeveralDevicesWait{6000};

}  // namespace

MainWindowBehaviour::MainWindowBehaviour(WindowFace& face, DialogFace& boxes, DeviceList& list,
                                         BrowserStarter& browser)
    : m_face(face),
      m_boxes(boxes),
      m_list(list),
      m_browser(browser),
      m_handOver(std::make_shared<WindowHandOver>(
          list, face, face,
          [this](const DeviceRow& row) {
              m_marks.Watch().Heard(row, m_list.HasRowWithMac(row[kColumnMac]),
                                    WatchMarks::Clock::now());
          })),
      m_sightings(std::make_shared<SeveralDevicesSightings>(m_handOver)),
      m_endpoint(std::make_unique<Endpoint>(
          m_sightings,
          [&boxes](std::string_view message) { boxes.ShowMessage(Latin1ToUtf8(message)); })),
      m_round(std::make_unique<DiscoverRound>(face, kDiscoverRoundLength,
                                              [this] { OnRoundEnded(); })) {}

MainWindowBehaviour::~MainWindowBehaviour() {
    if (KeepWatching()) {
        m_face.StopRounds();
    }
    // What the listener hands over while it stops must not be posted to a face that is going.
    m_handOver->Cancel();
    m_endpoint->CloseEndpoint();
}

bool MainWindowBehaviour::Start() {
    if (!m_endpoint->OpenEndpoint()) {
        return false;
    }
    BeginRound();
    return true;
}

void MainWindowBehaviour::BeginRound() {
    m_face.ShowEmptyRound(std::nullopt);
    m_round->Begin();
}

void MainWindowBehaviour::OnRoundEnded() {
    if (m_list.RowCount() != 0) {
        return;
    }
    // Asked only now: reading the firewall's rules takes a moment, and only an empty list needs it.
    const std::optional<FirewallState> firewall = ReadFirewall();
    const bool closed =
        firewall && !FirewallLetsIn(*firewall, ProgramBesideThisOne("kestrelink.exe"), LOCAL_PORT);
    m_face.ShowEmptyRound(EmptyRoundLabel(m_endpoint->ProbedInterfaces(), closed));
}

void MainWindowBehaviour::OnDiscover() {
    BeginRound();
    m_endpoint->ClearProbesSent();
    // The answers wait in the listener's backlog until this thread comes back to them, after the
    // list is emptied; sending first lets the devices answer while a long list is freed.
    m_endpoint->SendProbes();
    m_list.DeleteAllRows();
    m_marks.Forget();
    m_face.MarksChanged();
}

void MainWindowBehaviour::OnConfigureIp() {
    const int row = m_list.SelectedRow();
    if (row == -1) {
        m_boxes.ShowMessage(kNothingSelected);
        return;
    }
    // Read before the dialog opens: rows may move or go while it is up.
    const NetworkInterface* heardOn = m_list.HeardOn(row);
    const ConfigTarget target{m_list.CellText(row, kColumnMac), m_list.CellText(row, kColumnArch),
                              heardOn != nullptr ? heardOn->name : std::string()};
    const ShortText hostName(m_list.CellText(row, kColumnGivenName));

    const std::optional<IpSettings> settings = m_face.AskIpSettings(Latin1ToUtf8(hostName.View()));
    if (!settings) {
        return;
    }
    if (!m_endpoint->IsOpen()) {
        // Sending again cannot open the port, so this box offers no Retry.
        m_boxes.ShowMessage(kPortNotOpen);
        return;
    }
    // Retry sends the very request again, so the user does not fill in the dialog twice.
    while (!SendConfigRequest(*m_endpoint, target, *settings)) {
        if (!m_boxes.AskRetry(kSendFailed)) {
            return;
        }
    }
    m_boxes.ShowMessage(kChangesSent);
}

void MainWindowBehaviour::OnWeb() {
    const int row = m_list.SelectedRow();
    if (row < 0) {
        m_boxes.ShowMessage(kNothingSelectedForWeb);
        return;
    }
    const std::string& ip = m_list.CellText(row, kColumnIp);
    // The IP cell of a 32-bit device is text a device sent, unchecked; only a plain address may
    // follow "http://", never a host name, path, port or another scheme. "010.0.0.1" would
    // open 8.0.0.1, not the address the list shows.
    if (!ParseDottedQuad(ip)) {
        m_boxes.ShowMessage(kInvalidWebAddress);
        return;
    }
    const std::string address = "http://" + ip;
    if (m_forceIeOnly) {
        m_browser.StartNamedBrowser("IExplore", address);
    } else {
        m_browser.OpenWithDefaultHandler(address);
    }
}

void MainWindowBehaviour::OnForceIeClicked(bool checked) {
    m_forceIeOnly = checked;
}

bool MainWindowBehaviour::ShouldDoubleClickOpenWeb() const {
    return m_list.SelectedRow() != -1;
}

void MainWindowBehaviour::OnExportList(std::span<const int> shownRows) {
    // Taken before the file dialog opens, so devices coming and going meanwhile change nothing.
    const std::string csv = ExportListFile(m_list, shownRows);
    const std::optional<std::string> path = m_face.ChooseExportFile(kExportName);
    if (!path) {
        return;
    }
    if (const std::optional<std::string> failure = m_face.ReplaceFile(*path, csv)) {
        m_boxes.ShowMessage("Failed to save the list to " + *path + ":\n" + *failure);
    }
}

void MainWindowBehaviour::OnCopy(std::span<const int> columns) {
    const int row = m_list.SelectedRow();
    if (row == -1) {
        return;
    }
    std::string text;
    for (std::size_t index = 0; index < columns.size(); ++index) {
        if (index > 0) {
            text += '\t';
        }
        text += Latin1ToUtf8(m_list.CellText(row, columns[index]));
    }
    m_face.SetClipboardText(text);
}

void MainWindowBehaviour::OnConfigureSeveral(std::span<const int> shownRows) {
    if (shownRows.empty()) {
        return;
    }
    std::vector<int> everyRow(static_cast<std::size_t>(m_list.RowCount()));
    std::iota(everyRow.begin(), everyRow.end(), 0);
    provisioning::RunSettings settings;
    settings.verify = true;
    settings.wait = kSeveralDevicesWait;
    SeveralDevicesRun sender(*m_endpoint, *m_sightings, m_face, settings);
    SeveralDevicesOpening opening{sender, settings.wait, SeveralDevices(m_list, shownRows),
                                  SeveralDevices(m_list, everyRow)};
    m_face.RunSeveralDevices(opening);
}

void MainWindowBehaviour::OnListMenu(ListMenuAction action, std::span<const int> shownRows) {
    switch (action) {
        case ListMenuAction::ConfigureIp:
            OnConfigureIp();
            return;
        case ListMenuAction::ConfigureSeveral:
            OnConfigureSeveral(shownRows);
            return;
        case ListMenuAction::OpenWebPage:
            OnWeb();
            return;
        case ListMenuAction::ExportList:
            OnExportList(shownRows);
            return;
        case ListMenuAction::CopyIpAddress:
        case ListMenuAction::CopyMacAddress:
        case ListMenuAction::CopyRow:
            OnCopy(CopiedColumns(action));
            return;
        case ListMenuAction::CompareWithList:
            OnCompareWithList();
            return;
        case ListMenuAction::ClearComparison:
            OnClearComparison();
            return;
        case ListMenuAction::KeepWatching:
            SetKeepWatching(!KeepWatching());
            return;
    }
}

bool MainWindowBehaviour::IsMenuItemChecked(ListMenuAction action) const {
    return action == ListMenuAction::KeepWatching && KeepWatching();
}

bool MainWindowBehaviour::IsMenuItemAvailable(ListMenuAction action) const {
    return action != ListMenuAction::ClearComparison || m_marks.Comparing();
}

void MainWindowBehaviour::OnCompareWithList() {
    const std::optional<std::string> path = m_face.ChooseListToCompare();
    if (!path) {
        return;
    }
    const FileContents contents = m_face.ReadWholeFile(*path);
    if (!contents.bytes) {
        m_boxes.ShowMessage("Failed to read " + *path + ":\n" + contents.failure);
        return;
    }
    if (const std::optional<CsvError> refusal = m_marks.Compare(*contents.bytes)) {
        m_boxes.ShowMessage(*path + ", line " + std::to_string(refusal->line) + ": " +
                            refusal->message);
        return;
    }
    m_face.MarksChanged();
}

void MainWindowBehaviour::OnClearComparison() {
    m_marks.ClearComparison();
    m_face.MarksChanged();
}

void MainWindowBehaviour::SetKeepWatching(bool watch) {
    if (watch == KeepWatching()) {
        return;
    }
    m_list.SetKeepUnchangedRows(watch);
    if (!watch) {
        m_face.StopRounds();
        m_marks.Watch().StopWatching();
        m_face.MarksChanged();
        return;
    }
    m_marks.Watch().StartWatching(WatchMarks::Clock::now());
    ProbeAgain();
    m_face.StartRounds(kRoundInterval, [this] { OnRound(); });
}

void MainWindowBehaviour::ProbeAgain() {
    // The latch holds back every pair after the first until it is cleared.
    m_endpoint->ClearProbesSent();
    m_endpoint->SendProbes();
}

void MainWindowBehaviour::OnRound() {
    m_marks.Watch().EndRound(WatchMarks::Clock::now());
    ProbeAgain();
    m_face.MarksChanged();
}

}  // namespace kestrelink
