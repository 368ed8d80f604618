#include "ArchiveReader.h"

#include "TKT41.h"

#include <cmath>

namespace kt41::device {

namespace {

double DayOf(const ArchiveDate& date) {
    return driver::EncodeDateTime({date.Year, date.Month, date.Day, 0, 0, 0});
}

// One millisecond before the next day begins.
constexpr double kLastMillisecond = 1.0 - 0.001 / 86400.0;

} // namespace

ArchiveRangeError CheckArchiveRange(const ArchiveDate& start, const ArchiveDate& end) {
    const double first = DayOf(start);
    const double last = DayOf(end);
    if (last < first) {
        return ArchiveRangeError::EndBeforeStart;
    }
    if (last - first > kArchiveMaxDaysBack) {
        return ArchiveRangeError::MoreThanEightDays;
    }
    return ArchiveRangeError::None;
}

ArchiveReader::ArchiveReader(TKT41& model, const ArchiveDate& start, const ArchiveDate& end,
                             const driver::CivilDateTime& now)
    : model_(model) {
    start_ = DayOf(start);
    end_ = DayOf(end) + kLastMillisecond;
    if (ArchiveDate{now.Year, now.Month, now.Day} == end) {
        end_ = driver::EncodeDateTime(now);
    }
    hourCount_ = int(std::trunc(std::fabs(end_ - start_) * 24.0));
    next_ = end_;
}

bool ArchiveReader::HasNext() const {
    return !failed_ && !cancelled_ && index_ <= hourCount_;
}

ArchiveStep ArchiveReader::ReadNext() {
    ArchiveStep step;
    step.Index = index_;
    step.When = next_;
    // Counted before the call, so that a port error leaves the read failed.
    failed_ = true;
    ++index_;
    next_ = (next_ * 24.0 - 1.0) / 24.0;
    std::uint8_t found = 0;
    step.Ok = model_.ReadArchiveRecord(found, &step.Record, step.When);
    failed_ = !step.Ok;
    step.Found = step.Ok && found != 0;
    if (step.Found) {
        ++found_;
    }
    return step;
}

} // namespace kt41::device
