#include <iostream>

#include "cli/command_line.h"

#ifdef _WIN32
#include <memory>

#include "cli/win32/console_buffer.h"
#include "net/win32/dll_search.h"

namespace {

// std::cout or std::cerr as they are when redirected (UTF-8 bytes), or through WriteConsoleW on a
// console.
class ConsoleOrStream final {
public:
    ConsoleOrStream(DWORD which, std::ostream& redirected) {
        const HANDLE handle = GetStdHandle(which);
        if (kestrelink::cli::ConsoleBuffer::IsConsole(handle)) {
            m_buffer = std::make_unique<kestrelink::cli::ConsoleBuffer>(handle);
            m_console = std::make_unique<std::ostream>(m_buffer.get());
            // Shown as it is written, as a terminal shows it: progress and diagnostics too.
            m_console->setf(std::ios::unitbuf);
        }
        m_stream = m_console ? m_console.get() : &redirected;
    }
    std::ostream& Stream() { return *m_stream; }

private:
    std::unique_ptr<kestrelink::cli::ConsoleBuffer> m_buffer;
    std::unique_ptr<std::ostream> m_console;
    std::ostream* m_stream;
};

}  // namespace

int main(int argc, char** argv) {
    kestrelink::LimitDllSearchToSystemFolder();
    ConsoleOrStream out(STD_OUTPUT_HANDLE, std::cout);
    ConsoleOrStream err(STD_ERROR_HANDLE, std::cerr);
    return static_cast<int>(
        kestrelink::cli::RunCommandLine(argc, argv, out.Stream(), err.Stream()));
}
#else
int main(int argc, char** argv) {
    return static_cast<int>(kestrelink::cli::RunCommandLine(argc, argv, std::cout, std::cerr));
}
#endif
