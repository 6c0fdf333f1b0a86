#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace kestrelink::win32 {

// Notice boxes over one window, opened one after another from that window's own queue, so that
// opening one returns at once and the hand-over goes on.
class NoticeQueue final {
public:
    // window: where the window keeps its handle; message: the window's own message that opens
    // the next box, to be passed to ShowNext.
    NoticeQueue(const HWND& window, UINT message) : m_window(window), m_message(message) {}
    NoticeQueue(const NoticeQueue&) = delete;
    NoticeQueue& operator=(const NoticeQueue&) = delete;

    void Open(std::string_view caption, std::string_view text, std::function<void()> closed);
    void ShowNext();
    // When the window goes: a box still open calls nobody back once dismissed.
    void Stop() { m_stopped = true; }

private:
    struct Notice {
        std::wstring caption;
        std::wstring text;
        std::function<void()> closed;
    };

    const HWND& m_window;
    UINT m_message;
    std::deque<Notice> m_notices;
    bool m_shown = false;
    bool m_stopped = false;
};

}  // namespace kestrelink::win32
