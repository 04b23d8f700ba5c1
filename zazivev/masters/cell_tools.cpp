// The directed link test and the site survey as the Master list runs them; their frames until
// the survey's dialogs are built.
#include "zazivev/masters/cell_tools.h"

#include "ui/dialog.h"
#include "zazivev/res/resource.h"

namespace vz {

void RunLinkTest(ToolContext&, DialogHost& host, const std::string&) {
    Dialog test(IDD_DIRECTED_LINK);
    host.RunModal(test);
}

void RunSiteSurvey(ToolContext&, DialogHost& host, AdapterSettings&, uint8_t) {
    Dialog survey(IDD_SITE_SURVEY);
    host.RunModal(survey);
}

}  // namespace vz
