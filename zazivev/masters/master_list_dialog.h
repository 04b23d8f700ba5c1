// The Master list: searches the network domains for Masters and lists each one found, with the
// link test, the site survey and the card's domain at hand for a picked Master.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "driver/status.h"
#include "settings/adapter_settings.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/masters/master_record.h"

namespace vz {

class MasterListDialog : public Dialog {
  public:
    static constexpr int kSearchAll = 0;
    static constexpr int kSearchOne = 1;
    static constexpr uint32_t kSearchTimer = 1;
    static constexpr uint32_t kSearchTickMs = 100;
    // Each domain is listened to this long between steps; a step pauses the card this long.
    static constexpr uint32_t kDomainStepMs = 1500;
    static constexpr uint32_t kSearchPauseMs = 500;
    // A driver reporting a new address on every tick for hours cannot grow the list past this.
    static constexpr size_t kMaxMasters = 1024;

    // `searchMode`: the mode the opener remembers; SearchMode() hands the user's last choice back.
    MasterListDialog(ToolContext& context, AdapterSettings& settings, int searchMode);
    int SearchMode() const;

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    void OnNotify(int id, int code) override;
    void OnDestroy() override;

  private:
    void SearchTick();
    void ListMaster(const MasterRecord& heard);
    void StepDomain();
    void StopSearchAndPause();
    void ShowSearchingDomain();
    void EnableDomainList(bool enable);

    void OnSearchAll();
    void OnSearchOne();
    void OnDomainChosen();
    void PickSelectedMaster();
    void OnDoubleClick();
    void UseDomain();
    void TestLink();
    void ViewCell();
    // Moves the card onto `master`; a failure names that Master in the card state.
    Status SynchToMasterOf(const MasterRecord& master);
    void DisableMasterButtons();
    MasterRecord* RowMaster(int row);

    ToolContext& context_;
    AdapterSettings& settings_;
    int searchMode_;
    std::string domainText_;  // the domain list's selected text
    int currentDomain_ = 0;
    uint32_t lastStep_ = 0;
    bool restartPending_ = false;
    // The domain the card searches now, which rows are filed under: a domain picked meanwhile is
    // searched from the next step on. kNoSearch after a driver restart, until the next step: the
    // card then reports its own Master, found in no domain searched.
    static constexpr int kNoSearch = -1;
    int searchedDomain_ = kNoSearch;
    std::vector<std::unique_ptr<MasterRecord>> masters_;
    int nextRow_ = 0;
    MasterRecord* selected_ = nullptr;
    bool linkTestsAllowed_ = false;
};

}  // namespace vz
