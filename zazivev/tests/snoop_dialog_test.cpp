// Snoop: the plan by country, the dwell at each rate, the paint in pixels, cut and bad dwells.
#include "driver/rssi_map.h"
#include "zazivev/snoop/snoop_dialog.h"
#include "zazivev/tests/snoop_template.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

// Snoop open on its own over an emulated card whose signal table is built, as after the check.
class SnoopTest : public ToolTest {
  protected:
    void OpenSnoop(const std::string& extra = "", int rate = SnoopDialog::kFast, int country = 0) {
        ui.DeclareTemplate(IDD_SNOOP, SnoopTemplate(ToolTemplates()));
        std::string scenario = kQuickScenario + extra;
        scenario.replace(scenario.find("country=0"), 9, "country=" + std::to_string(country));
        StartWithoutOpening(scenario);
        ASSERT_EQ(OpenDriver(*driver), 0);
        char map[kRssiMapTextSize];
        BuildRssiMap(*driver, map);
        snoop = std::make_unique<SnoopDialog>(*context);
        snoop->samplingRate = rate;
        host = &ui.Open(*snoop);
    }

    const FrequencyPoint& Record(int n) { return snoop->Records()[n]; }
    Image Graph() { return host->RenderCanvas(IDC_SNOOP_GRAPH); }

    std::unique_ptr<SnoopDialog> snoop;
    HeadlessHost* host = nullptr;
};

int CountInColumn(const Image& image, int x, Rgb colour) {
    int n = 0;
    for (int y = 0; y < image.height; ++y) {
        n += image.At(x, y) == colour;
    }
    return n;
}

constexpr int kRateButtons[] = {IDC_SNOOP_SLOW, IDC_SNOOP_MEDIUM, IDC_SNOOP_FAST};

// Runs of light grey along a row: the graph's columns.
int ColumnsOnRow(const Image& image, int y) {
    int runs = 0;
    for (int x = 0; x < image.width; ++x) {
        runs += image.At(x, y) == kSnoopEmpty && (x == 0 || !(image.At(x - 1, y) == kSnoopEmpty));
    }
    return runs;
}

TEST_F(SnoopTest, TheCountryCodeChoosesTheColumnsAndTheirLabels) {
    struct Case {
        int country;
        int points;
        const char* low;
        const char* high;
    };
    for (const Case c : {Case{0, 79, "2.402", "2.480"}, Case{1, 23, "2.402", "2.424"},
                         Case{2, 43, "2.407", "2.449"}, Case{3, 100, "2.402", "2.501"},
                         Case{7, 79, "2.402", "2.480"}, Case{66, 43, "2.407", "2.449"}}) {
        OpenSnoop("", SnoopDialog::kFast, c.country);
        ui.RunFor(100);
        EXPECT_EQ(ColumnsOnRow(Graph(), 20), c.points) << c.country;
        EXPECT_EQ(host->GetItemText(IDC_SNOOP_LOW_LABEL), c.low);
        EXPECT_EQ(host->GetItemText(IDC_SNOOP_HIGH_LABEL), c.high);
    }
}

TEST_F(SnoopTest, EachRateDwellsUntilItsSampleCountOrItsTime) {
    struct Case {
        int rate;
        const char* timing;
        int samples;
        uint32_t ms;
    };
    for (const Case c : {Case{SnoopDialog::kFast, "service-us=1000", 3, 6},
                         Case{SnoopDialog::kMedium, "service-us=1000", 30, 60},
                         Case{SnoopDialog::kSlow, "service-us=1000", 300, 600},
                         Case{SnoopDialog::kSlow, "service-us=50000", 100, 10000}}) {
        OpenSnoop(std::string("timing ") + c.timing + "\n", c.rate);
        const uint32_t opened = clock.NowMs();
        ui.RunNextTimer();
        EXPECT_EQ(Record(0).count, c.samples) << c.timing;
        EXPECT_EQ(clock.NowMs() - opened - 100, c.ms);
        EXPECT_TRUE(host->IsChecked(kRateButtons[c.rate]));
    }
}

TEST_F(SnoopTest, BarsShowTheAverageInNavyAndThePeakInGreenDownToTheBar) {
    OpenSnoop();
    // Tall enough that a 1 % bar shows beneath its 4-pixel cap.
    host->SetClientSize(IDC_SNOOP_GRAPH, kGraphWidth, 608);
    const int unit = 6;
    const int x = 5 + 10 * 7 + 2;  // inside column 10: 5 pixels wide, 2 apart
    struct Case {
        FrequencyPoint point;
        int navy;
        int green;
    };
    for (const Case c :
         {Case{{0, 0, 3, 11}, 0, 0}, Case{{1, 1, 2, 11}, unit - 4, 4},
          Case{{70, 120, 3, 11}, 40 * unit, 30 * unit}, Case{{40, 120, 3, 11}, 40 * unit - 4, 4},
          Case{{100, 300, 3, 11}, 600 - 16 - 4, 4}}) {
        std::unique_ptr<Canvas> canvas = host->OpenCanvas(IDC_SNOOP_GRAPH);
        SnoopGraph graph(*canvas, 79);
        graph.ClearColumn(10);
        graph.Bars(10, c.point);
        const Image image = Graph();
        EXPECT_EQ(CountInColumn(image, x, kSnoopAverage), c.navy) << c.point.sum;
        EXPECT_EQ(CountInColumn(image, x, kSnoopPeak), c.green) << c.point.sum;
        EXPECT_EQ(CountInColumn(image, x - 3, kSnoopPeak) + CountInColumn(image, x + 3, kSnoopPeak),
                  0);
    }
}

TEST_F(SnoopTest, ARateButtonClearsTheGraphAndRestartsTheSweep) {
    OpenSnoop("spectrum floor=-60 sigma=0\n");
    ui.RunFor(1000);
    ASSERT_GT(Record(5).count, 0);
    host->Click(IDC_SNOOP_SLOW);
    ui.Settle();
    const Image image = Graph();
    EXPECT_EQ(CountInColumn(image, 5 + 2, kSnoopAverage) + CountInColumn(image, 40, kSnoopAverage),
              0);
    EXPECT_EQ(Record(5).count, 0);
    ui.RunFor(200);
    EXPECT_EQ(Record(0).count, 300);
    EXPECT_TRUE(host->IsChecked(IDC_SNOOP_SLOW));
}

TEST_F(SnoopTest, AFullPaintMidSweepKeepsEveryColumnAndMarksTheFrequencySampledLast) {
    OpenSnoop("spectrum floor=-60 sigma=0\n");
    ui.RunFor(500);
    const Image afterTicks = Graph();
    host->FirePaint();
    const Image image = Graph();
    EXPECT_GT(CountInColumn(image, 5 + 2, kSnoopAverage), 0);
    // The outline's left edge above the bars: on the third column, no longer on the second.
    for (const Image& shown : {afterTicks, image}) {
        EXPECT_EQ(shown.At(5 + 2 * 7, 17), kBlack);
        EXPECT_EQ(shown.At(5 + 1 * 7, 17), kSnoopEmpty);
    }
    // Below every tenth column a filled mark reaches higher than the other ticks.
    EXPECT_EQ(image.At(5 + 9 * 7 + 2, kGraphHeight - 6), kBlack);
    EXPECT_EQ(image.At(5 + 8 * 7 + 2, kGraphHeight - 6), (Rgb{255, 255, 255}));
}

TEST_F(SnoopTest, F1DoneAndARateButtonCutTheDwellShort) {
    struct Case {
        std::function<void(HeadlessHost&)> act;
        bool ended;
        bool redrawn;
    };
    for (const Case& c :
         {Case{[](HeadlessHost& h) { h.QueueKeyDown(kVkF1); }, false, false},
          Case{[](HeadlessHost& h) { h.QueueMouse([&h] { h.Click(kIdOk); }); }, true, false},
          Case{[](HeadlessHost& h) { h.QueueMouse([&h] { h.Click(IDC_SNOOP_FAST); }); }, false,
               true}}) {
        OpenSnoop("", SnoopDialog::kSlow);
        c.act(*host);
        ui.ClearEvents();
        ui.RunNextTimer();
        EXPECT_EQ(Record(0).count, 0);
        EXPECT_EQ(emulator->Counters().requests[kCmdGetRssi], 0u);
        EXPECT_EQ(host->Ended(), c.ended);
        EXPECT_EQ(ContainsInOrder(ui.Events(), {"147 invalidate 1146 1"}), c.redrawn);
        EXPECT_TRUE(host->HasTimer(1) || c.ended);
    }
}

TEST_F(SnoopTest, FailedAndOutOfRangeSamplesNeitherCountNorOverflow) {
    struct Case {
        const char* fault;
        uint8_t percentOfEveryReading;
        int count;
        int maximum;
        uint32_t dwellMs;
    };
    for (const Case c : {Case{"fault fail cmd=9 status=-1 count=always\n", 0, 0, 0, 1000},
                         Case{"fault drop cmd=9\n", 0, 0, 0, 0}, Case{"", 255, 3, 100, 0}}) {
        OpenSnoop(c.fault);
        std::fill(std::begin(driver->card.rssiPercent), std::end(driver->card.rssiPercent),
                  c.percentOfEveryReading);
        const uint32_t opened = clock.NowMs();
        ui.RunNextTimer();
        EXPECT_EQ(Record(0).count, c.count);
        EXPECT_EQ(Record(0).maximum, c.maximum);
        EXPECT_EQ(clock.NowMs() - opened - 100, c.dwellMs);
    }
}

TEST_F(SnoopTest, NothingIsDrawnOutsideABoxTooSmallForTheColumns) {
    OpenSnoop();
    for (const Rect box : {Rect{0, 0, 20, 10}, Rect{0, 0, 100, kGraphHeight}}) {
        host->SetClientSize(IDC_SNOOP_GRAPH, box.right, box.bottom);
        host->Control(IDC_SNOOP_GRAPH).canvas.clear();
        host->FirePaint();
        ui.RunFor(300);
        for (const CanvasOp& op : host->Control(IDC_SNOOP_GRAPH).canvas) {
            EXPECT_LE(std::max(op.rect.left, op.rect.right), box.right);
            EXPECT_LE(std::max(op.rect.top, op.rect.bottom), box.bottom);
        }
    }
}

}  // namespace
}  // namespace vz
