// The monitor in the emulated world both programs' tests share, and its tray calls step by step.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/card_host.h"
#include "driver/request_block.h"
#include "program/tests/emulated_world.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/resource.h"
#include "ruvedor/res/strings.h"
#include "platform/fake/registry_tree.h"

namespace vz {

// A card synchronised to the Master "Lobby" of its domain from the start.
inline constexpr char kLobbyScenario[] = R"(
system nt 4
device davuziro 1
card address=00a0d41a2b3c driver="V1.2.4" rom="V1.49b " country=0
config station=0 domain=3 roaming=0 security-id=""
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48
timing sync-ms=0 service-us=0
seed 1
)";

inline constexpr char kLobbyTip[] = "Coverage: Normal.  Master Name: Lobby";
inline constexpr char kOutOfRangeTip[] = "Out of Range of Master";
inline constexpr char kSilenceLobby[] = "silence 00a0d4010001";
inline constexpr char kUnsilenceLobby[] = "unsilence 00a0d4010001";

// The same card on a Windows 95 family system of `version`, where the monitor's settings reader
// finds the adapter.
inline std::string OnWindows95(const char* version = "4") {
    std::string scenario = kLobbyScenario;
    scenario.replace(scenario.find("nt 4"), 4, std::string("win95 ") + version);
    scenario.replace(scenario.find("davuziro 1"), 10, "zeruve");
    return scenario;
}

class MonitorTest : public EmulatedWorldTest {
  protected:
    MonitorTest() {
        ui.DeclareTemplate(IDD_MONITOR, {TEXT_MONITOR_CAPTION,
                                         {ControlSpec(IDC_MONITOR_INFORMATION),
                                          ControlSpec(kIdOk, ControlKind::kButton, "&Remove"),
                                          ControlSpec(IDC_MONITOR_HIDE, ControlKind::kButton)}});
        ui.DeclareTemplate(IDD_MONITOR_ERROR, {"Error",
                                               {ControlSpec(IDC_MONITOR_ERROR_TEXT),
                                                ControlSpec(kIdOk, ControlKind::kButton, "OK")}});
    }

    // Builds the world of `scenario` and the monitor around it, without opening its window.
    void Prepare(const std::string& scenario = kLobbyScenario) {
        ASSERT_NO_FATAL_FAILURE(BuildWorld(scenario));
        WireDriver(*io, cardHost, DriverVariant::kMonitor);
        context = std::make_unique<ProgramContext>(Program());
        dialog = std::make_unique<StatusMonitorDialog>(*context);
    }

    // Opens the window and lets the first tick hide it.
    void Start(const std::string& scenario = kLobbyScenario) {
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

    // The shell's tray calls from the `from`-th on, as "TrayModify 129 icon 137 tip ...".
    std::vector<std::string> TrayCallsFrom(size_t from) const {
        static const char* const kNames[] = {"TrayAdd", "TrayModify", "TrayDelete"};
        std::vector<std::string> calls;
        for (size_t i = from; i < shell.TrayCalls().size(); ++i) {
            const auto& call = shell.TrayCalls()[i];
            calls.push_back(std::string(kNames[static_cast<int>(call.kind)]) + " " +
                            std::to_string(call.entry.iconId) + " icon " +
                            std::to_string(call.entry.iconResourceId) + " tip " + call.entry.tip);
        }
        return calls;
    }
    size_t TrayCallCount() const { return shell.TrayCalls().size(); }
    static std::string Added(int icon, const std::string& tip, int iconShown = -1) {
        return "TrayAdd " + std::to_string(icon) + " icon " +
               std::to_string(iconShown < 0 ? icon : iconShown) + " tip " + tip;
    }
    // The entry keeps the id it was added under.
    static std::string Modified(int icon, const std::string& tip, int id = IDI_LINK_DARK) {
        return "TrayModify " + std::to_string(id) + " icon " + std::to_string(icon) + " tip " + tip;
    }
    static std::string Deleted(int id) {
        return "TrayDelete " + std::to_string(id) + " icon 0 tip ";
    }

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

    uint32_t Period() const {
        const auto timers = window->Timers();
        const auto it = timers.find(StatusMonitorDialog::kPollTimer);
        return it == timers.end() ? 0 : it->second;
    }
    uint64_t AllRequests() const {
        uint64_t total = 0;
        for (uint64_t n : emulator->Counters().requests) {
            total += n;
        }
        return total;
    }
    uint64_t Opens() const { return emulator->Counters().opens + emulator->Counters().failedOpens; }
    std::string Information() { return window->GetItemText(IDC_MONITOR_INFORMATION); }
    void TrayMouse(uint32_t mouseMessage) {
        window->FireUser(kTrayCallbackMessage, 0, mouseMessage);
    }
    void ToolStarts() { shell.AddWindow(TEXT_TOOL_CAPTION, kToolWindow); }
    void ToolEnds() { shell.RemoveWindow(kToolWindow); }

    static constexpr WindowRef kToolWindow = 0x7001;

    NullCardHost cardHost;
    std::unique_ptr<ProgramContext> context;
    std::unique_ptr<StatusMonitorDialog> dialog;
    HeadlessHost* window = nullptr;
    size_t mark_ = 0;
    uint64_t requests_ = 0;
};

}  // namespace vz
