// The site survey's node table and signal rule, and the link test's slots, figures and running
// averages.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "driver/card_text.h"
#include "engines/link_slots.h"
#include "engines/node_table.h"
#include "engines/signal_display.h"

namespace vz {
namespace {

constexpr char kMaster[] = "00a0d4010001";

TEST(SurveyTable, LinkQualityFromRepliesOverSlotsSeen) {
    // One digit per slot seen: the replies in it; the first adds the node.
    const std::pair<std::string, int> kReplies[] = {
        {"10", 3}, {"1111111110", 5}, {"11110", 4}, {"33", 5}, {"1000000000", 1}};
    for (const auto& [replies, quality] : kReplies) {
        NodeTable table;
        table.Reset();
        for (size_t slot = 0; slot < replies.size(); ++slot) {
            if (slot > 0) {
                table.Advance();
            }
            for (int reply = 0; reply < replies[slot] - '0'; ++reply) {
                table.TakeReply("00a0d4100001", 50, kMaster);
            }
        }
        table.ComputeFigures();
        EXPECT_EQ(table.Entry(1).linkQuality, quality) << replies;
    }
}

TEST(SurveyTable, SignalRoundsUpToTenPercent) {
    const std::tuple<int, int, int> kSignals[] = {{41, 1, 50}, {40, 1, 40}, {100, 1, 100},
                                                  {0, 0, 0},   {81, 2, 50}, {250, 1, 100}};
    for (auto [sum, count, shown] : kSignals) {
        EXPECT_EQ(ShownSignalPercent(sum, count), shown) << sum << "/" << count;
    }
}

TEST(SurveyTable, AddressOrderIgnoresCaseAndKeepsTheMasterFirstAndTheHundredAndFirstIsDropped) {
    NodeTable table;
    table.Reset();
    for (const char* address :
         {"00a0d41000cc", "00A0D41000BB", kMaster, "00a0d41000aa", "00a0d4000002"}) {
        table.TakeReply(address, 50, kMaster);
    }
    EXPECT_EQ(table.NodeCount(), 5);
    std::string order;
    for (int position = 0; position <= table.HighestEntry(); ++position) {
        order += std::string(table.Entry(table.ByAddress(position)).address).substr(10) + " ";
    }
    EXPECT_EQ(order, "01 02 aa BB cc ");

    char address[] = "00a0d4200000";
    for (int node = table.HighestEntry() + 1; node < kNodeTableSize; ++node) {
        std::snprintf(address + 8, 5, "%04x", node);
        ASSERT_EQ(table.TakeReply(address, 50, kMaster), NodeTable::Reply::kNodeAdded);
    }
    EXPECT_EQ(table.TakeReply("00a0d42fffff", 50, kMaster), NodeTable::Reply::kDropped);
    EXPECT_EQ(table.TakeReply(address, 50, kMaster), NodeTable::Reply::kCounted);
    EXPECT_EQ(table.HighestEntry(), kNodeTableSize - 1);
}

TEST(LinkSlots, FiguresOverTheStoredSamplesWithinTheirBounds) {
    LinkSlots slots;
    for (int sample = 0; sample < 10; ++sample) {
        slots.AddEcho(10, 100);
    }
    slots.StartSlot(1);
    slots.AddEcho(21, 100);
    slots.AddEcho(-3, 100);  // an echo stamped before its ping: counted, not a sample
    const LinkFigures figures = slots.Compute();
    EXPECT_EQ(figures.latency, 11);
    EXPECT_EQ(FormatText("%.1f", figures.deviation), "3.2");
    EXPECT_EQ(figures.packetsPerSecond, 12);  // 12 echoes over two half-second slots

    LinkSlots halves;  // a mean of 10.5 rounds to 11, and the spread is taken around that
    halves.AddEcho(10, 100);
    halves.AddEcho(11, 100);
    EXPECT_EQ(FormatText("%.1f", halves.Compute().deviation), "0.7");

    // Packets count pings and echoes; bytes and samples are bounded.
    LinkSlots pings;
    pings.AddPing(41, 0xFFFFFFFFu);
    pings.AddEcho(5, 700);
    const LinkFigures counted = pings.Compute();
    EXPECT_EQ(counted.packetsPerSecond, 4);
    EXPECT_EQ(counted.bytesPerSecond, (1500 + 700) * 2);
    EXPECT_EQ(counted.signalPercent, 50);

    LinkSlots thirds;  // rates per second round to nearest: 4 echoes and 400 bytes over 3 slots
    for (const int slot : {0, 1, 2}) {
        thirds.StartSlot(slot);
        thirds.AddEcho(5, 100);
    }
    thirds.AddEcho(5, 100);
    EXPECT_EQ(thirds.Compute().packetsPerSecond, 3);
    EXPECT_EQ(thirds.Compute().bytesPerSecond, 267);

    LinkSlots full;  // a slot keeps at most fifty samples
    for (int sample = 0; sample < 50; ++sample) {
        full.AddEcho(10, 60);
    }
    full.AddEcho(1000, 60);
    EXPECT_EQ(full.Compute().latency, 10);
    EXPECT_EQ(full.Compute().packetsPerSecond, 102);
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
