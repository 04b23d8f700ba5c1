// The polling tick: failures and the back-off, the retry window, and a card without a driver.
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
    ASSERT_EQ(emulator->Control(c.fault), "OK");
    const int opens = slot->openAttempts;
    size_t mark = TrayCallCount();
    ui.RunFor(1000);
    const std::vector<std::string> atFailure = {c.channelLost ? "TrayDelete 129 icon 0 tip "
                                                              : "TrayModify 129 icon 130 tip " +
                                                                    std::string(kOutOfRangeTip)};
    EXPECT_EQ(TrayCallsFrom(mark), atFailure);
    EXPECT_EQ(slot->openAttempts - opens, c.channelLost ? 1 : 0);
    EXPECT_EQ(shell.TrayIcons().size(), c.channelLost ? 0u : 1u);
    EXPECT_EQ(Period(), 10000u);

    // Nothing until the ten seconds are over; then the link shows again and 1 s ticks follow.
    mark = TrayCallCount();
    ui.RunFor(9990);
    EXPECT_TRUE(TrayCallsFrom(mark).empty());
    ui.RunFor(10);
    const std::vector<std::string> after = {
        (c.channelLost ? "TrayAdd 129 icon 129 tip " : "TrayModify 129 icon 129 tip ") +
        std::string(kLobbyTip)};
    EXPECT_EQ(TrayCallsFrom(mark), after);
    EXPECT_EQ(Period(), 1000u);
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
    ASSERT_EQ(emulator->Control("master 00a0d4010001 name=\"Hall\""), "OK");
    // The name arrives, the channel does not: the reply counts as failed as a whole.
    ASSERT_EQ(emulator->Control("fault unset-status cmd=3 param=22"), "OK");
    ui.RunFor(1000);
    EXPECT_STREQ(driver->card.masterName, "Lobby");
    ui.RunFor(10000);
    EXPECT_STREQ(driver->card.masterName, "Hall");
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
    Start(kLobby95Scenario);

    // Synchronised: one request a tick, no waiting.
    uint64_t before = Requests(kCmdGetDriverData);
    uint32_t start = clock.NowMs();
    window->FireTimer(StatusMonitorDialog::kPollTimer);
    EXPECT_EQ(Requests(kCmdGetDriverData) - before, 1u);
    EXPECT_EQ(clock.NowMs(), start);

    // Out of range: asked again through the window, with a pause between attempts.
    emulator->Control("silence 00a0d4010001");
    before = Requests(kCmdGetDriverData);
    start = clock.NowMs();
    window->FireTimer(StatusMonitorDialog::kPollTimer);
    const uint64_t attempts = Requests(kCmdGetDriverData) - before;
    EXPECT_EQ(attempts, c.windowMs / StatusMonitorDialog::kRetryPauseMs + 1);
    EXPECT_LE(attempts, uint64_t(StatusMonitorDialog::kMaxAttemptsPerTick));
    EXPECT_EQ(clock.NowMs() - start, c.windowMs);
    EXPECT_EQ(TrayIconShown(), IDI_OUT_OF_RANGE);
}

INSTANTIATE_TEST_SUITE_P(StationTypes, RetryWindow,
                         ::testing::Values(WindowCase{nullptr, 100}, WindowCase{"0", 100},
                                           WindowCase{"1", 200}, WindowCase{"2", 100}));

TEST_F(Polling, APcCardWithoutDriverWaitsWithoutTrayIconAndShowsUpOnceInserted) {
    InstallAdapter95("PCMCIA");
    Prepare(kLobby95Scenario);
    slot->inserted = false;
    std::string message;
    ui.ExpectModal(IDD_MONITOR_ERROR, [&](Dialog&, HeadlessHost& box) {
        message = box.GetItemText(IDC_MONITOR_ERROR_TEXT);
        box.Click(kIdOk);
    });
    Open();
    EXPECT_EQ(message,
              "Unable to access Vezurez Windows 95 driver. Verify that the driver is installed and "
              "configured properly.\nAlso verify that the VezurezAPI protocol has been installed."
              "\n\nThe Vezurez Status Monitor will not be loaded");
    EXPECT_FALSE(window->Ended());
    EXPECT_EQ(Period(), 100u);

    // Every ten seconds the driver is opened again; there is no tray entry meanwhile.
    for (int pass = 0; pass < 3; ++pass) {
        const int opens = slot->openAttempts;
        ui.RunFor(pass == 0 ? 100 : 10000);
        EXPECT_EQ(slot->openAttempts - opens, 1);
        EXPECT_EQ(Period(), 10000u);
    }
    EXPECT_EQ(TrayCallCount(), 0u);
    EXPECT_FALSE(window->IsWindowVisible());

    slot->inserted = true;
    ui.RunFor(10000);  // this tick opens the driver
    EXPECT_EQ(TrayCallCount(), 0u);
    EXPECT_NE(driver->handle, kInvalidDeviceHandle);
    ui.RunFor(10000);  // and the following one shows the card
    EXPECT_EQ(TrayCallsFrom(0),
              (std::vector<std::string>{"TrayAdd 129 icon 129 tip " + std::string(kLobbyTip)}));
    EXPECT_EQ(Period(), 1000u);
}

}  // namespace
}  // namespace vz
