// The site survey's node table, signal rule and scroll table, without a window.
#include <gtest/gtest.h>

#include <string>

#include "ui/codes.h"
#include "zazivev/survey/node_table.h"
#include "zazivev/survey/signal_display.h"
#include "zazivev/survey/survey_scroll.h"

namespace vz {
namespace {

constexpr char kMaster[] = "00a0d4010001";

TEST(SurveyTable, LinkQualityFromRepliesOverSlotsSeen) {
    struct Case {
        std::string replies;  // one digit per slot seen: replies in it; the first adds the node
        int quality;
    };
    for (const Case& c : {Case{"10", 3}, Case{"1111111110", 5}, Case{"11110", 4}, Case{"33", 5},
                          Case{"1000000000", 1}}) {
        NodeTable table;
        table.Reset();
        for (size_t slot = 0; slot < c.replies.size(); ++slot) {
            if (slot > 0) {
                table.Advance();
            }
            for (int reply = 0; reply < c.replies[slot] - '0'; ++reply) {
                table.TakeReply("00a0d4100001", 50, kMaster);
            }
        }
        table.ComputeFigures();
        EXPECT_EQ(table.Entry(1).linkQuality, c.quality) << c.replies;
    }
}

TEST(SurveyTable, SilentSlotsBringQualityAndSignalToZero) {
    NodeTable table;
    table.Reset();
    table.TakeReply("00a0d4100001", 73, kMaster);
    for (int slot = 0; slot < kSurveySlots; ++slot) {
        table.Advance();
    }
    table.ComputeFigures();
    EXPECT_EQ(table.Entry(1).linkQuality, 0);
    EXPECT_EQ(table.Entry(1).signalPercent, 0);
}

TEST(SurveyTable, SignalRoundsUpToTenPercent) {
    for (auto [sum, count, shown] :
         {std::tuple{41, 1, 50}, std::tuple{40, 1, 40}, std::tuple{100, 1, 100},
          std::tuple{0, 0, 0}, std::tuple{81, 2, 50}, std::tuple{250, 1, 100}}) {
        EXPECT_EQ(ShownSignalPercent(sum, count), shown) << sum << "/" << count;
    }
}

TEST(SurveyTable, AddressOrderIgnoresCaseAndKeepsTheMasterFirst) {
    NodeTable table;
    table.Reset();
    for (const char* address : {"00a0d41000cc", "00A0D41000BB", kMaster, "00a0d41000aa"}) {
        table.TakeReply(address, 50, kMaster);
    }
    EXPECT_EQ(table.NodeCount(), 4);
    std::string order;
    for (int position = 0; position <= table.HighestEntry(); ++position) {
        order += std::string(table.Entry(table.ByAddress(position)).address).substr(10) + " ";
    }
    EXPECT_EQ(order, "01 aa BB cc ");
}

TEST(SurveyTable, TheHundredAndFirstNodeIsDropped) {
    NodeTable table;
    table.Reset();
    table.TakeReply(kMaster, 50, kMaster);
    char address[] = "00a0d4200000";
    for (int node = 1; node < kNodeTableSize; ++node) {
        std::snprintf(address + 8, 5, "%04x", node);
        ASSERT_EQ(table.TakeReply(address, 50, kMaster), NodeTable::Reply::kNodeAdded);
    }
    EXPECT_EQ(table.TakeReply("00a0d42fffff", 50, kMaster), NodeTable::Reply::kDropped);
    EXPECT_EQ(table.TakeReply(address, 50, kMaster), NodeTable::Reply::kCounted);
    EXPECT_EQ(table.HighestEntry(), kNodeTableSize - 1);
}

TEST(SurveyTable, ScrollTable) {
    struct Case {
        int request, pos, count;
        SurveyScroll expected;
    };
    for (const Case& c :
         {Case{kSbBottom, 0, 8, {1, 1}}, Case{kSbLineDown, 1, 8, {1, 8}},
          Case{kSbLineDown, 2, 20, {3, 3}}, Case{kSbLineUp, 1, 20, {0, 0}},
          Case{kSbLineUp, 16, 20, {12, 12}}, Case{kSbLineUp, 5, 20, {4, 4}},
          Case{kSbPageUp, 13, 20, {0, 0}}, Case{kSbPageUp, 14, 20, {7, 7}},
          Case{kSbPageDown, 6, 20, {13, 13}}, Case{kSbPageDown, 7, 20, {13, 20}},
          Case{kSbThumbPosition, 5, 20, {5, 5}}, Case{kSbThumbPosition, 13, 20, {13, 13}},
          Case{kSbThumbPosition, 14, 20, {13, 14}}, Case{kSbTop, 9, 20, {0, 0}},
          Case{kSbThumbTrack, 9, 20, {4, 9}}}) {
        const SurveyScroll got = ScrollSurvey(c.request, c.pos, 4, c.count);
        EXPECT_EQ(got.topRow, c.expected.topRow) << c.request << " at " << c.pos;
        EXPECT_EQ(got.position, c.expected.position) << c.request << " at " << c.pos;
    }
}

}  // namespace
}  // namespace vz
