// The directed link test and the site survey as the Master list runs them.
#include "zazivev/masters/cell_tools.h"

#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/site_survey_dialog.h"

namespace vz {

void RunLinkTest(ToolContext& context, DialogHost& host, const std::string& address) {
    DirectedLinkDialog test(context, address, context.rememberedPacketSize);
    host.RunModal(test);
    context.rememberedPacketSize = test.PacketSize();
}

void RunSiteSurvey(ToolContext& context, DialogHost& host, AdapterSettings& settings,
                   uint8_t inRange) {
    SiteSurveyDialog survey(context, settings, inRange);
    host.RunModal(survey);
}

}  // namespace vz
