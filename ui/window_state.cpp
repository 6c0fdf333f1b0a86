#include "ui/window_state.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QVariantList>
#include <algorithm>

#include "net/device_row.h"

namespace kestrelink {
namespace {

constexpr auto kSizeKey = "window/size";
constexpr auto kPositionKey = "window/position";
constexpr auto kMaximizedKey = "window/maximized";
constexpr auto kColumnWidthsKey = "list/columnWidths";
constexpr auto kSortColumnKey = "list/sortColumn";
constexpr auto kAscendingKey = "list/ascending";

bool OnSomeScreen(const QRect& window) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&window](const QScreen* screen) {
        return screen->geometry().intersects(window);
    });
}

QList<int> ColumnWidths(const QVariantList& saved) {
    QList<int> widths;
    for (const QVariant& value : saved) {
        bool isNumber = false;
        const int width = value.toInt(&isNumber);
        if (!isNumber || width <= 0) {
            return {};
        }
        widths << width;
    }
    return widths.size() == kColumnCount ? widths : QList<int>();
}

}  // namespace

WindowState ReadWindowState(const QSettings& settings) {
    WindowState state;
    state.size = settings.value(kSizeKey).toSize();
    const QVariant position = settings.value(kPositionKey);
    if (state.size.isValid() && position.canConvert<QPoint>() &&
        OnSomeScreen(QRect(position.toPoint(), state.size))) {
        state.position = position.toPoint();
    }
    state.maximized = settings.value(kMaximizedKey, false).toBool();
    state.columnWidths = ColumnWidths(settings.value(kColumnWidthsKey).toList());
    const int sortColumn = settings.value(kSortColumnKey, -1).toInt();
    // "arch" is clicked, not sorted by: after such a click new rows stay on top.
    if (sortColumn >= kColumnIp && sortColumn <= kColumnSerialNo) {
        state.sort = {sortColumn, settings.value(kAscendingKey, true).toBool()};
    }
    return state;
}

void WriteWindowState(QSettings& settings, const WindowState& state) {
    if (state.size.isValid()) {
        settings.setValue(kSizeKey, state.size);
    }
    if (state.position) {
        settings.setValue(kPositionKey, *state.position);
    }
    settings.setValue(kMaximizedKey, state.maximized);
    QVariantList widths;
    for (const int width : state.columnWidths) {
        widths << width;
    }
    settings.setValue(kColumnWidthsKey, widths);
    settings.setValue(kSortColumnKey, state.sort.sortColumn);
    settings.setValue(kAscendingKey, state.sort.ascending);
}

}  // namespace kestrelink
