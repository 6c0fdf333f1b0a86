#include "faces/win32/clipboard.h"

#include <cstring>
#include <string>

#include "faces/win32/bounded_retry.h"
#include "faces/win32/file_replace.h"
#include "faces/win32/handles.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

// Long enough for clipboard history or a remote desktop to let go, short enough not to be noticed.
constexpr RetryBudget kClipboardBudget{10, std::chrono::milliseconds(30)};

class OpenClipboardScope final {
public:
    explicit OpenClipboardScope(HWND owner)
        : m_open(RetryWhileMomentary(
              kClipboardBudget, [owner] { return OpenClipboard(owner) != 0; }, [] { return true; },
              SleepFor)) {}
    ~OpenClipboardScope() {
        if (m_open) {
            CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

}  // namespace

bool SetClipboardUnicodeText(HWND owner, std::string_view text) {
    const std::wstring wide = Utf8ToWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return false;
    }
    void* locked = GlobalLock(memory.Get());
    if (locked == nullptr) {
        return false;
    }
    std::memcpy(locked, wide.c_str(), bytes);
    GlobalUnlock(memory.Get());

    const OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || EmptyClipboard() == 0) {
        return false;
    }
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) {
        return false;
    }
    // The clipboard owns the memory now.
    memory.Detach();
    return true;
}

void SetClipboardTextOrSayWhy(HWND owner, DialogFace& boxes, std::string_view text) {
    if (!SetClipboardUnicodeText(owner, text)) {
        boxes.ShowMessage("The clipboard could not be filled: " + SystemErrorText(GetLastError()));
    }
}

}  // namespace kestrelink::win32
