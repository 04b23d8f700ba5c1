// What the settings store relies on from the registry, and Save then Load through it, checked
// against the real registry on Windows and the in-memory one elsewhere alike.
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

// Names ignore case ("MADE" replaces "Made"); Windows may report a text's stored (wide) size,
// so sizes are never less than needed; a short buffer is never written past; a key does only
// what it was opened for.
TEST_F(RegistryContractTest, ValuesReadBackWithinTheirBufferAndRights) {
    const std::pair<const char*, TestValue> values[] = {
        {"Text", Sz("12")},           {"Padded", SzSized("12", 5)}, {"Number", Dword(0x01020304)},
        {"Bytes", Binary({1, 0, 2})}, {"", Sz("default")},          {"MADE", Sz("9")},
    };
    for (const auto& [name, value] : values) {
        PutValue(registry_, kScratch, name, value);
        PutValue(registry_, kScratch + "\\Key" + name, "", value);
    }
    for (const auto& [name, value] : values) {
        EXPECT_EQ(GetValue(registry_, scratch_, name), value) << name;
    }
    PutValue(registry_, kScratch, "Bare", SzSized("ridede95.sys", 12));  // Windows adds a NUL
    std::set<std::string> listed;                                        // in some order, each once
    char name[256];
    for (uint32_t i = 0; registry_.EnumKey(scratch_, i, name, sizeof name) == kRegistryOk; ++i) {
        listed.insert(name);
    }
    RegistryKeyInfo info;
    ASSERT_EQ(registry_.QueryInfoKey(scratch_, &info), kRegistryOk);
    EXPECT_EQ(std::make_tuple(listed.size(), info.subkeyCount, info.valueCount),
              std::make_tuple(size_t{6}, 6u, 7u));
    uint32_t type = kRegNone;
    uint32_t size = 0;
    EXPECT_EQ(registry_.QueryValue(scratch_, "Bare", &type, nullptr, &size), kRegistryOk);
    EXPECT_GE(size, 12u);
    uint8_t buffer[16] = {0, 0, 0, 0xAA};
    size = 3;
    EXPECT_EQ(registry_.QueryValue(scratch_, "Number", &type, buffer, &size), kRegistryMoreData);
    EXPECT_EQ(std::make_tuple(size > 3, buffer[3]), std::make_tuple(true, uint8_t{0xAA}));
    EXPECT_EQ(registry_.QueryValue(scratch_, "Missing", &type, nullptr, &size),
              kRegistryFileNotFound);
    EXPECT_EQ(ReadValue(registry_, scratch_, "Bare", kMaxValueCapacity).Text(), "ridede95.sys");
    EXPECT_NE(registry_.SetValue(scratch_, "Made", kRegSz, buffer, 4), kRegistryOk);
    RegistryKey writeOnly = kNoRegistryKey;
    ASSERT_EQ(registry_.OpenKey(kRegistryLocalMachine, kScratch.c_str(), kKeySetValue, &writeOnly),
              kRegistryOk);
    EXPECT_NE(registry_.QueryValue(writeOnly, "Made", &type, nullptr, &size), kRegistryOk);
    registry_.CloseKey(writeOnly);
}

// A Master saved, its domain then chosen: a number keeps the type it has and a new one takes
// its family's; texts are 5 bytes for some names and 4 for the rest and never lose their NUL.
// On Windows 95 a companion's unnamed value keeps its type and size, grows rather than cut
// the number, is left alone when longer than the value, and SaveDomain leaves it; NT has none.
struct SavedValue {
    const char* name;
    std::optional<TestValue> before;
    TestValue onWindows95;
    TestValue onNt;
    std::optional<TestValue> companionBefore;
    std::optional<TestValue> companionAfter;
};

const SavedValue kSaved[] = {
    {"Station_Type", SzSized("0", 8), SzSized("1", 4), SzSized("1", 4), {}, {}},
    {"Master_Name", Sz("OLD"), Sz("ABCDEFGHIJK"), Sz("ABCDEFGHIJK"), Sz("OLD"), Sz("ABCDEFGHIJK")},
    {"Channel", {}, SzSized("12", 5), Dword(12), SzSized("3", 5), SzSized("12", 5)},
    {"Subchannel", Sz("3"), SzSized("4", 5), SzSized("4", 5), SzSized("3", 3), SzSized("4", 3)},
    {"Mac_Optimize", Dword(1), Dword(0), Dword(0), Dword(1), Dword(0)},
    {"Domain", {}, Sz("11"), Dword(11), SzSized("1", 8), SzSized("1", 8)},
    {"Roam_Config", Binary({3, 0, 0, 0}), Binary({3, 0, 0, 0}), Binary({3, 0, 0, 0}), {}, {}},
    {"Inactivity_Sec", {}, SzSized("35", 5), Dword(35), SzSized("3", 2), Sz("35")},
    {"Inactivity_Min", Sz("0"), SzSized("4", 5), SzSized("4", 5), {}, {}},
    {"Peer_to_Peer", {}, SzSized("1", 4), Dword(1), {}, {}},
};

// Trees as real machines have them around the adapter, in the order a registry lists keys: on
// NT the network services' Linkage keys, before and after the card's service, hold "Route"; on
// Windows 95 other adapters' class keys stand beside the card's.
struct Layout {
    const char* name;
    SystemVersion version;
    bool routeInParameters;  // NT: the card's Parameters key holds "Route" too
};

const Layout kLayouts[] = {{"NtRouteOnlyInOtherServices", kNt, false},
                           {"NtRouteInTheCardsParameters", kNt, true},
                           {"Windows95", kWindows95, false}};

// Returns the key the card's values live in.
std::string AddMachine(Registry& registry, const std::string& controlSet, const Layout& layout) {
    std::string services = controlSet + "\\Services\\";
    std::string key = services + "davuziro\\Parameters";
    if (layout.version.IsWindows95Family()) {
        std::string net = services + "Class\\Net\\";
        PutValue(registry, net + "0000\\Ndi\\params\\Domain", "", Sz("1"));
        PutValue(registry, net + "0000", "DeviceVxDs", Sz("ndis2.vxd"));
        AddWindows95Adapter(registry, controlSet, "0001", "adapter");
        PutValue(registry, net + "0002", "DeviceVxDs", Sz("ndis2.vxd"));
        key = net + "0001";
    } else {
        PutValue(registry, services + "Browser\\Linkage", "Route", Sz("\"NetBT\""));
        PutValue(registry, services + "davuziro\\Linkage", "Bind", Sz("\\Device\\davuziro1"));
        PutValue(registry, key, "Master_Name", Sz("MASTER"));
        PutValue(registry, key, "Domain", Sz("1"));
        if (layout.routeInParameters) {
            PutValue(registry, key, "Route", Sz("1"));
        }
        for (const char* service : {"NetBT", "Tcpip"}) {
            PutValue(registry, services + service + "\\Linkage", "Route", Sz("\"davuziro1\""));
        }
    }
    PutValue(registry, key, "CardType", Sz("PCMCIA"));
    return key;
}

class SaveLoadContractTest : public RegistryContractTest,
                             public testing::WithParamInterface<Layout> {};

// Nothing below System changes outside the card's own key, and Load gives back what was saved.
TEST_P(SaveLoadContractTest, SaveThenLoadRoundTripsInsideTheCardsKey) {
    bool windows95 = GetParam().version.IsWindows95Family();
    std::string key = AddMachine(registry_, kScratch + "\\CurrentControlSet", GetParam());
    for (const SavedValue& value : kSaved) {
        if (value.before) {
            PutValue(registry_, key, value.name, *value.before);
        }
        if (value.companionBefore) {
            PutValue(registry_, key + "\\Ndi\\params\\" + value.name, "", *value.companionBefore);
        }
    }
    TreeSnapshot before = Snapshot(registry_, "System");
    {
        AdapterSettings s(registry_, GetParam().version);
        // clang-format off
        s.StationIsNotStation = s.Station_Type = 1; s.Roam_Config = 2; s.Mac_Optimize = 0;
        s.Subchannel = s.Inactivity_Min = 4; s.Master_Name = "ABCDEFGHIJKLMNOP"; s.Channel = 12;
        s.Domain = 12345; s.Inactivity_Sec = 35; s.Peer_to_Peer = 7;
        // clang-format on
        s.Save();
        s.SaveDomain(11);
    }
    for (const std::string& change : Changes(before, Snapshot(registry_, "System"))) {
        EXPECT_EQ(change.rfind(key, 0), 0u) << change;
    }
    for (const SavedValue& value : kSaved) {
        EXPECT_EQ(GetValue(registry_, key, value.name), windows95 ? value.onWindows95 : value.onNt)
            << value.name;
        EXPECT_EQ(GetValue(registry_, key + "\\Ndi\\params\\" + value.name, ""),
                  windows95 ? value.companionAfter : value.companionBefore)
            << value.name;
    }
    AdapterSettings loaded(registry_, GetParam().version);
    loaded.Load();
    EXPECT_EQ(Describe(loaded),
              "Mac_Optimize=0 StationIsNotStation=1 Station_Type=1 IsPcCard=1 "
              "Master_Name=ABCDEFGHIJK Channel=12 Subchannel=4 Domain=11 Inactivity_Sec=35 "
              "Inactivity_Min=4");
}

INSTANTIATE_TEST_SUITE_P(Machines, SaveLoadContractTest, testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vz
