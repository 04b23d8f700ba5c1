// Get Settings: the card state's fixed facts, each in its static text.
#include "zazivev/config/get_settings_dialog.h"

#include "driver/card_text.h"
#include "ui/dialog_host.h"
#include "zazivev/res/resource.h"
#include "zazivev/texts.h"

namespace vz {

GetSettingsDialog::GetSettingsDialog(const CardState& card)
    : Dialog(IDD_GET_SETTINGS), card_(card) {}

bool GetSettingsDialog::OnInitDialog() {
    DialogHost& host = *Host();
    host.SetItemText(IDC_GET_SETTINGS_NODE_ADDRESS, FieldText(card_.nodeAddress));
    host.SetItemText(IDC_GET_SETTINGS_ROM_VERSION, FieldText(card_.romVersion));
    host.SetItemText(IDC_GET_SETTINGS_COUNTRY_CODE,
                     FormatText(texts::kCountryCodeFormat, unsigned{card_.countryCode}));
    // The marker says whether the last InitCard obtained the map.
    host.SetItemText(IDC_GET_SETTINGS_RSSI_MAP,
                     card_.rssiMapMarker == ' ' ? std::string() : FieldText(card_.rssiMapText));
    return true;
}

}  // namespace vz
