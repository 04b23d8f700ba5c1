// Snoop: the plan by country, the dwell at each rate, the paint in pixels, cut and bad dwells.
#include "driver/rssi_map.h"
#include "zazivev/snoop/snoop_dialog.h"
#include "zazivev/tests/snoop_template.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {
namespace {

constexpr int kColumn = 7;  // width and gap of code 0's columns in the graph box: 5 + 2

// Snoop open on its own over an emulated card whose signal table is built, as after the check.
class SnoopTest : public ToolTest {
  protected:
    void OpenSnoop(const std::string& extra = "", int rate = SnoopDialog::kFast, int country = 0) {
        ui.DeclareTemplate(IDD_SNOOP, SnoopTemplate(ToolTemplates()));
        StartWithoutOpening(
            Edited(kQuickScenario + extra, "country=0", "country=" + std::to_string(country)));
        ASSERT_EQ(OpenDriver(*driver), 0);
        char map[kRssiMapTextSize];
        BuildRssiMap(*driver, map);
        snoop = std::make_unique<SnoopDialog>(*context, SnoopDialog::SamplingRate(rate));
        host = &ui.Open(*snoop);
    }

    const FrequencyPoint& Record(int n) { return snoop->Records()[n]; }
    Image Graph() { return host->RenderCanvas(IDC_SNOOP_GRAPH); }

    std::unique_ptr<SnoopDialog> snoop;
    HeadlessHost* host = nullptr;
};

// Pixels of `colour` down column x (vertical) or along row y (horizontal) of the image.
int Count(const Image& image, Rgb colour, int x, int y = -1) {
    int n = 0;
    for (int i = 0; i < (y < 0 ? image.height : image.width); ++i) {
        n += (y < 0 ? image.At(x, i) : image.At(i, y)) == colour;
    }
    return n;
}

TEST_F(SnoopTest, TheCountryCodeChoosesTheColumnsAndTheirLabels) {
    const std::tuple<int, int, const char*, const char*> kPlans[] = {
        {0, 79, "2.402", "2.480"},  {1, 23, "2.402", "2.424"}, {2, 43, "2.407", "2.449"},
        {3, 100, "2.401", "2.500"}, {7, 79, "2.402", "2.480"}, {66, 43, "2.407", "2.449"}};
    for (const auto& [country, points, low, high] : kPlans) {
        OpenSnoop("", SnoopDialog::kFast, country);
        ui.RunFor(100);
        EXPECT_EQ(snoop->Plan().points, points) << country;
        EXPECT_EQ(Texts(*host, {IDC_SNOOP_LOW_LABEL, IDC_SNOOP_HIGH_LABEL}),
                  (std::vector<std::string>{low, high}));
    }
}

TEST_F(SnoopTest, EachRateDwellsUntilItsSampleCountOrItsTimeCountingGoodSamplesOnly) {
    // Every reading stands for 255 %; the last rows fail every sample, the lost channel at once.
    const std::tuple<int, const char*, int, uint32_t> kDwells[] = {
        {SnoopDialog::kFast, "timing service-us=1000\n", 3, 6},
        {SnoopDialog::kMedium, "timing service-us=1000\n", 30, 60},
        {SnoopDialog::kSlow, "timing service-us=1000\n", 300, 600},
        {SnoopDialog::kSlow, "timing service-us=50000\n", 100, 10000},
        {SnoopDialog::kFast, "fault fail cmd=9 status=-1 count=always\n", 0, 1000},
        {SnoopDialog::kFast, "fault drop cmd=9\n", 0, 0}};
    for (const auto& [rate, extra, samples, ms] : kDwells) {
        OpenSnoop(extra, rate);
        std::fill(std::begin(driver->card.rssiPercent), std::end(driver->card.rssiPercent), 255);
        const uint32_t opened = clock.NowMs();
        ui.RunNextTimer();
        EXPECT_EQ(Record(0).count, samples) << extra;
        EXPECT_EQ(Record(0).maximum, samples > 0 ? 100 : 0);
        EXPECT_EQ(clock.NowMs() - opened - 100, ms);
        // Copy Figures: every frequency, the one sampled with its average and peak.
        const std::vector<std::vector<std::string>> copied = CopiedFigures(*host);
        ASSERT_EQ(copied.size(), 80u);
        EXPECT_EQ(copied[1], (samples > 0 ? std::vector<std::string>{"2.402", "100", "100"}
                                          : std::vector<std::string>{"2.402", "", ""}));
        EXPECT_EQ(copied[79], (std::vector<std::string>{"2.480", "", ""}));
    }
}

// After a lost channel the next tick reopens it and restarts the driver, as the other tools do,
// and the sweep samples on by itself.
TEST_F(SnoopTest, ALostChannelIsReopenedByTheNextTickAndTheSweepGoesOn) {
    OpenSnoop();
    ui.RunNextTimer();
    InjectFault("fault drop cmd=" + std::to_string(kCmdGetRssi));
    ui.RunNextTimer();
    const uint64_t samplesBefore = emulator->Counters().requests[kCmdGetRssi];
    ui.RunFor(3000);
    EXPECT_EQ(emulator->Counters().requests[kCmdRestartDriver], 1u);
    EXPECT_GE(emulator->Counters().requests[kCmdGetRssi], samplesBefore + 6);
}

TEST_F(SnoopTest, BarsShowTheAverageInNavyAndThePeakInGreenAndNothingLeavesTheBox) {
    OpenSnoop();
    // Tall enough that a 1 % bar shows beneath its 4-pixel cap.
    host->SetClientSize(IDC_SNOOP_GRAPH, kGraphWidth, 608);
    const int unit = 6;
    const int x = 5 + 10 * kColumn + 2;
    const std::tuple<FrequencyPoint, int, int> kBars[] = {
        {{0, 0, 0, 3, 11}, 0, 0},
        {{1, 1, 1, 2, 11}, unit - 4, 4},
        {{70, 120, 70, 3, 11}, 40 * unit, 30 * unit},
        {{100, 300, 100, 3, 11}, 600 - 16 - 4, 4}};
    for (const auto& [point, navy, green] : kBars) {
        std::unique_ptr<Canvas> canvas = host->OpenCanvas(IDC_SNOOP_GRAPH);
        SnoopGraph graph(*canvas, 79);
        graph.ClearColumn(10);
        graph.Bars(10, point);
        const Image image = Graph();
        EXPECT_EQ(Count(image, kSnoopAverage, x), navy) << point.sum;
        EXPECT_EQ(Count(image, kSnoopPeak, x), green) << point.sum;
        EXPECT_EQ(Count(image, kSnoopPeak, x - 3) + Count(image, kSnoopPeak, x + 3), 0);
    }
    // Nothing is drawn outside a box too small for the columns.
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

TEST_F(SnoopTest, ATickMarksItsColumnAFullPaintKeepsEveryColumnAndARateButtonClearsThem) {
    OpenSnoop("spectrum floor=-60 sigma=0\n");
    ui.RunFor(500);
    // The outline's left edge above the bars: on the column sampled last, not on the one before.
    EXPECT_EQ(Graph().At(5 + 2 * kColumn, 17), kBlack);
    EXPECT_EQ(Graph().At(5 + 1 * kColumn, 17), kSnoopEmpty);
    host->FirePaint();
    const Image image = Graph();
    EXPECT_GT(Count(image, kSnoopAverage, 5 + 2), 0);
    EXPECT_EQ(Count(image, kBlack, 0, 17), 0);
    // Below every tenth column a filled mark reaches higher than the other ticks.
    EXPECT_EQ(image.At(5 + 9 * kColumn + 2, kGraphHeight - 6), kBlack);
    EXPECT_EQ(image.At(5 + 8 * kColumn + 2, kGraphHeight - 6), (Rgb{255, 255, 255}));
    ui.RunNextTimer();
    ui.RunNextTimer();
    EXPECT_EQ(Count(Graph(), kBlack, 0, 17), 2);
    EXPECT_EQ(Graph().At(5, 17), kBlack);

    // A rate button clears the graph and restarts the sweep.
    ASSERT_GT(Record(2).count, 0);
    host->Click(IDC_SNOOP_SLOW);
    ui.Settle();
    EXPECT_EQ(Count(Graph(), kSnoopAverage, 0, kGraphHeight - 9), 0);
    EXPECT_EQ(Record(2).count, 0);
    ui.RunFor(200);
    EXPECT_EQ(Record(0).count, 300);
}

TEST_F(SnoopTest, F1DoneAndARateButtonCutTheDwellShort) {
    using Cut = std::tuple<std::function<void(HeadlessHost&)>, bool, bool>;
    for (const auto& [act, ended, redrawn] :
         {Cut{[](HeadlessHost& h) { h.QueueKeyDown(kVkF1); }, false, false},
          Cut{[](HeadlessHost& h) { h.QueueMouse([&h] { h.Click(kIdOk); }); }, true, false},
          Cut{[](HeadlessHost& h) { h.QueueMouse([&h] { h.Click(IDC_SNOOP_FAST); }); }, false,
              true}}) {
        OpenSnoop("", SnoopDialog::kSlow);
        act(*host);
        ui.ClearEvents();
        ui.RunNextTimer();
        EXPECT_EQ(emulator->Counters().requests[kCmdGetRssi], 0u);
        EXPECT_EQ(host->Ended(), ended);
        EXPECT_EQ(ContainsInOrder(ui.Events(), {std::to_string(IDD_SNOOP) + " invalidate " +
                                                std::to_string(IDC_SNOOP_GRAPH) + " 1"}),
                  redrawn);
        EXPECT_TRUE(host->HasTimer(1) || ended);
    }
    // Any other key waits for the dwell's end: it is handled once, by the dialog, afterwards.
    OpenSnoop("", SnoopDialog::kFast);
    host->QueueKeyDown('A');
    ui.RunNextTimer();
    EXPECT_EQ(emulator->Counters().requests[kCmdGetRssi], 3u);
}

}  // namespace
}  // namespace vz
