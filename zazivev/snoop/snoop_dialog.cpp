// Snoop's sweep: the frequency plan, the dwell on each frequency, the rate buttons and the paint.
#include "zazivev/snoop/snoop_dialog.h"

#include <algorithm>
#include <iterator>

#include "driver/card_control.h"
#include "driver/rssi_map.h"
#include "ui/codes.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"

namespace vz {

namespace {

constexpr uint32_t kSweepPeriodMs = 100;
constexpr int kMaxPercent = 100;

struct DwellLimit {
    uint32_t ms;
    int samples;
};

// By sampling rate: Slow, Medium, Fast.
constexpr DwellLimit kDwellLimits[] = {{10000, 300}, {5000, 30}, {1000, 3}};
constexpr int kRateButtons[] = {IDC_SNOOP_SLOW, IDC_SNOOP_MEDIUM, IDC_SNOOP_FAST};

}  // namespace

SnoopDialog::SnoopDialog(ToolContext& context, SamplingRate rate)
    : Dialog(IDD_SNOOP), context_(context), samplingRate_(rate) {}

bool SnoopDialog::OnInitDialog() {
    // The driver fills only the code byte; the second byte stays as zeroed here.
    uint8_t country[2] = {0, 0};
    DriverCommand(context_.driver, kCmdGetCountryCode, 0, 0, country, sizeof country);
    plan_ = PlanForCountry(country[0], country[1]);
    records_.assign(plan_.points, FrequencyPoint{});
    samplingRate_ = std::clamp(samplingRate_, int(kSlow), int(kFast));
    ShowRate();
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
        std::fill(records_.begin(), records_.end(), FrequencyPoint{});
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

void SnoopDialog::OnTimer(uint32_t id) {
    if (id != kSweepTimer) {
        return;
    }
    fullPaint_ = false;
    if (driverLost_ && !ReopenDriver()) {
        return;
    }
    if (cursor_ < 0 || cursor_ >= plan_.points) {
        cursor_ = 0;
        return;
    }
    if (Dwell()) {
        Host()->Invalidate(IDC_SNOOP_GRAPH, true);
        Host()->Invalidate(0, false);
    }
}

// As the other tools do after a lost channel: a new channel and a restarted driver, or nothing
// this tick.
bool SnoopDialog::ReopenDriver() {
    Driver& driver = context_.driver;
    if (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk) {
        return false;
    }
    driverLost_ = false;
    return true;
}

bool SnoopDialog::Dwell() {
    DialogHost& host = *Host();
    Clock& clock = context_.clock;
    FrequencyPoint& record = records_[cursor_];
    record = FrequencyPoint{};
    record.index = cursor_ + 1;
    dwellCut_ = false;
    const DwellLimit& limit = kDwellLimits[samplingRate_];
    const uint32_t start = clock.NowMs();
    while (clock.NowMs() - start < limit.ms && record.count < limit.samples) {
        if (host.PumpDwellMessages(*this) == kVkF1 || dwellCut_) {
            return false;
        }
        uint8_t percent = 0;
        const Status status = GetRSSI_freq(context_.driver, percent, uint8_t(record.index));
        if (status == Status::kChannelLost) {
            // Nothing more can be read until the next tick has reopened the channel.
            driverLost_ = true;
            break;
        }
        if (status != Status::kOk) {
            // A card refusing every request must not hold the processor for the whole dwell.
            clock.YieldTimeSlice();
            continue;
        }
        const int sample = std::min<int>(percent, kMaxPercent);
        record.count += 1;
        record.sum += sample;
        record.maximum = std::max(record.maximum, sample);
        record.peak = std::max(record.peak, sample);
    }
    return true;
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
    SnoopGraph graph(*canvas, plan_.points);
    if (redrawAll_ || fullPaint_) {
        PaintAll(graph);
    } else {
        PaintPair(graph);
    }
    // A paint the system asks for before the next tick redraws everything.
    fullPaint_ = true;
}

void SnoopDialog::PaintAll(SnoopGraph& graph) {
    Host()->SetItemText(IDC_SNOOP_LOW_LABEL, plan_.lowLabel);
    Host()->SetItemText(IDC_SNOOP_HIGH_LABEL, plan_.highLabel);
    redrawAll_ = false;
    // Each record in its own column, sampled or not, so no column's bars are wiped by another's.
    // No cursor mark: the sweep starts again below, and the next tick marks the first column.
    for (int n = 0; n < plan_.points; ++n) {
        graph.ClearColumn(n);
        graph.Tick(n);
        graph.Bars(n, records_[n]);
    }
    // The next tick finds the cursor past the end and starts the sweep again.
    cursor_ += plan_.points;
}

void SnoopDialog::PaintPair(SnoopGraph& graph) {
    const int current = std::clamp(cursor_, 0, plan_.points - 1);
    const int previous = current == 0 ? plan_.points - 1 : current - 1;
    graph.ClearColumn(previous);
    graph.ClearColumn(current);
    graph.MarkColumn(current);
    graph.Bars(previous, records_[previous]);
    graph.Bars(current, records_[current]);
    cursor_ += 1;
}

}  // namespace vz
