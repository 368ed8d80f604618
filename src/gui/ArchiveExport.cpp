#include "ArchiveExport.h"
#include "DesktopServices.h"
#include "GridEditing.h"
#include "Prompt.h"

#include "config_file/Utf8Path.h"
#include "device/ProgressCodes.h"
#include "spreadsheet/ArchiveWorkbook.h"
#include "spreadsheet/WorkbookError.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace kt41::gui {

namespace {

constexpr const char* kTemplateExtension = ".xltx";
constexpr const char* kWorkbookExtension = ".xlsx";

std::vector<std::string> Utf8(const QStringList& texts) {
    std::vector<std::string> result;
    result.reserve(std::size_t(texts.size()));
    for (const QString& text : texts) {
        result.push_back(text.toStdString());
    }
    return result;
}

spreadsheet::ArchiveSheet SheetOf(const ArchiveListing& listing, const QDate& today) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(std::size_t(listing.Rows.size()));
    for (const QStringList& row : listing.Rows) {
        rows.push_back(Utf8(row));
    }
    spreadsheet::ArchiveSheet sheet;
    sheet.Table = spreadsheet::BuildValueTable(Utf8(listing.Headers), rows, DecimalSeparator());
    sheet.SerialNumber = listing.SerialNumber.toStdString();
    sheet.DateText = QLocale().toString(today, QLocale::ShortFormat).toStdString();
    sheet.PositionInputs = listing.PositionInputs;
    return sheet;
}

void ShowWarning(const ArchiveExportContext& context, const QString& text) {
    MessageRequest request;
    request.Caption = kExportCaption;
    request.Text = text;
    request.Icon = PromptIcon::Warning;
    request.Topmost = true;
    request.Owner = context.Owner;
    context.Ask.Message(request);
}

} // namespace

QString ArchiveYearFolder(const QString& archiveFolder, const QString& documentsFolder, int year) {
    const QString folder = archiveFolder.isEmpty()
                               ? QDir(documentsFolder).filePath("Конфигурация KT-41/Архивы")
                               : archiveFolder;
    return QDir::toNativeSeparators(QDir(folder).filePath("Год_" + QString::number(year)) + "/");
}

QString ExportArchiveToWorkbook(const ArchiveListing& listing, const QString& templateFolder,
                                const QString& templateName, const ArchiveExportContext& context) {
    const QDate today = context.Today.isValid() ? context.Today : QDate::currentDate();
    // The table is taken from the listing before anything else happens.
    const spreadsheet::ArchiveSheet sheet = SheetOf(listing, today);
    if (templateName.isEmpty()) {
        ShowWarning(context, kNoTemplateText);
        return {};
    }
    const QString templatePath = QDir(templateFolder).filePath(templateName + kTemplateExtension);
    const QString yearFolder =
        ArchiveYearFolder(context.Settings.ArchiveFolder, context.DocumentsFolder, today.year());
    const QString workbook = QDir::toNativeSeparators(yearFolder + templateName + " № " +
                                                      listing.SerialNumber + kWorkbookExtension);
    QString reason;
    if (!QDir().mkpath(yearFolder)) {
        reason = "папка " + yearFolder + " не создаётся";
    } else {
        try {
            spreadsheet::WriteArchiveWorkbook(config_file::PathFromUtf8(templatePath.toStdString()),
                                              config_file::PathFromUtf8(workbook.toStdString()),
                                              sheet);
        } catch (const std::exception& error) {
            reason = QString::fromStdString(error.what());
        }
    }
    if (!reason.isEmpty()) {
        context.PostProgress(device::progress::ExportDone, 1);
        context.LogMessage("Причина: " + reason + ".");
        ShowWarning(context, kExportFailedText);
        return {};
    }
    context.PostProgress(device::progress::ExportDone, 0);
    if (!OpenOnDesktop(QUrl::fromLocalFile(workbook))) {
        context.LogMessage("Книга " + workbook +
                           " сохранена, но не открыта: для файлов .xlsx "
                           "не назначена программа.");
    }
    return workbook;
}

} // namespace kt41::gui
