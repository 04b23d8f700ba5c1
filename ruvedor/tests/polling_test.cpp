// The polling tick: half an answer, and the retry window.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

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
                      WindowCase{"1", StatusMonitorDialog::kRetryWindowAlternateMasterMs},
                      WindowCase{"2", StatusMonitorDialog::kRetryWindowMs}));

}  // namespace
}  // namespace vz
