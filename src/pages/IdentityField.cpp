#include "IdentityField.h"

namespace kt41::pages {

namespace {

constexpr int kDesignedWidth = 130;

} // namespace

IdentityField::IdentityField(const QString& widestText, Qt::Alignment alignment, QWidget* parent)
    : QLabel(parent), widest_(widestText) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAlignment(alignment | Qt::AlignVCenter);
    setMaximumWidth(kDesignedWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QSize IdentityField::sizeHint() const {
    return {kDesignedWidth, QLabel::sizeHint().height()};
}

QSize IdentityField::minimumSizeHint() const {
    // The text, the frame on both sides and the label's indent beside the
    // text (half an "x" when it has a frame).
    const int text =
        fontMetrics().horizontalAdvance(widest_) + fontMetrics().horizontalAdvance('x');
    return {text + 2 * frameWidth(), QLabel::minimumSizeHint().height()};
}

} // namespace kt41::pages
