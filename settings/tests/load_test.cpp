// Load: the walk that finds the adapter's key, on registry trees shaped like real installations,
// and how each stored value, well or badly formed, ends up in the record, for both readers; what
// Save leaves alone. (What each saved value becomes is the registry contract test's.)
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/memory_registry.h"
#include "settings/tests/settings_fixture.h"

namespace vz {
namespace {

using namespace vz::test;
using Step = std::function<void(MemoryRegistry&)>;
using R = MemoryRegistry;
constexpr SystemVersion kWindows95Before4{kPlatformWindows95, 3};
const std::string kOldSet = "System\\ControlSet001";
const std::string kServices = kCcs + "\\Services\\";
const std::string kNet = kServices + "Class\\Net\\000";

// Steps that build a tree; the in-memory registry lists sub-keys in the order they were made.
Step Nt(const std::string& set, const char* service, const char* tag) {
    return [=](R& r) { AddNtAdapter(r, set, service, tag); };
}
Step Windows95(const std::string& set, const char* instance, const char* tag) {
    return [=](R& r) { AddWindows95Adapter(r, set, instance, tag); };
}
Step Put(const std::string& path, const char* name, const TestValue& value) {
    return [=](R& r) { PutValue(r, path, name, value); };
}
Step Fail(void (R::*failure)(const std::string&, RegistryResult), const std::string& path) {
    return [=](R& r) { (r.*failure)(path, kRegistryAccessDenied); };
}

struct WalkCase {
    const char* name;
    SystemVersion version;
    SettingsReader reader;
    const char* expectedTag;  // null: nothing is found
    std::vector<Step> tree;
};

// clang-format off
const WalkCase kWalkCases[] = {
    {"NtFirstBelowCurrentControlSetWins", kNt, kTool, "first",
     {Nt(kOldSet, "davuziro1", "old"), Nt(kCcs, "davuziro2", "first"),
          Nt(kCcs, "davuziro1", "second")}},
    // Markers set in another control set, and a card service key without the value: no key
    // outside the card's own service key is taken, however the markers stand.
    {"NtNothingOutsideTheCardsServiceKey", kNt, kTool, nullptr,
     {Put(kOldSet + "\\Services\\davuziro1\\Parameters", "Master_Name", Sz("node")),
          Put(kCcs + "\\Enum\\Net", "Master_Name", Sz("MASTER")),
          Put(kServices + "davuziro1\\Parameters", "Domain", Sz("2")),
          Put(kServices + "Later\\Parameters", "Master_Name", Sz("node"))}},
    // Names compare case-sensitively, and a value too long to read is no adapter's.
    {"NtLookalikes", kNt, kTool, nullptr,
     {Put(kServices + "DAVUZIRO1\\Parameters", "Master_Name", Sz("node")),
          Put(kServices + "davuziro2\\parameters", "Master_Name", Sz("node")),
          Put(kServices + "davuziro3\\Parameters", "Master_Name", Sz(std::string(100, 'Q')))}},
    {"Windows95BeforeVersion4UsesTheNtLayout", kWindows95Before4, kTool, "nt",
     {Nt(kCcs, "davuziro1", "nt")}},
    {"Windows95FirstBelowCurrentControlSetWins", kWindows95, kTool, "first",
     {Windows95(kOldSet, "0000", "old"), Windows95(kCcs, "0001", "first"),
          Windows95(kCcs, "0000", "second")}},
    {"Windows95ExactValueOnlyEvenWithoutNul", kWindows95, kTool, "exact",
     {Put(kNet + "0", "DeviceVxDs", Sz("RIDEDE95.SYS")),
          Put(kNet + "1", "DeviceVxDs", Sz("ridede95.sys,ndis2.vxd")),
          Put(kNet + "2", "DeviceVxDs", Binary({'r', 'i', 'd', 'e', 'd', 'e'})),
          Put(kNet + "3", "DeviceVxDs", SzSized("ridede95.sys", 12)),
          Put(kNet + "3", "Tag", Sz("exact"))}},
    {"ToolWalksPastKeysItCannotReach", kWindows95, kTool, "95",
     {Fail(&R::FailEnumerate, kOldSet), Fail(&R::FailOpen, kCcs + "\\Control"),
          Fail(&R::FailQueryInfo, kServices + "Tcpip"), Windows95(kCcs, "0000", "95")}},
    {"MonitorFindsNothingOnNtAndIgnoresKeyNames", kNt, kMonitor, nullptr,
     {Nt(kCcs, "davuziro1", "nt"), Put(kServices + "vnetsup", "DeviceVxDs", Sz("vnetsup")),
          Put(kServices + "davuziro1\\Parameters", "Channel", Sz("9")),
          Put(kServices + "davuziro1\\Parameters", "CardType", Sz("PCMCIA"))}},
    {"MonitorTakesTheValueAnywhere", kWindows95, kMonitor, "old",
     {Windows95(kOldSet, "0000", "old")}},
    {"MonitorStopsAtKeyThatWillNotOpen", kWindows95, kMonitor, nullptr,
     {Fail(&R::FailOpen, kCcs + "\\Control"), Windows95(kCcs, "0000", "95")}},
    {"MonitorStopsAtKeyThatWillNotList", kWindows95, kMonitor, nullptr,
     {Fail(&R::FailEnumerate, kCcs + "\\Control"), Windows95(kCcs, "0000", "95")}},
};
// clang-format on

class FindAdapterKeyTest : public testing::TestWithParam<WalkCase> {};

// Walks through Load, which keeps the key found open for later writes and closes every other.
TEST_P(FindAdapterKeyTest, FindsTheExpectedKeyAndClosesTheRest) {
    const WalkCase& c = GetParam();
    MemoryRegistry registry;
    // What every installation has around the adapter, in the order a registry lists it.
    PutValue(registry, kOldSet + "\\Control", "CurrentUser", Sz("USERNAME"));
    PutValue(registry, kCcs + "\\Control\\Session Manager", "BootExecute", Sz("autocheck"));
    PutValue(registry, kServices + "Tcpip\\Parameters", "Hostname", Sz("station"));
    for (const Step& step : c.tree) {
        step(registry);
    }
    {
        AdapterSettings settings(registry, c.version);
        settings.Load(c.reader);
        bool found = settings.AdapterKey() != kNoRegistryKey;
        ASSERT_EQ(found, c.expectedTag != nullptr);
        EXPECT_EQ(registry.OpenKeyCount(), found ? 1u : 0u);
        if (found) {
            EXPECT_EQ(GetValue(registry, settings.AdapterKey(), "Tag"), Sz(c.expectedTag));
        } else {
            EXPECT_EQ(Describe(settings), "") << "the record keeps its start values";
        }
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Layouts, FindAdapterKeyTest, testing::ValuesIn(kWalkCases),
                         [](const auto& info) { return std::string(info.param.name); });

using S = AdapterSettings;
using Stored = std::vector<std::pair<std::string, TestValue>>;

// The tool's reader runs on NT, the monitor's on Windows 95, where it finds the adapter.
struct LoadCase {
    const char* name;
    SettingsReader reader;
    Stored stored;         // in the adapter's key
    void (*before)(S&);    // the record before Load; null keeps the defaults
    const char* expected;  // Describe() of the record after Load
};

// clang-format off
const LoadCase kLoadCases[] = {
    {"ToolTakesTextAndDwords", kTool, {{"Channel", SzSized("12", 5)}, {"Subchannel", Dword(3)},
     {"Domain", Sz(" +3 (lab)")}, {"Mac_Optimize", SzSized("0", 1)}, {"Roam_Config", Sz("-2")},
     {"Station_Type", Sz("2")}, {"CardType", Sz("2")}, {"Master_Name", Sz("CORP-AP")},
     {"Inactivity_Sec", Sz("30")}, {"Inactivity_Min", Dword(2)}, {"Peer_to_Peer", Dword(5)}},
     [](S& s) { s.Peer_to_Peer = 0; },
     "Mac_Optimize=0 StationIsNotStation=1 Station_Type=2 IsPcCard=1 Master_Name=CORP-AP "
     "Channel=12 Subchannel=3 Domain=3 Roam_Config=-2 Inactivity_Sec=30 Inactivity_Min=2"},
    // Too long for the number's buffer, no digits, beyond int32, a DWORD of the wrong size, other
    // types: each keeps the record's value, and none counts as missing.
    {"ToolSkipsWhatItCannotTake", kTool, {{"Channel", SzSized("12", 40)},
     {"Inactivity_Sec", SzSized("30", 20)}, {"Roam_Config", Sz("abc")},
     {"Mac_Optimize", Sz("2147483648")}, {"Subchannel", TestValue{kRegDword, {12, 0}}},
     {"Domain", Binary({12, 0, 0, 0})}, {"Peer_to_Peer", Binary({0, 0, 0, 0})},
     {"Station_Type", Binary({0})}, {"CardType", Binary({0})}, {"Master_Name", Dword(1)}},
     [](S& s) { s.Station_Type = s.StationIsNotStation = s.IsPcCard = 1; },
     "StationIsNotStation=1 Station_Type=1 IsPcCard=1"},
    {"ToolDefaultsWhatIsMissing", kTool, {}, [](S& s) { s.Station_Type = s.StationIsNotStation =
     s.IsPcCard = s.Inactivity_Min = 1; }, "Inactivity_Sec=0"},
    {"CardTypeLowerCaseAndNameFillingTheBuffer", kTool, {{"CardType", Sz("pcmcia")},
     {"Master_Name", SzSized(std::string(80, 'Q'), 80)}}, [](S& s) { s.IsPcCard = 1; },
     "Master_Name=QQQQQQQQQQQ Inactivity_Sec=0"},
    {"CardTypeDword", kTool, {{"CardType", Dword(1)}}, nullptr, "IsPcCard=1 Inactivity_Sec=0"},
    // Every bit of a DWORD counts, the top byte's too.
    {"FullWidthDwords", kTool, {{"Channel", Dword(0xFF000005)}, {"Domain", Dword(0x80000000)},
     {"CardType", Dword(0x01000000)}}, nullptr,
     "IsPcCard=1 Channel=-16777211 Domain=-2147483648 Inactivity_Sec=0"},
    {"MonitorPcCardReadsTheTimeOut", kMonitor, {{"CardType", Sz("PCMCIA")},
     {"Inactivity_Min", Sz("3")}, {"Peer_to_Peer", Sz("0")}}, [](S& s) { s.Inactivity_Sec = 0; },
     "IsPcCard=1 Inactivity_Min=3 Peer_to_Peer=0"},
    {"MonitorTakesTextOnly", kMonitor, {{"Channel", Dword(12)}, {"CardType", Dword(1)}}, nullptr,
     ""},
    {"MonitorCardTypeTwoIsNoPcCard", kMonitor, {{"CardType", Sz("2")}, {"Inactivity_Sec", Sz("9")}},
     [](S& s) { s.IsPcCard = 1; }, ""},
    {"MonitorDefaultsOnlyTheStationType", kMonitor, {}, [](S& s) { s.Station_Type =
     s.StationIsNotStation = s.IsPcCard = s.Inactivity_Min = 1; }, "IsPcCard=1 Inactivity_Min=1"},
};
// clang-format on

class LoadTest : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, FillsTheRecord) {
    const LoadCase& c = GetParam();
    SystemVersion version = c.reader == kTool ? kNt : kWindows95;
    MemoryRegistry registry;
    AddAdapter(registry, version);
    for (const auto& [name, value] : c.stored) {
        PutValue(registry, AdapterPath(version), name, value);
    }
    AdapterSettings settings(registry, version);
    if (c.before) {
        c.before(settings);
    }
    settings.Load(c.reader);
    EXPECT_EQ(Describe(settings), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, LoadTest, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The companions Save opens are closed again; the adapter key stays open for later writes.
TEST(SaveTest, AStationLeavesTheMasterValuesAlone) {
    const char* const masterValues[] = {"Master_Name", "Channel", "Subchannel", "Mac_Optimize"};
    for (SystemVersion version : {kNt, kWindows95}) {
        MemoryRegistry registry;
        AddAdapter(registry, version);
        for (const char* name : masterValues) {
            PutValue(registry, AdapterPath(version), name, Sz("3"));
            PutValue(registry, AdapterPath(version) + "\\Ndi\\params\\" + name, "", Sz("3"));
        }
        {
            AdapterSettings settings(registry, version);
            settings.Master_Name = "NEW";
            settings.Channel = settings.Subchannel = settings.Mac_Optimize = settings.Domain = 9;
            settings.Save();
            EXPECT_EQ(registry.OpenKeyCount(), 1u);
        }
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
        for (const char* name : masterValues) {
            EXPECT_EQ(GetValue(registry, AdapterPath(version), name), Sz("3")) << name;
        }
        EXPECT_EQ(GetValue(registry, AdapterPath(version), "Domain"),
                  version.IsWindows95Family() ? SzSized("9", 4) : Dword(9));
    }
}

TEST(SaveTest, NothingIsWrittenWithoutAnAdapterKey) {
    MemoryRegistry registry;
    PutValue(registry, kCcs + "\\Services\\Tcpip\\Parameters", "Hostname", Sz("station"));
    AdapterSettings settings(registry, kNt);
    settings.Save();
    settings.SaveDomain(3);
    EXPECT_EQ(settings.Domain, 3);
    EXPECT_EQ(registry.Calls().valueSets, 1u);  // the Hostname above
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

}  // namespace
}  // namespace vz
