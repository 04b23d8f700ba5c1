// Snoop, the spectrum view: the radio parked on each hopping frequency in turn, the average and
// the peak of its signal drawn against frequency.
#pragma once

#include <vector>

#include "engines/spectrum_sweep.h"
#include "ui/dialog.h"
#include "ui/dialog_host.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/snoop/snoop_graph.h"

namespace vz {

class SnoopDialog : public Dialog, private PumpListener {
  public:
    using SamplingRate = SpectrumSweep::Rate;
    static constexpr SamplingRate kSlow = SpectrumSweep::kSlow;
    static constexpr SamplingRate kMedium = SpectrumSweep::kMedium;
    static constexpr SamplingRate kFast = SpectrumSweep::kFast;
    // Each tick dwells on one frequency.
    static constexpr uint32_t kSweepTimer = 1;

    // The sweep starts at the first frequency with the whole graph cleared.
    explicit SnoopDialog(ToolContext& context, SamplingRate rate = kMedium);

    bool OnInitDialog() override;
    // "Copy Figures" copies what the window shows.
    bool OnSysCommand(uint32_t id) override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    void OnPaint() override;

    const FrequencyPlan& Plan() const { return sweep_.Plan(); }
    const std::vector<FrequencyPoint>& Records() const { return sweep_.Records(); }

  private:
    void BeforeDispatch(Kind kind) override;
    void AfterDispatch(Kind kind) override;
    void ShowRate();
    // Samples the record at the cursor for the rate's dwell. False when the dwell was cut short
    // by F1, a closing window or a new rate, and the graph is not to be redrawn for it.
    bool Dwell();
    void PaintAll(SnoopGraph& graph);
    void PaintPair(SnoopGraph& graph);

    ToolContext& context_;
    SpectrumSweep sweep_;
    int samplingRate_;
    int cursor_ = 0;          // position of the next frequency to sample
    bool redrawAll_ = true;   // the next paint clears every column first
    bool fullPaint_ = false;  // the next paint draws the axis and every bar
    bool dwellCut_ = false;   // set by the buttons that end or restart the sweep
};

}  // namespace vz
