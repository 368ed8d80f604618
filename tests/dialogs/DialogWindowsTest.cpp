#include "DialogTest.h"
#include "app/TForm_Config.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"
#include "dialogs/TNew_DeviceForm.h"
#include "gui/DialogFrame.h"
#include "gui/WindowPlacement.h"

namespace kt41::dialogs {
namespace {

class DialogWindowsTest : public testing::DialogTest {
protected:
    std::vector<WorkingCopyDialog*> Dialogs() {
        return {Main().Form_Pumps_Conf, Main().Form_Schedule_Tnorm, Main().Form_Calendar_Pump,
                Main().Form_Calendar_Tlow};
    }
};

TEST_F(DialogWindowsTest, DialogsFollowTheSettingsDialogInStartUpOrderAsHiddenChildWindows) {
    const QObjectList children = Main().children();
    qsizetype previous = children.indexOf(Main().Form_Config);
    ASSERT_GE(previous, 0);
    const QStringList captions{"Настройка насосной группы", "Температурный график",
                               "Недельный график Вкл.\\Выкл. насосов",
                               "Недельный график понижения температуры"};
    int i = 0;
    for (WorkingCopyDialog* dialog : Dialogs()) {
        ASSERT_NE(dialog, nullptr);
        const qsizetype index = children.indexOf(dialog);
        EXPECT_GT(index, previous) << dialog->objectName().toStdString();
        previous = index;
        EXPECT_EQ(dialog->parentWidget(), &Main());
        EXPECT_TRUE(dialog->isWindow());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->windowTitle(), captions[i++]);
    }
}

// A dialog whose size is fixed has a close button and neither minimize nor
// maximize; the resizable ones keep their minimize button.
TEST_F(DialogWindowsTest, FixedSizeDialogsHaveNoMinimizeOrMaximizeButton) {
    const struct {
        QDialog* Dialog;
        bool Fixed;
    } dialogs[] = {
        {Main().New_DeviceForm, true},     {Main().Form_Config, true},
        {Main().Form_Calendar_Pump, true}, {Main().Form_Calendar_Tlow, true},
        {Main().Form_Pumps_Conf, false},   {Main().Form_Schedule_Tnorm, false},
    };
    Main().show();
    for (const auto& [dialog, fixed] : dialogs) {
        ASSERT_NE(dialog, nullptr);
        SCOPED_TRACE(dialog->objectName().toStdString());
        RunModal(
            *dialog,
            [&] {
                EXPECT_EQ(dialog->minimumSize() == dialog->maximumSize(), fixed)
                    << dialog->minimumSize().width() << " " << dialog->maximumSize().width();
                const Qt::WindowFlags flags = dialog->windowFlags();
                // Without CustomizeWindowHint the platform would add its default buttons.
                EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowCloseButtonHint));
                EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), !fixed);
                EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
                EXPECT_EQ(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint), fixed);
                EXPECT_GE(dialog->width(),
                          gui::TitleBarWidth(dialog->windowTitle(), dialog->font()));
            },
            [&] { return dialog->exec(); });
    }
}

TEST_F(DialogWindowsTest, EveryOpeningIsCentredOnTheMainWindow) {
    // A stored placement gives the size; the position follows the main window.
    gui::WindowPlacement stored;
    stored.Left = 5, stored.Top = 5, stored.Right = 505, stored.Bottom = 405;
    auto settings = UserSettings();
    settings->setValue("Form_Pumps_Conf/Form_Options", stored.ToBytes());
    settings->sync();
    program.reset();
    program = StartProgram();
    WorkingCopyDialog* pumps = Main().Form_Pumps_Conf;
    EXPECT_EQ(pumps->size(), QSize(500, 400));

    Main().show();
    for (const QPoint mainAt : {QPoint(40, 30), QPoint(200, 120)}) {
        Main().move(mainAt);
        for (WorkingCopyDialog* dialog : Dialogs()) {
            RunModal(
                *dialog,
                [&] {
                    const QPoint offset =
                        dialog->frameGeometry().center() - Main().frameGeometry().center();
                    // Up to the frame's width off: a frame is known once shown.
                    EXPECT_LE(offset.manhattanLength(), 6)
                        << dialog->objectName().toStdString() << " at " << mainAt.x() << " offset "
                        << offset.x() << "," << offset.y();
                    dialog->Button_Cancel->click();
                },
                [&] { return dialog->EditContour(1); });
        }
    }
}

} // namespace
} // namespace kt41::dialogs
