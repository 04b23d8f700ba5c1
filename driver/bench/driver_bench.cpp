// How much the driver layer costs over a bare copy of the request block.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"
#include "driver/status_queries.h"
#include "platform/fake/virtual_clock.h"

namespace vz {
namespace {

// The cheapest device that still behaves like the driver: it marks every parameter handled.
class InstantDevice : public DeviceIo {
  public:
    SystemVersion GetSystemVersion() override { return {}; }
    DeviceHandle OpenDevice(const char*) override { return 1; }
    void CloseDevice(DeviceHandle) override {}
    bool DefineDosDevice(uint32_t, const char*, const char*) override { return true; }
    IoControlResult IoControl(DeviceHandle, uint32_t, const uint8_t*, uint32_t, uint8_t* out,
                              uint32_t) override {
        const uint32_t length = GetU32(out + kRequestLengthOffset);
        uint8_t* list = out + kRequestDataOffset;
        for (uint32_t o = 0; o + 2 <= length && GetU16(list + o) != 0;) {
            const uint16_t id = GetU16(list + o);
            PutU16(list + o + 2, 0);
            o += kParameterEntryHeader + ParameterLength(id);
        }
        PutU32(out + kRequestResultOffset, 0);
        return {true, 0};
    }
};

struct Bench {
    InstantDevice device;
    VirtualClock clock;
    NullCardHost host;
    Driver driver{device, clock, host, DriverVariant::kTool};
    Bench() { OpenDriver(driver); }
};

void BareBlockCopy(benchmark::State& state) {
    uint8_t from[kRequestBlockSize] = {1};
    uint8_t to[kRequestBlockSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(from);
        std::memcpy(to, from, sizeof to);
        benchmark::DoNotOptimize(to);
        benchmark::ClobberMemory();
    }
}

void DriverCommandRoundTrip(benchmark::State& state) {
    Bench bench;
    uint8_t buffer[32] = {};
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DriverCommand(bench.driver, kCmdGetDriverVersion, 0, 0, buffer, sizeof buffer));
    }
}

void MasterNodeList(benchmark::State& state) {
    Bench bench;
    MasterReading reading;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetMasterNode(bench.driver, reading));
    }
}

BENCHMARK(BareBlockCopy);
BENCHMARK(DriverCommandRoundTrip);
BENCHMARK(MasterNodeList);

// Prints each benchmark as usual, then every time as a multiple of the bare copy.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double base = times_["BareBlockCopy"];
        std::printf("\nper call, as a multiple of one bare 2016-byte memcpy (%.1f ns):\n", base);
        for (const auto& [name, ns] : times_) {
            std::printf("  %-24s %9.1f ns  x%.1f\n", name.c_str(), ns, base > 0 ? ns / base : 0);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace
}  // namespace vz

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vz::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
