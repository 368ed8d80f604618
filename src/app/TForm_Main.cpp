#include "TForm_Main.h"

#include "ColumnWidths.h"
#include "GeneralError.h"
#include "MainWindowPage.h"
#include "ProductInfo.h"
#include "RegistryTree.h"
#include "Settings.h"
#include "TForm_Config.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

namespace kt41::app {

namespace {

const QString kWindowName = "Form_Main";
const QString kCaption = "Настройка KT-41  ver.  ";
constexpr int kClientWidth = 794;
constexpr int kClientHeight = 556;
constexpr int kMinimumWidth = 600;
constexpr int kMinimumHeight = 545;
constexpr int kLogHeight = 100;
constexpr int kSplitterWidth = 2;

// The grids of the main window and their column-width sections. The four
// contour grids share one section, which is saved from contour 1's grid.
struct GridLayout {
    const char* Grid;
    const char* Section;
    bool SavedAtClose;
};

constexpr GridLayout kGridLayouts[] = {
    {"AdvColumnGrid_Contour1", "Table_Contur", true},
    {"AdvColumnGrid_Contour2", "Table_Contur", false},
    {"AdvColumnGrid_Contour3", "Table_Contur", false},
    {"AdvColumnGrid_Contour4", "Table_Contur", false},
    {"AdvColumnGrid_Arx", "Table_Arx", true},
    {"AdvColumnGrid_ConfDevice", "Table_Device", true},
    {"AdvColumnGrid_LogErr", "Table_LogErr", true},
    {"AdvColumnGrid_CurIndicat", "Table_CurIndikat", true},
    {"AdvColumnGrid_CurIndicat2", "Table_CurIndikat2", true},
    {"AdvColumnGrid_Input_T", "Table_Input1", true},
    {"AdvColumnGrid_Input_P", "Table_Input2", true},
};

struct PageSlot {
    const char* Name;
    const char* Caption;
};

constexpr PageSlot kPages[TForm_Main::kPageCount] = {
    {"TabSheet_DeviceConf", "Настройки"},
    {"TabSheet_Contur1", "Контур 1"},
    {"TabSheet_Contur2", "Контур 2"},
    {"TabSheet_Contur3", "Контур 3"},
    {"TabSheet_Contur4", "Контур 4"},
    {"TabSheet_Input", "Входы"},
    {"TabSheet_Arx", "Архив"},
    {"TabSheet_Manual", "Ручное управление"},
    {"TabSheet_Current", "Текущие показания"},
};

// The application's style with less room beside each tab's caption.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::max(8, value - 12) : value;
    }
};

} // namespace

QString MainWindowCaption() {
    return kCaption + QString("%1.%2").arg(kVersionMajor).arg(kVersionMinor);
}

TForm_Main::TForm_Main(std::unique_ptr<driver::Kt41Driver> driver, QStringList commandLine,
                       QWidget* parent)
    : QMainWindow(parent), driver_(std::move(driver)), commandLine_(std::move(commandLine)) {
    setObjectName("Form_Main");
    BuildWindow();
}

TForm_Main::~TForm_Main() {
    // The dialogs and pages use the model and the port: they go first, then the
    // model; the port object closes its line when it is destroyed.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            delete child;
        }
    }
    Form_Config = nullptr;
    Form_Pumps_Conf = nullptr;
    Form_Schedule_Tnorm = nullptr;
    Form_Calendar_Pump = nullptr;
    Form_Calendar_Tlow = nullptr;
    New_DeviceForm = nullptr;
    delete takeCentralWidget();
    KT41.reset();
}

void TForm_Main::BuildWindow() {
    setWindowTitle(kCaption);
    BuildActions();
    BuildMenus();
    ShowCalibrationMenu(false); // shown by the command line only
    BuildToolBar();

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName("PageControl1");
    // All nine tabs fit the window's designed width without scroll buttons.
    auto* tabStyle = new CompactTabStyle;
    tabStyle->setParent(PageControl1);
    PageControl1->tabBar()->setStyle(tabStyle);
    BuildPages();
    BuildParameterPages();

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Panel_Bottom = new QWidget;
    Panel_Bottom->setObjectName("Panel_Bottom");
    auto* bottomLayout = new QVBoxLayout(Panel_Bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(Memo1);

    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(kSplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(PageControl1);
    Splitter1->addWidget(Panel_Bottom);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({kClientHeight, kLogHeight});
    setCentralWidget(Splitter1);

    BuildStatusBar();

    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    pendingLogHeight_ = kLogHeight;
}

void TForm_Main::BuildPages() {
    for (int index = 0; index < kPageCount; ++index) {
        auto* placeholder = new QWidget;
        placeholder->setObjectName(kPages[index].Name);
        PageControl1->addTab(placeholder, kPages[index].Caption);
    }
}

void TForm_Main::SetPage(int index, QWidget* page) {
    if (index < 0 || index >= kPageCount || page == nullptr) {
        return;
    }
    QWidget* old = PageControl1->widget(index);
    if (page->objectName().isEmpty()) {
        page->setObjectName(kPages[index].Name);
    }
    PageControl1->removeTab(index);
    PageControl1->insertTab(index, page, kPages[index].Caption);
    delete old;
}

QWidget* TForm_Main::PageAt(int index) const {
    return PageControl1->widget(index);
}

void TForm_Main::FormCreate() {
    // 1. The model with its defaults, given the port object and this window as
    //    the receiver of its notifications.
    KT41 = std::make_unique<device::TKT41>(*driver_);
    KT41->AttachPort(&ComPort1, this);

    // 2-3. Column widths live in sections of the settings key; the user gets
    //      the machine-wide defaults of a section when he has none yet.
    for (const GridLayout& grid : kGridLayouts) {
        if (grid.SavedAtClose) {
            CopyDefaultColumnWidths(grid.Section);
        }
    }
    // 4-5. Stored widths of every grid present.
    for (const GridLayout& grid : kGridLayouts) {
        LoadColumnWidths(findChild<QTableWidget*>(grid.Grid), grid.Section);
    }
    // 4-9. The pages' own preparation: empty grids, placeholders, every contour
    //      switched off, the archive page's dates.
    for (int index = 0; index < kPageCount; ++index) {
        if (auto* page = dynamic_cast<MainWindowPage*>(PageAt(index))) {
            page->PrepareAtStart();
        }
    }
    // 7. Empty log and hint panel, idle status, no edit in progress.
    Memo1->clear();
    StatusPanel0->clear();
    SetActivityText("Простой ...");
    LastEditorKind = 0;
    // 10-11.
    RestoreWindowLayout();
    ShowCalibrationMenu(false);
    ApplyCommandLine();
}

void TForm_Main::FormShow() {
    setWindowTitle(MainWindowCaption());
}

void TForm_Main::ApplyCommandLine() {
    for (const QString& argument : commandLine_) {
        if (argument.size() > 1 && argument.startsWith('-')) {
            if (argument[1] == 'C' || argument[1] == 'c') {
                ShowCalibrationMenu(true);
            }
            return;
        }
    }
}

void TForm_Main::ShowCalibrationMenu(bool visible) {
    Menu_Calibr->menuAction()->setVisible(visible);
    // The calibration commands, keys included, are available only with the menu.
    Calibr_Term->setEnabled(visible);
    Calibr_Press->setEnabled(visible);
}

void TForm_Main::RestoreWindowLayout() {
    if (!RestoreWindowPlacement(*this, kWindowName)) {
        CenterWindow(*this);
    }
    auto settings = OpenUserSettings();
    const QVariant height = settings->value(kWindowName + "/" + key::Panel_Bottom_Height);
    bool ok = false;
    const int value = height.toInt(&ok);
    if (height.isValid() && ok && value >= 0) {
        ApplyLogHeight(value);
    }
}

void TForm_Main::ApplyLogHeight(int height) {
    if (!isVisible()) {
        pendingLogHeight_ = height; // sizes are known once the window is laid out
        return;
    }
    const QList<int> sizes = Splitter1->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    Splitter1->setSizes({std::max(0, total - height), height});
}

void TForm_Main::SaveWindowLayout() {
    SaveWindowPlacement(*this, kWindowName);
    auto settings = OpenUserSettings();
    settings->setValue(kWindowName + "/" + key::Panel_Bottom_Height, Panel_Bottom->height());
}

void TForm_Main::FormClose() {
    for (const GridLayout& grid : kGridLayouts) {
        if (grid.SavedAtClose) {
            SaveColumnWidths(findChild<QTableWidget*>(grid.Grid), grid.Section);
        }
    }
    for (int index = 0; index < kPageCount; ++index) {
        if (auto* page = dynamic_cast<MainWindowPage*>(PageAt(index))) {
            page->PrepareClose();
        }
    }
    // A running archive read sees the cleared flag and ends before the window goes.
    if (ReadingFlag) {
        ReadingFlag = false;
        QCoreApplication::processEvents();
        QThread::msleep(50);
        QCoreApplication::processEvents();
    }
    SaveWindowLayout();
}

void TForm_Main::FormResize() {
    // The status bar's layout keeps panels 0 and 2 at their widths and gives
    // panel 1 the rest; repaint it in its new size at once.
    statusBar()->repaint();
}

void TForm_Main::N5Click() {
    if (Form_Config == nullptr) {
        return;
    }
    CenterWindow(*Form_Config, this);
    Form_Config->exec();
}

void TForm_Main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
    if (pendingLogHeight_) {
        const int height = *pendingLogHeight_;
        pendingLogHeight_.reset();
        ApplyLogHeight(height);
    }
}

void TForm_Main::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        RunGuarded([this] { FormClose(); });
    }
    event->accept();
}

void TForm_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

} // namespace kt41::app
