// The emulated world as a scenario file describes it: the card, the devices, Masters, nodes,
// the radio and its floor, spectrum, timings and the random seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/core/faults.h"
#include "emulator/core/text_fields.h"
#include "platform/system_version.h"

namespace vz {

constexpr size_t kMaxCalibrationEntries = 10;
constexpr size_t kMaxScenarioMasters = 64;
constexpr size_t kMaxScenarioNodes = 256;
constexpr int kMaxFrequencyIndex = 100;
constexpr size_t kMaxMasterNameLength = 11;
constexpr size_t kMaxSecurityIdLength = 20;
constexpr size_t kRomVersionLength = 7;
constexpr size_t kMaxDriverVersionLength = 31;

// A place on the floor, in metres.
struct FloorPoint {
    double x = 0.0;
    double y = 0.0;
};

struct Wall {
    FloorPoint from;
    FloorPoint to;
    double lossDb = 0.0;  // taken off every level whose path crosses it
};

// The radio model of the `radio` line (SCENARIO.md, "The radio"); off, the world keeps the fixed
// levels and the size-blind ping timings it always had.
struct RadioSpec {
    bool enabled = false;
    double txDbm = 15.0;    // every station's transmit power
    double exponent = 3.0;  // log-distance path loss exponent
    uint32_t rateKbps = 1600;
    uint32_t retries = 3;  // tries after the first before a frame is given up
    std::vector<Wall> walls;
};

constexpr size_t kMaxWalls = 64;

// Where a station stands; unplaced, its `signal=` holds.
struct Placement {
    bool placed = false;
    FloorPoint at;
};

struct CalibrationEntry {
    uint8_t belowZeroDbm = 0;  // the level is -belowZeroDbm dBm
    uint8_t raw = 0;
};

// What the card is set to; the programs change it through parameters and commands.
struct CardConfig {
    uint8_t stationType = 0;  // 0 Station, 1 Alternate Master, 2 Master
    uint8_t domain = 0;
    uint8_t channel = 1;  // as a Master
    uint8_t subchannel = 1;
    std::string masterName;   // announced as a Master, at most 11 characters
    uint8_t roamingFlag = 0;  // 0 roaming enabled, 1 held on its Master
    uint8_t roamConfig = 1;   // 0 Slow, 1 Normal, 2 Fast
    uint8_t macOptimize = 0;  // 0 Normal, 1 Light
    uint16_t inactivity = 0;  // 5-second units
    uint8_t peerToPeer = 1;
    std::string securityId;
};

struct CardSpec {
    MacAddress address = {0x00, 0xa0, 0xd4, 0x12, 0x34, 0x56};
    std::string driverVersion = "V1.2.4";
    std::string romVersion = "V1.49b ";
    uint8_t countryCode = 0;
    std::vector<CalibrationEntry> calibration = {{40, 200}, {60, 150}, {80, 100}};
    double sensitivityDbm = -92.0;  // Masters and nodes weaker than this are not heard
    CardConfig config;
    FloorPoint at;  // where the card is, when the world has a radio
};

struct MasterSpec {
    MacAddress address{};
    std::string name;
    uint8_t domain = 0;
    uint8_t channel = 1;
    uint8_t subchannel = 1;
    std::string securityId;
    double signalDbm = -60.0;  // from the placement when placed
    Placement placement;
    bool silent = false;
    // How the Master answers pings while the card is in its cell.
    double answer = 1.0;
    double latencyMs = 2.0;
    double spreadMs = 0.5;
    double echoLoss = 0.0;
    double load = 0.0;  // share of the channel its own traffic takes
};

struct NodeSpec {
    MacAddress address{};
    double signalDbm = -70.0;  // from the placement when placed
    Placement placement;
    double answer = 1.0;     // chance of answering a broadcast ping
    double latencyMs = 3.0;  // echo delay of a directed ping: mean and standard deviation
    double spreadMs = 1.0;
    double echoLoss = 0.0;  // chance that a directed ping's echo never comes
    double load = 0.0;      // share of the channel its own traffic takes
    bool silent = false;
    bool inOneCell = false;  // when set, the node is heard only in `cellMaster`'s cell
    MacAddress cellMaster{};
};

struct Interferer {
    int first = 1;  // frequency indices covered, inclusive
    int last = 1;
    double levelDbm = -60.0;
    double duty = 1.0;  // share of the samples in which it transmits
};

struct SpectrumSpec {
    double noiseFloorDbm = -95.0;
    double noiseSigmaDb = 2.0;
    std::vector<std::pair<int, double>> noiseByIndex;  // per-frequency noise floor overrides
    std::vector<Interferer> interferers;
    double trafficRate = 0.05;  // share of samples that catch a heard station's transmission
};

struct Timings {
    uint32_t syncMs = 1200;      // command 13 or a lost Master to synchronisation
    uint32_t lockMs = 300;       // command 7 to synchronisation with the named Master
    uint32_t dwellMs = 250;      // each Master of a searched domain is reported this long
    uint32_t serviceUs = 100;    // time the driver takes per request
    double signalNoiseDb = 1.0;  // spread of a received ping's level around the node's signal
};

struct DeviceSpec {
    bool windows95Device = false;  // "\\.\ZERUVE"
    std::vector<int> ntNumbers;    // "\\.\DAVUZIRO%d"
};

struct Scenario {
    SystemVersion system;
    DeviceSpec devices;
    CardSpec card;
    std::vector<MasterSpec> masters;
    std::vector<NodeSpec> nodes;
    RadioSpec radio;
    SpectrumSpec spectrum;
    Timings timing;
    uint64_t seed = 1;
    std::vector<FaultSpec> faults;
};

// A scenario with the defaults above and the NT device DAVUZIRO1: a card with no Master.
Scenario DefaultScenario();

}  // namespace vz
