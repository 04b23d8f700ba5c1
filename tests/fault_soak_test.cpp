// The headless fault soak: Ruvedor polls and Zazivev runs its start-up check on one emulated card
// for 100,000 ticks of the monitor's timer while faults of every kind fire at random; then the
// card's true state shows again, and handles, registry keys and heap are back where they started.
#include <cinttypes>
#include <cstdio>

#include "driver/ping.h"
#include "ruvedor/tests/monitor_fixture.h"
#include "tests/soak_support.h"
#include "zazivev/app/tool_context.h"
// Both programs' resource headers name their own product string; the soak uses neither.
#undef IDS_PRODUCT
#include "zazivev/res/resource.h"
#include "zazivev/shell/main_dialog.h"
#include "zazivev/shell/tool_card_host.h"

namespace vz {
namespace {

constexpr uint64_t kSoakTicks = 100000;
constexpr uint64_t kTicksPerToolRun = 500;
constexpr uint32_t kToolRunMs = 30000;
constexpr uint64_t kWarmUpTicks = 5000;

class FaultSoak : public MonitorTest {
  protected:
    // One run of the tool, as a process of its own on the same card: its start-up check, then
    // a ping (the only request busy faults act on), then its end. Returns the report.
    std::string RunTool() {
        HeadlessUi toolUi(clock);
        CountedSession session(*emulator);
        ToolCardHost host(shell);
        Driver toolDriver(session, clock, host, DriverVariant::kTool);
        ToolContext toolContext(toolDriver, registry, shell, clock, session.GetSystemVersion());
        MainDialog main(toolContext, host);
        HeadlessHost& toolWindow = toolUi.Open(main);
        toolUi.RunFor(kToolRunMs);
        const std::string report = toolWindow.GetItemText(IDC_MAIN_REPORT);
        uint8_t sync = 0, id = 0;
        uint32_t sentTime = 0;
        SendPing(toolDriver, kBroadcastAddress, 64, kPingKindDirected, sync, sentTime, id);
        toolWindow.Click(kIdOk);
        toolUi.Settle();
        EXPECT_EQ(session.held.size(), 0u) << "device handles the tool left open, run " << toolRuns;
        return report;
    }

    // Ticks of the monitor's timer, with a tool run every so often and faults at random.
    void Soak(uint64_t count, bool faults) {
        for (uint64_t n = 0; n < count; ++n) {
            if (faults) {
                ASSERT_NO_FATAL_FAILURE(randomFaults->Tick());
            }
            ASSERT_TRUE(ui.RunNextTimer()) << "the monitor's timer stopped";
            if (++ticks % kTicksPerToolRun == 0) {
                RunTool();
                ++toolRuns;
            }
            // What the shell and the window were asked is forgotten: the memory stays flat.
            shell.ClearRecords();
            ui.ClearEvents();
        }
    }

    // Faults cleared and a minute without them, so the programs can find the card again.
    void Recover() {
        ASSERT_EQ(emulator->Control("fault clear"), "OK");
        Soak(60, false);
    }

    std::unique_ptr<RandomFaults> randomFaults;
    uint64_t ticks = 0;
    uint64_t toolRuns = 0;
};

TEST_F(FaultSoak, BothProgramsComeBackWithNothingLeft) {
    BuildWorld(DefaultWorldText());
    CountedSession monitorSession(*emulator);
    randomFaults = std::make_unique<RandomFaults>(*emulator, 20261206);
    MakeMonitor(monitorSession);
    InstallDefaultAdapter(registry);
    Open();

    // Warm up with faults, so that every cache and container has its working size.
    ASSERT_NO_FATAL_FAILURE(Soak(kWarmUpTicks, true));
    Recover();
    const size_t baselineDevices = monitorSession.held.size();
    const size_t baselineKeys = registry.OpenKeyCount();
    const size_t heapBefore = HeapInUse();
    ASSERT_EQ(emulator->Control("reset-counters"), "OK");

    ASSERT_NO_FATAL_FAILURE(Soak(kSoakTicks, true));
    Recover();
    const std::string report = RunTool();
    EXPECT_NE(report.find(kLobbyReport), std::string::npos) << report;
    EXPECT_EQ(shell.TrayIcons().begin()->second.tip, kLobbyTip);
    shell.ClearRecords();
    const size_t heapAfter = HeapInUse();
    EXPECT_EQ(monitorSession.held.size(), baselineDevices);
    EXPECT_EQ(registry.OpenKeyCount(), baselineKeys);
    EXPECT_LE(heapAfter, heapBefore + kHeapSlackBytes);

    std::printf("soak: %" PRIu64
                " tool runs, %u s of virtual time; device handles %zu -> %zu, "
                "registry keys %zu -> %zu, heap %zu -> %zu\n",
                toolRuns, clock.NowMs() / 1000, baselineDevices, monitorSession.held.size(),
                baselineKeys, registry.OpenKeyCount(), heapBefore, heapAfter);
    for (size_t k = 0; k < kFaultKindCount; ++k) {
        const uint64_t fired = emulator->Faults().Fired(FaultKind(k));
        std::printf("soak: fault %-12s fired %" PRIu64 "\n", FaultKindName(FaultKind(k)), fired);
        EXPECT_GT(fired, 0u) << FaultKindName(FaultKind(k));
    }
}

}  // namespace
}  // namespace vz
