#pragma once

#include <iosfwd>

#include "cli/exit_status.h"

namespace kestrelink::cli {

// Reads the arguments, runs the command they name, and tells how it went: a failure when out
// could not take everything written to it, whatever the command did.
ExitStatus RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kestrelink::cli
