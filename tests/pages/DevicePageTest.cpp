#include "PagesTest.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace kt41::testing {
namespace {

using namespace kt41::device;
using pages::DevicePage;

class DevicePageTest : public PagesTest {};

TEST_F(DevicePageTest, ShowsTheIdentityAndTwentyParameterRows) {
    Model().ParamDevice.SerialNumber = 42;
    Model().ParamDevice.Manufact_date = 0x160C;
    Model().ParamDevice.Version = 0x0203; // low byte 3, high byte 2
    Model().ParamDevice.ID_Device = 17;
    Model().ParamDevice.MBS_speed = 1;
    Main().ShowModelOnPages();

    DevicePage& page = Device();
    EXPECT_EQ(Main().findChild<QLabel*>("StaticText_NumInfo")->text(), "00042");
    EXPECT_EQ(page.StaticText_ProductionDateInfo->text(), "12.2022");
    EXPECT_EQ(page.StaticText_VerInfo->text(), "3.2 ");
    EXPECT_EQ(page.StaticText_ModelInfo->text(), "------------------");
    EXPECT_TRUE(page.StaticText_NumInfo->alignment() & Qt::AlignRight);

    gui::ParamGrid& grid = *page.AdvColumnGrid_ConfDevice;
    ASSERT_EQ(grid.rowCount(), 21);
    for (int row = 1; row <= 20; ++row) {
        EXPECT_EQ(grid.RowOption[std::size_t(row)], row - 1);
    }
    EXPECT_EQ(grid.CellText(0, 0), "Параметр");
    EXPECT_EQ(grid.CellText(0, 1), "Значение");
    EXPECT_EQ(grid.CellText(1, 0), "Сетевой адрес");
    EXPECT_EQ(grid.CellText(1, 1), "17");
    EXPECT_EQ(grid.CellText(2, 0), "Cкорости связи, бит/сек ");
    EXPECT_EQ(grid.CellText(2, 1), "19200");
    EXPECT_EQ(grid.CellText(20, 0), "Состояние датчика подпитки (нижний уровень)");
}

TEST_F(DevicePageTest, EditorsKeepTheirLimitsAndListsAndStoreTheValue) {
    Main().ShowModelOnPages();
    gui::ParamGrid& grid = *Device().AdvColumnGrid_ConfDevice;
    const int address = 1 + doID_Device;
    TypeInto(grid, address, 1, "240");
    EXPECT_EQ(Model().ParamDevice.ID_Device, 239);
    TypeInto(grid, address, 1, "0");
    EXPECT_EQ(Model().ParamDevice.ID_Device, 1);
    EXPECT_EQ(grid.CellText(address, 1), "1");
    TypeInto(grid, address, 1, "238");
    EXPECT_EQ(Model().ParamDevice.ID_Device, 238);

    TypeInto(grid, 1 + doPMP2_time_2, 1, "65000");
    EXPECT_EQ(Model().ParamDevice.PMP2_time_2, 65000);
    TypeInto(grid, 1 + doVLV_stroke3, 1, "2");
    EXPECT_EQ(Model().ParamDevice.VLV_stroke3, 3);

    QComboBox* speeds = ListEditor(grid, 1 + doMBS_speed, 1);
    ASSERT_NE(speeds, nullptr);
    ASSERT_EQ(speeds->count(), 2);
    EXPECT_EQ(speeds->itemText(1), "19200");
    emit speeds->activated(1);
    EXPECT_EQ(Model().ParamDevice.MBS_speed, 1);

    Pick(grid, 1 + doNO_MP2, 1, 1);
    EXPECT_EQ(Model().ParamDevice.NO_MP2, 1);
    EXPECT_EQ(grid.CellText(1 + doNO_MP2, 1), "Нормально закр.");
    // Names are not editable.
    EXPECT_EQ(grid.OpenEditor(1, 0), nullptr);
}

// The captions, values and the clock button above the grid, at the window's
// minimum size and at its designed size.
TEST_F(DevicePageTest, TheIdentityAreaFitsWholeFromTheSmallestWindowUp) {
    Model().ParamDevice.SerialNumber = 65535;
    Model().ParamDevice.Manufact_date = 0x160C;
    Model().ParamDevice.Version = 0xFFFF;
    Main().ShowModelOnPages();
    DevicePage& page = Device();
    Main().PageControl1->setCurrentWidget(&page);
    std::vector<QWidget*> identity;
    for (QWidget* widget : page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (widget != page.AdvColumnGrid_ConfDevice) {
            identity.push_back(widget);
        }
    }
    ASSERT_EQ(identity.size(), 9u); // four captions, four values, the button

    for (const bool smallest : {true, false}) {
        SCOPED_TRACE(smallest ? "smallest window" : "designed size");
        Main().resize(smallest ? QSize(1, 1) : QSize(794, 556 + 22));
        QApplication::processEvents();
        if (smallest) {
            ASSERT_EQ(Main().size(), QSize(600, 545));
        }
        for (std::size_t i = 0; i < identity.size(); ++i) {
            const QWidget* widget = identity[i];
            const std::string name = widget->objectName().isEmpty()
                                         ? qobject_cast<const QLabel*>(widget)->text().toStdString()
                                         : widget->objectName().toStdString();
            EXPECT_TRUE(page.rect().contains(widget->geometry())) << name;
            for (std::size_t j = i + 1; j < identity.size(); ++j) {
                EXPECT_FALSE(widget->geometry().intersects(identity[j]->geometry()))
                    << name << " / " << identity[j]->objectName().toStdString();
            }
            if (const auto* label = qobject_cast<const QLabel*>(widget)) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                          label->contentsRect().width())
                    << name;
                // The values have their designed width where there is room.
                if (!smallest && !label->objectName().isEmpty()) {
                    EXPECT_EQ(label->width(), label->sizeHint().width()) << name;
                }
            } else {
                EXPECT_GE(widget->width(), widget->sizeHint().width()) << name;
            }
        }
    }
}

TEST_F(DevicePageTest, ShowingThePageMeasuresTheTextHeightThatSizesEveryParameterRow) {
    DevicePage& page = Device();
    Main().PageControl1->setCurrentWidget(&page);
    EXPECT_GT(page.TextHeight(), 0);
    EXPECT_EQ(Main().MeasuredTextHeight(), page.TextHeight());
    EXPECT_GE(page.AdvColumnGrid_ConfDevice->HeadingHeight(), 2 * page.TextHeight() + 8);

    // A large font makes the heading and then the rows of every grid taller.
    QFont large = page.AdvColumnGrid_ConfDevice->font();
    large.setPixelSize(30);
    page.AdvColumnGrid_ConfDevice->item(0, 0)->setFont(large);
    Main().PageControl1->setCurrentIndex(app::TForm_Main::kPageInputs);
    Main().PageControl1->setCurrentWidget(&page);
    const int h = page.TextHeight();
    ASSERT_GE(h, 30);
    EXPECT_EQ(page.AdvColumnGrid_ConfDevice->HeadingHeight(), 2 * h + 8);
    PickType(2, 1);
    gui::ParamGrid& contour = *Contour(2).AdvColumnGrid_Contour;
    EXPECT_EQ(contour.rowHeight(RowOf(contour, coPK)), h + 5);
}

TEST_F(DevicePageTest, TheClockButtonReportsItselfAroundTheClockWindow) {
    QString statusWhileOpen;
    Device().OpenClockWindow = [&] { statusWhileOpen = Main().StatusPanel1->text(); };
    Main().PageControl1->setCurrentWidget(&Device());
    QTest::mouseClick(Main().findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_EQ(statusWhileOpen, "Запись даты и времени ...");
    EXPECT_EQ(Main().StatusPanel1->text(), "Простой ...");
}

} // namespace
} // namespace kt41::testing
