// A driver on a scripted device and a virtual clock: each request recorded and answered by a
// script, every diagnostic text and status window event captured.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"
#include "driver/tests/status_printing.h"
#include "platform/fake/virtual_clock.h"

namespace vz {

using Bytes = std::vector<uint8_t>;
using Strings = std::vector<std::string>;
using Commands = std::vector<uint32_t>;
using Entries = std::vector<std::pair<uint16_t, Bytes>>;

template <class T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One parameter list entry as the wire has it: id, status and length field, then the value.
inline Bytes Entry(uint16_t id, uint16_t status, uint8_t lengthField, const Bytes& value) {
    return Bytes{uint8_t(id), 0, uint8_t(status), uint8_t(status >> 8), lengthField, 0} + value;
}

// A parameter list as the driver sends it: each entry unhandled, then the terminator.
inline Bytes List(const Entries& entries) {
    Bytes list;
    for (const auto& [id, value] : entries) {
        list = list + Entry(id, kParameterStatusUnset, uint8_t(value.size()), value);
    }
    return list + Bytes{0, 0};
}

// One request as the device sees it; a script step edits it in place.
struct Request {
    uint32_t command;  // without the card index
    uint32_t length;   // as sent; a step may change what goes back
    uint8_t* data;     // the 2000-byte data area
    int32_t result = 0;
    IoControlResult io = {true, 0};
};
using Step = std::function<void(Request&)>;

// The result `result`, with `reply` as all the data that goes back (and its length, even past
// the data area); a non-zero `ioError` fails the I/O control call itself with that error.
inline Step Answer(int32_t result, Bytes reply = {}, uint32_t ioError = 0) {
    return [=](Request& r) {
        std::copy_n(reply.begin(), std::min(reply.size(), kRequestDataSize), r.data);
        r.length = uint32_t(reply.size());
        r.result = result;
        r.io = {ioError == 0, ioError};
    };
}
// The parameter list sent goes back with these values in it, their entries marked handled.
inline Step Params(Entries values) {
    return [=](Request& r) {
        for (uint32_t o = 0; o + kParameterEntryHeader <= r.length;
             o += kParameterEntryHeader + ParameterLength(GetU16(r.data + o))) {
            for (const auto& [id, value] : values) {
                if (GetU16(r.data + o) == id) {
                    PutU16(r.data + o + 2, 0);
                    std::copy(value.begin(), value.end(), r.data + o + kParameterEntryHeader);
                }
            }
        }
    };
}

class ScriptedDevice : public DeviceIo {
  public:
    SystemVersion GetSystemVersion() override { return version; }
    DeviceHandle OpenDevice(const char* path) override {
        log += std::string("open ") + path + ",";
        return present.count(path) != 0 ? *open.insert(nextHandle++).first : kInvalidDeviceHandle;
    }
    void CloseDevice(DeviceHandle handle) override {
        log += "close " + std::to_string(handle) + ",";
        open.erase(handle);
    }
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override {
        log += "define " + std::to_string(flags) + " " + name + " " + (target ? target : "-") + ",";
        return true;
    }
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override {
        input.assign(in, in + inSize);
        block.assign(out, out + outSize);
        commands.push_back(GetU32(out));
        if (!open.count(handle) || code != kDriverIoControlCode || outSize < kRequestBlockSize) {
            return {false, 6};  // ERROR_INVALID_HANDLE
        }
        Request request{commands.back() & 0xFFFFFF, GetU32(out + kRequestLengthOffset),
                        out + kRequestDataOffset};
        sent.insert(sent.end(), request.data, request.data + std::min(request.length, 2000u));
        const Step& step = next < script.size() ? script[next++] : otherwise;
        (step ? step : otherwise)(request);
        PutU32(out + kRequestLengthOffset, request.length);
        PutU32(out + kRequestResultOffset, uint32_t(request.result));
        return request.io;
    }

    SystemVersion version;
    std::set<std::string> present = {"\\\\.\\DAVUZIRO1"};  // the paths that open
    std::string log;                                       // opens, closes and DOS names
    Bytes input;                                           // the last request's input,
    Bytes block;                                           // its whole block,
    Commands commands;                                     // every command word sent
    Bytes sent;                                            // and every data area, in a row
    std::vector<Step> script;    // one step per request (an empty one: the standing answer),
    size_t next = 0;             // from this one,
    Step otherwise = Answer(0);  // then the standing answer
    std::set<DeviceHandle> open;
    DeviceHandle nextHandle = 100;
};

// The channel; the fixture is the program around it, recording its window, mouse and beeps.
class DriverTest : public ::testing::Test, public CardHost {
  protected:
    explicit DriverTest(DriverVariant variant = DriverVariant::kTool)
        : driver(device, clock, *this, variant) {
        driver.reportError = [this](int status, const char* text) {
            reports.push_back(std::to_string(status) + " " + text);
        };
    }
    void OpenStatusWindow(const char* text) override { events.push_back(text); }
    void CloseStatusWindow() override { events.push_back("close"); }
    void DispatchOneMouseMessage() override { ++mousePumps; }
    void Beep(uint32_t hz, uint32_t ms) override {
        events.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    }
    void Script(const std::vector<Step>& steps) {
        device.script.insert(device.script.end(), steps.begin(), steps.end());
    }

    ScriptedDevice device;
    VirtualClock clock;
    Driver driver;
    Strings reports;
    Strings events;
    int mousePumps = 0;
};

// Every test of an operation starts with the channel open.
class OpenDriverTest : public DriverTest {
  protected:
    void SetUp() override { ASSERT_EQ(OpenDriver(driver), 0); }
};

// Command 14's answer: the count at byte 8, then points of a level (dBm below 0) and a reading.
inline Step Calibration(const Bytes& points, int32_t result = 0) {
    return Answer(result, Bytes(8) + Bytes{uint8_t(points.size() / 2)} + points);
}

// A table of cases, by default over an open channel, each row named by its first field.
template <class Case, class Fixture = OpenDriverTest>
class CaseTable : public Fixture, public ::testing::WithParamInterface<Case> {};
constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace vz
