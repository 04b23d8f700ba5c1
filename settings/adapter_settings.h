// AdapterSettings: the card's configuration as the driver keeps it in the registry, with the
// walk that finds the adapter's key on either Windows family.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "platform/system_version.h"

namespace vz {

// The card's field for a Master name holds 11 characters and a NUL.
constexpr size_t kMasterNameMaxLength = 11;

// Whose reader loads the record: the configuration tool's, or the status monitor's simpler one
// (any "DeviceVxDs" below System, decimal text only, the walk ends at the first key that
// cannot be listed or opened).
enum class SettingsReader { kTool, kMonitor };

// Access the walk and the writes need; the walk also reads counts and values on the way.
constexpr uint32_t kSaveAccess = 0x2000F;  // query, set value, create sub-key, enumerate
constexpr uint32_t kSaveDomainAccess = kKeyQueryValue | kKeySetValue | kKeyEnumerateSubKeys;

struct WalkMarkers {
    bool controlSet = false;  // a "CurrentControlSet" key was entered
    bool service = false;     // a key beginning with "davuziro" was entered
    bool parameters = false;  // "Parameters" after the service marker, or a "MASTER" value
    // The card's own service key was reached: the first "davuziro..." key below a control set
    // whose "Parameters" key the tool's walk on NT entered. Only keys in its subtree qualify.
    bool cardService = false;
};

class AdapterSettings {
  public:
    AdapterSettings(Registry& registry, SystemVersion version);
    ~AdapterSettings();
    AdapterSettings(const AdapterSettings&) = delete;
    AdapterSettings& operator=(const AdapterSettings&) = delete;

    // Every failure is silent: what cannot be read keeps its value (or its noted default).
    void Load(SettingsReader reader = SettingsReader::kTool);
    void Save();
    void SaveDomain(int domain);

    // Walks depth first from `key`, which the caller keeps owning. On success the adapter key
    // is the key found (a key the walk opened, or `key` itself) and, outside the Windows 95
    // family, `valueName` has become "Master_Name". Keys the walk opened and left are closed.
    // The tool's walk on NT takes only a key inside the card's own service key, so the store
    // never reads another service's values or writes into its key.
    bool FindAdapterKey(RegistryKey key, std::string& valueName, uint32_t access,
                        SettingsReader reader = SettingsReader::kTool);

    RegistryKey AdapterKey() const { return adapterKey_; }

    WalkMarkers markers;  // cleared by the caller before a walk, never during it

    int Mac_Optimize = 2;
    int StationIsNotStation = 0;
    int Station_Type = 0;
    int IsPcCard = 0;
    std::string Master_Name = "MASTER";  // at most kMasterNameMaxLength characters
    int Channel = 1;
    int Subchannel = 1;
    int Domain = 1;
    int Roam_Config = 1;
    int Inactivity_Sec = 6;
    int Inactivity_Min = 0;
    int Peer_to_Peer = 1;

  private:
    // `place` says whether `key` is a service key of the card's driver, or lies inside the
    // card's own service key.
    enum class Place { kOther, kServiceKey, kInsideCardService };
    bool Walk(RegistryKey key, Place place, std::string& valueName, uint32_t access,
              SettingsReader reader, bool& abandoned);
    bool IsAdapterKey(RegistryKey key, Place place, std::string& valueName, SettingsReader reader);
    void SetMarkersFrom(const char* keyName);
    bool UsesWindows95Layout() const;
    // "DeviceVxDs" on the Windows 95 family, "Master_Name" otherwise.
    const char* AdapterValueName() const;
    void ReplaceAdapterKey(RegistryKey key);
    // Opens System with `access` and walks it; false leaves nothing new open.
    bool FindFromSystem(const char* valueName, uint32_t access, SettingsReader reader);

    void ReadValues(SettingsReader reader);
    void WriteNumber(const char* name, int value);
    void WriteMasterName();
    void UpdateCompanion(const char* name, int value, uint32_t writtenSize);

    Registry& registry_;
    SystemVersion version_;
    RegistryKey adapterKey_ = kNoRegistryKey;
};

}  // namespace vz
