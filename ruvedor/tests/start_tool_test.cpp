// A double click on the tray icon: finding zazivev.exe and starting it.
#include "ruvedor/tests/monitor_fixture.h"

namespace vz {
namespace {

struct SearchCase {
    const char* what;
    const char* currentDirectory;
    const char* path;  // the PATH variable; null: not set
    std::vector<std::string> files;
    std::string found;  // empty: nothing is started
};

class StartTool : public MonitorTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(StartTool, SearchesCurrentDirectoryThenPathAndStartsWithoutWaiting) {
    const SearchCase& c = GetParam();
    Start();
    shell.SetCurrentDirectory(c.currentDirectory);
    if (c.path != nullptr)
        shell.SetEnvironmentVariable("PATH", c.path);
    for (const std::string& file : c.files)
        shell.AddFile(file);
    ui.RunFor(500);  // the timer was running at 1 s

    TrayMouse(kLeftDoubleClick);
    if (c.found.empty()) {
        EXPECT_TRUE(shell.Started().empty());
    } else {
        ASSERT_EQ(shell.Started().size(), 1u);
        EXPECT_EQ(shell.Started()[0].applicationPath, c.found);
        EXPECT_EQ(shell.Started()[0].commandLine, c.found + " _spawnlp two");
    }
    // The poll timer starts again from the double click: no tick for a second.
    const size_t mark = TrayCallCount();
    ui.RunFor(900);
    EXPECT_EQ(TrayCallCount(), mark);
    ui.RunFor(100);
    EXPECT_EQ(TrayCallCount(), mark + 1);
    EXPECT_FALSE(window->IsWindowVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Places, StartTool,
    ::testing::Values(
        SearchCase{"CurrentDirectoryFirst",
                   "C:\\Vezurez",
                   "C:\\bin",
                   {"C:\\Vezurez\\zazivev.exe", "C:\\bin\\zazivev.exe"},
                   "C:\\Vezurez\\zazivev.exe"},
        SearchCase{"PathInOrder",
                   "C:\\work",
                   "C:\\bin;;D:\\tools\\;E:",
                   {"D:\\tools\\zazivev.exe", "E:zazivev.exe"},
                   "D:\\tools\\zazivev.exe"},
        SearchCase{"DriveOnlyEntry", "C:\\work", "C:\\bin;E:", {"E:zazivev.exe"}, "E:zazivev.exe"},
        SearchCase{
            "SlashEnding", "C:\\work", "F:/apps/", {"F:/apps/zazivev.exe"}, "F:/apps/zazivev.exe"},
        SearchCase{"NowhereToBeFound", "C:\\work", "C:\\bin", {"C:\\zazivev.exe"}, ""},
        SearchCase{"NoPath", "C:\\work", nullptr, {}, ""}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return info.param.what; });

}  // namespace
}  // namespace vz
