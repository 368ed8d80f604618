// The parameter pages of the main window: the device page, the four contour
// pages and the inputs page, and the steps the window takes its pages through.
#include "TForm_Main.h"

#include "pages/ArchivePage.h"
#include "pages/ContourPage.h"
#include "pages/DevicePage.h"
#include "pages/InputsPage.h"

#include <QTabWidget>

namespace kt41::app {

void TForm_Main::BuildParameterPages() {
    devicePage_ = new pages::DevicePage(*this);
    SetPage(kPageDevice, devicePage_);
    for (int contour = 1; contour <= 4; ++contour) {
        SetPage(kPageContour1 + contour - 1, new pages::ContourPage(*this, contour));
    }
    SetPage(kPageInputs, new pages::InputsPage(*this));
    SetPage(kPageArchive, new pages::ArchivePage(*this));
    PageControl1->setCurrentIndex(kPageDevice);
}

void TForm_Main::ShowModelOnPages() {
    // The contours first, then the inputs, then the device page.
    constexpr int kOrder[] = {kPageContour1, kPageContour2, kPageContour3,
                              kPageContour4, kPageInputs,   kPageDevice};
    for (const int index : kOrder) {
        if (pages::MainWindowPage* page = pages_[std::size_t(index)]) {
            page->ShowModel();
        }
    }
}

int TForm_Main::MeasuredTextHeight() const {
    return devicePage_ != nullptr ? devicePage_->TextHeight() : 0;
}

bool TForm_Main::AnyPageUsesLine() const {
    for (const pages::MainWindowPage* page : pages_) {
        if (page != nullptr && page->UsesLine()) {
            return true;
        }
    }
    return false;
}

} // namespace kt41::app
