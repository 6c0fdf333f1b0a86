#pragma once

#include <windows.h>

#include <memory>

#include "behaviour/several_devices_face.h"
#include "faces/win32/app_dialog_face.h"
#include "faces/win32/dialog_scaling.h"

namespace kestrelink {
class SeveralDevicesDialog;
struct SeveralDevicesOpening;
}  // namespace kestrelink

namespace kestrelink::win32 {

// Dialog 140 over the main window: the fields, a list view of rows with check boxes, the run's
// buttons. It draws and forwards; what they do is its SeveralDevicesDialog's.
class SeveralDevicesWindow final : public SeveralDevicesFace {
public:
    SeveralDevicesWindow(HWND owner, SeveralDevicesOpening& opening);
    ~SeveralDevicesWindow() override;

    // Runs the dialog modally until it is closed.
    void Run();

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Notify(const NMHDR& header);
    void InitTable();
    void CopySelected();
    HWND Control(int id) const { return GetDlgItem(m_dialog, id); }

    std::optional<std::uint32_t> Address(SeveralAddressField field) const override;
    std::string Text(SeveralTextField field) const override;
    void SetText(SeveralTextField field, std::string_view text) override;
    bool UseDhcp() const override;
    void EnableAddresses(bool enabled) override;
    void FocusAddress(SeveralAddressField field) override;
    void FocusText(SeveralTextField field) override;
    void ShowRows(const SeveralDevicesTable& table) override;
    void ShowStatus(std::size_t row, std::string_view status) override;
    void ShowSummary(std::string_view summary) override;
    void FocusTable() override;
    void ShowRunning(bool running) override;
    std::optional<std::string> ChooseFileToOpen(SeveralFileKind kind) override;
    std::optional<std::string> ChooseFileToSave(SeveralFileKind kind,
                                                std::string_view suggestedName) override;
    FileContents ReadFile(const std::string& path) override;
    std::optional<std::string> ReplaceFile(const std::string& path,
                                           std::string_view bytes) override;
    void SetClipboardText(std::string_view text) override;

    HWND m_owner;
    HWND m_dialog = nullptr;
    AppDialogFace m_boxes{m_dialog};
    std::unique_ptr<SeveralDevicesDialog> m_rules;
    DialogScaling m_scaling;
    bool m_filling = false;
};

}  // namespace kestrelink::win32
