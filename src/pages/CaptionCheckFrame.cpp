#include "CaptionCheckFrame.h"

#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace kt41::pages {

CaptionCheckFrame::CaptionCheckFrame(const QString& caption, const QString& checkBoxName,
                                     QWidget* parent)
    : QGroupBox(caption, parent), checkBox_(new QCheckBox(this)) {
    checkBox_->setObjectName(checkBoxName);
    checkBox_->adjustSize();
    PlaceCheckBox();
}

void CaptionCheckFrame::PlaceCheckBox() {
    // Over the blanks at the start of the caption, centred on its line.
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const QSize size = checkBox_->sizeHint();
    checkBox_->setGeometry(label.left(), label.center().y() - size.height() / 2 + 1, size.width(),
                           size.height());
    checkBox_->raise();
}

void CaptionCheckFrame::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    PlaceCheckBox();
}

void CaptionCheckFrame::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    PlaceCheckBox();
}

} // namespace kt41::pages
