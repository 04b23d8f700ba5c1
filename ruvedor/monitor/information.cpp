// The information window's text: the stored data while Zazivev runs, fresh reads otherwise.
#include <cctype>
#include <cstring>

#include "driver/status_queries.h"
#include "driver/card_text.h"
#include "program/card_status_texts.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/resource.h"
#include "ruvedor/res/strings.h"
#include "ruvedor/texts.h"
#include "ui/dialog_host.h"

namespace vz {

namespace t = monitor_texts;

void StatusMonitorDialog::RefreshInformation() {
    DialogHost& host = *Host();
    const CardState& card = context_.driver.card;
    std::string text;
    const auto show = [&] { host.SetItemText(IDC_MONITOR_INFORMATION, text); };

    if (utilityRunning_) {
        // Zazivev has the card: no driver call, only what the monitor saw last.
        text = t::kInfoStatic;
        show();
        text +=
            FormatText(t::kInfoDriverAccessed, TEXT_PRODUCT, FieldText(card.driverVersion).c_str());
        show();
        text += NodeLine(t::kInfoNodeStatic);
        show();
        text +=
            lastSyncState_ != 0 ? SynchronisedLine() : std::string(card_status_texts::kNoMaster);
        show();
        return;
    }

    if (ReadDriverVersion() == Status::kOk) {
        text =
            FormatText(t::kInfoDriverAccessed, TEXT_PRODUCT, FieldText(card.driverVersion).c_str());
    }
    show();
    // This sync state serves the text only; the polling keeps its own.
    uint8_t syncState = 0;
    QueryMasterNode(syncState);
    ReadRomVersion();
    text += NodeLine(t::kInfoNodeLive);
    show();
    if (syncState != 0) {
        const std::string masterName = FieldText(card.masterName);
        if (masterName != lastMasterName_) {
            UpdateTray(syncState);
        }
        lastMasterName_ = masterName;
        text += SynchronisedLine();
    } else {
        text += card_status_texts::kNoMaster;
    }
    show();
}

std::string StatusMonitorDialog::NodeLine(const char* format) const {
    // The monitor never reads the country code nor builds the signal-strength map, so the
    // number is the card state's country code (0 here) and the marker is printed only when it
    // means something ('+'); the line then ends in "/0" right after the ROM version.
    const CardState& card = context_.driver.card;
    const char marker =
        std::isgraph(static_cast<unsigned char>(card.rssiMapMarker)) ? card.rssiMapMarker : '\0';
    return FormatText(format, FieldText(card.nodeAddress).c_str(),
                      FieldText(card.romVersion).c_str(), card.countryCode & 0x3F, marker);
}

std::string StatusMonitorDialog::SynchronisedLine() const {
    const CardState& card = context_.driver.card;
    return FormatText(card_status_texts::kSynchronized, FieldText(card.masterAddress).c_str(),
                      FieldText(card.masterName).c_str());
}

Status StatusMonitorDialog::ReadDriverVersion() {
    // The reply lands in a buffer of its own first: a failed request keeps the last text.
    char version[sizeof(CardState::driverVersion)] = "";
    const Status status = GetDriverVersion(context_.driver, version);
    if (status == Status::kOk) {
        std::memcpy(context_.driver.card.driverVersion, version, sizeof version);
    }
    return status;
}

Status StatusMonitorDialog::ReadRomVersion() {
    char version[sizeof(CardState::romVersion)] = "";
    const Status status = GetVersion(context_.driver, version);
    if (status == Status::kOk) {
        version[sizeof version - 1] = '\0';
        std::memcpy(context_.driver.card.romVersion, version, sizeof version);
    }
    return status;
}

}  // namespace vz
