// The headless fault soak: Ruvedor polls and Zazivev runs its start-up check again and again
// against one emulated card of the default world for 100,000 ticks of the monitor's timer, while
// faults of every kind the emulator has fire at random. At the end the card's true state shows
// again, and the device handles, registry keys and heap in use are back where they started.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#ifdef __SANITIZE_ADDRESS__
// The sanitizer runtime's count of the heap in use (its header is not on every machine).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "driver/ping.h"
#include "ruvedor/tests/monitor_fixture.h"
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
constexpr double kFaultChancePerTick = 0.05;
// Faults on requests the programs rarely send wait; a few at a time is what a user would arm.
constexpr size_t kMaxPendingFaults = 8;
// Room for containers that settle at a larger capacity than they had at the first measurement;
// a leak per tick or per start-up check would be megabytes.
constexpr size_t kHeapSlackBytes = 64 * 1024;
constexpr char kLobbyReport[] = "Synchronized to 00a0d4010001  Lobby";

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
    switch (kind) {
        case FaultKind::kDrop:
            return "fault drop" + cmd + nth;
        case FaultKind::kFail:
            return "fault fail" + cmd + " status=" + pick({-1, -2, -5, -9, 1, 2, 7}) + nth +
                   " count=" + pick({1, 2, 20});
        case FaultKind::kUnsetStatus:
            return "fault unset-status cmd=" + pick({kCmdGetDriverData, kCmdSetDriverData}) +
                   (random() % 2 ? "" : " param=" + pick({6, 18, 19, 20, 21, 22, 23}));
        case FaultKind::kLength:
            return "fault length" + cmd + " value=" + pick({0, 1, 5, 13, 1999, 2000, 2001, 65535});
        case FaultKind::kBusy:
            return "fault busy status=" + pick({-5, -6, -7}) + " count=" + pick({1, 2});
        case FaultKind::kSlow:
            return "fault slow" + cmd + " ms=" + pick({5, 150, 1000, 3000});
        case FaultKind::kIoError:
            return "fault ioerror" + cmd + " error=" + pick({1, 6, 31, 259, 1167});
    }
    return "";
}

// Forwards to a session and keeps the handles the program holds: opened and not yet closed,
// whether or not the emulator still knows them after a dropped connection.
class CountedDevice : public DeviceIo {
  public:
    explicit CountedDevice(DeviceIo& device) : device_(device) {}

    SystemVersion GetSystemVersion() override { return device_.GetSystemVersion(); }
    DeviceHandle OpenDevice(const char* path) override {
        const DeviceHandle handle = device_.OpenDevice(path);
        if (handle != kInvalidDeviceHandle) {
            held_.insert(handle);
        }
        return handle;
    }
    void CloseDevice(DeviceHandle handle) override {
        held_.erase(handle);
        device_.CloseDevice(handle);
    }
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override {
        return device_.DefineDosDevice(flags, name, target);
    }
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override {
        return device_.IoControl(handle, code, in, inSize, out, outSize);
    }

    size_t Held() const { return held_.size(); }

  private:
    DeviceIo& device_;
    std::set<DeviceHandle> held_;
};

class FaultSoak : public MonitorTest {
  protected:
    void ArmRandomFault() {
        const FaultKind kind = FaultKind(random() % kFaultKindCount);
        const std::string fault = RandomFault(kind, random);
        ASSERT_EQ(emulator->Control(fault), "OK") << fault;
    }

    // The monitor of the fixture, on a device that counts its handles.
    void Build(const std::string& scenario) {
        Prepare(scenario);
        monitorDevice = std::make_unique<CountedDevice>(*io);
        WireDriver(*monitorDevice, cardHost, DriverVariant::kMonitor);
        context = std::make_unique<ProgramContext>(Program());
        dialog = std::make_unique<StatusMonitorDialog>(*context);
    }

    // One run of the tool, as a process of its own on the same card: its start-up check, then
    // a ping (the only request busy faults act on), then its end. Returns the report.
    std::string RunTool() {
        HeadlessUi toolUi(clock);
        EmulatorDeviceIo session(*emulator);
        CountedDevice io(session);
        ToolCardHost host(shell);
        Driver toolDriver(io, clock, host, DriverVariant::kTool);
        ToolContext toolContext(toolDriver, registry, shell, clock, io.GetSystemVersion());
        MainDialog main(toolContext, host);
        HeadlessHost& window = toolUi.Open(main);
        toolUi.RunFor(kToolRunMs);
        const std::string report = window.GetItemText(IDC_MAIN_REPORT);
        uint8_t syncState = 0;
        uint32_t transmitTime = 0;
        uint8_t pingId = 0;
        SendPing(toolDriver, kBroadcastAddress, 64, kPingKindDirected, syncState, transmitTime,
                 pingId);
        window.Click(kIdOk);
        toolUi.Settle();
        EXPECT_EQ(io.Held(), 0u) << "device handles the tool left open, run " << toolRuns_;
        return report;
    }

    // Ticks of the monitor's timer, with a tool run every so often and faults at random.
    void Soak(uint64_t ticks, bool faults) {
        for (uint64_t n = 0; n < ticks; ++n) {
            if (faults && emulator->Faults().Pending() < kMaxPendingFaults &&
                chance(random) < kFaultChancePerTick) {
                ArmRandomFault();
            }
            ASSERT_TRUE(ui.RunNextTimer()) << "the monitor's timer stopped";
            ++ticks_;
            if (ticks_ % kTicksPerToolRun == 0) {
                RunTool();
                ++toolRuns_;
                ASSERT_EQ(registry.OpenKeyCount(), baselineKeys_) << "after tool run " << toolRuns_;
            }
            if (ticks_ % 1000 == 0) {
                shell.ClearRecords();
                ui.ClearEvents();
            }
        }
    }

    // Faults cleared and a minute without them, so the programs can find the card again.
    void Recover() {
        ASSERT_EQ(emulator->Control("fault clear"), "OK");
        Soak(60, false);
        shell.ClearRecords();
        ui.ClearEvents();
    }

    std::mt19937 random{20261206};
    std::uniform_real_distribution<double> chance{0.0, 1.0};
    uint64_t ticks_ = 0;
    uint64_t toolRuns_ = 0;
    std::unique_ptr<CountedDevice> monitorDevice;
    size_t baselineDevices_ = 0;
    size_t baselineKeys_ = 0;
};

TEST_F(FaultSoak, BothProgramsComeBackWithNothingLeft) {
    const char* sourceDir = std::getenv("VZ_SOURCE_DIR");
    ASSERT_NE(sourceDir, nullptr);
    std::ifstream file(std::string(sourceDir) + "/emulator/scenarios/default.scn");
    Build(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    const std::string parameters = "System\\CurrentControlSet\\Services\\davuziro\\Parameters";
    test::PutValue(registry, parameters, "Master_Name", test::Sz("MASTER"));
    test::PutValue(registry, parameters, "CardType", test::Sz("PCMCIA"));
    test::PutValue(registry, parameters, "Station_Type", test::Dword(0));
    test::PutValue(registry, parameters, "Domain", test::Dword(3));
    Open();

    // Warm up with faults, so that every cache and container has its working size.
    Soak(kWarmUpTicks, true);
    Recover();
    baselineDevices_ = monitorDevice->Held();
    baselineKeys_ = registry.OpenKeyCount();
    const size_t heapBefore = HeapInUse();
    const uint64_t ticksBefore = ticks_;
    const uint64_t toolRunsBefore = toolRuns_;
    ASSERT_EQ(emulator->Control("reset-counters"), "OK");

    Soak(kSoakTicks, true);
    ASSERT_FALSE(HasFatalFailure());
    const uint64_t soakTicks = ticks_ - ticksBefore;
    Recover();

    const std::string report = RunTool();
    EXPECT_NE(report.find(kLobbyReport), std::string::npos) << report;
    EXPECT_EQ(shell.TrayIcons().begin()->second.tip, kLobbyTip);
    shell.ClearRecords();
    ui.ClearEvents();
    const size_t heapAfter = HeapInUse();
    EXPECT_EQ(monitorDevice->Held(), baselineDevices_);
    EXPECT_EQ(registry.OpenKeyCount(), baselineKeys_);
    EXPECT_LE(heapAfter, heapBefore + kHeapSlackBytes);

    std::printf("soak: %llu ticks, %llu tool start-up checks, %u s of virtual time\n",
                static_cast<unsigned long long>(soakTicks),
                static_cast<unsigned long long>(toolRuns_ - toolRunsBefore), clock.NowMs() / 1000);
    for (size_t k = 0; k < kFaultKindCount; ++k) {
        const uint64_t fired = emulator->Faults().Fired(FaultKind(k));
        std::printf("soak: fault %-12s fired %llu\n", FaultKindName(FaultKind(k)),
                    static_cast<unsigned long long>(fired));
        EXPECT_GT(fired, 0u) << FaultKindName(FaultKind(k));
    }
    std::printf("soak: device handles %zu -> %zu, registry keys %zu -> %zu, heap %zu -> %zu\n",
                baselineDevices_, monitorDevice->Held(), baselineKeys_, registry.OpenKeyCount(),
                heapBefore, heapAfter);
}

}  // namespace
}  // namespace vz
