#pragma once

#include <windows.h>

#include <optional>

#include "behaviour/ip_config_face.h"
#include "behaviour/ip_config_form.h"
#include "faces/win32/app_dialog_face.h"
#include "faces/win32/dialog_scaling.h"
#include "net/datagrams.h"

namespace kestrelink::win32 {

// Dialog 129 over the main window: four SysIPAddress32 fields, the password edit with
// ES_PASSWORD; its Send and Use DHCP go to an IpConfigForm, which decides.
class IpConfigDialog final : public IpConfigFace {
public:
    explicit IpConfigDialog(HWND owner);

    // Runs the dialog modally; the settings when the user sent them, nullopt for Cancel or when
    // the dialog could not be shown (which the user is told).
    std::optional<IpSettings> Run(std::string_view hostName);

    std::string Text(IpTextField field) const override;
    void SetText(IpTextField field, std::string_view text, int maxLength) override;
    void FocusAndSelectAll(IpTextField field) override;
    bool UseDhcp() const override;
    void SetUseDhcp(bool useDhcp) override;
    bool IsBlank(IpAddressField field) const override;
    std::uint32_t Address(IpAddressField field) const override;
    void EnableAddresses(bool enabled) override;

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HWND Control(int id) const { return GetDlgItem(m_dialog, id); }

    HWND m_owner;
    HWND m_dialog = nullptr;
    AppDialogFace m_boxes{m_dialog};
    DialogScaling m_scaling;
    IpConfigForm m_form{*this, m_boxes};
};

}  // namespace kestrelink::win32
