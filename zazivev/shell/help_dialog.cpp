// Finding the help file and showing one of its sections.
#include "zazivev/shell/help_dialog.h"

#include <memory>

#include "platform/path_search.h"
#include "ui/dialog_host.h"
#include "zazivev/res/resource.h"

namespace vz {

HelpDialog::HelpDialog(ToolContext& context, HelpSection section)
    : Dialog(IDD_HELP), context_(context), section_(section) {}

bool HelpDialog::OnInitDialog() {
    DialogHost& host = *Host();
    host.SetCaption(section_.title);
    // The file by its plain name first; else where the current directory or PATH holds it.
    std::unique_ptr<std::istream> file = context_.openTextFile(kHelpFileName);
    if (!file) {
        const std::string found = SearchCurrentDirectoryAndPath(context_.shell, kHelpFileName);
        if (!found.empty()) {
            file = context_.openTextFile(found);
        }
    }
    if (!file) {
        return true;
    }
    for (const std::string& line : ReadHelpSection(*file, section_)) {
        host.ListBoxAdd(IDC_HELP_LIST, line);
    }
    host.ListBoxSetTopIndex(IDC_HELP_LIST, 0);
    return true;
}

void ShowHelp(ToolContext& context, DialogHost& host, HelpSection section) {
    HelpDialog help(context, section);
    host.RunModal(help);
}

}  // namespace vz
