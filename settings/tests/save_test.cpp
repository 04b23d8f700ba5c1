// Save and SaveDomain: which values are written, in which type and size, and the Windows 95
// companions beside them.
#include <optional>

#include <gtest/gtest.h>

#include "platform/fake/memory_registry.h"
#include "settings/tests/settings_fixture.h"

namespace vz {
namespace {

using namespace vz::test;

std::string Companion(SystemVersion version, const std::string& name) {
    return AdapterPath(version) + "\\Ndi\\params\\" + name;
}

// A number keeps the type it has, and a new one takes its family's; texts are 5 bytes for some
// names and 4 for the rest, and never lose their NUL. On Windows 95 a companion's unnamed value
// keeps its type and size, grows rather than cut the number, and is left alone when longer than
// the value; on NT none is touched.
struct SaveCase {
    const char* name;
    std::optional<TestValue> existing;
    TestValue onWindows95;
    TestValue onNt;
    std::optional<TestValue> companionBefore;
    std::optional<TestValue> companionAfter;
};

const SaveCase kSaveCases[] = {
    {"Station_Type", SzSized("0", 8), SzSized("2", 4), SzSized("2", 4), {}, {}},
    {"Master_Name", Sz("OLD"), Sz("ABCDEFGHIJK"), Sz("ABCDEFGHIJK"), Sz("OLD"), Sz("ABCDEFGHIJK")},
    {"Channel", {}, SzSized("12", 5), Dword(12), SzSized("3", 5), SzSized("12", 5)},
    {"Subchannel", Sz("3"), SzSized("4", 5), SzSized("4", 5), SzSized("3", 3), SzSized("4", 3)},
    {"Mac_Optimize", Dword(1), Dword(0), Dword(0), Dword(1), Dword(0)},
    {"Domain", {}, SzSized("12345", 6), Dword(12345), SzSized("1", 8), SzSized("1", 8)},
    {"Roam_Config", Binary({3, 0, 0, 0}), Binary({3, 0, 0, 0}), Binary({3, 0, 0, 0}), {}, {}},
    {"Inactivity_Sec", {}, SzSized("35", 5), Dword(35), SzSized("3", 2), Sz("35")},
    {"Inactivity_Min", Sz("0"), SzSized("4", 5), SzSized("4", 5), {}, {}},
    {"Peer_to_Peer", {}, SzSized("1", 4), Dword(1), {}, {}},
};

TEST(SaveTest, WritesEachValueInItsTypeAndItsCompanion) {
    for (SystemVersion version : {kNt, kWindows95}) {
        bool windows95 = version.IsWindows95Family();
        SCOPED_TRACE(windows95 ? "Windows 95" : "NT");
        MemoryRegistry registry;
        AddAdapter(registry, version);
        for (const SaveCase& c : kSaveCases) {
            if (c.existing) {
                PutValue(registry, AdapterPath(version), c.name, *c.existing);
            }
            if (c.companionBefore) {
                PutValue(registry, Companion(version, c.name), "", *c.companionBefore);
            }
        }
        {
            AdapterSettings s(registry, version);  // a Master, so that every value is written
            s.StationIsNotStation = 1;
            s.Station_Type = s.Roam_Config = 2;
            s.Subchannel = s.Inactivity_Min = 4;
            s.Mac_Optimize = 0;
            s.Master_Name = "ABCDEFGHIJKLMNOP";
            s.Channel = 12;
            s.Domain = 12345;
            s.Inactivity_Sec = 35;
            s.Peer_to_Peer = 7;
            s.Save();
            EXPECT_EQ(registry.OpenKeyCount(), 1u);  // the adapter key, kept for later writes
        }
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
        for (const SaveCase& c : kSaveCases) {
            EXPECT_EQ(GetValue(registry, AdapterPath(version), c.name),
                      windows95 ? c.onWindows95 : c.onNt)
                << c.name;
            EXPECT_EQ(GetValue(registry, Companion(version, c.name), ""),
                      windows95 ? c.companionAfter : c.companionBefore)
                << c.name;
        }
    }
}

TEST(SaveTest, AStationLeavesTheMasterValuesAlone) {
    const char* const masterValues[] = {"Master_Name", "Channel", "Subchannel", "Mac_Optimize"};
    for (SystemVersion version : {kNt, kWindows95}) {
        MemoryRegistry registry;
        AddAdapter(registry, version);
        for (const char* name : masterValues) {
            PutValue(registry, AdapterPath(version), name, Sz("3"));
        }
        AdapterSettings settings(registry, version);
        settings.Master_Name = "NEW";
        settings.Channel = settings.Subchannel = settings.Mac_Optimize = settings.Domain = 9;
        settings.Save();
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

// On NT the domain goes alone, as a DWORD whatever it was, to the key Load reads it from.
TEST(SaveDomainTest, NtWritesOnlyTheDomainAsADword) {
    MemoryRegistry registry;
    AddAdapter(registry, kNt);
    PutValue(registry, kNtKey, "Domain", Sz("2"));
    AdapterSettings settings(registry, kNt);
    settings.Channel = 9;
    settings.SaveDomain(7);
    EXPECT_EQ(GetValue(registry, kNtKey, "Domain"), Dword(7));
    EXPECT_FALSE(GetValue(registry, kNtKey, "Channel"));
}

}  // namespace
}  // namespace vz
