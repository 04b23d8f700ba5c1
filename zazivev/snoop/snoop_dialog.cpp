// Snoop's sweep: the frequency plan, the dwell on each frequency, the rate buttons and the paint.
#include "zazivev/snoop/snoop_dialog.h"

#include <algorithm>
#include <iterator>

#include "driver/card_text.h"
#include "ui/codes.h"
#include "zazivev/app/copy_figures.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"

namespace vz {

namespace {

constexpr uint32_t kSweepPeriodMs = 100;
constexpr int kRateButtons[] = {IDC_SNOOP_SLOW, IDC_SNOOP_MEDIUM, IDC_SNOOP_FAST};

}  // namespace

SnoopDialog::SnoopDialog(ToolContext& context, SamplingRate rate)
    : Dialog(IDD_SNOOP), context_(context), sweep_(context), samplingRate_(rate) {}

bool SnoopDialog::OnInitDialog() {
    sweep_.Begin();
    samplingRate_ = std::clamp(samplingRate_, int(kSlow), int(kFast));
    ShowRate();
    AddCopyFiguresItem(*Host());
    Host()->SetTimer(kSweepTimer, kSweepPeriodMs);
    return true;
}

void SnoopDialog::ShowRate() {
    for (int rate = kSlow; rate <= kFast; ++rate) {
        Host()->SetCheck(kRateButtons[rate], rate == samplingRate_);
    }
}

void SnoopDialog::OnCommand(int id, int code) {
    const int* rateButton = std::find(std::begin(kRateButtons), std::end(kRateButtons), id);
    if (rateButton != std::end(kRateButtons)) {
        redrawAll_ = true;
        cursor_ = 0;
        sweep_.Clear();
        samplingRate_ = int(rateButton - std::begin(kRateButtons));
        // The command may come from a key or another program rather than the button itself.
        ShowRate();
        dwellCut_ = true;
        // Cleared at once rather than after the next dwell, which at Slow lasts 10 s.
        Host()->Invalidate(IDC_SNOOP_GRAPH, true);
        Host()->Invalidate(0, false);
        return;
    }
    if (id == IDC_HELP_COMMAND) {
        ShowHelp(context_, *Host(), HelpSectionForContext(kHelpContextSnoop));
        fullPaint_ = true;
        return;
    }
    if (id == kIdOk || id == kIdCancel) {
        dwellCut_ = true;
    }
    Dialog::OnCommand(id, code);
}

// Each frequency with the average and peak of its last dwell; a frequency not sampled yet has
// empty cells.
bool SnoopDialog::OnSysCommand(uint32_t id) {
    if (!IsCopyFigures(id)) {
        return false;
    }
    std::vector<FiguresRow> rows;
    for (int n = 0; n < Plan().points; ++n) {
        const FrequencyPoint& point = Records()[n];
        const bool sampled = point.count > 0;
        rows.push_back({FormatText("%1.3f", FrequencyGhz(Plan(), n)),
                        sampled ? std::to_string(point.sum / point.count) : "",
                        sampled ? std::to_string(point.maximum) : ""});
    }
    CopyFigures(context_, *Host(), {"GHz", "Average %", "Peak %"}, rows);
    return true;
}

void SnoopDialog::OnTimer(uint32_t id) {
    if (id != kSweepTimer) {
        return;
    }
    fullPaint_ = false;
    if (!sweep_.Ready()) {
        return;
    }
    if (cursor_ < 0 || cursor_ >= Plan().points) {
        cursor_ = 0;
        return;
    }
    if (Dwell()) {
        Host()->Invalidate(IDC_SNOOP_GRAPH, true);
        Host()->Invalidate(0, false);
    }
}

bool SnoopDialog::Dwell() {
    dwellCut_ = false;
    return sweep_.Dwell(cursor_, SamplingRate(samplingRate_),
                        [this] { return Host()->PumpDwellMessages(*this) == kVkF1 || dwellCut_; });
}

void SnoopDialog::BeforeDispatch(Kind kind) {
    if (kind == Kind::kMouse) {
        Host()->KillTimer(kSweepTimer);
    } else {
        fullPaint_ = true;
    }
}

void SnoopDialog::AfterDispatch(Kind kind) {
    if (kind == Kind::kMouse) {
        Host()->SetTimer(kSweepTimer, kSweepPeriodMs);
    } else {
        fullPaint_ = false;
    }
}

void SnoopDialog::OnPaint() {
    std::unique_ptr<Canvas> canvas = Host()->OpenCanvas(IDC_SNOOP_GRAPH);
    if (!canvas) {
        return;
    }
    SnoopGraph graph(*canvas, Plan().points);
    if (redrawAll_ || fullPaint_) {
        PaintAll(graph);
    } else {
        PaintPair(graph);
    }
    // A paint the system asks for before the next tick redraws everything.
    fullPaint_ = true;
}

void SnoopDialog::PaintAll(SnoopGraph& graph) {
    Host()->SetItemText(IDC_SNOOP_LOW_LABEL, Plan().lowLabel);
    Host()->SetItemText(IDC_SNOOP_HIGH_LABEL, Plan().highLabel);
    redrawAll_ = false;
    // Each record in its own column, sampled or not, so no column's bars are wiped by another's.
    // No cursor mark: the sweep starts again below, and the next tick marks the first column.
    for (int n = 0; n < Plan().points; ++n) {
        graph.ClearColumn(n);
        graph.Tick(n);
        graph.Bars(n, Records()[n]);
    }
    // The next tick finds the cursor past the end and starts the sweep again.
    cursor_ += Plan().points;
}

void SnoopDialog::PaintPair(SnoopGraph& graph) {
    const int current = std::clamp(cursor_, 0, Plan().points - 1);
    const int previous = current == 0 ? Plan().points - 1 : current - 1;
    graph.ClearColumn(previous);
    graph.ClearColumn(current);
    graph.MarkColumn(current);
    graph.Bars(previous, Records()[previous]);
    graph.Bars(current, Records()[current]);
    cursor_ += 1;
}

}  // namespace vz
