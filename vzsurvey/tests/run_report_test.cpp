// vzsurvey report from files: the page written and told, or one line and no page at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "vzsurvey/report/run_report.h"

namespace vz {
namespace {

using namespace std::string_literals;

class RunReportTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / "vz-run-report";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::string header = "\x89PNG\r\n\x1a\n"s + "\0\0\0\x0dIHDR"s;
        Write("plan.png", header + "\0\0\0\x64\0\0\0\x32"s + "\x08\x02\0\0\0"s);  // 100 by 50
        Write("plan.gif", "GIF89a");
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string Point(const std::string& at) {
        return R"({"type":"point",)" + at +
               R"(,"label":"Hall","time":"t","master_address":null,"master_name":null,)"
               R"("nodes":[],"link":null,"spectrum":null})"
               "\n";
    }
    ReportRequest Request(const std::optional<std::string>& plan) {
        const auto in = [this](const std::string& name) { return (folder / name).string(); };
        return {in("walk.jsonl"), plan ? std::optional(in(*plan)) : std::nullopt,
                ReportMetric::kSignal, std::nullopt, in("report.html")};
    }
    std::filesystem::path folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(RunReportTest, ThePageIsWrittenAndToldWithTheSkippedLines) {
    Write("walk.jsonl", "{\n" + Point(R"("x":100,"y":50)"));  // on the plan's very edge
    ASSERT_EQ(RunReport(Request("plan.png"), out, err), Verdict::kOk);
    const auto size = std::filesystem::file_size(folder / "report.html");
    EXPECT_EQ(out.str(),
              (folder / "report.html").string() + ": " + std::to_string(size) + " bytes\n");
    EXPECT_EQ(err.str(),
              "vzsurvey: " + (folder / "walk.jsonl").string() + ": line 1: not JSON, skipped\n");
}

TEST_F(RunReportTest, BadInputIsOneLineAndLeavesNoPage) {
    const std::string walk = (folder / "walk.jsonl").string();
    const std::string plan = (folder / "plan.png").string();
    struct Case {
        std::string walkText;  // none written when empty
        std::optional<std::string> plan;
        std::string told;
    };
    const Case kCases[] = {
        {"", std::nullopt, "cannot read the walk " + walk},
        {"\n", std::nullopt, "the walk " + walk + " has no points"},
        {Point(R"("x":1,"y":1)"), "missing.png",
         "cannot read the plan " + (folder / "missing.png").string()},
        {Point(R"("x":1,"y":1)"), "plan.gif",
         "the plan " + (folder / "plan.gif").string() + ": not a PNG, JPEG or BMP image"},
        {Point(R"("x":1,"y":1)") + Point(R"("x":100.5,"y":1)"), "plan.png",
         "point 2 (Hall) at 100.5,1 lies outside the plan of 100 by 50 pixels"},
        {Point(R"("x":1,"y":51)"), "plan.png",
         "point 1 (Hall) at 1,51 lies outside the plan of 100 by 50 pixels"},
    };
    for (const Case& c : kCases) {
        std::filesystem::remove(walk);
        if (!c.walkText.empty()) {
            Write("walk.jsonl", c.walkText);
        }
        err.str("");
        EXPECT_EQ(RunReport(Request(c.plan), out, err), Verdict::kUnknown) << c.told;
        EXPECT_EQ(err.str(), "vzsurvey: " + c.told + "\n");
        EXPECT_FALSE(std::filesystem::exists(folder / "report.html")) << c.told;
    }
    EXPECT_EQ(out.str(), "");
}

TEST_F(RunReportTest, APageThatCannotBeWrittenLeavesNothingBehind) {
    Write("walk.jsonl", Point(R"("x":1,"y":1)"));
    ReportRequest request = Request(std::nullopt);
    request.out = (folder / "no-folder" / "report.html").string();
    EXPECT_EQ(RunReport(request, out, err), Verdict::kUnknown);
    const std::string told = err.str();
    EXPECT_EQ(told.rfind("vzsurvey: cannot write " + request.out + ": ", 0), 0u) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

}  // namespace
}  // namespace vz
