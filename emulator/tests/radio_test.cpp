// Pings and signal readings through the driver layer: broadcast answer rates, directed echo
// latencies and losses, raw readings read back as the configured levels, the spectrum.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "driver/card_control.h"
#include "driver/ping.h"
#include "driver/request_block.h"
#include "driver/rssi_map.h"
#include "emulator/tests/emulated_card.h"

namespace vz {
namespace {

const std::string kCell =
    "system nt 4\n"
    "device davuziro 1\n"
    "card address=00a0d4000001\n"
    "config domain=3\n"
    "master 00a0d4000a01 name=\"Alpha\" domain=3 signal=-50 answer=1\n"
    "master 00a0d4000b01 name=\"Other\" domain=4 signal=-50\n"
    "node 00a0d4000c01 signal=-45 answer=0.9 latency=8 spread=2 loss=0.1\n"
    "node 00a0d4000c02 signal=-55 answer=0.5\n"
    "node 00a0d4000c03 signal=-65 answer=0.1\n"
    "node 00a0d4000c04 signal=-75 answer=1.0\n"
    "node 00a0d4000c05 signal=-60 answer=1.0 master=00a0d4000b01\n"
    "node 00a0d4000c06 signal=-99 answer=1.0\n"
    "timing sync-ms=1000 service-us=0 signal-noise-db=0\n"
    "seed 5\n";

void StartCard(EmulatedCard& card) {
    ASSERT_EQ(OpenDriver(card.driver), 0);
    uint8_t sync = 0;
    ASSERT_EQ(InitCard(card.driver, sync, 0, 0), 0);
    ASSERT_NE(sync, 0);
}

// Drains the received pings: count and last signal percent per source.
void Drain(Driver& driver, std::map<std::string, int>& counts,
           std::map<std::string, int>* percents = nullptr, uint32_t* bytes = nullptr) {
    char source[kNodeAddressTextSize];
    uint32_t byteCount = 0;
    uint8_t percent = 0;
    while (GetPing(driver, source, byteCount, percent) == Status::kPingTaken) {
        ++counts[source];
        if (percents) {
            (*percents)[source] = percent;
        }
        if (bytes) {
            *bytes = byteCount;
        }
    }
}

TEST(BroadcastPing, AnswerRatesConvergeToTheConfiguredProbability) {
    EmulatedCard card(kCell);
    StartCard(card);
    constexpr int kPings = 3000;
    std::map<std::string, int> counts;
    for (int i = 0; i < kPings; ++i) {
        uint8_t sync = 0, id = 0;
        uint32_t sent = 0;
        ASSERT_EQ(SendPing(card.driver, kBroadcastAddress, 1500, 0, sync, sent, id), 0);
        uint32_t echo = 0;
        while (GetPingEcho(card.driver, id, echo) == Status::kEchoPending) {
            card.clock.YieldTimeSlice();
        }
        card.clock.Advance(600);
        Drain(card.driver, counts);
    }
    const std::map<std::string, double> expected = {
        {"00a0d4000a01", 1.0}, {"00a0d4000c01", 0.9}, {"00a0d4000c02", 0.5},
        {"00a0d4000c03", 0.1}, {"00a0d4000c04", 1.0},
    };
    for (const auto& [address, rate] : expected) {
        EXPECT_NEAR(double(counts[address]) / kPings, rate, 0.03) << address;
    }
    // Another cell's node and one below the card's sensitivity never answer.
    EXPECT_EQ(counts.count("00a0d4000c05"), 0u);
    EXPECT_EQ(counts.count("00a0d4000c06"), 0u);
}

TEST(DirectedPing, LatencyAndLossFollowTheNode) {
    EmulatedCard card(kCell);
    StartCard(card);
    constexpr int kPings = 3000;
    std::vector<double> latencies;
    int lost = 0;
    int pendingAnswers = 0;
    std::map<std::string, int> counts;
    uint32_t bytes = 0;
    for (int i = 0; i < kPings; ++i) {
        uint8_t sync = 0, id = 0;
        uint32_t sent = 0;
        ASSERT_EQ(SendPing(card.driver, "00a0d4000c01", 700, kPingKindDirected, sync, sent, id), 0);
        uint32_t echo = 0;
        Status status;
        while ((status = GetPingEcho(card.driver, id, echo)) == Status::kEchoPending) {
            ++pendingAnswers;
            card.clock.YieldTimeSlice();
        }
        if (status == Status::kOk) {
            latencies.push_back(double(echo - sent));
        } else {
            ASSERT_EQ(status, kStatusNoEcho);
            ++lost;
        }
        Drain(card.driver, counts, nullptr, &bytes);
    }
    double mean = 0;
    for (double l : latencies) {
        mean += l;
    }
    mean /= latencies.size();
    double variance = 0;
    for (double l : latencies) {
        variance += (l - mean) * (l - mean);
    }
    const double deviation = std::sqrt(variance / latencies.size());
    EXPECT_NEAR(mean, 8.0, 0.2);
    EXPECT_NEAR(deviation, 2.0, 0.2);
    EXPECT_NEAR(double(lost) / kPings, 0.1, 0.02);
    EXPECT_GT(pendingAnswers, 0);
    // Each echo brings the target's own ping, with the bytes of ours.
    EXPECT_EQ(counts["00a0d4000c01"], int(latencies.size()));
    EXPECT_EQ(bytes, 700u);
}

TEST(DirectedPing, ToAStationNotInTheCellIsPendingThenHasNoEcho) {
    EmulatedCard card(kCell);
    StartCard(card);
    uint8_t sync = 0, id = 0;
    uint32_t sent = 0, echo = 0;
    ASSERT_EQ(SendPing(card.driver, "00a0d4000c05", 100, kPingKindDirected, sync, sent, id), 0);
    EXPECT_EQ(GetPingEcho(card.driver, id, echo), kStatusPending);
    card.clock.Advance(1000);
    EXPECT_EQ(GetPingEcho(card.driver, id, echo), kStatusNoEcho);
    EXPECT_EQ(GetPingEcho(card.driver, uint8_t(id + 7), echo), kStatusNoEcho);  // never sent
}

struct CalibrationCase {
    const char* calibration;
    int mapStatus;  // BuildRssiMap's result
};

class SignalReadback : public testing::TestWithParam<CalibrationCase> {};

TEST_P(SignalReadback, RawReadingsTurnBackIntoTheConfiguredLevel) {
    const std::string world = kCell + std::string("calibration ") + GetParam().calibration +
                              "\nnode 00a0d4000d01 signal=-42\nnode 00a0d4000d02 signal=-58\n"
                              "node 00a0d4000d03 signal=-69\nnode 00a0d4000d04 signal=-79\n";
    EmulatedCard card(world);
    StartCard(card);
    char text[kRssiMapTextSize];
    EXPECT_EQ(BuildRssiMap(card.driver, text), GetParam().mapStatus);
    uint8_t sync = 0, id = 0;
    uint32_t sent = 0;
    ASSERT_EQ(SendPing(card.driver, kBroadcastAddress, 64, 0, sync, sent, id), 0);
    card.clock.Advance(500);
    std::map<std::string, int> counts, percents;
    Drain(card.driver, counts, &percents);
    const std::map<std::string, double> levels = {{"00a0d4000d01", -42}, {"00a0d4000d02", -58},
                                                  {"00a0d4000d03", -69}, {"00a0d4000d04", -79},
                                                  {"00a0d4000c04", -75}, {"00a0d4000a01", -50}};
    for (const auto& [address, level] : levels) {
        ASSERT_EQ(counts[address], 1) << address;
        const double expected = 100.0 - 2.5 * (-level - 40.0);
        EXPECT_NEAR(percents[address], expected, 2.0) << address << " at " << level << " dBm";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calibrations, SignalReadback,
    testing::Values(CalibrationCase{"40:200 60:150 80:100", 0}, CalibrationCase{"40:200 80:100", 0},
                    CalibrationCase{"35:215 50:180 65:145 80:105 90:80", 0},
                    CalibrationCase{"40:230 48:205 55:170 62:160 70:120 80:95", 0},
                    CalibrationCase{"none", -1}));

TEST(Spectrum, InterfererStandsAboveTheNoiseFloor) {
    EmulatedCard card(kCell +
                      "spectrum floor=-95 sigma=1 traffic=0\n"
                      "interferer 40-45 level=-50 duty=1\n"
                      "noise 60 level=-70\n");
    StartCard(card);
    auto average = [&](uint8_t frequency) {
        int sum = 0;
        for (int i = 0; i < 20; ++i) {
            uint8_t percent = 0;
            EXPECT_EQ(GetRSSI_freq(card.driver, percent, frequency), 0);
            sum += percent;
        }
        EXPECT_EQ(card.emulator.ParkedFrequency(), frequency);
        return sum / 20;
    };
    EXPECT_NEAR(average(42), 75, 4);
    EXPECT_NEAR(average(60), 25, 4);
    EXPECT_LE(average(10), 1);
    uint8_t percent = 0;
    EXPECT_EQ(GetRSSI_freq(card.driver, percent, 0), -1);  // index 0 is not a frequency
    EXPECT_EQ(GetRSSI_freq(card.driver, percent, 101), -1);
}

}  // namespace
}  // namespace vz
