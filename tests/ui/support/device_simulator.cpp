#include "tests/ui/support/device_simulator.h"

#include <QDeadlineTimer>

namespace kestrelink::testing {

DeviceSimulator::~DeviceSimulator() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
}

bool DeviceSimulator::Start(const QStringList& arguments) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KESTRELINK_DEVSIM_PATH), arguments);
    if (!m_process.waitForStarted(3000)) {
        return false;
    }
    // The simulator says "listening ..." once both ports are bound.
    const QDeadlineTimer deadline(5000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(deadline.remainingTime())) {
            return false;
        }
    }
    return m_process.readLine().startsWith("listening");
}

}  // namespace kestrelink::testing
