#pragma once

#include "behaviour/window_state.h"

class QSettings;

namespace kestrelink {

// The window's state in the settings file: ~/.config/Kestrelink/kestrelink.conf.
class SettingsWindowState final : public WindowStateStorage {
public:
    explicit SettingsWindowState(QSettings& settings) : m_settings(settings) {}

    StoredWindowState Load() const override;
    void Save(const WindowState& state) override;

private:
    QSettings& m_settings;
};

// What storage holds, checked against the screens there are now.
WindowState ReadWindowState(const WindowStateStorage& storage);

}  // namespace kestrelink
