// Numbers the window system uses for commands, notifications and scroll requests, named for
// dialogs.
#pragma once

#include <cstdint>

namespace vz {

// Command ids the dialog manager itself sends.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Notification codes of OnCommand (the high word of the command message).
inline constexpr int kBnClicked = 0;
inline constexpr int kBnDoubleClicked = 5;
inline constexpr int kCbnSelChange = 1;
inline constexpr int kEnChange = 0x300;
inline constexpr int kEnUpdate = 0x400;
// An accelerator key: its command arrives with this code, kept apart from kCbnSelChange, which
// shares the window system's raw value 1.
inline constexpr int kCodeAccelerator = 0x10000;

// Notification codes of OnNotify (common controls).
inline constexpr int kNmClick = -2;
inline constexpr int kNmDblClk = -3;
inline constexpr int kNmRClick = -5;
inline constexpr int kNmRDblClk = -6;
inline constexpr int kNmSetFocus = -7;
inline constexpr int kNmKillFocus = -8;
inline constexpr int kLvnKeyDown = -155;

// Requests of OnVScroll / OnHScroll; scroll bars and track bars share the numbers.
inline constexpr int kSbLineUp = 0;
inline constexpr int kSbLineDown = 1;
inline constexpr int kSbPageUp = 2;
inline constexpr int kSbPageDown = 3;
inline constexpr int kSbThumbPosition = 4;
inline constexpr int kSbThumbTrack = 5;
inline constexpr int kSbTop = 6;
inline constexpr int kSbBottom = 7;
inline constexpr int kSbEndScroll = 8;

// System commands (OnSysCommand); the low four bits are the system's own.
inline constexpr uint32_t kScSize = 0xF000;
inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kScMaximize = 0xF030;
inline constexpr uint32_t kScClose = 0xF060;
inline constexpr uint32_t kScRestore = 0xF120;

// Private messages start here (OnUser).
inline constexpr uint32_t kWmUser = 0x400;

// Mouse messages a tray entry reports in its callback's lParam, and the range the pumps let in.
inline constexpr uint32_t kWmMouseFirst = 0x200;
inline constexpr uint32_t kWmLButtonDown = 0x201;
inline constexpr uint32_t kWmLButtonDblClk = 0x203;
inline constexpr uint32_t kWmRButtonDown = 0x204;
inline constexpr uint32_t kWmRButtonDblClk = 0x206;
inline constexpr uint32_t kWmMouseLast = 0x209;

inline constexpr int kVkF1 = 0x70;

}  // namespace vz
