#include "Listings.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CurrentReadings.h"
#include "catalogue/EventTable.h"
#include "catalogue/ModelTexts.h"
#include "device/TKT41.h"

#include <span>
#include <string>
#include <string_view>

namespace kt41::cli {

namespace {

constexpr std::string_view kSeparator = ".";

void Line(std::ostream& out, std::string_view page, std::string_view name, std::string_view value) {
    out << page << '\t' << name << '\t' << value << '\n';
}

} // namespace

void WriteShowListing(const device::TKT41& model, std::ostream& out) {
    using namespace catalogue;

    constexpr std::string_view device = "Настройки";
    Line(out, device, "Серийный номер", GetSerialNumberText(model));
    Line(out, device, "Модель контроллера", kModelPlaceholderText);
    Line(out, device, "Версия ПО", GetVersionText(model));
    Line(out, device, "Дата производства", GetManufactureDateText(model));
    for (int n = 0; n < device::kDeviceOptCount; ++n) {
        const auto option = device::TDeviceOpt(n);
        Line(out, device, DeviceEntry(option).Name, GetDeviceParamText(model, option, kSeparator));
    }

    for (int contour = 1; contour <= 4; ++contour) {
        const std::string page = "Контур " + std::to_string(contour);
        const int type = model.GetContourType(contour);
        Line(out, page, "Тип контура", ContourTypeSelectorText(type));
        for (const device::TConturOpt option : ShownContourRows(type)) {
            // A reduced contour holding a heating or hot-water type (possible
            // only in data from elsewhere) has no field for some of its rows.
            if (model.GetContourParam(contour, option)) {
                Line(out, page, ContourEntry(option).Name,
                     GetContourParamText(model, contour, option, kSeparator));
            }
        }
    }

    constexpr std::string_view inputs = "Входы";
    Line(out, inputs, "Термометры сопротивления", GetThermometerTypeText(model));
    for (int input = 1; input <= kThermometerInputCount; ++input) {
        for (const auto column : {device::ioJoinContour, device::ioFunc, device::ioAlarm}) {
            Line(out, inputs,
                 InputName(TInputKind::Thermometer, input) + " " +
                     std::string(InputEntry(TInputKind::Thermometer, column).Name),
                 GetInputText(model, input, column));
        }
    }
    for (int input = 1; input <= kAnalogInputCount; ++input) {
        for (const auto column :
             {device::ioJoinContour, device::ioFunc, device::ioAlarm, device::ioMaxValAnalog}) {
            std::string value = GetAnalogInputText(model, input, column, kSeparator);
            if (column == device::ioMaxValAnalog) {
                value += " " + GetAnalogInputText(model, input, device::ioAnalogType, kSeparator);
            }
            Line(out, inputs,
                 InputName(TInputKind::Analog, input) + " " +
                     std::string(InputEntry(TInputKind::Analog, column).Name),
                 value);
        }
    }
}

void WriteCurrentListing(const device::TKT41& model, const device::TCurrentData& data,
                         std::ostream& out) {
    using namespace catalogue;

    constexpr std::string_view readings = "Текущие показания";
    // T1..T6, then the setpoints of contours 1 and 2.
    for (int input = 1; input <= 6; ++input) {
        Line(out, readings, kTemperatureHeaders[std::size_t(input - 1)],
             TemperatureText(data.Temperature(input), kSeparator));
    }
    for (int contour = 1; contour <= 2; ++contour) {
        Line(out, readings, kTemperatureHeaders[std::size_t(5 + contour)],
             TemperatureText(data.Setpoint(contour), kSeparator));
    }
    for (int input = 1; input <= kAnalogInputCount; ++input) {
        const int type = model.GetAnalogInputType(input);
        const std::string header = AnalogHeader(type, "");
        Line(out, readings,
             InputName(TInputKind::Analog, input) + (header.empty() ? "" : " " + header),
             AnalogValueText(data.AnalogWord(input), type, kSeparator));
    }
    for (int sensor = 0; sensor < kSensorCount; ++sensor) {
        Line(out, readings, kSensorAndHoursHeaders[std::size_t(sensor)],
             SensorStateText(data.SensorBits(), sensor));
    }
    for (int pump = 1; pump <= 4; ++pump) {
        Line(out, readings, kSensorAndHoursHeaders[std::size_t(kSensorCount + pump - 1)],
             std::to_string(data.PumpHours(pump)));
    }

    constexpr std::string_view log = "Фиксируемые ошибки и события";
    const auto events = ActiveEvents(data.EventWords());
    if (events.empty()) {
        Line(out, log, kNoEventsKind, kNoEventsText);
    }
    for (const TEventText& event : events) {
        Line(out, log, event.Kind, event.Description);
    }
}

} // namespace kt41::cli
