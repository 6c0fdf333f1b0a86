#include "faces/win32/copy_key_hook.h"

#include <utility>

namespace kestrelink::win32 {
namespace {

// The system calls the filter without a context of its own.
CopyKeyHook* g_installed = nullptr;

}  // namespace

CopyKeyHook::CopyKeyHook(HWND dialog, std::function<void()> copy)
    : m_dialog(dialog), m_copy(std::move(copy)) {
    g_installed = this;
    m_hook.Reset(
        SetWindowsHookExW(WH_MSGFILTER, &CopyKeyHook::Filter, nullptr, GetCurrentThreadId()));
}

CopyKeyHook::~CopyKeyHook() {
    m_hook.Reset();
    g_installed = nullptr;
}

LRESULT CALLBACK CopyKeyHook::Filter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    CopyKeyHook* hook = g_installed;
    if (code == MSGF_DIALOGBOX && hook != nullptr && hook->IsCopyKey(*message)) {
        hook->m_copy();
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CopyKeyHook::IsCopyKey(const MSG& message) const {
    if (message.message != WM_KEYDOWN || message.wParam != 'C' || GetKeyState(VK_CONTROL) >= 0 ||
        GetKeyState(VK_MENU) < 0 || GetAncestor(message.hwnd, GA_ROOT) != m_dialog) {
        return false;
    }
    wchar_t className[16] = {};
    GetClassNameW(message.hwnd, className, 16);
    return lstrcmpiW(className, L"Edit") != 0;
}

}  // namespace kestrelink::win32
