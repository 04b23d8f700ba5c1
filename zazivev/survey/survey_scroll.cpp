// The site survey's scroll table.
#include "zazivev/survey/survey_scroll.h"

#include <algorithm>

#include "ui/codes.h"

namespace vz {

SurveyScroll ScrollSurvey(int request, int pos, int topRow, int count) {
    const int lastTop = count - kSurveyRows;
    SurveyScroll result{topRow, pos};
    switch (request) {
        case kSbLineUp:
            result.topRow = pos - 1 <= 0 ? 0 : (pos + 6 > count ? lastTop : pos) - 1;
            result.position = result.topRow;
            break;
        case kSbLineDown:
            result.topRow = lastTop > pos + 1 ? pos + 1 : lastTop;
            result.position = lastTop > pos + 1 ? result.topRow : count;
            break;
        case kSbPageUp:
            result.topRow = pos - kSurveyRows < kSurveyRows ? 0 : pos - kSurveyRows;
            result.position = result.topRow;
            break;
        case kSbPageDown:
            result.topRow = lastTop >= pos + kSurveyRows ? pos + kSurveyRows : lastTop;
            result.position = lastTop >= pos + kSurveyRows ? result.topRow : count;
            break;
        case kSbThumbPosition:
            result.topRow = pos + kSurveyRows >= count ? lastTop : pos;
            result.position = pos;
            break;
        case kSbTop:
            result = {0, 0};
            break;
        case kSbBottom:
            result = {lastTop, lastTop};
            break;
        default:
            break;
    }
    result.topRow = std::max(result.topRow, 0);
    return result;
}

}  // namespace vz
