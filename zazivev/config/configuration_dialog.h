// The Configuration dialog: station type, Master settings, domain, roaming, inactivity and
// peer-to-peer, sent to the card and stored in the registry on OK.
#pragma once

#include <string>

#include "settings/adapter_settings.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"

namespace vz {

class ConfigurationDialog : public Dialog {
  public:
    // The fields start as the settings' values, as the main dialog hands them in.
    ConfigurationDialog(ToolContext& context, AdapterSettings& settings);

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnRButtonDblClk(int x, int y) override;

  private:
    void FillCombos();
    void UpdateControls();
    void SelectByIndex();
    void EnableGroup(const int* ids, size_t count, bool enable);
    void OnSelectionChange(int id);
    void UseDefaults();
    void Apply();

    // What the dialog shows and OK applies, as text where the combo boxes hold text.
    int isNotStation = 0;
    int isPcCard = 0;
    AdapterSettings& settings;
    std::string stationType;
    std::string masterName;
    std::string channel;
    std::string subchannel;
    std::string domain;
    std::string macOptimize;
    std::string roamConfig;
    int peerToPeer = 0;
    int inactivityMinutes = -1;
    int inactivitySecondsIndex = -1;
    ToolContext& context_;
};

}  // namespace vz
