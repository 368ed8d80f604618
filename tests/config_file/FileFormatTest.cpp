#include "ConfigFileFixture.h"

#include "catalogue/Catalogue.h"
#include "device/FieldRef.h"

#include <pugixml.hpp>

#include <sstream>

using namespace kt41::device;
using kt41::config_file::LoadFromFile;
using kt41::config_file::SaveToFile;

namespace {

using Names = std::vector<std::string>;

Names ChildNames(pugi::xml_node node) {
    Names names;
    for (pugi::xml_node child : node.children()) {
        names.emplace_back(child.name());
    }
    return names;
}

Names Numbered(const std::string& stem, int count) {
    Names names;
    for (int n = 1; n <= count; ++n) {
        names.push_back(stem + std::to_string(n));
    }
    return names;
}

} // namespace

class FileFormat : public kt41::testing::ConfigFileTest {};

TEST_F(FileFormat, RoundTripKeepsEveryField) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        FillRandomly(model, seed);
        const std::string path = PathOf("R50_№ 00042.c50");
        ASSERT_TRUE(SaveToFile(model, path));
        TKT41 loaded{driver};
        loaded.Manual.AnalogOut = {90, 90};
        ASSERT_TRUE(LoadFromFile(loaded, path));
        ExpectSameConfiguration(loaded, model);
        EXPECT_EQ(loaded.Manual, TParamManual{}); // not stored; the load resets it
    }
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(FileFormat, ResetModelDocument) {
    const std::string path = PathOf("reset.c50");
    ASSERT_TRUE(SaveToFile(model, path));
    const std::string text = ReadText(path);
    EXPECT_EQ(
        text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Config_KT-41 SerialNumber=\"0\" "
                   "Version=\"1.0\"><Contour1><ContourType>0</ContourType>",
                   0),
        0u)
        << text.substr(0, 200);
    EXPECT_EQ(text.find('\n'), std::string::npos); // written without indentation

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str()));
    int leaves = 0;
    struct Walker : pugi::xml_tree_walker {
        int* leaves;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_pcdata) {
                EXPECT_STREQ(node.value(), "0") << node.parent().name();
                ++*leaves;
            }
            return true;
        }
    } walker;
    walker.leaves = &leaves;
    doc.traverse(walker);
    // Two full contours of 45 keys, 3 arrays of 8 and 2 calendars of 28; two
    // reduced contours of 28; 6 x 3 + 4 x 5 input keys; 24 device and 5
    // calibration keys.
    EXPECT_EQ(leaves, 2 * (45 + 24 + 56) + 2 * 28 + 18 + 20 + 24 + 5);

    TKT41 loaded{driver};
    loaded.Contour1.Tnorm = 7;
    ASSERT_TRUE(LoadFromFile(loaded, path));
    ExpectSameConfiguration(loaded, model);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(FileFormat, ElementOrder) {
    model.ParamDevice.SerialNumber = 42;
    const std::string path = PathOf("order.c50");
    ASSERT_TRUE(SaveToFile(model, path));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    const pugi::xml_node root = doc.document_element();
    EXPECT_STREQ(root.name(), "Config_KT-41");
    EXPECT_STREQ(root.first_attribute().name(), "SerialNumber");
    EXPECT_STREQ(root.first_attribute().value(), "42");
    EXPECT_STREQ(root.last_attribute().name(), "Version");

    Names top{"Contour1", "Contour2", "Contour3", "Contour4"};
    for (const auto& n : Numbered("Input_T", 6)) {
        top.push_back(n);
    }
    for (const auto& n : Numbered("Input_P", 4)) {
        top.push_back(n);
    }
    top.push_back("ParamDevice");
    top.push_back("CalibrTemperatureAndPressure");
    EXPECT_EQ(ChildNames(root), top);

    const Names pumps{"Pump_ON",    "Pump_Main",       "Pump_SensProtect", "Pump_SensWork",
                      "Pump_AVR",   "Pump_VarWork",    "Pump_DelayOn",     "Pump_TimeSensWork",
                      "Pump_Reset", "Pump_PeriodReset"};
    const Names tail{"FeedMode",
                     "FeedReset",
                     "VLV_pause",
                     "PMP_timeout",
                     "DavHigh_Feed1",
                     "DavLow_Feed1",
                     "DavHigh_Feed2",
                     "DavLow_Feed2",
                     "P_alarm_max",
                     "P_alarm_min",
                     "PK",
                     "DK",
                     "Cycle",
                     "RP_diff",
                     "T_action",
                     "RP_diff_max"};
    Names full{"ContourType", "ConturCtrlMode", "dT_low",        "RegulateMode", "Array_Tout",
               "Array_Tin",   "Array_Tback",    "Qt_Points",     "T_alarm_max",  "T_alarm_min",
               "VLV_Max_Up",  "VLV_Max_Down",   "VLV_Condition", "BC_corr_ON",   "dBC_High",
               "dBC_Low",     "Week_ON_Tlow",   "Calendar_Tlow", "Week_ON_Pump", "Calendar_Pump"};
    full.insert(full.end(), pumps.begin(), pumps.end());
    for (const char* key : {"Tnorm", "Tlow", "Tbc", "Tmin"}) {
        full.push_back(key);
    }
    full.insert(full.end(), tail.begin(), tail.end());
    Names reduced{"ContourType", "ConturCtrlMode"};
    reduced.insert(reduced.end(), pumps.begin(), pumps.end());
    reduced.insert(reduced.end(), tail.begin(), tail.end());

    EXPECT_EQ(ChildNames(root.child("Contour2")), full);
    EXPECT_EQ(ChildNames(root.child("Contour4")), reduced);
    EXPECT_EQ(ChildNames(root.child("Contour1").child("Array_Tback")), Numbered("Tback", 8));
    const pugi::xml_node calendar = root.child("Contour1").child("Calendar_Pump");
    EXPECT_EQ(ChildNames(calendar), Numbered("Day", 7));
    EXPECT_EQ(ChildNames(calendar.child("Day7")), Numbered("Point", 4));
    EXPECT_EQ(ChildNames(root.child("Input_T6")), (Names{"Contour", "Func", "Alarm"}));
    EXPECT_EQ(ChildNames(root.child("Input_P4")),
              (Names{"Contour", "Func", "Alarm", "InputType", "MaxVal"}));
    Names device{"ID_Device",   "Model",       "SerialNumber", "Version",     "Manufact_date",
                 "MBS_speed",   "VLV_stroke1", "VLV_stroke2",  "VLV_stroke3", "VLV_stroke4",
                 "PMP1_time_1", "PMP2_time_1", "PMP1_time_2",  "PMP2_time_2"};
    for (const auto& n : Numbered("NO_M", 8)) {
        device.push_back(n);
    }
    device.push_back("NO_MP1");
    device.push_back("NO_MP2");
    EXPECT_EQ(ChildNames(root.child("ParamDevice")), device);
    EXPECT_EQ(ChildNames(root.child("CalibrTemperatureAndPressure")),
              (Names{"K_TERM_1", "K_TERM_2", "Type_T", "K_P1", "K_P2"}));
}

TEST_F(FileFormat, SignedAndUnsignedValues) {
    model.Contour1.T_action = -5;
    model.Contour1.Tout[0] = -25;
    model.Contour2.dBC_Low = -32768;
    model.Contour3.T_action = -1;
    model.Contour1.Cycle = 65535;
    model.Contour1.FeedMode = 255;
    model.ParamDevice.SerialNumber = 65535;
    const std::string path = PathOf("signs.c50");
    ASSERT_TRUE(SaveToFile(model, path));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    const pugi::xml_node root = doc.document_element();
    EXPECT_STREQ(root.child("Contour1").child_value("T_action"), "-5");
    EXPECT_STREQ(root.child("Contour1").child("Array_Tout").child_value("Tout1"), "-25");
    EXPECT_STREQ(root.child("Contour2").child_value("dBC_Low"), "-32768");
    EXPECT_STREQ(root.child("Contour3").child_value("T_action"), "-1");
    EXPECT_STREQ(root.child("Contour1").child_value("Cycle"), "65535");
    EXPECT_STREQ(root.child("Contour1").child_value("FeedMode"), "255");
    EXPECT_STREQ(root.attribute("SerialNumber").value(), "65535");
    TKT41 loaded{driver};
    ASSERT_TRUE(LoadFromFile(loaded, path));
    EXPECT_EQ(loaded.Contour1.T_action, -5);
    EXPECT_EQ(loaded.Contour1.Tout[0], -25);
    EXPECT_EQ(loaded.Contour2.dBC_Low, -32768);
}

// Each catalogue entry names the file key its selector's field is written under.
TEST_F(FileFormat, CatalogueFieldsAreTheFileKeys) {
    using namespace kt41::catalogue;
    const auto keyHolding = [this](const char* element, auto setSentinel) {
        TKT41 m{driver};
        setSentinel(m);
        const std::string path = PathOf("key.c50");
        EXPECT_TRUE(SaveToFile(m, path));
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_file(path.c_str()));
        Names keys;
        for (pugi::xml_node child : doc.document_element().child(element).children()) {
            if (std::string_view(child.child_value()) == "77") {
                keys.emplace_back(child.name());
            }
        }
        return keys;
    };
    for (int n = 0; n < kConturOptCount; ++n) {
        const TConturOpt o = TConturOpt(n);
        EXPECT_EQ(keyHolding("Contour1", [o](TKT41& m) { ContourField(m.Contour1, o).Set(77); }),
                  Names{std::string(ContourEntry(o).Field)})
            << n;
    }
    for (int n = 0; n < kDeviceOptCount; ++n) {
        const TDeviceOpt o = TDeviceOpt(n);
        EXPECT_EQ(
            keyHolding("ParamDevice", [o](TKT41& m) { DeviceField(m.ParamDevice, o).Set(77); }),
            Names{std::string(DeviceEntry(o).Field)})
            << n;
    }
    for (int n = 0; n < kNasosOptCount; ++n) {
        const TNasosOpt o = TNasosOpt(n);
        EXPECT_EQ(
            keyHolding("Contour3", [o](TKT41& m) { PumpField(m.Contour3.PumpGroup, o).Set(77); }),
            Names{std::string(PumpEntry(o).Field)})
            << n;
    }
    EXPECT_EQ(keyHolding("Input_P2", [](TKT41& m) { m.Input_P[1].MaxVal = 77; }),
              Names{std::string(InputEntry(TInputKind::Analog, ioMaxValAnalog).Field)});
    EXPECT_EQ(keyHolding("Input_T2", [](TKT41& m) { m.Input_T[1].Alarm = 77; }),
              Names{std::string(InputEntry(TInputKind::Thermometer, ioAlarm).Field)});
}

TEST_F(FileFormat, IndentedFilesAreRead) {
    FillRandomly(model, 99);
    const std::string path = PathOf("plain.c50");
    ASSERT_TRUE(SaveToFile(model, path));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    for (const char* indent : {"  ", "\t"}) {
        std::ostringstream text;
        doc.save(text, indent, pugi::format_indent, pugi::encoding_utf8);
        std::string indented = text.str();
        // Windows line ends as well.
        for (std::size_t at = indented.find('\n'); at != std::string::npos;
             at = indented.find('\n', at + 2)) {
            indented.insert(at, "\r");
        }
        const std::string other = PathOf("indented.c50");
        WriteText(other, indented);
        TKT41 loaded{driver};
        ASSERT_TRUE(LoadFromFile(loaded, other));
        ExpectSameConfiguration(loaded, model);
    }
}
