// Reading dialog templates from resource scripts: what each statement gives, and what is refused.
#include "ui/headless/rc_template.h"

#include <gtest/gtest.h>

namespace vz {
namespace {

constexpr char kHeader[] = R"(// ids
#define IDD_SAMPLE 135
#define IDC_NAME 1108
#define IDC_FIRST 1128
#define IDC_SECOND 1129
#define IDC_LIST 1127
#define TEXT_CAPTION "Sample ""Caption"""
)";

RcTemplates ParseScript(const std::string& script) {
    return RcTemplates::Parse({{"ids.h", kHeader}}, {{"sample.rc", script}});
}

std::string Describe(const ControlSpec& c) {
    static const char* const kKinds[] = {"other", "button", "check", "radio",
                                         "edit",  "combo",  "list",  "listview"};
    std::string text =
        std::to_string(c.id) + " " + kKinds[static_cast<int>(c.kind)] + " '" + c.text + "'";
    text += c.enabled ? "" : " disabled";
    text += c.visible ? "" : " hidden";
    text += c.radioGroup == 0 ? "" : " group " + std::to_string(c.radioGroup);
    return text;
}

TEST(RcTemplate, ReadsEachKindOfStatement) {
    const RcTemplates templates = ParseScript(R"(
#include "ids.h"
IDD_SAMPLE DIALOGEX 0, 0, 280, 159
STYLE DS_MODALFRAME | WS_POPUP   /* a comment */
CAPTION TEXT_CAPTION
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT "&Master Name:", -1, 7, 7, 50, 8
    EDITTEXT IDC_NAME, 60, 7, 60, 12, ES_AUTOHSCROLL | WS_DISABLED
    CONTROL "Search &All", IDC_FIRST, "Button", BS_AUTORADIOBUTTON | WS_GROUP |
            WS_TABSTOP, 7, 20, 50, 10
    AUTORADIOBUTTON "&Search One", IDC_SECOND, 7, 30, 50, 10
    CONTROL "", IDC_LIST, "SysListView32", LVS_REPORT | WS_BORDER, 7, 40, 200, 80
    PUSHBUTTON "&Very ""Advanced""\nline", 1107, 7, 130, 50, 14, NOT WS_VISIBLE | WS_DISABLED
    AUTOCHECKBOX "&Peer To Peer", 1116, 7, 145, 50, 10
    CONTROL "", 1026, "msctls_progress32", NOT WS_VISIBLE, 7, 150, 50, 8
    DEFPUSHBUTTON "OK", IDOK, 200, 138, 50, 14
    COMBOBOX 1101, 60, 20, 60, 80, CBS_DROPDOWNLIST | WS_VSCROLL
    AUTORADIOBUTTON "&Time", 1016, 7, 160, 50, 10, WS_GROUP
END
)");
    const TemplateSpec* spec = templates.Find(135);
    ASSERT_NE(spec, nullptr);
    EXPECT_EQ(spec->caption, "Sample \"Caption\"");
    std::vector<std::string> controls;
    for (const ControlSpec& c : spec->controls) {
        controls.push_back(Describe(c));
    }
    EXPECT_EQ(controls, (std::vector<std::string>{
                            "1108 edit '' disabled",
                            "1128 radio 'Search &All' group 1",
                            "1129 radio '&Search One' group 1",
                            "1127 listview ''",
                            "1107 button '&Very \"Advanced\"\nline' disabled hidden",
                            "1116 check '&Peer To Peer'",
                            "1026 other '' hidden",
                            "1 button 'OK'",
                            "1101 combo ''",
                            "1016 radio '&Time' group 2",
                        }));
}

TEST(RcTemplate, RefusesWhatTheResourceCompilerWouldAndNamesTheLine) {
    const struct {
        const char* script;
        const char* message;
    } kCases[] = {
        {"IDD_SAMPLE DIALOG 0, 0, 1, 1\nBEGIN\n PUSHBUTTON \"x\", IDC_TYPO, 1, 1, 1, 1\nEND\n",
         "sample.rc:3: unknown id IDC_TYPO"},
        {"IDD_SAMPLE DIALOG 0, 0, 1, 1\nBEGIN\n LTEXT \"a\", 5, 1, 1, 1, 1\n"
         " LTEXT \"b\", 5, 1, 1, 1, 1\nEND\n",
         "sample.rc:4: id 5 used twice"},
        {"IDD_SAMPLE DIALOG 0, 0, 1, 1\nBEGIN\n LTEXT \"a, 5, 1, 1, 1, 1\nEND\n",
         "sample.rc:3: unterminated text"},
        {"IDD_SAMPLE DIALOG 0, 0, 1, 1\nBEGIN\n LTEXT \"a\", 5, 1, 1, 1, 1\n",
         "sample.rc:1: dialog without END"},
        {"IDD_SAMPLE DIALOG 0, 0, 1, 1\nBEGIN\n 5, 1\nEND\n", "sample.rc:3: expected a control"},
    };
    for (const auto& c : kCases) {
        try {
            ParseScript(c.script);
            ADD_FAILURE() << "accepted: " << c.script;
        } catch (const RcError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
        }
    }
}

}  // namespace
}  // namespace vz
