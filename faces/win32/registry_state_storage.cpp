#include "faces/win32/registry_state_storage.h"

#include <windows.h>

#include <charconv>
#include <string>
#include <string_view>

#include "faces/win32/dpi_scaling.h"
#include "faces/win32/handles.h"
#include "faces/win32/monitor_dpi.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {
namespace {

constexpr wchar_t kStateKey[] = L"Software\\Kestrelink";
// The dots per inch the column widths are saved at. Without it they are from a version that
// saved pixels at the system's own.
constexpr wchar_t kWidthsDpiValue[] = L"ColumnWidthsDpi";

std::optional<int> ReadNumber(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<std::wstring> ReadText(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    wchar_t text[512] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(text);
}

void WriteNumber(HKEY key, const wchar_t* name, int number) {
    const DWORD value = static_cast<DWORD>(number);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::optional<int>> ParseWidths(const std::string& text) {
    std::vector<std::optional<int>> widths;
    std::string_view rest = text;
    for (;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        int width = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), width);
        widths.push_back(error == std::errc() && end == part.data() + part.size()
                             ? std::optional(width)
                             : std::nullopt);
        if (comma == std::string_view::npos) {
            return widths;
        }
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace

StoredWindowState RegistryStateStorage::Load() const {
    StoredWindowState stored;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStateKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return stored;
    }
    const RegistryKey key(opened);
    const std::optional<int> width = ReadNumber(key.Get(), L"Width");
    const std::optional<int> height = ReadNumber(key.Get(), L"Height");
    if (width && height) {
        stored.size = WindowSize{*width, *height};
    }
    const std::optional<int> x = ReadNumber(key.Get(), L"X");
    const std::optional<int> y = ReadNumber(key.Get(), L"Y");
    if (x && y) {
        stored.position = WindowPoint{*x, *y};
    }
    if (const std::optional<int> maximized = ReadNumber(key.Get(), L"Maximized")) {
        stored.maximized = *maximized != 0;
    }
    if (const std::optional<std::wstring> widths = ReadText(key.Get(), L"ColumnWidths")) {
        stored.columnWidths = ParseWidths(WideToUtf8(*widths));
        const int savedAt = ReadNumber(key.Get(), kWidthsDpiValue).value_or(SystemDpi());
        for (std::optional<int>& width : *stored.columnWidths) {
            if (width && savedAt > 0) {
                width = UnscaledFromDpi(*width, savedAt);
            }
        }
    }
    stored.sortColumn = ReadNumber(key.Get(), L"SortColumn");
    if (const std::optional<int> watching = ReadNumber(key.Get(), L"KeepWatching")) {
        stored.keepWatching = *watching != 0;
    }
    if (const std::optional<int> ascending = ReadNumber(key.Get(), L"SortAscending")) {
        stored.ascending = *ascending != 0;
    }
    return stored;
}

void RegistryStateStorage::Save(const WindowState& state) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStateKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const RegistryKey key(created);
    if (state.size) {
        WriteNumber(key.Get(), L"Width", state.size->width);
        WriteNumber(key.Get(), L"Height", state.size->height);
    }
    if (state.position) {
        WriteNumber(key.Get(), L"X", state.position->x);
        WriteNumber(key.Get(), L"Y", state.position->y);
    }
    WriteNumber(key.Get(), L"Maximized", state.maximized ? 1 : 0);
    std::wstring widths;
    for (const int width : state.columnWidths) {
        widths += (widths.empty() ? L"" : L",") + std::to_wstring(width);
    }
    WriteText(key.Get(), L"ColumnWidths", widths);
    WriteNumber(key.Get(), kWidthsDpiValue, kBaseDpi);
    WriteNumber(key.Get(), L"SortColumn", state.sort.sortColumn);
    WriteNumber(key.Get(), L"SortAscending", state.sort.ascending ? 1 : 0);
    WriteNumber(key.Get(), L"KeepWatching", state.keepWatching ? 1 : 0);
}

}  // namespace kestrelink::win32
