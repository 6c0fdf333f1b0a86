// The Windows program: the main window, run until it closes. It reads no command line; the
// window's size, place, columns and sort are kept for the next run under
// HKEY_CURRENT_USER\Software\Kestrelink.
#include <windows.h>

#include <commctrl.h>

#include "faces/win32/com_apartment.h"
#include "faces/win32/main_window.h"
#include "faces/win32/message_boxes.h"
#include "faces/win32/registry_state_storage.h"
#include "net/win32/dll_search.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    kestrelink::LimitDllSearchToSystemFolder();
    // Before the first shell call, and until the window is gone.
    const kestrelink::win32::ComApartment apartment;
    // The list, its header and the IP address fields are common controls: registered before the
    // first dialog that holds them is built.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES;
    if (InitCommonControlsEx(&controls) == FALSE) {
        kestrelink::win32::ShowAppMessage(nullptr,
                                          "The system's common controls could not be loaded.");
        return 1;
    }
    kestrelink::win32::RegistryStateStorage stateStorage;
    kestrelink::win32::MainWindow window(stateStorage);
    return window.Run() ? 0 : 1;
}
