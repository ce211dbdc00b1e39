#pragma once

#include <QImage>
#include <QRgb>
#include <algorithm>
#include <string>
#include <vector>

// Checks an arrow of one colour in an image, row by row in device pixels: every row one solid run,
// all runs on one centre, the rows without gaps and growing towards the base by one steady step.
// Returns what is wrong, or nothing.
inline std::string ArrowShapeFault(const QImage& image, QRgb color, bool down, bool oddWidth)
{
    struct Run {
        int left, right;
    };
    std::vector<Run> rows;
    for (int y = 0; y < image.height(); ++y) {
        int left = -1, right = -1, count = 0;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color) {
                if (left < 0)
                    left = x;
                right = x;
                ++count;
            }
        if (count == 0) {
            if (!rows.empty() && rows.back().left >= 0)
                rows.push_back({-1, -1}); // a gap, reported below if more rows follow
            continue;
        }
        if (count != right - left + 1)
            return "row " + std::to_string(y) + " has a hole";
        if (!rows.empty() && rows.back().left < 0)
            return "rows are not contiguous";
        rows.push_back({left, right});
    }
    if (!rows.empty() && rows.back().left < 0)
        rows.pop_back();
    if (rows.size() < 2)
        return "no arrow";
    std::vector<int> widths;
    for (const Run& r : rows) {
        if (r.left + r.right != rows.front().left + rows.front().right)
            return "not symmetric";
        widths.push_back(r.right - r.left + 1);
    }
    if (down)
        std::reverse(widths.begin(), widths.end());
    std::vector<int> distinct;
    for (int w : widths)
        if (distinct.empty() || w != distinct.back())
            distinct.push_back(w);
    for (std::size_t i = 1; i < distinct.size(); ++i) {
        if (distinct[i] - distinct[i - 1] != distinct[1] - distinct[0] || distinct[i] < distinct[i - 1])
            return "rows do not grow by one step";
        if (oddWidth && distinct[i] - distinct[i - 1] != 2)
            return "rows grow by more than a pixel a side";
    }
    if (oddWidth && distinct.back() % 2 == 0)
        return "even base width";
    return {};
}

// The rings of a frame as seen walking from an outer edge inwards: one run of pixels for each
// colour met, until the walk reaches Inside (the untouched face) or leaves the image.
struct RingRun {
    QRgb color;
    int length;
};
inline std::vector<RingRun> RingRuns(const QImage& image, QPoint from, QPoint step, QRgb inside)
{
    std::vector<RingRun> runs;
    for (QPoint at = from; image.rect().contains(at) && image.pixel(at) != inside; at += step) {
        if (runs.empty() || runs.back().color != image.pixel(at))
            runs.push_back({image.pixel(at), 0});
        ++runs.back().length;
    }
    return runs;
}
