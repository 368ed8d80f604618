#include "CurrentReadingTexts.h"

#include "Catalogue.h"
#include "CurrentReadings.h"
#include "EventTable.h"
#include "device/TKT41.h"

#include <cstdio>
#include <ctime>

namespace kt41::catalogue {

TCurrentReadingTexts::TCurrentReadingTexts(const device::TKT41& model,
                                           const device::TCurrentData& data,
                                           std::string_view decimalSeparator)
    : data_(data), separator_(decimalSeparator) {
    for (int input = 1; input <= kAnalogInputCount; ++input) {
        inputTypes_[std::size_t(input - 1)] = model.GetAnalogInputType(input);
    }
}

std::string TCurrentReadingTexts::ReadingValue(int column) const {
    if (column >= 0 && column < 6) {
        return TemperatureText(data_.Temperature(column + 1), separator_);
    }
    if (column == 6 || column == 7) {
        return TemperatureText(data_.Setpoint(column - 5), separator_);
    }
    if (column >= kFirstAnalogColumn && column < kReadingColumns) {
        const int input = column - kFirstAnalogColumn + 1;
        return AnalogValueText(data_.AnalogWord(input), inputTypes_[std::size_t(input - 1)],
                               separator_);
    }
    return {};
}

std::string TCurrentReadingTexts::ReadingHeader(int column, std::string_view lineBreak) const {
    if (column >= 0 && column < kFirstAnalogColumn) {
        return std::string(kTemperatureHeaders[std::size_t(column)]);
    }
    if (column >= kFirstAnalogColumn && column < kReadingColumns) {
        return AnalogHeader(inputTypes_[std::size_t(column - kFirstAnalogColumn)], lineBreak);
    }
    return {};
}

std::string TCurrentReadingTexts::SensorOrHoursValue(int column) const {
    if (column >= 0 && column < kSensorCount) {
        return std::string(SensorStateText(data_.SensorBits(), column));
    }
    if (column >= kSensorCount && column < kSensorAndHoursColumns) {
        return std::to_string(data_.PumpHours(column - kSensorCount + 1));
    }
    return {};
}

std::vector<TEventLogRow> EventLogRows(std::span<const std::uint16_t> words,
                                       const std::string& stamp) {
    std::vector<TEventLogRow> rows;
    for (const TEventText& event : ActiveEvents(words)) {
        rows.push_back({stamp, event.Kind, event.Description});
    }
    if (rows.empty()) {
        rows.push_back({stamp, kNoEventsKind, kNoEventsText});
    }
    return rows;
}

std::string EventLogStamp(const driver::CivilDateTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %d:%02d:%02d", t.Day, t.Month, t.Year, t.Hour,
                  t.Minute, t.Second);
    return text;
}

driver::CivilDateTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

} // namespace kt41::catalogue
