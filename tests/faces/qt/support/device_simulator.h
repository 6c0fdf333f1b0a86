#pragma once

#include <QStringList>
#include <QtGlobal>
#include <memory>

namespace kestrelink::lab {
class ChildProcess;
}

namespace kestrelink::testing {

// kestrelink-devsim as a child process, ended with the object. Start it only after
// PrivateNetworkQtTest::initTestCase() has passed.
class DeviceSimulator final {
public:
    DeviceSimulator();
    ~DeviceSimulator();
    Q_DISABLE_COPY_MOVE(DeviceSimulator)

    // Starts the simulator with arguments and returns once it has bound its ports; false when
    // it fails to within a few seconds.
    bool Start(const QStringList& arguments);

private:
    std::unique_ptr<lab::ChildProcess> m_process;
};

}  // namespace kestrelink::testing
