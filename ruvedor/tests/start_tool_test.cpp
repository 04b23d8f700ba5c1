// A double click on the tray icon: finding zazivev.exe and starting it.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

struct SearchCase {
    const char* what;
    const char* path;  // the PATH variable; null: not set
    std::vector<std::string> files;
    std::string found;  // empty: nothing is started
};

class StartTool : public MonitorTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(StartTool, SearchesCurrentDirectoryThenPathAndStartsWithoutWaiting) {
    const SearchCase& c = GetParam();
    Start();
    shell.SetCurrentDirectory("C:\\work");
    if (c.path != nullptr) {
        shell.SetEnvironmentVariable("PATH", c.path);
    }
    for (const std::string& file : c.files) {
        shell.AddFile(file);
    }
    ui.RunFor(500);  // halfway through the poll period

    TrayMouse(kWmLButtonDblClk);
    EXPECT_EQ(shell.Started().size(), c.found.empty() ? 0u : 1u);
    if (!c.found.empty()) {
        EXPECT_EQ(shell.Started()[0].applicationPath, c.found);
        EXPECT_EQ(shell.Started()[0].commandLine, c.found + " _spawnlp two");
    }
    // The poll timer starts again from the double click: no tick for a second.
    const size_t mark = TrayCallCount();
    ui.RunFor(StatusMonitorDialog::kLivePeriodMs - 1);
    EXPECT_EQ(TrayCallCount(), mark);
    ui.RunFor(1);
    EXPECT_EQ(TrayCallCount(), mark + 1);
}

// The current directory (C:\work) first, then PATH in order: empty entries skipped, an entry
// ending in a separator or naming only a drive joined as it is.
INSTANTIATE_TEST_SUITE_P(
    Places, StartTool,
    ::testing::Values(
        SearchCase{"CurrentDirectoryFirst",
                   "C:\\bin",
                   {"C:\\work\\zazivev.exe", "C:\\bin\\zazivev.exe"},
                   "C:\\work\\zazivev.exe"},
        SearchCase{"PathInOrder",
                   "C:\\bin;;F:/apps/;E:",
                   {"F:/apps/zazivev.exe", "E:zazivev.exe"},
                   "F:/apps/zazivev.exe"},
        SearchCase{"DriveOnlyEntry", "C:\\bin;D:\\tools\\;E:", {"E:zazivev.exe"}, "E:zazivev.exe"},
        SearchCase{"NoPath", nullptr, {"C:\\zazivev.exe"}, ""}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return info.param.what; });

}  // namespace
}  // namespace vz
