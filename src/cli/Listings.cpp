#include "Listings.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CurrentReadingTexts.h"
#include "catalogue/CurrentReadings.h"
#include "catalogue/ModelTexts.h"
#include "device/TKT41.h"

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
    const TCurrentReadingTexts texts(model, data, kSeparator);
    // T1..T6 and the setpoints under their headers; the 4-20 mA inputs under
    // their names and the header of their type.
    for (int column = 0; column < kReadingColumns; ++column) {
        std::string name = texts.ReadingHeader(column, "");
        if (column >= kFirstAnalogColumn) {
            const std::string input =
                InputName(TInputKind::Analog, column - kFirstAnalogColumn + 1);
            name = name.empty() ? input : input + " " + name;
        }
        Line(out, readings, name, texts.ReadingValue(column));
    }
    for (int column = 0; column < kSensorAndHoursColumns; ++column) {
        Line(out, readings, kSensorAndHoursHeaders[std::size_t(column)],
             texts.SensorOrHoursValue(column));
    }

    constexpr std::string_view log = "Фиксируемые ошибки и события";
    for (const TEventLogRow& row : EventLogRows(data.EventWords(), {})) {
        Line(out, log, row.Kind, row.Description);
    }
}

} // namespace kt41::cli
