#include "TrendChartView.h"

#include <QMouseEvent>
#include <QToolTip>

namespace kt41::pages {

TrendChartView::TrendChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    const QString text = HoverText ? HoverText(event->position().toPoint()) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
}

void TrendChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && ResetZoom) {
        ResetZoom();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

void TrendChartView::leaveEvent(QEvent* event) {
    QToolTip::hideText();
    QChartView::leaveEvent(event);
}

} // namespace kt41::pages
