// What the settings store relies on from the registry, and Save then Load through it, checked
// against the real registry on Windows and the in-memory one elsewhere alike.
#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "settings/registry_value.h"
#include "settings/tests/settings_fixture.h"
#ifdef _WIN32
#include "platform/win32/registry_win32.h"
using ContractRegistry = vz::Win32Registry;
#else
#include "platform/fake/memory_registry.h"
using ContractRegistry = vz::MemoryRegistry;
#endif

namespace vz {
namespace {

using namespace vz::test;

// Below System, where the adapter's keys live; made afresh for each test and deleted after.
const std::string kScratch = "System\\VzSettingsScratch";

class RegistryContractTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(registry_, kScratch);
        PutValue(registry_, kScratch, "Made", Dword(1));
        ASSERT_EQ(registry_.OpenKey(kRegistryLocalMachine, kScratch.c_str(), kKeyRead, &scratch_),
                  kRegistryOk);
    }
    void TearDown() override {
        registry_.CloseKey(scratch_);
        DeleteTree(registry_, kScratch);
    }

    ContractRegistry registry_;
    RegistryKey scratch_ = kNoRegistryKey;  // open for reading
};

TEST_F(RegistryContractTest, KeysAndValuesReadBackAsWritten) {
    const std::pair<const char*, TestValue> values[] = {
        {"Text", Sz("12")}, {"Padded", SzSized("12", 5)},       {"Number", Dword(0x01020304)},
        {"Empty", Sz("")},  {"Bytes", Binary({1, 0, 2, 0, 3})}, {"", Sz("default")},
        {"MADE", Sz("9")},  // replaces "Made", type and all: names ignore case
    };
    for (const auto& [name, value] : values) {
        PutValue(registry_, kScratch, name, value);
        PutValue(registry_, kScratch + "\\Key" + name, "", value);
    }
    for (const auto& [name, value] : values) {
        EXPECT_EQ(GetValue(registry_, scratch_, name), value) << name;
    }
    RegistryKeyInfo info;
    ASSERT_EQ(registry_.QueryInfoKey(scratch_, &info), kRegistryOk);
    EXPECT_EQ(info.valueCount, 7u);
    EXPECT_EQ(info.subkeyCount, 7u);
    std::set<std::string> listed;  // in some order, each once
    char name[256];
    for (uint32_t index = 0; registry_.EnumKey(scratch_, index, name, sizeof name) == kRegistryOk;
         ++index) {
        EXPECT_TRUE(listed.insert(name).second) << name;
    }
    EXPECT_EQ(listed.size(), 7u);
}

// Windows may report the size of a text's stored (wide) form: sizes are never less than needed.
TEST_F(RegistryContractTest, QueriesStayWithinTheirBufferAndRights) {
    PutValue(registry_, kScratch, "Long", Sz("ridede95.sys"));
    PutValue(registry_, kScratch, "Bare", SzSized("ridede95.sys", 12));
    uint32_t type = kRegNone;
    uint32_t size = 0;
    EXPECT_EQ(registry_.QueryValue(scratch_, "Long", &type, nullptr, &size), kRegistryOk);
    EXPECT_EQ(type, kRegSz);
    EXPECT_GE(size, 13u);
    for (const char* name : {"Long", "Made"}) {
        uint8_t buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), uint8_t{0xAA});
        size = 3;
        EXPECT_EQ(registry_.QueryValue(scratch_, name, &type, buffer, &size), kRegistryMoreData);
        EXPECT_GT(size, 3u) << name;
        EXPECT_TRUE(std::all_of(buffer + 3, std::end(buffer), [](uint8_t b) { return b == 0xAA; }));
    }
    for (const char* name : {"Missing", ""}) {
        EXPECT_EQ(registry_.QueryValue(scratch_, name, &type, nullptr, &size),
                  kRegistryFileNotFound);
    }
    StoredValue bare = ReadValue(registry_, scratch_, "Bare", kMaxValueCapacity);
    EXPECT_EQ(bare.state, ValueState::kPresent);
    EXPECT_EQ(bare.Text(), "ridede95.sys");
    // A key does only what it was opened for.
    EXPECT_NE(registry_.SetValue(scratch_, "Made", kRegSz, bare.data.data(), 4), kRegistryOk);
    RegistryKey writeOnly = kNoRegistryKey;
    ASSERT_EQ(registry_.OpenKey(kRegistryLocalMachine, kScratch.c_str(), kKeySetValue, &writeOnly),
              kRegistryOk);
    EXPECT_NE(registry_.QueryValue(writeOnly, "Made", &type, nullptr, &size), kRegistryOk);
    registry_.CloseKey(writeOnly);
}

// Trees as real machines have them around the adapter, in the order a registry lists keys: on
// NT the network services' Linkage keys, before and after the card's service, hold "Route"; on
// Windows 95 other adapters' class keys stand beside the card's.
struct Layout {
    const char* name;
    SystemVersion version;
    bool routeInParameters;  // NT: the card's Parameters key holds "Route" too
};

const Layout kLayouts[] = {
    {"NtRouteOnlyInOtherServices", kNt, false},
    {"NtRouteInTheCardsParameters", kNt, true},
    {"Windows95", kWindows95, false},
};

// Returns the key the card's values live in; the caller may change nothing outside it.
std::string AddMachine(Registry& registry, const std::string& controlSet, const Layout& layout) {
    std::string services = controlSet + "\\Services\\";
    if (layout.version.IsWindows95Family()) {
        std::string net = services + "Class\\Net\\";
        PutValue(registry, net + "0000", "DeviceVxDs", Sz("ndis2.vxd"));
        PutValue(registry, net + "0000\\Ndi\\params\\Domain", "", Sz("1"));
        AddWindows95Adapter(registry, controlSet, "0001", "adapter");
        PutValue(registry, net + "0001\\Ndi\\params\\Channel", "", SzSized("1", 5));
        PutValue(registry, net + "0001\\Ndi\\params\\Domain", "", SzSized("1", 4));
        PutValue(registry, net + "0002", "DeviceVxDs", Sz("ndis2.vxd"));
        return net + "0001";
    }
    std::string card = services + "davuziro";
    PutValue(registry, services + "Browser\\Linkage", "Route", Sz("\"NetBT\""));
    PutValue(registry, card + "\\Linkage", "Bind", Sz("\\Device\\davuziro1"));
    PutValue(registry, card + "\\Parameters", "Master_Name", Sz("MASTER"));
    PutValue(registry, card + "\\Parameters", "CardType", Sz("PCMCIA"));
    PutValue(registry, card + "\\Parameters", "Station_Type", Dword(0));
    PutValue(registry, card + "\\Parameters", "Domain", Dword(1));
    if (layout.routeInParameters) {
        PutValue(registry, card + "\\Parameters", "Route", Sz("1"));
    }
    for (const char* service : {"NetBT", "Tcpip"}) {
        PutValue(registry, services + service + "\\Linkage", "Route", Sz("\"davuziro1\""));
    }
    return card + "\\Parameters";
}

class SaveLoadContractTest : public RegistryContractTest,
                             public testing::WithParamInterface<Layout> {};

// What the tool saves it loads back, in the types each family's driver reads (a stored text
// number stays text, a DWORD stays a DWORD; the domain alone leaves its companion), and nothing
// anywhere below System changes outside the card's own key.
TEST_P(SaveLoadContractTest, SaveThenLoadRoundTripsInsideTheCardsKey) {
    const Layout& layout = GetParam();
    bool windows95 = layout.version.IsWindows95Family();
    std::string key = AddMachine(registry_, kScratch + "\\CurrentControlSet", layout);
    PutValue(registry_, key, "Subchannel", Sz("7"));
    PutValue(registry_, key, "Roam_Config", Dword(0));
    TreeSnapshot before = Snapshot(registry_, "System");
    {
        AdapterSettings settings(registry_, layout.version);
        settings.Mac_Optimize = settings.Peer_to_Peer = 0;
        settings.StationIsNotStation = settings.Station_Type = 1;
        settings.Master_Name = "LAB-MASTER";
        settings.Channel = 12;
        settings.Subchannel = 3;
        settings.Roam_Config = 2;
        settings.Inactivity_Sec = 35;
        settings.Inactivity_Min = 4;
        settings.Save();
        settings.SaveDomain(11);
    }
    for (const std::string& change : Changes(before, Snapshot(registry_, "System"))) {
        EXPECT_EQ(change.rfind(key, 0), 0u) << change;
    }
    AdapterSettings loaded(registry_, layout.version);
    loaded.Load();
    EXPECT_EQ(Describe(loaded),
              std::string("Mac_Optimize=0 StationIsNotStation=1 Station_Type=1 ") +
                  (windows95 ? "" : "IsPcCard=1 ") +
                  "Master_Name=LAB-MASTER Channel=12 Subchannel=3 Domain=11 Roam_Config=2 "
                  "Inactivity_Sec=35 Inactivity_Min=4 Peer_to_Peer=0");
    EXPECT_EQ(GetValue(registry_, key, "Channel"), windows95 ? SzSized("12", 5) : Dword(12));
    EXPECT_EQ(GetValue(registry_, key, "Subchannel"), SzSized("3", 5));
    EXPECT_EQ(GetValue(registry_, key, "Roam_Config"), Dword(2));
    EXPECT_EQ(GetValue(registry_, key, "Domain"), windows95 ? Sz("11") : Dword(11));
    if (windows95) {
        EXPECT_EQ(GetValue(registry_, key + "\\Ndi\\params\\Channel", ""), SzSized("12", 5));
        EXPECT_EQ(GetValue(registry_, key + "\\Ndi\\params\\Domain", ""), SzSized("1", 4));
        EXPECT_EQ(GetValue(registry_, key + "\\Ndi\\params\\Master_Name", ""), Sz("LAB-MASTER"));
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, SaveLoadContractTest, testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vz
