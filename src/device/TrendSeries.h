#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kt41::device {

// A trend's time: seconds of the local wall clock since 1 January 1970 00:00,
// as the controller's clock and the archive records count them (no time zone,
// no daylight-saving jumps: consecutive hours are always 3600 apart).
using TrendTime = std::int64_t;

struct TrendPoint {
    TrendTime Time = 0;
    double Value = 0.0;

    bool operator==(const TrendPoint&) const = default;
};

// Points of one segment, in the order they arrived; their times run one way
// (all rising or all falling), so a line through them never turns back.
using TrendSegment = std::vector<TrendPoint>;

// One curve of a trend as the line segments it is drawn in. A point opens a
// new segment after Break() (a failed poll, a pause), when it lies further
// than the largest step from the point before (a missing archive hour), or
// when it would turn the segment's direction of time; a line is never drawn
// across a gap.
class TrendSeries {
public:
    // maxStep: the largest time step (seconds) still drawn as a line.
    explicit TrendSeries(TrendTime maxStep) : maxStep_(maxStep) {}

    // Adds a point; true when it opened a new segment.
    bool Add(TrendPoint point);
    // The next point opens a new segment.
    void Break() { broken_ = true; }
    // Removes every point older than `time` (the rolling window of a trend
    // that rises in time); a segment left empty goes.
    void DropBefore(TrendTime time);
    void Clear();

    const std::vector<TrendSegment>& Segments() const { return segments_; }
    bool Empty() const { return segments_.empty(); }
    std::size_t PointCount() const;
    // Segments removed from the front by DropBefore since the series was made
    // (Clear counts its segments too), so a view that mirrors the segments
    // knows how many of its own to drop.
    std::size_t DroppedSegments() const { return dropped_; }

private:
    TrendTime maxStep_;
    bool broken_ = false;
    std::vector<TrendSegment> segments_;
    std::size_t dropped_ = 0;
};

// The point of `segment` nearest to `time`; the segment must not be empty.
const TrendPoint& NearestInTime(const TrendSegment& segment, TrendTime time);

} // namespace kt41::device
