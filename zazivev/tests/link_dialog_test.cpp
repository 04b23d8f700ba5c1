// The directed link test's window on the emulated card: figures against the emulator's truth,
// roaming, recovery and the slider.
#include <string>

#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

TEST_F(SurveyTest, AFixedLatencyShowsItselfWithNoDeviationAndTheCardRoamingBeeps) {
    HeadlessHost& host = OpenLink("00a0d41000ab");
    EXPECT_EQ(host.GetItemText(IDC_LINK_MASTER_LABEL), "");
    ui.RunFor(3000);
    EXPECT_EQ(
        Texts(host, {IDC_LINK_LATENCY, IDC_LINK_MAXIMUM, IDC_LINK_DEVIATION, IDC_LINK_SIGNAL}),
        (std::vector<std::string>{"7", "7", "0.0", "90 %"}));
    // One echo and the node's own ping every 7 ms: about 2 x 1000 / 7 a second.
    EXPECT_NEAR(std::stoi(host.GetItemText(IDC_LINK_PACKETS)), 2 * 1000 / 7, 10);
    EXPECT_NE(host.GetItemText(IDC_LINK_AVERAGE_BYTES), "0");
    EXPECT_FALSE(host.IsVisible(IDC_LINK_OUT_OF_RANGE));

    // The node goes on answering while the card roams.
    emulator->Control("silence 00a0d4010001");
    ui.RunFor(1000);
    EXPECT_EQ(shell.Beeps(), (std::vector<std::pair<uint32_t, uint32_t>>{{1000, 500}}));
    EXPECT_EQ(host.GetItemText(IDC_LINK_ADDRESS), "00a0d41000ab");
}

TEST_F(SurveyTest, AKnownSpreadShowsAsTheDeviationOverALongRun) {
    HeadlessHost& host = OpenLink("00a0d4100003");
    ui.RunFor(5000);
    double sum = 0;
    constexpr int kPasses = 200;
    for (int pass = 0; pass < kPasses; ++pass) {
        ui.RunNextTimer();
        sum += std::stod(host.GetItemText(IDC_LINK_DEVIATION));
    }
    EXPECT_NEAR(sum / kPasses, 3.0, 0.1);
}

TEST_F(SurveyTest, ALostMasterIsFollowedAfterTheRecovery) {
    HeadlessHost& host = OpenLink("00a0d4010001");
    EXPECT_EQ(host.GetItemText(IDC_LINK_MASTER_LABEL), "Master Name");
    EXPECT_EQ(host.GetItemText(IDC_LINK_MASTER_NAME), "Lobby");
    ui.RunFor(1000);
    emulator->Control("silence 00a0d4010001");
    ui.RunFor(3000);
    // The start's, then the recovery's own and the one of its SynchToMaster: one recovery.
    EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], 3u);
    EXPECT_EQ(Texts(host, {IDC_LINK_ADDRESS, IDC_LINK_MASTER_NAME}),
              (std::vector<std::string>{"00a0d4010002", "Annex"}));
    EXPECT_NE(host.GetItemText(IDC_LINK_LATENCY), "0");
}

TEST_F(SurveyTest, ALostEchoIsGivenUpAndOnlyElevenInARowReinitialiseTheCard) {
    HeadlessHost& host = OpenLink("00a0d41000ab");
    emulator->Control("fault fail cmd=" + std::to_string(kCmdGetPingEcho) + " status=2 count=10");
    ui.RunFor(1000);
    EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], 1u);  // ten are not more than ten
    emulator->Control("node 00a0d41000ab loss=0.3");
    ui.RunFor(5000);
    EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], 1u);
    EXPECT_NE(host.GetItemText(IDC_LINK_PACKETS), "0");
}

TEST_F(SurveyTest, TheSliderSetsTheNextPingsSizeAndIsHandedBack) {
    HeadlessHost& host = OpenLink("00a0d41000ab", 4000);
    EXPECT_EQ(host.GetItemText(IDC_LINK_PACKET_SIZE), "1500");
    EXPECT_EQ(host.Control(IDC_LINK_PACKET_SLIDER).ticks.size(), 143u);
    EXPECT_EQ(link->PacketSize(), 4000);
    host.MoveTrackBar(IDC_LINK_PACKET_SLIDER, 60);
    ui.RunFor(1000);
    EXPECT_EQ(host.GetItemText(IDC_LINK_PACKET_SIZE), "60");
    // Each echo counts the 60 bytes sent and the node's answer of 60.
    const int packets = std::stoi(host.GetItemText(IDC_LINK_PACKETS));
    EXPECT_EQ(std::stoi(host.GetItemText(IDC_LINK_BYTES)), packets * 60);
    host.Click(kIdOk);
    ui.Settle();
    EXPECT_EQ(link->PacketSize(), 60);
}

}  // namespace
}  // namespace vz
