// The texts of the string table, shared by the resource script and the code.
#pragma once

#define TEXT_ABOUTBOX "&About Vezurez Site Survey & Configuration Tool..."
#define TEXT_CHECKING "Checking for Vezurez driver..."
#define TEXT_DRIVER_VERSION "Vezurez driver version"
#define TEXT_UNABLE_TO_ACCESS "Unable to access Vezurez driver"
#define TEXT_PRODUCT "Vezurez"
#define TEXT_MAIN_CAPTION "Vezurez Site Survey & Configuration Tool"
