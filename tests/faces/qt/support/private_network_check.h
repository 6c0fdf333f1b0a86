#pragma once

#include <QString>

namespace kestrelink::testing {

// Empty inside a private network namespace; otherwise why a test that would open a socket must
// fail before it opens one.
QString RefusalOutsidePrivateNetwork();

}  // namespace kestrelink::testing
