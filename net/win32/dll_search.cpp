#include "net/win32/dll_search.h"

#include <windows.h>

namespace kestrelink {

void LimitDllSearchToSystemFolder() {
    // Present since Windows 8 and refused only for flags it does not know: nothing to report.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace kestrelink
