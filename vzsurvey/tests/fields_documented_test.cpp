// docs/vzsurvey.md names every field of every command, as `name`, in the command's own section
// ("## vzsurvey <command>" up to the next "## ").
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "vzsurvey/output/layout.h"

namespace vz {
namespace {

TEST(FieldsDocumented, EveryColumnAndSummaryFieldIsInTheGuide) {
    const char* dir = std::getenv("VZ_SOURCE_DIR");
    std::ifstream in(std::string(dir ? dir : ".") + "/docs/vzsurvey.md");
    ASSERT_TRUE(in);
    std::ostringstream guide;
    guide << in.rdbuf();
    for (int command = 0; command <= static_cast<int>(SurveyCommand::kReport); ++command) {
        const std::string_view name = CommandName(static_cast<SurveyCommand>(command));
        const size_t start = guide.str().find("\n## vzsurvey " + std::string(name));
        ASSERT_NE(start, std::string::npos) << name;
        const std::string section =
            guide.str().substr(start, guide.str().find("\n## ", start + 1) - start);
        const CommandLayout& layout = LayoutOf(static_cast<SurveyCommand>(command));
        std::vector<std::string_view> names;
        for (const Column& column : layout.columns) {
            names.push_back(column.name);
        }
        for (const SummaryField& field : layout.summary) {
            names.push_back(field.name);
        }
        for (std::string_view field : names) {
            EXPECT_NE(section.find("`" + std::string(field) + "`"), std::string::npos)
                << name << " " << field;
        }
    }
}

}  // namespace
}  // namespace vz
