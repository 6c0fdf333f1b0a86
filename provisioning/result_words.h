#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "provisioning/provisioning_run.h"

namespace kestrelink::provisioning {

// What a device text becomes where it is shown: the command-line program escapes control
// characters for the terminal, a file or a table cell takes it as it is.
using ShownText = std::function<std::string(std::string_view utf8)>;

// Everything the words of a result need besides the result.
struct WordsContext {
    std::chrono::milliseconds wait{0};  // each device's time to confirm, from its request
    std::string blockerMac;             // for Blocked: the device that kept the address
    ShownText shown;                    // empty: texts as they are
};

// The words of one result, as the command-line program's line gives them after the device's
// MAC and the window's Status shows them: "answers at 10.0.0.5 as 'cam-001'" (confirmed),
// "not confirmed within 2000 ms: it answers as before, at ...", "... it did not answer again",
// "sent, not confirmed: the request changes nothing that announcements show (address and given
// name)", "the request could not be sent", "not sent: ip ... is still held by ...".
std::string ResultReason(const ProvisioningStep& step, const StepResult& result,
                         const WordsContext& context);

// The record's word for an outcome: "configured", "not confirmable", "failed" or "not sent".
std::string_view RecordOutcome(Outcome outcome);

// What became of the requests of one run.
struct RunTally {
    std::size_t configured = 0;      // confirmed under verify
    std::size_t sent = 0;            // without verify
    std::size_t notConfirmable = 0;  // sent under verify, but not confirmed nor failed
    std::size_t failed = 0;
    std::size_t notSent = 0;  // stopped before their requests went out

    void Count(Outcome outcome);
    // "N configured, N not confirmable, N failed", or without verify "N sent, N failed"; and,
    // after a stop, ", N not sent".
    std::string Summary(bool verify) const;
};

}  // namespace kestrelink::provisioning
