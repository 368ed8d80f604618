#include "TrendSeries.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace kt41::device {

bool TrendSeries::Add(TrendPoint point) {
    bool opens = broken_ || segments_.empty();
    if (!opens) {
        const TrendSegment& last = segments_.back();
        const TrendTime step = point.Time - last.back().Time;
        const bool turns =
            last.size() > 1 && (step > 0) != (last.back().Time > last[last.size() - 2].Time);
        opens = step == 0 || std::llabs(step) > maxStep_ || turns;
    }
    if (opens) {
        segments_.emplace_back();
    }
    segments_.back().push_back(point);
    broken_ = false;
    return opens;
}

void TrendSeries::DropBefore(TrendTime time) {
    auto keep = segments_.begin();
    while (keep != segments_.end() && keep->back().Time < time && keep->front().Time < time) {
        ++keep;
    }
    dropped_ += std::size_t(keep - segments_.begin());
    segments_.erase(segments_.begin(), keep);
    if (!segments_.empty()) {
        TrendSegment& first = segments_.front();
        first.erase(first.begin(),
                    std::find_if(first.begin(), first.end(),
                                 [time](const TrendPoint& p) { return p.Time >= time; }));
    }
}

void TrendSeries::Clear() {
    dropped_ += segments_.size();
    segments_.clear();
    broken_ = false;
}

std::size_t TrendSeries::PointCount() const {
    return std::accumulate(segments_.begin(), segments_.end(), std::size_t(0),
                           [](std::size_t n, const TrendSegment& s) { return n + s.size(); });
}

const TrendPoint& NearestInTime(const TrendSegment& segment, TrendTime time) {
    const bool rising = segment.front().Time <= segment.back().Time;
    // First point at or past `time` in the segment's own direction.
    const auto past =
        std::partition_point(segment.begin(), segment.end(), [&](const TrendPoint& p) {
            return rising ? p.Time < time : p.Time > time;
        });
    if (past == segment.begin()) {
        return *past;
    }
    if (past == segment.end()) {
        return segment.back();
    }
    const auto before = past - 1;
    return std::llabs(past->Time - time) < std::llabs(before->Time - time) ? *past : *before;
}

} // namespace kt41::device
