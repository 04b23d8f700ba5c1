// The polling tick, the tray entry and the information window's text over one run of polls
// (blinking, out of range, failed reads, Zazivev running, lost entries), the retry window, the
// tip's length, and a double click on the entry: finding zazivev.exe and starting it.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

constexpr int kLit = IDI_LINK_LIT;
constexpr int kDark = IDI_LINK_DARK;
constexpr int kOut = IDI_OUT_OF_RANGE;
constexpr int kTool = IDI_UTILITY_RUNNING;
constexpr char kHallTip[] = "Coverage: Normal.  Master Name: Hall";
constexpr char kOutTip[] = "Out of Range of Master";

using TraySequence = MonitorTest;

TEST_F(TraySequence, FollowsTheLinkAndKeepsOneEntryAlive) {
    Prepare();
    shell.QueueTrayResult(false);
    Open();
    Step("the first add refused: made at the first tick", 100,
         {Added(kLit, kLobbyTip), Added(kDark, kLobbyTip)}, kLive);
    Step("blinking", 2000, {Modified(kLit, kLobbyTip), Modified(kDark, kLobbyTip)}, kLive);
    EXPECT_EQ(RightClickText(), kDriverLine + (kLiveNode + kSynchronised));
    EXPECT_EQ(ui.Foreground(), window->Window());
    emulator->Control("master 00a0d4010001 name=\"Hall\"");
    // The name arrives, the channel does not: the reply counts as failed as a whole.
    InjectFault("fault unset-status cmd=3 param=22");
    Step("half an answer: out of range, then back-off", 1000, {Modified(kOut, kOutTip)}, kBackOff);
    EXPECT_STREQ(driver->card.masterName, "Lobby");
    Step("after the back-off the link shows again", kBackOff + kLive,
         {Modified(kLit, kHallTip), Modified(kDark, kHallTip)}, kLive);
    emulator->Control("master 00a0d4010001 name=\"Lobby\"");
    emulator->Control(kSilenceLobby);
    Step("Master silent: out of range once", 1000, {Modified(kOut, kOutTip)}, kLive);
    InjectFault("fault fail cmd=2 status=-1");
    InjectFault("fault unset-status cmd=3 param=18 nth=2");
    // The driver version line needs a successful read; the ROM version keeps its last text.
    EXPECT_EQ(RightClickText(), kLiveNode + kNoMaster);
    Step("still out of range: left alone", 3000, {}, kLive);
    emulator->Control(kUnsilenceLobby);
    Step("back in range: blinking again", 1000, {Modified(kLit, kLobbyTip)}, kLive);
    ToolStarts();
    Step("tool starts: its icon, last tip", 1000, {Modified(kTool, kLobbyTip)}, kStatic, false);
    // The static form of the window's text makes no driver call at all.
    EXPECT_EQ(RightClickText(), kStaticLine + (kDriverLine + (kStaticNode + kSynchronised)));
    Step("tool runs: card and tray left alone", 30000, {}, kStatic, false);
    ToolEnds();
    Step("tool ends: live again within 10 s", 10000, {Modified(kDark, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    ui.RunFor(1000);
    ToolStarts();
    Step("out of range while the tool runs keeps the out-of-range tip", 1000,
         {Modified(kOut, kOutTip), Modified(kTool, kOutTip)}, kStatic);
    EXPECT_EQ(RightClickText(), kStaticLine + (kDriverLine + (kStaticNode + kNoMaster)));
    TaskbarRestarts();
    Step("taskbar restarted while the tool runs", 0,
         {Deleted(kDark), Added(kTool, "", 0), Modified(kTool, kOutTip, kTool)}, kStatic, false);
    ToolEnds();
    Step("tool ends: live, still out of range", kStatic, {Modified(kOut, kOutTip, kTool)}, kLive);
    emulator->Control(kUnsilenceLobby);
    shell.ForgetTrayEntries();
    Step("entry lost while blinking: made anew at the next tick", 1000,
         {Modified(kLit, kLobbyTip, kTool), Deleted(kTool), Added(kLit, kLobbyTip)}, kLive);
    emulator->Control(kSilenceLobby);
    ui.RunFor(1000);
    TaskbarRestarts();
    Step("taskbar restarted while out of range", 0,
         {Modified(kOut, kOutTip, kLit), Deleted(kLit), Added(kOut, kOutTip)}, kLive);
    window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    Step("taskbar message, entry kept", 0, {Deleted(kOut), Added(kOut, kOutTip)}, kLive, false);
    InjectFault("fault fail cmd=3 status=-9");
    Step("driver lost: entry deleted", 1000, {Deleted(kOut)}, kBackOff, true, 0);
    TaskbarRestarts();
    Step("taskbar message while the driver is lost", 0, {}, kBackOff, false, 0);
    emulator->Control(kUnsilenceLobby);
    ui.RunFor(kBackOff);
    emulator->Control("master 00a0d4010001 name=\"Hall\"");
    TrayMouse(kWmRButtonDown);
    Step("back after the back-off; a renamed Master shows at once on a right click", 0,
         {Added(kDark, kLobbyTip), Modified(kLit, kHallTip)}, kLive);
}

struct RetryCase {
    const char* stationType;  // as stored; null: not stored
    uint32_t windowMs;
    uint64_t asksOutOfRange;
};

class RetryWindow : public MonitorTest, public ::testing::WithParamInterface<RetryCase> {};

// Synchronised, one request and no waiting; out of range, asked again through the window, one
// request every 100 ms.
TEST_P(RetryWindow, StaysShortAndAsksTheCardOnlyAFewTimes) {
    const RetryCase& c = GetParam();
    InstallAdapter95("PCMCIA", c.stationType);
    Start(kLobby95);
    for (const bool silent : {false, true}) {
        if (silent) {
            emulator->Control(kSilenceLobby);
        }
        const uint64_t before = emulator->Counters().requests[kCmdGetDriverData];
        const uint32_t start = clock.NowMs();
        window->FireTimer(StatusMonitorDialog::kPollTimer);
        EXPECT_EQ(emulator->Counters().requests[kCmdGetDriverData] - before,
                  silent ? c.asksOutOfRange : 1);
        EXPECT_EQ(clock.NowMs() - start, silent ? c.windowMs : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(StationTypes, RetryWindow,
                         ::testing::Values(RetryCase{nullptr, 100, 2}, RetryCase{"1", 200, 3},
                                           RetryCase{"2", 100, 2}));

TEST(TrayTip, IsCutAtSixtyThreeCharacters) {
    const std::string longName(40, 'n');
    EXPECT_EQ(SynchronisedTip(longName),
              ("Coverage: Normal.  Master Name: " + longName).substr(0, 63));
    EXPECT_EQ(TrayTip(std::string(63, 'x')), std::string(63, 'x'));
}

struct SearchCase {
    const char* path;  // the PATH variable; null: not set
    std::vector<std::string> files;
    std::string found;  // empty: nothing is started
};

class StartTool : public MonitorTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(StartTool, SearchesCurrentDirectoryThenPathAndStartsWithoutWaiting) {
    const SearchCase& c = GetParam();
    Start();
    shell.SetCurrentDirectory("C:\\work");
    if (c.path != nullptr) {
        shell.SetEnvironmentVariable("PATH", c.path);
    }
    for (const std::string& file : c.files) {
        shell.AddFile(file);
    }
    ui.RunFor(kLive / 2);
    TrayMouse(kWmLButtonDblClk);
    EXPECT_EQ(shell.Started().size(), c.found.empty() ? 0u : 1u);
    if (!c.found.empty()) {
        EXPECT_EQ(shell.Started()[0].applicationPath, c.found);
        EXPECT_EQ(shell.Started()[0].commandLine, c.found + " _spawnlp two");
    }
    // The poll timer starts again from the double click: no tick for a second.
    const uint64_t requests = AllRequests();
    ui.RunFor(kLive - 1);
    EXPECT_EQ(AllRequests(), requests);
    ui.RunFor(1);
    EXPECT_NE(AllRequests(), requests);
}

// The current directory (C:\work) first, then PATH in order: empty entries skipped, an entry
// ending in a separator or naming only a drive joined as it is.
INSTANTIATE_TEST_SUITE_P(
    Places, StartTool,
    ::testing::Values(SearchCase{"C:\\bin",
                                 {"C:\\work\\zazivev.exe", "C:\\bin\\zazivev.exe"},
                                 "C:\\work\\zazivev.exe"},
                      SearchCase{"C:\\bin;;F:/apps/;E:",
                                 {"F:/apps/zazivev.exe", "E:zazivev.exe"},
                                 "F:/apps/zazivev.exe"},
                      SearchCase{"C:\\bin;D:\\tools\\;E:", {"E:zazivev.exe"}, "E:zazivev.exe"},
                      SearchCase{nullptr, {"C:\\zazivev.exe"}, ""}));

}  // namespace
}  // namespace vz
