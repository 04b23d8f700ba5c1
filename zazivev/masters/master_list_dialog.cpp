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
#include "zazivev/config/message_dialogs.h"
#include "zazivev/masters/rom_version.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/site_survey_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr int kDomainCount = 16;
constexpr uint32_t kStepAtOnceMs = 2000;

bool IsDomain(int value) {
    return value >= 0 && value < kDomainCount;
}

// What the configured station type gives the card back at closing: Alternate Master and Master
// as they are; a stored value that is no role leaves it a Station, as the configuration shows it,
// rather than whatever role its low byte would name.
uint8_t ConfiguredRole(int stationType) {
    if (stationType == kStationTypeAlternateMaster || stationType == kStationTypeMaster) {
        return static_cast<uint8_t>(stationType);
    }
    return kStationTypeStation;
}

template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

MasterListDialog::MasterListDialog(ToolContext& context, AdapterSettings& settings, int searchMode)
    : Dialog(IDD_MASTER_LIST),
      context_(context),
      settings_(settings),
      searchMode_(searchMode == kSearchAll ? kSearchAll : kSearchOne) {}

int MasterListDialog::SearchMode() const {
    return searchMode_;
}

bool MasterListDialog::OnInitDialog() {
    DialogHost& host = *Host();
    Driver& driver = context_.driver;
    for (int domain = 0; domain < kDomainCount; ++domain) {
        host.ComboAdd(IDC_MASTERS_DOMAIN, FormatText(texts::kMastersNumber, domain));
    }
    host.CheckRadio(IDC_MASTERS_SEARCH_ALL, IDC_MASTERS_SEARCH_ONE,
                    searchMode_ == kSearchAll ? IDC_MASTERS_SEARCH_ALL : IDC_MASTERS_SEARCH_ONE);
    host.ComboSelectText(IDC_MASTERS_DOMAIN, domainText_);

    // A stored domain the card cannot have is searched as domain 0.
    currentDomain_ = IsDomain(settings_.Domain) ? settings_.Domain : 0;
    domainText_ = FormatText(texts::kMastersNumber, currentDomain_);

    char version[32] = {};
    GetVersion(driver, version);
    linkTestsAllowed_ = LinkTestsAllowed(FieldText(version));
    restartPending_ = false;
    // Before the first step the card is in its configured domain, and a Master it is synchronised
    // to is listed in that domain.
    searchedDomain_ = currentDomain_;
    host.ComboSelectText(IDC_MASTERS_DOMAIN, domainText_);
    lastStep_ = context_.clock.NowMs() - kStepAtOnceMs;
    ClearMasterAddr(driver);
    if (settings_.Station_Type != kStationTypeStation) {
        SetStationType(driver, kStationTypeStation);
        uint8_t syncState = 0;
        InitCard(driver, syncState, 0, 0);
    }

    host.ListViewAddColumn(IDC_MASTERS_LIST, 0, texts::kMastersColumnAddress, 96);
    host.ListViewAddColumn(IDC_MASTERS_LIST, 1, texts::kMastersColumnDomain, 48);
    host.ListViewAddColumn(IDC_MASTERS_LIST, 2, texts::kMastersColumnChannel, 56);
    host.ListViewAddColumn(IDC_MASTERS_LIST, 3, texts::kMastersColumnName, 99);
    nextRow_ = 0;
    selected_ = nullptr;

    host.MakeAcceleratorTarget();
    host.SetTimer(kSearchTimer, kSearchTickMs);
    ShowSearchingDomain();
    EnableDomainList(searchMode_ == kSearchOne);
    return true;
}

void MasterListDialog::OnTimer(uint32_t id) {
    if (id == kSearchTimer) {
        SearchTick();
    }
}

void MasterListDialog::SearchTick() {
    Driver& driver = context_.driver;
    if (restartPending_) {
        if (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk) {
            return;
        }
        restartPending_ = false;
        searchedDomain_ = kNoSearch;
    }

    MasterReading heard;
    const Status status = GetMasterNode(driver, heard);
    if (status == Status::kChannelLost) {
        restartPending_ = true;
        return;
    }
    if (searchedDomain_ != kNoSearch && heard.syncState != 0 && status == Status::kOk &&
        heard.nodeAddress[0] != '\0') {
        ListMaster(MasterRecord{FieldText(heard.address), FieldText(heard.name), searchedDomain_,
                                heard.channel, heard.subchannel});
    }

    if (context_.clock.NowMs() - lastStep_ >= kDomainStepMs) {
        StepDomain();
    }
}

void MasterListDialog::ListMaster(const MasterRecord& heard) {
    // A report whose Master address is all zeros names no Master: the card clears the address
    // at every domain step. Channels are listed as they came, whatever their range.
    if (heard.address.find_first_not_of('0') == std::string::npos) {
        return;
    }
    const bool listed = std::any_of(masters_.begin(), masters_.end(), [&](const auto& master) {
        return master->address == heard.address;
    });
    if (listed || masters_.size() >= kMaxMasters) {
        return;
    }
    masters_.push_back(std::make_unique<MasterRecord>(heard));
    const MasterRecord& master = *masters_.back();

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

void MasterListDialog::StepDomain() {
    Driver& driver = context_.driver;
    StopSearchAndPause();
    ClearMasterAddr(driver);
    if (searchMode_ == kSearchAll) {
        currentDomain_ = (currentDomain_ + 1) % kDomainCount;
    }
    ShowSearchingDomain();
    if (StartMasterSearch(driver, static_cast<uint8_t>(currentDomain_)) == Status::kChannelLost) {
        restartPending_ = true;
    }
    searchedDomain_ = currentDomain_;
    lastStep_ = context_.clock.NowMs();
}

void MasterListDialog::StopSearchAndPause() {
    Clock& clock = context_.clock;
    const uint32_t began = clock.NowMs();
    const Status stopped = StopSearch(context_.driver);
    // The card needs the pause to leave the search; nothing else runs meanwhile, and sleeping
    // instead of spinning leaves the processor to the other programs.
    for (uint32_t waited = clock.NowMs() - began; waited < kSearchPauseMs;
         waited = clock.NowMs() - began) {
        clock.SleepMs(kSearchPauseMs - waited);
    }
    if (!StopSearchSettled(stopped)) {
        StopSearch(context_.driver);
    }
}

void MasterListDialog::ShowSearchingDomain() {
    Host()->SetItemText(IDC_MASTERS_SEARCHING, FormatText(texts::kMastersNumber, currentDomain_));
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
    searchMode_ = kSearchAll;
}

void MasterListDialog::OnSearchOne() {
    DialogHost& host = *Host();
    selected_ = nullptr;
    host.EnableItem(IDC_MASTERS_DOMAIN, true);
    const int index = host.ComboSelectedIndex(IDC_MASTERS_DOMAIN);
    if (IsDomain(index)) {
        currentDomain_ = index;
    }
    host.SetItemText(IDC_MASTERS_SEARCHING, host.ComboSelectedText(IDC_MASTERS_DOMAIN));
    host.EnableItem(IDC_MASTERS_DOMAIN_LABEL, true);
    DisableMasterButtons();
    searchMode_ = kSearchOne;
}

void MasterListDialog::OnDomainChosen() {
    DialogHost& host = *Host();
    domainText_ = host.ComboSelectedText(IDC_MASTERS_DOMAIN);
    host.SetItemText(IDC_MASTERS_SEARCHING, domainText_);
    const int index = host.ComboSelectedIndex(IDC_MASTERS_DOMAIN);
    if (IsDomain(index)) {
        currentDomain_ = index;
    }
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

MasterRecord* MasterListDialog::RowMaster(int row) {
    if (row < 0) {
        return nullptr;
    }
    // The item data is trusted only as one of this list's own records.
    const intptr_t data = Host()->ListViewRowData(IDC_MASTERS_LIST, row);
    for (const auto& master : masters_) {
        if (reinterpret_cast<intptr_t>(master.get()) == data) {
            return master.get();
        }
    }
    return nullptr;
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
            currentDomain_ = selected_->domain;
            domainText_ = FormatText(texts::kMastersNumber, currentDomain_);
            host.EnableItem(IDC_MASTERS_DOMAIN, true);
            host.ComboSelectText(IDC_MASTERS_DOMAIN, domainText_);
            host.EnableItem(IDC_MASTERS_DOMAIN_LABEL, true);
            searchMode_ = kSearchOne;
            SetDomain(context_.driver, domainText_.c_str());
            settings_.SaveDomain(currentDomain_);
            host.CheckRadio(IDC_MASTERS_SEARCH_ALL, IDC_MASTERS_SEARCH_ONE, IDC_MASTERS_SEARCH_ONE);
        }
        selected_ = nullptr;
    }
    DisableMasterButtons();
}

Status MasterListDialog::SynchToMasterOf(const MasterRecord& master) {
    MasterReading wanted;
    CopyField(wanted.name, master.name);
    CopyField(wanted.address, master.address);
    wanted.channel = static_cast<uint8_t>(master.channel);
    wanted.subchannel = static_cast<uint8_t>(master.subchannel);
    const Status status = SynchToMaster(context_.driver, settings_.Station_Type,
                                        static_cast<uint8_t>(master.domain), wanted);
    if (status != Status::kOk) {
        AdoptMaster(context_.driver.card, wanted);
    }
    return status;
}

// The Master is held from the press on: the waits of SynchToMaster let clicks through that may
// change the selection (Search All, say, leaves none). Records live as long as the dialog.
void MasterListDialog::TestLink() {
    DialogHost& host = *Host();
    host.KillTimer(kSearchTimer);
    StopSearchAndPause();
    if (const MasterRecord* master = selected_) {
        const Status status = SynchToMasterOf(*master);
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
    StopSearchAndPause();
    if (const MasterRecord* master = selected_) {
        const uint8_t inRange = SynchToMasterOf(*master) == Status::kOk ? 1 : 0;
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
    if (settings_.Station_Type != kStationTypeStation) {
        SetStationType(context_.driver, ConfiguredRole(settings_.Station_Type));
    }
    masters_.clear();
    selected_ = nullptr;
}

}  // namespace vz
