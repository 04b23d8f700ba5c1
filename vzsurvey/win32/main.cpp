// vzsurvey's entry point on Windows: the shared Windows seams, Ctrl+C, and one copy at a time.
#include <windows.h>

#include <atomic>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "program/win32/program_seams.h"
#include "vzsurvey/program/progress_line.h"
#include "vzsurvey/program/survey_program.h"
#include "zazivev/res/strings.h"

namespace {

using namespace vz;

std::atomic<bool> stopRequested{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        stopRequested = true;
        return TRUE;
    }
    return FALSE;
}

// Milliseconds since the Unix epoch, from the system's 100 ns ticks since 1601.
int64_t UtcNowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    return int64_t((ticks - 116444736000000000ULL) / 10000);
}

bool ErrorIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

class Win32ConsoleSeams : public ConsoleSeams {
  public:
    ~Win32ConsoleSeams() override {
        if (cardMutex_ != nullptr) {
            CloseHandle(cardMutex_);
        }
    }

    bool ToolRunning() override { return seams_.shell.FindTopLevelWindow(TEXT_MAIN_CAPTION) != 0; }

    bool HoldCard() override {
        cardMutex_ = CreateMutexA(nullptr, FALSE, "VezurezSurveyCard");
        return cardMutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    }

    ProgramContext* Wire() override {
        context_.emplace(seams_.Wire(GetModuleHandleA(nullptr), cardHost_, DriverVariant::kTool,
                                     DiagnosticLine::kStatusAndText));
        return &*context_;
    }

    RunHooks Hooks() override {
        RunHooks hooks;
        hooks.stopRequested = [] { return stopRequested.load(); };
        if (ErrorIsConsole()) {
            hooks.progress = [this](const std::string& text) { progress_.Show(text); };
        }
        hooks.utcNowMs = UtcNowMs;
        return hooks;
    }

  private:
    ProgramSeams seams_;
    NullCardHost cardHost_;
    std::optional<ProgramContext> context_;
    HANDLE cardMutex_ = nullptr;
    ProgressLine progress_{std::cerr};
};

}  // namespace

int main(int argc, char** argv) {
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    Win32ConsoleSeams seams;
    return RunSurveyProgram(std::vector<std::string>(argv + 1, argv + argc), seams, std::cout,
                            std::cerr);
}
