#include "catalogue/Catalogue.h"
#include "device/FieldRef.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kt41::catalogue;
using namespace kt41::device;

// The names whose blanks, letters or case differ from what one would type.
TEST(CatalogueTables, IrregularNamesAreKeptByteForByte) {
    EXPECT_EQ(DeviceEntry(doMBS_speed).Name, "Cкорости связи, бит/сек ");
    EXPECT_EQ(DeviceEntry(doMBS_speed).Name[0], 'C'); // a Latin letter
    EXPECT_EQ(ContourEntry(coT_action).Name,
              "Значение темп-ры наруж. воздуха для активации режима повышенного давления, "
              "град.  (0-Выкл.)");
    EXPECT_EQ(ContourEntry(coVLV_limit_DN).Name, "Закрытие  клапана, % (протечка)");
    EXPECT_EQ(ContourEntry(coRP_diff_MX).Name,
              "Перепад давления в режиме повышенного давления, Мпа");
    EXPECT_EQ(ContourEntry(coRP_diff).Name, "Перепад давления для поддержания, МПа");
    EXPECT_EQ(kRegulationList[1], "по подающему теплоносителю ");
    for (const TDeviceOpt o : {doNO_M2, doNO_M4, doNO_M6, doNO_M8}) {
        EXPECT_EQ(DeviceEntry(o).Name.back(), ' ') << o;
    }
    for (const TDeviceOpt o : {doNO_M1, doNO_M3, doNO_M5, doNO_M7, doNO_MP1, doNO_MP2}) {
        EXPECT_NE(DeviceEntry(o).Name.back(), ' ') << o;
    }
    EXPECT_EQ(PumpEntry(noPMP_count).Name, "Времени анализа состояния датчика работы насоса, сек");
    EXPECT_EQ(InputEntry(TInputKind::Analog, ioMaxValAnalog).Name, "Значение, соответ-щее 20 мА.");
    // Entries 1 and 2 of the 4-20 mA function list share their text.
    EXPECT_EQ(kAnalogFunctionList[1], "РПД (давление)");
    EXPECT_EQ(kAnalogFunctionList[2], kAnalogFunctionList[1]);
    EXPECT_EQ(kMainPumpList[0], "Насос 2");
}

TEST(CatalogueTables, EveryEntryIsComplete) {
    for (int n = 0; n < kConturOptCount; ++n) {
        const TCatalogueEntry& e = ContourEntry(TConturOpt(n));
        EXPECT_TRUE(e.Exists()) << n;
        EXPECT_FALSE(e.Name.empty()) << n;
        EXPECT_LE(e.RawMin, e.RawMax) << n;
        EXPECT_EQ(e.Editor == ekChoiceList, !e.Choices.empty()) << n;
    }
    for (int n = 0; n < kDeviceOptCount; ++n) {
        EXPECT_FALSE(DeviceEntry(TDeviceOpt(n)).Name.empty()) << n;
    }
    for (int n = 0; n < kNasosOptCount; ++n) {
        EXPECT_FALSE(PumpEntry(TNasosOpt(n)).Name.empty()) << n;
    }
    // Outside the enumerations: an empty entry, not a neighbour's.
    EXPECT_FALSE(ContourEntry(TConturOpt(31)).Exists());
    EXPECT_FALSE(ContourEntry(TConturOpt(-1)).Exists());
    EXPECT_FALSE(DeviceEntry(TDeviceOpt(20)).Exists());
    EXPECT_FALSE(PumpEntry(TNasosOpt(10)).Exists());
    EXPECT_FALSE(InputEntry(TInputKind::Thermometer, ioMaxValAnalog).Exists());
    EXPECT_FALSE(InputEntry(TInputKind::Analog, TInputOpt(5)).Exists());
}

// The decimal entries: scale 10 for the two deltas and the two coefficients,
// 100 for every pressure.
TEST(CatalogueTables, DecimalScales) {
    for (int n = 0; n < kConturOptCount; ++n) {
        const TCatalogueEntry& e = ContourEntry(TConturOpt(n));
        if (e.Editor != ekDecimalSpin) {
            EXPECT_EQ(e.Scale, 1) << n;
            continue;
        }
        const bool tenths = n == coBC_delta_UP || n == coBC_delta_DN || n == coPK || n == coDK;
        EXPECT_EQ(e.Scale, tenths ? 10 : 100) << n;
        EXPECT_EQ(e.Decimals(), tenths ? 1 : 2) << n;
        EXPECT_EQ(e.Display, TDisplayKind::Decimal) << n;
    }
    EXPECT_DOUBLE_EQ(ContourEntry(coBC_delta_UP).EditorMinimum(), 0.2);
    EXPECT_DOUBLE_EQ(ContourEntry(coP_alarm_UP).EditorMaximum(), 3.0);
    EXPECT_DOUBLE_EQ(ContourEntry(coPK).EditorMinimum(), 0.1);
    const TCatalogueEntry& maxVal = InputEntry(TInputKind::Analog, ioMaxValAnalog);
    EXPECT_EQ(maxVal.Editor, ekDecimalField);
    EXPECT_EQ(maxVal.Scale, 100);
    EXPECT_EQ(DeviceEntry(doID_Device).RawMin, 1);
    EXPECT_EQ(DeviceEntry(doID_Device).RawMax, 239);
}

// The catalogue's raw type must agree with the model field the selector reaches.
TEST(CatalogueTables, RawTypesMatchTheModelFields) {
    const auto check = [](const TCatalogueEntry& e, FieldRef ref, std::string_view what, int n) {
        ASSERT_TRUE(ref.Valid()) << what << n;
        EXPECT_EQ(e.IsSigned(), ref.IsSigned()) << what << n;
        ref.Set(0x1FF); // a byte field keeps 0xFF, a 16-bit field 0x1FF
        EXPECT_EQ(e.Raw == TRawType::Byte, ref.Get() == 0xFF) << what << n;
    };
    TParamContur contour;
    for (int n = 0; n < kConturOptCount; ++n) {
        check(ContourEntry(TConturOpt(n)), ContourField(contour, TConturOpt(n)), "contour ", n);
    }
    TParamDevice device;
    for (int n = 0; n < kDeviceOptCount; ++n) {
        check(DeviceEntry(TDeviceOpt(n)), DeviceField(device, TDeviceOpt(n)), "device ", n);
    }
    TPumpGroup pumps;
    for (int n = 0; n < kNasosOptCount; ++n) {
        check(PumpEntry(TNasosOpt(n)), PumpField(pumps, TNasosOpt(n)), "pump ", n);
    }
}

TEST(CatalogueTables, ContourTypeMasksShowTheirRows) {
    const std::vector<std::vector<int>> expected{
        {},
        {0, 10, 11, 12, 13, 14, 15, 18, 19},
        {0, 23, 24, 25, 26, 27, 28},
        {0, 23, 24, 25, 26, 27, 28, 29, 30},
        {0, 1, 4, 6, 7, 8, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
        {0, 2, 3, 4, 5, 6, 7, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
    };
    for (int type = 0; type < kContourTypeCount; ++type) {
        std::vector<int> rows;
        for (const TConturOpt o : ShownContourRows(type)) {
            rows.push_back(o);
        }
        EXPECT_EQ(rows, expected[std::size_t(type)]) << "type " << type;
    }
    EXPECT_EQ(ContourTypeMask(1), 0x000CFC01u);
    EXPECT_EQ(ContourTypeMask(6), 0u);
    EXPECT_TRUE(ShownContourRows(-1).empty());
}

TEST(CatalogueTables, ContourTypeSelectors) {
    EXPECT_EQ(ContourTypeSelectorText(0), "Выключен ");
    EXPECT_EQ(ContourTypeSelectorText(4), "Отопление ");
    EXPECT_EQ(ContourTypeSelectorText(5), "ГВС ");
    EXPECT_EQ(ContourTypeSelectorText(6), "");
    EXPECT_EQ(SelectableContourTypes(2), 6);
    EXPECT_EQ(SelectableContourTypes(3), 4);
    EXPECT_EQ(SelectableContourTypes(5), 0);
}

TEST(CatalogueTables, FillChoiceList) {
    struct Case {
        TConturOpt option;
        std::size_t size;
        std::string_view first;
    };
    std::vector<std::string> list{"stale entry"};
    for (const Case& c :
         {Case{coContour_OTP, 3, "Дискретный (реле)"},
          Case{coRegulate_by, 2, "по обратному теплоносителю"}, Case{coBC_corr_ON, 2, "Выключена"},
          Case{coVLV_protect, 3, "Ничего не делать"}, Case{coFD_Mode, 5, "Выключен"},
          Case{coRST_feed, 3, "Выключен"}, Case{coPK, 0, ""}, Case{coT_water_NR, 0, ""}}) {
        FillChoiceList(c.option, list);
        ASSERT_EQ(list.size(), c.size) << c.option;
        if (c.size > 0) {
            EXPECT_EQ(list[0], c.first);
        }
    }
    FillContourChoiceList(coFD_Mode, 2, list);
    EXPECT_EQ(list, (std::vector<std::string>{"Выключен", "1 канал с дискр. входами",
                                              "1 канал с аналог. вх. (4-20мА)"}));
    FillContourChoiceList(coFD_Mode, 3, list);
    EXPECT_EQ(list.size(), 5u);
    FillContourChoiceList(coRST_feed, 2, list);
    EXPECT_EQ(list.size(), 3u);
}

TEST(CatalogueTables, InputColumns) {
    const TCatalogueEntry& alarm = InputEntry(TInputKind::Analog, ioAlarm);
    EXPECT_EQ(alarm.Choices.size(), 2u); // "---" is never offered
    EXPECT_EQ(alarm.DisplayChoices.size(), 3u);
    EXPECT_EQ(InputEntry(TInputKind::Thermometer, ioFunc).Choices.size(), 7u);
    EXPECT_EQ(InputEntry(TInputKind::Analog, ioFunc).Choices.size(), 8u);
    EXPECT_EQ(InputEntry(TInputKind::Thermometer, ioJoinContour).Choices.size(), 4u);
    EXPECT_EQ(InputEntry(TInputKind::Analog, ioJoinContour).Choices.size(), 5u);
    EXPECT_EQ(InputEntry(TInputKind::Analog, ioAnalogType).Editor, ekNone);
    EXPECT_EQ(InputName(TInputKind::Thermometer, 6), "T6");
    EXPECT_EQ(InputName(TInputKind::Analog, 1), "P1");
    EXPECT_EQ(InputName(TInputKind::Analog, 5), "");
}
