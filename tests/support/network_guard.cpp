#include "tests/support/network_guard.h"

#include "tools/lab/private_network.h"

namespace kestrelink::testing {

void PrivateNetworkTest::SetUp() {
    const std::string foreign = lab::ForeignInterface();
    if (!foreign.empty()) {
        GTEST_FAIL() << "interface '" << foreign
                     << "' is not part of a private network namespace; run through 'make test'";
    }
}

}  // namespace kestrelink::testing
