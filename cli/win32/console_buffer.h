#pragma once

#include <windows.h>

#include <streambuf>
#include <string>

namespace kestrelink::cli {

// A stream buffer that writes the program's UTF-8 to a console as UTF-16 with WriteConsoleW, so
// that it reads right whatever the console's code page.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : m_console(console) {}
    ConsoleBuffer(const ConsoleBuffer&) = delete;
    ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;
    ~ConsoleBuffer() override { WriteWhole(true); }

    // A handle to a console, not a file or a pipe.
    static bool IsConsole(HANDLE handle);

protected:
    int_type overflow(int_type byte) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    bool WriteWhole(bool flushAll);

    HANDLE m_console;
    std::string m_pending;  // UTF-8 not yet written
};

}  // namespace kestrelink::cli
