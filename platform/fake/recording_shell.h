// A shell for tests: a scripted desktop (windows, files, environment, tray) that records every
// call.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace vz {

class RecordingShell : public Shell {
  public:
    struct Window {
        std::string caption;
        WindowRef ref = 0;
        bool minimised = false;
    };
    struct TrayCall {
        enum class Kind { kAdd, kModify, kDelete };
        Kind kind = Kind::kAdd;
        TrayEntry entry;
        bool result = false;
    };
    struct ProcessStart {
        std::string applicationPath;
        std::string commandLine;
    };
    struct WorkerStart {
        int priority = 0;
        WindowRef window = 0;
        uint32_t message = 0;
        bool ran = false;
    };

    // --- The desktop the code under test finds.
    // Windows are searched in the order added, as a z-order would be.
    void AddWindow(const std::string& caption, WindowRef ref, bool minimised = false);
    void RemoveWindow(WindowRef ref);
    void AddFile(const std::string& path) { files_[path] = true; }
    void SetCurrentDirectory(const std::string& path) { currentDirectory_ = path; }
    void SetEnvironmentVariable(const std::string& name, const std::string& value) {
        environment_[name] = value;
    }
    void SetStartProcessResult(bool result) { startResult_ = result; }
    // The next tray calls answer these results instead of what the tray model would say.
    void QueueTrayResult(bool result) { trayResults_.push_back(result); }
    // The taskbar restarted: every entry is gone.
    void ForgetTrayEntries() { tray_.clear(); }
    // Where the message a worker posts at its end goes (a headless window system, say).
    void SetPostTarget(std::function<void(WindowRef, uint32_t)> post) { post_ = std::move(post); }

    // --- Shell
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

    // Runs the workers started so far, in order, each followed by its posted message.
    void RunWorkers();

    // --- What was asked of it.
    // One line per call: "<Function> <arguments>".
    const std::vector<std::string>& Calls() const { return calls_; }
    const std::vector<TrayCall>& TrayCalls() const { return trayCalls_; }
    const std::vector<ProcessStart>& Started() const { return started_; }
    const std::vector<std::pair<uint32_t, uint32_t>>& Beeps() const { return beeps_; }
    const std::string& Clipboard() const { return clipboard_; }
    const std::vector<WorkerStart>& Workers() const { return workers_; }
    WindowRef Foreground() const { return foreground_; }
    // Forgets what was asked so far (a long soak keeps its memory flat); the state stays.
    void ClearRecords();
    // Entries the tray shows now, by (window, icon id).
    const std::map<std::pair<WindowRef, uint32_t>, TrayEntry>& TrayIcons() const { return tray_; }

    static constexpr uint32_t kTaskbarCreatedMessage = 0xC0DE;

  private:
    bool Tray(TrayCall::Kind kind, const TrayEntry& entry, bool modelled);
    Window* FindByRef(WindowRef ref);

    std::vector<Window> windows_;
    std::map<std::string, bool> files_;
    std::map<std::string, std::string> environment_;
    std::string clipboard_;
    std::string currentDirectory_ = "C:\\";
    bool startResult_ = true;
    std::deque<bool> trayResults_;
    std::map<std::pair<WindowRef, uint32_t>, TrayEntry> tray_;
    std::function<void(WindowRef, uint32_t)> post_;
    std::vector<std::function<void()>> work_;

    std::vector<std::string> calls_;
    std::vector<TrayCall> trayCalls_;
    std::vector<ProcessStart> started_;
    std::vector<std::pair<uint32_t, uint32_t>> beeps_;
    std::vector<WorkerStart> workers_;
    WindowRef foreground_ = 0;
};

}  // namespace vz
