// What the emulator's fuzz targets share: the default world, and a round of the driver's reads
// through a card so that what the input changed is also served.
#pragma once

#include <cstdlib>

#include "driver/driver.h"
#include "driver/ping.h"
#include "driver/rssi_map.h"
#include "driver/status_queries.h"
#include "emulator/core/emulator.h"
#include "emulator/core/emulator_device_io.h"
#include "emulator/core/scenario_parser.h"

namespace vz {

// A scenario file of the source tree; a bad one ends the run.
inline Scenario LoadWorld(const char* path) {
    Scenario scenario;
    ScenarioError error;
    if (!LoadScenarioFile(path, scenario, error)) {
        std::abort();
    }
    return scenario;
}

// The shipped default scenario, read once.
inline const Scenario& DefaultWorld() {
    static const Scenario world = LoadWorld(VZ_SOURCE_DIR "/emulator/scenarios/default.scn");
    return world;
}

inline void ServeDriverRound(Emulator& emulator, Clock& clock) {
    EmulatorDeviceIo io(emulator);
    NullCardHost host;
    Driver driver(io, clock, host, DriverVariant::kTool);
    if (OpenDriver(driver) != Status::kOk) {
        return;
    }
    MasterReading reading;
    GetMasterNode(driver, reading);
    char version[32] = {};
    GetVersion(driver, version);
    char map[kRssiMapTextSize];
    BuildRssiMap(driver, map);
    uint8_t percent = 0;
    GetRSSI_freq(driver, percent, 40);
    uint32_t transmitTime = 0;
    uint8_t pingId = 0;
    SendPing(driver, kBroadcastAddress, 64, kPingKindDirected, reading.syncState, transmitTime,
             pingId);
    clock.SleepMs(100);
    uint32_t echoTime = 0;
    GetPingEcho(driver, pingId, echoTime);
    uint32_t bytes = 0;
    GetPing(driver, reading.nodeAddress, bytes, percent);
    CloseDriver(driver);
}

}  // namespace vz
