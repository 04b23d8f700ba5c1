// The help file's marker rule and sections.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "zazivev/shell/help_file.h"

namespace vz {
namespace {

struct MarkerCase {
    const char* line;
    const char* marker;
    bool expected;
};

class MarkerLines : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(MarkerLines, LeadingRunOfMarkerCharactersMustBeTheMarker) {
    EXPECT_EQ(IsMarkerLine(GetParam().line, GetParam().marker), GetParam().expected)
        << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkerLines,
                         ::testing::Values(MarkerCase{"HELPSITE", "HELPSITE", true},
                                           MarkerCase{"HELPSITE and more", "HELPSITE", true},
                                           MarkerCase{"HELPSITES", "HELPSITE", false},
                                           MarkerCase{"HELP", "HELPSITE", false},
                                           MarkerCase{" HELPSITE", "HELPSITE", false},
                                           MarkerCase{"HELPCONFIGURATION", "HELPCONFIG", true},
                                           MarkerCase{"HELPCONFIGFIG", "HELPCONFIG", false},
                                           MarkerCase{"helpsite", "HELPSITE", false},
                                           MarkerCase{"", "HELPSITE", false},
                                           MarkerCase{"anything", "", false}));

const char kFile[] =
    "; a comment before anything\n"
    "HELPMAIN\r\n"
    "Main line one\r\n"
    "; hidden\n"
    "\n"
    "Main line two\n"
    "HELPMSTR Master list\n"
    "Masters\n"
    "HELPCONFIGURATION\n"
    "Config\n"
    "HELPSDIR\n"
    "Directed\n"
    "HELPMAIN again\n";

std::vector<std::string> Section(const char* text, int context) {
    std::istringstream file(text);
    return ReadHelpSection(file, HelpSectionForContext(context));
}

TEST(HelpSections, CommentsAreSkippedAndEmptyLinesKeptInOrder) {
    EXPECT_EQ(Section(kFile, 102),
              (std::vector<std::string>{"Main line one", "", "Main line two"}));
}

TEST(HelpSections, ConfigurationWordEndsTheMasterListSection) {
    EXPECT_EQ(Section(kFile, 1000), (std::vector<std::string>{"Masters"}));
}

TEST(HelpSections, SectionWithoutItsEndMarkerRunsToTheEnd) {
    EXPECT_EQ(Section(kFile, 1124), (std::vector<std::string>{"Directed", "HELPMAIN again"}));
}

TEST(HelpSections, MissingStartMarkerAndUnknownContextGiveNothing) {
    EXPECT_TRUE(Section(kFile, 1010).empty());
    EXPECT_TRUE(Section(kFile, 4242).empty());
    EXPECT_STREQ(HelpSectionForContext(4242).title, "");
    EXPECT_STREQ(HelpSectionForContext(1124).title, "Directed Site Survey Help");
}

TEST(HelpSections, OverlongLinesAreCutAndNeverHeldWhole) {
    const std::string text = "HELPMAIN\n" + std::string(100000, 'x') + "\nafter\n";
    const auto lines = Section(text.c_str(), 102);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 512u);
    EXPECT_EQ(lines[1], "after");
}

struct ShippedSection {
    int context;
    const char* title;
    const char* firstLine;
};

class ShippedHelpFile : public ::testing::TestWithParam<ShippedSection> {};

// Every place shows its own part of the help file that ships with the tool, and no other.
TEST_P(ShippedHelpFile, EveryPlaceShowsItsOwnSection) {
    std::ifstream file(ZAZIVEV_HELP_FILE);
    ASSERT_TRUE(file.is_open());
    const HelpSection section = HelpSectionForContext(GetParam().context);
    EXPECT_STREQ(section.title, GetParam().title);
    const auto lines = ReadHelpSection(file, section);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines.front(), GetParam().firstLine);
    for (const auto& line : lines) {
        EXPECT_EQ(line.rfind("HELP", 0), std::string::npos) << line;
        EXPECT_EQ(line.rfind("ZZZZ", 0), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, ShippedHelpFile,
    ::testing::Values(ShippedSection{102, "Main Help", "VEZUREZ SITE SURVEY & CONFIGURATION TOOL"},
                      ShippedSection{1000, "Master List Help", "MASTER LIST"},
                      ShippedSection{1001, "Site Survey Help", "SITE SURVEY"},
                      ShippedSection{1010, "Snoop Help", "SNOOP"},
                      ShippedSection{1051, "Configuration Help", "CONFIGURATION"},
                      ShippedSection{1124, "Directed Site Survey Help", "DIRECTED LINK TEST"}));

}  // namespace
}  // namespace vz
