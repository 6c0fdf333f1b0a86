#pragma once

namespace kestrelink::cli {

enum class ExitStatus : int {
    Success = 0,
    Failure = 1,   // the network or a device did not do what was asked
    BadInput = 2,  // bad usage or input; nothing was sent
};

}  // namespace kestrelink::cli
