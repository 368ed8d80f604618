#include "ArchivePlot.h"

#include "ArchivePage.h"
#include "TrendPlot.h"
#include "catalogue/ArchiveTexts.h"
#include "device/TKT41.h"
#include "gui/ParamGrid.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kt41::pages {

namespace {

// Archive records are an hour apart; a longer step is a missing hour.
constexpr device::TrendTime kArchiveStep = 3600;

} // namespace

TrendPlot* AttachArchivePlot(ArchivePage& page, PageHost& host) {
    auto* views = new QTabWidget(&page);
    views->setObjectName("TabControl_ArxView");
    views->setDocumentMode(true);
    page.GridLayout_Arx->removeWidget(page.AdvColumnGrid_Arx);
    views->addTab(page.AdvColumnGrid_Arx, "Таблица");
    auto* plot = new TrendPlot(kArchiveStep, views);
    plot->setObjectName("TrendPlot_Arx");
    views->addTab(plot, "График");
    page.GridLayout_Arx->addWidget(views);

    QObject::connect(&page, &ArchivePage::RecordListed, plot,
                     [plot, &host](const device::TArxRecord& record, int row) {
                         if (row == 1) {
                             plot->Clear();
                             plot->SetInputs(host.Model().Input_P);
                             plot->SetSaveProposal(host.CurrentSettings().ArchiveFolder,
                                                   "Архив.png");
                             plot->SetDeferredRedraw(true); // until the read ends
                         }
                         const std::string notes = catalogue::ArchiveNotesText(record.Status, "\n");
                         plot->AddArchiveRecord(record, QString::fromStdString(notes));
                     });
    // The click that starts a read returns when the read has ended: a read
    // that listed nothing leaves nothing on the plot either.
    QObject::connect(page.AdvGlowButton_ReadArx, &QPushButton::clicked, plot, [plot, &page] {
        if (!page.ReadingFlag && page.Records().empty()) {
            plot->Clear();
        }
        if (!page.ReadingFlag) {
            plot->SetDeferredRedraw(false);
        }
    });
    return plot;
}

} // namespace kt41::pages
