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
//   probe style CAPTION ID                 the control's window style, in hexadecimal
//   probe progress CAPTION ID              a progress bar's position
//   probe slide CAPTION ID POS             moves a track bar to POS as the user's drag ends
//   probe press CAPTION ID                 clicks a button as the mouse does (a check box toggles)
//   probe list-view CAPTION ID             a list view's headings with their widths ("Name:99"),
//                                          then one line per row; columns joined by '|'
//   probe click-row CAPTION ID ROW [double]  a left click (or double click) on a list view's row;
//                                          a row past the last clicks the empty space below
//   probe watch-rows CAPTION ID N MS       like watch-text, until the list view has N rows
//   probe pick CAPTION ID INDEX            a drop-down list's item chosen, as by the user
//   probe rect CAPTION ID                  the control's client area on the screen: L T R B
//   probe respond CAPTION MS               sends the window a message; prints how many ms it
//                                          took to answer (exit 1 if not within MS)
//   probe usage CAPTION                    the window's process: "handles N memory KB"
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cctype>
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
        if (search->found == nullptr) {
            search->found = window;
        }
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
        if (done()) {
            return 0;
        }
        if (waited >= ms) {
            return 1;
        }
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
        if (GetTickCount() - start > static_cast<DWORD>(ms)) {
            return 1;
        }
        Sleep(2);
    }
    std::printf("%lld\n", UnixMilliseconds());
    return 0;
}

// --- List views of another process: the items and texts they fill in must live in that
// process, so each request goes through a block allocated there.
class RemoteBlock {
  public:
    RemoteBlock(HWND window, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_ != nullptr) {
            address_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        }
    }
    ~RemoteBlock() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    bool Ok() const { return address_ != nullptr; }
    char* At(size_t offset) const { return address_ + offset; }
    void Write(size_t offset, const void* data, size_t size) {
        WriteProcessMemory(process_, address_ + offset, data, size, nullptr);
    }
    void Read(size_t offset, void* data, size_t size) {
        ReadProcessMemory(process_, address_ + offset, data, size, nullptr);
    }

  private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
};

constexpr size_t kRemoteText = 512;  // where texts land, after the item or column record

std::string ListViewText(HWND view, RemoteBlock& block, UINT message, WPARAM index, bool column,
                         int subItem) {
    char text[kRemoteText] = "";
    if (column) {
        LVCOLUMNA record{};
        record.mask = LVCF_TEXT;
        record.pszText = block.At(kRemoteText);
        record.cchTextMax = kRemoteText - 1;
        block.Write(0, &record, sizeof record);
    } else {
        LVITEMA record{};
        record.iSubItem = subItem;
        record.pszText = block.At(kRemoteText);
        record.cchTextMax = kRemoteText - 1;
        block.Write(0, &record, sizeof record);
    }
    block.Write(kRemoteText, text, 1);
    SendMessageA(view, message, index, reinterpret_cast<LPARAM>(block.At(0)));
    block.Read(kRemoteText, text, kRemoteText - 1);
    return text;
}

int PrintListView(HWND view) {
    RemoteBlock block(view, 2 * kRemoteText);
    if (!block.Ok()) {
        return 2;
    }
    const HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
        std::printf("%s%s:%d", column ? "|" : "",
                    ListViewText(view, block, LVM_GETCOLUMNA, column, true, 0).c_str(),
                    static_cast<int>(SendMessageA(view, LVM_GETCOLUMNWIDTH, column, 0)));
    }
    std::printf("\n");
    const int rows = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::printf("%s%s", column ? "|" : "",
                        ListViewText(view, block, LVM_GETITEMTEXTA, row, false, column).c_str());
        }
        std::printf("\n");
    }
    return 0;
}

// Clicks the middle of the row's first column, or below the last row, as the mouse would.
int ClickRow(HWND view, int row, bool twice) {
    RemoteBlock block(view, sizeof(RECT));
    if (!block.Ok()) {
        return 2;
    }
    const int rows = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
    RECT rect{LVIR_LABEL, 0, 0, 0};
    block.Write(0, &rect, sizeof rect);
    SendMessageA(view, LVM_GETITEMRECT, row < rows ? row : 0,
                 reinterpret_cast<LPARAM>(block.At(0)));
    block.Read(0, &rect, sizeof rect);
    const int height = rect.bottom - rect.top;
    const int y = (rect.top + rect.bottom) / 2 + (row < rows ? 0 : height * (rows + 1));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, y);
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(view, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(view, WM_LBUTTONUP, 0, at);
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: probe COMMAND ARGUMENTS (see the source's first lines)\n");
    return 64;
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
    if (query == nullptr) {
        return -1;
    }
    std::string buffer(1 << 16, '\0');
    for (;;) {
        ULONG needed = 0;
        const LONG status =
            query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == 0) {
            break;
        }
        if (buffer.size() >= (64u << 20)) {
            return -1;
        }
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
    long held = 0;
    for (ULONG i = 0; i < count && sizeof(void*) + (i + 1) * sizeof(Entry) <= buffer.size(); ++i) {
        if (entries[i].ownerPid == pid) {
            ++held;
        }
    }
    return held;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
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
        if (result != 0) {
            std::fprintf(stderr, "last text: %s\n", last.c_str());
        }
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
    if (command == "style" && argc == 4) {
        HWND control = GetDlgItem(Require(caption), std::atoi(argv[3]));
        std::printf("0x%lx\n", control != nullptr ? GetWindowLongA(control, GWL_STYLE) : 0L);
        return 0;
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
        if (process == nullptr || !GetProcessMemoryInfo(process, &memory, sizeof memory)) {
            return 1;
        }
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
    // --- Combo boxes, check boxes, typing and static texts (the Configuration dialogs).
    //   probe enabled-ids CAPTION ID...        1 or 0 for each control, on one line
    //   probe shown CAPTION ID                 1 when the control is visible, else 0
    //   probe checked CAPTION ID               the check box's state, 1 or 0
    //   probe combo CAPTION ID                 the selected item's text (empty line: none), then
    //                                          the items, one per line
    //   probe select CAPTION ID TEXT           picks the item TEXT as the user would
    //   probe type CAPTION ID TEXT             types TEXT into the control, key by key
    //   probe statics CAPTION                  each static text, line breaks shown as \n
    if (command == "enabled-ids" && argc >= 4) {
        HWND window = Require(caption);
        for (int i = 3; i < argc; ++i) {
            HWND control = GetDlgItem(window, std::atoi(argv[i]));
            std::printf(i > 3 ? " %d" : "%d",
                        control != nullptr && IsWindowEnabled(control) ? 1 : 0);
        }
        std::printf("\n");
        return 0;
    }
    if (command == "shown" && argc == 4) {
        HWND control = GetDlgItem(Require(caption), std::atoi(argv[3]));
        std::printf("%d\n", control != nullptr && IsWindowVisible(control) ? 1 : 0);
        return 0;
    }
    if (command == "checked" && argc == 4) {
        std::printf("%d\n",
                    IsDlgButtonChecked(Require(caption), std::atoi(argv[3])) == BST_CHECKED);
        return 0;
    }
    if ((command == "combo" && argc == 4) || (command == "select" && argc == 5)) {
        HWND window = Require(caption);
        const int id = std::atoi(argv[3]);
        HWND combo = GetDlgItem(window, id);
        const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        const int selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
        std::string items;
        std::string selectedText;
        int wanted = -1;
        for (int i = 0; i < count; ++i) {
            // Wine hands item texts across processes reliably only in the wide form.
            wchar_t wide[256] = L"";
            char text[256] = "";
            if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 255) {
                SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
                WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
            }
            items += std::string(text) + "\n";
            if (i == selected) {
                selectedText = text;
            }
            if (command == "select" && wanted < 0 && std::strcmp(text, argv[4]) == 0) {
                wanted = i;
            }
        }
        if (command == "combo") {
            std::printf("%s\n%s", selectedText.c_str(), items.c_str());
            return 0;
        }
        if (wanted < 0 || !IsWindowEnabled(combo)) {
            std::fprintf(stderr, "no item \"%s\" to pick\n", argv[4]);
            return 1;
        }
        SendMessageA(combo, CB_SETCURSEL, wanted, 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        return 0;
    }
    if (command == "type" && argc == 5) {
        HWND control = GetDlgItem(Require(caption), std::atoi(argv[3]));
        for (const char* c = argv[4]; *c != '\0'; ++c) {
            PostMessageA(control, WM_CHAR, static_cast<unsigned char>(*c), 1);
        }
        return 0;
    }
    //   probe alt-key LETTER                   Alt+LETTER as keyboard input to the foreground
    //                                          window
    //   probe focus CAPTION                    the id of the control holding the keyboard focus
    if (command == "alt-key" && argc == 3) {
        const WORD keys[] = {VK_MENU, static_cast<WORD>(std::toupper(argv[2][0]))};
        INPUT input[4] = {};
        for (int i = 0; i < 4; ++i) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki.wVk = keys[i < 2 ? i : 3 - i];
            input[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
        }
        return SendInput(4, input, sizeof(INPUT)) == 4 ? 0 : 1;
    }
    if (command == "focus" && argc == 3) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(Require(caption), nullptr), &info);
        std::printf("%d\n", info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0);
        return 0;
    }
    if (command == "statics" && argc == 3) {
        for (HWND child = GetWindow(Require(caption), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char kind[16] = "";
            GetClassNameA(child, kind, sizeof kind);
            if (lstrcmpiA(kind, "Static") != 0) {
                continue;
            }
            char text[1024] = "";
            GetWindowTextA(child, text, sizeof text);
            std::string shown;
            for (const char* c = text; *c != '\0'; ++c) {
                shown += *c == '\n' ? std::string("\\n") : std::string(1, *c);
            }
            std::printf("%s\n", shown.c_str());
        }
        return 0;
    }
    // --- The site survey and the link test: bars, the packet slider, clicks as the mouse does.
    if (command == "progress" && argc == 4) {
        HWND control = GetDlgItem(Require(caption), std::atoi(argv[3]));
        std::printf("%d\n", static_cast<int>(SendMessageA(control, PBM_GETPOS, 0, 0)));
        return 0;
    }
    if (command == "slide" && argc == 5) {
        HWND window = Require(caption);
        HWND control = GetDlgItem(window, std::atoi(argv[3]));
        const int pos = std::atoi(argv[4]);
        SendMessageA(control, TBM_SETPOS, TRUE, pos);
        PostMessageA(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos),
                     reinterpret_cast<LPARAM>(control));
        return 0;
    }
    // --- List views (the Master list and the site survey).
    if (command == "list-view" && argc == 4) {
        return PrintListView(GetDlgItem(Require(caption), std::atoi(argv[3])));
    }
    if (command == "click-row" && (argc == 5 || argc == 6)) {
        const bool twice = argc == 6 && std::strcmp(argv[5], "double") == 0;
        return ClickRow(GetDlgItem(Require(caption), std::atoi(argv[3])), std::atoi(argv[4]),
                        twice);
    }
    if (command == "watch-rows" && argc == 6) {
        const int id = std::atoi(argv[3]);
        const int rows = std::atoi(argv[4]);
        return Watch(std::atoi(argv[5]), [&] {
            HWND window = Find(caption).found;
            return window && SendMessageA(GetDlgItem(window, id), LVM_GETITEMCOUNT, 0, 0) >= rows;
        });
    }
    if (command == "press" && argc == 4) {
        PostMessageA(GetDlgItem(Require(caption), std::atoi(argv[3])), BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "pick" && argc == 5) {
        HWND window = Require(caption);
        const int id = std::atoi(argv[3]);
        HWND combo = GetDlgItem(window, id);
        SendMessageA(combo, CB_SETCURSEL, std::atoi(argv[4]), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        return 0;
    }
    if (command == "rect" && argc == 4) {
        HWND control = GetDlgItem(Require(caption), std::atoi(argv[3]));
        RECT client{};
        GetClientRect(control, &client);
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::printf("%ld %ld %ld %ld\n", client.left, client.top, client.right, client.bottom);
        return 0;
    }
    return Usage();
}
