// Save and SaveDomain: which values are written, in which type and size, and the Windows 95
// companions beside them.
#include <optional>

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
const std::string kNtKey = kCcs + "\\Services\\davuziro1\\Parameters";
const std::string k95Key = kCcs + "\\Services\\Class\\Net\\0000";

std::string AdapterPath(SystemVersion version) {
    return version.IsWindows95Family() ? k95Key : kNtKey;
}

void AddAdapter(Registry& registry, SystemVersion version) {
    if (version.IsWindows95Family()) {
        AddWindows95Adapter(registry, kCcs, "0000", "adapter");
    } else {
        AddNtAdapter(registry, kCcs, "davuziro1", "adapter");
    }
}

int& FieldNamed(AdapterSettings& s, const std::string& name) {
    if (name == "Channel")
        return s.Channel;
    if (name == "Subchannel")
        return s.Subchannel;
    if (name == "Domain")
        return s.Domain;
    if (name == "Roam_Config")
        return s.Roam_Config;
    if (name == "Inactivity_Sec")
        return s.Inactivity_Sec;
    if (name == "Inactivity_Min")
        return s.Inactivity_Min;
    if (name == "Peer_to_Peer")
        return s.Peer_to_Peer;
    if (name == "Mac_Optimize")
        return s.Mac_Optimize;
    return s.Station_Type;
}

// Saves a Master configuration (so every value is written) with `name` set to `number`.
void SaveMasterWith(MemoryRegistry& registry, SystemVersion version, const std::string& name,
                    int number) {
    {
        AdapterSettings settings(registry, version);
        settings.Station_Type = 2;
        settings.StationIsNotStation = 1;
        FieldNamed(settings, name) = number;
        settings.Save();
        EXPECT_EQ(registry.OpenKeyCount(), 1u);  // the adapter key, kept for later writes
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

struct TypeCase {
    const char* name;
    SystemVersion version;
    const char* value;
    std::optional<TestValue> existing;
    int number;
    TestValue expected;
};

void PrintTo(const TypeCase& c, std::ostream* os) {
    *os << c.name;
}

const TypeCase kTypeCases[] = {
    {"NtNewValueIsDword", kNt, "Domain", std::nullopt, 5, Dword(5)},
    {"Windows95NewValueIsText", kWindows95, "Domain", std::nullopt, 5, SzSized("5", 4)},
    {"Windows95NewStationType", kWindows95, "Station_Type", std::nullopt, 2, SzSized("2", 4)},
    {"Windows95NewChannelTakesFiveBytes", kWindows95, "Channel", std::nullopt, 12,
     SzSized("12", 5)},
    {"Windows95NewSubchannelTakesFiveBytes", kWindows95, "Subchannel", std::nullopt, 3,
     SzSized("3", 5)},
    {"Windows95NewSecondsTakeFiveBytes", kWindows95, "Inactivity_Sec", std::nullopt, 30,
     SzSized("30", 5)},
    {"Windows95NewMinutesTakeFiveBytes", kWindows95, "Inactivity_Min", std::nullopt, 2,
     SzSized("2", 5)},
    {"NtTextStaysText", kNt, "Channel", Sz("3"), 12, SzSized("12", 5)},
    {"NtLongTextStaysText", kNt, "Roam_Config", SzSized("1", 8), 2, SzSized("2", 4)},
    {"Windows95DwordStaysDword", kWindows95, "Channel", Dword(3), 12, Dword(12)},
    {"AnotherTypeIsLeftAlone", kNt, "Channel", Binary({3, 0, 0, 0}), 12, Binary({3, 0, 0, 0})},
    {"LongNumberKeepsItsNul", kWindows95, "Domain", std::nullopt, 12345, SzSized("12345", 6)},
    {"PeerToPeerIsOneOrZero", kNt, "Peer_to_Peer", Dword(0), 7, Dword(1)},
};

class SaveTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(SaveTypeTest, WritesTheValueInItsType) {
    const TypeCase& c = GetParam();
    MemoryRegistry registry;
    AddAdapter(registry, c.version);
    if (c.existing) {
        PutValue(registry, AdapterPath(c.version), c.value, *c.existing);
    }
    SaveMasterWith(registry, c.version, c.value, c.number);
    EXPECT_EQ(GetValue(registry, AdapterPath(c.version), c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Types, SaveTypeTest, testing::ValuesIn(kTypeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CompanionCase {
    const char* name;
    const char* value;
    std::optional<TestValue> before;
    int number;
    std::optional<TestValue> after;
};

void PrintTo(const CompanionCase& c, std::ostream* os) {
    *os << c.name;
}

const CompanionCase kCompanionCases[] = {
    {"TextKeepsItsSize", "Channel", SzSized("3", 5), 12, SzSized("12", 5)},
    {"ShorterTextKeepsItsSize", "Channel", SzSized("3", 3), 12, SzSized("12", 3)},
    {"TextTooShortForTheNumberGrows", "Channel", SzSized("3", 2), 12, Sz("12")},
    {"LongerThanTheValueIsLeftAlone", "Domain", SzSized("1", 8), 7, SzSized("1", 8)},
    {"DwordGetsTheNumber", "Domain", Dword(1), 7, Dword(7)},
    {"MissingUnnamedValueStaysMissing", "Domain", std::nullopt, 7, std::nullopt},
};

class CompanionTest : public testing::TestWithParam<CompanionCase> {};

TEST_P(CompanionTest, FollowsTheValue) {
    const CompanionCase& c = GetParam();
    MemoryRegistry registry;
    AddAdapter(registry, kWindows95);
    std::string companion = k95Key + "\\Ndi\\params\\" + c.value;
    if (c.before) {
        PutValue(registry, companion, "", *c.before);
    }
    SaveMasterWith(registry, kWindows95, c.value, c.number);
    EXPECT_EQ(GetValue(registry, companion, ""), c.after);
    EXPECT_EQ(GetValue(registry, companion, "ParamDesc"), Sz(c.value));
}

INSTANTIATE_TEST_SUITE_P(Windows95, CompanionTest, testing::ValuesIn(kCompanionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaveTest, MasterNameIsTextCutToTheCardsField) {
    for (SystemVersion version : {kNt, kWindows95}) {
        MemoryRegistry registry;
        AddAdapter(registry, version);
        {
            AdapterSettings settings(registry, version);
            settings.StationIsNotStation = 1;
            settings.Master_Name = "ABCDEFGHIJKLMNOP";
            settings.Save();
        }
        EXPECT_EQ(GetValue(registry, AdapterPath(version), "Master_Name"), Sz("ABCDEFGHIJK"));
        std::optional<TestValue> companion =
            GetValue(registry, k95Key + "\\Ndi\\params\\Master_Name", "");
        if (version.IsWindows95Family()) {
            EXPECT_EQ(companion, Sz("ABCDEFGHIJK"));
        }
    }
}

TEST(SaveTest, StationLeavesTheMasterValuesAlone) {
    for (SystemVersion version : {kNt, kWindows95}) {
        MemoryRegistry registry;
        AddAdapter(registry, version);
        std::string key = AdapterPath(version);
        PutValue(registry, key, "Master_Name", Sz("MASTER OLD"));
        for (const char* name : {"Channel", "Subchannel", "Mac_Optimize"}) {
            PutValue(registry, key, name, Sz("3"));
        }
        {
            AdapterSettings settings(registry, version);
            settings.Master_Name = "NEW";
            settings.Channel = settings.Subchannel = settings.Mac_Optimize = 9;
            settings.Domain = 4;
            settings.Save();
        }
        EXPECT_EQ(GetValue(registry, key, "Master_Name"), Sz("MASTER OLD"));
        for (const char* name : {"Channel", "Subchannel", "Mac_Optimize"}) {
            EXPECT_EQ(GetValue(registry, key, name), Sz("3")) << name;
        }
        std::optional<TestValue> domain = GetValue(registry, key, "Domain");
        ASSERT_TRUE(domain);
        EXPECT_EQ(*domain, version.IsWindows95Family() ? SzSized("4", 4) : Dword(4));
        for (const char* name :
             {"Station_Type", "Roam_Config", "Inactivity_Sec", "Inactivity_Min", "Peer_to_Peer"}) {
            EXPECT_TRUE(GetValue(registry, key, name)) << name;
        }
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

TEST(SaveDomainTest, NtWritesADwordInTheKeyHoldingRoute) {
    MemoryRegistry registry;
    PutValue(registry, kCcs + "\\Services\\davuziro1\\Parameters", "Master_Name", Sz("MASTER"));
    PutValue(registry, kCcs + "\\Services\\davuziro1\\Parameters\\Link", "Route", Sz("1"));
    PutValue(registry, kCcs + "\\Services\\davuziro1\\Parameters", "Domain", Sz("2"));
    {
        AdapterSettings settings(registry, kNt);
        settings.Channel = 9;
        settings.SaveDomain(7);
        EXPECT_EQ(settings.Domain, 7);
        EXPECT_EQ(registry.OpenKeyCount(), 1u);
    }
    std::string routeKey = kCcs + "\\Services\\davuziro1\\Parameters\\Link";
    EXPECT_EQ(GetValue(registry, routeKey, "Domain"), Dword(7));
    EXPECT_FALSE(GetValue(registry, routeKey, "Channel"));
    EXPECT_EQ(GetValue(registry, kNtKey, "Domain"), Sz("2"));
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST(SaveDomainTest, Windows95WritesTextAndLeavesTheCompanion) {
    MemoryRegistry registry;
    AddAdapter(registry, kWindows95);
    PutValue(registry, k95Key + "\\Ndi\\params\\Domain", "", SzSized("1", 4));
    PutValue(registry, k95Key, "Domain", Dword(1));
    {
        AdapterSettings settings(registry, kWindows95);
        settings.SaveDomain(12);
    }
    EXPECT_EQ(GetValue(registry, k95Key, "Domain"), Sz("12"));
    EXPECT_EQ(GetValue(registry, k95Key + "\\Ndi\\params\\Domain", ""), SzSized("1", 4));
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

}  // namespace
}  // namespace vz
