// Fuzz target: cardemu's control language, line by line against a small world with a station of
// each kind (control.scn), each line the emulator takes followed by a round of the driver's reads
// so that faults and world changes are served.
#include <string>
#include <string_view>

#include "emulator/fuzz/fuzz_card.h"
#include "platform/fake/virtual_clock.h"

namespace {

// The server refuses longer lines before they reach the emulator.
constexpr size_t kMaxControlLine = 1024;
// Eight lines reach every state the small world has; each line taken costs a round of reads.
constexpr size_t kMaxLines = 8;
constexpr std::string_view kRefused = "ERR";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vz::Scenario world = vz::LoadWorld(VZ_SOURCE_DIR "/emulator/fuzz/control.scn");
    vz::VirtualClock clock;
    vz::Emulator emulator(world, clock);
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (size_t n = 0; n < kMaxLines && !rest.empty(); ++n) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.size() > kMaxControlLine) {
            continue;
        }
        const std::string reply = emulator.Control(line);
        if (reply.empty()) {
            std::abort();
        }
        // A refused line leaves the world as it was: a round of reads would show nothing new.
        if (reply.rfind(kRefused, 0) != 0) {
            vz::ServeDriverRound(emulator, clock);
        }
    }
    return 0;
}
