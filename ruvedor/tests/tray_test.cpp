// The tray entry over sequences of polls: blinking, out of range, Zazivev running, lost entries.
#include <functional>

#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

std::string Add(int icon, const std::string& tip) {
    return "TrayAdd " + std::to_string(icon) + " icon " + std::to_string(icon) + " tip " + tip;
}
// Every modify goes to the id the entry was added under: 129.
std::string Modify(int icon, const std::string& tip) {
    return "TrayModify 129 icon " + std::to_string(icon) + " tip " + tip;
}

class TraySequence : public MonitorTest {};

TEST_F(TraySequence, FollowsTheLinkAndStandsAsideWhileTheToolRuns) {
    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t runMs;
        std::vector<std::string> calls;
        uint32_t period;
    };
    const auto silence = [this] { emulator->Control("silence 00a0d4010001"); };
    const auto unsilence = [this] { emulator->Control("unsilence 00a0d4010001"); };
    const auto nothing = [] {};
    const std::vector<Step> steps = {
        {"start: added lit by the first text, dark at the first tick",
         [this] { Open(); },
         100,
         {Add(129, kLobbyTip), Modify(137, kLobbyTip)},
         1000},
        {"synchronised: blinks every second",
         nothing,
         2000,
         {Modify(129, kLobbyTip), Modify(137, kLobbyTip)},
         1000},
        {"Master silent: out of range once", silence, 1000, {Modify(130, kOutOfRangeTip)}, 1000},
        {"still out of range: tray left alone", nothing, 3000, {}, 1000},
        {"back in range: blinking again", unsilence, 1000, {Modify(129, kLobbyTip)}, 1000},
        {"tool starts: 133 with the last tip",
         [this] { ToolStarts(); },
         1000,
         {Modify(133, kLobbyTip)},
         10000},
        {"tool still running: tray left alone", nothing, 30000, {}, 10000},
        {"tool ends: live again within 10 s",
         [this] { ToolEnds(); },
         10000,
         {Modify(137, kLobbyTip)},
         1000},
        {"out of range while the tool runs keeps the out-of-range tip",
         [&] {
             silence();
             ui.RunFor(1000);
             ToolStarts();
         },
         1000,
         {Modify(130, kOutOfRangeTip), Modify(133, kOutOfRangeTip)},
         10000},
    };

    Prepare();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const size_t before = TrayCallCount();
        step.act();
        ui.RunFor(step.runMs);
        EXPECT_EQ(TrayCallsFrom(before), step.calls);
        EXPECT_EQ(Period(), step.period);
        EXPECT_EQ(shell.TrayIcons().size(), 1u);
    }
}

TEST_F(TraySequence, TheCardIsNotQueriedWhileTheToolRuns) {
    Start();
    ToolStarts();
    ui.RunFor(1000);
    const uint64_t before = AllRequests();
    ui.RunFor(60000);
    EXPECT_EQ(AllRequests(), before);
    EXPECT_EQ(TrayIconShown(), IDI_UTILITY_RUNNING);
}

struct LostCase {
    const char* what;
    bool outOfRange;
    bool toolRunning;
    bool announceTaskbar;  // the shell's "TaskbarCreated"; else only the next poll notices
    int icon;
    const char* tip;
};

class LostEntry : public MonitorTest, public ::testing::WithParamInterface<LostCase> {};

TEST_P(LostEntry, ComesBack) {
    const LostCase& c = GetParam();
    Start();
    if (c.outOfRange)
        emulator->Control("silence 00a0d4010001");
    if (c.toolRunning)
        ToolStarts();
    ui.RunFor(1000);
    ASSERT_EQ(shell.TrayIcons().size(), 1u);

    shell.ForgetTrayEntries();
    if (c.announceTaskbar) {
        window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    } else {
        ui.RunFor(1000);
    }
    ASSERT_EQ(shell.TrayIcons().size(), 1u);
    const TrayEntry& entry = shell.TrayIcons().begin()->second;
    EXPECT_EQ(entry.iconResourceId, c.icon);
    EXPECT_EQ(entry.tip, c.tip);
    EXPECT_EQ(entry.callbackMessage, kTrayCallbackMessage);

    // And the entry keeps following the link from there.
    ToolEnds();
    emulator->Control("unsilence 00a0d4010001");
    ui.RunFor(10000);
    ASSERT_EQ(shell.TrayIcons().size(), 1u);
    EXPECT_EQ(shell.TrayIcons().begin()->second.tip, kLobbyTip);
}

INSTANTIATE_TEST_SUITE_P(
    Situations, LostEntry,
    ::testing::Values(LostCase{"BlinkingTaskbarRestarted", false, false, true, 137, kLobbyTip},
                      LostCase{"BlinkingEntryLost", false, false, false, 137, kLobbyTip},
                      LostCase{"OutOfRangeTaskbarRestarted", true, false, true, 130,
                               kOutOfRangeTip},
                      LostCase{"ToolRunningTaskbarRestarted", false, true, true, 133, kLobbyTip}),
    [](const ::testing::TestParamInfo<LostCase>& info) { return info.param.what; });

TEST_F(TraySequence, TaskbarMessageWithTheEntryStillThereLeavesOneEntry) {
    Start();
    ui.RunFor(1000);
    window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    EXPECT_EQ(shell.TrayIcons().size(), 1u);
    ui.RunFor(3000);
    EXPECT_EQ(shell.TrayIcons().size(), 1u);
}

TEST_F(TraySequence, RefusedDeleteKeepsTheEntryKnownUntilItGoes) {
    Start();
    ui.RunFor(1000);
    emulator->Control("fault fail cmd=3 status=-9");
    shell.QueueTrayResult(false);  // the back-off's delete
    ui.RunFor(1000);
    EXPECT_NE(TrayIconShown(), 0);
    ui.RunFor(12000);
    EXPECT_EQ(shell.TrayIcons().size(), 1u);
}

TEST_F(TraySequence, EveryCallCarriesTheRecordTheShellNeeds) {
    Start();
    emulator->Control("silence 00a0d4010001");
    ui.RunFor(3000);
    emulator->Control("fault fail cmd=3 status=-9");
    ui.RunFor(1000);
    static_assert(kTrayCallbackMessage == 1124);
    ASSERT_GE(shell.TrayCalls().size(), 3u);
    for (const auto& call : shell.TrayCalls()) {
        const bool deletion = call.kind == RecordingShell::TrayCall::Kind::kDelete;
        EXPECT_EQ(call.entry.flags, deletion ? 0u : 7u);
        if (!deletion)
            EXPECT_EQ(call.entry.callbackMessage, 1124u);
        EXPECT_EQ(call.entry.iconId, shell.TrayCalls().front().entry.iconId);
    }
}

TEST_F(TraySequence, NoEntryIsAddedForTheTaskbarWhileTheDriverIsLost) {
    Start();
    emulator->Control("fault fail cmd=3 status=-9");
    ui.RunFor(1000);
    const size_t mark = TrayCallCount();
    window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    EXPECT_TRUE(TrayCallsFrom(mark).empty());
    EXPECT_EQ(TrayIconShown(), 0);
}

TEST_F(TraySequence, AFailedAddIsTriedAgainAtTheNextTick) {
    Prepare();
    shell.QueueTrayResult(false);  // the add of the first information text
    Open();
    EXPECT_EQ(TrayIconShown(), 0);
    ui.RunFor(100);
    EXPECT_EQ(TrayCallsFrom(1), (std::vector<std::string>{Add(137, kLobbyTip)}));
    EXPECT_EQ(TrayIconShown(), IDI_LINK_DARK);
    ui.RunFor(1000);
    // The entry lives under the id it was added with.
    EXPECT_EQ(TrayCallsFrom(2),
              (std::vector<std::string>{"TrayModify 137 icon 129 tip " + std::string(kLobbyTip)}));
}

TEST(TrayTip, IsCutAtSixtyThreeCharacters) {
    EXPECT_EQ(SynchronisedTip("Lobby"), "Coverage: Normal.  Master Name: Lobby");
    const std::string longName(40, 'n');
    const std::string tip = SynchronisedTip(longName);
    EXPECT_EQ(tip.size(), 63u);
    EXPECT_EQ(tip, ("Coverage: Normal.  Master Name: " + longName).substr(0, 63));
    EXPECT_EQ(TrayTip(std::string(63, 'x')), std::string(63, 'x'));
    EXPECT_EQ(TrayTip(std::string(64, 'x')), std::string(63, 'x'));
}

}  // namespace
}  // namespace vz
