// The waterfall and the lines, as SVG.
#include "vzsurvey/report/spectrum_section.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <vector>

#include "vzsurvey/output/shown_value.h"
#include "vzsurvey/report/colour_scale.h"
#include "vzsurvey/report/page_text.h"

namespace vz {
namespace {

constexpr double kLabelWidth = 150;
constexpr double kPlotWidth = 720;
constexpr double kRowHeight = 14;
constexpr double kAxisHeight = 18;
constexpr double kChartHeight = 160;
constexpr double kMhzPerGhz = 1000;
constexpr char kAverageColour[] = "rgb(20,120,230)";
constexpr char kPeakColour[] = "rgb(215,35,35)";

// A frequency of any sweep, and the band's figures there over every sweep.
struct Channel {
    int column = 0;
    double averageSum = 0;
    int sweeps = 0;
    int peakHold = 0;
};

using Channels = std::map<long long, Channel>;  // by the frequency in whole MHz

long long Mhz(double ghz) {
    return std::llround(ghz * kMhzPerGhz);
}

Channels ChannelsOf(const std::vector<const WalkSpectrum*>& sweeps) {
    Channels channels;
    for (const WalkSpectrum* sweep : sweeps) {
        for (size_t i = 0; i < sweep->frequencyGhz.size(); ++i) {
            Channel& channel = channels[Mhz(sweep->frequencyGhz[i])];
            channel.averageSum += sweep->averagePercent[i];
            ++channel.sweeps;
            channel.peakHold = std::max(channel.peakHold, sweep->peakHoldPercent[i]);
        }
    }
    int column = 0;
    for (auto& entry : channels) {
        entry.second.column = column++;
    }
    return channels;
}

std::string Text(double x, double y, const std::string& html) {
    return "<text x=\"" + ShortNumberText(x, 1) + "\" y=\"" + ShortNumberText(y, 1) + "\">" + html +
           "</text>";
}

// The first, middle and last frequencies under the plot, `top` down.
std::string FrequencyAxis(const Channels& channels, double cellWidth, double top) {
    const auto label = [&](Channels::const_iterator channel, double x, const char* anchor) {
        return "<text class=\"" + std::string(anchor) + "\" x=\"" + ShortNumberText(x, 1) +
               "\" y=\"" + ShortNumberText(top, 1) + "\">" +
               ShortNumberText(channel->first / kMhzPerGhz, 3) + " GHz</text>";
    };
    const auto middle = std::next(channels.begin(), channels.size() / 2);
    return label(channels.begin(), kLabelWidth, "axis-start") +
           label(middle, kLabelWidth + (middle->second.column + 0.5) * cellWidth, "axis-middle") +
           label(std::prev(channels.end()), kLabelWidth + kPlotWidth, "axis-end");
}

std::string Waterfall(const std::vector<const WalkPoint*>& swept, const Channels& channels,
                      double cellWidth) {
    const double height = swept.size() * kRowHeight;
    std::string svg = "<svg class=\"waterfall\" width=\"" +
                      ShortNumberText(kLabelWidth + kPlotWidth, 1) + "\" height=\"" +
                      ShortNumberText(height + kAxisHeight, 1) + "\">";
    for (size_t row = 0; row < swept.size(); ++row) {
        const WalkSpectrum& sweep = *swept[row]->spectrum;
        const double top = row * kRowHeight;
        svg += Text(0, top + kRowHeight - 3, Html(swept[row]->label));
        for (size_t i = 0; i < sweep.frequencyGhz.size(); ++i) {
            const int column = channels.at(Mhz(sweep.frequencyGhz[i])).column;
            svg += "<rect x=\"" + ShortNumberText(kLabelWidth + column * cellWidth, 2) + "\" y=\"" +
                   ShortNumberText(top, 1) + "\" width=\"" + ShortNumberText(cellWidth, 2) +
                   "\" height=\"" + ShortNumberText(kRowHeight, 1) + "\" fill=\"" +
                   CssColour(ScaleColour(sweep.averagePercent[i] / 100)) + "\"/>";
        }
    }
    return svg + FrequencyAxis(channels, cellWidth, height + kAxisHeight - 5) + "</svg>";
}

std::string Line(const Channels& channels, double cellWidth, const char* colour,
                 double (*level)(const Channel&)) {
    std::string points;
    for (const auto& entry : channels) {
        const Channel& channel = entry.second;
        const double x = kLabelWidth + (channel.column + 0.5) * cellWidth;
        const double y = kChartHeight * (1 - level(channel) / 100);
        points += ShortNumberText(x, 1) + "," + ShortNumberText(y, 1) + " ";
    }
    return "<polyline stroke=\"" + std::string(colour) + "\" points=\"" + points + "\"/>";
}

std::string Lines(const Channels& channels, double cellWidth) {
    std::string svg = "<svg class=\"lines\" width=\"" +
                      ShortNumberText(kLabelWidth + kPlotWidth, 1) + "\" height=\"" +
                      ShortNumberText(kChartHeight + kAxisHeight, 1) + "\">";
    svg += "<rect class=\"frame\" x=\"" + ShortNumberText(kLabelWidth, 1) + "\" y=\"0\" width=\"" +
           ShortNumberText(kPlotWidth, 1) + "\" height=\"" + ShortNumberText(kChartHeight, 1) +
           "\"/>";
    svg += Text(kLabelWidth - 40, 10, "100 %") + Text(kLabelWidth - 30, kChartHeight, "0 %");
    svg += "<text x=\"0\" y=\"40\" fill=\"" + std::string(kAverageColour) +
           "\">average</text><text x=\"0\" y=\"56\" fill=\"" + kPeakColour + "\">peak hold</text>";
    svg += Line(channels, cellWidth, kAverageColour,
                [](const Channel& c) { return c.averageSum / c.sweeps; });
    svg += Line(channels, cellWidth, kPeakColour,
                [](const Channel& c) { return static_cast<double>(c.peakHold); });
    return svg + FrequencyAxis(channels, cellWidth, kChartHeight + kAxisHeight - 5) + "</svg>";
}

}  // namespace

std::string SpectrumSection(std::span<const WalkPoint> points) {
    std::vector<const WalkPoint*> swept;
    std::vector<const WalkSpectrum*> sweeps;
    for (const WalkPoint& point : points) {
        if (point.spectrum) {
            swept.push_back(&point);
            sweeps.push_back(&*point.spectrum);
        }
    }
    if (swept.empty()) {
        return "<section><h2>Spectrum</h2><p>No sweep was taken on this walk.</p></section>\n";
    }
    const Channels channels = ChannelsOf(sweeps);
    const double cellWidth = kPlotWidth / channels.size();
    return "<section><h2>Spectrum</h2><p class=\"note\">A row per sweep, in the order of the walk; "
           "the colour is the sweep's average level, on the heatmaps' scale from 0 to 100 %. "
           "Below, the average over every sweep and the highest peak hold.</p>\n" +
           Waterfall(swept, channels, cellWidth) + "<br>" + Lines(channels, cellWidth) +
           "</section>\n";
}

}  // namespace vz
