// The radio model's fidelity: the link test measured on the emulator beside its closed form.
//
// For each packet size and background load, a card pings its Master for 30 s of the emulator's
// virtual clock the way the link test does (send, wait for the echo, take the received pings),
// and the measured packets/s, bytes/s and latency are printed beside what the formulas of
// SCENARIO.md ("The radio") give, with the channel's capacity. Given a scenario file, it then
// measures the link test to that world's Master at 60 and 1500 bytes the same way.
#include <cmath>
#include <cstdio>
#include <string>

#include "driver/card_host.h"
#include "driver/driver.h"
#include "driver/ping.h"
#include "driver/request_block.h"
#include "driver/status_queries.h"
#include "emulator/core/emulator.h"
#include "emulator/core/emulator_device_io.h"
#include "emulator/core/radio_model.h"
#include "emulator/core/scenario_parser.h"
#include "platform/fake/virtual_clock.h"

namespace {

constexpr uint32_t kRunMs = 30000;
constexpr double kTolerance = 0.05;
constexpr uint32_t kSizes[] = {60, 500, 1000, 1500};
constexpr double kLoads[] = {0.0, 0.4, 0.8};
// The Master's latency sample: mean and deviation, ms.
constexpr double kLatencyMs = 2.5;
constexpr double kSpreadMs = 0.6;

struct LinkFigures {
    double packetsPerSecond = 0.0;
    double bytesPerSecond = 0.0;
    double latencyMs = 0.0;
};

// The driver layer over the in-process emulator on a virtual clock.
struct Rig {
    explicit Rig(const vz::Scenario& scenario)
        : emulator(scenario, clock),
          io(emulator),
          driver(io, clock, host, vz::DriverVariant::kTool) {}

    vz::VirtualClock clock;
    vz::Emulator emulator;
    vz::EmulatorDeviceIo io;
    vz::NullCardHost host;
    vz::Driver driver;
};

// The link test's loop against `target` for kRunMs; false when the card could not be reached.
bool MeasureLinkTest(Rig& rig, const std::string& target, uint32_t size, LinkFigures& figures) {
    if (vz::OpenDriver(rig.driver) != vz::Status::kOk) {
        return false;
    }
    uint64_t packets = 0;
    uint64_t bytes = 0;
    uint64_t latencyTotal = 0;
    uint64_t echoes = 0;
    const uint32_t start = rig.clock.NowMs();
    while (rig.clock.NowMs() - start < kRunMs) {
        uint8_t sync = 0;
        uint8_t id = 0;
        uint32_t sent = 0;
        if (vz::GetSyncState(rig.driver, sync) != vz::Status::kOk || sync == 0 ||
            vz::SendPing(rig.driver, target.c_str(), size, vz::kPingKindDirected, sync, sent, id) !=
                vz::Status::kOk) {
            return false;
        }
        uint32_t echo = 0;
        vz::Status status = vz::Status::kOk;
        while ((status = vz::GetPingEcho(rig.driver, id, echo)) == vz::Status::kEchoPending) {
            rig.clock.YieldTimeSlice();
        }
        if (status == vz::Status::kOk) {
            ++echoes;
            ++packets;
            bytes += size;
            latencyTotal += echo - sent;
        }
        char source[vz::kNodeAddressTextSize];
        uint32_t received = 0;
        uint8_t percent = 0;
        while (vz::GetPing(rig.driver, source, received, percent) == vz::Status::kPingTaken) {
            ++packets;
            bytes += received;
        }
    }
    const double seconds = (rig.clock.NowMs() - start) / 1000.0;
    figures.packetsPerSecond = double(packets) / seconds;
    figures.bytesPerSecond = double(bytes) / seconds;
    figures.latencyMs = echoes ? double(latencyTotal) / double(echoes) : 0.0;
    return true;
}

// The closed form: a round trip is both frames' airtime stretched by the load, plus the latency
// sample X = max(0, N(mean, deviation)); the echo is stamped in whole milliseconds counted up, so
// the loop sees ceil(T), whose mean is the sum over k >= 0 of P(T > k).
LinkFigures ClosedForm(uint32_t size, uint32_t rateKbps, double load) {
    const double onAir = 2.0 * vz::FrameAirtimeMs(size, rateKbps) / (1.0 - load);
    double roundTrip = 0.0;
    for (int k = 0; k < 100000; ++k) {
        const double above =
            k < onAir ? 1.0
                      : 0.5 * std::erfc((k - onAir - kLatencyMs) / (kSpreadMs * std::sqrt(2.0)));
        if (above < 1e-12) {
            break;
        }
        roundTrip += above;
    }
    return LinkFigures{2000.0 / roundTrip, 2000.0 * size / roundTrip, roundTrip};
}

bool Within(double measured, double expected) {
    return std::fabs(measured - expected) <= kTolerance * expected;
}

std::string FidelityWorld(double load) {
    char text[1024];
    std::snprintf(text, sizeof text,
                  "system nt 4\ndevice davuziro 1\ncard address=00a0d4000001\nconfig domain=3\n"
                  "radio tx-dbm=15 exponent=3 rate-kbps=1600 retries=3\ncard-at 0,0\n"
                  "master 00a0d4000a01 name=\"Cell\" domain=3 position=5,0 latency=%g "
                  "spread=%g load=%g\n"
                  "timing service-us=0 sync-ms=0 signal-noise-db=0\nseed 7\n",
                  kLatencyMs, kSpreadMs, load);
    return text;
}

bool Parse(const std::string& text, vz::Scenario& scenario) {
    vz::ScenarioError error;
    if (!vz::ParseScenario(text, scenario, error)) {
        std::fprintf(stderr, "scenario: %s\n", error.Text().c_str());
        return false;
    }
    return true;
}

int FidelityTable() {
    std::printf("%5s %5s | %9s %9s | %10s %10s %10s | %8s %8s | %s\n", "size", "load", "pkt/s",
                "model", "bytes/s", "model", "capacity", "lat ms", "model", "within 5 %");
    bool allWithin = true;
    for (const double load : kLoads) {
        vz::Scenario scenario;
        if (!Parse(FidelityWorld(load), scenario)) {
            return 1;
        }
        for (const uint32_t size : kSizes) {
            Rig rig(scenario);
            LinkFigures measured;
            if (!MeasureLinkTest(rig, "00a0d4000a01", size, measured)) {
                std::fprintf(stderr, "the link test could not run\n");
                return 1;
            }
            const LinkFigures model = ClosedForm(size, scenario.radio.rateKbps, load);
            const double capacity =
                vz::ChannelCapacityBytesPerSecond(size, scenario.radio.rateKbps, load);
            const bool within = Within(measured.packetsPerSecond, model.packetsPerSecond) &&
                                Within(measured.bytesPerSecond, model.bytesPerSecond) &&
                                Within(measured.latencyMs, model.latencyMs) &&
                                measured.bytesPerSecond <= capacity;
            allWithin = allWithin && within;
            std::printf("%5u %4.0f%% | %9.1f %9.1f | %10.0f %10.0f %10.0f | %8.2f %8.2f | %s\n",
                        size, load * 100.0, measured.packetsPerSecond, model.packetsPerSecond,
                        measured.bytesPerSecond, model.bytesPerSecond, capacity, measured.latencyMs,
                        model.latencyMs, within ? "yes" : "NO");
        }
    }
    std::printf("every row within 5 %% and bytes/s under capacity: %s\n", allWithin ? "yes" : "NO");
    return 0;
}

int WorldLinkTest(const char* path) {
    vz::Scenario scenario;
    vz::ScenarioError error;
    if (!vz::LoadScenarioFile(path, scenario, error)) {
        std::fprintf(stderr, "%s: %s\n", path, error.Text().c_str());
        return 1;
    }
    std::printf("\nthe link test to the Master of %s%s\n", path,
                scenario.radio.enabled ? "" : " (no radio line)");
    for (const uint32_t size : {60u, 1500u}) {
        Rig rig(scenario);
        const vz::MasterSpec* master = rig.emulator.Link().CurrentMaster();
        LinkFigures measured;
        if (!master ||
            !MeasureLinkTest(rig, vz::FormatMacAddress(master->address), size, measured)) {
            std::fprintf(stderr, "the link test could not run\n");
            return 1;
        }
        std::printf("%5u bytes: %7.1f packets/s %9.0f bytes/s %6.2f ms latency\n", size,
                    measured.packetsPerSecond, measured.bytesPerSecond, measured.latencyMs);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: radio_fidelity [SCENARIO]\n");
        return 2;
    }
    const int table = FidelityTable();
    if (table != 0 || argc == 1) {
        return table;
    }
    return WorldLinkTest(argv[1]);
}
