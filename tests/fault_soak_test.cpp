// The headless fault soak: Ruvedor polls and Zazivev runs its start-up check on one emulated card
// for 100,000 ticks of the monitor's timer while faults of every kind fire at random; then the
// card's true state shows again, and handles, registry keys and heap are back where they started.
#include <malloc.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "driver/ping.h"
#include "ruvedor/tests/monitor_fixture.h"
#include "zazivev/app/tool_context.h"
// Both programs' resource headers name their own product string; the soak uses neither.
#undef IDS_PRODUCT
#include "zazivev/res/resource.h"
#include "zazivev/shell/main_dialog.h"
#include "zazivev/shell/tool_card_host.h"

#ifdef __SANITIZE_ADDRESS__
// The sanitizer runtime's count of the heap in use (its header is not on every machine).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace vz {
namespace {

constexpr uint64_t kSoakTicks = 100000;
constexpr uint64_t kTicksPerToolRun = 500;
constexpr uint32_t kToolRunMs = 30000;
constexpr uint64_t kWarmUpTicks = 5000;
constexpr uint32_t kOneFaultInTicks = 20;
// Faults on requests the programs rarely send wait; a few at a time is what a user would arm.
constexpr size_t kMaxPendingFaults = 8;
// Room for containers that settle at a larger capacity than they had at the first measurement;
// a leak per tick or per start-up check would be megabytes.
constexpr size_t kHeapSlackBytes = 64 * 1024;

size_t HeapInUse() {
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// One fault of `kind` on a command the programs send, in the control language.
std::string RandomFault(FaultKind kind, std::mt19937& random) {
    auto pick = [&random](std::initializer_list<int> values) {
        return std::to_string(values.begin()[random() % values.size()]);
    };
    const std::string cmd = " cmd=" + pick({kCmdGetDriverVersion, kCmdGetDriverData,
                                            kCmdSetDriverData, kCmdRestartDriver, kCmdInitCard,
                                            kCmdGetRssiCalibration, kCmdGetDriverData});
    const std::string nth = " nth=" + pick({1, 2, 3, 5});
    // What follows the kind's name, in the order of FaultKind.
    const std::string fields[kFaultKindCount] = {
        cmd + nth,
        cmd + " status=" + pick({-1, -2, -5, -9, 1, 2, 7}) + nth + " count=" + pick({1, 2, 20}),
        " cmd=" + pick({kCmdGetDriverData, kCmdSetDriverData}) +
            (random() % 2 ? "" : " param=" + pick({6, 18, 19, 20, 21, 22, 23})),
        cmd + " value=" + pick({0, 1, 5, 13, 1999, 2000, 2001, 65535}),
        " status=" + pick({-5, -6, -7}) + " count=" + pick({1, 2}),
        cmd + " ms=" + pick({5, 150, 1000, 3000}),
        cmd + " error=" + pick({1, 6, 31, 259, 1167})};
    return std::string("fault ") + FaultKindName(kind) + fields[static_cast<size_t>(kind)];
}

// A program's session with the card that keeps the handles the program holds: opened and not
// yet closed, whether or not the emulator still knows them after a dropped connection.
struct CountedSession : EmulatorDeviceIo {
    using EmulatorDeviceIo::EmulatorDeviceIo;
    DeviceHandle OpenDevice(const char* path) override {
        const DeviceHandle handle = EmulatorDeviceIo::OpenDevice(path);
        if (handle != kInvalidDeviceHandle) {
            held.insert(handle);
        }
        return handle;
    }
    void CloseDevice(DeviceHandle handle) override {
        held.erase(handle);
        EmulatorDeviceIo::CloseDevice(handle);
    }

    std::set<DeviceHandle> held;
};

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
            if (faults && emulator->Faults().Pending() < kMaxPendingFaults &&
                random() % kOneFaultInTicks == 0) {
                const std::string fault =
                    RandomFault(FaultKind(random() % kFaultKindCount), random);
                ASSERT_EQ(emulator->Control(fault), "OK") << fault;
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

    std::mt19937 random{20261206};
    uint64_t ticks = 0;
    uint64_t toolRuns = 0;
};

TEST_F(FaultSoak, BothProgramsComeBackWithNothingLeft) {
    std::ifstream file(VZ_DEFAULT_SCENARIO);
    BuildWorld(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    CountedSession monitorSession(*emulator);
    MakeMonitor(monitorSession);
    const std::string parameters = "System\\CurrentControlSet\\Services\\davuziro\\Parameters";
    test::PutValue(registry, parameters, "Master_Name", test::Sz("MASTER"));
    test::PutValue(registry, parameters, "CardType", test::Sz("PCMCIA"));
    test::PutValue(registry, parameters, "Station_Type", test::Dword(0));
    test::PutValue(registry, parameters, "Domain", test::Dword(3));
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
    EXPECT_NE(report.find("Synchronized to 00a0d4010001  Lobby"), std::string::npos) << report;
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
