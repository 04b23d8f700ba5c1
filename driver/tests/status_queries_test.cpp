// Status queries: the Master node list, address texts, names and version texts.
#include <cstring>

#include "driver/parameter_list.h"
#include "driver/status_queries.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Bytes = std::vector<uint8_t>;

class StatusQueries : public DriverTest {
  protected:
    void SetUp() override { Open(); }

    int ReadMasterNode() {
        return GetMasterNode(driver, masterAddress, masterName, channel, subchannel, nodeAddress,
                             sync);
    }

    char masterAddress[13] = "previous-mas";
    char masterName[12] = {};
    uint8_t channel = 0, subchannel = 0, sync = 0;
    char nodeAddress[13] = "previous-nod";
};

const Bytes kMasterBytes = {0x02, 0x00, 0x00, 0x12, 0xAB, 0xCD};
const Bytes kNodeBytes = {0x00, 0xA0, 0xF8, 0x01, 0x02, 0x03};

TEST_F(StatusQueries, MasterNodeSendsOneListAndFormatsAddresses) {
    device.Then(AnswerParameters({{20, kMasterBytes},
                                  {6, kNodeBytes},
                                  {21, Bytes(12, 'N')},
                                  {22, {4}},
                                  {23, {9}},
                                  {19, {1}}}));
    EXPECT_EQ(ReadMasterNode(), 0);
    EXPECT_STREQ(masterAddress, "02000012abcd");
    EXPECT_STREQ(nodeAddress, "00a0f8010203");
    EXPECT_STREQ(masterName, "NNNNNNNNNNN") << "a 12-character name is cut to 11";
    EXPECT_EQ(channel, 4);
    EXPECT_EQ(subchannel, 9);
    EXPECT_EQ(sync, 1);
    EXPECT_EQ(SentCommand(), 3u);
    const Bytes sent = SentData();
    ASSERT_EQ(sent.size(), 65u);
    const uint16_t ids[] = {20, 6, 21, 22, 23, 19};
    size_t offset = 0;
    for (uint16_t id : ids) {
        EXPECT_EQ(GetU16(sent.data() + offset), id);
        offset += 6 + GetU16(sent.data() + offset + 4);
    }
}

TEST_F(StatusQueries, MissingSyncStateKeepsAddressTextsButFillsTheRest) {
    device.Then(AnswerParameters({{20, kMasterBytes},
                                  {6, kNodeBytes},
                                  {21, Bytes{'A', 'P', '1', 0}},
                                  {22, {4}},
                                  {23, {9}}}));
    EXPECT_EQ(ReadMasterNode(), -1);
    EXPECT_STREQ(masterAddress, "previous-mas");
    EXPECT_STREQ(nodeAddress, "previous-nod");
    EXPECT_STREQ(masterName, "AP1");
    EXPECT_EQ(channel, 4);
    EXPECT_EQ(reports,
              (std::vector<std::string>{"-1 GetfromDataList in GetMasterNode Sync State"}));
}

TEST_F(StatusQueries, FullLengthNameStaysTerminatedWhenALaterValueIsMissing) {
    std::memset(masterName, 'x', sizeof masterName);
    device.Then(AnswerParameters({{20, kMasterBytes}, {6, kNodeBytes}, {21, Bytes(12, 'N')}}));
    EXPECT_EQ(ReadMasterNode(), -1);
    EXPECT_EQ(strnlen(masterName, sizeof masterName), 11u);
}

TEST_F(StatusQueries, ChannelFailureIsPassedUpWithTheSendStep) {
    device.Then(FailIoControl(31));
    EXPECT_EQ(ReadMasterNode(), -9);
    EXPECT_EQ(reports.back(), "-9 GetDriverData in GetMasterNode");
}

struct SingleReadCase {
    const char* name;
    int (*read)(Driver&, uint8_t*);
    uint16_t id;
    const char* sendText;
    const char* readText;
};

int ReadSync(Driver& d, uint8_t* out) {
    return GetSyncState(d, *out);
}
int ReadRoaming(Driver& d, uint8_t* out) {
    return GetRoamingFlag(d, *out);
}

class SingleReads : public StatusQueries, public ::testing::WithParamInterface<SingleReadCase> {};

TEST_P(SingleReads, SendOneEntryAndReportEachFailingStep) {
    const SingleReadCase& c = GetParam();
    uint8_t value = 0x33;
    device.Then(AnswerParameters({{c.id, {1}}}));
    EXPECT_EQ(c.read(driver, &value), 0);
    EXPECT_EQ(value, 1);
    const Bytes sent = SentData();
    ASSERT_EQ(sent.size(), 8u + ParameterLength(c.id));
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 7),
              (Bytes{uint8_t(c.id), 0, 0xFF, 0xFF, uint8_t(ParameterLength(c.id)), 0, 0x33}));

    device.Then(Answer(-1));
    EXPECT_EQ(c.read(driver, &value), -1);
    device.Then(AnswerParameters({}));
    EXPECT_EQ(c.read(driver, &value), -1);
    EXPECT_EQ(reports, (std::vector<std::string>{std::string("-1 ") + c.sendText,
                                                 std::string("-1 ") + c.readText}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleReads,
    ::testing::Values(SingleReadCase{"Sync", ReadSync, 19, "GetDriverData in GetSyncState",
                                     "GetfromDataList in GetSyncState"},
                      SingleReadCase{"Roaming", ReadRoaming, 17, "GetDriverData in GetRoamingFlag",
                                     "GetfromDataList in GetRoamingFlag"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StatusQueries, RomVersionStaysTerminatedOverADirtyBuffer) {
    char version[32];
    std::memset(version, 'q', sizeof version);
    device.Then(AnswerParameters({{18, Bytes{'V', '1', '.', '4', '9', 'b', ' '}}}));
    EXPECT_EQ(GetVersion(driver, version), 0);
    EXPECT_STREQ(version, "V1.49b ");
}

TEST_F(StatusQueries, DriverVersionWithoutNulIsTerminatedInsideItsBuffer) {
    device.Then(AnswerBytes(Bytes(40, 'v')));
    char version[32];
    EXPECT_EQ(GetDriverVersion(driver, version), 0);
    EXPECT_EQ(std::strlen(version), 31u);
    EXPECT_EQ(SentData().size(), 0u);
}

}  // namespace
}  // namespace vz
