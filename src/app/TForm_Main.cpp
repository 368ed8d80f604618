#include "TForm_Main.h"

#include "FollowingLogView.h"
#include "TForm_Config.h"
#include "gui/GeneralError.h"
#include "gui/LayoutShortcuts.h"
#include "gui/ProductInfo.h"
#include "gui/Settings.h"
#include "gui/WindowPlacement.h"
#include "pages/GridLayouts.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
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
    return kCaption + QString("%1.%2").arg(gui::kVersionMajor).arg(gui::kVersionMinor);
}

TForm_Main::TForm_Main(std::unique_ptr<driver::Kt41Driver> driver, QStringList commandLine,
                       QWidget* parent)
    : QMainWindow(parent), driver_(std::move(driver)), commandLine_(std::move(commandLine)) {
    setObjectName("Form_Main");
    BuildWindow();
    // The shortcuts work under the Russian keyboard layout too.
    qApp->installEventFilter(new gui::LayoutShortcuts(this));
    // The calibration commands follow the pages' use of the line whenever the
    // program waits for input.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            Calibr_TermUpdate();
            Calibr_PressUpdate();
        });
    }
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

    Memo1 = new FollowingLogView;
    Memo1->setObjectName("Memo1");
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

void TForm_Main::InstallPage(int index, QWidget* widget, pages::MainWindowPage* page) {
    if (index < 0 || index >= kPageCount || widget == nullptr) {
        return;
    }
    QWidget* old = PageControl1->widget(index);
    if (widget->objectName().isEmpty()) {
        widget->setObjectName(kPages[index].Name);
    }
    PageControl1->removeTab(index);
    PageControl1->insertTab(index, widget, kPages[index].Caption);
    pages_[std::size_t(index)] = page;
    delete old;
}

QWidget* TForm_Main::PageAt(int index) const {
    return PageControl1->widget(index);
}

void TForm_Main::FormCreate() {
    // The model with its defaults, given the port object and this window as the
    // receiver of its notifications.
    KT41 = std::make_unique<device::TKT41>(*driver_);
    KT41->AttachPort(&ComPort1, this);

    // Column widths live in sections of the settings key; the user gets the
    // machine-wide defaults of a section when he has none yet, before any page
    // loads its widths.
    pages::CopyDefaultPageGridWidths();
    // The pages' own preparation: their stored column widths, empty grids,
    // placeholders, every contour switched off.
    ForEachPage([](pages::MainWindowPage& page) { page.PrepareAtStart(); });
    // An empty log and hint panel, the idle status.
    Memo1->clear();
    StatusPanel0->clear();
    SetActivityText("Простой ...");
    // Where the window was left, and the calibration menu only when the
    // command line asks for it.
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
    Calibr_TermUpdate();
    Calibr_PressUpdate();
}

void TForm_Main::RestoreWindowLayout() {
    if (!gui::RestoreWindowPlacement(*this, kWindowName)) {
        gui::CenterWindow(*this);
    }
    auto settings = gui::OpenUserSettings();
    const QVariant height = settings->value(kWindowName + "/" + gui::key::Panel_Bottom_Height);
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
    gui::SaveWindowPlacement(*this, kWindowName);
    auto settings = gui::OpenUserSettings();
    settings->setValue(kWindowName + "/" + gui::key::Panel_Bottom_Height, Panel_Bottom->height());
}

void TForm_Main::FormClose() {
    // The pages save their widths; the archive page ends a running read.
    ForEachPage([](pages::MainWindowPage& page) { page.PrepareClose(); });
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
    gui::CenterWindow(*Form_Config, this);
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
        gui::RunGuarded([this] { FormClose(); });
    }
    event->accept();
}

void TForm_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

} // namespace kt41::app
