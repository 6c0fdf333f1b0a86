#pragma once

#include "behaviour/browser_starter.h"

namespace kestrelink::win32 {

// The shell's execute operation, with no owner window and no working directory; its result is
// not looked at, so a browser that does not start is silent.
class ShellBrowserStarter final : public BrowserStarter {
public:
    ShellBrowserStarter() = default;

    // The address itself to the default handler of its scheme.
    void OpenWithDefaultHandler(std::string_view address) override;
    // "open" on the program registered under that name, with the address as its parameters.
    void StartNamedBrowser(std::string_view program, std::string_view address) override;
};

}  // namespace kestrelink::win32
