// Resource ids of the Site Survey & Configuration Tool.
#pragma once

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_SITE_SURVEY 133
#define IDD_DIRECTED_LINK 134
#define IDD_CONFIGURATION 135
#define IDD_MASTER_LIST 142
#define IDD_ERROR 144
#define IDD_CHANGE_DOMAIN 146
#define IDD_SNOOP 147
#define IDD_STATUS 148
#define IDD_HELP 149

// Icons and accelerators
#define IDI_MAIN 128
#define IDR_ACCELERATORS 152

// Strings
#define IDS_ABOUTBOX 101
#define IDS_CHECKING 103
#define IDS_DRIVER_VERSION 104
#define IDS_UNABLE_TO_ACCESS 105
#define IDS_PRODUCT 106
#define IDS_MAIN_CAPTION 107

// Commands
#define IDM_ABOUTBOX 16
#define IDC_HELP_COMMAND 57670

// Main dialog
#define IDC_MAIN_MASTERS 1000
#define IDC_MAIN_SITE_SURVEY 1001
#define IDC_MAIN_REPORT 1002
#define IDC_MAIN_SNOOP 1010
#define IDC_MAIN_CONFIGURATION 1051

// Error, Status, Change Domain and Help dialogs
#define IDC_ERROR_TITLE 1017
#define IDC_ERROR_TEXT 1018
#define IDC_STATUS_TEXT 1028
#define IDC_HELP_LIST 1037
#define IDC_CHANGE_DOMAIN_PROMPT 1135

// Configuration dialog; its accelerator commands are the ids of the controls they stand for
#define IDC_CONFIG_STATION_TYPE 1101
#define IDC_CONFIG_MASTER_NAME 1108
#define IDC_CONFIG_CHANNEL 1110
#define IDC_CONFIG_SUBCHANNEL 1111
#define IDC_CONFIG_DOMAIN 1112
#define IDC_CONFIG_MAC_OPTIMIZE 1113
#define IDC_CONFIG_ROAM_CONFIG 1114
#define IDC_CONFIG_INACTIVITY_SEC 1115
#define IDC_CONFIG_INACTIVITY_MIN 1117

// Master list; Alt+D is the domain list's id
#define IDC_MASTERS_DOMAIN 1130

// Site survey and directed link test

// Snoop
#define IDB_SNOOP_PEAK 129
#define IDB_SNOOP_AVERAGE 130
#define IDC_SNOOP_SLOW 1029
#define IDC_SNOOP_FAST 1030
#define IDC_SNOOP_LOW_LABEL 1031
#define IDC_SNOOP_HIGH_LABEL 1032
#define IDC_SNOOP_GRAPH 1146
#define IDC_SNOOP_MEDIUM 1149
