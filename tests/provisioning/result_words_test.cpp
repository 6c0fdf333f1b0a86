#include "provisioning/result_words.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace kestrelink::provisioning {
namespace {

struct WordsCase {
    const char* name;
    Outcome outcome;
    std::optional<Appearance> lastSeen;
    std::string reason;
    std::string recordOutcome;
};

void PrintTo(const WordsCase& c, std::ostream* os) {
    *os << c.name;
}

class ResultWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(ResultWordsTest, TheLineWordsAndTheRecordWord) {
    const ProvisioningStep step{"02:00:00:00:00:07", {"10.0.0.7", "old"}, "10.0.0.9", "cam-\xe9"};
    StepResult result;
    result.outcome = GetParam().outcome;
    result.lastSeen = GetParam().lastSeen;
    const WordsContext context{std::chrono::milliseconds(1500), "02:00:00:00:00:08", {}};
    EXPECT_EQ(ResultReason(step, result, context), GetParam().reason);
    EXPECT_EQ(RecordOutcome(GetParam().outcome), GetParam().recordOutcome);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ResultWordsTest,
    ::testing::Values(
        WordsCase{"Confirmed", Outcome::Confirmed, Appearance{"10.0.0.9", "cam-\xe9"},
                  "answers at 10.0.0.9 as 'cam-\xc3\xa9'", "configured"},
        WordsCase{"Sent", Outcome::Sent, std::nullopt, "sent", "not confirmable"},
        WordsCase{"NotConfirmable", Outcome::NotConfirmable, std::nullopt,
                  "sent, not confirmed: the request changes nothing that announcements show "
                  "(address and given name)",
                  "not confirmable"},
        WordsCase{"AsBefore", Outcome::AnswersAsBefore, Appearance{"10.0.0.7", "old"},
                  "not confirmed within 1500 ms: it answers as before, at 10.0.0.7 as 'old'",
                  "failed"},
        WordsCase{"Otherwise", Outcome::AnswersOtherwise, Appearance{"10.0.0.9", "old"},
                  "not confirmed within 1500 ms: it answers at 10.0.0.9 as 'old'", "failed"},
        WordsCase{"Silent", Outcome::Silent, std::nullopt,
                  "not confirmed within 1500 ms: it did not answer again", "failed"},
        WordsCase{"SendFailed", Outcome::SendFailed, std::nullopt, "the request could not be sent",
                  "failed"},
        WordsCase{"Blocked", Outcome::Blocked, std::nullopt,
                  "not sent: ip 10.0.0.9 is still held by 02:00:00:00:00:08", "not sent"},
        WordsCase{"StoppedUnsent", Outcome::StoppedUnsent, std::nullopt, "not sent: stopped",
                  "not sent"},
        WordsCase{"StoppedPending", Outcome::StoppedPending, std::nullopt,
                  "sent, not confirmed: stopped", "not confirmable"}));

TEST(RunTallyTest, SummaryCountsEachOutcomeOnce) {
    RunTally tally;
    for (const Outcome outcome : {Outcome::Confirmed, Outcome::Confirmed, Outcome::NotConfirmable,
                                  Outcome::Silent, Outcome::Blocked, Outcome::StoppedPending}) {
        tally.Count(outcome);
    }
    EXPECT_EQ(tally.Summary(true), "2 configured, 2 not confirmable, 2 failed");
    tally.Count(Outcome::StoppedUnsent);
    tally.Count(Outcome::Sent);
    EXPECT_EQ(tally.Summary(false), "1 sent, 2 failed, 1 not sent");
}

}  // namespace
}  // namespace kestrelink::provisioning
