#include "ConfigFileFixture.h"

#include <algorithm>

using namespace kt41::device;
using kt41::config_file::LoadFromFile;
using kt41::config_file::SaveToFile;
using kt41::driver::MessageIcon;

namespace {

std::string Document(const std::string& body, const std::string& root = "Config_KT-41") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + root +
           " SerialNumber=\"1\" Version=\"1.0\">" + body + "</" + root + ">";
}

const std::vector<std::string> kSixWarnings{
    "Настройки для 1 Контура отсутствуют!",    "Настройки для 2 Контура отсутствуют!",
    "Настройки для 3 Контура отсутствуют!",    "Настройки для 4 Контура отсутствуют!",
    "Общие настройки регулятора отсутствуют!", "Калибровки температуры и давления отсутствуют!"};

} // namespace

class Reading : public kt41::testing::ConfigFileTest {
protected:
    bool Load(const std::string& text) {
        const std::string path = PathOf("R50_№ 00001.c50");
        WriteText(path, text);
        return LoadFromFile(model, path);
    }
};

TEST_F(Reading, EmptyRootWarnsSixTimesAndLeavesZeros) {
    FillRandomly(model, 5);
    ASSERT_TRUE(Load(Document("")));
    EXPECT_EQ(sink.Texts(), kSixWarnings);
    for (const auto& m : sink.Messages) {
        EXPECT_EQ(m.Caption, "Предупреждение");
        EXPECT_EQ(m.Icon, MessageIcon::Warning);
    }
    // Defaults apply only inside present elements.
    TKT41 reset{driver};
    ExpectSameConfiguration(model, reset);
}

TEST_F(Reading, MissingElementsWarnOnlyForContoursDeviceAndCalibration) {
    ASSERT_TRUE(Load(Document("<Contour1/><Contour3/><Contour4/><CalibrTemperatureAndPressure/>"
                              "<Unknown><Tnorm>5</Tnorm></Unknown>")));
    EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"Настройки для 2 Контура отсутствуют!",
                                                      "Общие настройки регулятора отсутствуют!"}));
    EXPECT_EQ(model.Input_P[0], TInputAnalog{}); // skipped silently, stays zero
    EXPECT_EQ(model.Contour2, TParamContur{});
}

TEST_F(Reading, DefaultsOfPresentElements) {
    ASSERT_TRUE(
        Load(Document("<Contour1><ContourType>4</ContourType></Contour1>"
                      "<Contour2><Array_Tout><Tout3>-5</Tout3></Array_Tout>"
                      "<Calendar_Tlow><Day3><Point2>7</Point2></Day3></Calendar_Tlow></Contour2>"
                      "<Contour3/><Input_T1/><Input_P1><Contour>2</Contour></Input_P1>"
                      "<ParamDevice/><CalibrTemperatureAndPressure/>")));
    const TParamContur& c = model.Contour1;
    EXPECT_EQ(c.ContourType, 4);
    EXPECT_EQ(c.Tnorm, 50);
    EXPECT_EQ(c.Tlow, 40);
    EXPECT_EQ(c.Tbc, 99);
    EXPECT_EQ(c.Tmin, 99);
    EXPECT_EQ(c.Cycle, 180);
    EXPECT_EQ(c.dT_low, 1);
    EXPECT_EQ(c.Qt_Points, 8);
    EXPECT_EQ(c.VLV_Max_Up, 100);
    EXPECT_EQ(c.VLV_Max_Down, 0);
    EXPECT_EQ(c.dBC_High, 10);
    EXPECT_EQ(c.dBC_Low, 10);
    EXPECT_EQ(c.PK, 5);
    EXPECT_EQ(c.DK, 4);
    EXPECT_EQ(c.FeedReset, 1);
    EXPECT_EQ(c.VLV_pause, 5);
    EXPECT_EQ(c.PMP_timeout, 1);
    EXPECT_EQ(c.RP_diff, 0);
    EXPECT_EQ(c.PumpGroup, (TPumpGroup{0, 0, 0, 0, 0, 0, 20, 20, 1, 60}));
    for (std::size_t n = 0; n < 8; ++n) {
        EXPECT_EQ(c.Tout[n], -10);
        EXPECT_EQ(c.Tin[n], 65);
        EXPECT_EQ(c.Tback[n], 45);
    }
    for (const auto& day : c.Calendar_Tlow.Day) {
        EXPECT_EQ(day, (std::array<std::uint16_t, 4>{25, 25, 25, 25}));
    }
    EXPECT_EQ(c.Calendar_Pump, c.Calendar_Tlow);

    // Within present arrays and calendars, each missing entry takes the default.
    EXPECT_EQ(model.Contour2.Tout,
              (std::array<std::int16_t, 8>{-10, -10, -5, -10, -10, -10, -10, -10}));
    EXPECT_EQ(model.Contour2.Calendar_Tlow.Day[2], (std::array<std::uint16_t, 4>{25, 7, 25, 25}));
    EXPECT_EQ(model.Contour2.Calendar_Tlow.Day[3][1], 25);

    EXPECT_EQ(model.Contour3.PumpGroup.Pump_PeriodReset, 60);
    EXPECT_EQ(model.Contour3.Cycle, 180);
    EXPECT_EQ(model.Contour4, TParamConturEx{}); // missing: zero, not defaults
    EXPECT_EQ(model.Input_T[0], TInputTerm{});
    // The 4-20 mA defaults, stored as read: no derivation of InputType or Alarm.
    EXPECT_EQ(model.Input_P[0], (TInputAnalog{2, 5, 0, 0, 100}));
    EXPECT_EQ(model.Input_P[1], TInputAnalog{});
    const TParamDevice& d = model.ParamDevice;
    EXPECT_EQ(d.ID_Device, 239);
    EXPECT_EQ(d.VLV_stroke1, 180);
    EXPECT_EQ(d.VLV_stroke4, 180);
    EXPECT_EQ(d.PMP1_time_1, 0);
    EXPECT_EQ((std::array{d.NO_M1, d.NO_M2, d.NO_M3, d.NO_M4, d.NO_M5, d.NO_M6, d.NO_M7, d.NO_M8,
                          d.NO_MP1, d.NO_MP2}),
              (std::array<std::uint16_t, 10>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(model.CalibrTemperatureAndPressure, TCalibrTermDav{});
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Настройки для 4 Контура отсутствуют!"});
}

TEST_F(Reading, ValuesAreCutToTheFieldWidth) {
    ASSERT_TRUE(Load(Document("<Contour1><FeedMode>300</FeedMode><Tnorm>-1</Tnorm>"
                              "<Cycle>65541</Cycle><T_action>70000</T_action>"
                              "<dBC_High>-32769</dBC_High><PK>+7</PK><DK> 3 </DK>"
                              "<Array_Tin><Tin1>0065</Tin1><Tin2><![CDATA[66]]></Tin2>"
                              "</Array_Tin></Contour1>")));
    EXPECT_EQ(model.Contour1.FeedMode, 44);
    EXPECT_EQ(model.Contour1.Tnorm, 65535);
    EXPECT_EQ(model.Contour1.Cycle, 5);
    EXPECT_EQ(model.Contour1.T_action, 4464);
    EXPECT_EQ(model.Contour1.dBC_High, 32767);
    EXPECT_EQ(model.Contour1.PK, 7);
    EXPECT_EQ(model.Contour1.DK, 3);
    EXPECT_EQ(model.Contour1.Tin[0], 65);
    EXPECT_EQ(model.Contour1.Tin[1], 66); // a CDATA section is one text as well
}

// Files that are not configuration files leave the model as it was.
TEST_F(Reading, RefusedFilesLeaveTheModelUntouched) {
    FillRandomly(model, 3);
    TKT41 before{driver};
    FillRandomly(before, 3);
    const std::string valid = Document("<Contour1><Tnorm>55</Tnorm></Contour1>");
    struct Case {
        std::string name, text;
        bool formatError;
    };
    for (const Case& c : {
             Case{"not XML", "this is not a configuration", false},
             Case{"empty file", "", false},
             Case{"truncated", valid.substr(0, valid.size() / 2), false},
             Case{"unclosed element", Document("<Contour1><Tnorm>55</Contour1>"), false},
             Case{"root in another case", Document("", "Config_kt-41"), true},
             Case{"another root", Document("", "Config"), true},
         }) {
        sink.Messages.clear();
        EXPECT_FALSE(Load(c.text)) << c.name;
        ExpectSameConfiguration(model, before);
        if (c.formatError) {
            ASSERT_EQ(sink.Messages.size(), 1u) << c.name;
            EXPECT_EQ(sink.Messages[0].Caption, "Ошибка");
            EXPECT_EQ(sink.Messages[0].Text, "Не верный формат файла.");
            EXPECT_EQ(sink.Messages[0].Icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(sink.Messages.empty()) << c.name;
        }
    }
    sink.Messages.clear();
    EXPECT_FALSE(LoadFromFile(model, PathOf("missing.c50")));
    EXPECT_FALSE(LoadFromFile(model, dir.string()));
    ExpectSameConfiguration(model, before);
    EXPECT_TRUE(sink.Messages.empty());
}

// A value that is not an integer ends the reading with false. The model keeps
// what it held before: a mixture of the file and zeros would not match the
// pages, which are not rebuilt after a failed open, and could be written to a
// controller.
TEST_F(Reading, NonIntegerValueRefusesTheFile) {
    TKT41 before{driver};
    FillRandomly(before, 8);
    // A value is one text: mixed content is not read as its first piece.
    for (const std::string bad :
         {"5x", "", "1.0", "0x10", "- 5", "99999999999", "4294967296", "<x>5</x>", "+-5",
          "7<!-- c -->8", "7<x/>8", "<!-- c -->7", "7<?pi?>", "7<![CDATA[8]]>", " <x/>7"}) {
        FillRandomly(model, 8);
        sink.Messages.clear();
        EXPECT_FALSE(Load(Document("<Contour2><ContourType>3</ContourType><Tnorm>" + bad +
                                   "</Tnorm><FeedMode>2</FeedMode></Contour2>"
                                   "<Contour3/><Contour4/><CalibrTemperatureAndPressure/>")))
            << "'" << bad << "'";
        ExpectSameConfiguration(model, before);
        // The warning for what came before the bad value, none for what follows.
        EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Настройки для 1 Контура отсутствуют!"});
    }
    // An empty element written as <Tnorm/>, inside an array and a calendar.
    for (const std::string body :
         {"<Contour1><Tnorm/></Contour1>", "<Contour1><Array_Tin><Tin8/></Array_Tin></Contour1>",
          "<Contour1><Calendar_Pump><Day7><Point4>x</Point4></Day7></Calendar_Pump></Contour1>",
          "<Input_P3><MaxVal>1e3</MaxVal></Input_P3>"}) {
        EXPECT_FALSE(Load(Document(body))) << body;
        ExpectSameConfiguration(model, before);
    }
}

TEST_F(Reading, FirstOfDuplicateKeysAndAnyElementOrder) {
    ASSERT_TRUE(Load(Document("<CalibrTemperatureAndPressure><Type_T>1</Type_T>"
                              "</CalibrTemperatureAndPressure>"
                              "<Contour2><Tnorm>60</Tnorm><Tnorm>70</Tnorm></Contour2>"
                              "<Contour2><Tnorm>80</Tnorm></Contour2>")));
    EXPECT_EQ(model.Contour2.Tnorm, 60);
    EXPECT_EQ(model.CalibrTemperatureAndPressure.Type_T, 1);
}

TEST_F(Reading, WithoutNotifyWindowMessagesAreDropped) {
    model.NotifyWindow = nullptr;
    EXPECT_TRUE(Load(Document("")));
    EXPECT_FALSE(Load(Document("", "Other")));
}
