// The start-up check: open the driver, vet its version, re-initialise the card, wait for a
// Master, and tell the user what was found.
#include <cstring>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/request_block.h"
#include "driver/status_queries.h"
#include "program/card_status_texts.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/config/message_dialogs.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/main_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr uint32_t kCheckTimer = 1;
constexpr uint32_t kNoDriverRetryMs = 10000;
constexpr uint32_t kChannelRetryMs = 1000;

// Driver versions 1.0.x cannot serve the tool.
bool IsRefusedDriverVersion(const char* version) {
    return std::strncmp(version, "1.0", 3) == 0 || std::strncmp(version, "V1.0", 4) == 0;
}

}  // namespace

void MainDialog::ShowReport(const std::string& text) {
    report_ = text;
    Host()->SetItemText(IDC_MAIN_REPORT, report_);
}

void MainDialog::AppendReport(const std::string& text) {
    ShowReport(report_ + text);
}

void MainDialog::EndCheck() {
    Host()->ReleaseWithArrowCursor();
}

void MainDialog::StartupCheck() {
    DialogHost& host = *Host();
    Driver& driver = context_.driver;
    CardState& card = driver.card;

    host.KillTimer(timerId_);
    ShowReport(TEXT_CHECKING);
    for (int id : {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_SITE_SURVEY, IDC_MAIN_MASTERS, IDC_MAIN_SNOOP,
                   IDC_MAIN_CONFIGURATION}) {
        host.EnableItem(id, false);
    }
    host.CaptureWithWaitCursor();

    const Status opened = OpenDriver(driver);
    for (int id : {kIdOk, IDC_HELP_COMMAND, IDC_MAIN_CONFIGURATION}) {
        host.EnableItem(id, true);
    }
    if (opened != Status::kOk) {
        std::string text = FormatText(texts::kReportNoDriver, TEXT_UNABLE_TO_ACCESS);
        if (context_.version.majorVersion >= 4) {
            text += FormatText(texts::kReportProtocolHint, TEXT_PRODUCT);
        }
        ShowReport(text);
        host.EnableItem(IDC_MAIN_CONFIGURATION, false);
        // A PC card may simply not be in yet: look again every ten seconds.
        if (settings.IsPcCard) {
            timerId_ = host.SetTimer(kCheckTimer, kNoDriverRetryMs);
        }
        EndCheck();
        return;
    }

    GetDriverVersion(driver, card.driverVersion);
    AppendReport(FormatText(texts::kReportDriverAccessed, TEXT_DRIVER_VERSION,
                            FieldText(card.driverVersion).c_str()));
    if (IsRefusedDriverVersion(card.driverVersion)) {
        RefuseDriver();
        return;
    }

    if (needsDriverReset == 1) {
        const Status restarted = RestartDriver(driver);
        if (restarted == Status::kChannelLost) {
            timerId_ = host.SetTimer(kCheckTimer, kChannelRetryMs);
            EndCheck();
            return;
        }
        if (restarted != Status::kOk) {
            EndCheck();
            return;
        }
        needsDriverReset = 0;
    }

    uint8_t synchronised = 0;
    if (InitCard(driver, synchronised, 0, settings.Station_Type) == Status::kChannelLost) {
        needsDriverReset = 1;
        EndCheck();
        return;
    }
    SetInactivityTimer(driver, 0);

    AppendReport(FormatText(texts::kReportNodeLine, FieldText(card.nodeAddress).c_str(),
                            FieldText(card.romVersion).c_str(), card.countryCode & 0x3F,
                            card.rssiMapMarker));
    if (synchronised != 0) {
        AppendReport(FormatText(card_status_texts::kSynchronized,
                                FieldText(card.masterAddress).c_str(),
                                FieldText(card.masterName).c_str()));
        host.EnableItem(IDC_MAIN_SITE_SURVEY, true);
    } else {
        AppendReport(card_status_texts::kNoMaster);
    }
    host.EnableItem(IDC_MAIN_MASTERS, true);
    host.EnableItem(IDC_MAIN_SNOOP, true);
    // The button last used takes the focus again; Site Survey cannot while it is disabled, and
    // a focus on a disabled button would leave the keyboard with nothing to act on.
    int focus = focusTarget == kFocusMeansMasters ? IDC_MAIN_MASTERS : focusTarget;
    if (focus == IDC_MAIN_SITE_SURVEY && synchronised == 0) {
        focus = IDC_MAIN_MASTERS;
    }
    host.SetFocus(focus);
    EndCheck();
}

void MainDialog::RefuseDriver() {
    DialogHost& host = *Host();
    host.ReleaseWithArrowCursor();
    ErrorDialog error(texts::kDriverRefusedTitle,
                      FormatText(texts::kDriverRefusedText,
                                 FieldText(context_.driver.card.driverVersion).c_str()));
    host.RunModal(error);
    refused_ = true;
    host.EndDialog(kEndRefusedDriver);
}

}  // namespace vz
