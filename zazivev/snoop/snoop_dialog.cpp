// Snoop's sweep: the frequency plan, the dwell on each frequency, the rate buttons and the paint.
#include "zazivev/snoop/snoop_dialog.h"

#include <algorithm>
#include <iterator>

#include "driver/request_block.h"
#include "driver/rssi_map.h"
#include "ui/codes.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"

namespace vz {

namespace {

constexpr uint32_t kSweepTimer = 1;
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

SnoopDialog::SnoopDialog(ToolContext& context) : Dialog(IDD_SNOOP), context_(context) {}

bool SnoopDialog::OnInitDialog() {
    // The driver fills only the code byte; the second byte stays as zeroed here.
    uint8_t country[2] = {0, 0};
    DriverCommand(context_.driver, kCmdGetCountryCode, 0, 0, country, sizeof country);
    plan_ = PlanForCountry(country[0], country[1]);
    records_.assign(plan_.points, FrequencyPoint{});
    samplingRate = std::clamp(samplingRate, int(kSlow), int(kFast));
    ShowRate();
    Host()->SetTimer(kSweepTimer, kSweepPeriodMs);
    return true;
}

void SnoopDialog::ShowRate() {
    for (int rate = kSlow; rate <= kFast; ++rate) {
        Host()->SetCheck(kRateButtons[rate], rate == samplingRate);
    }
}

void SnoopDialog::OnCommand(int id, int code) {
    const int* rateButton = std::find(std::begin(kRateButtons), std::end(kRateButtons), id);
    if (rateButton != std::end(kRateButtons)) {
        redrawAll = true;
        cursor = 0;
        std::fill(records_.begin(), records_.end(), FrequencyPoint{});
        samplingRate = int(rateButton - std::begin(kRateButtons));
        // The command may come from a key or another program rather than the button itself.
        ShowRate();
        dwellCut_ = true;
        // Cleared at once rather than after the next dwell, which at Slow lasts 10 s.
        Host()->Invalidate(IDC_SNOOP_GRAPH, true);
        Host()->Invalidate(0, false);
        return;
    }
    if (id == IDC_HELP_COMMAND) {
        // Snoop's place in the help file is its button's.
        ShowHelp(context_, *Host(), HelpSectionForContext(IDC_MAIN_SNOOP));
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
    if (cursor < 0 || cursor >= plan_.points) {
        cursor = 0;
        return;
    }
    if (Dwell()) {
        Host()->Invalidate(IDC_SNOOP_GRAPH, true);
        Host()->Invalidate(0, false);
    }
}

bool SnoopDialog::Dwell() {
    DialogHost& host = *Host();
    Clock& clock = context_.clock;
    FrequencyPoint& record = records_[cursor];
    record = FrequencyPoint{};
    record.index = cursor + 1;
    dwellCut_ = false;
    const DwellLimit& limit = kDwellLimits[samplingRate];
    const uint32_t start = clock.NowMs();
    while (clock.NowMs() - start < limit.ms && record.count < limit.samples) {
        if (host.PumpDwellMessages(*this) == kVkF1 || dwellCut_) {
            return false;
        }
        uint8_t percent = 0;
        const int status = GetRSSI_freq(context_.driver, percent, uint8_t(record.index));
        if (status == kStatusChannelLost) {
            // Nothing more can be read until the channel is reopened, after the dialog.
            break;
        }
        if (status != 0) {
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
    if (redrawAll || fullPaint_) {
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
    redrawAll = false;
    // Each record in its own column, sampled or not, so no column's bars are wiped by another's.
    // No cursor mark: the sweep starts again below, and the next tick marks the first column.
    for (int n = 0; n < plan_.points; ++n) {
        graph.ClearColumn(n);
        graph.Tick(n);
        graph.Bars(n, records_[n]);
    }
    // The next tick finds the cursor past the end and starts the sweep again.
    cursor += plan_.points;
}

void SnoopDialog::PaintPair(SnoopGraph& graph) {
    const int current = std::clamp(cursor, 0, plan_.points - 1);
    const int previous = current == 0 ? plan_.points - 1 : current - 1;
    graph.ClearColumn(previous);
    graph.ClearColumn(current);
    graph.MarkColumn(current);
    graph.Bars(previous, records_[previous]);
    graph.Bars(current, records_[current]);
    cursor += 1;
}

}  // namespace vz
