// The main dialog: its window, its buttons, and what it does at exit.
#include "zazivev/shell/main_dialog.h"

#include <algorithm>
#include <cstring>

#include "driver/card_control.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "ui/minimised_icon.h"
#include "zazivev/config/configuration_dialog.h"
#include "zazivev/masters/master_list_dialog.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/survey/site_survey_dialog.h"
#include "zazivev/snoop/snoop_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr uint32_t kCheckTimer = 1;
constexpr uint32_t kFirstCheckMs = 100;

}  // namespace

MainDialog::MainDialog(ToolContext& context, ToolCardHost& cardHost)
    : Dialog(IDD_MAIN),
      settings(context.registry, context.version),
      context_(context),
      cardHost_(cardHost) {}

bool MainDialog::OnInitDialog() {
    cardHost_.Attach(Host());
    SetUpSystemMenu();
    Host()->SetIcon(IDI_MAIN);
    masterListSearchMode = 1;
    settings.Load();
    needsDriverReset = 1;
    focusTarget = IDC_MAIN_MASTERS;
    closeRequested = 0;
    context_.helpContext = kHelpContextMain;
    timerId_ = Host()->SetTimer(kCheckTimer, kFirstCheckMs);
    return true;
}

void MainDialog::SetUpSystemMenu() {
    DialogHost& host = *Host();
    if (std::strlen(TEXT_ABOUTBOX) != 0) {
        host.SystemMenuAppend(IDM_ABOUTBOX, TEXT_ABOUTBOX);
    }
    // The window keeps its size: the size and maximise items are greyed.
    for (int position = 0; position < host.SystemMenuCount(); ++position) {
        const std::string text = host.SystemMenuText(position);
        if (text == "Ma&ximize" || text == "&Size") {
            host.SystemMenuGrey(position);
        }
    }
}

bool MainDialog::OnSysCommand(uint32_t id) {
    if ((id & ~0xFu) != IDM_ABOUTBOX) {
        return false;
    }
    Dialog about(IDD_ABOUTBOX);
    Host()->RunModal(about);
    return true;
}

void MainDialog::OnClose() {
    closeRequested = 1;
    Dialog::OnClose();
}

void MainDialog::OnPaint() {
    PaintIconWhileMinimised(*Host(), IDI_MAIN);
}

void MainDialog::OnCommand(int id, int code) {
    switch (id) {
        case kIdOk:
            Host()->EndDialog(kIdOk);
            return;
        case kIdCancel:
            // Escape alone never closes the tool; a close request does.
            if (closeRequested != 0) {
                Host()->EndDialog(kIdCancel);
            }
            return;
        case IDC_HELP_COMMAND:
            ShowHelp(context_, *Host(), HelpSectionForContext(context_.helpContext));
            focusTarget = IDC_HELP_COMMAND;
            return;
        case IDC_MAIN_MASTERS:
        case IDC_MAIN_SITE_SURVEY:
        case IDC_MAIN_SNOOP:
        case IDC_MAIN_CONFIGURATION:
            OpenSubDialog(id);
            return;
        default:
            return;
    }
}

void MainDialog::OpenSubDialog(int buttonId) {
    DialogHost& host = *Host();
    focusTarget = buttonId;
    if (context_.prepareToolWindows) {
        context_.prepareToolWindows();
    }
    {
        // Each tool's help place is its button's id.
        ScopedHelpContext place(context_.helpContext, buttonId);
        RunSubDialog(buttonId);
    }

    host.CaptureWithWaitCursor();
    if (buttonId != IDC_MAIN_CONFIGURATION) {
        CloseCard(context_.driver);
        CloseDriver(context_.driver);
    }
    timerId_ = host.SetTimer(kCheckTimer, kFirstCheckMs);
    host.ReleaseWithArrowCursor();
}

void MainDialog::RunSubDialog(int buttonId) {
    DialogHost& host = *Host();
    switch (buttonId) {
        case IDC_MAIN_MASTERS: {
            MasterListDialog masters(context_, settings, masterListSearchMode);
            host.RunModal(masters);
            masterListSearchMode = masters.SearchMode();
            return;
        }
        case IDC_MAIN_SITE_SURVEY: {
            SiteSurveyDialog survey(context_, settings, 0);
            host.RunModal(survey);
            return;
        }
        case IDC_MAIN_SNOOP: {
            SnoopDialog snoop(context_, SnoopDialog::kMedium);
            host.RunModal(snoop);
            return;
        }
        case IDC_MAIN_CONFIGURATION: {
            ConfigurationDialog configuration(context_, settings);
            host.RunModal(configuration);
            return;
        }
        default:
            return;
    }
}

void MainDialog::OnTimer(uint32_t id) {
    if (id == kCheckTimer) {
        StartupCheck();
    }
}

void MainDialog::OnDestroy() {
    Driver& driver = context_.driver;
    if (!refused_) {
        if (driver.card.cardInitialised) {
            ReleaseCard(driver);
        }
        // Back on the scale the Configuration dialog writes: minutes x 12 + seconds / 5.
        const int minutes = std::clamp(settings.Inactivity_Min, 0, 60);
        const int seconds = std::clamp(settings.Inactivity_Sec, 0, 59);
        SetInactivityTimer(driver, static_cast<uint16_t>(minutes * 12 + seconds / 5));
        CloseCard(driver);
    }
    CloseDriver(driver);
    context_.shell.QuitHelpEngine(Host()->Window());
    cardHost_.Attach(nullptr);
}

}  // namespace vz
