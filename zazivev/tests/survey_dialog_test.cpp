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
    // Copy Figures: each row as shown, under the window's labels.
    const std::vector<std::vector<std::string>> copied = CopiedFigures(*host);
    ASSERT_EQ(copied.size(), 6u);
    EXPECT_EQ(copied[0],
              (std::vector<std::string>{"Node Address", "Master Name", "Link Quality (0-5)",
                                        "Activity", "Received Signal Strength"}));
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(copied[row + 1],
                  Texts(*host, {IDC_SURVEY_ADDRESS + row, IDC_SURVEY_MASTER_NAME + row,
                                IDC_SURVEY_QUALITY + row, IDC_SURVEY_ACTIVITY + row,
                                IDC_SURVEY_SIGNAL + row}));
    }

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

using LinkDialog = SurveyTest;

// The test's figures go to their fields as each pass ends; a Master target is named, and
// followed when the card roams.
TEST_F(LinkDialog, TheWindowShowsEachPassAndFollowsAMasterTarget) {
    HeadlessHost& host = OpenLink("00a0d4010001");
    EXPECT_EQ(Texts(host, {IDC_LINK_MASTER_LABEL, IDC_LINK_MASTER_NAME}),
              (std::vector<std::string>{"Master Name", "Lobby"}));
    ui.RunFor(3000);
    EXPECT_EQ(Texts(host, {IDC_LINK_LATENCY, IDC_LINK_AVERAGE_LATENCY, IDC_LINK_MAXIMUM,
                           IDC_LINK_DEVIATION, IDC_LINK_SIGNAL, IDC_LINK_SECONDS}),
              (std::vector<std::string>{"2", "2", "2", "0.0", "80 %", "3"}));
    EXPECT_EQ(host.Control(IDC_LINK_SIGNAL_BAR).pos, 80);
    const std::vector<std::vector<std::string>> copied = CopiedFigures(host);
    ASSERT_EQ(copied.size(), 2u);
    EXPECT_EQ(copied[0][4] + "=" + copied[1][4], "Received Signal Strength=80 %");
    EXPECT_EQ(copied[1],
              Texts(host, {IDC_LINK_ADDRESS, IDC_LINK_MASTER_NAME, IDC_LINK_PACKETS, IDC_LINK_BYTES,
                           IDC_LINK_SIGNAL, IDC_LINK_LATENCY, IDC_LINK_MAXIMUM, IDC_LINK_DEVIATION,
                           IDC_LINK_SECONDS, IDC_LINK_AVERAGE_PACKETS, IDC_LINK_AVERAGE_BYTES,
                           IDC_LINK_AVERAGE_LATENCY, IDC_LINK_PACKET_SIZE}));
    EXPECT_FALSE(host.IsVisible(IDC_LINK_OUT_OF_RANGE));
    emulator->Control("silence 00a0d4010001");
    ui.RunFor(3000);
    EXPECT_EQ(Texts(host, {IDC_LINK_ADDRESS, IDC_LINK_MASTER_NAME}),
              (std::vector<std::string>{"00a0d4010002", "Annex"}));
}

TEST_F(LinkDialog, TheSliderSetsTheNextPingsSizeAndIsHandedBack) {
    HeadlessHost& host = OpenLink("00a0d41000ab", 4000);
    EXPECT_EQ(host.GetItemText(IDC_LINK_MASTER_LABEL), "");
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
