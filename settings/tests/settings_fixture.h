// Shared pieces of the settings tests: the two families, where each keeps its adapter, and the
// record as one comparable text.
#pragma once

#include <sstream>
#include <string>

#include "settings/adapter_settings.h"
#include "platform/fake/registry_tree.h"

namespace vz::test {

constexpr SystemVersion kNt{kPlatformWindowsNt, 4};
constexpr SystemVersion kWindows95{kPlatformWindows95, 4};
constexpr SettingsReader kTool = SettingsReader::kTool;
constexpr SettingsReader kMonitor = SettingsReader::kMonitor;
inline const std::string kCcs = "System\\CurrentControlSet";
inline const std::string kNtKey = kCcs + "\\Services\\davuziro1\\Parameters";
inline const std::string k95Key = kCcs + "\\Services\\Class\\Net\\0000";

inline std::string AdapterPath(SystemVersion version) {
    return version.IsWindows95Family() ? k95Key : kNtKey;
}

inline void AddAdapter(Registry& registry, SystemVersion version) {
    if (version.IsWindows95Family()) {
        AddWindows95Adapter(registry, kCcs, "0000", "adapter");
    } else {
        AddNtAdapter(registry, kCcs, "davuziro1", "adapter");
    }
}

// The record's registry-backed fields that differ from a new record's, as "name=value" in
// declaration order: one readable value to compare a whole record by.
inline std::string Describe(const AdapterSettings& s) {
    std::ostringstream out;
    auto field = [&out](const char* name, const auto& value, const auto& byDefault) {
        if (value != byDefault) {
            out << ' ' << name << '=' << value;
        }
    };
    // clang-format off
    field("Mac_Optimize", s.Mac_Optimize, 2);
    field("StationIsNotStation", s.StationIsNotStation, 0);
    field("Station_Type", s.Station_Type, 0);
    field("IsPcCard", s.IsPcCard, 0);
    field("Master_Name", s.Master_Name, "MASTER"); field("Channel", s.Channel, 1);
    field("Subchannel", s.Subchannel, 1); field("Domain", s.Domain, 1);
    field("Roam_Config", s.Roam_Config, 1); field("Inactivity_Sec", s.Inactivity_Sec, 6);
    field("Inactivity_Min", s.Inactivity_Min, 0); field("Peer_to_Peer", s.Peer_to_Peer, 1);
    // clang-format on
    return out.str().substr(out.str().empty() ? 0 : 1);
}

}  // namespace vz::test
