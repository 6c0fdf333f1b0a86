#include "faces/qt/window_state.h"

#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QSize>
#include <QVariantList>

namespace kestrelink {
namespace {

constexpr auto kSizeKey = "window/size";
constexpr auto kPositionKey = "window/position";
constexpr auto kMaximizedKey = "window/maximized";
constexpr auto kColumnWidthsKey = "list/columnWidths";
constexpr auto kSortColumnKey = "list/sortColumn";
constexpr auto kAscendingKey = "list/ascending";
constexpr auto kKeepWatchingKey = "list/keepWatching";

std::vector<ScreenRect> Screens() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return screens;
}

}  // namespace

StoredWindowState SettingsWindowState::Load() const {
    const QSettings& settings = m_settings;
    StoredWindowState stored;
    if (const QSize size = settings.value(kSizeKey).toSize(); size.isValid()) {
        stored.size = WindowSize{size.width(), size.height()};
    }
    if (const QVariant position = settings.value(kPositionKey); position.canConvert<QPoint>()) {
        stored.position = WindowPoint{position.toPoint().x(), position.toPoint().y()};
    }
    stored.maximized = settings.value(kMaximizedKey, false).toBool();
    std::vector<std::optional<int>> widths;
    for (const QVariant& value : settings.value(kColumnWidthsKey).toList()) {
        bool isNumber = false;
        const int width = value.toInt(&isNumber);
        widths.push_back(isNumber ? std::optional(width) : std::nullopt);
    }
    stored.columnWidths = std::move(widths);
    stored.sortColumn = settings.value(kSortColumnKey, -1).toInt();
    stored.ascending = settings.value(kAscendingKey, true).toBool();
    stored.keepWatching = settings.value(kKeepWatchingKey, false).toBool();
    return stored;
}

void SettingsWindowState::Save(const WindowState& state) {
    QSettings& settings = m_settings;
    if (state.size) {
        settings.setValue(kSizeKey, QSize(state.size->width, state.size->height));
    }
    if (state.position) {
        settings.setValue(kPositionKey, QPoint(state.position->x, state.position->y));
    }
    settings.setValue(kMaximizedKey, state.maximized);
    QVariantList widths;
    for (const int width : state.columnWidths) {
        widths << width;
    }
    settings.setValue(kColumnWidthsKey, widths);
    settings.setValue(kSortColumnKey, state.sort.sortColumn);
    settings.setValue(kAscendingKey, state.sort.ascending);
    settings.setValue(kKeepWatchingKey, state.keepWatching);
}

WindowState ReadWindowState(const WindowStateStorage& storage) {
    return CheckedWindowState(storage.Load(), Screens());
}

}  // namespace kestrelink
