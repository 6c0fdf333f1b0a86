#pragma once

#include <windows.h>

#include <utility>

namespace kestrelink::win32 {

// Owns one system handle and gives it back with Release when it goes; a null handle owns nothing.
template <typename Handle, auto Release>
class UniqueHandle final {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, nullptr));
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Lets go of the handle without giving it back, for a call that takes it over.
    Handle Detach() { return std::exchange(m_handle, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (m_handle != nullptr) {
            Release(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

inline void CloseRegistryKey(HKEY key) {
    RegCloseKey(key);
}
inline void DeleteGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void DestroyIconHandle(HICON icon) {
    DestroyIcon(icon);
}
inline void FreeGlobal(HGLOBAL memory) {
    GlobalFree(memory);
}
inline void CloseKernelHandle(HANDLE handle) {
    CloseHandle(handle);
}
inline void DestroyMenuHandle(HMENU menu) {
    DestroyMenu(menu);
}

inline void RemoveHook(HHOOK hook) {
    UnhookWindowsHookEx(hook);
}

using RegistryKey = UniqueHandle<HKEY, CloseRegistryKey>;
using Bitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using Font = UniqueHandle<HFONT, DeleteGdiObject>;
using Icon = UniqueHandle<HICON, DestroyIconHandle>;
using GlobalMemory = UniqueHandle<HGLOBAL, FreeGlobal>;
using Menu = UniqueHandle<HMENU, DestroyMenuHandle>;
using Hook = UniqueHandle<HHOOK, RemoveHook>;

// CreateFileW gives INVALID_HANDLE_VALUE, not null, for a failure.
class FileHandle final {
public:
    explicit FileHandle(HANDLE handle)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    HANDLE Get() const { return m_handle.Get(); }
    explicit operator bool() const { return static_cast<bool>(m_handle); }
    // Closes now, so that the file can be moved; false when the close failed.
    bool Close() { return CloseHandle(m_handle.Detach()) != 0; }

private:
    UniqueHandle<HANDLE, CloseKernelHandle> m_handle;
};

}  // namespace kestrelink::win32
