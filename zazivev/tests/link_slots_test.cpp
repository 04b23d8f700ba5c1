// The link test's slots, figures and running averages, without a window.
#include <gtest/gtest.h>

#include <limits>

#include "driver/card_text.h"
#include "zazivev/survey/link_slots.h"
#include "zazivev/texts.h"

namespace vz {
namespace {

TEST(LinkSlots, LatencyAndDeviationOverTheStoredSamples) {
    LinkSlots slots;
    for (int sample = 0; sample < 10; ++sample) {
        slots.AddEcho(10, 100);
    }
    slots.StartSlot(1);
    slots.AddEcho(21, 100);
    slots.AddEcho(-3, 100);  // an echo stamped before its ping: counted, not a sample
    const LinkFigures figures = slots.Compute();
    EXPECT_EQ(figures.latency, 11);
    EXPECT_EQ(FormatText(texts::kLinkDeviation, figures.deviation), "3.2");
    EXPECT_EQ(figures.packetsPerSecond, 12);  // 12 echoes over two half-second slots
}

TEST(LinkSlots, PacketsCountPingsAndEchoesAndBytesAreBounded) {
    LinkSlots slots;
    slots.AddPing(41, 0xFFFFFFFFu);
    slots.AddEcho(5, 700);
    const LinkFigures figures = slots.Compute();
    EXPECT_EQ(figures.packetsPerSecond, 4);
    EXPECT_EQ(figures.bytesPerSecond, (1500 + 700) * 2);
    EXPECT_EQ(figures.signalPercent, 50);
}

TEST(LinkSlots, ASlotKeepsAtMostFiftySamples) {
    LinkSlots slots;
    for (int sample = 0; sample < 50; ++sample) {
        slots.AddEcho(10, 60);
    }
    slots.AddEcho(1000, 60);
    EXPECT_EQ(slots.Compute().latency, 10);
    EXPECT_EQ(slots.Compute().packetsPerSecond, 102);
}

TEST(RunningAverages, ASumLeavingTheIntRangeRestartsTheAverages) {
    RunningAverages averages;
    averages.BeginPass();
    averages.Add(RunningAverages::kPackets, 10);
    averages.Add(RunningAverages::kBytes, std::numeric_limits<int32_t>::max() - 5);
    averages.Add(RunningAverages::kLatency, 4);
    averages.BeginPass();
    EXPECT_EQ(averages.Add(RunningAverages::kPackets, 20), 15);
    EXPECT_EQ(averages.Add(RunningAverages::kBytes, 6), 6);
    EXPECT_EQ(averages.Cycles(), 1);
    EXPECT_EQ(averages.Add(RunningAverages::kLatency, 8), 8);
    averages.BeginPass();
    EXPECT_EQ(averages.Add(RunningAverages::kPackets, 40), 30);
}

}  // namespace
}  // namespace vz
