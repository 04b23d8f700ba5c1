// Fuzz target: both readers' Load over a registry tree built from the fuzzer's bytes (key names
// and nesting, value names, types and sizes, keys that fail to open, list or count). Every key
// the walk opens must be closed again and the Master name must stay within its bound.
#include <cstdlib>
#include <iterator>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/fake/memory_registry.h"
#include "settings/adapter_settings.h"

namespace vz {
namespace {

// Names the walk and the readers look for, so the fuzzer reaches the deep paths.
constexpr const char* kKeyNames[] = {"System",
                                     "CurrentControlSet",
                                     "ControlSet001",
                                     "Services",
                                     "davuziro",
                                     "davuziro1",
                                     "Parameters",
                                     "Class",
                                     "Net",
                                     "0000",
                                     "Enum",
                                     "PCMCIA",
                                     "Ndi"};
constexpr const char* kValueNames[] = {"Master_Name",    "Channel",
                                       "Subchannel",     "Domain",
                                       "Station_Type",   "Mac_Optimize",
                                       "Roam_Config",    "Inactivity_Sec",
                                       "Inactivity_Min", "Peer_to_Peer",
                                       "CardType",       "DeviceVxDs",
                                       "MASTER",         ""};
constexpr uint32_t kMaxValueSize = 300;

std::string Name(FuzzInput& input, const char* const* names, size_t count) {
    const size_t pick = input.Pick(count + 1);
    return pick < count ? names[pick] : input.Text(40);
}

std::string KeyPath(FuzzInput& input) {
    std::string path = "System";
    const size_t depth = input.Pick(7);
    for (size_t i = 0; i < depth; ++i) {
        path += "\\" + Name(input, kKeyNames, std::size(kKeyNames));
    }
    return path;
}

void BuildTree(MemoryRegistry& registry, FuzzInput& input) {
    for (int i = 0; i < 48 && !input.Empty(); ++i) {
        const std::string path = KeyPath(input);
        switch (input.Pick(8)) {
            case 0:
                registry.FailOpen(path, kRegistryAccessDenied);
                continue;
            case 1:
                registry.FailEnumerate(path,
                                       input.Flag() ? kRegistryAccessDenied : kRegistryMoreData);
                continue;
            case 2:
                registry.FailQueryInfo(path, kRegistryAccessDenied);
                continue;
            default:
                break;
        }
        RegistryKey key = kNoRegistryKey;
        if (registry.CreateKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key) !=
            kRegistryOk) {
            continue;
        }
        const std::string name = Name(input, kValueNames, std::size(kValueNames));
        const uint32_t type = input.U8() % 6;
        uint8_t value[kMaxValueSize];
        const size_t size = input.Bytes(value, sizeof value);
        registry.SetValue(key, name.c_str(), type, value, uint32_t(size));
        registry.CloseKey(key);
    }
}

void LoadWith(MemoryRegistry& registry, SystemVersion version, SettingsReader reader) {
    {
        AdapterSettings settings(registry, version);
        settings.Load(reader);
        if (settings.Master_Name.size() > kMasterNameMaxLength) {
            std::abort();
        }
    }
    if (registry.OpenKeyCount() != 0) {
        std::abort();
    }
}

}  // namespace
}  // namespace vz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vz::FuzzInput input(data, size);
    vz::SystemVersion version;
    version.platformId = input.U8() % 3;
    version.majorVersion = input.U8() % 6;
    vz::MemoryRegistry registry;
    vz::BuildTree(registry, input);
    vz::LoadWith(registry, version, vz::SettingsReader::kTool);
    vz::LoadWith(registry, version, vz::SettingsReader::kMonitor);
    return 0;
}
