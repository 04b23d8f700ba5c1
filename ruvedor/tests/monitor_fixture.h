// The monitor in the emulated world both programs' tests share, behind a card slot the test can
// empty.
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

// The emulated devices behind a slot: while it is empty no device opens.
class CardSlot : public DeviceIo {
  public:
    explicit CardSlot(DeviceIo& card) : card_(card) {}

    SystemVersion GetSystemVersion() override { return card_.GetSystemVersion(); }
    DeviceHandle OpenDevice(const char* path) override {
        ++openAttempts;
        return inserted ? card_.OpenDevice(path) : kInvalidDeviceHandle;
    }
    void CloseDevice(DeviceHandle handle) override { card_.CloseDevice(handle); }
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override {
        return card_.DefineDosDevice(flags, name, target);
    }
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override {
        return card_.IoControl(handle, code, in, inSize, out, outSize);
    }

    bool inserted = true;
    int openAttempts = 0;

  private:
    DeviceIo& card_;
};

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
        slot = std::make_unique<CardSlot>(*io);
        WireDriver(*slot, cardHost, DriverVariant::kMonitor);
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
    std::string Information() { return window->GetItemText(IDC_MONITOR_INFORMATION); }
    void TrayMouse(uint32_t mouseMessage) {
        window->FireUser(kTrayCallbackMessage, 0, mouseMessage);
    }
    void ToolStarts() { shell.AddWindow(TEXT_TOOL_CAPTION, kToolWindow); }
    void ToolEnds() { shell.RemoveWindow(kToolWindow); }

    static constexpr WindowRef kToolWindow = 0x7001;

    std::unique_ptr<CardSlot> slot;
    NullCardHost cardHost;
    std::unique_ptr<ProgramContext> context;
    std::unique_ptr<StatusMonitorDialog> dialog;
    HeadlessHost* window = nullptr;
};

}  // namespace vz
