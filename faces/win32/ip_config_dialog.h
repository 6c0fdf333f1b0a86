#pragma once

#include <windows.h>

#include <optional>

#include "behaviour/ip_config_face.h"
#include "behaviour/ip_config_form.h"
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

    void ShowMessage(std::string_view text) override;
    bool AskRetry(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool OpenHelpPage(int context) override;

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
    IpConfigForm m_form;
};

}  // namespace kestrelink::win32
