// The texts of the string table, shared by the resource script and the code.
#pragma once

#define TEXT_ABOUTBOX "&About Vezurez Status Monitor..."
#define TEXT_PRODUCT "Vezurez"
#define TEXT_PROTOCOL_PRODUCT "Vezurez"
#define TEXT_PROGRAM_NAME "Vezurez Status Monitor"
#define TEXT_TOOL_CAPTION "Vezurez Site Survey & Configuration Tool"
#define TEXT_MONITOR_CAPTION "Vezurez Status Monitor Information"
#define TEXT_TOOL_FILE "zazivev.exe"
