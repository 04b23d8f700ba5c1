// Start-up and end of the monitor: one copy per desktop, no driver, the window's buttons.
#include "ruvedor/app/monitor_app.h"
#include "ruvedor/monitor/monitor_error_dialog.h"
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

TEST(MonitorApp, ASecondStartRaisesTheFirstWithoutShowingAHiddenWindow) {
    struct Case {
        bool running;
        bool minimised;
        std::vector<std::string> actions;
    };
    for (const Case& c : {Case{false, false, {}}, Case{true, false, {"BringToForeground 0x51"}},
                          Case{true, true, {"Restore 0x51"}}}) {
        RecordingShell shell;
        shell.AddWindow("Vezurez Site Survey & Configuration Tool", 0x50);
        if (c.running)
            shell.AddWindow("Vezurez Status Monitor Information", 0x51, c.minimised);
        EXPECT_EQ(MonitorApp::RaiseRunningMonitor(shell), c.running);
        std::vector<std::string> actions;
        for (const std::string& call : shell.Calls()) {
            if (call.rfind("Restore", 0) == 0 || call.rfind("BringToForeground", 0) == 0)
                actions.push_back(call);
        }
        EXPECT_EQ(actions, c.actions);
    }
}

struct NoDriverCase {
    const char* what;
    const char* scenario;
    const char* cardType;  // null: no adapter key found
    bool keepsRunning;
    std::string message;
};

const char k95Message[] =
    "Unable to access Vezurez Windows 95 driver. Verify that the driver is installed and "
    "configured properly.\nAlso verify that the VezurezAPI protocol has been installed.\n\nThe "
    "Vezurez Status Monitor will not be loaded";
const char kNtMessage[] =
    "\n\nUnable to access Vezurez Windows NT driver. Verify that the driver is installed and "
    "configured properly.\n\nThe Vezurez Status Monitor will not be loaded";

class NoDriver : public MonitorTest, public ::testing::WithParamInterface<NoDriverCase> {};

TEST_P(NoDriver, ShowsTheErrorAndEndsWithZeroUnlessItIsAPcCard) {
    const NoDriverCase& c = GetParam();
    if (c.cardType != nullptr)
        InstallAdapter95(c.cardType);
    Prepare(c.scenario);
    slot->inserted = false;
    std::string message;
    ui.ExpectModal(IDD_MONITOR_ERROR, [&](Dialog&, HeadlessHost& box) {
        message = box.GetItemText(IDC_MONITOR_ERROR_TEXT);
        box.Click(kIdOk);
    });
    bool ended = false;
    const int exitCode = MonitorApp(*context).Run([&](Dialog& monitor) {
        HeadlessHost& host = ui.Open(monitor);
        ended = !host.IsOpen();
        return host.EndCode();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(ended, !c.keepsRunning);
    EXPECT_EQ(shell.TrayCalls().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Adapters, NoDriver,
    ::testing::Values(
        NoDriverCase{"NtFindsNoAdapter", kLobbyScenario, nullptr, false, kNtMessage},
        NoDriverCase{"Windows95OtherCard", kLobby95Scenario, "ISA", false, k95Message},
        NoDriverCase{"LowerCasePcmciaIsNoPcCard", kLobby95Scenario, "pcmcia", false, k95Message},
        NoDriverCase{"Windows95PcCard", kLobby95Scenario, "PCMCIA", true, k95Message}),
    [](const ::testing::TestParamInfo<NoDriverCase>& info) { return info.param.what; });

TEST(StartupErrorMessage, OldWindows95TakesTheNtWording) {
    EXPECT_EQ(StartupErrorMessage(SystemVersion{kPlatformWindows95, 3}), kNtMessage);
    EXPECT_EQ(StartupErrorMessage(SystemVersion{kPlatformWin32s, 4}), kNtMessage);
}

class MonitorWindow : public MonitorTest {};

TEST_F(MonitorWindow, HideCloseBoxAndEscapeOnlyHideIt) {
    Start();
    for (int way = 0; way < 3; ++way) {
        TrayMouse(kRightButtonDown);
        ASSERT_TRUE(window->IsWindowVisible());
        if (way == 0)
            window->Click(IDC_MONITOR_HIDE);
        if (way == 1)
            window->PressCloseBox();
        if (way == 2)
            window->PressEscape();
        ui.Settle();
        EXPECT_FALSE(window->IsWindowVisible()) << way;
        EXPECT_TRUE(window->IsOpen()) << way;
    }
    const size_t mark = TrayCallCount();
    ui.RunFor(1000);
    EXPECT_EQ(TrayCallsFrom(mark).size(), 1u);  // polling goes on
    EXPECT_EQ(shell.TrayIcons().size(), 1u);
}

TEST_F(MonitorWindow, RemoveTakesTheEntryAwayAndEnds) {
    Start();
    TrayMouse(kRightButtonDown);
    window->Click(kIdOk);
    ui.Settle();
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->EndCode(), kIdOk);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_TRUE(shell.TrayIcons().empty());
    EXPECT_TRUE(ContainsInOrder(shell.Calls(),
                                {"TrayDelete 129 icon 0 flags 0 tip ", "QuitHelpEngine 0x10000"}));
}

TEST_F(MonitorWindow, SystemMenuHasAboutAndTheWindowItsIcon) {
    Start();
    ASSERT_GE(window->SystemMenu().size(), 2u);
    EXPECT_TRUE(window->SystemMenu()[window->SystemMenu().size() - 2].separator);
    EXPECT_EQ(window->SystemMenu().back().text, "&About Vezurez Status Monitor...");
    EXPECT_EQ(window->SystemMenu().back().commandId, uint32_t(IDM_ABOUTBOX));
    EXPECT_EQ(window->Icon(), IDI_MONITOR);
    bool shown = false;
    ui.ExpectModal(IDD_ABOUTBOX, [&](Dialog&, HeadlessHost& about) {
        shown = true;
        about.Click(kIdOk);
    });
    EXPECT_TRUE(window->FireSysCommand(IDM_ABOUTBOX | 0x5));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window->FireSysCommand(kScMinimize));
}

}  // namespace
}  // namespace vz
