// The site survey: a broadcast ping each cycle and a table of every node that answers.
#pragma once

#include <cstdint>
#include <vector>

#include "engines/site_survey.h"
#include "settings/adapter_settings.h"
#include "ui/dialog.h"
#include "zazivev/app/copy_figures.h"
#include "zazivev/app/tool_context.h"

namespace vz {

class DialogHost;

class SiteSurveyDialog : public Dialog, private SurveyView {
  public:
    // Timer 1 listens and ends cycles; timer 2 polls the echo of the cycle's broadcast.
    static constexpr uint32_t kSurveyTimer = 1;
    static constexpr uint32_t kEchoTimer = 2;

    // Sort order starts at time of arrival and Master heard at false, as every opener wants;
    // `inRange` is the sync state the opener knows (the Master list gives 1 after a
    // successful SynchToMaster, else 0).
    SiteSurveyDialog(ToolContext& context, AdapterSettings& settings, uint8_t inRange);

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    void OnVScroll(int id, int request, int pos) override;
    void OnDestroy() override;
    // "Copy Figures" copies what the window shows.
    bool OnSysCommand(uint32_t id) override;

  private:
    void ShowOutOfRange(bool shown) override;
    void ShowRows() override;
    void ClearRows() override;
    void ShowNodeAdded(int highestEntry) override;
    void ShowSurveyReset() override;
    void Listen(bool on) override;
    void AwaitEcho(bool on) override;
    void Busy(bool on) override;

    // The table entry shown at `position` of the rows' order, or -1 when that position shows none.
    int EntryAt(int position) const;
    // What the row of `entry` shows: address, Master name, quality, activity, signal.
    FiguresRow RowCells(int entry) const;
    void ClearRow(int row);
    void RoamingClicked();
    void TestLink(int row);

    ToolContext& context_;
    SiteSurvey survey_;
    int sortOrder_ = 0;
    int topRow_ = 0;
    std::vector<FiguresRow> shownRows_;  // by position in the rows' order; empty: none shown
    bool surveyTimerRunning_ = false;
};

// Runs the site survey modally from `host`'s window, with the survey's help place meanwhile;
// `inRange` is 1 when the card is on the Master whose cell it surveys.
void RunSiteSurvey(ToolContext& context, DialogHost& host, AdapterSettings& settings,
                   uint8_t inRange);

}  // namespace vz
