// The keying steps and the guard: keyed for the lead, the samples and the
// tail, released on every way out, also when the rig refuses a command.
#include <gtest/gtest.h>

#include "fake_ptt_line.h"
#include "transmitter/keying_sequence.h"

using namespace tonobild;
using namespace tonobild::testdata;

namespace {

class KeyingTest : public ::testing::Test {
protected:
    std::unique_ptr<PttLine> line() { return std::make_unique<FakePttLine>(log_); }
    std::shared_ptr<PttLog> log_ = std::make_shared<PttLog>();
};

// Released from the lead, the samples and the tail; steps 3: by the owner going
// away. Keyed once and released once, also when released twice.
TEST_F(KeyingTest, EveryWayOutReleasesOnceARigThatRefusesLeavesNothingKeyedAndSecondsAreRoundedToWholeMilliseconds)
{
    for (int steps = 0; steps < 4; ++steps) {
        SCOPED_TRACE(steps);
        log_->calls.clear();
        {
            KeyingSequence sequence(line(), 0.5, 1.25);
            EXPECT_EQ(sequence.step(), KeyingStep::Idle);
            sequence.checkLink(); // unkeyed, the rig is not asked
            EXPECT_EQ(sequence.start(), 500);
            EXPECT_EQ(sequence.step(), KeyingStep::Lead);
            EXPECT_TRUE(log_->keyed);
            if (steps == 0) { // a second start, or samples ending before they began, changes nothing
                EXPECT_EQ(sequence.start(), 0);
                EXPECT_EQ(sequence.samplesEnded(), 0);
                EXPECT_EQ(sequence.step(), KeyingStep::Lead);
            }
            if (steps > 0) {
                sequence.leadPassed();
                EXPECT_EQ(sequence.step(), KeyingStep::Playing);
            }
            if (steps == 2) {
                EXPECT_EQ(sequence.samplesEnded(), 1250);
                EXPECT_EQ(sequence.step(), KeyingStep::Tail);
                EXPECT_TRUE(log_->keyed);
            }
            if (steps < 3) {
                EXPECT_EQ(sequence.release() + sequence.release(), ""); // a second release sends nothing
                EXPECT_EQ(sequence.step(), KeyingStep::Idle);
                EXPECT_FALSE(sequence.keyed());
            }
        }
        EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
        EXPECT_FALSE(log_->keyed);
    }

    // Without a rig the steps run the same and wait no lead or tail.
    KeyingSequence unkeyed(nullptr, 0.5, 1.25);
    EXPECT_EQ(unkeyed.start(), 0);
    unkeyed.leadPassed();
    EXPECT_EQ(unkeyed.samplesEnded(), 0);
    EXPECT_EQ(std::pair(unkeyed.step(), unkeyed.keyed()), std::pair(KeyingStep::Tail, false));

    // A rig that refuses to key leaves nothing keyed; a failed release is tried once more, then reported.
    log_->calls.clear();
    log_->failOnCount = 1;
    {
        KeyingSequence sequence(line(), 1, 1);
        EXPECT_THROW(sequence.start(), PttError);
        EXPECT_EQ(sequence.step(), KeyingStep::Idle);
        EXPECT_FALSE(sequence.keyed());
        EXPECT_EQ(sequence.release(), "");
    }
    EXPECT_EQ(log_->calls, (Calls{"on"})); // nothing to release: it never keyed

    log_->calls.clear();
    auto rig = line();
    log_->failOffCount = 1;
    { KeyGuard guard(*rig); }
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "off"}));
    EXPECT_FALSE(log_->keyed);

    log_->calls.clear();
    log_->failOffCount = 2;
    KeyGuard guard(*rig);
    const std::string problem = guard.release();
    EXPECT_NE(problem.find("may still be keyed: Fake rig did not release"), std::string::npos) << problem;
    EXPECT_FALSE(guard.keyed());
    EXPECT_EQ(guard.release(), ""); // reported once; the destructor sends nothing more
    EXPECT_EQ(log_->calls, (Calls{"on", "off", "off"}));

    // The lead and the tail in milliseconds: seconds rounded, not cut.
    for (const auto& [seconds, ms] : {std::pair{0.0, 0}, {0.0004, 0}, {0.0006, 1}, {1.2346, 1235}, {10.0, 10000}})
        EXPECT_EQ(keyingMilliseconds(seconds), ms) << seconds;
}

} // namespace
