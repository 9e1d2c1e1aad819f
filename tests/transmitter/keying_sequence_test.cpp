// The keying steps and the guard: keyed for the lead, the samples and the
// tail, released on every way out, also when the rig refuses a command.
#include <gtest/gtest.h>

#include "fake_ptt_line.h"
#include "transmitter/keying_sequence.h"

using namespace tonobild;
using namespace tonobild::testdata;

// Released from the lead, the samples and the tail; steps 3: by the owner going
// away. Keyed once and released once, also when released twice.
TEST(KeyingTest, EveryWayOutReleasesOnceARigThatRefusesLeavesNothingKeyedAndSecondsAreRoundedToWholeMilliseconds)
{
    const auto log = std::make_shared<PttLog>();
    for (int steps = 0; steps < 4; ++steps) {
        SCOPED_TRACE(steps);
        log->calls.clear();
        {
            KeyingSequence sequence(std::make_unique<FakePttLine>(log), 0.5, 1.25);
            sequence.checkLink(); // unkeyed, the rig is not asked
            EXPECT_EQ((std::tuple{sequence.step(), sequence.start()}), std::tuple(KeyingStep::Idle, 500)); // then keyed
            EXPECT_EQ(std::pair(sequence.step(), log->keyed), std::pair(KeyingStep::Lead, true));
            if (steps == 0) { // a second start, or samples ending before they began, changes nothing
                EXPECT_EQ((std::tuple{sequence.start(), sequence.samplesEnded(), sequence.step()}),
                          std::tuple(0, 0, KeyingStep::Lead));
            } else {
                sequence.leadPassed();
                EXPECT_EQ(sequence.step(), KeyingStep::Playing);
            }
            if (steps == 2) {
                EXPECT_EQ((std::tuple{sequence.samplesEnded(), sequence.step(), log->keyed}),
                          std::tuple(1250, KeyingStep::Tail, true));
            }
            if (steps < 3) { // a second release sends nothing
                EXPECT_EQ((std::tuple{sequence.release() + sequence.release(), sequence.step(), sequence.keyed()}),
                          std::tuple("", KeyingStep::Idle, false));
            }
        }
        EXPECT_EQ(std::pair(log->calls, log->keyed), std::pair(Calls{"on", "off"}, false));
    }

    // Without a rig the steps run the same and wait no lead or tail.
    KeyingSequence unkeyed(nullptr, 0.5, 1.25);
    EXPECT_EQ(unkeyed.start(), 0);
    unkeyed.leadPassed();
    EXPECT_EQ((std::tuple{unkeyed.samplesEnded(), unkeyed.step(), unkeyed.keyed()}),
              std::tuple(0, KeyingStep::Tail, false));

    // A rig that refuses to key leaves nothing keyed; a failed release is tried once more, then reported.
    *log = {.calls = {}, .failOnCount = 1};
    {
        KeyingSequence sequence(std::make_unique<FakePttLine>(log), 1, 1);
        EXPECT_THROW(sequence.start(), PttError);
        EXPECT_EQ((std::tuple{sequence.step(), sequence.keyed(), sequence.release()}),
                  std::tuple(KeyingStep::Idle, false, ""));
    }
    EXPECT_EQ(log->calls, (Calls{"on"})); // nothing to release: it never keyed

    FakePttLine rig(log);
    *log = {.calls = {}, .failOffCount = 1};
    { KeyGuard guard(rig); }
    EXPECT_EQ(std::pair(log->calls, log->keyed), std::pair(Calls{"on", "off", "off"}, false));

    *log = {.calls = {}, .failOffCount = 2};
    KeyGuard guard(rig);
    const std::string problem = guard.release();
    EXPECT_NE(problem.find("may still be keyed: Fake rig did not release"), std::string::npos) << problem;
    // Reported once; the destructor sends nothing more.
    EXPECT_EQ((std::tuple{guard.keyed(), guard.release(), log->calls}),
              std::tuple(false, "", Calls{"on", "off", "off"}));

    // The lead and the tail in milliseconds: seconds rounded, not cut.
    for (const auto& [seconds, ms] : {std::pair{0.0, 0}, {0.0004, 0}, {0.0006, 1}, {1.2346, 1235}, {10.0, 10000}})
        EXPECT_EQ(keyingMilliseconds(seconds), ms) << seconds;
}
