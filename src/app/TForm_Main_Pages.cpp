// The parameter pages of the main window: the device page, the four contour
// pages and the inputs page, and how the model is shown on them.
#include "TForm_Main.h"

#include "pages/ContourPage.h"
#include "pages/DevicePage.h"
#include "pages/InputsPage.h"

#include <QTabWidget>

namespace kt41::app {

void TForm_Main::BuildParameterPages() {
    SetPage(kPageDevice, new pages::DevicePage(*this));
    for (int contour = 1; contour <= 4; ++contour) {
        SetPage(kPageContour1 + contour - 1, new pages::ContourPage(*this, contour));
    }
    SetPage(kPageInputs, new pages::InputsPage(*this));
    PageControl1->setCurrentIndex(kPageDevice);
}

void TForm_Main::ShowModelOnPages() {
    for (int contour = 1; contour <= 4; ++contour) {
        if (auto* page = dynamic_cast<pages::ContourPage*>(PageAt(kPageContour1 + contour - 1))) {
            // Setting the selector runs nothing; the handler stores the type
            // back (with its feed-mode rule) and rebuilds the grid.
            page->SelectType(KT41->GetContourType(contour));
            page->ComboBox_TipConturChange();
        }
    }
    if (auto* inputs = dynamic_cast<pages::InputsPage*>(PageAt(kPageInputs))) {
        inputs->FillInputGrids();
    }
    if (auto* device = dynamic_cast<pages::DevicePage*>(PageAt(kPageDevice))) {
        device->FillDevicePage();
    }
}

int TForm_Main::MeasuredTextHeight() const {
    const auto* device = dynamic_cast<const pages::DevicePage*>(PageAt(kPageDevice));
    return device != nullptr ? device->TextHeight() : 0;
}

} // namespace kt41::app
