// FindAdapterKey: the depth-first walk below System that finds the adapter's registry key.
#include <cstring>

#include "settings/adapter_settings.h"
#include "settings/registry_value.h"

namespace vz {

namespace {

// Key names are at most 255 characters on every Windows; a longer one fails to enumerate.
constexpr uint32_t kKeyNameCapacity = 256;

// The card's driver names its service keys "davuziro", "davuziro1", ...
bool IsServiceName(const char* keyName) {
    return std::strncmp(keyName, "davuziro", 8) == 0;
}

}  // namespace

bool AdapterSettings::FindAdapterKey(RegistryKey key, std::string& valueName, uint32_t access,
                                     SettingsReader reader) {
    bool abandoned = false;
    return Walk(key, Place::kOther, valueName, access, reader, abandoned);
}

bool AdapterSettings::Walk(RegistryKey key, Place place, std::string& valueName, uint32_t access,
                           SettingsReader reader, bool& abandoned) {
    RegistryKeyInfo info;
    if (registry_.QueryInfoKey(key, &info) != kRegistryOk) {
        ReplaceAdapterKey(kNoRegistryKey);
        return false;
    }
    if (info.valueCount > 0 && IsAdapterKey(key, place, valueName, reader)) {
        ReplaceAdapterKey(key);
        return true;
    }
    // The monitor's reader gives up on the whole walk at the first key it cannot reach; the
    // tool's skips a key it cannot open and leaves a key it cannot list.
    bool tool = reader == SettingsReader::kTool;
    bool guarded = tool && !UsesWindows95Layout();
    Place childPlace = place == Place::kInsideCardService ? place : Place::kOther;
    char name[kKeyNameCapacity];
    for (uint32_t index = 0; index < info.subkeyCount; ++index) {
        if (registry_.EnumKey(key, index, name, sizeof name) != kRegistryOk) {
            abandoned = !tool;
            return false;
        }
        name[sizeof name - 1] = '\0';
        if (tool) {
            SetMarkersFrom(name);
        }
        // The card's service key is its driver's service key holding the Parameters key the
        // walk enters first below a control set; from there on its keys are the card's.
        if (guarded && place == Place::kServiceKey && markers.controlSet && !markers.cardService &&
            std::strcmp(name, "Parameters") == 0) {
            markers.cardService = true;
            childPlace = Place::kInsideCardService;
        }
        RegistryKey subkey = kNoRegistryKey;
        if (registry_.OpenKey(key, name, access, &subkey) != kRegistryOk) {
            if (tool) {
                continue;
            }
            abandoned = true;
            return false;
        }
        Place subkeyPlace = childPlace;
        if (subkeyPlace == Place::kOther && IsServiceName(name)) {
            subkeyPlace = Place::kServiceKey;
        }
        bool found = Walk(subkey, subkeyPlace, valueName, access, reader, abandoned);
        if (subkey != adapterKey_) {
            registry_.CloseKey(subkey);
        }
        if (found || abandoned) {
            return found;
        }
    }
    return false;
}

bool AdapterSettings::IsAdapterKey(RegistryKey key, Place place, std::string& valueName,
                                   SettingsReader reader) {
    StoredValue value = ReadValue(registry_, key, valueName.c_str(), kMaxValueCapacity);
    if (value.state != ValueState::kPresent) {
        return false;
    }
    bool tool = reader == SettingsReader::kTool;
    if (tool && !markers.controlSet) {
        return false;
    }
    if (UsesWindows95Layout()) {
        return value.Text() == "ridede95.sys";
    }
    if (markers.parameters) {
        if (tool && place != Place::kInsideCardService) {
            return false;
        }
        valueName = "Master_Name";
        return true;
    }
    if (value.Text().find("MASTER") != std::string::npos) {
        markers.parameters = true;
        valueName = "Master_Name";
    }
    return false;
}

void AdapterSettings::SetMarkersFrom(const char* keyName) {
    if (std::strcmp(keyName, "CurrentControlSet") == 0) {
        markers.controlSet = true;
    }
    if (IsServiceName(keyName)) {
        markers.service = true;
    }
    if (markers.service && std::strcmp(keyName, "Parameters") == 0) {
        markers.parameters = true;
    }
}

}  // namespace vz
