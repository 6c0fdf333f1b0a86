#pragma once

#include <string>
#include <vector>

#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {

// For --wait where every device must have answered: the fixture's patience, not a guess at how
// fast a loaded machine is.
inline const std::string kPatientWait = std::to_string(kE2eWait.count());

struct CliRun {
    int status = -1;  // -1: still running at the time-out
    std::vector<std::string> output;
    std::string errorText;
};

// kestrelink-cli run as a child process next to the simulator.
class CliTest : public SimulatorTest {
protected:
    CliRun RunCli(const std::vector<std::string>& arguments);
    // A file holding text, in a temporary folder of this process's own; returns its path.
    std::string WriteFile(const std::string& name, const std::string& text);
    // The simulator's report of every configuration request it has received for its devices,
    // applied or refused. Probes first, so that whatever reached it before has been handled.
    std::vector<std::string> RequestsSeen();
};

}  // namespace kestrelink::testing
