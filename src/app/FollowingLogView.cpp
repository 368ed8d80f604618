#include "FollowingLogView.h"

#include <QScrollBar>

namespace kt41::app {

FollowingLogView::FollowingLogView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    QScrollBar* bar = verticalScrollBar();
    // A new range (more lines, or a new height or width) comes before the
    // value is bounded to it, so the end is taken while still following.
    connect(bar, &QScrollBar::rangeChanged, this, [this] { RangeChanged(); });
    connect(bar, &QScrollBar::valueChanged, this, [this](int value) { ValueChanged(value); });
}

void FollowingLogView::RangeChanged() {
    if (following_) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->maximum());
    }
}

void FollowingLogView::ValueChanged(int value) {
    const int maximum = verticalScrollBar()->maximum();
    // A value above the new maximum was bounded to it because the view grew:
    // nothing the user did, so whether he follows stays as it was. Any other
    // move is his (or the follow above): at the end he follows, elsewhere not.
    const bool bounded = lastValue_ > maximum;
    lastValue_ = value;
    if (!bounded) {
        following_ = value >= maximum;
    }
}

} // namespace kt41::app
