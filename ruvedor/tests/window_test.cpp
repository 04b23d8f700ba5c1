// The information window: start-up with and without a driver, its buttons and system menu. (One
// copy per desktop is the shared running-copy rule, checked from outside by the end-to-end cases.)
#include "ruvedor/app/monitor_app.h"
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

const char k95Message[] =
    "Unable to access Vezurez Windows 95 driver. Verify that the driver is installed and "
    "configured properly.\nAlso verify that the VezurezAPI protocol has been installed.\n\nThe "
    "Vezurez Status Monitor will not be loaded";
const char kNtMessage[] =
    "\n\nUnable to access Vezurez Windows NT driver. Verify that the driver is installed and "
    "configured properly.\n\nThe Vezurez Status Monitor will not be loaded";

struct NoDriverCase {
    const char* what;
    std::string scenario;
    const char* cardType;  // null: a PC card's NT Parameters key, which the monitor does not read
    bool keepsRunning;
    const char* message;
};

class NoDriver : public MonitorTest, public ::testing::WithParamInterface<NoDriverCase> {};

// A PC card may not be in yet: its monitor waits, without a tray entry, opening the driver every
// ten seconds, and shows the card once it is in. Any other adapter ends the monitor with 0.
TEST_P(NoDriver, ShowsTheErrorAndWaitsOnlyForAPcCard) {
    const NoDriverCase& c = GetParam();
    if (c.cardType != nullptr) {
        InstallAdapter95(c.cardType);
    } else {
        test::AddNtAdapter(registry, "System\\CurrentControlSet", "davuziro1", "nt");
        test::PutValue(registry, "System\\CurrentControlSet\\Services\\davuziro1\\Parameters",
                       "CardType", test::Sz("PCMCIA"));
    }
    Prepare(c.scenario);
    ASSERT_EQ(emulator->Control("eject"), "OK");
    std::string message;
    ui.ExpectModal(IDD_MONITOR_ERROR, [&](Dialog&, HeadlessHost& box) {
        message = box.GetItemText(IDC_MONITOR_ERROR_TEXT);
        box.Click(kIdOk);
    });
    Open();
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(window->Ended(), !c.keepsRunning);
    if (!c.keepsRunning) {
        EXPECT_EQ(window->EndCode(), StatusMonitorDialog::kEndNoDriver);
        EXPECT_EQ(
            MonitorApp(*context).Run([](Dialog&) { return StatusMonitorDialog::kEndNoDriver; }), 0);
        return;
    }
    for (const uint32_t runMs : {StatusMonitorDialog::kFirstTickMs, kBackOff, kBackOff}) {
        const uint64_t opens = emulator->Counters().failedOpens;
        Step("no card: the driver is opened every ten seconds", runMs, {}, kBackOff, false, 0);
        EXPECT_EQ(emulator->Counters().failedOpens - opens, 1u);
    }
    ASSERT_EQ(emulator->Control("insert"), "OK");
    Step("this tick opens the driver", kBackOff, {}, kBackOff, false, 0);
    Step("and the following one shows the card", kBackOff, {Added(IDI_LINK_LIT, kLobbyTip)}, kLive);
}

INSTANTIATE_TEST_SUITE_P(
    Adapters, NoDriver,
    ::testing::Values(NoDriverCase{"NtFindsNoAdapterBesideAPcCardsParameters", LobbyScenario(),
                                   nullptr, false, kNtMessage},
                      NoDriverCase{"Old95", LobbyScenario("win95 3", "zeruve"), "ISA", false,
                                   kNtMessage},
                      NoDriverCase{"Windows95OtherCard", kLobby95, "ISA", false, k95Message},
                      NoDriverCase{"Windows95PcCard", kLobby95, "PCMCIA", true, k95Message}),
    [](const ::testing::TestParamInfo<NoDriverCase>& info) { return info.param.what; });

using MonitorWindow = MonitorTest;

// A fresh read shows until the first tick hides the window; its system menu has About.
TEST_F(MonitorWindow, LivesInTheTrayFromTheFirstTickUntilRemove) {
    Prepare();
    Open();
    EXPECT_EQ(window->GetItemText(IDC_MONITOR_INFORMATION),
              kDriverLine + (kLiveNode + kSynchronised));
    EXPECT_TRUE(window->IsWindowVisible());
    ui.RunFor(StatusMonitorDialog::kFirstTickMs);
    EXPECT_FALSE(window->IsWindowVisible());
    EXPECT_EQ(window->SystemMenu().back().text, TEXT_ABOUTBOX);
    EXPECT_EQ(window->Icon(), IDI_MONITOR);
    bool shown = false;
    ui.ExpectModal(IDD_ABOUTBOX, [&](Dialog&, HeadlessHost& about) {
        shown = true;
        about.Click(kIdOk);
    });
    EXPECT_TRUE(window->FireSysCommand(IDM_ABOUTBOX | 0x5));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window->FireSysCommand(kScMinimize));
    // Hide, the close box and Escape only hide it.
    for (const auto& hide : std::vector<std::function<void()>>{
             [this] { window->Click(IDC_MONITOR_HIDE); }, [this] { window->PressCloseBox(); },
             [this] { window->PressEscape(); }}) {
        TrayMouse(kWmRButtonDown);
        ASSERT_TRUE(window->IsWindowVisible());
        hide();
        ui.Settle();
        EXPECT_FALSE(window->IsWindowVisible());
    }
    const uint64_t requests = AllRequests();
    ui.RunFor(kLive);
    EXPECT_NE(AllRequests(), requests) << "polling goes on";
    TrayMouse(kWmRButtonDown);
    window->Click(kIdOk);
    ui.Settle();
    EXPECT_EQ(window->EndCode(), kIdOk);
    EXPECT_TRUE(ContainsInOrder(shell.Calls(), {Deleted(IDI_LINK_LIT), "QuitHelpEngine 0x10000"}));
}

}  // namespace
}  // namespace vz
