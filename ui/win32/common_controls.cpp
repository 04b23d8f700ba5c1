// Registering the common controls, in an object of its own: a program that never calls it does
// not import the library at all.
#include "ui/win32/win32_ui.h"

#include <commctrl.h>

namespace vz {

void InitCommonControlClasses() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

}  // namespace vz
