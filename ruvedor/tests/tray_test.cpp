// The tray entry over one run of polls: blinking, out of range, Zazivev running, lost entries.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

constexpr int kLit = IDI_LINK_LIT;
constexpr int kDark = IDI_LINK_DARK;
constexpr int kOut = IDI_OUT_OF_RANGE;
constexpr int kTool = IDI_UTILITY_RUNNING;

std::string Add(int icon, const std::string& tip, int iconShown = -1) {
    return "TrayAdd " + std::to_string(icon) + " icon " +
           std::to_string(iconShown < 0 ? icon : iconShown) + " tip " + tip;
}
// The entry keeps the id it was added under.
std::string Modify(int icon, const std::string& tip, int id = kDark) {
    return "TrayModify " + std::to_string(id) + " icon " + std::to_string(icon) + " tip " + tip;
}
std::string Delete(int id) {
    return "TrayDelete " + std::to_string(id) + " icon 0 tip ";
}

class TraySequence : public MonitorTest {
  protected:
    // Runs the clock for `runMs`, then checks the tray calls and card requests since the last
    // step, the poll period and the entries the shell holds, and every call's record.
    void Step(const char* what, uint32_t runMs, const std::vector<std::string>& calls,
              uint32_t period, bool asksCard = true, size_t entries = 1) {
        SCOPED_TRACE(what);
        ui.RunFor(runMs);
        EXPECT_EQ(TrayCallsFrom(mark_), calls);
        EXPECT_EQ(Period(), period);
        EXPECT_EQ(AllRequests() != requests_, asksCard);
        EXPECT_EQ(shell.TrayIcons().size(), entries);
        for (; mark_ < TrayCallCount(); ++mark_) {
            const auto& call = shell.TrayCalls()[mark_];
            const bool deletion = call.kind == RecordingShell::TrayCall::Kind::kDelete;
            EXPECT_EQ(call.entry.flags,
                      deletion ? 0 : kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip);
            EXPECT_EQ(call.entry.callbackMessage, deletion ? 0 : kTrayCallbackMessage);
        }
        requests_ = AllRequests();
    }
    void TaskbarRestarts() {
        shell.ForgetTrayEntries();
        window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    }

    size_t mark_ = 0;
    uint64_t requests_ = 0;
};

TEST_F(TraySequence, FollowsTheLinkAndKeepsOneEntryAlive) {
    constexpr uint32_t kStatic = StatusMonitorDialog::kStaticPeriodMs;
    constexpr uint32_t kLive = StatusMonitorDialog::kLivePeriodMs;
    Prepare();
    shell.QueueTrayResult(false);
    Open();
    Step("the first text's add refused, made at the first tick", 100,
         {Add(kLit, kLobbyTip), Add(kDark, kLobbyTip)}, kLive);
    Step("synchronised: blinks every second", 2000,
         {Modify(kLit, kLobbyTip), Modify(kDark, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    Step("Master silent: out of range once", 1000, {Modify(kOut, kOutOfRangeTip)}, kLive);
    Step("still out of range: left alone", 3000, {}, kLive);
    emulator->Control(kUnsilenceLobby);
    Step("back in range: blinking again", 1000, {Modify(kLit, kLobbyTip)}, kLive);
    ToolStarts();
    Step("tool starts: its icon with the last tip", 1000, {Modify(kTool, kLobbyTip)}, kStatic,
         false);
    Step("tool runs: card and tray left alone", 30000, {}, kStatic, false);
    ToolEnds();
    Step("tool ends: live again within 10 s", 10000, {Modify(kDark, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    ui.RunFor(1000);
    ToolStarts();
    Step("out of range while the tool runs keeps the out-of-range tip", 1000,
         {Modify(kOut, kOutOfRangeTip), Modify(kTool, kOutOfRangeTip)}, kStatic);
    TaskbarRestarts();
    Step("taskbar restarted while the tool runs", 0,
         {Delete(kDark), Add(kTool, "", 0), Modify(kTool, kOutOfRangeTip, kTool)}, kStatic, false);
    ToolEnds();
    Step("tool ends: live again, still out of range", kStatic,
         {Modify(kOut, kOutOfRangeTip, kTool)}, kLive);
    emulator->Control(kUnsilenceLobby);
    shell.ForgetTrayEntries();
    Step("entry lost while blinking: made anew at the next tick", 1000,
         {Modify(kLit, kLobbyTip, kTool), Delete(kTool), Add(kLit, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    ui.RunFor(1000);
    TaskbarRestarts();
    Step("taskbar restarted while out of range", 0,
         {Modify(kOut, kOutOfRangeTip, kLit), Delete(kLit), Add(kOut, kOutOfRangeTip)}, kLive);
    window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    Step("taskbar message with the entry still there", 0, {Delete(kOut), Add(kOut, kOutOfRangeTip)},
         kLive, false);
    InjectFault("fault fail cmd=3 status=-9");
    Step("driver lost: entry deleted", 1000, {Delete(kOut)}, StatusMonitorDialog::kBackOffMs, true,
         0);
    TaskbarRestarts();
    Step("taskbar message while the driver is lost", 0, {}, StatusMonitorDialog::kBackOffMs, false,
         0);
    emulator->Control(kUnsilenceLobby);
    ui.RunFor(StatusMonitorDialog::kBackOffMs);
    emulator->Control("master 00a0d4010001 name=\"Hall\"");
    TrayMouse(kWmRButtonDown);
    Step("back after the back-off; a renamed Master shows at once on a right click", 0,
         {Add(kDark, kLobbyTip), Modify(kLit, "Coverage: Normal.  Master Name: Hall")}, kLive);
}

TEST(TrayTip, IsCutAtSixtyThreeCharacters) {
    const std::string longName(40, 'n');
    EXPECT_EQ(SynchronisedTip(longName),
              ("Coverage: Normal.  Master Name: " + longName).substr(0, 63));
    EXPECT_EQ(TrayTip(std::string(63, 'x')), std::string(63, 'x'));
}

}  // namespace
}  // namespace vz
