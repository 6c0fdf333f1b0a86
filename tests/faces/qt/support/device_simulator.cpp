#include "tests/faces/qt/support/device_simulator.h"

#include <chrono>
#include <string>
#include <vector>

#include "tools/lab/child_process.h"

namespace kestrelink::testing {

DeviceSimulator::DeviceSimulator() = default;

DeviceSimulator::~DeviceSimulator() = default;

bool DeviceSimulator::Start(const QStringList& arguments) {
    std::vector<std::string> programArguments;
    for (const QString& argument : arguments) {
        programArguments.push_back(argument.toStdString());
    }
    m_process = std::make_unique<lab::ChildProcess>(KESTRELINK_DEVSIM_PATH, programArguments);
    // The simulator says "listening ..." once both ports are bound.
    if (m_process->Started() && m_process->WaitForLine("listening", std::chrono::seconds(5))) {
        return true;
    }
    qWarning("kestrelink-devsim did not start: %s", m_process->ErrorText().c_str());
    return false;
}

}  // namespace kestrelink::testing
