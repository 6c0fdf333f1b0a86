#include <windows.h>

#include <netfw.h>
#include <oleauto.h>
#include <wrl/client.h>

#include "net/firewall_rules.h"
#include "net/win32/wide_text.h"

namespace kestrelink {
namespace {

using Microsoft::WRL::ComPtr;

// COM for this thread while the firewall is read, unless the thread already has it in another
// model, which serves as well.
class ComForThisThread final {
public:
    ComForThisThread() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForThisThread() {
        if (SUCCEEDED(m_result)) {
            ::CoUninitialize();
        }
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;

    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

class OwnedText final {
public:
    OwnedText() = default;
    ~OwnedText() { ::SysFreeString(m_text); }
    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;

    BSTR* Out() { return &m_text; }
    std::string Utf8() const { return m_text == nullptr ? std::string() : WideToUtf8(m_text); }
    // Rules may name a program as "%ProgramFiles%\Kestrelink\kestrelink.exe".
    std::string ExpandedUtf8() const {
        if (m_text == nullptr) {
            return {};
        }
        const DWORD length = ::ExpandEnvironmentStringsW(m_text, nullptr, 0);
        std::wstring expanded(length, L'\0');
        if (length == 0 || ::ExpandEnvironmentStringsW(m_text, expanded.data(), length) == 0) {
            return Utf8();
        }
        return WideToUtf8(expanded.c_str());
    }

private:
    BSTR m_text = nullptr;
};

FirewallRule RuleOf(INetFwRule& source) {
    FirewallRule rule;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    NET_FW_RULE_DIRECTION direction = NET_FW_RULE_DIR_OUT;
    NET_FW_ACTION action = NET_FW_ACTION_BLOCK;
    LONG protocol = 0;
    LONG profiles = 0;
    OwnedText application;
    OwnedText ports;
    // A property that cannot be read leaves the rule off, so that it lets nothing in.
    if (FAILED(source.get_Enabled(&enabled)) || FAILED(source.get_Direction(&direction)) ||
        FAILED(source.get_Action(&action)) || FAILED(source.get_Protocol(&protocol)) ||
        FAILED(source.get_Profiles(&profiles))) {
        return rule;
    }
    source.get_ApplicationName(application.Out());
    source.get_LocalPorts(ports.Out());
    rule.enabled = enabled == VARIANT_TRUE;
    rule.inbound = direction == NET_FW_RULE_DIR_IN;
    rule.allow = action == NET_FW_ACTION_ALLOW;
    rule.protocol = static_cast<int>(protocol);
    rule.profiles = static_cast<std::uint32_t>(profiles);
    rule.application = application.ExpandedUtf8();
    rule.localPorts = ports.Utf8();
    return rule;
}

bool ReadRules(INetFwPolicy2& policy, std::vector<FirewallRule>& rules) {
    ComPtr<INetFwRules> collection;
    ComPtr<IUnknown> enumerator;
    ComPtr<IEnumVARIANT> each;
    if (FAILED(policy.get_Rules(&collection)) || FAILED(collection->get__NewEnum(&enumerator)) ||
        FAILED(enumerator.As(&each))) {
        return false;
    }
    VARIANT item;
    ::VariantInit(&item);
    while (each->Next(1, &item, nullptr) == S_OK) {
        ComPtr<INetFwRule> rule;
        if (item.vt == VT_DISPATCH && item.pdispVal != nullptr &&
            SUCCEEDED(item.pdispVal->QueryInterface(IID_PPV_ARGS(&rule)))) {
            rules.push_back(RuleOf(*rule.Get()));
        }
        ::VariantClear(&item);
    }
    return true;
}

}  // namespace

std::string ProgramBesideThisOne(const std::string& fileName) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    if (length == 0) {
        return {};
    }
    path.resize(length);
    const std::string self = WideToUtf8(path.c_str());
    const std::size_t folderEnd = self.find_last_of("\\/");
    return self.substr(0, folderEnd == std::string::npos ? 0 : folderEnd + 1) + fileName;
}

std::optional<FirewallState> ReadFirewall() {
    const ComForThisThread com;
    ComPtr<INetFwPolicy2> policy;
    if (!com.Usable() || FAILED(::CoCreateInstance(__uuidof(NetFwPolicy2), nullptr,
                                                   CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&policy)))) {
        return std::nullopt;
    }
    FirewallState state;
    LONG current = 0;
    if (FAILED(policy->get_CurrentProfileTypes(&current))) {
        return std::nullopt;
    }
    state.currentProfiles = static_cast<std::uint32_t>(current);
    for (const NET_FW_PROFILE_TYPE2 profile :
         {NET_FW_PROFILE2_DOMAIN, NET_FW_PROFILE2_PRIVATE, NET_FW_PROFILE2_PUBLIC}) {
        VARIANT_BOOL enabled = VARIANT_TRUE;
        NET_FW_ACTION inbound = NET_FW_ACTION_BLOCK;
        if (FAILED(policy->get_FirewallEnabled(profile, &enabled)) ||
            FAILED(policy->get_DefaultInboundAction(profile, &inbound))) {
            return std::nullopt;
        }
        if (enabled == VARIANT_TRUE) {
            state.enabledProfiles |= profile;
        }
        if (inbound == NET_FW_ACTION_BLOCK) {
            state.blockByDefaultProfiles |= profile;
        }
    }
    if (!ReadRules(*policy.Get(), state.rules)) {
        return std::nullopt;
    }
    return state;
}

}  // namespace kestrelink
