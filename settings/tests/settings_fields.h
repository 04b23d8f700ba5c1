// The record's registry-backed fields as one comparable value, for table-driven tests.
#pragma once

#include <ostream>
#include <string>

#include "settings/adapter_settings.h"

namespace vz::test {

struct Fields {
    int Mac_Optimize = 2;
    int StationIsNotStation = 0;
    int Station_Type = 0;
    int IsPcCard = 0;
    std::string Master_Name = "MASTER";
    int Channel = 1;
    int Subchannel = 1;
    int Domain = 1;
    int Roam_Config = 1;
    int Inactivity_Sec = 6;
    int Inactivity_Min = 0;
    int Peer_to_Peer = 1;

    bool operator==(const Fields&) const = default;
};

inline Fields FieldsOf(const AdapterSettings& s) {
    return Fields{
        s.Mac_Optimize,   s.StationIsNotStation, s.Station_Type, s.IsPcCard,    s.Master_Name,
        s.Channel,        s.Subchannel,          s.Domain,       s.Roam_Config, s.Inactivity_Sec,
        s.Inactivity_Min, s.Peer_to_Peer};
}

inline void Apply(const Fields& f, AdapterSettings& s) {
    s.Mac_Optimize = f.Mac_Optimize;
    s.StationIsNotStation = f.StationIsNotStation;
    s.Station_Type = f.Station_Type;
    s.IsPcCard = f.IsPcCard;
    s.Master_Name = f.Master_Name;
    s.Channel = f.Channel;
    s.Subchannel = f.Subchannel;
    s.Domain = f.Domain;
    s.Roam_Config = f.Roam_Config;
    s.Inactivity_Sec = f.Inactivity_Sec;
    s.Inactivity_Min = f.Inactivity_Min;
    s.Peer_to_Peer = f.Peer_to_Peer;
}

inline void PrintTo(const Fields& f, std::ostream* os) {
    *os << "{Mac_Optimize " << f.Mac_Optimize << ", StationIsNotStation " << f.StationIsNotStation
        << ", Station_Type " << f.Station_Type << ", IsPcCard " << f.IsPcCard << ", Master_Name \""
        << f.Master_Name << "\", Channel " << f.Channel << ", Subchannel " << f.Subchannel
        << ", Domain " << f.Domain << ", Roam_Config " << f.Roam_Config << ", Inactivity_Sec "
        << f.Inactivity_Sec << ", Inactivity_Min " << f.Inactivity_Min << ", Peer_to_Peer "
        << f.Peer_to_Peer << "}";
}

}  // namespace vz::test
