// What the fault soaks share: random faults in the control language, a session that counts the
// device handles a program holds, and the heap in use.
#pragma once

#include <gtest/gtest.h>
#include <malloc.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "driver/request_block.h"
#include "emulator/core/emulator.h"
#include "emulator/core/emulator_device_io.h"
#include "emulator/core/faults.h"
#include "platform/fake/registry_tree.h"

#ifdef __SANITIZE_ADDRESS__
// The sanitizer runtime's count of the heap in use (its header is not on every machine).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace vz {

// Room for containers that settle at a larger capacity than they had at the first measurement;
// a leak per tick or per window opened would be megabytes.
inline constexpr size_t kHeapSlackBytes = 64 * 1024;

// What the tool reports once it has found the default world's card again.
inline constexpr char kLobbyReport[] = "Synchronized to 00a0d4010001  Lobby";

// The default world both soaks run in, as cardemu ships it.
inline std::string DefaultWorldText() {
    std::ifstream file(VZ_DEFAULT_SCENARIO);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The adapter's NT parameters, as the driver's setup leaves them for the default world's card.
inline void InstallDefaultAdapter(Registry& registry) {
    const std::string parameters = "System\\CurrentControlSet\\Services\\davuziro\\Parameters";
    test::PutValue(registry, parameters, "Master_Name", test::Sz("MASTER"));
    test::PutValue(registry, parameters, "CardType", test::Sz("PCMCIA"));
    test::PutValue(registry, parameters, "Station_Type", test::Dword(0));
    test::PutValue(registry, parameters, "Domain", test::Dword(3));
}

inline size_t HeapInUse() {
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// One fault of `kind` on a command the programs send, in the control language.
inline std::string RandomFault(FaultKind kind, std::mt19937& random) {
    auto pick = [&random](std::initializer_list<int> values) {
        return std::to_string(values.begin()[random() % values.size()]);
    };
    const std::string cmd =
        " cmd=" + pick({kCmdGetDriverVersion, kCmdGetDriverData, kCmdSetDriverData,
                        kCmdRestartDriver, kCmdInitCard, kCmdGetRssiCalibration, kCmdGetDriverData,
                        kCmdGetRssi, kCmdDisableHopping, kCmdTransmitPing, kCmdGetPingEcho,
                        kCmdSearchSynchronous, kCmdStartMasterSearch});
    const std::string nth = " nth=" + pick({1, 2, 3, 5});
    // What follows the kind's name, in the order of FaultKind.
    const std::string fields[kFaultKindCount] = {
        cmd + nth,
        cmd + " status=" + pick({-1, -2, -5, -9, 1, 2, 7}) + nth + " count=" + pick({1, 2, 20}),
        " cmd=" + pick({kCmdGetDriverData, kCmdSetDriverData}) +
            (random() % 2 ? "" : " param=" + pick({6, 18, 19, 20, 21, 22, 23})),
        cmd + " value=" + pick({0, 1, 5, 13, 1999, 2000, 2001, 65535}),
        " status=" + pick({-5, -6, -7}) + " count=" + pick({1, 2}),
        cmd + " ms=" + pick({5, 150, 1000, 3000}),
        cmd + " error=" + pick({1, 6, 31, 259, 1167})};
    return std::string("fault ") + FaultKindName(kind) + fields[static_cast<size_t>(kind)];
}

// Faults armed at random, tick by tick: one tick in 20 gets a fault of a random kind while
// fewer than eight wait. Faults on requests the program under soak never sends would wait for
// ever, so every hundred ticks those still waiting are cleared and new ones keep coming.
class RandomFaults {
  public:
    RandomFaults(Emulator& emulator, uint32_t seed) : emulator_(emulator), random_(seed) {}

    void Tick() {
        if (++ticks_ % kFreshFaultsEvery == 0) {
            ASSERT_EQ(emulator_.Control("fault clear"), "OK");
        }
        if (emulator_.Faults().Pending() < kMaxPending && random_() % kOneFaultInTicks == 0) {
            const std::string fault = RandomFault(FaultKind(random_() % kFaultKindCount), random_);
            ASSERT_EQ(emulator_.Control(fault), "OK") << fault;
        }
    }

  private:
    static constexpr uint32_t kOneFaultInTicks = 20;
    static constexpr size_t kMaxPending = 8;
    static constexpr uint64_t kFreshFaultsEvery = 100;

    Emulator& emulator_;
    std::mt19937 random_;
    uint64_t ticks_ = 0;
};

// A program's session with the card that keeps the handles the program holds: opened and not
// yet closed, whether or not the emulator still knows them after a dropped connection.
struct CountedSession : EmulatorDeviceIo {
    using EmulatorDeviceIo::EmulatorDeviceIo;
    DeviceHandle OpenDevice(const char* path) override {
        const DeviceHandle handle = EmulatorDeviceIo::OpenDevice(path);
        if (handle != kInvalidDeviceHandle) {
            held.insert(handle);
        }
        return handle;
    }
    void CloseDevice(DeviceHandle handle) override {
        held.erase(handle);
        EmulatorDeviceIo::CloseDevice(handle);
    }

    std::set<DeviceHandle> held;
};

}  // namespace vz
