// The device I/O seam on Windows: version record, CreateFile, DefineDosDevice, DeviceIoControl.
#include "platform/win32/device_io_win32.h"

#include <windows.h>
// The seam's method shares the name of the system's A/W macro.
#undef DefineDosDevice

namespace vz {

SystemVersion Win32DeviceIo::GetSystemVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    SystemVersion version;
    if (GetVersionExA(&info)) {
        version.platformId = info.dwPlatformId;
        version.majorVersion = info.dwMajorVersion;
    }
    return version;
}

DeviceHandle Win32DeviceIo::OpenDevice(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? kInvalidDeviceHandle : reinterpret_cast<DeviceHandle>(h);
}

void Win32DeviceIo::CloseDevice(DeviceHandle handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool Win32DeviceIo::DefineDosDevice(uint32_t flags, const char* name, const char* target) {
    return ::DefineDosDeviceA(flags, name, target) != FALSE;
}

IoControlResult Win32DeviceIo::IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                                         uint32_t inSize, uint8_t* out, uint32_t outSize) {
    DWORD returned = 0;
    IoControlResult result;
    result.succeeded =
        DeviceIoControl(reinterpret_cast<HANDLE>(handle), code, const_cast<uint8_t*>(in), inSize,
                        out, outSize, &returned, nullptr) != FALSE;
    if (!result.succeeded) {
        result.lastError = GetLastError();
    }
    return result;
}

}  // namespace vz
