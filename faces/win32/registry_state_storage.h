#pragma once

#include "behaviour/window_state.h"

namespace kestrelink::win32 {

// The window's state under HKEY_CURRENT_USER\Software\Kestrelink: numbers as DWORD values, the
// column widths as one text of comma-separated numbers, in pixels at 96 dots per inch.
class RegistryStateStorage final : public WindowStateStorage {
public:
    RegistryStateStorage() = default;

    StoredWindowState Load() const override;
    // Failures are dropped: the next run then starts as on the first one.
    void Save(const WindowState& state) override;
};

}  // namespace kestrelink::win32
