#include "Catalogue.h"

#include <array>

namespace kt41::catalogue {

namespace {

using device::TConturOpt;
using device::TDeviceOpt;
using device::TInputOpt;
using device::TNasosOpt;

// Choice entry whose display clears bit 7 of the value before the look-up.
constexpr TCatalogueEntry Choice(std::string_view name, ChoiceList list, std::int32_t rawMax,
                                 TRawType raw, std::string_view field) {
    return {.Name = name,
            .Editor = ekChoiceList,
            .RawMin = 0,
            .RawMax = rawMax,
            .Scale = 1,
            .Display = TDisplayKind::Choice,
            .Raw = raw,
            .Choices = list,
            .DisplayChoices = list,
            .ClearTopBit = true,
            .Field = field};
}

// Choice entry whose display looks the whole value up, no bit cleared.
constexpr TCatalogueEntry ExactChoice(std::string_view name, ChoiceList list, std::int32_t rawMax,
                                      TRawType raw, std::string_view field) {
    TCatalogueEntry entry = Choice(name, list, rawMax, raw, field);
    entry.ClearTopBit = false;
    return entry;
}

constexpr TCatalogueEntry Spin(std::string_view name, std::int32_t rawMin, std::int32_t rawMax,
                               TRawType raw, std::string_view field) {
    return {.Name = name,
            .Editor = ekSpin,
            .RawMin = rawMin,
            .RawMax = rawMax,
            .Scale = 1,
            .Display = TDisplayKind::Integer,
            .Raw = raw,
            .Field = field};
}

constexpr TCatalogueEntry DecimalSpin(std::string_view name, std::int32_t rawMin,
                                      std::int32_t rawMax, std::int32_t scale, TRawType raw,
                                      std::string_view field) {
    return {.Name = name,
            .Editor = ekDecimalSpin,
            .RawMin = rawMin,
            .RawMax = rawMax,
            .Scale = scale,
            .Display = TDisplayKind::Decimal,
            .Raw = raw,
            .Field = field};
}

// Indexed by TConturOpt. The choice lists have fewer entries than some raw
// maxima allow; a choice editor offers its list, whatever the maximum.
constexpr std::array<TCatalogueEntry, device::kConturOptCount> kContourTable{{
    // coContour_OTP
    Choice("Способ управления контуром", kControlModeList, 2, TRawType::Byte, "ConturCtrlMode"),
    // coRegulate_by
    Choice("Режим регулирования", kRegulationList, 2, TRawType::Byte, "RegulateMode"),
    // coT_water_NR
    Spin("Нормальная темп-ра горячей воды, град", 1, 99, TRawType::UInt16, "Tnorm"),
    // coT_water_LW
    Spin("Пониженная темп-ра горячей воды, град", 1, 99, TRawType::UInt16, "Tlow"),
    // coBC_corr_ON
    Choice("Коррекция обратной температуры", kCorrectionList, 1, TRawType::Byte, "BC_corr_ON"),
    // coT_water_BC
    Spin("Темп-ра обратного теплоносителя, град", 1, 99, TRawType::UInt16, "Tbc"),
    // coBC_delta_UP
    DecimalSpin("Верхняя допустимая дельта темп-ры обратн. тепло-ля, град", 2, 50, 10,
                TRawType::Int16, "dBC_High"),
    // coBC_delta_DN
    DecimalSpin("Нижняя допустимая дельта темп-ры обратн. тепло-ля, град", 5, 50, 10,
                TRawType::Int16, "dBC_Low"),
    // codT_lower
    Spin("Понижение заданной температуры (недельн. прогр.), град", 1, 10, TRawType::UInt16,
         "dT_low"),
    // coT_water_MN
    Spin("Минимальная темп-ра горячей воды, град", 1, 99, TRawType::UInt16, "Tmin"),
    // coRP_diff
    DecimalSpin("Перепад давления для поддержания, МПа", 0, 300, 100, TRawType::UInt16, "RP_diff"),
    // coT_action
    Spin("Значение темп-ры наруж. воздуха для активации режима повышенного давления, град.  "
         "(0-Выкл.)",
         -50, 0, TRawType::Int16, "T_action"),
    // coRP_diff_MX
    DecimalSpin("Перепад давления в режиме повышенного давления, Мпа", 0, 300, 100,
                TRawType::UInt16, "RP_diff_max"),
    // coPK
    DecimalSpin("Пропорциональный коэф. регулирования", 1, 15, 10, TRawType::UInt16, "PK"),
    // coDK
    DecimalSpin("Дифференциальный коэф. регулирования", 0, 15, 10, TRawType::UInt16, "DK"),
    // coCycle
    Spin("Период регулирования, сек", 10, 3600, TRawType::UInt16, "Cycle"),
    // coT_alarm_UP
    Spin("Аварийная макс. температура, град", -50, 150, TRawType::Int16, "T_alarm_max"),
    // coT_alarm_DN
    Spin("Аварийная мин. температура, град", -50, 150, TRawType::Int16, "T_alarm_min"),
    // coP_alarm_UP
    DecimalSpin("Аварийное макс. давление, МПа", 0, 300, 100, TRawType::UInt16, "P_alarm_max"),
    // coP_alarm_DN
    DecimalSpin("Аварийное мин. давление, МПа", 0, 300, 100, TRawType::UInt16, "P_alarm_min"),
    // coVLV_protect
    Choice("Состояние клапана в случае аварии насосной группы", kValveStateList, 2, TRawType::Byte,
           "VLV_Condition"),
    // coVLV_limit_UP
    Spin("Макс. открытие клапана, %", 30, 100, TRawType::UInt16, "VLV_Max_Up"),
    // coVLV_limit_DN
    Spin("Закрытие  клапана, % (протечка)", 0, 10, TRawType::UInt16, "VLV_Max_Down"),
    // coFD_Mode
    Choice("Режим подпитки", kFeedModeList, 4, TRawType::Byte, "FeedMode"),
    // coRST_feed
    Choice("Перезапуск подпитки", kRestartList, 2, TRawType::Byte, "FeedReset"),
    // coVLV_pause
    Spin("Пауза между открытием клапана подпитки и вкл. насоса, сек", 0, 60, TRawType::UInt16,
         "VLV_pause"),
    // coPMP_timeout
    Spin("Макс-ное время работы насоса подпитки за один цикл, мин", 1, 60, TRawType::UInt16,
         "PMP_timeout"),
    // coUP_threshold_1
    DecimalSpin("Верхнее давления 1-го канала подпитки (вход 4-20мА), МПа", 0, 300, 100,
                TRawType::UInt16, "DavHigh_Feed1"),
    // coDN_threshold_1
    DecimalSpin("Нижнее давления 1-го канала подпитки (вход 4-20мА), МПа", 0, 300, 100,
                TRawType::UInt16, "DavLow_Feed1"),
    // coUP_threshold_2
    DecimalSpin("Верхнее давления 2-го канала подпитки (вход 4-20мА), МПа", 0, 300, 100,
                TRawType::UInt16, "DavHigh_Feed2"),
    // coDN_threshold_2
    DecimalSpin("Нижнее давления 2-го канала подпитки (вход 4-20мА), МПа", 0, 300, 100,
                TRawType::UInt16, "DavLow_Feed2"),
}};

// Indexed by TDeviceOpt. The speed and contact lists compare the whole 16-bit
// value, so a value such as 300 is shown as a number.
constexpr std::array<TCatalogueEntry, device::kDeviceOptCount> kDeviceTable{{
    // doID_Device
    Spin("Сетевой адрес", 1, 239, TRawType::Byte, "ID_Device"),
    // doMBS_speed
    ExactChoice("Cкорости связи, бит/сек ", kSpeedList, 1, TRawType::UInt16, "MBS_speed"),
    // doVLV_stroke1
    Spin("Время полного хода клапана 1-го контура, сек", 3, 600, TRawType::UInt16, "VLV_stroke1"),
    // doVLV_stroke2
    Spin("Время полного хода клапана 2-го контура, сек", 3, 600, TRawType::UInt16, "VLV_stroke2"),
    // doVLV_stroke3
    Spin("Время полного хода клапана 3-го контура, сек", 3, 600, TRawType::UInt16, "VLV_stroke3"),
    // doVLV_stroke4
    Spin("Время полного хода клапана 4-го контура, сек", 3, 600, TRawType::UInt16, "VLV_stroke4"),
    // doPMP1_time_1
    Spin("Время наработки 1-го насоса 1-го контура, час", 0, 65000, TRawType::UInt16,
         "PMP1_time_1"),
    // doPMP2_time_1
    Spin("Время наработки 2-го насоса 1-го контура, час", 0, 65000, TRawType::UInt16,
         "PMP2_time_1"),
    // doPMP1_time_2
    Spin("Время наработки 1-го насоса 2-го контура, час", 0, 65000, TRawType::UInt16,
         "PMP1_time_2"),
    // doPMP2_time_2
    Spin("Время наработки 2-го насоса 2-го контура, час", 0, 65000, TRawType::UInt16,
         "PMP2_time_2"),
    // doNO_M1
    ExactChoice("Состояние датчика защиты от сухого хода насосов 1-го контура", kContactList, 1,
                TRawType::UInt16, "NO_M1"),
    // doNO_M2
    ExactChoice("Состояние датчика контроля работы насосов 1-го контура ", kContactList, 1,
                TRawType::UInt16, "NO_M2"),
    // doNO_M3
    ExactChoice("Состояние датчика защиты от сухого хода насосов 2-го контура", kContactList, 1,
                TRawType::UInt16, "NO_M3"),
    // doNO_M4
    ExactChoice("Состояние датчика контроля работы насосов 2-го контура ", kContactList, 1,
                TRawType::UInt16, "NO_M4"),
    // doNO_M5
    ExactChoice("Состояние датчика защиты от сухого хода насосов 3-го контура", kContactList, 1,
                TRawType::UInt16, "NO_M5"),
    // doNO_M6
    ExactChoice("Состояние датчика контроля работы насосов 3-го контура ", kContactList, 1,
                TRawType::UInt16, "NO_M6"),
    // doNO_M7
    ExactChoice("Состояние датчика защиты от сухого хода насосов 4-го контура", kContactList, 1,
                TRawType::UInt16, "NO_M7"),
    // doNO_M8
    ExactChoice("Состояние датчика контроля работы насосов 4-го контура ", kContactList, 1,
                TRawType::UInt16, "NO_M8"),
    // doNO_MP1
    ExactChoice("Состояние датчика подпитки (верхний уровень)", kContactList, 1, TRawType::UInt16,
                "NO_MP1"),
    // doNO_MP2
    ExactChoice("Состояние датчика подпитки (нижний уровень)", kContactList, 1, TRawType::UInt16,
                "NO_MP2"),
}};

// Indexed by TNasosOpt. A list value beyond its list is shown as the number.
constexpr std::array<TCatalogueEntry, device::kNasosOptCount> kPumpTable{{
    // noPMP_Mode
    ExactChoice("Включение режима работы насосов", kOnOffList, 1, TRawType::Byte, "Pump_ON"),
    // noPMP_Main
    ExactChoice("Основной насос", kMainPumpList, 1, TRawType::Byte, "Pump_Main"),
    // noPMP_SensProtect
    ExactChoice("Датчик защиты насосов от сухого хода", kPresenceList, 1, TRawType::Byte,
                "Pump_SensProtect"),
    // noPMP_SensWork
    ExactChoice("Датчик контроля работы насосов", kPresenceList, 1, TRawType::Byte,
                "Pump_SensWork"),
    // noPMP_AVR
    ExactChoice("Автоматический ввод резервного насоса в случае неисправности основного (АВР)",
                kOnOffList, 1, TRawType::Byte, "Pump_AVR"),
    // noPMP_VarWork
    ExactChoice("Попеременная работа насосов", kOnOffList, 1, TRawType::Byte, "Pump_VarWork"),
    // noDRY_count
    Spin("Задержка включения насоса", 1, 30, TRawType::UInt16, "Pump_DelayOn"),
    // noPMP_count
    Spin("Времени анализа состояния датчика работы насоса, сек", 1, 30, TRawType::UInt16,
         "Pump_TimeSensWork"),
    // noRST_Mode
    ExactChoice("Перезапуск насосов", kRestartList, 2, TRawType::Byte, "Pump_Reset"),
    // noRST_iternal
    Spin("Период перезапуска насосов в режиме «Произвольный», мин", 10, 1440, TRawType::UInt16,
         "Pump_PeriodReset"),
}};

constexpr std::string_view kContourHeading = "Назначение";
constexpr std::string_view kFunctionHeading = "Функция";
constexpr std::string_view kAlarmHeading = "«Аварийный»";
constexpr std::string_view kMaxValHeading = "Значение, соответ-щее 20 мА.";

// The alarm editor offers "Нет" and "Есть"; the display also knows "---".
constexpr TCatalogueEntry AlarmEntry() {
    TCatalogueEntry entry = Choice(kAlarmHeading, kAlarmEditList, 1, TRawType::Byte, "Alarm");
    entry.DisplayChoices = kAlarmDisplayList;
    return entry;
}

// Indexed by TInputOpt. Thermometer inputs have no 20 mA value and no unit.
constexpr std::array<TCatalogueEntry, device::kInputOptCount> kThermometerInputTable{{
    Choice(kContourHeading, kThermometerAssignmentList, 3, TRawType::Byte, "Contour"),
    Choice(kFunctionHeading, kThermometerFunctionList, 6, TRawType::Byte, "Func"),
    AlarmEntry(),
    {},
    {},
}};

constexpr std::array<TCatalogueEntry, device::kInputOptCount> kAnalogInputTable{{
    Choice(kContourHeading, kAnalogAssignmentList, 4, TRawType::Byte, "Contour"),
    Choice(kFunctionHeading, kAnalogFunctionList, 7, TRawType::Byte, "Func"),
    AlarmEntry(),
    // A free decimal field, stored in hundredths.
    {.Name = kMaxValHeading,
     .Editor = ekDecimalField,
     .RawMin = 0,
     .RawMax = 65535,
     .Scale = 100,
     .Display = TDisplayKind::Decimal,
     .Raw = TRawType::UInt16,
     .Field = "MaxVal"},
    // No column of its own: the unit beside the 20 mA value, derived from the
    // function. Indexed by the value without clearing any bit.
    {.Name = {},
     .Editor = ekNone,
     .RawMin = 0,
     .RawMax = 2,
     .Scale = 1,
     .Display = TDisplayKind::Choice,
     .Raw = TRawType::Byte,
     .Choices = {},
     .DisplayChoices = kUnitList,
     .ClearTopBit = false,
     .Field = "InputType"},
}};

// Rows of each contour type, bit N for TConturOpt N.
constexpr std::array<std::uint32_t, kContourTypeCount> kContourTypeMasks{
    0x00000000, // switched off
    0x000CFC01, // differential-pressure regulation
    0x1F800001, // one feed channel
    0x7F800001, // two feed channels
    0x007FE1D3, // heating
    0x007FE2FD, // hot water
};

constexpr TCatalogueEntry kNoEntry{};

template <std::size_t N>
const TCatalogueEntry& At(const std::array<TCatalogueEntry, N>& table, int index) {
    return index >= 0 && index < int(N) ? table[std::size_t(index)] : kNoEntry;
}

} // namespace

const TCatalogueEntry& ContourEntry(TConturOpt option) {
    return At(kContourTable, option);
}

const TCatalogueEntry& DeviceEntry(TDeviceOpt option) {
    return At(kDeviceTable, option);
}

const TCatalogueEntry& PumpEntry(TNasosOpt option) {
    return At(kPumpTable, option);
}

const TCatalogueEntry& InputEntry(TInputKind kind, TInputOpt option) {
    return At(kind == TInputKind::Thermometer ? kThermometerInputTable : kAnalogInputTable, option);
}

std::string InputName(TInputKind kind, int input) {
    const bool thermometer = kind == TInputKind::Thermometer;
    const int count = thermometer ? kThermometerInputCount : kAnalogInputCount;
    if (input < 1 || input > count) {
        return {};
    }
    return (thermometer ? "T" : "P") + std::to_string(input);
}

std::uint32_t ContourTypeMask(int type) {
    return type >= 0 && type < kContourTypeCount ? kContourTypeMasks[std::size_t(type)] : 0;
}

std::vector<TConturOpt> ShownContourRows(int type) {
    const std::uint32_t mask = ContourTypeMask(type);
    std::vector<TConturOpt> rows;
    for (int n = 0; n < device::kConturOptCount; ++n) {
        if (mask & (std::uint32_t(1) << n)) {
            rows.push_back(TConturOpt(n));
        }
    }
    return rows;
}

int SelectableContourTypes(int contour) {
    if (contour == 1 || contour == 2) {
        return kContourTypeCount;
    }
    return contour == 3 || contour == 4 ? 4 : 0;
}

std::string ContourTypeSelectorText(int type) {
    if (type < 0 || type >= kContourTypeCount) {
        return {};
    }
    return std::string(kContourTypeNames[std::size_t(type)]) +
           std::string(kContourTypeSelectorSuffix);
}

void FillChoiceList(TConturOpt option, std::vector<std::string>& list) {
    list.clear();
    for (const std::string_view entry : ContourEntry(option).Choices) {
        list.emplace_back(entry);
    }
}

void FillContourChoiceList(TConturOpt option, int contourType, std::vector<std::string>& list) {
    FillChoiceList(option, list);
    if (option == device::coFD_Mode && contourType == 2) {
        list.resize(3); // the one-channel modes only
    }
}

} // namespace kt41::catalogue
