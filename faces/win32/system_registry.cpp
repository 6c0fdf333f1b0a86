#include "faces/win32/system_registry.h"

#include <windows.h>

#include <vector>

#include "faces/win32/handles.h"
#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {

std::optional<std::string> SystemRegistryReader::ReadValue(RegistryRoot root,
                                                           std::string_view subkey,
                                                           std::string_view valueName) const {
    HKEY opened = nullptr;
    const HKEY rootKey =
        root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT;
    if (RegOpenKeyExW(rootKey, Utf8ToWide(subkey).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const RegistryKey key(opened);
    const std::wstring name = Utf8ToWide(valueName);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    // One more character than asked for, so that a value stored without its terminator ends.
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string text = WideToUtf8(std::wstring_view(data.data()));
    text.push_back('\0');
    return text;
}

}  // namespace kestrelink::win32
