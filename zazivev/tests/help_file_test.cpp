// The help file's marker rule and sections, and the file that ships with the tool.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "zazivev/shell/help_file.h"

namespace vz {
namespace {

TEST(MarkerLines, LeadingRunOfMarkerCharactersMustBeTheMarker) {
    struct Case {
        const char* line;
        const char* marker;
        bool expected;
    };
    for (const Case& c :
         {Case{"HELPSITE and more", "HELPSITE", true}, Case{"HELPSITES", "HELPSITE", false},
          Case{"HELP", "HELPSITE", false}, Case{" HELPSITE", "HELPSITE", false},
          Case{"HELPCONFIGURATION", "HELPCONFIG", true}, Case{"HELPCONFIGFIG", "HELPCONFIG", false},
          Case{"helpsite", "HELPSITE", false}, Case{"anything", "", false}}) {
        EXPECT_EQ(IsMarkerLine(c.line, c.marker), c.expected) << c.line;
    }
}

TEST(HelpSections, EachPlaceReadsItsOwnLines) {
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
    struct Case {
        int context;
        std::vector<std::string> lines;
    };
    for (const Case& c : {Case{102, {"Main line one", "", "Main line two"}},
                          Case{1000, {"Masters"}},  // the Configuration marker ends it
                          Case{1124, {"Directed", "HELPMAIN again"}},  // runs to the end
                          Case{1010, {}}, Case{4242, {}}}) {
        std::istringstream file(kFile);
        EXPECT_EQ(ReadHelpSection(file, HelpSectionForContext(c.context)), c.lines) << c.context;
    }
}

TEST(HelpSections, OverlongLinesAreCutAndNeverHeldWhole) {
    std::istringstream file("HELPMAIN\n" + std::string(100000, 'x') + "\nafter\n");
    const auto lines = ReadHelpSection(file, HelpSectionForContext(102));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 512u);
    EXPECT_EQ(lines[1], "after");
}

// Every place shows its own part of the help file that ships with the tool, and no other.
TEST(ShippedHelpFile, EveryPlaceShowsItsOwnSection) {
    struct Case {
        int context;
        const char* title;
        const char* firstLine;
    };
    for (const Case& c :
         {Case{102, "Main Help", "VEZUREZ SITE SURVEY & CONFIGURATION TOOL"},
          Case{1000, "Master List Help", "MASTER LIST"},
          Case{1001, "Site Survey Help", "SITE SURVEY"}, Case{1010, "Snoop Help", "SNOOP"},
          Case{1051, "Configuration Help", "CONFIGURATION"},
          Case{1124, "Directed Site Survey Help", "DIRECTED LINK TEST"}}) {
        std::ifstream file(ZAZIVEV_HELP_FILE);
        const HelpSection section = HelpSectionForContext(c.context);
        EXPECT_STREQ(section.title, c.title);
        const auto lines = ReadHelpSection(file, section);
        ASSERT_GT(lines.size(), 10u) << c.title;
        EXPECT_EQ(lines.front(), c.firstLine);
        for (const auto& line : lines) {
            EXPECT_NE(line.rfind("HELP", 0), 0u) << line;
        }
    }
}

}  // namespace
}  // namespace vz
