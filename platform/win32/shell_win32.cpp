// The shell seam on Windows: each call passes straight to the system; only the buffers it fills
// are bounded here (captions, the tray's tip field, directory and environment texts), and the
// tray's icons are loaded once.
#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace vz {
namespace {

HWND Handle(WindowRef window) {
    return reinterpret_cast<HWND>(window);
}

// Reads a text whose length the system tells first; retries if it grew in between.
template <typename Read>
std::string ReadSized(Read read) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = read(nullptr, 0);
        if (needed == 0) {
            return std::string();
        }
        std::vector<char> buffer(needed + 1, '\0');
        DWORD got = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got < buffer.size()) {
            return std::string(buffer.data(), got);
        }
    }
    return std::string();
}

// A tray icon from the program's resources, loaded once for the life of the process: the shell
// copies the picture on every call, so one handle serves them all. A load that failed is tried
// again on the next call.
HICON TrayIconHandle(int resourceId) {
    static std::map<int, HICON> loaded;
    const auto found = loaded.find(resourceId);
    if (found != loaded.end()) {
        return found->second;
    }
    const auto icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (icon != nullptr) {
        loaded.emplace(resourceId, icon);
    }
    return icon;
}

// Shell_NotifyIconA, bound on first use: a program that never shows a tray entry does not load
// the shell's library, and the two it brings along, at start-up.
BOOL NotifyIcon(DWORD action, NOTIFYICONDATAA& data) {
    using Notify = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static const auto entry = reinterpret_cast<Notify>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shell32.dll"), "Shell_NotifyIconA")));
    return entry != nullptr ? entry(action, &data) : FALSE;
}

bool Notify(DWORD action, const TrayEntry& entry) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    // The first version of the record: its tip field holds 64 bytes, whatever the headers
    // declare, so the tip is bounded by that.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = Handle(entry.window);
    data.uID = entry.iconId;
    data.uFlags = entry.flags;
    data.uCallbackMessage = entry.callbackMessage;
    data.hIcon = entry.iconResourceId != 0 ? TrayIconHandle(entry.iconResourceId) : nullptr;
    static_assert(sizeof data.szTip >= kTrayTipCapacity);
    size_t tipLength = std::min(entry.tip.size(), kTrayTipCapacity - 1);
    std::memcpy(data.szTip, entry.tip.data(), tipLength);
    data.szTip[tipLength] = '\0';
    return NotifyIcon(action, data) != FALSE;
}

struct Worker {
    std::function<void()> work;
    HWND window;
    UINT message;
};

DWORD WINAPI RunWorker(LPVOID parameter) {
    std::unique_ptr<Worker> worker(static_cast<Worker*>(parameter));
    if (worker->work) {
        worker->work();
    }
    PostMessageA(worker->window, worker->message, 0, 0);
    return 0;
}

}  // namespace

WindowRef Win32Shell::FindTopLevelWindow(std::string_view caption) {
    // The system's search compares captions without regard to case; the caption must match
    // exactly, so a window that differs in case only is passed over for the next one.
    const std::string wanted(caption);
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, wanted.c_str())) != nullptr) {
        char text[80];
        const int length = GetWindowTextA(window, text, sizeof text);
        if (length > 0 && std::string_view(text, static_cast<size_t>(length)) == caption) {
            return reinterpret_cast<WindowRef>(window);
        }
    }
    return 0;
}

bool Win32Shell::IsMinimised(WindowRef window) {
    return IsIconic(Handle(window)) != FALSE;
}

void Win32Shell::Restore(WindowRef window) {
    ShowWindow(Handle(window), SW_RESTORE);
}

void Win32Shell::BringToForeground(WindowRef window) {
    SetForegroundWindow(Handle(window));
}

bool Win32Shell::StartProcess(const std::string& applicationPath, const std::string& commandLine) {
    // The system may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    if (!CreateProcessA(applicationPath.empty() ? nullptr : applicationPath.c_str(), line.data(),
                        nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32Shell::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Win32Shell::CurrentDirectory() {
    return ReadSized([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

std::string Win32Shell::EnvironmentVariable(const std::string& name) {
    return ReadSized([&](char* buffer, DWORD size) {
        return GetEnvironmentVariableA(name.c_str(), buffer, size);
    });
}

bool Win32Shell::SetClipboardText(WindowRef window, const std::string& text) {
    if (!OpenClipboard(reinterpret_cast<HWND>(window))) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool placed = false;
    if (memory != nullptr) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it has taken it.
            placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!placed) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return placed;
}

void Win32Shell::Beep(uint32_t frequency, uint32_t durationMs) {
    ::Beep(frequency, durationMs);
}

void Win32Shell::QuitHelpEngine(WindowRef window) {
    WinHelpA(Handle(window), nullptr, HELP_QUIT, 0);
}

bool Win32Shell::TrayAdd(const TrayEntry& entry) {
    return Notify(NIM_ADD, entry);
}

bool Win32Shell::TrayModify(const TrayEntry& entry) {
    return Notify(NIM_MODIFY, entry);
}

bool Win32Shell::TrayDelete(const TrayEntry& entry) {
    return Notify(NIM_DELETE, entry);
}

uint32_t Win32Shell::RegisterTaskbarCreatedMessage() {
    return RegisterWindowMessageA("TaskbarCreated");
}

bool Win32Shell::StartWorker(int priority, std::function<void()> work, WindowRef window,
                             uint32_t message) {
    auto* worker = new Worker{std::move(work), Handle(window), message};
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, &RunWorker, worker, CREATE_SUSPENDED, &threadId);
    if (thread == nullptr) {
        delete worker;
        return false;
    }
    SetThreadPriority(thread, priority);
    ResumeThread(thread);
    CloseHandle(thread);
    return true;
}

}  // namespace vz
