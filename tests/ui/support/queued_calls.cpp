#include "tests/ui/support/queued_calls.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTest>
#include <memory>

namespace kestrelink::testing {

bool RunQueuedCalls() {
    // Shared, so that a sentinel that runs after a failed wait still has its flag.
    const auto reached = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [reached] { *reached = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&] { return *reached; });
}

}  // namespace kestrelink::testing
