// Shell seam: top-level windows, processes, files, environment, beep, help engine, tray, worker.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vz {

// An opaque window handle as the window system gives it; 0 is no window.
using WindowRef = std::uintptr_t;

// Tray entry flags, as the shell takes them.
inline constexpr uint32_t kTrayFlagMessage = 1;
inline constexpr uint32_t kTrayFlagIcon = 2;
inline constexpr uint32_t kTrayFlagTip = 4;
// The shell's tip field holds this many characters and a terminating NUL.
inline constexpr size_t kTrayTipCapacity = 64;

// Relative priorities within the normal class.
inline constexpr int kThreadPriorityNormal = 0;
inline constexpr int kThreadPriorityHighest = 2;

// The record of one tray call. The icon is loaded from the program's own resources for the call
// and released after it; 0 passes no icon. A tip longer than the shell's field is cut by the seam
// only so as never to overflow it; cutting it on purpose is the caller's business.
struct TrayEntry {
    WindowRef window = 0;
    uint32_t iconId = 0;
    uint32_t flags = 0;
    uint32_t callbackMessage = 0;
    int iconResourceId = 0;
    std::string tip;
};

class Shell {
  public:
    virtual ~Shell() = default;

    // All top-level windows, hidden ones included; captions are read up to 79 characters, empty
    // ones skipped, and compared exactly (case-sensitive). The first match, or 0.
    virtual WindowRef FindTopLevelWindow(std::string_view caption) = 0;
    virtual bool IsMinimised(WindowRef window) = 0;
    virtual void Restore(WindowRef window) = 0;
    virtual void BringToForeground(WindowRef window) = 0;

    // Starts the program at `applicationPath` with `commandLine` and does not wait for it.
    virtual bool StartProcess(const std::string& applicationPath,
                              const std::string& commandLine) = 0;
    // True when `path` names an existing file (not a directory).
    virtual bool FileExists(const std::string& path) = 0;
    virtual std::string CurrentDirectory() = 0;
    // The variable's value; empty when it is not set.
    virtual std::string EnvironmentVariable(const std::string& name) = 0;

    virtual void Beep(uint32_t frequency, uint32_t durationMs) = 0;
    // Puts `text` on the clipboard as plain text, owned by `window`. False when the clipboard
    // could not be had.
    virtual bool SetClipboardText(WindowRef window, const std::string& text) = 0;
    // Tells the system help engine that `window` needs it no more.
    virtual void QuitHelpEngine(WindowRef window) = 0;

    virtual bool TrayAdd(const TrayEntry& entry) = 0;
    virtual bool TrayModify(const TrayEntry& entry) = 0;
    virtual bool TrayDelete(const TrayEntry& entry) = 0;
    // The message the shell broadcasts when the taskbar has been (re)created.
    virtual uint32_t RegisterTaskbarCreatedMessage() = 0;

    // Runs `work` on a new thread at `priority` (relative, kThreadPriority...), then posts
    // `message` with both parameters 0 to `window`. False when no thread could be started.
    virtual bool StartWorker(int priority, std::function<void()> work, WindowRef window,
                             uint32_t message) = 0;
};

}  // namespace vz
