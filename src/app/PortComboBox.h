#pragma once

#include <QComboBox>

namespace kt41::app {

// A drop-down list that tells, before it opens, that it is about to drop down,
// so that its entries can be read again.
class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void DropDown();
};

} // namespace kt41::app
