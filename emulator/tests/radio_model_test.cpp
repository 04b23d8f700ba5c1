// The radio model: formulas as tables, the shared channel, loss, a walk, walls, lines, replay.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "driver/ping.h"
#include "driver/request_block.h"
#include "driver/rssi_map.h"
#include "emulator/core/radio_model.h"
#include "emulator/tests/emulated_card.h"

namespace vz {
namespace {

// A card at 0,0 in the cell of a Master 5 m away; `extra` adds lines (stations, walls, timing).
std::string RadioWorld(const std::string& radio, const std::string& extra) {
    return "system nt 4\ndevice davuziro 1\ncard address=00a0d4000001 sensitivity=-92\n"
           "config domain=3\n" +
           radio +
           "\ncard-at 0,0\n"
           "master 00a0d4000a01 name=\"Cell\" domain=3 position=5,0 latency=2 spread=0\n" +
           extra + "timing service-us=0 sync-ms=0 signal-noise-db=0\nseed 3\n";
}

const char kRadio[] = "radio tx-dbm=15 exponent=3 rate-kbps=1600 retries=3";

struct AirtimeCase {
    uint32_t bytes;
    uint32_t rateKbps;
    double airtimeMs;
};

class Airtime : public testing::TestWithParam<AirtimeCase> {};

TEST_P(Airtime, IsThePreambleAndTheFramesBitsAtTheRate) {
    EXPECT_NEAR(FrameAirtimeMs(GetParam().bytes, GetParam().rateKbps), GetParam().airtimeMs, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Frames, Airtime,
                         testing::Values(AirtimeCase{60, 1600, 0.66}, AirtimeCase{1500, 1600, 7.86},
                                         AirtimeCase{0, 1000, 0.456},
                                         AirtimeCase{1500, 800, 15.52}));

struct LevelCase {
    FloorPoint card;
    FloorPoint station;
    double levelDbm;
};

class PathLevel : public testing::TestWithParam<LevelCase> {};

TEST_P(PathLevel, FallsWithDistanceAndLosesEachWallCrossed) {
    RadioSpec radio;
    radio.walls.push_back(Wall{{10, -5}, {10, 5}, 12.0});
    radio.walls.push_back(Wall{{-50, 30}, {50, 30}, 5.0});
    EXPECT_NEAR(PathLevelDbm(radio, GetParam().card, GetParam().station), GetParam().levelDbm,
                1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Floor, PathLevel,
    testing::Values(LevelCase{{0, 0}, {0.5, 0}, -25.0},     // nearer than 1 m is 1 m
                    LevelCase{{0, 0}, {0, 10}, -55.0},      // 15 - 40 - 30 log10(10)
                    LevelCase{{0, 0}, {20, 0}, -76.0309},   // through the 12 dB wall
                    LevelCase{{20, 0}, {0, 0}, -76.0309},   // the same both ways
                    LevelCase{{0, 5}, {20, 5}, -64.0309},   // past the wall's end
                    LevelCase{{0, 0}, {0, 40}, -78.0618},   // through the 5 dB wall
                    LevelCase{{0, 0}, {20, 40}, -79.5154},  // past one wall, through the other
                    LevelCase{{-1000, -1000}, {1000, 1000}, -120.0}));  // no weaker than -120

struct ErrorCase {
    double marginDb;
    uint32_t bytes;
    double frameError;
};

class FrameError : public testing::TestWithParam<ErrorCase> {};

TEST_P(FrameError, FollowsTheMarginAndTheLength) {
    EXPECT_NEAR(FrameErrorRate(-92.0 + GetParam().marginDb, -92.0, GetParam().bytes),
                GetParam().frameError, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Margins, FrameError,
                         testing::Values(ErrorCase{0, 1000, 0.0792}, ErrorCase{0, 1500, 0.1154},
                                         ErrorCase{0, 60, 0.0073}, ErrorCase{3, 1000, 0.0082},
                                         ErrorCase{30, 1500, 0.0}, ErrorCase{-30, 60, 1.0}));

struct RetryCase {
    double frameError;
    uint32_t retries;
    double giveUp;
    double tries;
};

class Retries : public testing::TestWithParam<RetryCase> {};

TEST_P(Retries, GiveUpOnlyWhenEveryTryFailed) {
    EXPECT_NEAR(GiveUpChance(GetParam().frameError, GetParam().retries), GetParam().giveUp, 1e-12);
    EXPECT_NEAR(ExpectedTries(GetParam().frameError, GetParam().retries), GetParam().tries, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Chances, Retries,
                         testing::Values(RetryCase{0.0, 3, 0.0, 1.0}, RetryCase{0.5, 0, 0.5, 1.0},
                                         RetryCase{0.5, 3, 0.0625, 1.875},
                                         RetryCase{1.0, 3, 1.0, 4.0}));

TEST(ChannelCapacity, IsThePayloadShareOfTheAirtimeTheLoadLeaves) {
    EXPECT_NEAR(ChannelCapacityBytesPerSecond(1500, 1600, 0.0), 1500 / 7.86e-3, 1e-6);
    EXPECT_NEAR(ChannelCapacityBytesPerSecond(60, 1600, 0.8), 0.2 * 60 / 0.66e-3, 1e-6);
}

// One directed ping to the Master; the status and the echo's delay.
Status DirectedPing(EmulatedCard& card, const char* address, uint32_t size, uint32_t& delay) {
    uint8_t sync = 0, id = 0;
    uint32_t sent = 0, echo = 0;
    EXPECT_EQ(SendPing(card.driver, address, size, kPingKindDirected, sync, sent, id), 0);
    Status status = Status::kOk;
    while ((status = GetPingEcho(card.driver, id, echo)) == Status::kEchoPending) {
        card.clock.YieldTimeSlice();
    }
    delay = echo - sent;
    return status;
}

struct RoundTripCase {
    uint32_t bytes;
    const char* loads;  // of two stations in the cell
    uint32_t delayMs;   // ceil(2 A(S) / (1 - their sum) + latency 2)
};

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, IsBothFramesOnTheLoadedChannelAndTheLatency) {
    const std::string loads = GetParam().loads;
    EmulatedCard card(RadioWorld(
        kRadio, "node 00a0d4000c01 position=0,3 load=" + loads.substr(0, loads.find(' ')) +
                    "\nnode 00a0d4000c02 position=0,4 load=" + loads.substr(loads.find(' ') + 1) +
                    "\n"));
    ASSERT_EQ(OpenDriver(card.driver), 0);
    for (int i = 0; i < 3; ++i) {
        uint32_t delay = 0;
        ASSERT_EQ(DirectedPing(card, "00a0d4000a01", GetParam().bytes, delay), kStatusOk);
        EXPECT_EQ(delay, GetParam().delayMs);
    }
}

INSTANTIATE_TEST_SUITE_P(SizesAndLoads, RoundTrip,
                         testing::Values(RoundTripCase{60, "0 0", 4},
                                         RoundTripCase{1500, "0 0", 18},
                                         RoundTripCase{1500, "0.2 0.3", 34},
                                         RoundTripCase{1000, "0.8 0", 56},
                                         RoundTripCase{1000, "0.6 0.6", 110}));  // at most 0.9

TEST(SharedChannel, BroadcastAnswersTakeTheAirOneAfterAnother) {
    EmulatedCard card(RadioWorld(kRadio,
                                 "node 00a0d4000c01 position=0,3 latency=0 spread=0\n"
                                 "node 00a0d4000c02 position=0,4 latency=0 spread=0\n"));
    ASSERT_EQ(OpenDriver(card.driver), 0);
    uint8_t sync = 0, id = 0;
    uint32_t sent = 0;
    ASSERT_EQ(SendPing(card.driver, kBroadcastAddress, 1500, 0, sync, sent, id), 0);
    // The broadcast ends at 7.86 ms; the nodes answer at once, the Master 2 ms later, each frame
    // waiting for the one before: 15.72, 23.58, 31.44 ms.
    std::vector<uint32_t> arrivals;
    for (uint32_t t = 0; t < 40; ++t) {
        char source[kNodeAddressTextSize];
        uint32_t bytes = 0;
        uint8_t percent = 0;
        while (GetPing(card.driver, source, bytes, percent) == Status::kPingTaken) {
            arrivals.push_back(card.clock.NowMs() - sent);
        }
        card.clock.Advance(1);
    }
    EXPECT_EQ(arrivals, (std::vector<uint32_t>{16, 24, 32}));
}

TEST(LossFromSignal, EchoesAreLostOnlyWhenEveryTryFailedAndTheNodesLossAddsOn) {
    // At the sensitivity a 1500-byte try is lost 11.5 % of the time; the echo needs two frames.
    struct Case {
        const char* node;
        double levelDbm;
        uint32_t retries;
        double loss;
    };
    for (const Case& c : {Case{"signal=-92", -92, 0, 0.0}, Case{"signal=-92", -92, 1, 0.0},
                          Case{"position=0,3 loss=0.25", -40, 3, 0.25}}) {
        EmulatedCard card(
            RadioWorld("radio retries=" + std::to_string(c.retries),
                       std::string("node 00a0d4000c01 latency=1 spread=0 ") + c.node + "\n"));
        ASSERT_EQ(OpenDriver(card.driver), 0);
        const double frameLost = GiveUpChance(FrameErrorRate(c.levelDbm, -92, 1500), c.retries);
        constexpr int kPings = 3000;
        int lost = 0;
        for (int i = 0; i < kPings; ++i) {
            uint32_t delay = 0;
            lost += DirectedPing(card, "00a0d4000c01", 1500, delay) == Status::kNoEcho ? 1 : 0;
        }
        EXPECT_NEAR(double(lost) / kPings,
                    1.0 - (1.0 - frameLost) * (1.0 - frameLost) * (1.0 - c.loss), 0.02)
            << c.node << ", " << c.retries << " retries";
    }
}

// The Master's percentage as the programs read it from its answering ping.
int MasterPercent(EmulatedCard& card) {
    uint32_t delay = 0;
    EXPECT_EQ(DirectedPing(card, "00a0d4000a01", 60, delay), kStatusOk);
    char source[kNodeAddressTextSize];
    uint32_t bytes = 0;
    uint8_t percent = 0;
    EXPECT_EQ(GetPing(card.driver, source, bytes, percent), Status::kPingTaken);
    return percent;
}

TEST(Walk, DownTheCorridorTheMastersLevelFallsStepByStep) {
    EmulatedCard card(RadioWorld(kRadio, ""));
    ASSERT_EQ(OpenDriver(card.driver), 0);
    char map[kRssiMapTextSize];
    ASSERT_EQ(BuildRssiMap(card.driver, map), 0);
    std::vector<int> percents;
    for (int x = 5; x <= 65; x += 4) {
        ASSERT_EQ(card.emulator.Control("card-at " + std::to_string(x) + ",2"), "OK");
        percents.push_back(MasterPercent(card));
    }
    for (size_t i = 1; i < percents.size(); ++i) {
        EXPECT_LE(percents[i], percents[i - 1]) << "step " << i;
    }
    EXPECT_GE(percents.front(), 95);
    EXPECT_LT(percents.back(), 10);
}

TEST(Walk, AWallCostsItsLossAndTheControlLineIsBounded) {
    EmulatedCard card(RadioWorld(kRadio, "wall 15,-10 15,10 loss-db=12.5\n"));
    auto level = [&](const std::string& place) {
        EXPECT_EQ(card.emulator.Control("card-at " + place), "OK");
        return card.emulator.World().masters[0].signalDbm;
    };
    // 20 m from the Master either way; only the first path crosses the wall.
    EXPECT_NEAR(level("5,20") - level("25,0"), 12.5, 1e-9);
    // Moving the Master places it anew; a fixed signal= takes it off the floor.
    ASSERT_EQ(card.emulator.Control("master 00a0d4000a01 position=25,10"), "OK");
    EXPECT_NEAR(card.emulator.World().masters[0].signalDbm, -55.0, 1e-9);
    ASSERT_EQ(card.emulator.Control("master 00a0d4000a01 signal=-60"), "OK");
    EXPECT_EQ(level("100,100"), -60.0);
    EXPECT_EQ(card.emulator.Control("card-at 1001,0").compare(0, 4, "ERR "), 0);
    EXPECT_EQ(card.emulator.Control("card-at 1,2,3").compare(0, 4, "ERR "), 0);
    EmulatedCard fixed("master 00a0d4000a01 domain=0 signal=-50\n");
    EXPECT_EQ(fixed.emulator.Control("card-at 1,1"), "ERR card-at needs a radio line above");
}

struct RefusedRadioLine {
    const char* lines;
    int line;
    const char* reason;
};

class RadioLines : public testing::TestWithParam<RefusedRadioLine> {};

TEST_P(RadioLines, AreRefusedWithTheirLine) {
    Scenario scenario;
    ScenarioError error;
    ASSERT_FALSE(ParseScenario(GetParam().lines, scenario, error));
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_EQ(error.reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, RadioLines,
    testing::Values(
        RefusedRadioLine{"card-at 1,1", 1, "card-at needs a radio line above"},
        RefusedRadioLine{"node 00a0d4000c01 position=1,1", 1, "position= needs a radio line above"},
        RefusedRadioLine{"node 00a0d4000c01 signal=-50 load=0.1", 1,
                         "load= needs a radio line above"},
        RefusedRadioLine{"wall 0,0 1,1 loss-db=3", 1, "a wall needs a radio line above"},
        RefusedRadioLine{"radio\nradio", 2, "the radio is already defined"},
        RefusedRadioLine{"radio exponent=7", 1, "exponent must be a number from 1.5 to 6"},
        RefusedRadioLine{"radio rate-kbps=20", 1,
                         "rate-kbps must be a whole number from 50 to 11000"},
        RefusedRadioLine{"radio retries=16", 1, "retries must be a whole number from 0 to 15"},
        RefusedRadioLine{"radio power=3", 1, "unknown key 'power' for radio"},
        RefusedRadioLine{"radio\nnode 00a0d4000c01 signal=-50 position=1,1", 2,
                         "give signal= or position=, not both"},
        RefusedRadioLine{"radio\nnode 00a0d4000c01 position=1", 2,
                         "'1' is not a place X,Y in metres within -1000..1000"},
        RefusedRadioLine{"radio\nnode 00a0d4000c01 position=0,1e9", 2,
                         "'0,1e9' is not a place X,Y in metres within -1000..1000"},
        RefusedRadioLine{"radio\nnode 00a0d4000c01 position=1,1 load=0.95", 2,
                         "load must be a number from 0 to 0.9"},
        RefusedRadioLine{"radio\nmaster 00a0d4000a01 domain=1", 2,
                         "a new master needs domain= and signal= (or position=)"},
        RefusedRadioLine{"radio\nwall 1,1 1,1 loss-db=3", 2, "a wall needs two different ends"},
        RefusedRadioLine{"radio\nwall 0,0 1,1", 2, "a wall needs loss-db="},
        RefusedRadioLine{"radio\nwall 0,0 1,1 loss-db=61", 2,
                         "loss-db must be a number from 0 to 60"},
        RefusedRadioLine{"radio\ncard-at nan,0", 2,
                         "'nan,0' is not a place X,Y in metres within -1000..1000"}));

// Every ping's echo status and time and every received ping, for a fixed round of pings.
std::vector<uint32_t> Trace(uint64_t seed) {
    EmulatedCard card(RadioWorld(kRadio,
                                 "node 00a0d4000c01 signal=-91 answer=0.6 latency=4 spread=2 "
                                 "load=0.3\nnode 00a0d4000c02 position=30,0 latency=3 spread=1\n") +
                      "timing signal-noise-db=2\nseed " + std::to_string(seed) + "\n");
    std::vector<uint32_t> trace;
    EXPECT_EQ(OpenDriver(card.driver), 0);
    for (int i = 0; i < 60; ++i) {
        uint32_t delay = 0;
        trace.push_back(
            StatusCode(DirectedPing(card, i % 2 ? "00a0d4000c01" : "00a0d4000c02", 1500, delay)));
        trace.push_back(delay);
        uint8_t sync = 0, id = 0;
        uint32_t sent = 0, bytes = 0;
        SendPing(card.driver, kBroadcastAddress, 500, 0, sync, sent, id);
        card.clock.Advance(40);
        char source[kNodeAddressTextSize];
        uint8_t percent = 0;
        while (GetPing(card.driver, source, bytes, percent) == Status::kPingTaken) {
            trace.push_back(card.clock.NowMs());
            trace.push_back(percent);
        }
    }
    return trace;
}

TEST(Replay, TheSameSeedGivesTheSameWorldOnVirtualTime) {
    EXPECT_EQ(Trace(1), Trace(1));
    EXPECT_NE(Trace(1), Trace(2));
}

}  // namespace
}  // namespace vz
