#include "faces/win32/monitor_dpi.h"

#include <commctrl.h>

#include "faces/win32/dpi_scaling.h"

namespace kestrelink::win32 {
namespace {

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
    const HMODULE loaded = GetModuleHandleW(module);
    return loaded != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
               : nullptr;
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto call = Lookup<GetDpiForWindowCall>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = call != nullptr ? call(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemDpi() {
    using GetDpiForSystemCall = UINT(WINAPI*)();
    static const auto call = Lookup<GetDpiForSystemCall>(L"user32.dll", "GetDpiForSystem");
    const UINT dpi = call != nullptr ? call() : 0;
    return dpi != 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
    static const auto call =
        Lookup<GetSystemMetricsForDpiCall>(L"user32.dll", "GetSystemMetricsForDpi");
    if (call != nullptr) {
        return call(index, static_cast<UINT>(dpi));
    }
    return ScaledForDpi(UnscaledFromDpi(GetSystemMetrics(index), SystemDpi()), dpi);
}

Icon LoadIconSized(HINSTANCE instance, const wchar_t* name, int size) {
    using LoadIconWithScaleDownCall = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto call =
        Lookup<LoadIconWithScaleDownCall>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (call != nullptr && SUCCEEDED(call(instance, name, size, size, &icon))) {
        return Icon(icon);
    }
    if (instance == nullptr) {
        // The system's icons are shared and must not be destroyed: a copy is.
        return Icon(CopyIcon(LoadIconW(nullptr, name)));
    }
    return Icon(
        static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void TakeOverDialogDpiChanges(HWND dialog) {
    using SetDialogDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, int, int);
    static const auto call =
        Lookup<SetDialogDpiChangeBehaviorCall>(L"user32.dll", "SetDialogDpiChangeBehavior");
    // DDC_DISABLE_ALL: the dialog manager would scale the controls as placed at start-up,
    // where the window's own layout keeps their anchors.
    constexpr int kDisableAll = 0x0001;
    if (call != nullptr) {
        call(dialog, kDisableAll, kDisableAll);
    }
}

SIZE WindowSizeForClient(HWND window, SIZE clientSize, int dpi) {
    using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto call =
        Lookup<AdjustWindowRectExForDpiCall>(L"user32.dll", "AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto extended = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT rect{0, 0, clientSize.cx, clientSize.cy};
    const bool adjusted = call != nullptr
                              ? call(&rect, style, FALSE, extended, static_cast<UINT>(dpi)) != 0
                              : AdjustWindowRectEx(&rect, style, FALSE, extended) != 0;
    if (!adjusted) {
        return clientSize;
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace kestrelink::win32
