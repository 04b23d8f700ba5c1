// Snoop's speed through the emulator link, in one run: one full sweep at Fast against its floor
// (the points times the 100 ms timer period) and the samples per second of a Slow dwell against
// the link's own round trips per second (a sample costs two requests).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "driver/rssi_map.h"
#include "emulator/bench/served_card.h"
#include "platform/fake/recording_shell.h"
#include "platform/fake/memory_registry.h"
#include "platform/fake/virtual_clock.h"
#include "ui/headless/headless_ui.h"
#include "zazivev/res/resource.h"
#include "zazivev/snoop/snoop_dialog.h"
#include "zazivev/tests/snoop_template.h"

namespace {

using Millis = std::chrono::duration<double, std::milli>;
constexpr uint32_t kTimerMs = 100;
constexpr int kRoundTrips = 1000;
constexpr int kRounds = 10;

constexpr char kWorld[] =
    "system nt 4\ndevice davuziro 1\ncard country=0\ntiming service-us=0 sync-ms=0\n"
    "spectrum floor=-90\ninterferer 44-56 level=-52 duty=0.5\n";

double Since(std::chrono::steady_clock::time_point start) {
    return Millis(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const std::unique_ptr<vz::ServedCard> card = vz::ServedCard::Open(kWorld);
    if (!card) {
        return 1;
    }
    vz::EmulatorLink& link = card->Link();
    vz::Driver& driver = card->OpenedDriver();
    char map[vz::kRssiMapTextSize];
    vz::BuildRssiMap(driver, map);

    // The dialog's timers run on virtual time, its dwells on the real clock through the link.
    vz::MemoryRegistry registry;
    vz::RecordingShell shell;
    vz::ToolContext context(driver, registry, shell, card->Clock(), link.GetSystemVersion());
    vz::VirtualClock timerClock;
    vz::HeadlessUi ui(timerClock);
    ui.DeclareTemplate(IDD_SNOOP, vz::SnoopTemplate(vz::RcTemplates::Load(
                                      {ZAZIVEV_RES_DIR "/resource.h", ZAZIVEV_RES_DIR "/strings.h"},
                                      {ZAZIVEV_RES_DIR "/snoop.rc"})));
    vz::SnoopDialog snoop(context, vz::SnoopDialog::kFast);
    vz::HeadlessHost& host = ui.Open(snoop);
    // The first paint is a full one and starts the sweep over; from then on each tick samples.
    ui.RunNextTimer();
    ui.RunNextTimer();
    const int points = snoop.Plan().points;
    auto start = std::chrono::steady_clock::now();
    double workMs = 0;
    double sweepMs = 0;
    for (int n = 0; n < points; ++n) {
        start = std::chrono::steady_clock::now();
        ui.RunNextTimer();
        const double tickMs = Since(start);
        workMs += tickMs;
        // A tick that outlasts the period lets the window system's next one come a period later.
        sweepMs += kTimerMs * std::max(1.0, std::ceil(tickMs / kTimerMs));
    }

    // Slow dwells and bare link round trips in turns, so both see the same load; command 8 is
    // the smallest request there is.
    double linkMs = 0;
    double dwellMs = 0;
    int samples = 0;
    for (int round = 0; round < kRounds; ++round) {
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRoundTrips; ++i) {
            uint8_t code = 0;
            vz::GetCountryCode(driver, code);
        }
        linkMs += Since(start);
        host.Click(IDC_SNOOP_SLOW);  // its full paint moves the cursor past the end ...
        ui.RunNextTimer();           // ... so this tick starts the sweep over
        start = std::chrono::steady_clock::now();
        ui.RunNextTimer();
        dwellMs += Since(start);
        samples += snoop.Records()[0].count;
    }
    const double roundTripsPerSecond = kRounds * kRoundTrips / (linkMs / 1000.0);

    std::printf("full sweep at Fast, %d points: %.0f ms (floor %u ms); work in the ticks %.1f ms\n",
                points, sweepMs, points * kTimerMs, workMs);
    std::printf(
        "Slow dwell: %d samples in %.1f ms = %.0f samples/s; link %.0f round trips/s, "
        "so at most %.0f samples/s\n",
        samples, dwellMs, samples / (dwellMs / 1000.0), roundTripsPerSecond,
        roundTripsPerSecond / 2);
    return 0;
}
