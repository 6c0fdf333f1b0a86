#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "behaviour/several_devices_table.h"
#include "provisioning/as_built_record.h"
#include "provisioning/provisioning_run.h"
#include "provisioning/result_words.h"

namespace kestrelink {

class DialogFace;
class SeveralDevicesFace;
class SeveralDevicesSender;

// What the "Configure Several Devices" dialog checks, sends and keeps, whichever toolkit draws
// it. The face builds its controls, then calls Attach, and forwards its events to the On...
// calls; every call comes on the user-interface thread.
class SeveralDevicesDialog final {
public:
    // shown: the main list's rows the filter shows, top to bottom; listed: every row of the main
    // list, whose addresses a new address must not take; wait: each device's time to confirm,
    // as the sender's run has it. face, boxes and sender outlive this.
    SeveralDevicesDialog(SeveralDevicesFace& face, DialogFace& boxes, SeveralDevicesSender& sender,
                         std::chrono::milliseconds wait, std::vector<SeveralDevice> shown,
                         std::vector<SeveralDevice> listed);
    SeveralDevicesDialog(const SeveralDevicesDialog&) = delete;
    SeveralDevicesDialog& operator=(const SeveralDevicesDialog&) = delete;

    // Step 1, the rows, the focus in the start address.
    void Attach();

    // Any field but Use DHCP changed: the new addresses and names follow.
    void OnFieldsChanged();
    void OnUseDhcpClicked();
    void OnChecked(std::size_t row, bool checked);
    void OnHeaderClicked(SeveralColumn column);
    // Ctrl+C in the table: rows are the selected ones.
    void OnCopy(std::span<const std::size_t> rows);

    // Send (and Enter): checks every checked row; those that pass go, the others show why.
    void OnSend();
    void OnStop();
    // The dialog's close: true when it may close; during a run only once the user said Yes, and
    // the run is then stopped.
    bool OnClose();

    void OnOpenPlan();
    void OnSavePlan();
    // The as-built record of the last Send: every device it sent to or refused.
    void OnSaveRecord();

    bool Running() const { return m_running; }
    const SeveralDevicesTable& Table() const { return m_table; }

private:
    std::optional<NumberingFields> ReadFields();
    void Renumber();
    void Finished(std::size_t target, const provisioning::StepResult& result);
    void Over();

    SeveralDevicesFace& m_face;
    DialogFace& m_boxes;
    SeveralDevicesSender& m_sender;
    std::chrono::milliseconds m_wait;
    SeveralDevicesTable m_table;
    std::vector<SeveralDevice> m_listed;
    bool m_running = false;
    // Per target of the run, its row in the table, which does not move while the run goes on.
    std::vector<std::size_t> m_rowOfTarget;
    std::vector<provisioning::ProvisioningStep> m_steps;
    provisioning::RunTally m_tally;
    std::vector<provisioning::RecordEntry> m_record;
    std::vector<std::size_t> m_recordOfTarget;
};

}  // namespace kestrelink
