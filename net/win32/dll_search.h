#pragma once

namespace kestrelink {

// Every DLL the program loads from now on comes from the system folder alone, never from the
// program's own folder (a Downloads folder, say) or the current one. Called first thing at start.
void LimitDllSearchToSystemFolder();

}  // namespace kestrelink
