#pragma once

#include <array>
#include <span>
#include <string_view>

namespace kt41::catalogue {

// A choice list: its entries in order; a stored value is the index of an entry.
using ChoiceList = std::span<const std::string_view>;

// Every choice list of the parameter pages and dialogs. The texts are shown byte
// for byte, trailing blanks included.
inline constexpr std::array<std::string_view, 3> kControlModeList{
    "Дискретный (реле)", "Аналоговый выход (4-20 мА) №1", "Аналоговый выход (4-20 мА) №2"};
inline constexpr std::array<std::string_view, 2> kRegulationList{"по обратному теплоносителю",
                                                                 "по подающему теплоносителю "};
inline constexpr std::array<std::string_view, 2> kCorrectionList{"Выключена", "Включена"};
inline constexpr std::array<std::string_view, 3> kValveStateList{
    "Ничего не делать", "Открыть полностью", "Закрыть полностью"};
inline constexpr std::array<std::string_view, 5> kFeedModeList{
    "Выключен", "1 канал с дискр. входами", "1 канал с аналог. вх. (4-20мА)",
    "2 канала (аналог. (4-20мА) + дискр. вход)", "2 канала с аналог. входом (4-20мА)"};
inline constexpr std::array<std::string_view, 3> kRestartList{"Выключен", "Фиксированный",
                                                              "Произвольный"};
inline constexpr std::array<std::string_view, 2> kSpeedList{"9600", "19200"};
inline constexpr std::array<std::string_view, 2> kContactList{"Нормально откр.", "Нормально закр."};
inline constexpr std::array<std::string_view, 4> kThermometerAssignmentList{
    "Нет", "Контур 1", "Контур 2", "Контур 1 и 2"};
inline constexpr std::array<std::string_view, 7> kThermometerFunctionList{"Нет",
                                                                          "Наружный (ОТП)",
                                                                          "Смесь (ОТП)",
                                                                          "Обратный (ОТП)",
                                                                          "Горячей воды (ГВС)",
                                                                          "Обратный (ГВС)",
                                                                          "Контрольный"};
inline constexpr std::array<std::string_view, 5> kAnalogAssignmentList{
    "Нет", "Контур 1", "Контур 2", "Контур 3", "Контур 4"};
// Entries 1 and 2 carry the same text; each stores its own index.
inline constexpr std::array<std::string_view, 8> kAnalogFunctionList{"Нет",
                                                                     "РПД (давление)",
                                                                     "РПД (давление)",
                                                                     "Подпитка 1 (давление)",
                                                                     "Подпитка 2 (давление)",
                                                                     "Контрольный (давление)",
                                                                     "Контрольный (положение)",
                                                                     "Контрольный (расход)"};
inline constexpr std::array<std::string_view, 2> kAlarmEditList{"Нет", "Есть"};
// Value 2: the input has no alarm role; shown, never offered for editing.
inline constexpr std::array<std::string_view, 3> kAlarmDisplayList{"Нет", "Есть", "---"};
// The unit of a 4-20 mA input by its InputType.
inline constexpr std::array<std::string_view, 3> kUnitList{"%", "МПа", "м3/ч"};
inline constexpr std::array<std::string_view, 2> kOnOffList{"Выключен", "Включен"};
// Value 0 is pump 2, value 1 pump 1.
inline constexpr std::array<std::string_view, 2> kMainPumpList{"Насос 2", "Насос 1"};
inline constexpr std::array<std::string_view, 2> kPresenceList{"Нет", "Есть"};
inline constexpr std::array<std::string_view, 2> kThermometerTypeList{"Pt100 W = 1.3850",
                                                                      "Pt100 W = 1.3910"};
// A sensor state of the current readings: bit clear, bit set.
inline constexpr std::array<std::string_view, 2> kStateList{"Норма", "Авария"};
// The contour types 0..5 (the ContourType value).
inline constexpr std::array<std::string_view, 6> kContourTypeNames{
    "Выключен", "РПД", "Одна подпитка", "Две подпитки", "Отопление", "ГВС"};

// The contour type selector shows each type name followed by one blank.
inline constexpr std::string_view kContourTypeSelectorSuffix = " ";

} // namespace kt41::catalogue
