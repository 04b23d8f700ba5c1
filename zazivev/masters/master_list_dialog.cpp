// The Master list: the domain search on its timer, the list of Masters found, and what the
// buttons do with a picked Master.
#include "zazivev/masters/master_list_dialog.h"

#include <algorithm>
#include <cstring>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/status_queries.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/app/copy_figures.h"
#include "zazivev/config/message_dialogs.h"
#include "zazivev/masters/rom_version.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/site_survey_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

MasterSearch::Mode ModeOf(int searchMode) {
    return searchMode == MasterListDialog::kSearchAll ? MasterSearch::Mode::kAll
                                                      : MasterSearch::Mode::kOne;
}

}  // namespace

MasterListDialog::MasterListDialog(ToolContext& context, AdapterSettings& settings, int searchMode)
    : Dialog(IDD_MASTER_LIST),
      context_(context),
      settings_(settings),
      search_(context, settings.Station_Type, settings.Domain, ModeOf(searchMode)) {}

int MasterListDialog::SearchMode() const {
    return search_.CurrentMode() == MasterSearch::Mode::kAll ? kSearchAll : kSearchOne;
}

bool MasterListDialog::OnInitDialog() {
    DialogHost& host = *Host();
    Driver& driver = context_.driver;
    for (int domain = 0; domain < MasterSearch::kDomainCount; ++domain) {
        host.ComboAdd(IDC_MASTERS_DOMAIN, FormatText(texts::kMastersNumber, domain));
    }
    const bool searchAll = SearchMode() == kSearchAll;
    host.CheckRadio(IDC_MASTERS_SEARCH_ALL, IDC_MASTERS_SEARCH_ONE,
                    searchAll ? IDC_MASTERS_SEARCH_ALL : IDC_MASTERS_SEARCH_ONE);
    host.ComboSelectText(IDC_MASTERS_DOMAIN, domainText_);
    domainText_ = FormatText(texts::kMastersNumber, search_.CurrentDomain());

    char version[32] = {};
    GetVersion(driver, version);
    linkTestsAllowed_ = LinkTestsAllowed(FieldText(version));
    host.ComboSelectText(IDC_MASTERS_DOMAIN, domainText_);
    search_.Begin();

    host.ListViewAddColumn(IDC_MASTERS_LIST, 0, texts::kMastersColumnAddress, 96);
    host.ListViewAddColumn(IDC_MASTERS_LIST, 1, texts::kMastersColumnDomain, 48);
    host.ListViewAddColumn(IDC_MASTERS_LIST, 2, texts::kMastersColumnChannel, 56);
    host.ListViewAddColumn(IDC_MASTERS_LIST, 3, texts::kMastersColumnName, 99);
    nextRow_ = 0;
    selected_ = nullptr;

    host.MakeAcceleratorTarget();
    AddCopyFiguresItem(host);
    host.SetTimer(kSearchTimer, kSearchTickMs);
    ShowSearchingDomain();
    EnableDomainList(!searchAll);
    return true;
}

bool MasterListDialog::OnSysCommand(uint32_t id) {
    if (!IsCopyFigures(id)) {
        return false;
    }
    std::vector<FiguresRow> rows;
    for (size_t index = 0; index < search_.Count(); ++index) {
        const MasterRecord& master = search_.At(index);
        rows.push_back({master.address, FormatText(texts::kMastersNumber, master.domain),
                        FormatText(texts::kMastersChannel, master.channel, master.subchannel),
                        master.name});
    }
    CopyFigures(context_, *Host(),
                {texts::kMastersColumnAddress, texts::kMastersColumnDomain,
                 texts::kMastersColumnChannel, texts::kMastersColumnName},
                rows);
    return true;
}

void MasterListDialog::OnTimer(uint32_t id) {
    if (id == kSearchTimer) {
        SearchTick();
    }
}

void MasterListDialog::SearchTick() {
    const MasterSearch::Tick tick = search_.Step();
    if (tick.listed != nullptr) {
        ListMaster(*tick.listed);
    }
    if (tick.stepped) {
        ShowSearchingDomain();
    }
}

void MasterListDialog::ListMaster(const MasterRecord& master) {
    DialogHost& host = *Host();
    const int row = host.ListViewInsertRow(IDC_MASTERS_LIST, nextRow_, master.address,
                                           reinterpret_cast<intptr_t>(&master));
    if (row < 0) {
        return;
    }
    host.ListViewSetText(IDC_MASTERS_LIST, row, 1,
                         FormatText(texts::kMastersNumber, master.domain));
    host.ListViewSetText(IDC_MASTERS_LIST, row, 2,
                         FormatText(texts::kMastersChannel, master.channel, master.subchannel));
    host.ListViewSetText(IDC_MASTERS_LIST, row, 3, master.name);
    ++nextRow_;
}

void MasterListDialog::ShowSearchingDomain() {
    Host()->SetItemText(IDC_MASTERS_SEARCHING,
                        FormatText(texts::kMastersNumber, search_.CurrentDomain()));
}

void MasterListDialog::EnableDomainList(bool enable) {
    Host()->EnableItem(IDC_MASTERS_DOMAIN, enable);
    Host()->EnableItem(IDC_MASTERS_DOMAIN_LABEL, enable);
}

void MasterListDialog::OnCommand(int id, int code) {
    if (id == IDC_MASTERS_DOMAIN) {
        if (code == kCodeAccelerator) {
            Host()->SetFocus(IDC_MASTERS_DOMAIN);
        } else if (code == kCbnSelChange) {
            OnDomainChosen();
        }
        return;
    }
    if (code != kBnClicked) {
        return;
    }
    switch (id) {
        case IDC_MASTERS_SEARCH_ALL:
            OnSearchAll();
            return;
        case IDC_MASTERS_SEARCH_ONE:
            OnSearchOne();
            return;
        case IDC_MASTERS_USE_DOMAIN:
            UseDomain();
            return;
        case IDC_MASTERS_TEST_LINK:
            TestLink();
            return;
        case IDC_MASTERS_VIEW_CELL:
            ViewCell();
            return;
        case IDC_MASTERS_HELP:
            ShowHelp(context_, *Host(), HelpSectionForContext(kHelpContextMasters));
            return;
        default:
            Dialog::OnCommand(id, code);
            return;
    }
}

void MasterListDialog::OnSearchAll() {
    selected_ = nullptr;
    EnableDomainList(false);
    DisableMasterButtons();
    search_.SetMode(MasterSearch::Mode::kAll);
}

void MasterListDialog::OnSearchOne() {
    DialogHost& host = *Host();
    selected_ = nullptr;
    host.EnableItem(IDC_MASTERS_DOMAIN, true);
    search_.SearchDomain(host.ComboSelectedIndex(IDC_MASTERS_DOMAIN));
    host.SetItemText(IDC_MASTERS_SEARCHING, host.ComboSelectedText(IDC_MASTERS_DOMAIN));
    host.EnableItem(IDC_MASTERS_DOMAIN_LABEL, true);
    DisableMasterButtons();
    search_.SetMode(MasterSearch::Mode::kOne);
}

void MasterListDialog::OnDomainChosen() {
    DialogHost& host = *Host();
    domainText_ = host.ComboSelectedText(IDC_MASTERS_DOMAIN);
    host.SetItemText(IDC_MASTERS_SEARCHING, domainText_);
    search_.SearchDomain(host.ComboSelectedIndex(IDC_MASTERS_DOMAIN));
    selected_ = nullptr;
    host.EnableItem(IDC_MASTERS_USE_DOMAIN, false);
    if (linkTestsAllowed_) {
        host.EnableItem(IDC_MASTERS_TEST_LINK, false);
        host.EnableItem(IDC_MASTERS_VIEW_CELL, false);
    }
}

void MasterListDialog::OnNotify(int id, int code) {
    if (id != IDC_MASTERS_LIST) {
        return;
    }
    if (code == kNmClick || code == kNmSetFocus) {
        PickSelectedMaster();
    } else if (code == kNmDblClk) {
        OnDoubleClick();
    }
}

const MasterRecord* MasterListDialog::RowMaster(int row) {
    if (row < 0) {
        return nullptr;
    }
    // The item data is trusted only as one of this list's own records.
    const auto* data =
        reinterpret_cast<const MasterRecord*>(Host()->ListViewRowData(IDC_MASTERS_LIST, row));
    return search_.Owns(data) ? data : nullptr;
}

void MasterListDialog::PickSelectedMaster() {
    DialogHost& host = *Host();
    selected_ = RowMaster(host.ListViewSelectedRow(IDC_MASTERS_LIST));
    if (selected_ == nullptr) {
        return;
    }
    host.EnableItem(IDC_MASTERS_USE_DOMAIN, true);
    if (linkTestsAllowed_) {
        host.EnableItem(IDC_MASTERS_TEST_LINK, true);
        host.EnableItem(IDC_MASTERS_VIEW_CELL, true);
    }
}

void MasterListDialog::OnDoubleClick() {
    if (!linkTestsAllowed_) {
        return;
    }
    // A double click beside the rows leaves no Master: Test Link then only pauses the search.
    selected_ = RowMaster(Host()->ListViewSelectedRow(IDC_MASTERS_LIST));
    TestLink();
    Host()->ListViewClearSelection(IDC_MASTERS_LIST);
}

void MasterListDialog::UseDomain() {
    DialogHost& host = *Host();
    if (selected_ != nullptr) {
        ChangeDomainDialog prompt(selected_->domain);
        host.RunModal(prompt);
        if (prompt.Confirmed()) {
            search_.SearchDomain(selected_->domain);
            domainText_ = FormatText(texts::kMastersNumber, search_.CurrentDomain());
            host.EnableItem(IDC_MASTERS_DOMAIN, true);
            host.ComboSelectText(IDC_MASTERS_DOMAIN, domainText_);
            host.EnableItem(IDC_MASTERS_DOMAIN_LABEL, true);
            search_.SetMode(MasterSearch::Mode::kOne);
            SetDomain(context_.driver, domainText_.c_str());
            settings_.SaveDomain(search_.CurrentDomain());
            host.CheckRadio(IDC_MASTERS_SEARCH_ALL, IDC_MASTERS_SEARCH_ONE, IDC_MASTERS_SEARCH_ONE);
        }
        selected_ = nullptr;
    }
    DisableMasterButtons();
}

// The Master is held from the press on: the waits of SynchToMaster let clicks through that may
// change the selection (Search All, say, leaves none). Records live as long as the dialog.
void MasterListDialog::TestLink() {
    DialogHost& host = *Host();
    host.KillTimer(kSearchTimer);
    search_.Pause();
    if (const MasterRecord* master = selected_) {
        const Status status = search_.SynchTo(*master);
        RunDirectedLinkTest(context_, host, master->address);
        if (status == Status::kNoSync) {
            StopSearch(context_.driver);
        }
    }
    host.SetTimer(kSearchTimer, kSearchTickMs);
    selected_ = nullptr;
    DisableMasterButtons();
}

void MasterListDialog::ViewCell() {
    DialogHost& host = *Host();
    host.KillTimer(kSearchTimer);
    search_.Pause();
    if (const MasterRecord* master = selected_) {
        const uint8_t inRange = search_.SynchTo(*master) == Status::kOk ? 1 : 0;
        RunSiteSurvey(context_, host, settings_, inRange);
    }
    host.SetTimer(kSearchTimer, kSearchTickMs);
    selected_ = nullptr;
    DisableMasterButtons();
}

void MasterListDialog::DisableMasterButtons() {
    DialogHost& host = *Host();
    host.EnableItem(IDC_MASTERS_VIEW_CELL, false);
    host.EnableItem(IDC_MASTERS_USE_DOMAIN, false);
    host.EnableItem(IDC_MASTERS_TEST_LINK, false);
}

void MasterListDialog::OnDestroy() {
    Host()->KillTimer(kSearchTimer);
    search_.End();
    selected_ = nullptr;
}

}  // namespace vz
