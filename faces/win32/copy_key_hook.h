#pragma once

#include <windows.h>

#include <functional>

#include "faces/win32/handles.h"

namespace kestrelink::win32 {

// Ctrl+C anywhere in one dialog but a text field, which keeps it for its own selection. The
// dialog's own message loop shows each message to a message-filter hook before the focused
// control gets it, so keys that mean something anywhere in the window are taken there.
class CopyKeyHook final {
public:
    // For the calling thread until destroyed, one at a time in a process; copy runs for each key.
    CopyKeyHook(HWND dialog, std::function<void()> copy);
    ~CopyKeyHook();
    CopyKeyHook(const CopyKeyHook&) = delete;
    CopyKeyHook& operator=(const CopyKeyHook&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
    bool IsCopyKey(const MSG& message) const;

    HWND m_dialog;
    std::function<void()> m_copy;
    Hook m_hook;
};

}  // namespace kestrelink::win32
