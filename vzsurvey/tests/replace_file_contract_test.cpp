// Replacing a file's contents through a temporary beside it, natively and under Wine, where the
// rename must replace an existing file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "vzsurvey/monitoring/replace_file.h"

namespace vz {
namespace {

namespace fs = std::filesystem;

class ReplaceFile : public testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string Contents(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    const fs::path dir_ = fs::temp_directory_path() / "vzsurvey-replace-file-test";
};

TEST_F(ReplaceFile, ReplacesAnExistingFileAndLeavesNoTemporary) {
    const fs::path target = dir_ / "vezurez.prom";
    std::ofstream(target) << "old contents, longer than the new\n";
    ASSERT_EQ(ReplaceFileContents(target.string(), "new\n"), std::nullopt);
    EXPECT_EQ(Contents(target), "new\n");
    ASSERT_EQ(ReplaceFileContents(target.string(), "newer\n"), std::nullopt);
    EXPECT_EQ(Contents(target), "newer\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ReplaceFile, FailsWithAReasonAndLeavesTheTargetAsItWas) {
    const fs::path folder = dir_ / "a folder";
    fs::create_directories(folder / "inside");
    const std::optional<std::string> overFolder = ReplaceFileContents(folder.string(), "x");
    ASSERT_TRUE(overFolder.has_value());
    EXPECT_NE(overFolder->find("cannot replace"), std::string::npos) << *overFolder;
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    const std::optional<std::string> noFolder =
        ReplaceFileContents((dir_ / "missing" / "vezurez.prom").string(), "x");
    ASSERT_TRUE(noFolder.has_value());
    EXPECT_NE(noFolder->find("cannot write"), std::string::npos) << *noFolder;
}

}  // namespace
}  // namespace vz
