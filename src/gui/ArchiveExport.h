#pragma once

#include "RunTimeSettings.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

class QWidget;

namespace kt41::gui {

class Prompt;

// What the archive page lists, as its grid shows it.
struct ArchiveListing {
    QStringList Headers;     // the grid's header texts, column 0 first
    QList<QStringList> Rows; // one per record, newest first, the grid's cell texts
    // From the model (the main window adds them): the serial number in five
    // digits, and whether 4-20 mA input n + 1 measures a position (InputType 0).
    QString SerialNumber;
    std::array<bool, 4> PositionInputs{};
};

// What the export needs of the window that runs it.
struct ArchiveExportContext {
    const RunTimeSettings& Settings; // ArchiveFolder
    QString DocumentsFolder;         // used when ArchiveFolder is empty
    Prompt& Ask;
    std::function<void(int code, std::uint32_t lParam)> PostProgress;
    std::function<void(const QString& text)> LogMessage;
    QWidget* Owner = nullptr; // the message boxes are centred on it
    QDate Today;              // the export's date; invalid: the current date
};

// The folder of the year's workbooks: the archive folder (or, when that
// setting is empty, documents + "/Конфигурация KT-41/Архивы") + "/Год_" + year
// and a final separator.
QString ArchiveYearFolder(const QString& archiveFolder, const QString& documentsFolder, int year);

// Fills templateFolder + templateName + ".xltx" with the listing and saves the
// workbook as <year folder> + templateName + " № " + serial number + ".xlsx",
// replacing an existing one, then opens it on the desktop. Progress code 17
// tells the outcome (0 saved, 1 failed); a failure shows "Архив не передан !!!"
// and logs its reason, and leaves an existing workbook as it was. An empty
// template name shows "Не выбран шаблон архива ...  " and does nothing else.
// Returns the workbook's path, empty when none was saved.
QString ExportArchiveToWorkbook(const ArchiveListing& listing, const QString& templateFolder,
                                const QString& templateName, const ArchiveExportContext& context);

// The captions and texts of the export's boxes.
inline const QString kExportCaption = "Ошибка передачи данных в MS Excel";
inline const QString kNoTemplateText = "Не выбран шаблон архива ...  ";
inline const QString kExportFailedText = "Архив не передан !!!";

} // namespace kt41::gui
