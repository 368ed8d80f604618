#pragma once

#include "MainWindowPage.h"
#include "PageHost.h"
#include "catalogue/ArchiveTexts.h"
#include "device/Records.h"
#include "gui/ArchiveExport.h"

#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QDateEdit;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace kt41::gui {
class ParamGrid;
}

namespace kt41::pages {

class TrendPlot;

// The page "Архив" (tab 6): a range of at most eight calendar days, read hour
// by hour from the newest hour back and listed in AdvColumnGrid_Arx, one row
// per record found. The read runs inside the click of AdvGlowButton_ReadArx
// and lets pending events run between two records, so that the window
// repaints and the same button's second click ("Отмена") is seen; it holds no
// gui::BlockingOperation for that reason. The arithmetic of the range is
// device::ArchiveReader's; the row texts are catalogue::ArchiveRecordTexts.
class ArchivePage : public QWidget, public MainWindowPage {
    Q_OBJECT
public:
    explicit ArchivePage(PageHost& host, QWidget* parent = nullptr);

    // An archive read is in progress. Clearing it ends the read after the
    // record being read.
    bool ReadingFlag = false;

    // The local time the page takes as now: the latest end date and "end date
    // today means now". Tests put a fixed time here.
    std::function<QDateTime()> CurrentTime = [] { return QDateTime::currentDateTime(); };

    // The grid's texts as a plain table, what the workbook export takes:
    // Headers are the 16 heading texts of row 0 ("\n" where a heading breaks
    // its line), Rows one entry per listed record, newest first, each with the
    // 16 cell texts as shown (numbers with the user's decimal separator, notes
    // lines joined by "\n"). Without a listed record Rows is empty.
    gui::ArchiveListing ValueTable() const;

    // The records of the latest read in grid order (newest first).
    const std::vector<device::TArxRecord>& Records() const { return records_; }

    // --- handlers --------------------------------------------------------------
    // The start date follows the end date: its range becomes [end - 7, end]
    // and it moves to end - 7.
    void AdvDateTimePickerArx_EndChange();
    // Starts a read (caption "Отмена"), or cancels the read in progress;
    // posts progress code 1 at the end in both cases.
    void AdvGlowButton_ReadArxClick();
    void AdvGlowButton_ExportExcelClick();

    // MainWindowPage: column widths, the export button's caption and the dates
    // at start; widths saved and a read ended at close. The page uses the line
    // while it is shown or reading (no calibration may start then);
    // StopUsingLine cancels a read and lets the record under way finish.
    void PrepareAtStart() override;
    void PrepareClose() override;
    bool UsesLine() const override;
    void StopUsingLine() override;

    // --- controls ----------------------------------------------------------------
    QGroupBox* GroupBox_Arx = nullptr; // " Выбор архива "
    QDateEdit* AdvDateTimePickerArx_Start = nullptr;
    QDateEdit* AdvDateTimePickerArx_End = nullptr;
    QPushButton* AdvGlowButton_ReadArx = nullptr;
    QProgressBar* AdvProgressBarArx = nullptr;
    QPushButton* AdvGlowButton_ExportExcel = nullptr;
    gui::ParamGrid* AdvColumnGrid_Arx = nullptr;
    // The layout that holds the grid alone, so that another view of the
    // records can be put beside it.
    QVBoxLayout* GridLayout_Arx = nullptr;
    // The records as a trend plot, on the "График" tab beside the grid.
    TrendPlot* TrendPlot_Arx = nullptr;

signals:
    // A record was listed in grid row `row` (1 for the newest).
    void RecordListed(const kt41::device::TArxRecord& record, int row);

private:
    // The read loop of a started read.
    void ReadArchive();
    // Lists one record in a new row before the trailing empty row.
    void AddRecordRow(const device::TArxRecord& record);
    void ShowAnalogHeadings();
    void ShowReading(bool reading);

    PageHost& host_;
    std::vector<device::TArxRecord> records_;
    catalogue::AnalogTypes types_{};
    bool closing_ = false;
};

} // namespace kt41::pages
