// The test shell: answers from its scripted desktop, models what the tray accepts, records calls.
#include "platform/fake/recording_shell.h"

#include <algorithm>
#include <cstdio>

namespace vz {
namespace {

// Captions are read into an 80-character buffer on the real system.
constexpr size_t kCaptionChars = 79;

std::string Hex(WindowRef ref) {
    char text[32];
    std::snprintf(text, sizeof text, "%#llx", static_cast<unsigned long long>(ref));
    return text;
}

}  // namespace

void RecordingShell::AddWindow(const std::string& caption, WindowRef ref, bool minimised) {
    windows_.push_back({caption, ref, minimised});
}

void RecordingShell::RemoveWindow(WindowRef ref) {
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                  [ref](const Window& w) { return w.ref == ref; }),
                   windows_.end());
}

RecordingShell::Window* RecordingShell::FindByRef(WindowRef ref) {
    for (Window& w : windows_) {
        if (w.ref == ref) {
            return &w;
        }
    }
    return nullptr;
}

WindowRef RecordingShell::FindTopLevelWindow(std::string_view caption) {
    calls_.push_back("FindTopLevelWindow " + std::string(caption));
    for (const Window& w : windows_) {
        std::string_view seen = std::string_view(w.caption).substr(0, kCaptionChars);
        if (!seen.empty() && seen == caption) {
            return w.ref;
        }
    }
    return 0;
}

bool RecordingShell::IsMinimised(WindowRef window) {
    calls_.push_back("IsMinimised " + Hex(window));
    Window* w = FindByRef(window);
    return w != nullptr && w->minimised;
}

void RecordingShell::Restore(WindowRef window) {
    calls_.push_back("Restore " + Hex(window));
    if (Window* w = FindByRef(window)) {
        w->minimised = false;
    }
}

void RecordingShell::BringToForeground(WindowRef window) {
    calls_.push_back("BringToForeground " + Hex(window));
    foreground_ = window;
}

bool RecordingShell::StartProcess(const std::string& applicationPath,
                                  const std::string& commandLine) {
    calls_.push_back("StartProcess " + applicationPath + " | " + commandLine);
    started_.push_back({applicationPath, commandLine});
    return startResult_;
}

bool RecordingShell::FileExists(const std::string& path) {
    calls_.push_back("FileExists " + path);
    return files_.count(path) != 0;
}

std::string RecordingShell::CurrentDirectory() {
    calls_.push_back("CurrentDirectory");
    return currentDirectory_;
}

std::string RecordingShell::EnvironmentVariable(const std::string& name) {
    calls_.push_back("EnvironmentVariable " + name);
    auto it = environment_.find(name);
    return it == environment_.end() ? std::string() : it->second;
}

bool RecordingShell::SetClipboardText(WindowRef window, const std::string& text) {
    calls_.push_back("SetClipboardText " + std::to_string(window));
    clipboard_ = text;
    return true;
}

void RecordingShell::Beep(uint32_t frequency, uint32_t durationMs) {
    calls_.push_back("Beep " + std::to_string(frequency) + " " + std::to_string(durationMs));
    beeps_.emplace_back(frequency, durationMs);
}

void RecordingShell::QuitHelpEngine(WindowRef window) {
    calls_.push_back("QuitHelpEngine " + Hex(window));
}

bool RecordingShell::Tray(TrayCall::Kind kind, const TrayEntry& entry, bool modelled) {
    bool result = modelled;
    if (!trayResults_.empty()) {
        result = trayResults_.front();
        trayResults_.pop_front();
    }
    static const char* const kNames[] = {"TrayAdd", "TrayModify", "TrayDelete"};
    calls_.push_back(std::string(kNames[static_cast<int>(kind)]) + " " +
                     std::to_string(entry.iconId) + " icon " +
                     std::to_string(entry.iconResourceId) + " flags " +
                     std::to_string(entry.flags) + " tip " + entry.tip);
    trayCalls_.push_back({kind, entry, result});
    return result;
}

bool RecordingShell::TrayAdd(const TrayEntry& entry) {
    auto key = std::make_pair(entry.window, entry.iconId);
    bool ok = Tray(TrayCall::Kind::kAdd, entry, tray_.count(key) == 0);
    if (ok) {
        tray_[key] = entry;
    }
    return ok;
}

bool RecordingShell::TrayModify(const TrayEntry& entry) {
    auto key = std::make_pair(entry.window, entry.iconId);
    auto it = tray_.find(key);
    bool ok = Tray(TrayCall::Kind::kModify, entry, it != tray_.end());
    if (ok && it != tray_.end()) {
        // Only the parts the flags name change.
        if (entry.flags & kTrayFlagIcon) {
            it->second.iconResourceId = entry.iconResourceId;
        }
        if (entry.flags & kTrayFlagTip) {
            it->second.tip = entry.tip;
        }
        if (entry.flags & kTrayFlagMessage) {
            it->second.callbackMessage = entry.callbackMessage;
        }
    }
    return ok;
}

bool RecordingShell::TrayDelete(const TrayEntry& entry) {
    auto key = std::make_pair(entry.window, entry.iconId);
    bool ok = Tray(TrayCall::Kind::kDelete, entry, tray_.count(key) != 0);
    if (ok) {
        tray_.erase(key);
    }
    return ok;
}

uint32_t RecordingShell::RegisterTaskbarCreatedMessage() {
    calls_.push_back("RegisterTaskbarCreatedMessage");
    return kTaskbarCreatedMessage;
}

bool RecordingShell::StartWorker(int priority, std::function<void()> work, WindowRef window,
                                 uint32_t message) {
    calls_.push_back("StartWorker " + std::to_string(priority) + " " + Hex(window) + " " +
                     std::to_string(message));
    workers_.push_back({priority, window, message, false});
    work_.push_back(std::move(work));
    return true;
}

void RecordingShell::RunWorkers() {
    for (size_t i = 0; i < workers_.size(); ++i) {
        if (workers_[i].ran) {
            continue;
        }
        workers_[i].ran = true;
        std::function<void()> work = std::move(work_[i]);
        if (work) {
            work();
        }
        if (post_) {
            post_(workers_[i].window, workers_[i].message);
        }
    }
}

void RecordingShell::ClearRecords() {
    calls_.clear();
    trayCalls_.clear();
    started_.clear();
    beeps_.clear();
}

}  // namespace vz
