#pragma once

#include <QObject>

namespace kestrelink::testing {

// The base of every widget test object that opens a socket: outside a private network namespace
// its initTestCase fails, and with it the whole run, before any test function can send.
class PrivateNetworkQtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
};

}  // namespace kestrelink::testing
