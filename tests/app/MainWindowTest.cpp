#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "support/FakeControllerDriver.h"
#include "support/GuiTest.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace kt41::app {
namespace {

using testing::GuiTest;

class MainWindowTest : public GuiTest {
protected:
    static QStringList LogLines(TForm_Main& main) {
        const QString text = main.Memo1->toPlainText();
        return text.isEmpty() ? QStringList{} : text.split('\n');
    }
    // The text of a log line without its time stamp; fails on a bad stamp.
    static QString Logged(const QString& line) {
        static const QRegularExpression stamp(
            "^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\\.[0-9]{3}  ");
        const auto match = stamp.match(line);
        EXPECT_TRUE(match.hasMatch()) << line.toStdString();
        return line.mid(match.capturedLength());
    }
    static QStringList ActionNames(const QList<QAction*>& actions) {
        QStringList names;
        for (QAction* action : actions) {
            names << (action->isSeparator() ? "-" : action->objectName());
        }
        return names;
    }
};

TEST_F(MainWindowTest, StartsIdleAndDisconnectedWithTheVersionInItsCaption) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.show();

    EXPECT_EQ(main.StatusPanel0->text(), "");
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    EXPECT_EQ(main.StatusPanel2->text(), "Не подключено");
    EXPECT_TRUE(main.Memo1->toPlainText().isEmpty());
    EXPECT_EQ(main.windowTitle(), "Настройка KT-41  ver.  1.0");
    EXPECT_EQ(main.windowTitle(), MainWindowCaption());

    EXPECT_FALSE(main.Read_Config->isEnabled());
    EXPECT_FALSE(main.Write_Config->isEnabled());
    EXPECT_TRUE(main.FileOpen1->isEnabled());
    EXPECT_TRUE(main.FileSaveAs1->isEnabled());
    EXPECT_TRUE(main.Connect_Device->isEnabled());
    EXPECT_FALSE(main.Help->isEnabled());
    EXPECT_FALSE(main.Menu_Calibr->menuAction()->isVisible());

    const QStringList captions{"Настройки", "Контур 1",          "Контур 2",
                               "Контур 3",  "Контур 4",          "Входы",
                               "Архив",     "Ручное управление", "Текущие показания"};
    ASSERT_EQ(main.PageControl1->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(main.PageControl1->tabText(i), captions[i]);
    }
    EXPECT_TRUE(main.PageControl1->isVisible());

    // The model sends its notifications to this window, through the driver too.
    auto& driver = static_cast<testing::FakeControllerDriver&>(main.Model().Driver());
    EXPECT_EQ(driver.Port, &main.ComPort1);
    EXPECT_EQ(driver.Window, &main);
    EXPECT_EQ(main.Model().NotifyWindow, &main);
    EXPECT_TRUE(Prompt.History.empty());
}

TEST_F(MainWindowTest, ActionsCarryTheirCaptionsHintsAndShortcuts) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    const struct {
        const char* Name;
        QString Caption, Tip, Status;
        QKeySequence Keys;
    } cases[] = {
        {"Connect_Device", "&Connect_Device", "Подключить", "Установить связь с прибором",
         QKeySequence("Alt+C")},
        {"Read_Config", "Read_Config", "Прочитать", " Прочитать настройку KT-41", {}},
        {"Write_Config", "Write_Config", "Записать", " Записать настройку в KT-41", {}},
        {"FileOpen1", "&Open...", "Открыть", "Открыть файл настройки", QKeySequence("Ctrl+O")},
        {"FileSaveAs1", "&Сохранить", "Сохранить ", "Сохранить настройки в файл ",
         QKeySequence("Ctrl+S")},
        {"Exit_Prog", "Exit_Prog", "Выход", "Выход из программы", QKeySequence("Alt+X")},
        {"About",
         "&О программе ...",
         "Справка",
         "Информация о программе, версии и авторском праве",
         {}},
        {"Help", "Вызов справки", "Справка", "Вызов справки по программе", {}},
        {"Home_page", "Домашняя страница", "Справка", "Домашняя страница программы", {}},
        {"Calibr_Term", "Температуры  ", "Калибровка температуры", "Калибровка температуры ...",
         QKeySequence("Ctrl+T")},
        {"Calibr_Press", "Давления", "Калибровка давления", "Калибровка давления ...",
         QKeySequence("Ctrl+P")},
        {"N5", "Настройка ...", "Настройка ...", "Настройка ...", {}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Name);
        auto* action = main.findChild<QAction*>(row.Name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), row.Caption);
        EXPECT_EQ(action->toolTip(), row.Tip);
        EXPECT_EQ(action->statusTip(), row.Status);
        EXPECT_EQ(action->shortcut(), row.Keys);
    }

    EXPECT_EQ(
        ActionNames(main.ToolBar1->actions()),
        (QStringList{"Connect_Device", "Read_Config", "Write_Config", "FileOpen1", "FileSaveAs1"}));
    EXPECT_EQ(main.ToolBar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
    for (QAction* action : main.ToolBar1->actions()) {
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    }

    QStringList menus;
    for (QAction* menu : main.menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus, (QStringList{"&Файл", "Калибровка", "&Сервис", "Справка"}));
    EXPECT_EQ(ActionNames(main.Menu_File->actions()),
              (QStringList{"N_FileOpen", "FileSaveAs1", "-", "Compare_File", "Compare_Device", "-",
                           "Exit_Prog"}));
    EXPECT_EQ(main.N_FileOpen->text(), "&Открыть\tCtrl+O");
    EXPECT_EQ(ActionNames(main.Menu_Calibr->actions()),
              (QStringList{"Calibr_Term", "Calibr_Press"}));
    EXPECT_EQ(ActionNames(main.Menu_Service->actions()), (QStringList{"N5", "Scan_Line"}));
    EXPECT_EQ(ActionNames(main.Menu_Help->actions()),
              (QStringList{"Help", "-", "Home_page", "About"}));
}

// A key with Ctrl or Alt as the Latin and as the Russian keyboard layout
// send it: the same key cap gives Qt::Key_C or the letter "С".
void PressUnderBothLayouts(QWidget& window, Qt::Key latin, char16_t russian,
                           Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&window, latin, modifiers);
    // A window the command opened and closed may have taken the activation.
    QApplication::setActiveWindow(&window);
    const QChar letter(russian);
    QTest::sendKeyEvent(QTest::Click, &window, Qt::Key(letter.unicode()), QString(letter.toLower()),
                        modifiers);
}

TEST_F(MainWindowTest, EveryLetterShortcutWorksUnderTheLatinAndTheRussianLayout) {
    auto program = StartProgram({"-C"});
    TForm_Main& main = program->Main();
    main.Settings.PortsPresent = false; // connecting ends at once with its message
    main.show();
    QApplication::setActiveWindow(&main);
    // The calibration commands open the thermometer-type window: cancel each
    // window that comes up, so the next key press reaches the main window.
    QTimer cancelWindows;
    QObject::connect(&cancelWindows, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    cancelWindows.start(20);
    const struct {
        QAction* Action;
        Qt::Key Latin;
        char16_t Russian;
        Qt::KeyboardModifiers Modifiers;
    } cases[] = {
        {main.FileOpen1, Qt::Key_O, u'Щ', Qt::ControlModifier},
        {main.FileSaveAs1, Qt::Key_S, u'Ы', Qt::ControlModifier},
        {main.Calibr_Term, Qt::Key_T, u'Е', Qt::ControlModifier},
        {main.Calibr_Press, Qt::Key_P, u'З', Qt::ControlModifier},
        // A failed connect switches the file commands off: after them.
        {main.Connect_Device, Qt::Key_C, u'С', Qt::AltModifier},
        {main.Exit_Prog, Qt::Key_X, u'Ч', Qt::AltModifier}, // last: it closes the window
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Action->objectName().toStdString());
        QSignalSpy triggered(c.Action, &QAction::triggered);
        if (c.Action == main.Exit_Prog) {
            QTest::sendKeyEvent(QTest::Click, &main, Qt::Key(c.Russian), QString(QChar(c.Russian)),
                                c.Modifiers);
            EXPECT_EQ(triggered.count(), 1);
            EXPECT_FALSE(main.isVisible());
            continue;
        }
        QApplication::setActiveWindow(&main);
        PressUnderBothLayouts(main, c.Latin, c.Russian, c.Modifiers);
        EXPECT_EQ(triggered.count(), 2);
    }
}

// "&Сервис" owns Alt+"С" as its mnemonic; Alt+C is the connect action's key.
// The key cap decides, whatever the layout: the connect action wins.
TEST_F(MainWindowTest, AltCConnectsUnderTheRussianLayoutInsteadOfOpeningTheServiceMenu) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.Settings.PortsPresent = false;
    main.show();
    QApplication::setActiveWindow(&main);
    QSignalSpy connect(main.Connect_Device, &QAction::triggered);
    QTest::sendKeyEvent(QTest::Click, &main, Qt::Key(u'С'), "с", Qt::AltModifier);
    EXPECT_EQ(connect.count(), 1);
    EXPECT_FALSE(main.Menu_Service->isVisible());
    EXPECT_EQ(main.menuBar()->activeAction(), nullptr);
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Нет свободных последовательных портов...");
}

// With Alt+"С" taken by the connect action, the menus are reached from the
// keyboard with F10 or with Alt alone, then the arrows.
TEST_F(MainWindowTest, TheMenusStayReachableWithF10AndWithAlt) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.show();
    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_F10);
    EXPECT_EQ(main.menuBar()->activeAction(), main.Menu_File->menuAction());
    QTest::keyClick(main.Menu_File, Qt::Key_Escape);
    QTest::keyClick(main.menuBar(), Qt::Key_Escape);

    QTest::keyPress(&main, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(&main, Qt::Key_Alt);
    EXPECT_EQ(main.menuBar()->activeAction(), main.Menu_File->menuAction());
}

TEST_F(MainWindowTest, FileMenuOpenEntryFollowsAndRunsFileOpen) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    int opened = 0;
    QObject::connect(main.FileOpen1, &QAction::triggered, [&] { ++opened; });
    main.N_FileOpen->trigger();
    EXPECT_EQ(opened, 1);
    main.FileOpen1->setEnabled(false);
    EXPECT_FALSE(main.N_FileOpen->isEnabled());
    EXPECT_EQ(main.N_FileOpen->statusTip(), "Открыть файл настройки");
}

TEST_F(MainWindowTest, LongHintOfWhatIsUnderTheMouseGoesToPanelZero) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.show();
    main.Read_Config->showStatusText(main.ToolBar1);
    EXPECT_EQ(main.StatusPanel0->text(), " Прочитать настройку KT-41");
    EXPECT_EQ(main.statusBar()->currentMessage(), "");
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
}

TEST_F(MainWindowTest, CommandLineShowsTheCalibrationMenuOnlyForAFirstDashC) {
    const struct {
        QStringList Arguments;
        bool Shown;
    } cases[] = {
        {{}, false},
        {{"-C"}, true},
        {{"-c"}, true},
        {{"-Calibrate"}, true},
        {{"-x", "-C"}, false},
        {{"-", "-C"}, true},
        {{"config.c50", "-c"}, true},
        {{"C"}, false},
        {{"--C"}, false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Arguments.join(' ').toStdString());
        auto program = StartProgram(row.Arguments);
        TForm_Main& main = program->Main();
        EXPECT_EQ(main.Menu_Calibr->menuAction()->isVisible(), row.Shown);
        EXPECT_EQ(main.Calibr_Term->isEnabled(), row.Shown);
        EXPECT_EQ(main.Calibr_Press->isEnabled(), row.Shown);
    }
}

TEST_F(MainWindowTest, ProgressCodesBecomeStatusTextsAndLogLines) {
    const struct {
        int Code;
        std::uint32_t LParam;
        QString Log;    // empty: no line
        QString Status; // the activity panel afterwards
    } cases[] = {
        {14, (3u << 16) | 0u, "Запись Управления контуром 3 ... Ok.", "Простой ..."},
        {14, (3u << 16) | 1u, "Запись Управления контуром 3 ... Ошибка.", "Простой ..."},
        {17, 0, "Архивные данных успешно переданы в MS Excel ...", "Простой ..."},
        {17, 1, "Ошибка передачи Архивные данных в MS Excel ...", "Простой ..."},
        {17, 0x20000, "Ошибка передачи Архивные данных в MS Excel ...", "Простой ..."},
        {4, 0, "Чтение настройки ... Ok.", "Простой ..."},
        {34, 0, "", "Чтение настройки ..."},
        {44, 2u << 16, "", "Запись Управления контуром 2 ..."},
        {47, 0, "Калибровка температуры ...", "Калибровка температуры ..."},
        {7, 0, "", "Простой ..."},
        {0, 0, "", "Простой ..."},
        {32, 0, "", "Простой ..."},
        {50, 0, "", "Простой ..."},
    };
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Code);
        main.Memo1->clear();
        main.SetActivityText("Простой ...");
        main.PostProgress(row.Code, row.LParam);
        const QStringList lines = LogLines(main);
        if (row.Log.isEmpty()) {
            EXPECT_TRUE(lines.isEmpty());
        } else {
            ASSERT_EQ(lines.size(), 1);
            EXPECT_EQ(Logged(lines[0]), row.Log);
        }
        EXPECT_EQ(main.StatusPanel1->text(), row.Status);
    }
}

TEST_F(MainWindowTest, ModelNotificationsAndMessagesReachTheWindow) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.Model().Notify(4, 1);
    const QStringList lines = LogLines(main);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(Logged(lines[0]), "Чтение настройки ... Ошибка.");

    main.ShowMessage("Предупреждение", "Общие настройки регулятора отсутствуют!",
                     driver::MessageIcon::Warning);
    const auto messages = Prompt.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Предупреждение");
    EXPECT_EQ(messages[0].Text, "Общие настройки регулятора отсутствуют!");
    EXPECT_EQ(messages[0].Icon, gui::PromptIcon::Warning);
    EXPECT_TRUE(messages[0].Topmost);
    EXPECT_EQ(messages[0].Owner, &main);
}

TEST_F(MainWindowTest, LogResultAppendsOkOrErrorAndNeverRemovesLines) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.LogResult("Запись настройки ...", 0);
    main.LogResult("Запись настройки ...", 5);
    main.LogMessage("Есть соединение с прибором.");
    const QStringList lines = LogLines(main);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(Logged(lines[0]), "Запись настройки ... Ok.");
    EXPECT_EQ(Logged(lines[1]), "Запись настройки ... Ошибка.");
    EXPECT_EQ(Logged(lines[2]), "Есть соединение с прибором.");
}

TEST_F(MainWindowTest, LogKeepsItsNewestLineInViewWhenItsHeightChangesUnlessScrolledBack) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.show();
    QScrollBar* bar = main.Memo1->verticalScrollBar();
    const auto atNewestLine = [&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); };
    // Disconnecting hides the page control and the log takes its height;
    // reading again after a reconnect shows the pages and the log is low again.
    const auto disconnectAndReadAgain = [&] {
        main.SetConfigurationAvailable(false);
        QApplication::processEvents();
        main.LogMessage("Сеанс связи завершен.");
        main.SetConfigurationAvailable(true);
        QApplication::processEvents();
        main.LogMessage("Чтение настройки ... Ok.");
    };
    // More lines than even the high log shows.
    for (int line = 0; line < 60; ++line) {
        main.LogMessage(QString("строка %1").arg(line));
    }
    ASSERT_TRUE(atNewestLine());
    const int lowHeight = main.Memo1->height();
    disconnectAndReadAgain();
    EXPECT_EQ(main.Memo1->height(), lowHeight);
    EXPECT_TRUE(atNewestLine());

    // Scrolled back by the user, the log stays where he is.
    bar->setValue(2);
    disconnectAndReadAgain();
    main.LogMessage("Запись настройки ... Ok.");
    EXPECT_EQ(bar->value(), 2);

    // Back at the end, it follows again.
    bar->setValue(bar->maximum());
    disconnectAndReadAgain();
    EXPECT_TRUE(atNewestLine());
}

TEST_F(MainWindowTest, StatusPanelsKeepTheirWidthsAndTheMiddleOneTakesTheRest) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.show();
    auto* panels = main.findChild<QWidget*>("StatusPanels");
    ASSERT_NE(panels, nullptr);
    for (int width : {1000, 700, 600, 794}) {
        SCOPED_TRACE(width);
        main.resize(width, main.height());
        QApplication::processEvents();
        EXPECT_EQ(main.StatusPanel0->width(), TForm_Main::kPanel0Width);
        EXPECT_EQ(main.StatusPanel2->width(), TForm_Main::kPanel2Width);
        EXPECT_EQ(main.StatusPanel1->width(),
                  panels->width() - TForm_Main::kPanel0Width - TForm_Main::kPanel2Width);
        EXPECT_GT(main.StatusPanel1->width(), 0);
        EXPECT_EQ(main.StatusPanel2->geometry().right(), panels->rect().right());
    }
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndSavesItsLayout) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    main.show();
    main.Exit_ProgExecute();
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(UserSettings()->contains("Form_Main/Form_Options"));
}

} // namespace
} // namespace kt41::app
