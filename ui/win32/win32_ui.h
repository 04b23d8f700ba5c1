// Starting the Win32 dialog host: the program's resources, common controls and its main dialog.
#pragma once

#include <windows.h>

#include "ui/dialog.h"

namespace vz {

// Once at start-up: names the module whose resources hold the templates, icons and accelerators.
void InitWin32Ui(HINSTANCE instance);
HINSTANCE UiInstance();

// Before the first dialog that holds common controls: loads the library and registers the ones
// the dialogs use (progress bars, track bars, list views); later calls do nothing. A program
// that never calls it never loads the library.
void InitCommonControlClasses();

// Runs `dialog` modally as the program's main window, without an owner; returns its end code,
// -1 when its window could not be created. With an accelerator table id, the table's keys are
// translated, for every dialog of the run, into commands for the window that last made itself
// the accelerator target.
int RunMainDialog(Dialog& dialog, int acceleratorTableId = 0);

// The accelerator target, kept here for the message filter; cleared when that window goes.
void SetAcceleratorTarget(HWND window);
void ForgetAcceleratorTarget(HWND window);

}  // namespace vz
