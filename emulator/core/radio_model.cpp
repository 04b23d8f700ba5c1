// The radio model's formulas, as SCENARIO.md ("The radio") writes them.
#include "emulator/core/radio_model.h"

#include <algorithm>
#include <cmath>

namespace vz {

namespace {

constexpr double kWeakestLevelDbm = -120.0;

// Which side of the line through `a` and `b` the point `p` lies on: the sign of the cross
// product.
double Side(FloorPoint a, FloorPoint b, FloorPoint p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

}  // namespace

double FrameAirtimeMs(uint32_t bytes, uint32_t rateKbps) {
    // A kbit/s carries that many bits per millisecond.
    return kPreambleMs + 8.0 * double(bytes + kFrameHeaderBytes) / double(rateKbps);
}

double ChannelCapacityBytesPerSecond(uint32_t bytes, uint32_t rateKbps, double load) {
    return 1000.0 * double(bytes) * (1.0 - load) / FrameAirtimeMs(bytes, rateKbps);
}

bool Crosses(const Wall& wall, FloorPoint a, FloorPoint b) {
    // Each segment's ends lie strictly on both sides of the other's line.
    return Side(wall.from, wall.to, a) * Side(wall.from, wall.to, b) < 0.0 &&
           Side(a, b, wall.from) * Side(a, b, wall.to) < 0.0;
}

double PathLevelDbm(const RadioSpec& radio, FloorPoint card, FloorPoint station) {
    const double distance = std::max(1.0, std::hypot(station.x - card.x, station.y - card.y));
    double level = radio.txDbm - kReferenceLossDb - 10.0 * radio.exponent * std::log10(distance);
    for (const Wall& wall : radio.walls) {
        if (Crosses(wall, card, station)) {
            level -= wall.lossDb;
        }
    }
    return std::max(level, kWeakestLevelDbm);
}

double FrameErrorRate(double levelDbm, double sensitivityDbm, uint32_t bytes) {
    const double margin = levelDbm - sensitivityDbm;
    const double bitError =
        std::min(0.5, kBitErrorAtSensitivity * std::pow(10.0, -margin / kMarginDbPerDecade));
    return 1.0 - std::pow(1.0 - bitError, 8.0 * double(bytes + kFrameHeaderBytes));
}

double GiveUpChance(double frameError, uint32_t retries) {
    return std::pow(frameError, double(retries + 1));
}

double ExpectedTries(double frameError, uint32_t retries) {
    if (frameError >= 1.0) {
        return double(retries + 1);
    }
    return (1.0 - GiveUpChance(frameError, retries)) / (1.0 - frameError);
}

void PlaceStations(Scenario& world) {
    if (!world.radio.enabled) {
        return;
    }
    for (MasterSpec& m : world.masters) {
        if (m.placement.placed) {
            m.signalDbm = PathLevelDbm(world.radio, world.card.at, m.placement.at);
        }
    }
    for (NodeSpec& n : world.nodes) {
        if (n.placement.placed) {
            n.signalDbm = PathLevelDbm(world.radio, world.card.at, n.placement.at);
        }
    }
}

}  // namespace vz
