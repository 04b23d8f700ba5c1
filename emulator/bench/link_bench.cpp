// Round-trip latency of a device call over the emulator link, beside a bare loopback echo of
// the same bytes in the same run: p50 and p99 of 20,000 requests each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"
#include "emulator/bench/served_card.h"
#include "emulator/wire/frame.h"
#include "emulator/wire/stream.h"

namespace {

constexpr int kRounds = 20000;
constexpr int kWarmUp = 500;

using Micros = std::chrono::duration<double, std::micro>;

struct Percentiles {
    double p50;
    double p99;
};

Percentiles Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 99 / 100]};
}

template <typename Call>
std::vector<double> Measure(Call call) {
    for (int i = 0; i < kWarmUp; ++i) {
        call();
    }
    std::vector<double> samples;
    samples.reserve(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        call();
        samples.push_back(Micros(std::chrono::steady_clock::now() - start).count());
    }
    return samples;
}

// The request block GetSyncState sends: a parameter list with parameter 19.
void FillSyncRequest(uint8_t (&block)[vz::kRequestBlockSize]) {
    std::fill(std::begin(block), std::end(block), uint8_t(0));
    vz::ParameterList list;
    uint8_t sync = 0;
    list.Append(vz::kParamSyncState, &sync);
    vz::PutU32(block + vz::kRequestCommandOffset, vz::kCmdGetDriverData);
    vz::PutU32(block + vz::kRequestLengthOffset, list.Length());
    vz::PutU32(block + vz::kRequestResultOffset, uint32_t(-1));
    std::copy(list.Bytes(), list.Bytes() + list.Length(), block + vz::kRequestDataOffset);
}

}  // namespace

int main() {
    const std::unique_ptr<vz::ServedCard> card = vz::ServedCard::Open(
        "system nt 4\ndevice davuziro 1\nmaster 00a0d4000a01 domain=0 signal=-50\n"
        "timing service-us=0 sync-ms=0\n");
    if (!card) {
        return 1;
    }
    vz::EmulatorLink& link = card->Link();
    const vz::DeviceHandle handle = card->OpenedDriver().handle;
    uint8_t input[4];
    vz::PutU32(input, vz::kDriverInputWord);
    uint8_t block[vz::kRequestBlockSize];
    bool allAnswered = true;
    const std::vector<double> linkSamples = Measure([&] {
        FillSyncRequest(block);
        const vz::IoControlResult r = link.IoControl(handle, vz::kDriverIoControlCode, input,
                                                     sizeof input, block, sizeof block);
        allAnswered =
            allAnswered && r.succeeded && vz::GetU32(block + vz::kRequestResultOffset) == 0;
    });

    // A bare echo of the same request frame over its own loopback connection.
    uint16_t echoPort = 0;
    const vz::SocketHandle listener = vz::ListenLoopback(0, echoPort);
    std::thread echo([&] {
        const vz::SocketHandle peer = vz::AcceptConnection(listener);
        std::vector<uint8_t> body;
        std::vector<uint8_t> frame;
        while (vz::ReceiveFrame(peer, body, -1) == vz::FrameRead::kOk) {
            frame.resize(4);
            vz::PutU32(frame.data(), uint32_t(body.size()));
            frame.insert(frame.end(), body.begin(), body.end());
            if (!vz::SendAll(peer, frame.data(), frame.size())) {
                break;
            }
        }
        vz::CloseSocket(peer);
    });
    const vz::SocketHandle client = vz::ConnectLoopback(echoPort);
    FillSyncRequest(block);
    vz::FrameWriter request(vz::WireOp::kIoControl);
    request.U32(0x100).U32(vz::kDriverIoControlCode).U16(4).Bytes(input, 4);
    request.U16(uint16_t(sizeof block)).Bytes(block, sizeof block);
    const std::vector<uint8_t> frame = request.Finish();
    std::vector<uint8_t> reply;
    const std::vector<double> echoSamples = Measure([&] {
        vz::SendAll(client, frame.data(), frame.size());
        vz::ReceiveFrame(client, reply, -1);
    });
    vz::CloseSocket(client);
    echo.join();
    vz::CloseSocket(listener);

    const Percentiles l = Summarise(linkSamples);
    const Percentiles e = Summarise(echoSamples);
    std::printf("%d round trips of a %zu-byte request frame each\n", kRounds, frame.size());
    std::printf("emulator link  p50 %7.1f us  p99 %7.1f us%s\n", l.p50, l.p99,
                allAnswered ? "" : "  (some requests failed)");
    std::printf("bare echo      p50 %7.1f us  p99 %7.1f us\n", e.p50, e.p99);
    std::printf("ratio          p50 %7.2f     p99 %7.2f   (target: p50 within 2.00)\n",
                l.p50 / e.p50, l.p99 / e.p99);
    return allAnswered ? 0 : 1;
}
