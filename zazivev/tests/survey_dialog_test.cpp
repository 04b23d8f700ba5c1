// The site survey's window on the emulated card: its rows, cycle, roaming and row buttons; and the
// directed link test's window: figures against the emulator's truth, roaming, recovery, slider.
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

TEST(SurveyScroll, ScrollTable) {
    // Request, position and node count; the top row and position after.
    using Scroll = std::tuple<int, int, int, int, int>;
    for (const auto& [request, pos, count, top, after] :
         {Scroll{kSbBottom, 0, 8, 1, 1}, Scroll{kSbLineDown, 1, 8, 1, 8},
          Scroll{kSbLineDown, 2, 20, 3, 3}, Scroll{kSbLineDown, 12, 20, 13, 20},
          Scroll{kSbLineUp, 1, 20, 0, 0}, Scroll{kSbLineUp, 16, 20, 12, 12},
          Scroll{kSbLineUp, 5, 20, 4, 4}, Scroll{kSbPageUp, 13, 20, 0, 0},
          Scroll{kSbPageUp, 14, 20, 7, 7}, Scroll{kSbPageDown, 6, 20, 13, 13},
          Scroll{kSbPageDown, 7, 20, 13, 20}, Scroll{kSbThumbPosition, 5, 20, 5, 5},
          Scroll{kSbThumbPosition, 13, 20, 13, 13}, Scroll{kSbThumbPosition, 14, 20, 13, 14},
          Scroll{kSbTop, 9, 20, 0, 0}, Scroll{kSbThumbTrack, 9, 20, 4, 9}}) {
        const SurveyScroll got = ScrollSurvey(request, pos, 4, count);
        EXPECT_EQ(got.topRow, top) << request << " at " << pos;
        EXPECT_EQ(got.position, after) << request << " at " << pos;
    }
}

class SurveyDialog : public SurveyTest {
  protected:
    std::string Text(int first, int row) { return host->GetItemText(first + row); }
    std::vector<std::string> Addresses() {
        std::vector<std::string> addresses;
        for (int row = 0; row < kSurveyRows; ++row) {
            addresses.push_back(Text(IDC_SURVEY_ADDRESS, row));
        }
        return addresses;
    }
    int RowOf(const std::string& address) {
        const std::vector<std::string> rows = Addresses();
        return int(std::find(rows.begin(), rows.end(), address) - rows.begin());
    }
};

TEST_F(SurveyDialog, RowsFillWithTheMasterFirstSortByAddressAndFollowTheReplies) {
    Survey(0);
    InjectFailure(kCmdReceivePing, kStatusFailed, "count=5");  // a failed request is no reply
    RunCycles(*host, 10);
    EXPECT_EQ(host->GetItemText(IDC_SURVEY_NODE_COUNT), "5");
    EXPECT_EQ(Text(IDC_SURVEY_MASTER_NAME, 0), "Lobby");
    EXPECT_EQ(Text(IDC_SURVEY_MASTER_NAME, 1), "");
    const int near = RowOf("00a0d41000ab");
    ASSERT_TRUE(near > 0 && near < kSurveyRows);
    EXPECT_EQ(Text(IDC_SURVEY_QUALITY, near), "5");
    EXPECT_EQ(Text(IDC_SURVEY_SIGNAL, near), "90 %");
    EXPECT_EQ(host->Control(IDC_SURVEY_SIGNAL_BAR + near).pos, 90);
    EXPECT_TRUE(host->IsVisible(IDC_SURVEY_LINK_TEST + near));
    EXPECT_EQ(host->Control(IDC_SURVEY_LINK_TEST + near).bitmapUp, "DLU");
    EXPECT_FALSE(host->IsVisible(IDC_SURVEY_LINK_TEST + 5));
    EXPECT_FALSE(host->IsVisible(IDC_SURVEY_SCROLL));

    host->Click(IDC_SURVEY_BY_ADDRESS);
    RunCycles(*host, 1);
    EXPECT_EQ(Addresses(), (std::vector<std::string>{"00a0d4010001", "00a0d4100002", "00a0d4100003",
                                                     "00a0d4100004", "00a0d41000ab", "", ""}));
    // Only the late answer falls into the slot being filled when the rows are drawn.
    EXPECT_EQ(Text(IDC_SURVEY_ACTIVITY, 3) + Text(IDC_SURVEY_ACTIVITY, 4), "(*)( )");

    // A node answering half the time stays mid quality, and a silent one falls to zero.
    int within = 0;
    int sum = 0;
    constexpr int kCycles = 500;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        RunCycles(*host, 1);
        const int quality = std::stoi(Text(IDC_SURVEY_QUALITY, RowOf("00a0d4100002")));
        within += quality >= 2 && quality <= 4;
        sum += quality;
    }
    // The figures are taken just after the ring moved on, so they cover nine answered cycles
    // out of ten: half of nine, scaled to 5, averages 2.5 and stays within 2..4 nine times in ten.
    EXPECT_GE(within, kCycles * 85 / 100);
    EXPECT_NEAR(double(sum) / kCycles, 2.5, 0.2);

    emulator->Control("silence 00a0d41000ab");
    RunCycles(*host, 10);
    const int row = RowOf("00a0d41000ab");
    EXPECT_EQ(Text(IDC_SURVEY_QUALITY, row) + Text(IDC_SURVEY_SIGNAL, row), "00 %");
}

// Before Windows 4 the row buttons are plain and empty; a card held on its Master opens with the
// box clear, and one that is the Master starts at the first node.
TEST_F(SurveyDialog, BeforeWindowsFourHeldAndMasterCards) {
    Survey(2, Edited(Edited(Edited(kSurveyScenario, "system nt 4", "system nt 3"), "roaming=0",
                            "roaming=1"),
                     "station=0", "station=2"));
    EXPECT_EQ(host->Control(IDC_SURVEY_LINK_TEST).bitmapUp, "");
    EXPECT_EQ(host->GetItemText(IDC_SURVEY_LINK_TEST + 6), "");
    EXPECT_FALSE(host->IsChecked(IDC_SURVEY_ROAMING));
    EXPECT_EQ(host->Control(IDC_SURVEY_SCROLL).low, 1);
    EXPECT_NE(Text(IDC_SURVEY_ADDRESS, 0), "");
    EXPECT_NE(Text(IDC_SURVEY_ADDRESS, 0), driver->card.masterAddress);
}

// A Master that never answers the broadcast gets no row, though the card is in its cell.
TEST_F(SurveyDialog, AMasterNotHeardLeavesTheFirstRowEmpty) {
    Survey(10, Edited(kSurveyScenario, "signal=-48 latency=2", "signal=-48 answer=0 latency=2"));
    EXPECT_EQ(host->GetItemText(IDC_SURVEY_NODE_COUNT), "4");
    EXPECT_EQ(Text(IDC_SURVEY_ADDRESS, 0) + Text(IDC_SURVEY_MASTER_NAME, 0), "");
    EXPECT_NE(Text(IDC_SURVEY_ADDRESS, 1), "");
}

TEST_F(SurveyDialog, ARowButtonRunsTheLinkTestAndScrollingNeedsMoreThanSevenNodes) {
    Survey(2);
    const std::string address = Text(IDC_SURVEY_ADDRESS, 1);
    ui.ExpectModal(IDD_DIRECTED_LINK, [&](Dialog&, HeadlessHost& linkHost) {
        EXPECT_EQ(linkHost.GetItemText(IDC_LINK_ADDRESS), address);
        EXPECT_EQ(context->helpContext, kHelpContextDirectedLink);
        EXPECT_EQ(linkHost.TrackBarGetPos(IDC_LINK_PACKET_SLIDER), 1500);
        linkHost.MoveTrackBar(IDC_LINK_PACKET_SLIDER, 60);
        linkHost.Click(kIdOk);
    });
    host->Click(IDC_SURVEY_LINK_TEST + 1);
    EXPECT_EQ(context->rememberedPacketSize, 60);
    EXPECT_EQ(context->helpContext, kHelpContextMain);
    EXPECT_TRUE(host->HasTimer(1));

    host->FireVScroll(IDC_SURVEY_SCROLL, kSbBottom);
    EXPECT_EQ(Text(IDC_SURVEY_ADDRESS, 0), "00a0d4010001");
    // Seven entries fit the rows; the eighth brings the scroll bar.
    for (const char* node : {"00a0d4200001", "00a0d4200002", "00a0d4200003"}) {
        EXPECT_FALSE(host->IsVisible(IDC_SURVEY_SCROLL)) << node;
        emulator->Control(std::string("node ") + node + " signal=-50");
        RunCycles(*host, 2);
    }
    EXPECT_TRUE(host->IsVisible(IDC_SURVEY_SCROLL));
    // Eight nodes with the Master: the bottom shows entries 1..7, and a line down stays there.
    host->FireVScroll(IDC_SURVEY_SCROLL, kSbBottom);
    const std::vector<std::string> bottom = Addresses();
    EXPECT_NE(bottom[0], "00a0d4010001");
    EXPECT_EQ(Text(IDC_SURVEY_MASTER_NAME, 0), "");
    EXPECT_NE(bottom[6], "");
    host->FireVScroll(IDC_SURVEY_SCROLL, kSbLineDown);
    EXPECT_EQ(Addresses(), bottom);
}

TEST_F(SurveyDialog, ACycleListensHalfASecondThenWaitsForTheEchoAndANewMasterEmptiesTheTable) {
    Survey(2);
    const auto cycleMs = [&] {
        const uint32_t start = clock.NowMs();
        RunCycles(*host, 1);
        return clock.NowMs() - start;
    };
    EXPECT_EQ(cycleMs(), 500u + 100u);
    EXPECT_FALSE(host->IsVisible(IDC_SURVEY_OUT_OF_RANGE));

    // A new Master beeps and empties the table.
    emulator->Control("silence 00a0d4010001");
    RunCycles(*host, 3);
    EXPECT_EQ(shell.Beeps(), (std::vector<std::pair<uint32_t, uint32_t>>{{1000, 500}}));
    EXPECT_EQ(Text(IDC_SURVEY_ADDRESS, 0), "00a0d4010002");
    EXPECT_EQ(Text(IDC_SURVEY_MASTER_NAME, 0), "Annex");
    EXPECT_EQ(host->GetItemText(IDC_SURVEY_NODE_COUNT), "5");

    InjectFailure(kCmdGetPingEcho, kStatusPending, "count=always");
    RunCycles(*host, 1);
    EXPECT_EQ(cycleMs(), 500u + 16 * 100u);
    EXPECT_TRUE(host->IsVisible(IDC_SURVEY_OUT_OF_RANGE));
}

TEST_F(SurveyDialog, ClearingRoamingLocksTheMasterARelockTakesItBackAndLeavingFreesIt) {
    Survey(2, Edited(kSurveyScenario, "V1.49b ", "V1.47a "));
    EXPECT_TRUE(host->IsChecked(IDC_SURVEY_ROAMING));
    // Lobby goes off the air and the card, now held, settles on Annex; the lock onto the Lobby
    // still shown in the first row fails.
    emulator->Control("silence 00a0d4010001");
    InjectFailure(kCmdSearchSynchronous, kStatusFailed, "nth=1");
    host->Click(IDC_SURVEY_ROAMING);
    EXPECT_EQ(emulator->Config().roamingFlag, 1);
    EXPECT_EQ(ui.Cursor(), CursorShape::kArrow);
    // The first tick after the change finds the card out of step.
    InjectFailure(kCmdGetDriverData, kStatusFailed, "nth=1");
    ui.RunNextTimer();
    EXPECT_TRUE(host->IsVisible(IDC_SURVEY_OUT_OF_RANGE));
    emulator->Control("unsilence 00a0d4010001");
    ui.RunFor(1000);
    // The relock's own search, after the check box's.
    EXPECT_EQ(emulator->Counters().requests[kCmdSearchSynchronous], 2u);
    EXPECT_STREQ(driver->card.masterName, "Lobby");
    RunCycles(*host, 1);
    EXPECT_FALSE(host->IsVisible(IDC_SURVEY_OUT_OF_RANGE));

    // Roaming on again, and Lobby gone: the card stays free on Annex, with no lock to go back to.
    emulator->Control("silence 00a0d4010001");
    host->Click(IDC_SURVEY_ROAMING);
    InjectFailure(kCmdGetDriverData, kStatusFailed, "nth=1");
    ui.RunNextTimer();
    RunCycles(*host, 2);
    EXPECT_EQ(emulator->Config().roamingFlag, 0);
    EXPECT_EQ(Text(IDC_SURVEY_MASTER_NAME, 0), "Annex");

    // Leaving the survey with the Master locked lets the card roam again.
    host->Click(IDC_SURVEY_ROAMING);
    EXPECT_EQ(emulator->Config().roamingFlag, 1);
    host->Click(kIdOk);
    ui.Settle();
    EXPECT_EQ(emulator->Config().roamingFlag, 0);
}

// A lock the check box asked for that fails is tried again on the next tick, without the card
// having to drop out of step first.
TEST_F(SurveyDialog, AFailedLockIsRetriedByTheNextTick) {
    Survey(2, Edited(kSurveyScenario, "V1.49b ", "V1.47a "));
    emulator->Control("silence 00a0d4010001");
    InjectFailure(kCmdSearchSynchronous, kStatusFailed, "nth=1");
    host->Click(IDC_SURVEY_ROAMING);
    EXPECT_EQ(emulator->Counters().requests[kCmdSearchSynchronous], 1u);
    emulator->Control("unsilence 00a0d4010001");
    ui.RunFor(1000);
    EXPECT_EQ(emulator->Counters().requests[kCmdSearchSynchronous], 2u);
    EXPECT_STREQ(driver->card.masterName, "Lobby");
}

using LinkDialog = SurveyTest;

TEST_F(LinkDialog, AFixedLatencyShowsNoDeviationRoamingBeepsAndLostEchoesAreGivenUp) {
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

    // Ten lost echoes in a row are given up without reinitialising the card; eleven would.
    const uint64_t inits = emulator->Counters().requests[kCmdInitCard];
    InjectFailure(kCmdGetPingEcho, kStatusNoEcho, "count=10");
    ui.RunFor(1000);
    EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], inits);
    emulator->Control("node 00a0d41000ab loss=0.3");
    ui.RunFor(5000);
    EXPECT_EQ(emulator->Counters().requests[kCmdInitCard], inits);
    EXPECT_NE(host.GetItemText(IDC_LINK_PACKETS), "0");
    emulator->Control("node 00a0d41000ab loss=0");
    InjectFailure(kCmdGetPingEcho, kStatusNoEcho, "count=11");
    ui.RunFor(1000);
    EXPECT_GT(emulator->Counters().requests[kCmdInitCard], inits);
}

TEST_F(LinkDialog, AKnownSpreadShowsAsTheDeviationOverALongRun) {
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

// A failed send restarts the ring at its first slot: the slots it skips keep their older samples.
TEST_F(LinkDialog, AFailedSendRestartsTheRingAtItsFirstSlot) {
    HeadlessHost& host = OpenLink("00a0d41000ab");
    ui.RunFor(5000);
    emulator->Control("node 00a0d41000ab latency=21");
    ui.RunFor(1500);
    InjectFailure(kCmdTransmitPing, kStatusFailed, "nth=1");
    ui.RunFor(1500);
    // Three slots of the new latency and six of the old, weighted by their samples: 10 ms. Had
    // the ring gone on, six slots of the new latency would show 14.
    EXPECT_EQ(host.GetItemText(IDC_LINK_LATENCY), "10");
}

TEST_F(LinkDialog, ALostMasterIsFollowedAfterTheRecovery) {
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

TEST_F(LinkDialog, TheSliderSetsTheNextPingsSizeAndIsHandedBack) {
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
