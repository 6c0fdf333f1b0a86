#include "behaviour/several_devices_words.h"

#include "net/latin1_text.h"

namespace kestrelink {
namespace {

std::string Looks(const provisioning::Appearance& seen) {
    return "at " + Latin1ToUtf8(seen.ip) + " as '" + Latin1ToUtf8(seen.givenName) + "'";
}

}  // namespace

std::string ResultWords(std::span<const provisioning::ProvisioningStep> steps, std::size_t step,
                        const provisioning::StepResult& result) {
    using provisioning::Outcome;
    switch (result.outcome) {
        case Outcome::Confirmed:
            return "configured";
        case Outcome::Sent:
            return "sent";
        case Outcome::NotConfirmable:
            return "sent, not confirmed: the request changes nothing that announcements show "
                   "(address and given name)";
        case Outcome::AnswersAsBefore:
            return "answers as before";
        case Outcome::AnswersOtherwise:
            return "answers " + Looks(*result.lastSeen);
        case Outcome::Silent:
            return "did not answer again";
        case Outcome::SendFailed:
            return "the request could not be sent";
        case Outcome::Blocked:
            return "not sent: ip " + Latin1ToUtf8(steps[step].newIp.value_or("")) +
                   " is still held by " +
                   (result.blocker ? steps[*result.blocker].mac : std::string("another device"));
    }
    return {};
}

}  // namespace kestrelink
