#pragma once

#include "Records.h"
#include "driver/OleDateTime.h"

#include <cstdint>

namespace kt41::device {

class TKT41;

// A calendar date of the archive range (the time of day is not used).
struct ArchiveDate {
    int Year = 2000;
    int Month = 1;
    int Day = 1;

    bool operator==(const ArchiveDate&) const = default;
};

// What is wrong with a range of archive dates: the end before the start, or
// more than eight calendar days (end - start > 7 days).
enum class ArchiveRangeError { None, EndBeforeStart, MoreThanEightDays };
inline constexpr int kArchiveMaxDaysBack = 7;
ArchiveRangeError CheckArchiveRange(const ArchiveDate& start, const ArchiveDate& end);

// The outcome of one archive read.
struct ArchiveStep {
    int Index = 0;      // 0 for the newest hour, up to HourCount()
    double When = 0.0;  // the time asked for
    bool Ok = false;    // the driver call succeeded
    bool Found = false; // the controller holds a record for that hour
    TArxRecord Record;  // valid when Found
};

// The arithmetic of an archive read, one driver call at a time: the range runs
// from the beginning (00:00) of the start date to the end (23:59:59.999) of the
// end date, or to `now` when the end date is now's date; the hours are counted
// newest first, from the end back by one hour per read, and there are at most
// HourCount() + 1 reads (HourCount: the whole hours of the range, cut toward
// zero). The read ends after the last hour, at the first failed call, or when
// cancelled. The archive page and `kt41ctl archive` both drive it; between two
// reads they do what they need (list the record, let events run, check for a
// cancel).
class ArchiveReader {
public:
    ArchiveReader(TKT41& model, const ArchiveDate& start, const ArchiveDate& end,
                  const driver::CivilDateTime& now);

    double Start() const { return start_; }
    double End() const { return end_; }
    // The whole hours between start and end: the progress bar's maximum.
    int HourCount() const { return hourCount_; }

    // True while another read is due: not all hours read, no call failed, not
    // cancelled.
    bool HasNext() const;
    // Reads the next hour (one ReadArchiveRecord call) and moves one hour back.
    // A driver::SerialPortError passes to the caller and ends the read as a
    // failed call.
    ArchiveStep ReadNext();
    // No further read; the records read so far stay valid.
    void Cancel() { cancelled_ = true; }

    bool Cancelled() const { return cancelled_; }
    // The last call failed (a false result or a port error).
    bool Failed() const { return failed_; }
    int ReadsDone() const { return index_; }
    int RecordsFound() const { return found_; }

private:
    TKT41& model_;
    double start_ = 0.0;
    double end_ = 0.0;
    double next_ = 0.0;
    int hourCount_ = 0;
    int index_ = 0;
    int found_ = 0;
    bool failed_ = false;
    bool cancelled_ = false;
};

} // namespace kt41::device
