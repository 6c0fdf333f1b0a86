#pragma once

#include <string_view>

namespace kestrelink {

// How a web address reaches a browser: the desktop's way, or a fake in tests. Failures to start a
// browser are silent.
class BrowserStarter {
public:
    BrowserStarter() = default;
    virtual ~BrowserStarter() = default;
    BrowserStarter(const BrowserStarter&) = delete;
    BrowserStarter& operator=(const BrowserStarter&) = delete;

    virtual void OpenWithDefaultHandler(std::string_view address) = 0;
    // Starts program with address as its only argument.
    virtual void StartNamedBrowser(std::string_view program, std::string_view address) = 0;
};

}  // namespace kestrelink
