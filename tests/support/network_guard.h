#pragma once

// A GoogleTest fixture base for tests that open sockets: it fails the test, without sending,
// outside a private network namespace.
#include <gtest/gtest.h>

namespace kestrelink::testing {

class PrivateNetworkTest : public ::testing::Test {
protected:
    void SetUp() override;
};

}  // namespace kestrelink::testing
