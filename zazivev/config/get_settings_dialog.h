// Get Settings: the card's node address, ROM version, country code and RSSI map as the last
// start-up check found them.
#pragma once

#include "driver/card_state.h"
#include "ui/dialog.h"

namespace vz {

// Sends nothing to the card: everything comes from the card state.
class GetSettingsDialog : public Dialog {
  public:
    explicit GetSettingsDialog(const CardState& card);
    bool OnInitDialog() override;

  private:
    const CardState& card_;
};

}  // namespace vz
