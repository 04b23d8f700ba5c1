// Snoop's graph: the columns of the frequencies in the graph box, their ticks, marks and bars.
#pragma once

#include <cstdint>

#include "engines/spectrum_sweep.h"
#include "ui/canvas.h"

namespace vz {

inline constexpr Rgb kSnoopAverage{0, 0, 128};
inline constexpr Rgb kSnoopPeak{0, 255, 0};
inline constexpr Rgb kSnoopEmpty{192, 192, 192};

// Draws into the graph box through `canvas`, laid out for `points` columns on its client size.
// A column that does not fit the box is not drawn at all, nor is anything in a box too low for
// the columns (a tiny or minimised window), so nothing lands outside the box or upside down.
class SnoopGraph {
  public:
    SnoopGraph(Canvas& canvas, int points);

    void ClearColumn(int n);
    // The cursor mark: the column outlined in black around light grey.
    void MarkColumn(int n);
    // A short line below the column, a bigger filled mark below every tenth.
    void Tick(int n);
    // The navy average bar and the green part from the peak down to the bar's top.
    void Bars(int n, const FrequencyPoint& point);

  private:
    int Left(int n) const { return 5 + n * (width_ + gap_); }
    bool Drawable(int n) const;

    Canvas& canvas_;
    int points_;
    int bottom_;
    int right_;
    int base_;  // the columns' foot; 0 % sits here
    int unit_;  // pixels per percent
    int width_ = 0;
    int gap_ = 0;
};

}  // namespace vz
