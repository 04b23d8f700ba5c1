// Load: how each stored value, well or badly formed, ends up in the record, for both readers.
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/memory_registry.h"
#include "settings/adapter_settings.h"
#include "settings/tests/registry_tree.h"
#include "settings/tests/settings_fields.h"

namespace vz {
namespace {

using namespace vz::test;

constexpr SystemVersion kNt{kPlatformWindowsNt, 4};
constexpr SystemVersion kWindows95{kPlatformWindows95, 4};
const std::string kCcs = "System\\CurrentControlSet";
const std::string kNtKey = kCcs + "\\Services\\davuziro1\\Parameters";
const std::string k95Key = kCcs + "\\Services\\Class\\Net\\0000";

struct LoadCase {
    const char* name;
    SystemVersion version;
    SettingsReader reader;
    std::vector<std::pair<std::string, TestValue>> stored;
    std::function<void(Fields&)> before;    // the record before Load
    std::function<void(Fields&)> expected;  // applied to the record before Load
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

void Same(Fields&) {}

// The tool's reader sets both time-out fields to 0 when they are missing.
Fields ToolLoaded() {
    Fields f;
    f.Inactivity_Sec = 0;
    return f;
}

const LoadCase kLoadCases[] = {
    {"ChannelAsText",
     kNt,
     SettingsReader::kTool,
     {{"Channel", Sz("12")}},
     Same,
     [](Fields& f) { f.Channel = 12; }},
    {"ChannelAsDword",
     kNt,
     SettingsReader::kTool,
     {{"Channel", Dword(12)}},
     Same,
     [](Fields& f) { f.Channel = 12; }},
    {"ChannelAsTheToolStoresIt",
     kWindows95,
     SettingsReader::kTool,
     {{"Channel", SzSized("12", 5)}},
     Same,
     [](Fields& f) { f.Channel = 12; }},
    {"TextWithoutNul",
     kNt,
     SettingsReader::kTool,
     {{"Subchannel", SzSized("7", 1)}},
     Same,
     [](Fields& f) { f.Subchannel = 7; }},
    {"LeadingDigits",
     kNt,
     SettingsReader::kTool,
     {{"Domain", Sz("3 (lab)")}},
     Same,
     [](Fields& f) { f.Domain = 3; }},
    {"StationTypeMaster",
     kNt,
     SettingsReader::kTool,
     {{"Station_Type", Sz("2")}},
     Same,
     [](Fields& f) {
         f.Station_Type = 2;
         f.StationIsNotStation = 1;
     }},
    {"StationTypeMissingMeansStation",
     kNt,
     SettingsReader::kTool,
     {},
     [](Fields& f) {
         f.Station_Type = 2;
         f.StationIsNotStation = 1;
     },
     [](Fields& f) {
         f.Station_Type = 0;
         f.StationIsNotStation = 0;
     }},
    {"CardTypePcmcia",
     kNt,
     SettingsReader::kTool,
     {{"CardType", Sz("PCMCIA")}},
     Same,
     [](Fields& f) { f.IsPcCard = 1; }},
    {"CardTypeLowerCase",
     kNt,
     SettingsReader::kTool,
     {{"CardType", Sz("pcmcia")}},
     [](Fields& f) { f.IsPcCard = 1; },
     [](Fields& f) { f.IsPcCard = 0; }},
    {"CardTypeTwo",
     kNt,
     SettingsReader::kTool,
     {{"CardType", Sz("2")}},
     Same,
     [](Fields& f) { f.IsPcCard = 1; }},
    {"CardTypeDword",
     kNt,
     SettingsReader::kTool,
     {{"CardType", Dword(1)}},
     Same,
     [](Fields& f) { f.IsPcCard = 1; }},
    {"CardTypeMissing",
     kNt,
     SettingsReader::kTool,
     {},
     [](Fields& f) { f.IsPcCard = 1; },
     [](Fields& f) { f.IsPcCard = 0; }},
    {"InactivityValues",
     kNt,
     SettingsReader::kTool,
     {{"Inactivity_Sec", Sz("30")}, {"Inactivity_Min", Dword(2)}},
     Same,
     [](Fields& f) {
         f.Inactivity_Sec = 30;
         f.Inactivity_Min = 2;
     }},
    {"MasterName",
     kNt,
     SettingsReader::kTool,
     {{"Master_Name", Sz("CORP-AP")}},
     Same,
     [](Fields& f) { f.Master_Name = "CORP-AP"; }},
    {"MasterNameCutToTheCardsField",
     kNt,
     SettingsReader::kTool,
     {{"Master_Name", Sz("ABCDEFGHIJKLMNOP")}},
     Same,
     [](Fields& f) { f.Master_Name = "ABCDEFGHIJK"; }},
    {"MasterNameFillingTheBufferWithoutNul",
     kNt,
     SettingsReader::kTool,
     {{"Master_Name", SzSized(std::string(80, 'Q'), 80)}},
     Same,
     [](Fields& f) { f.Master_Name = std::string(11, 'Q'); }},
    {"NumberTooLongForItsBuffer",
     kNt,
     SettingsReader::kTool,
     {{"Channel", Sz(std::string(40, '1'))}},
     Same,
     Same},
    {"DwordOfWrongSize",
     kNt,
     SettingsReader::kTool,
     {{"Channel", TestValue{kRegDword, {12, 0}}}},
     Same,
     Same},
    {"NumberOfAnotherType",
     kNt,
     SettingsReader::kTool,
     {{"Channel", Binary({12, 0, 0, 0})}},
     Same,
     Same},
    {"TextWithoutDigits", kNt, SettingsReader::kTool, {{"Channel", Sz("abc")}}, Same, Same},
    {"NumberBeyondInt", kNt, SettingsReader::kTool, {{"Domain", Sz("99999999999")}}, Same, Same},
    {"PeerToPeerOff",
     kNt,
     SettingsReader::kTool,
     {{"Peer_to_Peer", Sz("0")}},
     Same,
     [](Fields& f) { f.Peer_to_Peer = 0; }},
    {"PeerToPeerAnyNonZero",
     kNt,
     SettingsReader::kTool,
     {{"Peer_to_Peer", Dword(5)}},
     [](Fields& f) { f.Peer_to_Peer = 0; },
     [](Fields& f) { f.Peer_to_Peer = 1; }},
    {"PeerToPeerOfAnotherTypeKeepsItsValue",
     kNt,
     SettingsReader::kTool,
     {{"Peer_to_Peer", Binary({1})}},
     [](Fields& f) { f.Peer_to_Peer = 0; },
     Same},
    {"Windows95Values",
     kWindows95,
     SettingsReader::kTool,
     {{"Station_Type", Sz("1")},
      {"Master_Name", Sz("LAB")},
      {"Mac_Optimize", Sz("0")},
      {"Roam_Config", Sz("2")},
      {"Domain", Sz("15")}},
     Same,
     [](Fields& f) {
         f.Station_Type = 1;
         f.StationIsNotStation = 1;
         f.Master_Name = "LAB";
         f.Mac_Optimize = 0;
         f.Roam_Config = 2;
         f.Domain = 15;
     }},
    {"MonitorPcCardReadsTheTimeOut",
     kWindows95,
     SettingsReader::kMonitor,
     {{"CardType", Sz("PCMCIA")}, {"Inactivity_Min", Sz("3")}, {"Channel", Sz("4")}},
     [](Fields& f) { f.Inactivity_Sec = 0; },
     [](Fields& f) {
         f.IsPcCard = 1;
         f.Inactivity_Sec = 6;
         f.Inactivity_Min = 3;
         f.Channel = 4;
     }},
    {"MonitorTakesTextOnly",
     kWindows95,
     SettingsReader::kMonitor,
     {{"Channel", Dword(12)}, {"CardType", Dword(1)}},
     Same,
     Same},
    {"MonitorCardTypeTwoIsNoPcCard",
     kWindows95,
     SettingsReader::kMonitor,
     {{"CardType", Sz("2")}, {"Inactivity_Sec", Sz("30")}},
     [](Fields& f) { f.IsPcCard = 1; },
     [](Fields& f) { f.IsPcCard = 0; }},
    {"MonitorHasNoDefaultsButTheStationType",
     kWindows95,
     SettingsReader::kMonitor,
     {},
     [](Fields& f) {
         f.Channel = 7;
         f.Inactivity_Min = 9;
         f.IsPcCard = 1;
         f.Station_Type = 2;
         f.StationIsNotStation = 1;
     },
     [](Fields& f) {
         f.Station_Type = 0;
         f.StationIsNotStation = 0;
     }},
    {"MonitorFindsNothingOnNt", kNt, SettingsReader::kMonitor, {{"Channel", Sz("12")}}, Same, Same},
};

class LoadTest : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, FillsTheRecord) {
    const LoadCase& c = GetParam();
    bool windows95 = c.version.IsWindows95Family();
    MemoryRegistry registry;
    if (windows95) {
        AddWindows95Adapter(registry, kCcs, "0000", "adapter");
    } else {
        AddNtAdapter(registry, kCcs, "davuziro1", "adapter");
    }
    for (const auto& [name, value] : c.stored) {
        PutValue(registry, windows95 ? k95Key : kNtKey, name, value);
    }
    bool monitorOnNt = c.reader == SettingsReader::kMonitor && !windows95;
    Fields expected = c.reader == SettingsReader::kTool ? ToolLoaded() : Fields{};
    Fields start;
    c.before(start);
    c.before(expected);
    c.expected(expected);
    {
        AdapterSettings settings(registry, c.version);
        Apply(start, settings);
        settings.Load(c.reader);
        EXPECT_EQ(FieldsOf(settings), monitorOnNt ? start : expected);
        EXPECT_EQ(registry.OpenKeyCount(), monitorOnNt ? 0u : 1u);
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, LoadTest, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadFailureTest, NoAdapterKeyKeepsEveryDefault) {
    MemoryRegistry registry;
    PutValue(registry, kCcs + "\\Services\\Tcpip\\Parameters", "Hostname", Sz("station"));
    AdapterSettings settings(registry, kNt);
    settings.Load();
    EXPECT_EQ(FieldsOf(settings), Fields{});
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST(LoadFailureTest, MasterNameTooLongToReadHidesTheNtKey) {
    MemoryRegistry registry;
    AddNtAdapter(registry, kCcs, "davuziro1", "adapter");
    PutValue(registry, kNtKey, "Master_Name", Sz(std::string(100, 'Q')));
    PutValue(registry, kNtKey, "Channel", Sz("9"));
    AdapterSettings settings(registry, kNt);
    settings.Load();
    EXPECT_EQ(FieldsOf(settings), Fields{});
}

TEST(LoadFailureTest, UnreadableSystemKey) {
    MemoryRegistry registry;
    AddNtAdapter(registry, kCcs, "davuziro1", "adapter");
    PutValue(registry, kNtKey, "Channel", Sz("9"));
    registry.FailOpen("System", kRegistryAccessDenied);
    AdapterSettings settings(registry, kNt);
    settings.Load();
    EXPECT_EQ(FieldsOf(settings), Fields{});
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

}  // namespace
}  // namespace vz
