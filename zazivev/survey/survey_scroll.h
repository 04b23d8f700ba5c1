// Where the site survey's seven rows start after a scroll bar request.
#pragma once

namespace vz {

constexpr int kSurveyRows = 7;

struct SurveyScroll {
    int topRow;
    int position;  // what the scroll bar is set to
};

// `request` is one of the kSb* codes; `pos` the bar's position (the thumb's for thumb
// requests), `topRow` the current one, `count` the node count. Thumb tracking and the end of a
// scroll leave both as they are. A negative top row becomes 0.
SurveyScroll ScrollSurvey(int request, int pos, int topRow, int count);

}  // namespace vz
