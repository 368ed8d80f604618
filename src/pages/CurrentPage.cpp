#include "CurrentPage.h"

#include "GridLayouts.h"
#include "TrendPlot.h"
#include "catalogue/CurrentReadingTexts.h"
#include "catalogue/CurrentReadings.h"
#include "device/ProgressCodes.h"
#include "device/TKT41.h"
#include "driver/SerialPortError.h"
#include "gui/BlockingOperation.h"
#include "gui/GridEditing.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kt41::pages {

using namespace kt41::catalogue;
using gui::ParamGrid;
using gui::ToQString;

namespace {

constexpr int kValueRow = 1;
// Default widths; a stored layout replaces them.
constexpr int kReadingColumnWidth = 62;
// The second grid's columns are as wide as their longest word needs: a
// sensor state (headings wrap), "Подпитка" of the feed levels, "1н-1к," of the pump hours.
constexpr int kSensorColumnWidth = 52;
constexpr int kCellPadding = 10;
constexpr std::array<int, 2> kLogColumnWidths{150, 100}; // the description takes the rest

const QStringList kLogHeadings{"Дата и Время", "Тип события ", "Описание"};
const QString kLogCaption = "Фиксируемые ошибки и события";

// Lets the window's pending events run this often, 5 ms apart, when the line
// is taken from the page.
constexpr int kFinishRounds = 21;
constexpr unsigned long kFinishPauseMs = 5;

void SetUpReadingGrid(ParamGrid& grid, const QStringList& headings, int columnWidth,
                      int headingLines) {
    grid.SetHeadings(headings);
    grid.SetParamRowCount(kValueRow + 1);
    for (int column = 0; column < int(headings.size()); ++column) {
        grid.SetColumnAlignment(column, Qt::AlignCenter);
        grid.SetColumnReadOnly(column, true);
        grid.setColumnWidth(column, columnWidth);
    }
    grid.SetHeadingWordWrap(true);
    grid.SetHeadingHeight(headingLines * grid.fontMetrics().lineSpacing() + 8);
    grid.SetActiveCellShow(false);
    grid.horizontalHeader()->setStretchLastSection(false);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grid.setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    grid.setFixedHeight(grid.rowHeight(0) + grid.rowHeight(kValueRow) + 2 * grid.frameWidth());
}

QStringList ToQStringList(auto&& texts) {
    QStringList list;
    for (const auto& text : texts) {
        list << ToQString(text);
    }
    return list;
}

} // namespace

CurrentPage::CurrentPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    AdvColumnGrid_CurIndicat = new ParamGrid(this);
    AdvColumnGrid_CurIndicat->setObjectName("AdvColumnGrid_CurIndicat");
    QStringList readingHeadings = ToQStringList(kTemperatureHeaders);
    for (int column = kFirstAnalogColumn; column < kReadingColumns; ++column) {
        readingHeadings << ToQString(kAnalogDesignHeader);
    }
    SetUpReadingGrid(*AdvColumnGrid_CurIndicat, readingHeadings, kReadingColumnWidth, 2);

    AdvColumnGrid_CurIndicat2 = new ParamGrid(this);
    AdvColumnGrid_CurIndicat2->setObjectName("AdvColumnGrid_CurIndicat2");
    SetUpReadingGrid(*AdvColumnGrid_CurIndicat2, ToQStringList(kSensorAndHoursHeaders),
                     kSensorColumnWidth, 3);
    {
        ParamGrid& grid = *AdvColumnGrid_CurIndicat2;
        QFont heading = grid.font();
        heading.setBold(true);
        const QFontMetrics value(grid.font()), bold(heading);
        const int sensor = value.horizontalAdvance("Авария") + kCellPadding;
        const int feed = bold.horizontalAdvance("Подпитка") + kCellPadding;
        const int hours =
            std::max(bold.horizontalAdvance("1н-1к,"), value.horizontalAdvance("65535")) +
            kCellPadding;
        for (int column = 0; column < kSensorAndHoursColumns; ++column) {
            grid.setColumnWidth(column, column < 8 ? sensor : column < kSensorCount ? feed : hours);
        }
        // With a large font the fourteen columns may not fit: the grid then
        // scrolls sideways, and its height keeps room for the scroll bar.
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        grid.setFixedHeight(grid.height() + grid.horizontalScrollBar()->sizeHint().height());
    }

    AdvColumnGrid_LogErr = new ParamGrid(this);
    AdvColumnGrid_LogErr->setObjectName("AdvColumnGrid_LogErr");
    AdvColumnGrid_LogErr->SetHeadings(kLogHeadings);
    AdvColumnGrid_LogErr->SetColumnAlignment(0, Qt::AlignCenter);
    AdvColumnGrid_LogErr->SetColumnAlignment(1, Qt::AlignCenter);
    AdvColumnGrid_LogErr->SetColumnAlignment(2, Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < int(kLogHeadings.size()); ++column) {
        AdvColumnGrid_LogErr->SetColumnReadOnly(column, true);
    }
    AdvColumnGrid_LogErr->setColumnWidth(0, kLogColumnWidths[0]);
    AdvColumnGrid_LogErr->setColumnWidth(1, kLogColumnWidths[1]);
    AdvColumnGrid_LogErr->horizontalHeader()->setStretchLastSection(true);
    // A description wider than its column takes as many lines as it needs.
    AdvColumnGrid_LogErr->SetWrappingColumn(2);
    AdvColumnGrid_LogErr->SetActiveCellShow(false);
    AdvColumnGrid_LogErr->ResetRows();

    Timer_Current = new QTimer(this);
    Timer_Current->setObjectName("Timer_Current");
    Timer_Current->setInterval(kPollInterval);
    connect(Timer_Current, &QTimer::timeout, this, [this] { Timer_CurrentTimer(); });

    auto* caption = new QLabel(kLogCaption, this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    // The log and the trend share the room below the grids: at the window's
    // usual size neither would be readable in half of it.
    TabControl_CurView = new QTabWidget(this);
    TabControl_CurView->setObjectName("TabControl_CurView");
    TabControl_CurView->setDocumentMode(true);
    auto* logSheet = new QWidget(TabControl_CurView);
    auto* logLayout = new QVBoxLayout(logSheet);
    logLayout->setContentsMargins(0, 4, 0, 0);
    logLayout->addWidget(caption);
    logLayout->addWidget(AdvColumnGrid_LogErr, 1);
    TabControl_CurView->addTab(logSheet, "События");
    TrendPlot_Current = new TrendPlot(kTrendStep, TabControl_CurView);
    TrendPlot_Current->setObjectName("TrendPlot_Current");
    TabControl_CurView->addTab(TrendPlot_Current, "График");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(AdvColumnGrid_CurIndicat);
    layout->addWidget(AdvColumnGrid_CurIndicat2);
    layout->addSpacing(4);
    layout->addWidget(TabControl_CurView, 1);
}

void CurrentPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored from the task bar is not a new showing of the page.
    if (!event->spontaneous()) {
        TabSheet_CurrentShow();
    }
}

void CurrentPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        TabSheet_CurrentHide();
    }
}

void CurrentPage::TabSheet_CurrentShow() {
    ClearPage();
    // No polls ran while the page was hidden: the trend goes on after a gap,
    // its 4-20 mA inputs as the configuration now has them.
    TrendPlot_Current->Break();
    TrendPlot_Current->SetInputs(host_.Model().Input_P);
    TrendPlot_Current->SetSaveProposal(host_.CurrentSettings().ArchiveFolder,
                                       "Текущие показания.png");
    host_.PostProgress(device::progress::CurrentPageShown, 0);
    Timer_CurrentTag = kPollInterval;
    Timer_Current->setInterval(kFirstPollDelay);
    Timer_Current->start();
}

void CurrentPage::TabSheet_CurrentHide() {
    Timer_Current->stop();
    host_.PostProgress(device::progress::IdleAfter, 0);
}

void CurrentPage::Timer_CurrentTimer() {
    if (Timer_CurrentTag >= 0 && Timer_Current->interval() < Timer_CurrentTag) {
        Timer_Current->setInterval(Timer_CurrentTag);
    }
    PollCurrentData();
}

void CurrentPage::PollCurrentData() {
    const gui::BlockingOperation busy;
    polling_ = true;
    device::TCurrentData data{};
    bool read = false;
    try {
        read = host_.Model().ReadCurrentData(data);
    } catch (const driver::SerialPortError& error) {
        // The model reports a failing port as a failed read; should one still
        // get here, the polls end and the user sees it as after any command.
        polling_ = false;
        Timer_Current->stop();
        ShowNoReadings();
        TrendPlot_Current->Break();
        host_.ReportPortError(error);
        return;
    }
    polling_ = false;
    if (read) {
        FillReadings(data);
        RebuildEventLog(data.EventWords());
        const device::TrendTime now = TrendTimeOf(TrendClock());
        TrendPlot_Current->AddCurrentData(now, data);
        TrendPlot_Current->DropBefore(now - kTrendSpan);
    } else {
        ShowNoReadings();
        TrendPlot_Current->Break();
    }
}

void CurrentPage::FillReadings(const device::TCurrentData& data) {
    const TCurrentReadingTexts texts(host_.Model(), data, gui::DecimalSeparator());
    for (int column = 0; column < kReadingColumns; ++column) {
        if (column >= kFirstAnalogColumn) {
            const std::string header = texts.ReadingHeader(column, "\n");
            if (!header.empty()) {
                AdvColumnGrid_CurIndicat->SetCellText(0, column, ToQString(header));
            }
        }
        AdvColumnGrid_CurIndicat->SetCellText(kValueRow, column,
                                              ToQString(texts.ReadingValue(column)));
    }
    for (int column = 0; column < kSensorAndHoursColumns; ++column) {
        AdvColumnGrid_CurIndicat2->SetCellText(kValueRow, column,
                                               ToQString(texts.SensorOrHoursValue(column)));
    }
}

void CurrentPage::ShowNoReadings() {
    for (ParamGrid* grid : {AdvColumnGrid_CurIndicat, AdvColumnGrid_CurIndicat2}) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            grid->SetCellText(kValueRow, column, ToQString(kNoReadingText));
        }
    }
}

void CurrentPage::ClearPage() {
    ShowNoReadings();
    AdvColumnGrid_LogErr->ResetRows();
}

void CurrentPage::RebuildEventLog(std::span<const std::uint16_t> words) {
    const QDateTime now = QDateTime::currentDateTime();
    const driver::CivilDateTime local{now.date().year(), now.date().month(),  now.date().day(),
                                      now.time().hour(), now.time().minute(), now.time().second()};
    const std::string stamp = EventLogStamp(local);
    ParamGrid& log = *AdvColumnGrid_LogErr;
    log.ResetRows();
    for (const TEventLogRow& row : EventLogRows(words, stamp)) {
        log.InsertRowBeforeTrailing(
            {ToQString(row.Stamp), ToQString(row.Kind), ToQString(row.Description)},
            host_.MeasuredTextHeight());
    }
    log.RemoveTrailingEmptyRow();
}

void CurrentPage::PrepareAtStart() {
    for (ParamGrid* grid :
         {AdvColumnGrid_CurIndicat, AdvColumnGrid_CurIndicat2, AdvColumnGrid_LogErr}) {
        LoadPageGridWidths(*grid);
    }
    ClearPage();
}

void CurrentPage::PrepareClose() {
    Timer_Current->stop();
    for (ParamGrid* grid :
         {AdvColumnGrid_CurIndicat, AdvColumnGrid_CurIndicat2, AdvColumnGrid_LogErr}) {
        SavePageGridWidths(*grid);
    }
}

bool CurrentPage::UsesLine() const {
    return Timer_Current->isActive();
}

void CurrentPage::StopUsingLine() {
    Timer_Current->stop();
    // A poll under way ends before the port closes.
    for (int round = 0; round < kFinishRounds; ++round) {
        QCoreApplication::processEvents();
        QThread::msleep(kFinishPauseMs);
    }
}

void CurrentPage::ConnectionClosed() {
    TrendPlot_Current->Clear();
}

} // namespace kt41::pages
