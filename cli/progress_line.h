#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace kestrelink::provisioning {
struct ProgressCounts;
}

namespace kestrelink::cli {

// Whether standard error is a terminal, where a line may be redrawn.
bool StandardErrorIsTerminal();

// One line on a terminal, redrawn in place as a plan runs. Disabled, it writes nothing, so that
// a log or a pipe holds only whole lines.
class ProgressLine final {
public:
    ProgressLine(std::ostream& terminal, bool enabled, std::size_t total);

    void Show(const provisioning::ProgressCounts& counts);
    // Blanks the line, so that another can be written where it stood; Show draws it again.
    void Clear();

private:
    std::ostream& m_terminal;
    bool m_enabled;
    std::size_t m_total;
    std::string m_shown;
};

}  // namespace kestrelink::cli
