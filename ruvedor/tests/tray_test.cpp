// The tray entry over one run of polls: blinking, out of range, Zazivev running, lost entries.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

constexpr int kLit = IDI_LINK_LIT;
constexpr int kDark = IDI_LINK_DARK;
constexpr int kOut = IDI_OUT_OF_RANGE;
constexpr int kTool = IDI_UTILITY_RUNNING;

class TraySequence : public MonitorTest {
  protected:
    void TaskbarRestarts() {
        shell.ForgetTrayEntries();
        window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    }
};

TEST_F(TraySequence, FollowsTheLinkAndKeepsOneEntryAlive) {
    constexpr uint32_t kStatic = StatusMonitorDialog::kStaticPeriodMs;
    constexpr uint32_t kLive = StatusMonitorDialog::kLivePeriodMs;
    Prepare();
    shell.QueueTrayResult(false);
    Open();
    Step("the first text's add refused, made at the first tick", 100,
         {Added(kLit, kLobbyTip), Added(kDark, kLobbyTip)}, kLive);
    Step("synchronised: blinks every second", 2000,
         {Modified(kLit, kLobbyTip), Modified(kDark, kLobbyTip)}, kLive);
    InjectFault("fault fail cmd=3 status=-1");
    Step("a refused request reads as out of range, then ten seconds' back-off", 1000,
         {Modified(kOut, kOutOfRangeTip)}, StatusMonitorDialog::kBackOffMs);
    Step("after the back-off the link shows again", StatusMonitorDialog::kBackOffMs + kLive,
         {Modified(kLit, kLobbyTip), Modified(kDark, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    Step("Master silent: out of range once", 1000, {Modified(kOut, kOutOfRangeTip)}, kLive);
    Step("still out of range: left alone", 3000, {}, kLive);
    emulator->Control(kUnsilenceLobby);
    Step("back in range: blinking again", 1000, {Modified(kLit, kLobbyTip)}, kLive);
    ToolStarts();
    Step("tool starts: its icon with the last tip", 1000, {Modified(kTool, kLobbyTip)}, kStatic,
         false);
    Step("tool runs: card and tray left alone", 30000, {}, kStatic, false);
    ToolEnds();
    Step("tool ends: live again within 10 s", 10000, {Modified(kDark, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    ui.RunFor(1000);
    ToolStarts();
    Step("out of range while the tool runs keeps the out-of-range tip", 1000,
         {Modified(kOut, kOutOfRangeTip), Modified(kTool, kOutOfRangeTip)}, kStatic);
    TaskbarRestarts();
    Step("taskbar restarted while the tool runs", 0,
         {Deleted(kDark), Added(kTool, "", 0), Modified(kTool, kOutOfRangeTip, kTool)}, kStatic,
         false);
    ToolEnds();
    Step("tool ends: live again, still out of range", kStatic,
         {Modified(kOut, kOutOfRangeTip, kTool)}, kLive);
    emulator->Control(kUnsilenceLobby);
    shell.ForgetTrayEntries();
    Step("entry lost while blinking: made anew at the next tick", 1000,
         {Modified(kLit, kLobbyTip, kTool), Deleted(kTool), Added(kLit, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    ui.RunFor(1000);
    TaskbarRestarts();
    Step("taskbar restarted while out of range", 0,
         {Modified(kOut, kOutOfRangeTip, kLit), Deleted(kLit), Added(kOut, kOutOfRangeTip)}, kLive);
    window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    Step("taskbar message with the entry still there", 0,
         {Deleted(kOut), Added(kOut, kOutOfRangeTip)}, kLive, false);
    InjectFault("fault fail cmd=3 status=-9");
    Step("driver lost: entry deleted", 1000, {Deleted(kOut)}, StatusMonitorDialog::kBackOffMs, true,
         0);
    TaskbarRestarts();
    Step("taskbar message while the driver is lost", 0, {}, StatusMonitorDialog::kBackOffMs, false,
         0);
    emulator->Control(kUnsilenceLobby);
    ui.RunFor(StatusMonitorDialog::kBackOffMs);
    emulator->Control("master 00a0d4010001 name=\"Hall\"");
    TrayMouse(kWmRButtonDown);
    Step("back after the back-off; a renamed Master shows at once on a right click", 0,
         {Added(kDark, kLobbyTip), Modified(kLit, "Coverage: Normal.  Master Name: Hall")}, kLive);
}

TEST(TrayTip, IsCutAtSixtyThreeCharacters) {
    const std::string longName(40, 'n');
    EXPECT_EQ(SynchronisedTip(longName),
              ("Coverage: Normal.  Master Name: " + longName).substr(0, 63));
    EXPECT_EQ(TrayTip(std::string(63, 'x')), std::string(63, 'x'));
}

}  // namespace
}  // namespace vz
