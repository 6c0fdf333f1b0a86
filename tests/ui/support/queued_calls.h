#pragma once

namespace kestrelink::testing {

// Runs the event loop until every call queued on this thread so far has run: the sentinel after
// whatever must not have happened. False when that takes longer than Qt Test's usual wait.
[[nodiscard]] bool RunQueuedCalls();

}  // namespace kestrelink::testing
