#include "TForm_KodiCalibr.h"

#include "device/TKT41.h"
#include "gui/BlockingOperation.h"
#include "gui/DialogFrame.h"
#include "gui/GeneralError.h"
#include "gui/RunTimeSettings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kt41::dialogs {

namespace {

constexpr int kRows = 4;
constexpr int kColumns = 2;
constexpr int kMargin = 8;
const QString kSizingText = "   Стабилизация   ";
const QString kStabilising = "   Стабилизация показаний";
const QString kMeasuring = "Калибровка";
const QString kCode = "Код";

} // namespace

TForm_KodiCalibr::TForm_KodiCalibr(device::TKT41& model, const gui::RunTimeSettings& settings,
                                   QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings) {
    setObjectName("Form_KodiCalibr");
    gui::SetFixedDialogFrame(*this);
    setModal(true);

    AdvStringGrid1 = new QTableWidget(kRows, kColumns);
    AdvStringGrid1->setObjectName("AdvStringGrid1");
    AdvStringGrid1->horizontalHeader()->hide();
    AdvStringGrid1->verticalHeader()->hide();
    AdvStringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdvStringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdvStringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AdvStringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    AdvStringGrid1->setFocusPolicy(Qt::NoFocus);
    AdvStringGrid1->setWordWrap(false);
    AdvStringGrid1->setSpan(0, 0, 3, 1);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            AdvStringGrid1->setItem(row, column, item);
        }
    }
    AdvProgressBar1 = new QProgressBar;
    AdvProgressBar1->setObjectName("AdvProgressBar1");
    AdvProgressBar1->setTextVisible(false);
    auto* barCell = new QWidget;
    auto* barLayout = new QVBoxLayout(barCell);
    barLayout->setContentsMargins(6, 6, 6, 6);
    barLayout->addWidget(AdvProgressBar1);
    AdvStringGrid1->setCellWidget(1, 1, barCell);

    AdvGlowButton3 = new QPushButton("Отмена");
    AdvGlowButton3->setObjectName("AdvGlowButton3");
    AdvGlowButton3->setAutoDefault(false);

    Timer_Calibr = new QTimer(this);
    Timer_Calibr->setObjectName("Timer_Calibr");
    Timer_Calibr->setInterval(kTimerInterval);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(AdvGlowButton3);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kMargin);
    layout->addWidget(AdvStringGrid1);
    layout->addLayout(buttons);

    connect(AdvGlowButton3, &QPushButton::clicked, this, &TForm_KodiCalibr::AdvGlowButton3Click);
    connect(Timer_Calibr, &QTimer::timeout, this, &TForm_KodiCalibr::Timer_CalibrTimer);
}

void TForm_KodiCalibr::FormCreate() {
    termHeaders_ = {"", "", "", "T1 = "};
    pressHeaders_ = termHeaders_;
    pressHeaders_.back() = "P1 = ";
}

void TForm_KodiCalibr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TForm_KodiCalibr::FormShow() {
    // The tick reaches the step handler by a direct call: Qt needs no window
    // handle for it, so there is no "window not found" case.
    Monitor.Start(Channel, std::clamp<int>(settings_.AmountMeasure, 1, 100));
    LayOutStabilisingView();
    Timer_Calibr->start();
}

void TForm_KodiCalibr::Timer_CalibrTimer() {
    if (Monitor.CurrentState() != device::CodeMonitor::Stabilising &&
        Monitor.CurrentState() != device::CodeMonitor::Measuring) {
        return;
    }
    bool ok = false;
    {
        gui::BlockingOperation blocking;
        ok = model_.ReadAdcCodes(TemperatureCode, PressureCode);
    }
    if (!ok) {
        Monitor.Tick(std::nullopt);
        done(kModalResultCancel);
        return;
    }
    gui::RunGuarded([this] { StepHandler(); });
}

void TForm_KodiCalibr::StepHandler() {
    const auto before = Monitor.CurrentState();
    const auto after = Monitor.Tick(std::array<std::uint16_t, 2>{TemperatureCode, PressureCode});
    if (before == device::CodeMonitor::Stabilising) {
        if (after == device::CodeMonitor::Measuring) {
            LayOutMeasuringView();
        } else {
            SetCell(0, 1, StabilisingText(Monitor.Countdown()));
        }
        return;
    }
    if (before == device::CodeMonitor::Measuring) {
        AdvProgressBar1->setValue(AdvProgressBar1->value() + 1);
        SetCell(3, 1, QString::number(Monitor.LatestSample().value_or(0)));
        if (after == device::CodeMonitor::Finished) {
            done(kModalResultOk);
        }
    }
}

void TForm_KodiCalibr::AdvGlowButton3Click() {
    done(kModalResultCancel);
}

void TForm_KodiCalibr::FormClose() {
    Timer_Calibr->stop();
}

void TForm_KodiCalibr::done(int result) {
    FormClose();
    if (result != kModalResultOk) {
        Monitor.Cancel();
    }
    QDialog::done(Monitor.CurrentState() == device::CodeMonitor::Finished ? kModalResultOk
                                                                          : kModalResultCancel);
}

QString TForm_KodiCalibr::PointLabel() const {
    return QString(11, ' ') + "\r\n" + QString::number(PointNumber) + " точка";
}

QString TForm_KodiCalibr::StabilisingText(int countdown) {
    return kStabilising + "\r\n" + QString::number(countdown);
}

void TForm_KodiCalibr::SetCell(int row, int column, const QString& text) {
    AdvStringGrid1->item(row, column)->setText(text);
}

void TForm_KodiCalibr::LayOutCommon(int fixedRows) {
    const QStringList& headers =
        Monitor.ChannelNumber() == device::CodeMonitor::Pressure ? pressHeaders_ : termHeaders_;
    for (int row = 0; row < kRows; ++row) {
        SetCell(row, 0, headers.value(row));
        SetCell(row, 1, "");
    }
    SetCell(0, 0, PointLabel());
    // Fixed cells: the left column and the first fixedRows rows.
    const QBrush fixed = palette().button();
    const QBrush normal = palette().base();
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const bool isFixed = column == 0 || row < fixedRows;
            AdvStringGrid1->item(row, column)->setBackground(isFixed ? fixed : normal);
        }
    }

    const QFontMetrics metrics(AdvStringGrid1->font());
    const int textHeight = metrics.boundingRect(kSizingText).height();
    // At least 1.6 text heights; two lines for the countdown and the point.
    const int rowHeight = std::max(int(std::ceil(1.6 * textHeight)), 2 * metrics.lineSpacing() + 6);
    const int rightWidth = std::max(metrics.horizontalAdvance(kSizingText),
                                    metrics.horizontalAdvance(kStabilising) + 16);
    const int leftWidth =
        std::max(int(std::ceil(1.5 * metrics.horizontalAdvance(headers.back()))),
                 metrics.horizontalAdvance(QString::number(PointNumber) + " точка") + 16);
    for (int row = 0; row < kRows; ++row) {
        AdvStringGrid1->setRowHeight(row, rowHeight);
    }
    AdvStringGrid1->setColumnWidth(0, leftWidth);
    AdvStringGrid1->setColumnWidth(1, rightWidth);
    AdvStringGrid1->setFixedSize(leftWidth + rightWidth + 4, rowHeight * kRows + 5);
}

void TForm_KodiCalibr::LayOutStabilisingView() {
    LayOutCommon(1);
    SetCell(0, 1, StabilisingText(Monitor.Countdown()));
    AdvProgressBar1->setVisible(false);
}

void TForm_KodiCalibr::LayOutMeasuringView() {
    LayOutCommon(3);
    SetCell(0, 1, kMeasuring);
    AdvProgressBar1->setRange(0, int(Monitor.Samples().size()));
    AdvProgressBar1->setValue(0);
    AdvProgressBar1->setVisible(true);
    SetCell(2, 1, kCode);
    SetCell(3, 1, "0");
}

} // namespace kt41::dialogs
