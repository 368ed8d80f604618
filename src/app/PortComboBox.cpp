#include "PortComboBox.h"

namespace kt41::app {

void PortComboBox::showPopup() {
    emit DropDown();
    QComboBox::showPopup();
}

} // namespace kt41::app
