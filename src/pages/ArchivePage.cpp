#include "ArchivePage.h"

#include "ArchivePlot.h"
#include "GridLayouts.h"
#include "device/ArchiveReader.h"
#include "device/ProgressCodes.h"
#include "device/TKT41.h"
#include "driver/SerialPortError.h"
#include "gui/GridEditing.h"
#include "gui/ParamGrid.h"
#include "gui/Prompt.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <optional>

namespace kt41::pages {

using namespace kt41::catalogue;
using gui::ToQString;

namespace {

const QString kReadCaption = "Прочитать";
const QString kReadHint = "Прочитать архив за указанный период";
const QString kCancelCaption = "Отмена";
const QString kCancelHint = "Остановить чтение архива";
const QString kExportCaption = "Передать  Архив\nв  MS Excel";
const QString kNothingFound = "Нет ни одной записи !!!";
const QString kNothingFoundCaption = "Сообщение ... ";

// A row with notes is painted in this colour.
const QColor kEventRowColour(243, 172, 101);

constexpr int kHeadingHeight = 40;
// The grid repaints at most this often during a read, in milliseconds.
constexpr qint64 kRepaintInterval = 250;
// Default widths; a stored layout replaces them.
constexpr int kColumnWidths[kArchiveColumnCount] = {34, 92, 36, 48, 48, 48, 48, 48,
                                                    48, 58, 58, 62, 62, 62, 62, 400};

device::ArchiveDate DateOf(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

driver::CivilDateTime CivilOf(const QDateTime& t) {
    const QDate d = t.date();
    const QTime time = t.time();
    return {d.year(), d.month(), d.day(), time.hour(), time.minute(), time.second()};
}

QDateEdit* DatePicker(const char* name, QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("dd.MM.yyyy");
    return picker;
}

} // namespace

ArchivePage::ArchivePage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    GroupBox_Arx = new QGroupBox(" Выбор архива ", this);
    AdvDateTimePickerArx_Start = DatePicker("AdvDateTimePickerArx_Start", GroupBox_Arx);
    AdvDateTimePickerArx_End = DatePicker("AdvDateTimePickerArx_End", GroupBox_Arx);
    auto* dates = new QGridLayout(GroupBox_Arx);
    dates->addWidget(new QLabel("Начальная дата", GroupBox_Arx), 0, 0);
    dates->addWidget(AdvDateTimePickerArx_Start, 1, 0);
    dates->addWidget(new QLabel("Конечная дата", GroupBox_Arx), 0, 1);
    dates->addWidget(AdvDateTimePickerArx_End, 1, 1);

    AdvGlowButton_ReadArx = new QPushButton(kReadCaption, this);
    AdvGlowButton_ReadArx->setObjectName("AdvGlowButton_ReadArx");
    AdvGlowButton_ReadArx->setToolTip(kReadHint);
    AdvGlowButton_ReadArx->setMinimumWidth(110);
    AdvProgressBarArx = new QProgressBar(this);
    AdvProgressBarArx->setObjectName("AdvProgressBarArx");
    AdvProgressBarArx->setTextVisible(false);
    AdvProgressBarArx->hide();
    AdvGlowButton_ExportExcel = new QPushButton(this);
    AdvGlowButton_ExportExcel->setObjectName("AdvGlowButton_ExportExcel");
    AdvGlowButton_ExportExcel->hide();

    AdvColumnGrid_Arx = new gui::ParamGrid(this);
    AdvColumnGrid_Arx->setObjectName("AdvColumnGrid_Arx");
    AdvColumnGrid_Arx->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList headings;
    for (int column = 0; column < kArchiveColumnCount; ++column) {
        headings << ToQString(ArchiveHeading(column, types_));
    }
    AdvColumnGrid_Arx->SetHeadings(headings);
    for (int column = 0; column < kArchiveColumnCount; ++column) {
        AdvColumnGrid_Arx->SetColumnReadOnly(column, true);
        if (column != kArchiveNotesColumn) {
            AdvColumnGrid_Arx->SetColumnAlignment(column, Qt::AlignHCenter);
        }
        AdvColumnGrid_Arx->setColumnWidth(column, kColumnWidths[column]);
    }
    AdvColumnGrid_Arx->SetHeadingHeight(kHeadingHeight);
    AdvColumnGrid_Arx->SetHeadingWordWrap(true);
    AdvColumnGrid_Arx->ResetRows();

    connect(AdvDateTimePickerArx_End, &QDateEdit::dateChanged, this,
            [this] { AdvDateTimePickerArx_EndChange(); });
    connect(AdvGlowButton_ReadArx, &QPushButton::clicked, this,
            [this] { AdvGlowButton_ReadArxClick(); });
    connect(AdvGlowButton_ExportExcel, &QPushButton::clicked, this,
            [this] { AdvGlowButton_ExportExcelClick(); });

    auto* controls = new QHBoxLayout;
    controls->addWidget(GroupBox_Arx);
    controls->addWidget(AdvGlowButton_ReadArx, 0, Qt::AlignBottom);
    controls->addWidget(AdvProgressBarArx, 1, Qt::AlignBottom);
    controls->addStretch(0);
    controls->addWidget(AdvGlowButton_ExportExcel, 0, Qt::AlignBottom);
    GridLayout_Arx = new QVBoxLayout;
    GridLayout_Arx->addWidget(AdvColumnGrid_Arx);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->addLayout(controls);
    page->addLayout(GridLayout_Arx, 1);
    TrendPlot_Arx = AttachArchivePlot(*this, host_);
}

void ArchivePage::PrepareAtStart() {
    AdvColumnGrid_Arx->ResetRows();
    records_.clear();
    LoadPageGridWidths(*AdvColumnGrid_Arx);
    AdvGlowButton_ExportExcel->setText(kExportCaption);
    AdvColumnGrid_Arx->SetCellText(0, 0, ToQString(ArchiveHeading(0, types_)));
    const QDate today = CurrentTime().date();
    {
        const QSignalBlocker quiet(AdvDateTimePickerArx_End);
        AdvDateTimePickerArx_End->setMaximumDate(today);
        AdvDateTimePickerArx_End->setDate(today);
    }
    AdvDateTimePickerArx_EndChange();
    ReadingFlag = false;
}

void ArchivePage::PrepareClose() {
    SavePageGridWidths(*AdvColumnGrid_Arx);
    if (ReadingFlag) {
        // The read ends after the record under way; nothing more is shown.
        closing_ = true;
        AdvGlowButton_ReadArxClick();
        QCoreApplication::processEvents();
        QThread::msleep(50);
        QCoreApplication::processEvents();
    }
}

bool ArchivePage::UsesLine() const {
    return ReadingFlag || isVisible();
}

void ArchivePage::StopUsingLine() {
    if (!ReadingFlag) {
        return;
    }
    AdvGlowButton_ReadArxClick();
    for (int n = 0; n < 21; ++n) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

void ArchivePage::AdvDateTimePickerArx_EndChange() {
    const QDate end = AdvDateTimePickerArx_End->date();
    AdvDateTimePickerArx_Start->clearMinimumDate();
    AdvDateTimePickerArx_Start->clearMaximumDate();
    AdvDateTimePickerArx_Start->setMaximumDate(end);
    AdvDateTimePickerArx_Start->setMinimumDate(end.addDays(-device::kArchiveMaxDaysBack));
    AdvDateTimePickerArx_Start->setDate(AdvDateTimePickerArx_Start->minimumDate());
}

void ArchivePage::ShowReading(bool reading) {
    AdvGlowButton_ReadArx->setText(reading ? kCancelCaption : kReadCaption);
    AdvGlowButton_ReadArx->setToolTip(reading ? kCancelHint : kReadHint);
    AdvDateTimePickerArx_Start->setEnabled(!reading);
    AdvDateTimePickerArx_End->setEnabled(!reading);
}

void ArchivePage::AdvGlowButton_ReadArxClick() {
    if (!ReadingFlag) {
        ReadingFlag = true;
        AdvGlowButton_ExportExcel->hide();
        ShowReading(true);
        ReadArchive();
    } else {
        ReadingFlag = false;
        ShowReading(false);
    }
    host_.PostProgress(device::progress::Idle, 0);
}

void ArchivePage::AdvGlowButton_ExportExcelClick() {
    host_.ExportArchive(ValueTable());
}

void ArchivePage::ShowAnalogHeadings() {
    for (int column = kArchiveFirstAnalogColumn; column < kArchiveNotesColumn; ++column) {
        AdvColumnGrid_Arx->SetCellText(0, column, ToQString(ArchiveHeading(column, types_)));
    }
}

void ArchivePage::ReadArchive() {
    host_.PostProgress(device::progress::ReadArchiveStart, 0);
    AdvColumnGrid_Arx->ResetRows();
    records_.clear();
    device::TKT41& model = host_.Model();
    for (int n = 1; n <= 4; ++n) {
        types_[std::size_t(n - 1)] = model.GetAnalogInputType(n);
    }
    ShowAnalogHeadings();

    device::ArchiveReader reader(model, DateOf(AdvDateTimePickerArx_Start->date()),
                                 DateOf(AdvDateTimePickerArx_End->date()), CivilOf(CurrentTime()));
    AdvProgressBarArx->setRange(0, reader.HourCount());
    AdvProgressBarArx->setValue(0);
    AdvProgressBarArx->show();
    std::optional<driver::SerialPortError> portError;
    // Events run after every record; the grid repaints at most every
    // kRepaintInterval, since painting it costs more than listing a row.
    QElapsedTimer sincePaint;
    sincePaint.start();
    AdvColumnGrid_Arx->setUpdatesEnabled(false);
    while (reader.HasNext()) {
        device::ArchiveStep step;
        try {
            step = reader.ReadNext();
        } catch (const driver::SerialPortError& error) {
            portError = error;
            break;
        }
        if (!step.Ok) {
            break;
        }
        if (step.Found) {
            AddRecordRow(step.Record);
        }
        AdvProgressBarArx->setValue(step.Index);
        // The window repaints and a cancel click arrives here, between two
        // records, never inside a driver call.
        const bool paint = sincePaint.elapsed() >= kRepaintInterval;
        if (paint) {
            AdvColumnGrid_Arx->setUpdatesEnabled(true);
            sincePaint.restart();
        }
        QCoreApplication::processEvents();
        if (paint) {
            AdvColumnGrid_Arx->setUpdatesEnabled(false);
        }
        if (!ReadingFlag) {
            reader.Cancel();
        }
    }
    AdvColumnGrid_Arx->setUpdatesEnabled(true);
    AdvProgressBarArx->hide();
    if (ReadingFlag) {
        AdvGlowButton_ReadArxClick(); // the cancel branch: idle again
    }
    if (AdvColumnGrid_Arx->rowCount() >= 3) {
        AdvColumnGrid_Arx->RemoveTrailingEmptyRow();
        AdvGlowButton_ExportExcel->show();
    } else if (!reader.Failed() && !closing_) {
        gui::MessageRequest box;
        box.Caption = kNothingFoundCaption;
        box.Text = kNothingFound;
        box.Icon = gui::PromptIcon::Warning;
        box.Topmost = true;
        box.Owner = window();
        gui::CurrentPrompt().Message(box);
    }
    if (portError) {
        host_.ReportPortError(*portError);
    }
    host_.PostProgress(device::progress::ReadArchiveDone, device::OutcomeParam(!reader.Failed()));
}

void ArchivePage::AddRecordRow(const device::TArxRecord& record) {
    const auto texts = ArchiveRecordTexts(record, types_, gui::DecimalSeparator(), "\n");
    gui::ParamGrid& grid = *AdvColumnGrid_Arx;
    QStringList cells;
    cells.reserve(kArchiveColumnCount);
    cells << QString::number(grid.rowCount() - 1);
    for (const std::string& text : texts) {
        cells << ToQString(text);
    }
    const int row = grid.InsertRowBeforeTrailing(cells, host_.MeasuredTextHeight());
    if (!texts.back().empty()) {
        QTableWidgetItem* notes = grid.item(row, kArchiveNotesColumn);
        notes->setToolTip(notes->text()); // a long note is cut at the column's end
        const QFontMetrics metrics(notes->font());
        const int height =
            metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft, notes->text()).height();
        if (grid.rowHeight(row) < height + 5) {
            grid.setRowHeight(row, height + 5);
        }
        for (int column = 0; column < kArchiveColumnCount; ++column) {
            grid.item(row, column)->setBackground(kEventRowColour);
        }
    }
    records_.push_back(record);
    emit RecordListed(record, row);
}

gui::ArchiveListing ArchivePage::ValueTable() const {
    gui::ArchiveListing table;
    const gui::ParamGrid& grid = *AdvColumnGrid_Arx;
    for (int column = 0; column < grid.columnCount(); ++column) {
        table.Headers << grid.CellText(0, column);
    }
    for (int row = 1; row <= int(records_.size()) && row < grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column) {
            cells << grid.CellText(row, column);
        }
        table.Rows << cells;
    }
    return table;
}

} // namespace kt41::pages
