// The site survey's window: the rows of the survey's table, scrolling, sorting and the roaming box.
#include "zazivev/survey/site_survey_dialog.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "driver/card_text.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/app/copy_figures.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/survey_scroll.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr uint32_t kTimerPeriodMs = SiteSurvey::kTickMs;

}  // namespace

SiteSurveyDialog::SiteSurveyDialog(ToolContext& context, AdapterSettings& settings, uint8_t inRange)
    : Dialog(IDD_SITE_SURVEY),
      context_(context),
      survey_(context, settings.Station_Type, settings.Domain, inRange, *this) {}

bool SiteSurveyDialog::OnInitDialog() {
    DialogHost& host = *Host();
    surveyTimerRunning_ = false;
    host.SetCheck(IDC_SURVEY_ROAMING, survey_.Begin());
    host.CheckRadio(IDC_SURVEY_TIME_OF_ARRIVAL, IDC_SURVEY_BY_ADDRESS, IDC_SURVEY_TIME_OF_ARRIVAL);
    AddCopyFiguresItem(host);
    for (int row = 0; row < kSurveyRows; ++row) {
        if (context_.version.majorVersion >= 4) {
            host.SetButtonBitmaps(IDC_SURVEY_LINK_TEST + row, "DLU", "DLD");
        } else {
            host.SetItemText(IDC_SURVEY_LINK_TEST + row, "");
        }
    }
    survey_.Reset();
    return true;
}

void SiteSurveyDialog::OnCommand(int id, int code) {
    if (id >= IDC_SURVEY_LINK_TEST && id < IDC_SURVEY_LINK_TEST + kSurveyRows) {
        TestLink(id - IDC_SURVEY_LINK_TEST);
        return;
    }
    switch (id) {
        case IDC_SURVEY_TIME_OF_ARRIVAL:
            sortOrder_ = 0;
            return;
        case IDC_SURVEY_BY_ADDRESS:
            sortOrder_ = 1;
            return;
        case IDC_SURVEY_ROAMING:
            RoamingClicked();
            return;
        case IDC_SURVEY_HELP:
            ShowHelp(context_, *Host(), HelpSectionForContext(kHelpContextSiteSurvey));
            return;
        default:
            Dialog::OnCommand(id, code);
            return;
    }
}

void SiteSurveyDialog::OnDestroy() {
    survey_.End();
}

void SiteSurveyDialog::Listen(bool on) {
    if (!on) {
        Host()->KillTimer(kSurveyTimer);
        surveyTimerRunning_ = false;
    } else if (!surveyTimerRunning_) {
        Host()->SetTimer(kSurveyTimer, kTimerPeriodMs);
        surveyTimerRunning_ = true;
    }
}

void SiteSurveyDialog::AwaitEcho(bool on) {
    if (on) {
        Host()->SetTimer(kEchoTimer, kTimerPeriodMs);
    } else {
        Host()->KillTimer(kEchoTimer);
    }
}

void SiteSurveyDialog::Busy(bool on) {
    if (on) {
        Host()->CaptureWithWaitCursor();
    } else {
        Host()->ReleaseWithArrowCursor();
    }
}

void SiteSurveyDialog::ShowOutOfRange(bool shown) {
    Host()->ShowItem(IDC_SURVEY_OUT_OF_RANGE, shown);
}

void SiteSurveyDialog::ShowSurveyReset() {
    DialogHost& host = *Host();
    if (survey_.CardIsMaster()) {
        host.EnableItem(IDC_SURVEY_ROAMING, false);
    }
    host.SetItemText(IDC_SURVEY_NODE_COUNT, "0");
    Listen(true);
    topRow_ = survey_.LowestEntry();
    host.ScrollBarSetRange(IDC_SURVEY_SCROLL, topRow_, topRow_);
}

void SiteSurveyDialog::ShowNodeAdded(int highestEntry) {
    Host()->ShowItem(IDC_SURVEY_SCROLL, highestEntry >= kSurveyRows);
    Host()->ScrollBarSetRange(IDC_SURVEY_SCROLL, survey_.LowestEntry(), highestEntry);
}

void SiteSurveyDialog::ClearRow(int row) {
    DialogHost& host = *Host();
    host.ShowItem(IDC_SURVEY_SIGNAL_BAR + row, false);
    host.ShowItem(IDC_SURVEY_LINK_TEST + row, false);
    for (int first : {IDC_SURVEY_ADDRESS, IDC_SURVEY_MASTER_NAME, IDC_SURVEY_QUALITY,
                      IDC_SURVEY_ACTIVITY, IDC_SURVEY_SIGNAL}) {
        host.SetItemText(first + row, "");
    }
}

void SiteSurveyDialog::ClearRows() {
    shownRows_.clear();
    for (int row = 0; row < kSurveyRows; ++row) {
        ClearRow(row);
    }
}

void SiteSurveyDialog::OnTimer(uint32_t id) {
    survey_.Tick(id == kEchoTimer);
}

int SiteSurveyDialog::EntryAt(int position) const {
    const NodeTable& table = survey_.Table();
    const bool shown = (position <= table.HighestEntry() && position != 0) ||
                       (position == 0 && table.MasterHeard());
    if (!shown) {
        return -1;
    }
    return sortOrder_ == 1 ? table.ByAddress(position) : position;
}

FiguresRow SiteSurveyDialog::RowCells(int entry) const {
    const NodeTable& table = survey_.Table();
    const CardState& card = context_.driver.card;
    const NodeEntry& node = table.Entry(entry);
    return {entry == 0 ? card.masterAddress : node.address, entry == 0 ? card.masterName : "",
            std::to_string(node.linkQuality),
            node.replies[table.CurrentSlot()] != 0 ? texts::kSurveyHeard : texts::kSurveyNotHeard,
            FormatText(texts::kSignalPercent, node.signalPercent)};
}

void SiteSurveyDialog::ShowRows() {
    DialogHost& host = *Host();
    host.SetItemText(IDC_SURVEY_NODE_COUNT, std::to_string(survey_.Table().NodeCount()));
    // Every row as drawn now, those out of view too, for Copy Figures.
    shownRows_.assign(std::max(survey_.Table().HighestEntry() + 1, 0), FiguresRow{});
    for (int position = survey_.LowestEntry(); position < int(shownRows_.size()); ++position) {
        if (const int entry = EntryAt(position); entry >= 0) {
            shownRows_[position] = RowCells(entry);
        }
    }
    for (int row = 0; row < kSurveyRows; ++row) {
        const int entry = EntryAt(topRow_ + row);
        if (entry < 0) {
            ClearRow(row);
            continue;
        }
        const FiguresRow& cells = shownRows_[topRow_ + row];
        host.ShowItem(IDC_SURVEY_SIGNAL_BAR + row, true);
        host.ShowItem(IDC_SURVEY_LINK_TEST + row, true);
        host.ProgressSetRange(IDC_SURVEY_SIGNAL_BAR + row, 0, 100);
        host.ProgressSetPos(IDC_SURVEY_SIGNAL_BAR + row,
                            survey_.Table().Entry(entry).signalPercent);
        if (entry != 0) {
            host.SetItemText(IDC_SURVEY_ADDRESS + row, cells[0]);
            if (topRow_ != 0) {
                host.SetItemText(IDC_SURVEY_MASTER_NAME, "");
            }
        } else {
            host.SetItemText(IDC_SURVEY_MASTER_NAME, cells[1]);
            host.SetItemText(IDC_SURVEY_ADDRESS, cells[0]);
        }
        host.SetItemText(IDC_SURVEY_QUALITY + row, cells[2]);
        host.SetItemText(IDC_SURVEY_ACTIVITY + row, cells[3]);
        host.SetItemText(IDC_SURVEY_SIGNAL + row, cells[4]);
    }
}

// Every node as the rows were last drawn, in their order, not only the rows in view.
bool SiteSurveyDialog::OnSysCommand(uint32_t id) {
    if (!IsCopyFigures(id)) {
        return false;
    }
    std::vector<FiguresRow> rows;
    std::copy_if(shownRows_.begin(), shownRows_.end(), std::back_inserter(rows),
                 [](const FiguresRow& row) { return !row.empty(); });
    CopyFigures(context_, *Host(),
                {"Node Address", "Master Name", "Link Quality (0-5)", "Activity",
                 "Received Signal Strength"},
                rows);
    return true;
}

void SiteSurveyDialog::OnVScroll(int id, int request, int pos) {
    DialogHost& host = *Host();
    const NodeTable& table = survey_.Table();
    if (id != IDC_SURVEY_SCROLL || table.NodeCount() <= kSurveyRows) {
        return;
    }
    const int barPos = request == kSbThumbPosition ? pos : host.ScrollBarGetPos(id);
    const SurveyScroll scroll = ScrollSurvey(request, barPos, topRow_, table.NodeCount());
    if (request != kSbThumbTrack && request != kSbEndScroll) {
        host.ScrollBarSetPos(id, scroll.position);
    }
    topRow_ = scroll.topRow;
    ShowRows();
}

void SiteSurveyDialog::RoamingClicked() {
    DialogHost& host = *Host();
    survey_.SetRoaming(host.IsChecked(IDC_SURVEY_ROAMING), host.GetItemText(IDC_SURVEY_MASTER_NAME),
                       host.GetItemText(IDC_SURVEY_ADDRESS));
}

void SiteSurveyDialog::TestLink(int row) {
    const std::string address = Host()->GetItemText(IDC_SURVEY_ADDRESS + row);
    Listen(false);
    RunDirectedLinkTest(context_, *Host(), address);
    Listen(true);
}

void RunSiteSurvey(ToolContext& context, DialogHost& host, AdapterSettings& settings,
                   uint8_t inRange) {
    SiteSurveyDialog survey(context, settings, inRange);
    ScopedHelpContext place(context.helpContext, kHelpContextSiteSurvey);
    host.RunModal(survey);
}

}  // namespace vz
