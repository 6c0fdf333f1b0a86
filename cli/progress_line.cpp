#include "cli/progress_line.h"

#include <cstdio>
#include <ostream>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "provisioning/provisioning_run.h"

namespace kestrelink::cli {

bool StandardErrorIsTerminal() {
#ifdef _WIN32
    return ::_isatty(::_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

ProgressLine::ProgressLine(std::ostream& terminal, bool enabled, std::size_t total)
    : m_terminal(terminal), m_enabled(enabled), m_total(total) {}

void ProgressLine::Show(const provisioning::ProgressCounts& counts) {
    if (!m_enabled) {
        return;
    }
    const std::string line =
        "sent " + std::to_string(counts.sent) + " of " + std::to_string(m_total) + ", confirmed " +
        std::to_string(counts.confirmed) + ", pending " + std::to_string(counts.pending);
    if (line == m_shown) {
        return;
    }
    // Spaces rather than an erase sequence: every console understands them.
    const std::size_t leftOver = m_shown.size() > line.size() ? m_shown.size() - line.size() : 0;
    m_terminal << '\r' << line << std::string(leftOver, ' ') << std::string(leftOver, '\b')
               << std::flush;
    m_shown = line;
}

void ProgressLine::Clear() {
    if (!m_enabled || m_shown.empty()) {
        return;
    }
    m_terminal << '\r' << std::string(m_shown.size(), ' ') << '\r' << std::flush;
    m_shown.clear();
}

}  // namespace kestrelink::cli
