#include <iostream>

#include "cli/command_line.h"

#ifdef _WIN32
#include <windows.h>

#include "net/win32/dll_search.h"

namespace {

// The program writes UTF-8; the console shows it as such while the program runs, and the code
// page the console had is given back, so that the shell it was started from is left as it was.
class Utf8Console final {
public:
    Utf8Console() : m_previous(GetConsoleOutputCP()) {
        if (m_previous != 0 && m_previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) == 0) {
            m_previous = 0;
        }
    }
    ~Utf8Console() {
        if (m_previous != 0 && m_previous != CP_UTF8) {
            SetConsoleOutputCP(m_previous);
        }
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT m_previous;
};

}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    kestrelink::LimitDllSearchToSystemFolder();
    const Utf8Console console;
#endif
    return static_cast<int>(kestrelink::cli::RunCommandLine(argc, argv, std::cout, std::cerr));
}
