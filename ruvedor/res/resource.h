// Resource ids of the Status Monitor.
#pragma once

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_MONITOR 102
#define IDD_MONITOR_ERROR 138

// Icons: the application's, the four tray pictures and the About box's
#define IDI_MONITOR 128
#define IDI_LINK_LIT 129
#define IDI_OUT_OF_RANGE 130
#define IDI_UTILITY_RUNNING 133
#define IDI_ABOUT 136
#define IDI_LINK_DARK 137

// Strings
#define IDS_ABOUTBOX 101
#define IDS_PRODUCT 102
#define IDS_PROTOCOL_PRODUCT 103
#define IDS_PROGRAM_NAME 104
#define IDS_TOOL_CAPTION 105
#define IDS_MONITOR_CAPTION 106
#define IDS_TOOL_FILE 107

// Commands
#define IDM_ABOUTBOX 16

// Information window and error box
#define IDC_MONITOR_HIDE 1000
#define IDC_MONITOR_INFORMATION 1001
#define IDC_MONITOR_ERROR_TEXT 1004
