#include "faces/win32/ip_config_dialog.h"

#include <commctrl.h>

#include <array>

#include "behaviour/control_ids.h"
#include "behaviour/help_request.h"
#include "faces/win32/help_page.h"
#include "faces/win32/message_boxes.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

using namespace ip_config;

int TextId(IpTextField field) {
    return field == IpTextField::HostName ? kHostNameId : kPasswordId;
}

int AddressId(IpAddressField field) {
    switch (field) {
        case IpAddressField::IpAddress:
            return kIpAddressId;
        case IpAddressField::SubnetMask:
            return kSubnetMaskId;
        case IpAddressField::Gateway:
            return kGatewayId;
        case IpAddressField::DnsServer:
            return kDnsServerId;
    }
    return kIpAddressId;
}

// The template places the dialog at 0, 0 of its owner; it opens centred over it instead.
void CenterOver(HWND dialog, HWND owner) {
    RECT ownerRect{};
    RECT dialogRect{};
    if (owner == nullptr || GetWindowRect(owner, &ownerRect) == 0 ||
        GetWindowRect(dialog, &dialogRect) == 0) {
        return;
    }
    const int width = dialogRect.right - dialogRect.left;
    const int height = dialogRect.bottom - dialogRect.top;
    SetWindowPos(dialog, nullptr, (ownerRect.left + ownerRect.right - width) / 2,
                 (ownerRect.top + ownerRect.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

IpConfigDialog::IpConfigDialog(HWND owner) : m_owner(owner) {}

std::optional<IpSettings> IpConfigDialog::Run(std::string_view hostName) {
    m_form.SetHostName(std::string(hostName));
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplateId), m_owner,
                        &IpConfigDialog::Procedure, reinterpret_cast<LPARAM>(this));
    if (result == -1) {
        ShowAppMessage(m_owner, "The IP Configuration dialog could not be opened.");
    }
    if (result != IDOK) {
        return std::nullopt;
    }
    return m_form.Settings();
}

INT_PTR CALLBACK IpConfigDialog::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<IpConfigDialog*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<IpConfigDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR IpConfigDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            CenterOver(m_dialog, m_owner);
            m_scaling.Capture(m_dialog, kTemplateId, {});
            m_form.Attach();
            // The first tab stop, the host name, has the focus.
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kSendId:
                    if (m_form.OnSend()) {
                        EndDialog(m_dialog, IDOK);
                    }
                    return TRUE;
                case kCancelId:
                    EndDialog(m_dialog, IDCANCEL);
                    return TRUE;
                case kUseDhcpId:
                    if (HIWORD(wParam) == BN_CLICKED) {
                        m_form.OnUseDhcpClicked();
                    }
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_DPICHANGED:
            m_scaling.OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam), false);
            return TRUE;
        case WM_HELP:
            if (!HelpModifierHeld()) {
                ShowHelp(m_boxes, HelpContextOf(kTemplateId));
            }
            return TRUE;
        default:
            return FALSE;
    }
}

std::string IpConfigDialog::Text(IpTextField field) const {
    return WindowTextUtf8(Control(TextId(field)));
}

void IpConfigDialog::SetText(IpTextField field, std::string_view text, int maxLength) {
    const HWND edit = Control(TextId(field));
    SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    SetWindowTextW(edit, Utf8ToWide(text).c_str());
}

void IpConfigDialog::FocusAndSelectAll(IpTextField field) {
    const HWND edit = Control(TextId(field));
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

bool IpConfigDialog::UseDhcp() const {
    return IsDlgButtonChecked(m_dialog, kUseDhcpId) == BST_CHECKED;
}

void IpConfigDialog::SetUseDhcp(bool useDhcp) {
    CheckDlgButton(m_dialog, kUseDhcpId, useDhcp ? BST_CHECKED : BST_UNCHECKED);
}

bool IpConfigDialog::IsBlank(IpAddressField field) const {
    return SendMessageW(Control(AddressId(field)), IPM_ISBLANK, 0, 0) != 0;
}

std::uint32_t IpConfigDialog::Address(IpAddressField field) const {
    DWORD address = 0;
    SendMessageW(Control(AddressId(field)), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

void IpConfigDialog::EnableAddresses(bool enabled) {
    for (const IpAddressField field : {IpAddressField::IpAddress, IpAddressField::SubnetMask,
                                       IpAddressField::Gateway, IpAddressField::DnsServer}) {
        EnableWindow(Control(AddressId(field)), enabled ? TRUE : FALSE);
    }
}

}  // namespace kestrelink::win32
