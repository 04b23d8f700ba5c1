// The tool's main window: the status report of the start-up check and the buttons that open
// every other tool.
#pragma once

#include <string>

#include "settings/adapter_settings.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/shell/tool_card_host.h"

namespace vz {

class MainDialog : public Dialog {
  public:
    // How the dialog ends when the driver's version is refused: the program then exits with 0
    // at once, without the exit-time writes to the card.
    static constexpr int kEndRefusedDriver = 0x7A00;
    // A focus target of the main dialog's own id stands for the Masters button.
    static constexpr int kFocusMeansMasters = 102;

    MainDialog(ToolContext& context, ToolCardHost& cardHost);

  private:
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    bool OnSysCommand(uint32_t id) override;
    void OnClose() override;
    void OnPaint() override;
    void OnDestroy() override;

    void StartupCheck();
    void ShowReport(const std::string& text);
    void AppendReport(const std::string& text);
    void EndCheck();
    void RefuseDriver();
    void OpenSubDialog(int buttonId);
    void RunSubDialog(int buttonId);
    void SetUpSystemMenu();

    AdapterSettings settings;
    int needsDriverReset = 1;
    int focusTarget = 1000;
    int masterListSearchMode = 1;
    int closeRequested = 0;
    ToolContext& context_;
    ToolCardHost& cardHost_;
    std::string report_;
    uint32_t timerId_ = 0;
    bool refused_ = false;
};

}  // namespace vz
