#include "provisioning/result_words.h"

#include "net/latin1_text.h"

namespace kestrelink::provisioning {
namespace {

std::string Looks(const Appearance& seen, const ShownText& shown) {
    const auto text = [&shown](const std::string& latin1) {
        const std::string utf8 = Latin1ToUtf8(latin1);
        return shown ? shown(utf8) : utf8;
    };
    return "at " + text(seen.ip) + " as '" + text(seen.givenName) + "'";
}

}  // namespace

std::string ResultReason(const ProvisioningStep& step, const StepResult& result,
                         const WordsContext& context) {
    const std::string late =
        "not confirmed within " + std::to_string(context.wait.count()) + " ms: it ";
    switch (result.outcome) {
        case Outcome::Confirmed:
            return "answers " + Looks(*result.lastSeen, context.shown);
        case Outcome::Sent:
            return "sent";
        case Outcome::NotConfirmable:
            return "sent, not confirmed: the request changes nothing that announcements show "
                   "(address and given name)";
        case Outcome::AnswersAsBefore:
            return late + "answers as before, " + Looks(*result.lastSeen, context.shown);
        case Outcome::AnswersOtherwise:
            return late + "answers " + Looks(*result.lastSeen, context.shown);
        case Outcome::Silent:
            return late + "did not answer again";
        case Outcome::SendFailed:
            return "the request could not be sent";
        case Outcome::Blocked:
            return "not sent: ip " + Latin1ToUtf8(step.newIp.value_or("")) + " is still held by " +
                   context.blockerMac;
        case Outcome::StoppedUnsent:
            return "not sent: stopped";
        case Outcome::StoppedPending:
            return "sent, not confirmed: stopped";
    }
    return {};
}

std::string_view RecordOutcome(Outcome outcome) {
    switch (outcome) {
        case Outcome::Confirmed:
            return "configured";
        case Outcome::Sent:
        case Outcome::NotConfirmable:
        case Outcome::StoppedPending:
            return "not confirmable";
        case Outcome::Blocked:
        case Outcome::StoppedUnsent:
            return "not sent";
        default:
            return "failed";
    }
}

void RunTally::Count(Outcome outcome) {
    if (outcome == Outcome::StoppedUnsent) {
        ++notSent;
    } else if (IsFailure(outcome)) {
        ++failed;
    } else if (outcome == Outcome::Confirmed) {
        ++configured;
    } else if (outcome == Outcome::Sent) {
        ++sent;
    } else {
        ++notConfirmable;
    }
}

std::string RunTally::Summary(bool verify) const {
    std::string text =
        verify ? std::to_string(configured) + " configured, " + std::to_string(notConfirmable) +
                     " not confirmable, " + std::to_string(failed) + " failed"
               : std::to_string(sent) + " sent, " + std::to_string(failed) + " failed";
    if (notSent > 0) {
        text += ", " + std::to_string(notSent) + " not sent";
    }
    return text;
}

}  // namespace kestrelink::provisioning
