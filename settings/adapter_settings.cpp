// AdapterSettings: the record's lifetime, the adapter key it holds, and loading it.
#include "settings/adapter_settings.h"

#include "settings/registry_value.h"

namespace vz {

namespace {

// Numbers come as short decimal text or a DWORD; the tool itself stores texts of 5 bytes.
constexpr uint32_t kNumberCapacity = 16;

}  // namespace

AdapterSettings::AdapterSettings(Registry& registry, SystemVersion version)
    : registry_(registry), version_(version) {}

// The adapter key found last is held for later writes until the record goes.
AdapterSettings::~AdapterSettings() {
    ReplaceAdapterKey(kNoRegistryKey);
}

bool AdapterSettings::UsesWindows95Layout() const {
    return version_.IsWindows95Family() && version_.majorVersion >= 4;
}

const char* AdapterSettings::AdapterValueName() const {
    return UsesWindows95Layout() ? "DeviceVxDs" : "Master_Name";
}

void AdapterSettings::ReplaceAdapterKey(RegistryKey key) {
    if (adapterKey_ != kNoRegistryKey && adapterKey_ != key) {
        registry_.CloseKey(adapterKey_);
    }
    adapterKey_ = key;
}

bool AdapterSettings::FindFromSystem(const char* valueName, uint32_t access,
                                     SettingsReader reader) {
    RegistryKey system = kNoRegistryKey;
    if (registry_.OpenKey(kRegistryLocalMachine, "System", access, &system) != kRegistryOk) {
        return false;
    }
    std::string name = valueName;
    markers = WalkMarkers{};
    bool found = FindAdapterKey(system, name, access, reader);
    if (system != adapterKey_) {
        registry_.CloseKey(system);
    }
    return found;
}

void AdapterSettings::Load(SettingsReader reader) {
    const char* valueName = reader == SettingsReader::kMonitor ? "DeviceVxDs" : AdapterValueName();
    if (FindFromSystem(valueName, kKeyRead, reader)) {
        ReadValues(reader);
    }
}

void AdapterSettings::ReadValues(SettingsReader reader) {
    bool tool = reader == SettingsReader::kTool;
    bool missing = false;
    // A number the reader cannot take (wrong type or size, too long, no digits) is skipped.
    auto number = [&](const char* name) -> std::optional<int32_t> {
        StoredValue value = ReadValue(registry_, adapterKey_, name, kNumberCapacity);
        missing = value.state == ValueState::kMissing;
        if (value.state != ValueState::kPresent) {
            return std::nullopt;
        }
        if (value.type == kRegSz) {
            return ParseDecimal(value.Text());
        }
        std::optional<uint32_t> dword = value.Dword();
        if (tool && dword) {
            return static_cast<int32_t>(*dword);
        }
        return std::nullopt;
    };

    StoredValue cardType = ReadValue(registry_, adapterKey_, "CardType", kMaxValueCapacity);
    if (cardType.state == ValueState::kMissing) {
        IsPcCard = tool ? 0 : IsPcCard;
    } else if (cardType.type == kRegSz && cardType.state == ValueState::kPresent) {
        std::string text = cardType.Text();
        IsPcCard = text == "PCMCIA" || (tool && text == "2");
    } else if (tool && cardType.Dword()) {
        IsPcCard = *cardType.Dword() != 0;
    }

    std::optional<int32_t> stationType = number("Station_Type");
    if (missing) {
        Station_Type = 0;
        StationIsNotStation = 0;
    } else if (stationType) {
        Station_Type = *stationType;
        StationIsNotStation = *stationType != 0;
    }

    StoredValue masterName = ReadValue(registry_, adapterKey_, "Master_Name", kMaxValueCapacity);
    if (masterName.state == ValueState::kPresent && masterName.type == kRegSz) {
        Master_Name = masterName.Text().substr(0, kMasterNameMaxLength);
    }

    const std::pair<const char*, int*> plainNumbers[] = {
        {"Channel", &Channel},           {"Subchannel", &Subchannel},   {"Domain", &Domain},
        {"Mac_Optimize", &Mac_Optimize}, {"Roam_Config", &Roam_Config},
    };
    for (const auto& [name, field] : plainNumbers) {
        if (std::optional<int32_t> value = number(name)) {
            *field = *value;
        }
    }

    // The monitor only cares for the time-out of a PC card, and has no minutes default.
    if (tool || IsPcCard) {
        std::optional<int32_t> seconds = number("Inactivity_Sec");
        if (missing) {
            Inactivity_Sec = tool ? 0 : 6;
        } else if (seconds) {
            Inactivity_Sec = *seconds;
        }
        std::optional<int32_t> minutes = number("Inactivity_Min");
        if (missing && tool) {
            Inactivity_Min = 0;
        } else if (minutes) {
            Inactivity_Min = *minutes;
        }
    }

    if (std::optional<int32_t> peerToPeer = number("Peer_to_Peer")) {
        Peer_to_Peer = *peerToPeer != 0;
    }
}

}  // namespace vz
