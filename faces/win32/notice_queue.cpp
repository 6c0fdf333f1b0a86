#include "faces/win32/notice_queue.h"

#include <utility>

#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {

void NoticeQueue::Open(std::string_view caption, std::string_view text,
                       std::function<void()> closed) {
    m_notices.push_back({Utf8ToWide(caption), Utf8ToWide(text), std::move(closed)});
    PostMessageW(m_window, m_message, 0, 0);
}

void NoticeQueue::ShowNext() {
    // A box's own message loop may bring the next message while it is open.
    if (m_shown || m_notices.empty()) {
        return;
    }
    Notice notice = std::move(m_notices.front());
    m_notices.pop_front();
    m_shown = true;
    MessageBoxW(m_window, notice.text.c_str(), notice.caption.c_str(), MB_OK | MB_APPLMODAL);
    m_shown = false;
    if (notice.closed && !m_stopped) {
        notice.closed();
    }
    if (!m_notices.empty()) {
        PostMessageW(m_window, m_message, 0, 0);
    }
}

}  // namespace kestrelink::win32
