// The controller's hourly archive.
#include "CivilTime.h"
#include "Controller.h"

#include "driver/RegisterMap.h"

#include <algorithm>

namespace kt41::sim {

namespace regmap = driver::regmap;
using driver::CivilDateTime;

// --- archive -------------------------------------------------------------------------

void Controller::PlaceArchiveGaps() {
    // The archive has a few holes where the controller was without power: three
    // hours four days ago, one hour eleven days ago, most of a day nineteen
    // days ago (counted from the day the clock was started or set).
    const long long now = HourKey(ClockSeconds());
    const long long today = now - now % 24;
    gaps_ = {{today - 4 * 24 + 2, today - 4 * 24 + 4},
             {today - 11 * 24 + 13, today - 11 * 24 + 13},
             {today - 19 * 24 + 6, today - 19 * 24 + 25}};
}

bool Controller::Gap(long long hourKey) const {
    return std::any_of(gaps_.begin(), gaps_.end(),
                       [&](const auto& g) { return hourKey >= g.first && hourKey <= g.second; });
}

std::optional<Controller::ArchiveWords> Controller::RecordAt(long long hourKey) const {
    if (const auto it = archiveOverrides_.find(hourKey); it != archiveOverrides_.end()) {
        return it->second;
    }
    const long long newest = HourKey(ClockSeconds());
    const long long oldest = newest - 24LL * options_.ArchiveDays;
    if (hourKey > newest || hourKey < oldest || Gap(hourKey)) {
        return std::nullopt;
    }
    const double t = double(hourKey) * 3600.0;
    const CivilDateTime when = CivilOf(t);
    const PlantReading r = ReadPlant(DecodeConfiguration(), ManualInputs{}, t, options_.Seed);
    ArchiveWords w{};
    w[0] = std::uint16_t((when.Month << 8) | (when.Year % 100));
    w[1] = std::uint16_t((when.Hour << 8) | when.Day);
    for (std::size_t k = 0; k < 6; ++k) {
        w[2 + k] = std::uint16_t(r.Temperature[k]);
    }
    w[8] = std::uint16_t(r.SetPoint[0]);
    w[9] = std::uint16_t(r.SetPoint[1]);
    for (std::size_t k = 0; k < 4; ++k) {
        w[10 + k] = r.Analog[k];
    }
    for (std::size_t k = 0; k < 4; ++k) {
        w[14 + k] = r.Events[k];
    }
    // A contour switched off by the user is a standing state of the
    // configuration, not something that happened in that hour: the archive
    // leaves it out, so that the hours with events stand out.
    w[17] &= std::uint16_t(~0xF000u);
    // What happened in the past: a restart after each outage, and now and then
    // a dry-running pump, a pump stop with switch-over, a feed timeout or a
    // configuration change.
    if (Gap(hourKey - 1)) {
        w[16] |= 1u << 15;
    }
    const double roll = (Noise(options_.Seed, 99, hourKey) + 1.0) / 2.0;
    if (roll < 0.02) {
        w[14] |= 1u << 10; // dry-running sensor, contour 1
    } else if (roll < 0.03) {
        w[14] |= 1u << 14; // pump 1 of contour 1 stopped
        w[17] |= 1u << 5;  // pump group restart, contour 1
    } else if (roll < 0.035) {
        w[14] |= 1u << 0; // feed pump timeout
    }
    if (hourKey % (24 * 9) == 10) {
        w[17] |= 1u << 0;
    }
    return w;
}

bool Controller::ArchiveRequestValid() const {
    return ValidCivil(RequestedHour(Stored(Block::ArchiveRequest, 0)), 1900, 9999);
}

std::vector<std::uint16_t> Controller::ArchiveAnswerWords() const {
    std::vector<std::uint16_t> w(regmap::kArchiveAnswer.Count, 0);
    if (!ArchiveRequestValid()) {
        return w;
    }
    const CivilDateTime hour = RequestedHour(Stored(Block::ArchiveRequest, 0));
    if (const auto record = RecordAt(HourKey(SecondsOf(hour)))) {
        w[0] = 1;
        std::copy(record->begin(), record->end(), w.begin() + 1);
    }
    return w;
}

std::optional<Controller::ArchiveWords> Controller::ArchiveRecord(const CivilDateTime& hour) const {
    std::lock_guard lock(mutex_);
    return RecordAt(HourKey(SecondsOf(hour)));
}

void Controller::SetArchiveRecord(const CivilDateTime& hour, std::optional<ArchiveWords> words) {
    std::lock_guard lock(mutex_);
    archiveOverrides_[HourKey(SecondsOf(hour))] = words;
}

} // namespace kt41::sim
