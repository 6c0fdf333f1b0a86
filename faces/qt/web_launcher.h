#pragma once

#include <memory>

namespace kestrelink {

class BrowserStarter;

// The desktop's way to a browser. Failures to start one are silent.
std::unique_ptr<BrowserStarter> MakeDesktopBrowserStarter();

}  // namespace kestrelink
