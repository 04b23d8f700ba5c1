// Load over an in-memory registry the size and shape of a real Windows System key, next to a
// plain walk that only lists the same tree: keys visited, time, and the ratio of the two.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/fake/memory_registry.h"
#include "settings/adapter_settings.h"

namespace vz {
namespace {

constexpr SystemVersion kNt{kPlatformWindowsNt, 4};

class TreeBuilder {
  public:
    explicit TreeBuilder(MemoryRegistry& registry) : registry_(registry) {}

    void Key(const std::string& path, int values) {
        RegistryKey key = kNoRegistryKey;
        registry_.CreateKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key);
        static const char* kNames[] = {"DriverDesc", "Class",   "Start", "Type",
                                       "ImagePath",  "Service", "Mfg",   "HardwareID"};
        for (int i = 0; i < values; ++i) {
            const char* text = "some setting text";
            registry_.SetValue(key, kNames[i % 8], kRegSz, reinterpret_cast<const uint8_t*>(text),
                               18);
        }
        registry_.CloseKey(key);
        ++keys_;
    }
    void Value(const std::string& path, const char* name, const char* text) {
        RegistryKey key = kNoRegistryKey;
        registry_.CreateKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key);
        registry_.SetValue(key, name, kRegSz, reinterpret_cast<const uint8_t*>(text),
                           static_cast<uint32_t>(std::strlen(text)) + 1);
        registry_.CloseKey(key);
    }
    int Keys() const { return keys_; }

  private:
    MemoryRegistry& registry_;
    int keys_ = 0;
};

std::string Hex(int n, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", width, n);
    return text;
}

// One control set as Windows lists it (alphabetically): Control with its device classes, Enum
// with the buses' device instances, Hardware Profiles, and Services with the driver's service
// among some six hundred others.
void AddControlSet(TreeBuilder& tree, const std::string& set, bool withAdapter) {
    tree.Key(set, 0);
    for (int c = 0; c < 60; ++c) {
        std::string cls = set + "\\Control\\Class\\{4D36E9" + Hex(c, 2) + "-E325-11CE-BFC1}";
        tree.Key(cls, 3);
        for (int i = 0; i < 6; ++i) {
            tree.Key(cls + "\\" + Hex(i, 4), 8);
            tree.Key(cls + "\\" + Hex(i, 4) + "\\Ndi", 2);
            tree.Key(cls + "\\" + Hex(i, 4) + "\\Ndi\\Interfaces", 3);
        }
    }
    for (int k = 0; k < 300; ++k) {
        tree.Key(set + "\\Control\\Session Manager\\Setting" + std::to_string(k), 4);
    }
    const char* buses[] = {"ACPI", "HID", "PCI", "ROOT", "STORAGE", "SWD", "USB", "USBSTOR"};
    for (const char* bus : buses) {
        for (int d = 0; d < 135; ++d) {
            std::string device = set + "\\Enum\\" + bus + "\\VEN_" + Hex(d * 37, 4) + "&DEV_01";
            tree.Key(device, 0);
            for (int i = 0; i < 3; ++i) {
                std::string instance = device + "\\" + Hex(i + d, 8);
                tree.Key(instance, 8);
                tree.Key(instance + "\\Device Parameters", 3);
                tree.Key(instance + "\\LogConf", 1);
            }
        }
    }
    tree.Key(set + "\\Hardware Profiles\\0001\\System", 1);
    std::vector<std::string> services;
    for (int s = 0; s < 600; ++s) {
        services.push_back(std::string(1, static_cast<char>('a' + s * 26 / 600)) + "service" +
                           std::to_string(s));
    }
    services.push_back("davuziro1");
    std::sort(services.begin(), services.end());
    for (size_t s = 0; s < services.size(); ++s) {
        std::string service = set + "\\Services\\" + services[s];
        tree.Key(service, 4);
        tree.Key(service + "\\Parameters", 3);
        tree.Key(service + "\\Enum", 2);
        tree.Key(service + "\\Security", 1);
        if (s % 2 == 0) {
            tree.Key(service + "\\Parameters\\Interfaces", 2);
        }
    }
    if (withAdapter) {
        tree.Value(set + "\\Services\\davuziro1\\Parameters", "Master_Name", "MASTER");
        tree.Value(set + "\\Services\\davuziro1\\Parameters", "Channel", "3");
    }
}

MemoryRegistry& SystemLikeRegistry(int* keyCount = nullptr) {
    static MemoryRegistry registry;
    static int keys = [] {
        TreeBuilder tree(registry);
        AddControlSet(tree, "System\\ControlSet001", true);
        AddControlSet(tree, "System\\ControlSet002", true);
        AddControlSet(tree, "System\\CurrentControlSet", true);
        for (int d = 0; d < 1500; ++d) {
            std::string package = "System\\DriverDatabase\\DriverPackages\\pkg" + Hex(d, 5);
            tree.Key(package, 4);
            tree.Key(package + "\\Descriptors", 1);
            tree.Key(package + "\\Strings", 6);
        }
        tree.Key("System\\MountedDevices", 8);
        tree.Key("System\\Select", 4);
        tree.Key("System\\Setup", 6);
        return tree.Keys();
    }();
    if (keyCount != nullptr) {
        *keyCount = keys;
    }
    return registry;
}

void PlainWalk(Registry& registry, RegistryKey key, uint64_t& visited) {
    ++visited;
    char name[256];
    for (uint32_t i = 0; registry.EnumKey(key, i, name, sizeof name) == kRegistryOk; ++i) {
        RegistryKey subkey = kNoRegistryKey;
        if (registry.OpenKey(key, name, kKeyRead, &subkey) == kRegistryOk) {
            PlainWalk(registry, subkey, visited);
            registry.CloseKey(subkey);
        }
    }
}

void BM_Load(benchmark::State& state) {
    MemoryRegistry& registry = SystemLikeRegistry();
    for (auto _ : state) {
        registry.ResetCalls();
        AdapterSettings settings(registry, kNt);
        settings.Load();
        benchmark::DoNotOptimize(settings.Channel);
    }
    // Every key the walk entered was opened once; Load itself opens System.
    state.counters["keys"] = static_cast<double>(registry.Calls().opens);
    state.counters["valueReads"] = static_cast<double>(registry.Calls().valueQueries);
}

void BM_MonitorLoadFindingNothing(benchmark::State& state) {
    MemoryRegistry& registry = SystemLikeRegistry();
    for (auto _ : state) {
        registry.ResetCalls();
        AdapterSettings settings(registry, kNt);
        settings.Load(SettingsReader::kMonitor);
        benchmark::DoNotOptimize(settings.Channel);
    }
    state.counters["keys"] = static_cast<double>(registry.Calls().opens);
    state.counters["valueReads"] = static_cast<double>(registry.Calls().valueQueries);
}

void BM_PlainWalk(benchmark::State& state) {
    MemoryRegistry& registry = SystemLikeRegistry();
    uint64_t visited = 0;
    for (auto _ : state) {
        visited = 0;
        RegistryKey system = kNoRegistryKey;
        registry.OpenKey(kRegistryLocalMachine, "System", kKeyRead, &system);
        PlainWalk(registry, system, visited);
        registry.CloseKey(system);
    }
    state.counters["keys"] = static_cast<double>(visited);
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonitorLoadFindingNothing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWalk)->Unit(benchmark::kMillisecond);

class RememberingReporter : public benchmark::ConsoleReporter {
  public:
    RememberingReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            Result& result = results[run.benchmark_name()];
            result.ms = run.GetAdjustedCPUTime();  // steadier than wall time on a shared machine
            auto keys = run.counters.find("keys");
            result.keys = keys == run.counters.end() ? 0 : keys->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    struct Result {
        double ms = 0;
        double keys = 0;
    };
    std::map<std::string, Result> results;
};

}  // namespace
}  // namespace vz

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    int keys = 0;
    vz::SystemLikeRegistry(&keys);
    std::printf("registry: %d keys below System\n", keys);
    vz::RememberingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& r = reporter.results;
    if (r.count("BM_Load") && r.count("BM_PlainWalk") && r.at("BM_PlainWalk").ms > 0) {
        const auto& load = r.at("BM_Load");
        const auto& plain = r.at("BM_PlainWalk");
        std::printf("Load: %.0f keys in %.2f ms CPU; plain walk: %.0f keys in %.2f ms CPU\n",
                    load.keys, load.ms, plain.keys, plain.ms);
        std::printf("Load / plain walk: %.2f in time, %.2f per key visited\n", load.ms / plain.ms,
                    (load.ms / load.keys) / (plain.ms / plain.keys));
    }
    benchmark::Shutdown();
    return 0;
}
