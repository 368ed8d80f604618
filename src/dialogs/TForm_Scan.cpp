#include "TForm_Scan.h"

#include "device/ProgressTexts.h"
#include "driver/ComPort.h"
#include "driver/SerialPortError.h"
#include "gui/ParamGrid.h"
#include "gui/Prompt.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

const QString kStart = "Начать поиск";
const QString kStop = "Остановить";
const QString kPortBusy = "Последовательный порт занят другим приложением ...    ";
constexpr int kFirstUnit = 1;
constexpr int kLastUnit = 247;

} // namespace

TForm_Scan::TForm_Scan(driver::Kt41Driver& driver, driver::ComPort& port,
                       driver::ProgressSink* window, QWidget* parent)
    : QDialog(parent), driver_(driver), port_(port), window_(window) {
    setObjectName("Form_Scan");
    setWindowTitle("Поиск приборов на линии");
    Label_Port = new QLabel(this);
    Label_Port->setObjectName("Label_Port");
    SpinEdit_First = new QSpinBox(this);
    SpinEdit_First->setObjectName("SpinEdit_First");
    SpinEdit_Last = new QSpinBox(this);
    SpinEdit_Last->setObjectName("SpinEdit_Last");
    for (QSpinBox* box : {SpinEdit_First, SpinEdit_Last}) {
        box->setRange(kFirstUnit, kLastUnit);
    }
    SpinEdit_First->setValue(kFirstUnit);
    SpinEdit_Last->setValue(kLastUnit);
    CheckBox_9600 = new QCheckBox("9600", this);
    CheckBox_9600->setObjectName("CheckBox_9600");
    CheckBox_19200 = new QCheckBox("19200", this);
    CheckBox_19200->setObjectName("CheckBox_19200");
    CheckBox_9600->setChecked(true);
    CheckBox_19200->setChecked(true);
    Button_Scan = new QPushButton(kStart, this);
    Button_Scan->setObjectName("Button_Scan");
    ProgressBar_Scan = new QProgressBar(this);
    ProgressBar_Scan->setObjectName("ProgressBar_Scan");
    ProgressBar_Scan->setRange(0, 1);
    ProgressBar_Scan->setValue(0);
    Label_State = new QLabel(this);
    Label_State->setObjectName("Label_State");
    Grid_Found = new gui::ParamGrid(this);
    Grid_Found->setObjectName("Grid_Found");
    Grid_Found->SetHeadings({"Адрес", "Серийный номер", "Модель", "Версия ПО", "Скорость, бит/с"});
    constexpr int kWidths[] = {60, 125, 80, 90, 125};
    for (int column = 0; column < 5; ++column) {
        Grid_Found->SetColumnReadOnly(column, true);
        Grid_Found->setColumnWidth(column, kWidths[column]);
    }
    Grid_Found->setToolTip("Двойной щелчок: соединиться с прибором");
    Button_Close = new QPushButton("Закрыть", this);
    Button_Close->setObjectName("Button_Close");

    auto* range = new QGridLayout;
    range->addWidget(new QLabel("Адреса с", this), 0, 0);
    range->addWidget(SpinEdit_First, 0, 1);
    range->addWidget(new QLabel("по", this), 0, 2);
    range->addWidget(SpinEdit_Last, 0, 3);
    range->addWidget(new QLabel("Скорости, бит/с", this), 1, 0);
    range->addWidget(CheckBox_9600, 1, 1);
    range->addWidget(CheckBox_19200, 1, 3);
    range->setColumnStretch(4, 1);
    range->addWidget(Button_Scan, 0, 5, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel("Двойной щелчок по строке соединяет с прибором.", this), 1);
    buttons->addWidget(Button_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_Port);
    layout->addLayout(range);
    layout->addWidget(ProgressBar_Scan);
    layout->addWidget(Label_State);
    layout->addWidget(Grid_Found, 1);
    layout->addLayout(buttons);
    resize(560, 400);

    connect(Button_Scan, &QPushButton::clicked, this, &TForm_Scan::Button_ScanClick);
    connect(Button_Close, &QPushButton::clicked, this, &TForm_Scan::reject);
    connect(Grid_Found, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { Grid_FoundDblClick(row); });
}

void TForm_Scan::showEvent(QShowEvent* event) {
    Label_Port->setText("Порт: " + QString::fromStdString(port_.PortName));
    QDialog::showEvent(event);
}

void TForm_Scan::reject() {
    stopRequested_ = true;
    QDialog::reject();
}

void TForm_Scan::Button_ScanClick() {
    if (scanning_) {
        stopRequested_ = true;
        return;
    }
    RunScan();
}

void TForm_Scan::RunScan() {
    std::vector<std::uint32_t> bauds;
    if (CheckBox_9600->isChecked()) {
        bauds.push_back(9600);
    }
    if (CheckBox_19200->isChecked()) {
        bauds.push_back(19200);
    }
    const int first = std::min(SpinEdit_First->value(), SpinEdit_Last->value());
    const int last = std::max(SpinEdit_First->value(), SpinEdit_Last->value());
    found_.clear();
    ShowFound();
    scanning_ = true;
    stopRequested_ = false;
    Button_Scan->setText(kStop);
    try {
        device::TBusScan scan(driver_, port_, first, last, bauds, window_);
        ProgressBar_Scan->setRange(0, std::max(1, scan.Total()));
        ProgressBar_Scan->setValue(0);
        while (!scan.Finished()) {
            Label_State->setText(
                QString("%1 бит/с, адрес %2").arg(scan.CurrentBaud()).arg(scan.CurrentAddress()));
            // The stop click and the close button get through between two
            // addresses; the exchange itself is short.
            QCoreApplication::processEvents();
            if (stopRequested_) {
                scan.Cancel();
            }
            scan.Step();
            ProgressBar_Scan->setValue(scan.Done());
            if (scan.Found().size() != found_.size()) {
                found_ = scan.Found();
                ShowFound();
            }
        }
        Label_State->setText((scan.Cancelled() ? QString("Поиск остановлен. ") : QString()) +
                             QString("Найдено приборов: %1").arg(found_.size()));
    } catch (const driver::SerialPortError& error) {
        gui::ShowErrorBox(this, kPortBusy);
        Label_State->setText(
            QString::fromStdString(device::PortFaultText(error.Fault(), error.Port())));
    }
    scanning_ = false;
    Button_Scan->setText(kStart);
}

void TForm_Scan::ShowFound() {
    Grid_Found->ResetRows();
    for (const device::TScanFinding& f : found_) {
        Grid_Found->InsertRowBeforeTrailing(
            {QString::number(f.Address),
             f.IdentityRead ? QString("%1").arg(f.SerialNumber, 5, 10, QChar('0')) : "?",
             f.IdentityRead ? QString::number(f.Model) : "?",
             QString::fromStdString(device::ScanVersionText(f)), QString::number(f.Baud)});
    }
    Grid_Found->RemoveTrailingEmptyRow();
    Grid_Found->setCurrentItem(nullptr);
}

void TForm_Scan::Grid_FoundDblClick(int row) {
    const int index = row - 1; // row 0 is the heading
    if (scanning_ || index < 0 || index >= int(found_.size())) {
        return;
    }
    const device::TScanFinding finding = found_[std::size_t(index)];
    accept();
    if (ConnectRequested) {
        ConnectRequested(finding.Address, finding.Baud);
    }
}

} // namespace kt41::dialogs
