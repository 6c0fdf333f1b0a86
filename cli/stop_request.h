#pragma once

namespace kestrelink::cli {

// SIGINT and SIGTERM, or Ctrl+C and Ctrl+Break on a Windows console, noted for as long as this
// lives instead of ending the program at once, so that a command can stop between two lines of
// its output. The previous handling comes back when it goes.
class StopRequest final {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    bool Requested() const;
};

}  // namespace kestrelink::cli
