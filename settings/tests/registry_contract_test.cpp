// What the settings store relies on from the registry, checked against the real registry and
// the in-memory one alike.
#include <algorithm>
#include <cstring>
#include <set>

#include <gtest/gtest.h>

#include "settings/registry_value.h"
#include "settings/tests/contract_registry.h"
#include "settings/tests/registry_tree.h"

namespace vz {
namespace {

using namespace vz::test;

class RegistryContractTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(registry_, kScratch);
        PutKey(registry_, kScratch);
    }
    void TearDown() override {
        DeleteTree(registry_, kScratch);
        EXPECT_FALSE(KeyExists(registry_, kScratch));
    }

    RegistryKey Open(const std::string& path, uint32_t access = kKeyAllAccess) {
        RegistryKey key = kNoRegistryKey;
        EXPECT_EQ(registry_.OpenKey(kRegistryLocalMachine, path.c_str(), access, &key), kRegistryOk)
            << path;
        return key;
    }

    ContractRegistry registry_;
};

TEST_F(RegistryContractTest, CreatedKeysOpenAndMissingOnesDoNot) {
    RegistryKey scratch = Open(kScratch);
    RegistryKey created = kNoRegistryKey;
    ASSERT_EQ(registry_.CreateKey(scratch, "Net\\0000\\Ndi", kKeyAllAccess, &created), kRegistryOk);
    EXPECT_NE(created, kNoRegistryKey);
    registry_.CloseKey(created);

    RegistryKey opened = kNoRegistryKey;
    EXPECT_EQ(registry_.OpenKey(scratch, "Net\\0000", kKeyRead, &opened), kRegistryOk);
    registry_.CloseKey(opened);
    EXPECT_EQ(registry_.OpenKey(scratch, "net\\0000\\NDI", kKeyRead, &opened), kRegistryOk);
    registry_.CloseKey(opened);
    EXPECT_EQ(registry_.OpenKey(scratch, "Net\\0001", kKeyRead, &opened), kRegistryFileNotFound);
    EXPECT_EQ(opened, kNoRegistryKey);
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, EnumerationListsEachSubkeyOnceInSomeOrder) {
    const std::set<std::string> names = {"Zeta", "alpha", "Parameters", "davuziro1"};
    for (const std::string& name : names) {
        PutKey(registry_, kScratch + "\\" + name);
    }
    RegistryKey scratch = Open(kScratch, kKeyRead);
    std::multiset<std::string> listed;
    char name[256];
    uint32_t index = 0;
    for (; registry_.EnumKey(scratch, index, name, sizeof name) == kRegistryOk; ++index) {
        listed.insert(name);
    }
    EXPECT_EQ(index, names.size());
    EXPECT_EQ(registry_.EnumKey(scratch, index, name, sizeof name), kRegistryNoMoreItems);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), names);
    EXPECT_EQ(listed.size(), names.size());
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, EnumerationIntoAShortBufferSaysSo) {
    PutKey(registry_, kScratch + "\\CurrentControlSet");
    RegistryKey scratch = Open(kScratch, kKeyRead);
    char name[8];
    EXPECT_EQ(registry_.EnumKey(scratch, 0, name, sizeof name), kRegistryMoreData);
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, InfoCountsSubkeysAndValues) {
    PutKey(registry_, kScratch + "\\Services");
    PutKey(registry_, kScratch + "\\Enum");
    PutValue(registry_, kScratch, "Channel", Dword(3));
    PutValue(registry_, kScratch, "Master_Name", Sz("MASTER"));
    PutValue(registry_, kScratch, "Tag", Binary({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    RegistryKey scratch = Open(kScratch, kKeyRead);
    RegistryKeyInfo info;
    ASSERT_EQ(registry_.QueryInfoKey(scratch, &info), kRegistryOk);
    EXPECT_EQ(info.subkeyCount, 2u);
    EXPECT_EQ(info.valueCount, 3u);
    EXPECT_EQ(info.maxSubkeyNameLength, std::strlen("Services"));
    EXPECT_EQ(info.maxValueNameLength, std::strlen("Master_Name"));
    EXPECT_GE(info.maxValueDataLength, 10u);
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, ValuesReadBackWithTheirTypeAndSize) {
    const std::pair<const char*, TestValue> values[] = {
        {"Text", Sz("12")},
        {"Padded", SzSized("12", 5)},
        {"Empty", Sz("")},
        {"Number", Dword(0x01020304)},
        {"Bytes", Binary({1, 0, 2, 0, 3})},
        {"", Sz("default")},
    };
    for (const auto& [name, value] : values) {
        PutValue(registry_, kScratch, name, value);
    }
    for (const auto& [name, value] : values) {
        EXPECT_EQ(GetValue(registry_, kScratch, name), value) << name;
    }
}

TEST_F(RegistryContractTest, ValueNamesIgnoreCase) {
    PutValue(registry_, kScratch, "Master_Name", Sz("A"));
    PutValue(registry_, kScratch, "MASTER_NAME", Sz("B"));
    EXPECT_EQ(GetValue(registry_, kScratch, "master_name"), Sz("B"));
    RegistryKey scratch = Open(kScratch, kKeyRead);
    RegistryKeyInfo info;
    ASSERT_EQ(registry_.QueryInfoKey(scratch, &info), kRegistryOk);
    EXPECT_EQ(info.valueCount, 1u);
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, ReplacingAValueReplacesItsType) {
    PutValue(registry_, kScratch, "Domain", Sz("1"));
    PutValue(registry_, kScratch, "Domain", Dword(9));
    EXPECT_EQ(GetValue(registry_, kScratch, "Domain"), Dword(9));
}

TEST_F(RegistryContractTest, AShortBufferGivesMoreDataAndIsNotOverrun) {
    PutValue(registry_, kScratch, "Long", Sz("ridede95.sys"));
    PutValue(registry_, kScratch, "Number", Dword(7));
    RegistryKey scratch = Open(kScratch, kKeyRead);
    for (const char* name : {"Long", "Number"}) {
        uint8_t buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), uint8_t{0xAA});
        uint32_t type = kRegNone;
        uint32_t size = 3;
        EXPECT_EQ(registry_.QueryValue(scratch, name, &type, buffer, &size), kRegistryMoreData)
            << name;
        // Windows may report the size of the stored (wide) form; never less than needed.
        EXPECT_GT(size, 3u) << name;
        EXPECT_TRUE(std::all_of(buffer + 3, std::end(buffer), [](uint8_t b) { return b == 0xAA; }))
            << name;
    }
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, NullDataAsksForTypeAndSize) {
    PutValue(registry_, kScratch, "Channel", SzSized("12", 5));
    PutValue(registry_, kScratch, "Domain", Dword(1));
    RegistryKey scratch = Open(kScratch, kKeyRead);
    uint32_t type = kRegNone;
    uint32_t size = 0;
    EXPECT_EQ(registry_.QueryValue(scratch, "Channel", &type, nullptr, &size), kRegistryOk);
    EXPECT_EQ(type, kRegSz);
    EXPECT_GE(size, 5u);
    size = 0;
    EXPECT_EQ(registry_.QueryValue(scratch, "Domain", &type, nullptr, &size), kRegistryOk);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(size, 4u);
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, MissingValuesAreNotFound) {
    PutKey(registry_, kScratch + "\\Ndi\\params\\Channel");
    RegistryKey companion = Open(kScratch + "\\Ndi\\params\\Channel", kKeyRead);
    uint8_t buffer[4];
    uint32_t type = kRegNone;
    uint32_t size = sizeof buffer;
    EXPECT_EQ(registry_.QueryValue(companion, "Channel", &type, buffer, &size),
              kRegistryFileNotFound);
    size = sizeof buffer;
    EXPECT_EQ(registry_.QueryValue(companion, "", &type, buffer, &size), kRegistryFileNotFound);
    registry_.CloseKey(companion);
}

TEST_F(RegistryContractTest, StringWithoutNulIsReadWithinBounds) {
    PutValue(registry_, kScratch, "DeviceVxDs", SzSized("ridede95.sys", 12));
    RegistryKey scratch = Open(kScratch, kKeyRead);
    StoredValue value = ReadValue(registry_, scratch, "DeviceVxDs", kMaxValueCapacity);
    EXPECT_EQ(value.state, ValueState::kPresent);
    EXPECT_EQ(value.Text(), "ridede95.sys");
    registry_.CloseKey(scratch);
}

TEST_F(RegistryContractTest, AKeyWithSubkeysIsNotDeleted) {
    PutKey(registry_, kScratch + "\\Parent\\Child");
    std::string parent = kScratch + "\\Parent";
    EXPECT_NE(registry_.DeleteKey(kRegistryLocalMachine, parent.c_str()), kRegistryOk);
    EXPECT_EQ(registry_.DeleteKey(kRegistryLocalMachine, (parent + "\\Child").c_str()),
              kRegistryOk);
    EXPECT_EQ(registry_.DeleteKey(kRegistryLocalMachine, parent.c_str()), kRegistryOk);
    EXPECT_FALSE(KeyExists(registry_, parent));
}

TEST_F(RegistryContractTest, AKeyDoesOnlyWhatItWasOpenedFor) {
    PutValue(registry_, kScratch, "Domain", Dword(1));
    RegistryKey writeOnly = Open(kScratch, kKeySetValue);
    uint8_t buffer[4];
    uint32_t type = kRegNone;
    uint32_t size = sizeof buffer;
    EXPECT_NE(registry_.QueryValue(writeOnly, "Domain", &type, buffer, &size), kRegistryOk);
    registry_.CloseKey(writeOnly);

    RegistryKey readOnly = Open(kScratch, kKeyRead);
    EXPECT_NE(registry_.SetValue(readOnly, "Domain", kRegDword, buffer, 4), kRegistryOk);
    registry_.CloseKey(readOnly);
    EXPECT_EQ(GetValue(registry_, kScratch, "Domain"), Dword(1));
}

}  // namespace
}  // namespace vz
