// The shell seam on Windows: top-level windows, processes, files, environment, tray, worker
// threads.
#pragma once

#include "platform/shell.h"

namespace vz {

// Tray icons are loaded from the resources of the program's own module.
class Win32Shell : public Shell {
  public:
    WindowRef FindTopLevelWindow(std::string_view caption) override;
    bool IsMinimised(WindowRef window) override;
    void Restore(WindowRef window) override;
    void BringToForeground(WindowRef window) override;
    bool StartProcess(const std::string& applicationPath, const std::string& commandLine) override;
    bool FileExists(const std::string& path) override;
    std::string CurrentDirectory() override;
    std::string EnvironmentVariable(const std::string& name) override;
    void Beep(uint32_t frequency, uint32_t durationMs) override;
    bool SetClipboardText(WindowRef window, const std::string& text) override;
    void QuitHelpEngine(WindowRef window) override;
    bool TrayAdd(const TrayEntry& entry) override;
    bool TrayModify(const TrayEntry& entry) override;
    bool TrayDelete(const TrayEntry& entry) override;
    uint32_t RegisterTaskbarCreatedMessage() override;
    bool StartWorker(int priority, std::function<void()> work, WindowRef window,
                     uint32_t message) override;
};

}  // namespace vz
