// The Master list: searches the network domains for Masters and lists each one found, with the
// link test, the site survey and the card's domain at hand for a picked Master.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engines/master_search.h"
#include "settings/adapter_settings.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"

namespace vz {

class MasterListDialog : public Dialog {
  public:
    static constexpr int kSearchAll = 0;
    static constexpr int kSearchOne = 1;
    static constexpr uint32_t kSearchTimer = 1;
    static constexpr uint32_t kSearchTickMs = 100;

    // `searchMode`: the mode the opener remembers; SearchMode() hands the user's last choice back.
    MasterListDialog(ToolContext& context, AdapterSettings& settings, int searchMode);
    int SearchMode() const;

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    void OnNotify(int id, int code) override;
    void OnDestroy() override;
    // "Copy Figures" copies what the window shows.
    bool OnSysCommand(uint32_t id) override;

  private:
    void SearchTick();
    void ListMaster(const MasterRecord& master);
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
    void DisableMasterButtons();
    const MasterRecord* RowMaster(int row);

    ToolContext& context_;
    AdapterSettings& settings_;
    MasterSearch search_;
    std::string domainText_;  // the domain list's selected text
    int nextRow_ = 0;
    const MasterRecord* selected_ = nullptr;
    bool linkTestsAllowed_ = false;
};

}  // namespace vz
