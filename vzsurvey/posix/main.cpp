// vzsurvey on the build machine, against cardemu only (VEZUREZ_EMULATOR): for fast tests of the
// whole program. There is no registry here, and no Site Survey & Configuration Tool.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver/card_host.h"
#include "emulator/link/emulator_link.h"
#include "platform/fake/memory_registry.h"
#include "platform/fake/recording_shell.h"
#include "platform/steady_clock.h"
#include "vzsurvey/program/progress_line.h"
#include "vzsurvey/program/survey_program.h"

namespace {

using namespace vz;

std::atomic<bool> stopRequested{false};

void OnInterrupt(int) {
    stopRequested = true;
}

class PosixConsoleSeams : public ConsoleSeams {
  public:
    ~PosixConsoleSeams() override {
        if (lock_ >= 0) {
            close(lock_);
        }
    }

    bool ToolRunning() override { return false; }

    // One run per emulated card: a lock on a file named after its address.
    bool HoldCard() override {
        const char* address = std::getenv(kEmulatorEnvironmentVariable);
        std::string path = "/tmp/vzsurvey-" + std::string(address ? address : "card") + ".lock";
        for (size_t i = sizeof "/tmp/" - 1; i < path.size(); ++i) {
            path[i] = path[i] == ':' || path[i] == '/' ? '-' : path[i];
        }
        lock_ = open(path.c_str(), O_CREAT | O_RDWR, 0600);
        return lock_ >= 0 && flock(lock_, LOCK_EX | LOCK_NB) == 0;
    }

    ProgramContext* Wire() override {
        device_ = MakeEmulatorLinkFromEnvironment();
        if (!device_) {
            return nullptr;
        }
        driver_ = std::make_unique<Driver>(*device_, clock_, cardHost_, DriverVariant::kTool);
        context_.emplace(*driver_, registry_, shell_, clock_, device_->GetSystemVersion());
        return &*context_;
    }

    RunHooks Hooks() override {
        RunHooks hooks;
        hooks.stopRequested = [] { return stopRequested.load(); };
        if (isatty(STDERR_FILENO)) {
            hooks.progress = [this](const std::string& text) { progress_.Show(text); };
        }
        hooks.utcNowMs = [] {
            return int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count());
        };
        return hooks;
    }

  private:
    SteadyClock clock_;
    MemoryRegistry registry_;
    RecordingShell shell_;
    NullCardHost cardHost_;
    std::unique_ptr<DeviceIo> device_;
    std::unique_ptr<Driver> driver_;
    std::optional<ProgramContext> context_;
    int lock_ = -1;
    ProgressLine progress_{std::cerr};
};

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    PosixConsoleSeams seams;
    return RunSurveyProgram(std::vector<std::string>(argv + 1, argv + argc), seams, std::cout,
                            std::cerr);
}
