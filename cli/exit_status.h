#pragma once

namespace kestrelink::cli {

enum class ExitStatus : int {
    Success = 0,
    Failure = 1,   // the network or a device did not do what was asked
    BadInput = 2,  // bad usage or input; nothing was sent
    // With verification: sent, but what announcements show would not change if the device
    // took the request, so nothing can confirm it.
    NotConfirmed = 3,
};

}  // namespace kestrelink::cli
