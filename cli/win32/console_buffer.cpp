#include "cli/win32/console_buffer.h"

#include "cli/utf8_chunks.h"

namespace kestrelink::cli {
namespace {

constexpr std::size_t kLineBatch = 4096;

}  // namespace

bool ConsoleBuffer::IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetConsoleMode(handle, &mode) != 0;
}

ConsoleBuffer::int_type ConsoleBuffer::overflow(int_type byte) {
    if (traits_type::eq_int_type(byte, traits_type::eof())) {
        return traits_type::not_eof(byte);
    }
    m_pending.push_back(traits_type::to_char_type(byte));
    if ((byte == '\n' || m_pending.size() >= kLineBatch) && !WriteWhole(false)) {
        return traits_type::eof();
    }
    return byte;
}

std::streamsize ConsoleBuffer::xsputn(const char* bytes, std::streamsize count) {
    m_pending.append(bytes, static_cast<std::size_t>(count));
    if (m_pending.size() >= kLineBatch && !WriteWhole(false)) {
        return 0;
    }
    return count;
}

// A character cut between two writes waits for its end.
int ConsoleBuffer::sync() {
    return WriteWhole(false) ? 0 : -1;
}

// Writes what is pending up to the last whole character, or everything when flushAll (bytes that
// are no UTF-8 show as replacement characters).
bool ConsoleBuffer::WriteWhole(bool flushAll) {
    const std::size_t length = flushAll ? m_pending.size() : WholeUtf8Length(m_pending);
    if (length == 0) {
        return true;
    }
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, 0, m_pending.data(), static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, m_pending.data(), static_cast<int>(length), wide.data(),
                        wideLength);
    m_pending.erase(0, length);
    const wchar_t* next = wide.data();
    DWORD left = static_cast<DWORD>(wide.size());
    while (left > 0) {
        DWORD written = 0;
        if (WriteConsoleW(m_console, next, left, &written, nullptr) == 0 || written == 0) {
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

}  // namespace kestrelink::cli
