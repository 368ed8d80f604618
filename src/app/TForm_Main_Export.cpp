// The archive export: the template choice, then the workbook.
#include "Folders.h"
#include "TForm_Main.h"
#include "catalogue/ModelTexts.h"
#include "dialogs/TForm_SelPattern.h"
#include "gui/ArchiveExport.h"
#include "gui/Prompt.h"

namespace kt41::app {

void TForm_Main::ExportArchive(const gui::ArchiveListing& grid) {
    gui::ArchiveListing listing = grid;
    listing.SerialNumber = QString::fromStdString(catalogue::GetSerialNumberText(Model()));
    for (int input = 1; input <= 4; ++input) {
        listing.PositionInputs[std::size_t(input - 1)] = Model().GetAnalogInputType(input) == 0;
    }
    const QString folder = TemplateFolder();
    const std::optional<QString> name = Form_SelPattern->ChooseTemplate(folder);
    if (!name) {
        return;
    }
    const gui::ArchiveExportContext context{
        Settings,
        GetSpecialFolder(kFolderPersonal),
        gui::CurrentPrompt(),
        [this](int code, std::uint32_t lParam) { PostProgress(code, lParam); },
        [this](const QString& text) { LogMessage(text); },
        this,
        {}};
    gui::ExportArchiveToWorkbook(listing, folder, *name, context);
}

} // namespace kt41::app
