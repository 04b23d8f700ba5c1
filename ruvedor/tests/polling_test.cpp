// The polling tick: failures and the back-off, half an answer, and the retry window.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

struct FailureCase {
    const char* fault;
    bool channelLost;  // -9: entry deleted and driver reopened; else out of range
};

class PollFailure : public MonitorTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PollFailure, BacksOffForTenSeconds) {
    const FailureCase& c = GetParam();
    Start();
    InjectFault(c.fault);
    const int opens = slot->openAttempts;
    size_t mark = TrayCallCount();
    ui.RunFor(StatusMonitorDialog::kLivePeriodMs);
    EXPECT_EQ(TrayCallsFrom(mark),
              std::vector<std::string>{c.channelLost ? "TrayDelete 129 icon 0 tip "
                                                     : "TrayModify 129 icon 130 tip " +
                                                           std::string(kOutOfRangeTip)});
    EXPECT_EQ(slot->openAttempts - opens, c.channelLost ? 1 : 0);
    EXPECT_EQ(Period(), StatusMonitorDialog::kBackOffMs);

    // Nothing until the ten seconds are over; then the link shows again and 1 s ticks follow.
    mark = TrayCallCount();
    ui.RunFor(StatusMonitorDialog::kBackOffMs - 10);
    EXPECT_TRUE(TrayCallsFrom(mark).empty());
    ui.RunFor(10);
    EXPECT_EQ(TrayCallsFrom(mark),
              std::vector<std::string>{
                  (c.channelLost ? "TrayAdd 129 icon 129 tip " : "TrayModify 129 icon 129 tip ") +
                  std::string(kLobbyTip)});
    EXPECT_EQ(Period(), StatusMonitorDialog::kLivePeriodMs);
}

INSTANTIATE_TEST_SUITE_P(Faults, PollFailure,
                         ::testing::Values(FailureCase{"fault fail cmd=3 status=-9", true},
                                           FailureCase{"fault drop cmd=3", true},
                                           FailureCase{"fault fail cmd=3 status=-1", false},
                                           FailureCase{"fault unset-status cmd=3 param=19",
                                                       false}));

class Polling : public MonitorTest {};

TEST_F(Polling, HalfAnAnswerLeavesTheLastCompleteDataShown) {
    Start();
    emulator->Control("master 00a0d4010001 name=\"Hall\"");
    // The name arrives, the channel does not: the reply counts as failed as a whole.
    InjectFault("fault unset-status cmd=3 param=22");
    ui.RunFor(StatusMonitorDialog::kLivePeriodMs);
    EXPECT_STREQ(driver->card.masterName, "Lobby");
    ui.RunFor(StatusMonitorDialog::kBackOffMs);
    EXPECT_EQ(shell.TrayIcons().begin()->second.tip, "Coverage: Normal.  Master Name: Hall");
}

struct WindowCase {
    const char* stationType;  // as stored; null: not stored
    uint32_t windowMs;
};

class RetryWindow : public MonitorTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(RetryWindow, StaysShortAndAsksTheCardOnlyAFewTimes) {
    const WindowCase& c = GetParam();
    InstallAdapter95("PCMCIA", c.stationType);
    Start(OnWindows95());
    // Synchronised: one request, no waiting. Out of range: asked again through the window.
    for (const bool silent : {false, true}) {
        if (silent) {
            emulator->Control(kSilenceLobby);
        }
        const uint64_t before = emulator->Counters().requests[kCmdGetDriverData];
        const uint32_t start = clock.NowMs();
        window->FireTimer(StatusMonitorDialog::kPollTimer);
        EXPECT_EQ(emulator->Counters().requests[kCmdGetDriverData] - before,
                  silent ? c.windowMs / StatusMonitorDialog::kRetryPauseMs + 1 : 1);
        EXPECT_EQ(clock.NowMs() - start, silent ? c.windowMs : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    StationTypes, RetryWindow,
    ::testing::Values(WindowCase{nullptr, StatusMonitorDialog::kRetryWindowMs},
                      WindowCase{"0", StatusMonitorDialog::kRetryWindowMs},
                      WindowCase{"1", StatusMonitorDialog::kRetryWindowAlternateMasterMs},
                      WindowCase{"2", StatusMonitorDialog::kRetryWindowMs}));

}  // namespace
}  // namespace vz
