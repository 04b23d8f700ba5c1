// The radio model's formulas: airtime, levels over the floor, frame errors and retries.
#pragma once

#include <cstdint>

#include "emulator/core/scenario.h"

namespace vz {

// Every frame's fixed cost: the preamble, and the header bytes sent with every payload.
constexpr double kPreambleMs = 0.2;
constexpr uint32_t kFrameHeaderBytes = 32;
// Path loss at the reference distance of 1 m; nearer is as near as 1 m.
constexpr double kReferenceLossDb = 40.0;
// The bit error rate at the card's sensitivity, and the dB of margin that divide it by ten.
constexpr double kBitErrorAtSensitivity = 1e-5;
constexpr double kMarginDbPerDecade = 3.0;
// The most of the channel the stations' background traffic can take together.
constexpr double kMaxCellLoad = 0.9;

// One try of a frame with `bytes` of payload on the air, in ms.
double FrameAirtimeMs(uint32_t bytes, uint32_t rateKbps);
// The payload bytes per second the channel carries in frames of `bytes`, with `load` taken by
// the background.
double ChannelCapacityBytesPerSecond(uint32_t bytes, uint32_t rateKbps, double load);
// True when the straight path from `a` to `b` crosses the wall.
bool Crosses(const Wall& wall, FloorPoint a, FloorPoint b);
// The level the card at `card` hears a station at `station` with: log-distance path loss and
// the loss of every wall on the way.
double PathLevelDbm(const RadioSpec& radio, FloorPoint card, FloorPoint station);
// The chance that one try of a frame of `bytes` is lost when heard at `levelDbm`.
double FrameErrorRate(double levelDbm, double sensitivityDbm, uint32_t bytes);
// The chance that a frame is given up: every one of its 1 + `retries` tries lost.
double GiveUpChance(double frameError, uint32_t retries);
// The tries a frame takes on average, the last one included.
double ExpectedTries(double frameError, uint32_t retries);
// Sets the level of every placed Master and node from where the card is.
void PlaceStations(Scenario& world);

}  // namespace vz
