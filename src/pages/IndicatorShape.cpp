#include "IndicatorShape.h"

#include <QPainter>

namespace kt41::pages {

IndicatorShape::IndicatorShape(const QString& name, const QString& hint, QWidget* parent)
    : QWidget(parent), color_(Qt::white) {
    setObjectName(name);
    setToolTip(hint);
    setFixedSize(sizeHint());
}

void IndicatorShape::SetColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

void IndicatorShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(color_);
    painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

} // namespace kt41::pages
