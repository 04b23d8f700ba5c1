// Save then Load through the registry the contract tests use, for both Windows families: what
// the tool writes, it reads back, and the types it writes are the ones each driver reads.
#include <gtest/gtest.h>

#include "settings/adapter_settings.h"
#include "settings/tests/contract_registry.h"
#include "settings/tests/registry_tree.h"
#include "settings/tests/settings_fields.h"

namespace vz {
namespace {

using namespace vz::test;

struct Family {
    const char* name;
    SystemVersion version;
    std::string adapterKey;  // below the scratch control set
};

void PrintTo(const Family& c, std::ostream* os) {
    *os << c.name;
}

const std::string kControlSet = kScratch + "\\CurrentControlSet";

const Family kFamilies[] = {
    {"Nt", {kPlatformWindowsNt, 4}, kControlSet + "\\Services\\davuziro1\\Parameters"},
    {"Windows95", {kPlatformWindows95, 4}, kControlSet + "\\Services\\Class\\Net\\0000"},
};

class RoundTripTest : public testing::TestWithParam<Family> {
  protected:
    void SetUp() override {
        DeleteTree(registry_, kScratch);
        if (GetParam().version.IsWindows95Family()) {
            AddWindows95Adapter(registry_, kControlSet, "0000", "adapter");
            PutValue(registry_, GetParam().adapterKey + "\\Ndi\\params\\Channel", "",
                     SzSized("1", 5));
        } else {
            AddNtAdapter(registry_, kControlSet, "davuziro1", "adapter");
        }
    }
    void TearDown() override { DeleteTree(registry_, kScratch); }

    ContractRegistry registry_;
};

TEST_P(RoundTripTest, WhatIsSavedLoadsBack) {
    const Family& family = GetParam();
    Fields saved{.Mac_Optimize = 0,
                 .StationIsNotStation = 1,
                 .Station_Type = 1,
                 .IsPcCard = 0,
                 .Master_Name = "LAB-MASTER",
                 .Channel = 12,
                 .Subchannel = 3,
                 .Domain = 9,
                 .Roam_Config = 2,
                 .Inactivity_Sec = 35,
                 .Inactivity_Min = 4,
                 .Peer_to_Peer = 0};
    {
        AdapterSettings settings(registry_, family.version);
        Apply(saved, settings);
        settings.Save();
        settings.SaveDomain(11);
    }
    saved.Domain = 11;
    AdapterSettings loaded(registry_, family.version);
    loaded.Load();
    EXPECT_EQ(FieldsOf(loaded), saved);

    bool windows95 = family.version.IsWindows95Family();
    EXPECT_EQ(GetValue(registry_, family.adapterKey, "Channel"),
              windows95 ? SzSized("12", 5) : Dword(12));
    EXPECT_EQ(GetValue(registry_, family.adapterKey, "Domain"), windows95 ? Sz("11") : Dword(11));
    EXPECT_EQ(GetValue(registry_, family.adapterKey, "Master_Name"), Sz("LAB-MASTER"));
    if (windows95) {
        EXPECT_EQ(GetValue(registry_, family.adapterKey + "\\Ndi\\params\\Channel", ""),
                  SzSized("12", 5));
        EXPECT_EQ(GetValue(registry_, family.adapterKey + "\\Ndi\\params\\Master_Name", ""),
                  Sz("LAB-MASTER"));
    }
}

TEST_P(RoundTripTest, StoredTextNumbersKeepTheirType) {
    const Family& family = GetParam();
    PutValue(registry_, family.adapterKey, "Channel", Sz("7"));
    PutValue(registry_, family.adapterKey, "Roam_Config", Dword(0));
    {
        AdapterSettings settings(registry_, family.version);
        settings.Load();
        EXPECT_EQ(settings.Channel, 7);
        EXPECT_EQ(settings.Roam_Config, 0);
        settings.StationIsNotStation = 1;
        settings.Channel = 14;
        settings.Roam_Config = 1;
        settings.Save();
    }
    EXPECT_EQ(GetValue(registry_, family.adapterKey, "Channel"), SzSized("14", 5));
    EXPECT_EQ(GetValue(registry_, family.adapterKey, "Roam_Config"), Dword(1));
}

INSTANTIATE_TEST_SUITE_P(Families, RoundTripTest, testing::ValuesIn(kFamilies),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vz
