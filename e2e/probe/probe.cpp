// A small Win32 probe for the end-to-end tests: finds top-level windows by exact caption, reads
// and clicks their controls by id, and posts messages to them. One command per run:
//   probe count CAPTION                    number of top-level windows with that caption
//   probe wait CAPTION MS                  until such a window exists (exit 1 on time-out)
//   probe gone CAPTION MS                  until none exists
//   probe text CAPTION ID                  the control's text
//   probe wait-text CAPTION ID TEXT MS     until the control's text contains TEXT
//   probe enabled CAPTION ID               1 or 0
//   probe visible CAPTION                  1 or 0
//   probe click CAPTION ID                 the command of a button click
//   probe post CAPTION MESSAGE WPARAM LPARAM
//   probe close CAPTION                    the close box
//   probe foreground                       the caption of the foreground window
//   probe watch-text CAPTION ID TEXT MS    like wait-text, polling every 2 ms; prints the wall
//                                          clock (Unix milliseconds) when the text appeared
//   probe watch-visible CAPTION MS         the same for a visible window with that caption
//   probe respond CAPTION MS               sends the window a message; prints how many ms it
//                                          took to answer (exit 1 if not within MS)
//   probe usage CAPTION                    the window's process: "handles N memory KB"
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    const char* caption;
    HWND found;
    int count;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char text[256];
    if (GetWindowTextA(window, text, sizeof text) > 0 && std::strcmp(text, search->caption) == 0) {
        if (search->found == nullptr)
            search->found = window;
        ++search->count;
    }
    return TRUE;
}

Search Find(const char* caption) {
    Search search{caption, nullptr, 0};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search;
}

HWND Require(const char* caption) {
    HWND window = Find(caption).found;
    if (window == nullptr) {
        std::fprintf(stderr, "no window \"%s\"\n", caption);
        std::exit(2);
    }
    return window;
}

std::string ControlText(HWND window, int id) {
    char text[4096] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

// Waits, in steps of 100 ms, until `done` holds or `ms` have passed.
template <typename Done>
int WaitFor(int ms, Done done) {
    for (int waited = 0;; waited += 100) {
        if (done())
            return 0;
        if (waited >= ms)
            return 1;
        Sleep(100);
    }
}

// Wall-clock milliseconds since 1970, comparable with the host's clock under Wine.
long long UnixMilliseconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const long long ticks = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - 116444736000000000LL) / 10000;
}

template <typename Done>
int Watch(int ms, Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > static_cast<DWORD>(ms))
            return 1;
        Sleep(2);
    }
    std::printf("%lld\n", UnixMilliseconds());
    return 0;
}

// The handles a process holds, from the system's handle list (Wine answers the per-process count
// with 0). -1 when the list cannot be read.
long HandleCount(DWORD pid) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(int, PVOID, ULONG, PULONG);
    constexpr int kSystemHandleInformation = 16;
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr)
        return -1;
    std::string buffer(1 << 16, '\0');
    for (;;) {
        ULONG needed = 0;
        const LONG status =
            query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == 0)
            break;
        if (buffer.size() >= (64u << 20))
            return -1;
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
    long held = 0;
    for (ULONG i = 0; i < count && sizeof(void*) + (i + 1) * sizeof(Entry) <= buffer.size(); ++i) {
        if (entries[i].ownerPid == pid)
            ++held;
    }
    return held;
}

int Usage() {
    std::fprintf(stderr, "usage: probe COMMAND ARGUMENTS (see the source's first lines)\n");
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    const char* caption = argc > 2 ? argv[2] : "";
    if (command == "count" && argc == 3) {
        std::printf("%d\n", Find(caption).count);
        return 0;
    }
    if (command == "wait" && argc == 4) {
        return WaitFor(std::atoi(argv[3]), [&] { return Find(caption).found != nullptr; });
    }
    if (command == "gone" && argc == 4) {
        return WaitFor(std::atoi(argv[3]), [&] { return Find(caption).found == nullptr; });
    }
    if (command == "text" && argc == 4) {
        std::printf("%s\n", ControlText(Require(caption), std::atoi(argv[3])).c_str());
        return 0;
    }
    if (command == "wait-text" && argc == 6) {
        const int id = std::atoi(argv[3]);
        std::string last;
        const int result = WaitFor(std::atoi(argv[5]), [&] {
            HWND window = Find(caption).found;
            last = window ? ControlText(window, id) : "(no window)";
            return last.find(argv[4]) != std::string::npos;
        });
        if (result != 0)
            std::fprintf(stderr, "last text: %s\n", last.c_str());
        return result;
    }
    if (command == "enabled" && argc == 4) {
        HWND control = GetDlgItem(Require(caption), std::atoi(argv[3]));
        std::printf("%d\n", control != nullptr && IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (command == "visible" && argc == 3) {
        std::printf("%d\n", IsWindowVisible(Require(caption)) ? 1 : 0);
        return 0;
    }
    if (command == "click" && argc == 4) {
        HWND window = Require(caption);
        const int id = std::atoi(argv[3]);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
        return 0;
    }
    if (command == "post" && argc == 6) {
        PostMessageA(Require(caption), std::strtoul(argv[3], nullptr, 0),
                     std::strtoul(argv[4], nullptr, 0), std::strtol(argv[5], nullptr, 0));
        return 0;
    }
    if (command == "close" && argc == 3) {
        PostMessageA(Require(caption), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (command == "watch-text" && argc == 6) {
        const int id = std::atoi(argv[3]);
        return Watch(std::atoi(argv[5]), [&] {
            HWND window = Find(caption).found;
            return window && ControlText(window, id).find(argv[4]) != std::string::npos;
        });
    }
    if (command == "watch-visible" && argc == 4) {
        return Watch(std::atoi(argv[3]), [&] {
            HWND window = Find(caption).found;
            return window && IsWindowVisible(window);
        });
    }
    // The soak's checks: a window that answers, and what its process holds.
    if (command == "respond" && argc == 4) {
        const DWORD start = GetTickCount();
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(Require(caption), WM_NULL, 0, 0, SMTO_NORMAL,
                                 std::strtoul(argv[3], nullptr, 0), &answer))
            return 1;
        std::printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
        return 0;
    }
    if (command == "usage" && argc == 3) {
        DWORD pid = 0;
        GetWindowThreadProcessId(Require(caption), &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (process == nullptr || !GetProcessMemoryInfo(process, &memory, sizeof memory))
            return 1;
        CloseHandle(process);
        std::printf("handles %ld memory %lu\n", HandleCount(pid),
                    static_cast<unsigned long>(memory.WorkingSetSize / 1024));
        return 0;
    }
    if (command == "foreground" && argc == 2) {
        char text[256] = "";
        GetWindowTextA(GetForegroundWindow(), text, sizeof text);
        std::printf("%s\n", text);
        return 0;
    }
    return Usage();
}
