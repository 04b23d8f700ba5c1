// Registering the common controls. The library is loaded here, on the first call, rather than
// imported: a program, or a run, that opens no window holding them never loads it.
#include "ui/win32/win32_ui.h"

#include <commctrl.h>

namespace vz {

void InitCommonControlClasses() {
    static const bool registered = [] {
        using Register = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto entry = reinterpret_cast<Register>(reinterpret_cast<void*>(
            GetProcAddress(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx")));
        if (entry == nullptr) {
            return false;
        }
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;
        return entry(&controls) != FALSE;
    }();
    static_cast<void>(registered);
}

}  // namespace vz
