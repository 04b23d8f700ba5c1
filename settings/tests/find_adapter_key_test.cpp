// The walk that finds the adapter's key, on registry trees shaped like real installations.
#include <functional>

#include <gtest/gtest.h>

#include "platform/fake/memory_registry.h"
#include "settings/adapter_settings.h"
#include "settings/tests/registry_tree.h"

namespace vz {
namespace {

using namespace vz::test;

constexpr SystemVersion kNt{kPlatformWindowsNt, 4};
constexpr SystemVersion kWindows95{kPlatformWindows95, 4};
const std::string kCcs = "System\\CurrentControlSet";
const std::string kOldSet = "System\\ControlSet001";
const std::string kNet = "System\\CurrentControlSet\\Services\\Class\\Net";

struct WalkCase {
    const char* name;
    SystemVersion version;
    SettingsReader reader;
    const char* valueName;
    std::function<void(MemoryRegistry&)> build;
    const char* expectedTag;  // null: nothing is found
};

void PrintTo(const WalkCase& c, std::ostream* os) {
    *os << c.name;
}

// What every installation has around the adapter, in the order a registry lists it.
void AddSurroundings(MemoryRegistry& registry) {
    PutValue(registry, "System\\ControlSet001\\Control", "CurrentUser", Sz("USERNAME"));
    PutValue(registry, kCcs + "\\Control\\Session Manager", "BootExecute", Sz("autocheck"));
    PutValue(registry, kCcs + "\\Services\\Tcpip\\Parameters", "Hostname", Sz("station"));
    PutValue(registry, "System\\Select", "Current", Dword(1));
}

const WalkCase kWalkCases[] = {
    {"NtServiceParameters", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) { AddNtAdapter(r, kCcs, "davuziro1", "nt"); }, "nt"},
    {"NtFirstInEnumerationOrderWins", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) {
         AddNtAdapter(r, kCcs, "davuziro2", "listed first");
         AddNtAdapter(r, kCcs, "davuziro1", "listed second");
     },
     "listed first"},
    {"NtMarkersStaySetAcrossBranches", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) {
         PutValue(r, "System\\ControlSet001\\Services\\davuziro1\\Parameters", "Master_Name",
                  Sz("node"));
         PutValue(r, kCcs + "\\Enum\\Root\\Net\\0000", "Master_Name", Sz("node"));
         PutValue(r, kCcs + "\\Enum\\Root\\Net\\0000", "Tag", Sz("enum"));
     },
     "enum"},
    {"NtMasterTextStandsForTheServiceKeys", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) {
         PutValue(r, kCcs + "\\Services\\Other", "Master_Name", Sz("MY MASTER"));
         PutValue(r, kCcs + "\\Services\\Later", "Master_Name", Sz("node"));
         PutValue(r, kCcs + "\\Services\\Later", "Tag", Sz("later"));
     },
     "later"},
    {"NtValueWithoutMarkers", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) { PutValue(r, kCcs + "\\Services\\Other", "Master_Name", Sz("n")); },
     nullptr},
    {"NtOutsideCurrentControlSet", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) { AddNtAdapter(r, kOldSet, "davuziro1", "old"); }, nullptr},
    {"NtNamesCompareCaseSensitively", kNt, SettingsReader::kTool, "Master_Name",
     [](MemoryRegistry& r) {
         PutValue(r, kCcs + "\\Services\\DAVUZIRO1\\Parameters", "Master_Name", Sz("node"));
         PutValue(r, kCcs + "\\Services\\davuziro1\\parameters", "Master_Name", Sz("node"));
     },
     nullptr},
    {"NtRouteForTheDomain", kNt, SettingsReader::kTool, "Route",
     [](MemoryRegistry& r) {
         PutValue(r, kCcs + "\\Services\\davuziro1\\Parameters", "Master_Name", Sz("MASTER"));
         AddNtAdapter(r, kCcs, "davuziro2", "routed");
     },
     "routed"},
    {"Windows95ClassKey", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) { AddWindows95Adapter(r, kCcs, "0000", "95"); }, "95"},
    {"Windows95ExactValueOnly", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         PutValue(r, kNet + "\\0000", "DeviceVxDs", Sz("RIDEDE95.SYS"));
         PutValue(r, kNet + "\\0001", "DeviceVxDs", Sz("ridede95.sys,ndis2.vxd"));
         PutValue(r, kNet + "\\0002", "DeviceVxDs", Binary({'r', 'i', 'd', 'e', 'd', 'e'}));
         AddWindows95Adapter(r, kCcs, "0003", "exact");
     },
     "exact"},
    {"Windows95ValueStoredWithoutNul", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         PutValue(r, kNet + "\\0000", "DeviceVxDs", SzSized("ridede95.sys", 12));
         PutValue(r, kNet + "\\0000", "Tag", Sz("bare"));
     },
     "bare"},
    {"Windows95FirstInEnumerationOrderWins", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         AddWindows95Adapter(r, kCcs, "0001", "listed first");
         AddWindows95Adapter(r, kCcs, "0000", "listed second");
     },
     "listed first"},
    {"Windows95OutsideCurrentControlSet", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) { AddWindows95Adapter(r, kOldSet, "0000", "old"); }, nullptr},
    {"ToolSkipsKeyThatWillNotOpen", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         r.FailOpen(kCcs + "\\Control", kRegistryAccessDenied);
         AddWindows95Adapter(r, kCcs, "0000", "95");
     },
     "95"},
    {"ToolLeavesKeyThatWillNotList", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         r.FailEnumerate(kCcs + "\\Control", kRegistryAccessDenied);
         AddWindows95Adapter(r, kCcs, "0000", "95");
     },
     "95"},
    {"ToolPassesKeyWithoutCounts", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         r.FailQueryInfo(kCcs + "\\Control", kRegistryAccessDenied);
         AddWindows95Adapter(r, kCcs, "0000", "95");
     },
     "95"},
    {"AdapterKeyThatWillNotOpen", kWindows95, SettingsReader::kTool, "DeviceVxDs",
     [](MemoryRegistry& r) {
         AddWindows95Adapter(r, kCcs, "0000", "95");
         r.FailOpen(kNet + "\\0000", kRegistryAccessDenied);
     },
     nullptr},
    {"MonitorFindsNothingOnNt", kNt, SettingsReader::kMonitor, "DeviceVxDs",
     [](MemoryRegistry& r) { AddNtAdapter(r, kCcs, "davuziro1", "nt"); }, nullptr},
    {"MonitorIgnoresKeyNames", kNt, SettingsReader::kMonitor, "DeviceVxDs",
     [](MemoryRegistry& r) {
         AddNtAdapter(r, kCcs, "davuziro1", "nt");
         PutValue(r, kCcs + "\\Services\\vnetsup", "DeviceVxDs", Sz("vnetsup.vxd"));
     },
     nullptr},
    {"MonitorOnWindows95", kWindows95, SettingsReader::kMonitor, "DeviceVxDs",
     [](MemoryRegistry& r) { AddWindows95Adapter(r, kCcs, "0000", "95"); }, "95"},
    {"MonitorTakesTheValueAnywhere", kWindows95, SettingsReader::kMonitor, "DeviceVxDs",
     [](MemoryRegistry& r) { AddWindows95Adapter(r, kOldSet, "0000", "old"); }, "old"},
    {"MonitorStopsAtKeyThatWillNotOpen", kWindows95, SettingsReader::kMonitor, "DeviceVxDs",
     [](MemoryRegistry& r) {
         r.FailOpen(kCcs + "\\Control", kRegistryAccessDenied);
         AddWindows95Adapter(r, kCcs, "0000", "95");
     },
     nullptr},
    {"MonitorStopsAtKeyThatWillNotList", kWindows95, SettingsReader::kMonitor, "DeviceVxDs",
     [](MemoryRegistry& r) {
         r.FailEnumerate(kCcs + "\\Control", kRegistryAccessDenied);
         AddWindows95Adapter(r, kCcs, "0000", "95");
     },
     nullptr},
};

class FindAdapterKeyTest : public testing::TestWithParam<WalkCase> {};

TEST_P(FindAdapterKeyTest, FindsTheExpectedKeyAndClosesTheRest) {
    const WalkCase& c = GetParam();
    MemoryRegistry registry;
    AddSurroundings(registry);
    c.build(registry);
    {
        AdapterSettings settings(registry, c.version);
        RegistryKey system = kNoRegistryKey;
        ASSERT_EQ(registry.OpenKey(kRegistryLocalMachine, "System", kKeyRead, &system),
                  kRegistryOk);
        std::string valueName = c.valueName;
        bool found = settings.FindAdapterKey(system, valueName, kKeyRead, c.reader);
        registry.CloseKey(system);

        ASSERT_EQ(found, c.expectedTag != nullptr);
        EXPECT_EQ(registry.OpenKeyCount(), found ? 1u : 0u);
        if (found) {
            std::optional<TestValue> tag = GetValue(registry, settings.AdapterKey(), "Tag");
            ASSERT_TRUE(tag);
            EXPECT_EQ(tag->Text(), c.expectedTag);
            bool nt = !c.version.IsWindows95Family();
            EXPECT_EQ(valueName, nt ? "Master_Name" : c.valueName);
        }
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Layouts, FindAdapterKeyTest, testing::ValuesIn(kWalkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FindAdapterKeyTest, ANewFindReplacesAndClosesTheOldKey) {
    MemoryRegistry registry;
    AddWindows95Adapter(registry, kCcs, "0000", "95");
    AdapterSettings settings(registry, kWindows95);
    settings.Load();
    RegistryKey first = settings.AdapterKey();
    settings.Load();
    EXPECT_NE(settings.AdapterKey(), first);
    EXPECT_EQ(registry.OpenKeyCount(), 1u);
}

TEST(FindAdapterKeyTest, KeyWithoutCountsClearsTheAdapterKey) {
    MemoryRegistry registry;
    AddWindows95Adapter(registry, kCcs, "0000", "95");
    AdapterSettings settings(registry, kWindows95);
    settings.Load();
    ASSERT_NE(settings.AdapterKey(), kNoRegistryKey);
    registry.FailQueryInfo("System", kRegistryAccessDenied);
    settings.Load();
    EXPECT_EQ(settings.AdapterKey(), kNoRegistryKey);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

}  // namespace
}  // namespace vz
