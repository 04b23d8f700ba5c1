// The clock seam on Windows.
#include "platform/win32/clock_win32.h"

#include <windows.h>

namespace vz {

Win32Clock::Win32Clock() : start_(GetTickCount()) {}

uint32_t Win32Clock::NowMs() {
    return GetTickCount() - start_;
}

void Win32Clock::YieldTimeSlice() {
    Sleep(0);
}

void Win32Clock::SleepMs(uint32_t ms) {
    Sleep(ms);
}

}  // namespace vz
