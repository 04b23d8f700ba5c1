// The Configuration dialog: its layouts per station type, its handlers and Apply.
#include "zazivev/config/configuration_dialog.h"

#include <algorithm>
#include <iterator>

#include "driver/card_control.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/config/config_tables.h"
#include "zazivev/config/get_settings_dialog.h"
#include "zazivev/config/security_id_dialogs.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

// What a Master or Alternate Master sets and a Station does not, with their labels.
constexpr int kMasterControls[] = {IDC_CONFIG_MASTER_NAME,  IDC_CONFIG_MASTER_NAME_LABEL,
                                   IDC_CONFIG_CHANNEL,      IDC_CONFIG_CHANNEL_LABEL,
                                   IDC_CONFIG_SUBCHANNEL,   IDC_CONFIG_SUBCHANNEL_LABEL,
                                   IDC_CONFIG_MAC_OPTIMIZE, IDC_CONFIG_MAC_LABEL};
// What a Master does not set: it does not roam and is never idle.
constexpr int kRoamingControls[] = {IDC_CONFIG_ROAM_CONFIG,    IDC_CONFIG_ROAM_LABEL,
                                    IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_SEC_LABEL,
                                    IDC_CONFIG_INACTIVITY_MIN, IDC_CONFIG_INACTIVITY_MIN_LABEL,
                                    IDC_CONFIG_PEER_TO_PEER};
// The controls the Alt+letter accelerators stand for.
constexpr int kAcceleratorControls[] = {
    IDC_CONFIG_STATION_TYPE, IDC_CONFIG_MASTER_NAME,    IDC_CONFIG_CHANNEL,
    IDC_CONFIG_SUBCHANNEL,   IDC_CONFIG_DOMAIN,         IDC_CONFIG_MAC_OPTIMIZE,
    IDC_CONFIG_ROAM_CONFIG,  IDC_CONFIG_INACTIVITY_SEC, IDC_CONFIG_INACTIVITY_MIN};

constexpr int kStationType = 0;
constexpr int kMasterType = 2;
constexpr int kSecondsStep = 5;
constexpr char kDefaultChannel[] = "1";
constexpr char kDefaultDomain[] = "0";
constexpr int kPcCardSecondsIndex = 6;  // 30 seconds

void Fill(DialogHost& host, int id, const ComboItems& items) {
    host.ComboReset(id);
    for (const std::string& item : items) {
        host.ComboAdd(id, item);
    }
}

}  // namespace

ConfigurationDialog::ConfigurationDialog(ToolContext& context, AdapterSettings& settings)
    : Dialog(IDD_CONFIGURATION),
      isPcCard(settings.IsPcCard),
      settings(settings),
      stationType(StationTypeText(settings.Station_Type)),
      masterName(settings.Master_Name),
      channel(std::to_string(settings.Channel)),
      subchannel(std::to_string(settings.Subchannel)),
      domain(std::to_string(settings.Domain)),
      macOptimize(MacOptimizeText(settings.Mac_Optimize)),
      roamConfig(RoamConfigText(settings.Roam_Config)),
      peerToPeer(settings.Peer_to_Peer),
      inactivityMinutes(settings.Inactivity_Min),
      inactivitySecondsIndex(settings.Inactivity_Sec / kSecondsStep),
      context_(context) {
    // Taken from the text, not the stored flag: a station type outside 0..2 shows as a Station
    // and is then handled as one throughout.
    isNotStation = StationTypeCode(stationType) != kStationType ? 1 : 0;
}

bool ConfigurationDialog::OnInitDialog() {
    DialogHost& host = *Host();
    FillCombos();
    host.SetItemText(IDC_CONFIG_MASTER_NAME, masterName);
    host.SetEditLimit(IDC_CONFIG_MASTER_NAME, static_cast<int>(kMasterNameMaxLength));
    host.SetCheck(IDC_CONFIG_PEER_TO_PEER, peerToPeer != 0);
    UpdateControls();
    SelectByIndex();
    host.MakeAcceleratorTarget();
    host.ShowItem(IDC_CONFIG_VERY_ADVANCED, false);
    return true;
}

void ConfigurationDialog::FillCombos() {
    DialogHost& host = *Host();
    Fill(host, IDC_CONFIG_STATION_TYPE, StationTypeItems());
    Fill(host, IDC_CONFIG_CHANNEL, ChannelItems());
    Fill(host, IDC_CONFIG_SUBCHANNEL, ChannelItems());
    Fill(host, IDC_CONFIG_DOMAIN, DomainItems());
    Fill(host, IDC_CONFIG_MAC_OPTIMIZE, MacOptimizeItems());
    Fill(host, IDC_CONFIG_ROAM_CONFIG, RoamConfigItems());
    Fill(host, IDC_CONFIG_INACTIVITY_SEC, InactivitySecItems());
    Fill(host, IDC_CONFIG_INACTIVITY_MIN, InactivityMinItems());
}

void ConfigurationDialog::EnableGroup(const int* ids, size_t count, bool enable) {
    for (size_t i = 0; i < count; ++i) {
        Host()->EnableItem(ids[i], enable);
    }
}

void ConfigurationDialog::UpdateControls() {
    DialogHost& host = *Host();
    const int type = StationTypeCode(stationType);
    host.ComboSelect(IDC_CONFIG_STATION_TYPE, type);
    host.SetItemText(IDC_CONFIG_MASTER_NAME, masterName);
    if (type != kStationType) {
        host.ComboSelectText(IDC_CONFIG_CHANNEL, channel);
        host.ComboSelectText(IDC_CONFIG_SUBCHANNEL, subchannel);
        host.ComboSelectText(IDC_CONFIG_MAC_OPTIMIZE, macOptimize);
    }
    EnableGroup(kMasterControls, std::size(kMasterControls), type != kStationType);
    // Every refresh ticks Peer To Peer; only a Master cannot clear it again.
    peerToPeer = 1;
    host.SetCheck(IDC_CONFIG_PEER_TO_PEER, true);
    EnableGroup(kRoamingControls, std::size(kRoamingControls), type != kMasterType);

    host.ComboSelect(IDC_CONFIG_INACTIVITY_SEC, std::max(inactivitySecondsIndex, 0));
    host.ComboSelect(IDC_CONFIG_INACTIVITY_MIN, inactivityMinutes);
    host.ComboSelectText(IDC_CONFIG_DOMAIN, domain);
    if (type != kMasterType) {
        host.ComboSelectText(IDC_CONFIG_ROAM_CONFIG, roamConfig);
    }
}

// A number outside its list leaves that combo box without a selection.
void ConfigurationDialog::SelectByIndex() {
    DialogHost& host = *Host();
    host.ComboSelect(IDC_CONFIG_STATION_TYPE, StationTypeCode(stationType));
    host.ComboSelect(IDC_CONFIG_CHANNEL, DecimalValue(channel) - 1);
    host.ComboSelect(IDC_CONFIG_SUBCHANNEL, DecimalValue(subchannel) - 1);
    host.ComboSelect(IDC_CONFIG_DOMAIN, DecimalValue(domain));
    host.ComboSelect(IDC_CONFIG_MAC_OPTIMIZE, MacOptimizeIndex(macOptimize));
    host.ComboSelect(IDC_CONFIG_ROAM_CONFIG, RoamConfigCode(roamConfig));
    host.ComboSelect(IDC_CONFIG_INACTIVITY_SEC, std::max(inactivitySecondsIndex, 0));
    host.ComboSelect(IDC_CONFIG_INACTIVITY_MIN, inactivityMinutes);
}

void ConfigurationDialog::OnCommand(int id, int code) {
    DialogHost& host = *Host();
    if (code == kCodeAccelerator) {
        if (std::find(std::begin(kAcceleratorControls), std::end(kAcceleratorControls), id) !=
            std::end(kAcceleratorControls)) {
            host.SetFocus(id);
        }
        return;
    }
    switch (id) {
        case IDC_CONFIG_STATION_TYPE:
        case IDC_CONFIG_CHANNEL:
        case IDC_CONFIG_SUBCHANNEL:
        case IDC_CONFIG_DOMAIN:
        case IDC_CONFIG_MAC_OPTIMIZE:
        case IDC_CONFIG_ROAM_CONFIG:
        case IDC_CONFIG_INACTIVITY_SEC:
        case IDC_CONFIG_INACTIVITY_MIN:
            if (code == kCbnSelChange) {
                OnSelectionChange(id);
            }
            return;
        case IDC_CONFIG_MASTER_NAME:
            if (code == kEnUpdate) {
                masterName = host.GetItemText(IDC_CONFIG_MASTER_NAME);
            }
            return;
        case IDC_CONFIG_PEER_TO_PEER:
            peerToPeer = host.IsChecked(IDC_CONFIG_PEER_TO_PEER) ? 1 : 0;
            return;
        case IDC_CONFIG_USE_DEFAULTS:
            UseDefaults();
            return;
        case IDC_CONFIG_GET_SETTINGS: {
            GetSettingsDialog getSettings(context_.driver.card);
            host.RunModal(getSettings);
            return;
        }
        case IDC_CONFIG_SET_SECURITY_ID: {
            SetupWarningDialog warning(context_);
            host.RunModal(warning);
            return;
        }
        case IDC_HELP_COMMAND:
            ShowHelp(context_, host, HelpSectionForContext(kHelpContextConfiguration));
            return;
        case IDC_CONFIG_OK:
            Apply();
            return;
        default:
            Dialog::OnCommand(id, code);
            return;
    }
}

void ConfigurationDialog::OnSelectionChange(int id) {
    const std::string text = Host()->ComboSelectedText(id);
    switch (id) {
        case IDC_CONFIG_STATION_TYPE:
            stationType = text;
            isNotStation = text == texts::kStationTypeStation ? 0 : 1;
            UpdateControls();
            return;
        case IDC_CONFIG_CHANNEL:
            channel = text;
            return;
        case IDC_CONFIG_SUBCHANNEL:
            subchannel = text;
            return;
        case IDC_CONFIG_DOMAIN:
            domain = text;
            return;
        case IDC_CONFIG_MAC_OPTIMIZE:
            macOptimize = text;
            return;
        case IDC_CONFIG_ROAM_CONFIG:
            roamConfig = text;
            return;
        case IDC_CONFIG_INACTIVITY_SEC:
            inactivitySecondsIndex = DecimalValue(text) / kSecondsStep;
            return;
        default:
            inactivityMinutes = DecimalValue(text);
            return;
    }
}

void ConfigurationDialog::OnRButtonDblClk(int, int) {
    Host()->EnableItem(IDC_CONFIG_VERY_ADVANCED, true);
    Host()->ShowItem(IDC_CONFIG_VERY_ADVANCED, true);
}

void ConfigurationDialog::UseDefaults() {
    masterName = texts::kDefaultMasterName;
    channel = kDefaultChannel;
    subchannel = kDefaultChannel;
    domain = kDefaultDomain;
    macOptimize = texts::kMacOptimizeNormal;
    roamConfig = texts::kRoamConfigNormal;
    stationType = texts::kStationTypeStation;
    isNotStation = 0;
    inactivitySecondsIndex = isPcCard != 0 ? kPcCardSecondsIndex : 0;
    inactivityMinutes = 0;
    peerToPeer = 1;
    UpdateControls();
}

// A stored value outside its list shows no selection and is sent and stored back as it came:
// only what the user changes takes a list's value. The name goes to the card cut to its field.
void ConfigurationDialog::Apply() {
    CardOptions options;
    options.masterSettings = isNotStation != 0;
    options.masterName = masterName.c_str();
    options.stationType = stationType.c_str();
    options.channel = channel.c_str();
    options.subchannel = subchannel.c_str();
    options.domain = domain.c_str();
    options.macOptimize = macOptimize.c_str();
    options.roamConfig = roamConfig.c_str();
    options.peerToPeer = peerToPeer != 0;
    options.isPcCard = isPcCard != 0;
    options.inactivitySecondsIndex = inactivitySecondsIndex;
    options.inactivityMinutes = inactivityMinutes;
    // The card's answer is not looked at: the settings are stored even if it refused them.
    SetCardOptions(context_.driver, options);

    settings.StationIsNotStation = isNotStation;
    settings.Station_Type = StationTypeCode(stationType);
    settings.Master_Name = masterName;
    if (isNotStation == 1) {
        settings.Channel = DecimalValue(channel);
        settings.Subchannel = DecimalValue(subchannel);
        settings.Mac_Optimize = MacOptimizeStored(macOptimize);
    }
    settings.SaveDomain(DecimalValue(domain));
    if (settings.Station_Type != kMasterType) {
        settings.Roam_Config = RoamConfigCode(roamConfig);
    }
    settings.Inactivity_Sec = inactivitySecondsIndex * kSecondsStep;
    settings.Inactivity_Min = inactivityMinutes;
    settings.Peer_to_Peer = peerToPeer;
    settings.Save();
    Host()->EndDialog(kIdOk);
}

}  // namespace vz
