// The help file's marker rule and sections, and the file that ships with the tool.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "zazivev/app/tool_context.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_file.h"
#include "zazivev/survey/directed_link_dialog.h"

namespace vz {
namespace {

TEST(MarkerLines, LeadingRunOfMarkerCharactersMustBeTheMarker) {
    using Line = std::tuple<const char*, const char*, bool>;
    for (const auto& [line, marker, expected] :
         {Line{"HELPSITE and more", "HELPSITE", true}, Line{"HELPSITES", "HELPSITE", false},
          Line{"HELP", "HELPSITE", false}, Line{" HELPSITE", "HELPSITE", false},
          Line{"HELPCONFIGURATION", "HELPCONFIG", true}, Line{"HELPCONFIGFIG", "HELPCONFIG", false},
          Line{"helpsite", "HELPSITE", false}, Line{"anything", "", false}}) {
        EXPECT_EQ(IsMarkerLine(line, marker), expected) << line;
    }
}

// Overlong lines are cut, and never held whole.
TEST(HelpSections, EachPlaceReadsItsOwnLinesCutToTheirBound) {
    const std::string file =
        "; a comment before anything\nHELPMAIN\r\nMain line one\r\n; hidden\n\nMain line two\n"
        "HELPMSTR Master list\n" +
        std::string(100000, 'x') +
        "\nMasters\nHELPCONFIGURATION\nConfig\nHELPSDIR\nDirected\nHELPMAIN again\n";
    const std::pair<int, std::vector<std::string>> kSections[] = {
        {kHelpContextMain, {"Main line one", "", "Main line two"}},
        {IDC_MAIN_MASTERS, {std::string(512, 'x'), "Masters"}},  // the Configuration marker ends it
        {kHelpContextDirectedLink, {"Directed", "HELPMAIN again"}},  // runs to the end
        {IDC_MAIN_SNOOP, {}},
        {4242, {}}};
    for (const auto& [context, lines] : kSections) {
        std::istringstream stream(file);
        EXPECT_EQ(ReadHelpSection(stream, HelpSectionForContext(context)), lines) << context;
    }
}

// Every place shows its own part of the help file that ships with the tool, and no other.
TEST(ShippedHelpFile, EveryPlaceShowsItsOwnSection) {
    const std::tuple<int, const char*, const char*> kPlaces[] = {
        {kHelpContextMain, "Main Help", "VEZUREZ SITE SURVEY & CONFIGURATION TOOL"},
        {IDC_MAIN_MASTERS, "Master List Help", "MASTER LIST"},
        {IDC_MAIN_SITE_SURVEY, "Site Survey Help", "SITE SURVEY"},
        {IDC_MAIN_SNOOP, "Snoop Help", "SNOOP"},
        {IDC_MAIN_CONFIGURATION, "Configuration Help", "CONFIGURATION"},
        {kHelpContextDirectedLink, "Directed Site Survey Help", "DIRECTED LINK TEST"}};
    for (const auto& [context, title, firstLine] : kPlaces) {
        std::ifstream file(ZAZIVEV_HELP_FILE);
        const HelpSection section = HelpSectionForContext(context);
        EXPECT_STREQ(section.title, title);
        const auto lines = ReadHelpSection(file, section);
        ASSERT_GT(lines.size(), 10u) << title;
        EXPECT_EQ(lines.front(), firstLine);
        for (const auto& line : lines) {
            EXPECT_NE(line.rfind("HELP", 0), 0u) << line;
        }
    }
}

}  // namespace
}  // namespace vz
