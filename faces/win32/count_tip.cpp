#include "faces/win32/count_tip.h"

#include <commctrl.h>

namespace kestrelink::win32 {
namespace {

TOOLINFOW ToolOf(HWND label, std::wstring& text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(label);
    tool.uId = reinterpret_cast<UINT_PTR>(label);
    tool.lpszText = text.data();
    return tool;
}

}  // namespace

CountTip::CountTip(HWND label)
    : m_label(label),
      m_tip(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            GetParent(label), nullptr, GetModuleHandleW(nullptr), nullptr)) {
    if (m_tip == nullptr) {
        return;
    }
    // A static control lets the mouse through to its parent unless it notifies.
    SetWindowLongPtrW(m_label, GWL_STYLE, GetWindowLongPtrW(m_label, GWL_STYLE) | SS_NOTIFY);
    // Several lines, broken where the text breaks them.
    SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, 600);
    TOOLINFOW tool = ToolOf(m_label, m_text);
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_tip, TTM_ACTIVATE, FALSE, 0);
}

CountTip::~CountTip() {
    if (m_tip != nullptr) {
        DestroyWindow(m_tip);
    }
}

void CountTip::SetText(const std::wstring& text) {
    if (m_tip == nullptr || text == m_text) {
        return;
    }
    m_text = text;
    TOOLINFOW tool = ToolOf(m_label, m_text);
    SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_tip, TTM_ACTIVATE, m_text.empty() ? FALSE : TRUE, 0);
}

}  // namespace kestrelink::win32
