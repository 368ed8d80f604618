// Actions, menus and the tool bar of the main window.
#include "ActionIcons.h"
#include "TForm_Main.h"
#include "dialogs/TForm_About.h"
#include "gui/DesktopServices.h"
#include "gui/ProductInfo.h"
#include "gui/WindowPlacement.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QUrl>

namespace kt41::app {

namespace {

constexpr int kToolBarHeight = 26;
constexpr int kToolIconSize = 20;

} // namespace

HintParts SplitHint(const QString& hint) {
    const qsizetype bar = hint.indexOf('|');
    if (bar < 0) {
        return {hint, hint};
    }
    return {hint.left(bar), hint.mid(bar + 1)};
}

namespace {

QAction* MakeAction(QObject* owner, const QString& name, const QString& caption,
                    const QString& hint, const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    const HintParts parts = SplitHint(hint);
    action->setToolTip(parts.Short);
    action->setStatusTip(parts.Long);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

void TForm_Main::BuildActions() {
    Connect_Device =
        MakeAction(this, "Connect_Device", "&Connect_Device",
                   "Подключить|Установить связь с прибором", QKeySequence(Qt::ALT | Qt::Key_C));
    Connect_Device->setIcon(ConnectIcon());
    Read_Config =
        MakeAction(this, "Read_Config", "Read_Config", "Прочитать| Прочитать настройку KT-41");
    Read_Config->setIcon(ReadConfigIcon());
    Read_Config->setEnabled(false);
    Write_Config =
        MakeAction(this, "Write_Config", "Write_Config", "Записать| Записать настройку в KT-41");
    Write_Config->setIcon(WriteConfigIcon());
    Write_Config->setEnabled(false);
    FileOpen1 = MakeAction(this, "FileOpen1", "&Open...", "Открыть|Открыть файл настройки",
                           QKeySequence(Qt::CTRL | Qt::Key_O));
    FileOpen1->setIcon(OpenFileIcon());
    FileSaveAs1 =
        MakeAction(this, "FileSaveAs1", "&Сохранить", "Сохранить |Сохранить настройки в файл ",
                   QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAs1->setIcon(SaveFileIcon());
    Exit_Prog = MakeAction(this, "Exit_Prog", "Exit_Prog", "Выход|Выход из программы",
                           QKeySequence(Qt::ALT | Qt::Key_X));
    About = MakeAction(this, "About", "&О программе ...",
                       "Справка|Информация о программе, версии и авторском праве");
    Help = MakeAction(this, "Help", "Вызов справки", "Справка|Вызов справки по программе");
    Help->setEnabled(false); // there is no help to call
    Home_page =
        MakeAction(this, "Home_page", "Домашняя страница", "Справка|Домашняя страница программы");
    Calibr_Term = MakeAction(this, "Calibr_Term", "Температуры  ",
                             "Калибровка температуры|Калибровка температуры ...",
                             QKeySequence(Qt::CTRL | Qt::Key_T));
    Calibr_Press =
        MakeAction(this, "Calibr_Press", "Давления", "Калибровка давления|Калибровка давления ...",
                   QKeySequence(Qt::CTRL | Qt::Key_P));
    N5 = MakeAction(this, "N5", "Настройка ...", "Настройка ...");
    Compare_File = MakeAction(this, "Compare_File", "Сравнить с файлом...",
                              "Сравнить|Сравнить настройку на страницах с файлом настройки");
    Compare_Device = MakeAction(this, "Compare_Device", "Сравнить с прибором",
                                "Сравнить|Сравнить настройку на страницах с настройкой прибора");
    Compare_Device->setEnabled(false);
    Scan_Line = MakeAction(this, "Scan_Line", "Поиск приборов на линии...",
                           "Поиск|Найти приборы, отвечающие на линии");

    // The file menu names FileOpen1 "&Открыть": an entry of its own that runs
    // FileOpen1 and follows its state. Its shortcut is only shown; FileOpen1
    // keeps the key.
    N_FileOpen = MakeAction(this, "N_FileOpen", "&Открыть", "");
    auto followOpen = [this] {
        N_FileOpen->setText("&Открыть\t" +
                            FileOpen1->shortcut().toString(QKeySequence::NativeText));
        N_FileOpen->setToolTip(FileOpen1->toolTip());
        N_FileOpen->setStatusTip(FileOpen1->statusTip());
        N_FileOpen->setIcon(FileOpen1->icon());
        N_FileOpen->setEnabled(FileOpen1->isEnabled());
    };
    followOpen();
    connect(FileOpen1, &QAction::changed, this, followOpen);
    connect(N_FileOpen, &QAction::triggered, FileOpen1, &QAction::trigger);

    connect(Connect_Device, &QAction::triggered, this, &TForm_Main::Connect_DeviceExecute);
    connect(Read_Config, &QAction::triggered, this, &TForm_Main::Read_ConfigExecute);
    connect(Write_Config, &QAction::triggered, this, &TForm_Main::Write_ConfigExecute);
    connect(FileOpen1, &QAction::triggered, this, &TForm_Main::FileOpen1Execute);
    connect(FileSaveAs1, &QAction::triggered, this, &TForm_Main::FileSaveAs1Execute);
    connect(Exit_Prog, &QAction::triggered, this, &TForm_Main::Exit_ProgExecute);
    connect(About, &QAction::triggered, this, &TForm_Main::AboutExecute);
    connect(Home_page, &QAction::triggered, this, &TForm_Main::Home_pageExecute);
    connect(Calibr_Term, &QAction::triggered, this, &TForm_Main::Calibr_TermExecute);
    connect(Calibr_Press, &QAction::triggered, this, &TForm_Main::Calibr_PressExecute);
    connect(N5, &QAction::triggered, this, &TForm_Main::N5Click);
    connect(Compare_File, &QAction::triggered, this, &TForm_Main::Compare_FileExecute);
    connect(Compare_Device, &QAction::triggered, this, &TForm_Main::Compare_DeviceExecute);
    connect(Scan_Line, &QAction::triggered, this, &TForm_Main::Scan_LineExecute);

    // Shortcuts of actions that sit only in menus work while the window has the
    // focus, like those of the tool bar.
    addActions({Connect_Device, Read_Config, Write_Config, FileOpen1, FileSaveAs1, Exit_Prog});
}

void TForm_Main::BuildMenus() {
    Menu_File = menuBar()->addMenu("&Файл");
    Menu_File->setObjectName("Menu_File");
    Menu_File->addAction(N_FileOpen);
    Menu_File->addAction(FileSaveAs1);
    Menu_File->addSeparator();
    Menu_File->addAction(Compare_File);
    Menu_File->addAction(Compare_Device);
    Menu_File->addSeparator();
    Menu_File->addAction(Exit_Prog);

    Menu_Calibr = menuBar()->addMenu("Калибровка");
    Menu_Calibr->setObjectName("Menu_Calibr");
    Menu_Calibr->addAction(Calibr_Term);
    Menu_Calibr->addAction(Calibr_Press);

    Menu_Service = menuBar()->addMenu("&Сервис");
    Menu_Service->setObjectName("Menu_Service");
    Menu_Service->addAction(N5);
    Menu_Service->addAction(Scan_Line);

    Menu_Help = menuBar()->addMenu("Справка");
    Menu_Help->setObjectName("Menu_Help");
    Menu_Help->addAction(Help);
    Menu_Help->addSeparator();
    Menu_Help->addAction(Home_page);
    Menu_Help->addAction(About);

    // F10 opens the menus from the keyboard, as Alt alone does.
    auto* menusKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menusKey->setObjectName("MenusKey");
    connect(menusKey, &QShortcut::activated, this, [this] {
        for (QAction* menu : menuBar()->actions()) {
            if (menu->isVisible() && menu->isEnabled()) {
                menuBar()->setActiveAction(menu);
                return;
            }
        }
    });
}

void TForm_Main::BuildToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(kToolIconSize, kToolIconSize));
    ToolBar1->setFixedHeight(kToolBarHeight);
    ToolBar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu); // no hiding of the tool bar
    ToolBar1->addAction(Connect_Device);
    ToolBar1->addAction(Read_Config);
    ToolBar1->addAction(Write_Config);
    ToolBar1->addAction(FileOpen1);
    ToolBar1->addAction(FileSaveAs1);
}

void TForm_Main::Home_pageExecute() {
    gui::OpenOnDesktop(QUrl(gui::HomePageUrl()));
}

void TForm_Main::AboutExecute() {
    if (Form_About != nullptr) {
        gui::CenterWindow(*Form_About, this);
        Form_About->exec();
    }
}

void TForm_Main::Exit_ProgExecute() {
    CloseConnection();
    close();
}

} // namespace kt41::app
