// The site survey's window, its cycle and its table.
#include "zazivev/survey/site_survey_dialog.h"

#include "zazivev/res/resource.h"

namespace vz {

SiteSurveyDialog::SiteSurveyDialog(ToolContext& context, AdapterSettings& settings, uint8_t inRange)
    : Dialog(IDD_SITE_SURVEY), context_(context), settings_(settings), inRange_(inRange) {}

}  // namespace vz
