// Column layout and drawing of Snoop's graph.
#include "zazivev/snoop/snoop_graph.h"

#include <algorithm>

namespace vz {

namespace {

constexpr int kColumnTop = 16;  // below the group box's caption
constexpr int kBaseAboveBottom = 8;
constexpr int kCapPixels = 4;

struct ColumnRule {
    int points;
    int gap;
    int narrowestWidth;  // below this the width is raised to it and the gap narrowed
    int narrowGap;
};

constexpr ColumnRule kColumnRules[] = {
    {23, 10, 15, 9}, {43, 5, 6, 4}, {79, 3, 5, 2}, {100, 2, 4, 1}};

const ColumnRule& RuleFor(int points) {
    for (const ColumnRule& rule : kColumnRules) {
        if (rule.points == points) {
            return rule;
        }
    }
    return kColumnRules[2];
}

}  // namespace

SnoopGraph::SnoopGraph(Canvas& canvas, int points) : canvas_(canvas), points_(points) {
    const Rect client = canvas.ClientRect();
    bottom_ = client.bottom;
    right_ = client.right;
    base_ = bottom_ - kBaseAboveBottom;
    unit_ = std::max(0, base_ / 100);
    const ColumnRule& rule = RuleFor(points);
    width_ = (right_ - rule.gap * points) / points;
    gap_ = rule.gap;
    if (width_ < rule.narrowestWidth) {
        width_ = rule.narrowestWidth;
        gap_ = rule.narrowGap;
    }
}

bool SnoopGraph::Drawable(int n) const {
    return base_ > kColumnTop && n >= 0 && n < points_ && Left(n) + width_ <= right_;
}

void SnoopGraph::ClearColumn(int n) {
    if (Drawable(n)) {
        canvas_.FillRect({Left(n), kColumnTop, Left(n) + width_, base_}, kSnoopEmpty);
    }
}

void SnoopGraph::MarkColumn(int n) {
    if (Drawable(n)) {
        canvas_.Rectangle({Left(n), kColumnTop, Left(n) + width_, base_}, kSnoopEmpty);
    }
}

void SnoopGraph::Tick(int n) {
    if (!Drawable(n)) {
        return;
    }
    const int middle = Left(n) + width_ / 2;
    if ((n + 1) % 10 == 0) {
        canvas_.FillRect({middle - 1, bottom_ - 2, middle + 2, bottom_ - 7}, kBlack);
    } else {
        canvas_.Line(middle, bottom_ - 2, middle, bottom_ - 5, kBlack);
    }
}

void SnoopGraph::Bars(int n, const FrequencyPoint& point) {
    if (point.count == 0 || !Drawable(n)) {
        return;
    }
    int average = point.sum / point.count;
    // A faint signal still shows: an average that rounds to nothing counts as 1 %.
    if (average == 0 && point.maximum != 0) {
        average = 1;
    }
    const int left = Left(n);
    // Bars stay inside their column, which the next clear covers; above it they would linger.
    const int top = std::max(kColumnTop, base_ - unit_ * average);
    canvas_.FillRect({left, top, left + width_, base_}, kSnoopAverage);
    if (point.maximum >= average && point.maximum > 0) {
        const int height = unit_ * point.maximum;
        const int peakTop = std::max(kColumnTop, base_ - height);
        const int capBottom = peakTop == top ? top + std::min(height, kCapPixels) : top;
        canvas_.FillRect({left, peakTop, left + width_, capBottom}, kSnoopPeak);
    }
}

}  // namespace vz
