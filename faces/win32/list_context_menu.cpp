#include "faces/win32/list_context_menu.h"

#include <string>

#include "behaviour/list_menu.h"
#include "faces/win32/handles.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

// Apart from the controls' ids, in kListMenu's order.
constexpr UINT kFirstMenuItem = 40001;

}  // namespace

std::optional<ListMenuAction> TrackListMenu(HWND owner, POINT point, bool onRow, bool anyRowShown,
                                            const std::function<bool(ListMenuAction)>& checked,
                                            const std::function<bool(ListMenuAction)>& available) {
    const Menu menu(CreatePopupMenu());
    if (!menu) {
        return std::nullopt;
    }
    for (std::size_t index = 0; index < kListMenu.size(); ++index) {
        const ListMenuItem& item = kListMenu[index];
        if (item.separatorBefore) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        }
        std::wstring text = Utf8ToWide(item.text);
        if (item.action == ListMenuAction::CopyRow) {
            text += L"\tCtrl+C";
        }
        const bool grayed = (item.needsRow && !onRow) || (item.needsShownRows && !anyRowShown) ||
                            !available(item.action);
        const UINT enabled = grayed ? MF_GRAYED : MF_ENABLED;
        const UINT tick = IsCheckItem(item.action) && checked(item.action) ? MF_CHECKED : 0;
        AppendMenuW(menu.Get(), MF_STRING | enabled | tick, kFirstMenuItem + index, text.c_str());
    }
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr));
    if (chosen < kFirstMenuItem || chosen >= kFirstMenuItem + kListMenu.size()) {
        return std::nullopt;
    }
    return kListMenu[chosen - kFirstMenuItem].action;
}

}  // namespace kestrelink::win32
