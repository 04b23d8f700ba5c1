// The page's inline style and script.
#pragma once

namespace vz {

extern const char kPageStyle[];

// Paints the heatmap the selectors name from the cells in #heat-data, shows that Master's points
// and the figure's readings and scale. A script error, or a plan that does not load, is shown on
// the page and left in the body's data-error attribute; data-drawn="yes" once the map is drawn.
extern const char kPageScript[];

}  // namespace vz
