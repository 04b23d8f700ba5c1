// AdapterSettings: writing the record back to the adapter's key (Save and SaveDomain).
#include <algorithm>
#include <cstring>
#include <string>

#include "settings/adapter_settings.h"
#include "settings/registry_value.h"

namespace vz {

namespace {

constexpr uint32_t kCompanionAccess = kKeyWrite | kKeyQueryValue;

// The sizes the driver's installer gave these texts; a longer number still gets its NUL.
uint32_t TextSizeOf(const char* name) {
    for (const char* wide : {"Channel", "Subchannel", "Inactivity_Sec", "Inactivity_Min"}) {
        if (std::strcmp(name, wide) == 0) {
            return 5;
        }
    }
    return 4;
}

// Decimal text in a zero-filled buffer; returns the data size with at least one NUL.
uint32_t StoreText(int value, uint32_t minimumSize, uint8_t (&out)[16]) {
    std::fill(std::begin(out), std::end(out), uint8_t{0});
    std::string text = std::to_string(value);
    std::memcpy(out, text.data(), text.size());
    return std::max<uint32_t>(minimumSize, static_cast<uint32_t>(text.size()) + 1);
}

std::string CompanionPath(const char* name) {
    return std::string("Ndi\\params\\") + name;
}

}  // namespace

void AdapterSettings::Save() {
    if (!FindFromSystem(AdapterValueName(), kSaveAccess, SettingsReader::kTool)) {
        return;
    }
    WriteNumber("Station_Type", Station_Type);
    if (StationIsNotStation) {
        WriteMasterName();
        WriteNumber("Channel", Channel);
        WriteNumber("Subchannel", Subchannel);
        WriteNumber("Mac_Optimize", Mac_Optimize);
    }
    WriteNumber("Domain", Domain);
    WriteNumber("Roam_Config", Roam_Config);
    WriteNumber("Inactivity_Sec", Inactivity_Sec);
    WriteNumber("Inactivity_Min", Inactivity_Min);
    WriteNumber("Peer_to_Peer", Peer_to_Peer ? 1 : 0);
}

// The domain goes to the adapter key Load reads it from. (A walk for a key holding "Route"
// would, on NT, take the first such key anywhere once the markers are set, commonly another
// service's Linkage key, and the user's choice would never reach the card's own key.)
void AdapterSettings::SaveDomain(int domain) {
    Domain = domain;
    bool windows95 = UsesWindows95Layout();
    if (!FindFromSystem(AdapterValueName(), kSaveDomainAccess, SettingsReader::kTool)) {
        return;
    }
    uint8_t data[16];
    if (windows95) {
        uint32_t size = StoreText(domain, 0, data);
        registry_.SetValue(adapterKey_, "Domain", kRegSz, data, size);
    } else {
        StoreDword(static_cast<uint32_t>(domain), data);
        registry_.SetValue(adapterKey_, "Domain", kRegDword, data, 4);
    }
}

// A number keeps the type it already has, whatever its length; a new one takes the type the
// family's driver reads.
void AdapterSettings::WriteNumber(const char* name, int value) {
    uint32_t type = UsesWindows95Layout() ? kRegSz : kRegDword;
    uint32_t existingType = kRegNone;
    uint32_t existingSize = 0;
    if (registry_.QueryValue(adapterKey_, name, &existingType, nullptr, &existingSize) ==
        kRegistryOk) {
        type = existingType;
    }
    uint8_t data[16];
    uint32_t size = 0;
    if (type == kRegSz) {
        size = StoreText(value, TextSizeOf(name), data);
    } else if (type == kRegDword) {
        StoreDword(static_cast<uint32_t>(value), data);
        size = 4;
    } else {
        // How another type encodes the number is unknown; zeros would only destroy it.
        return;
    }
    if (registry_.SetValue(adapterKey_, name, type, data, size) == kRegistryOk &&
        UsesWindows95Layout()) {
        UpdateCompanion(name, value, size);
    }
}

void AdapterSettings::WriteMasterName() {
    std::string name = Master_Name.substr(0, kMasterNameMaxLength);
    const auto* data = reinterpret_cast<const uint8_t*>(name.c_str());
    uint32_t size = static_cast<uint32_t>(name.size()) + 1;
    if (registry_.SetValue(adapterKey_, "Master_Name", kRegSz, data, size) != kRegistryOk ||
        !UsesWindows95Layout()) {
        return;
    }
    RegistryKey companion = kNoRegistryKey;
    if (registry_.OpenKey(adapterKey_, CompanionPath("Master_Name").c_str(), kCompanionAccess,
                          &companion) == kRegistryOk) {
        registry_.SetValue(companion, "", kRegSz, data, size);
        registry_.CloseKey(companion);
    }
}

// The companion keeps its type and, where the number fits, its size; a text companion too
// short for the new number grows to hold it whole rather than keep a cut, unterminated number.
void AdapterSettings::UpdateCompanion(const char* name, int value, uint32_t writtenSize) {
    RegistryKey companion = kNoRegistryKey;
    if (registry_.OpenKey(adapterKey_, CompanionPath(name).c_str(), kCompanionAccess, &companion) !=
        kRegistryOk) {
        return;
    }
    StoredValue current = ReadValue(registry_, companion, "", writtenSize);
    uint8_t data[16];
    if (current.state == ValueState::kPresent && current.type == kRegSz) {
        registry_.SetValue(companion, "", kRegSz, data, StoreText(value, current.size, data));
    } else if (current.state == ValueState::kPresent && current.Dword()) {
        StoreDword(static_cast<uint32_t>(value), data);
        registry_.SetValue(companion, "", kRegDword, data, 4);
    }
    registry_.CloseKey(companion);
}

}  // namespace vz
