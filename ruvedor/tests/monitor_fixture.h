// The monitor in the emulated world both programs' tests share, and its tray calls step by step.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "driver/card_host.h"
#include "driver/request_block.h"
#include "program/card_status_texts.h"
#include "program/tests/emulated_world.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/resource.h"
#include "ruvedor/res/strings.h"
#include "platform/fake/registry_tree.h"
#include "ui/headless/rc_template.h"

namespace vz {

// A card synchronised to the Master "Lobby" of its domain from the start, on Windows NT 4 or on
// a Windows 95 family system ("win95 4", device "zeruve") where the monitor's settings reader
// finds the adapter.
inline std::string LobbyScenario(const std::string& system = "nt 4",
                                 const std::string& device = "davuziro 1") {
    return "system " + system + "\ndevice " + device + R"(
card address=00a0d41a2b3c driver="V1.2.4" rom="V1.49b " country=0
config station=0 domain=3 roaming=0 security-id=""
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48
timing sync-ms=0 service-us=0
seed 1
)";
}
inline const std::string kLobby95 = LobbyScenario("win95 4", "zeruve");

// The information window's pieces: the live form's node line, the static form's (Zazivev runs).
inline constexpr char kDriverLine[] = "Vezurez driver version V1.2.4 accessed successfully.";
inline constexpr char kLiveNode[] = "\n\nNode address:  00a0d41a2b3c  ROM version:  V1.49b /0";
inline constexpr char kStaticNode[] = "\n\nNode address:  00a0d41a2b3c  ROM version V1.49b /0";
inline constexpr char kStaticLine[] = "Utility is running, the data is static.  ";
inline const std::string kSynchronised = "\n\nSynchronized to 00a0d4010001  Lobby";
inline const std::string kNoMaster = card_status_texts::kNoMaster;
inline constexpr char kLobbyTip[] = "Coverage: Normal.  Master Name: Lobby";
inline constexpr char kSilenceLobby[] = "silence 00a0d4010001";
inline constexpr char kUnsilenceLobby[] = "unsilence 00a0d4010001";

class MonitorTest : public EmulatedWorldTest {
  protected:
    MonitorTest() {
        static const RcTemplates kTemplates =
            RcTemplates::Load({RUVEDOR_RES_DIR "/resource.h", RUVEDOR_RES_DIR "/strings.h"},
                              {RUVEDOR_RES_DIR "/ruvedor.rc"});
        kTemplates.DeclareAll(ui);
    }

    // Builds the world of `scenario` and the monitor around it, without opening its window.
    void Prepare(const std::string& scenario = LobbyScenario()) {
        ASSERT_NO_FATAL_FAILURE(BuildWorld(scenario));
        MakeMonitor(*io);
    }

    // The monitor on `device`, a session of the card's device calls.
    void MakeMonitor(DeviceIo& device) {
        WireDriver(device, cardHost, DriverVariant::kMonitor);
        context = std::make_unique<ProgramContext>(Program());
        dialog = std::make_unique<StatusMonitorDialog>(*context);
    }

    // Opens the window and lets the first tick hide it.
    void Start(const std::string& scenario = LobbyScenario()) {
        Prepare(scenario);
        Open();
        ui.RunFor(StatusMonitorDialog::kFirstTickMs);
    }

    void Open() { window = &ui.Open(*dialog); }

    // The adapter's class key on the Windows 95 family, where the monitor's reader looks.
    void InstallAdapter95(const std::string& cardType, const char* stationType = nullptr) {
        const std::string key = "System\\CurrentControlSet\\Services\\Class\\Net\\0000";
        test::AddWindows95Adapter(registry, "System\\CurrentControlSet", "0000", "adapter");
        test::PutValue(registry, key, "CardType", test::Sz(cardType));
        if (stationType != nullptr) {
            test::PutValue(registry, key, "Station_Type", test::Sz(stationType));
        }
    }

    // One tray call as the shell records it: "TrayModify <id> icon <icon> flags <flags> tip ...".
    static std::string Tray(const std::string& call, int id, int icon, const std::string& tip,
                            uint32_t flags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip) {
        return "Tray" + call + " " + std::to_string(id) + " icon " + std::to_string(icon) +
               " flags " + std::to_string(flags) + " tip " + tip;
    }
    static std::string Added(int icon, const std::string& tip, int iconShown = -1) {
        return Tray("Add", icon, iconShown < 0 ? icon : iconShown, tip);
    }
    // The entry keeps the id it was added under.
    static std::string Modified(int icon, const std::string& tip, int id = IDI_LINK_DARK) {
        return Tray("Modify", id, icon, tip);
    }
    static std::string Deleted(int id) { return Tray("Delete", id, 0, "", 0); }

    // Runs the clock for `runMs`, then checks the tray calls and card requests since the last
    // step, the poll period, and the entries the shell holds with the message they send.
    void Step(const char* what, uint32_t runMs, const std::vector<std::string>& calls,
              uint32_t period, bool asksCard = true, size_t entries = 1) {
        SCOPED_TRACE(what);
        ui.RunFor(runMs);
        std::vector<std::string> made;
        std::copy_if(shell.Calls().begin() + mark_, shell.Calls().end(), std::back_inserter(made),
                     [](const std::string& call) { return call.starts_with("Tray"); });
        mark_ = shell.Calls().size();
        EXPECT_EQ(made, calls);
        EXPECT_EQ(Period(), period);
        EXPECT_EQ(AllRequests() != requests_, asksCard);
        EXPECT_EQ(shell.TrayIcons().size(), entries);
        for (const auto& [key, entry] : shell.TrayIcons()) {
            EXPECT_EQ(entry.callbackMessage, kTrayCallbackMessage);
        }
        requests_ = AllRequests();
    }

    uint32_t Period() const { return window->Timers().at(StatusMonitorDialog::kPollTimer); }
    uint64_t AllRequests() const {
        const auto& requests = emulator->Counters().requests;
        return std::accumulate(requests.begin(), requests.end(), uint64_t{0});
    }
    // The information window's text after a right click on the tray entry.
    std::string RightClickText() {
        TrayMouse(kWmRButtonDown);
        return window->GetItemText(IDC_MONITOR_INFORMATION);
    }
    void TrayMouse(uint32_t mouseMessage) {
        window->FireUser(kTrayCallbackMessage, 0, mouseMessage);
    }
    void ToolStarts() { shell.AddWindow(TEXT_TOOL_CAPTION, kToolWindow); }
    void ToolEnds() { shell.RemoveWindow(kToolWindow); }
    void TaskbarRestarts() {
        shell.ForgetTrayEntries();
        window->FireUser(RecordingShell::kTaskbarCreatedMessage);
    }

    static constexpr WindowRef kToolWindow = 0x7001;
    static constexpr uint32_t kLive = StatusMonitorDialog::kLivePeriodMs;
    static constexpr uint32_t kStatic = StatusMonitorDialog::kStaticPeriodMs;
    static constexpr uint32_t kBackOff = StatusMonitorDialog::kBackOffMs;

    NullCardHost cardHost;
    std::unique_ptr<ProgramContext> context;
    std::unique_ptr<StatusMonitorDialog> dialog;
    HeadlessHost* window = nullptr;
    size_t mark_ = 0;
    uint64_t requests_ = 0;
};

}  // namespace vz
